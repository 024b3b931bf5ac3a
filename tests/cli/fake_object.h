// A small stand-in object behind the dispatch interface, so that the command line's encoding,
// batch loop and printing can be checked without the component.
#pragma once

#include <atomic>
#include <string>
#include <utility>

#include "platform/dispatch.h"

namespace numeron::cli::testing {

inline constexpr platform::DispId kEcho = 0x60030001;    // returns its argument
inline constexpr platform::DispId kSwap = 0x60030002;    // swaps its two arguments, returns empty
inline constexpr platform::DispId kRaise = 0x60030003;   // raises a component error
inline constexpr platform::DispId kRefuse = 0x60030004;  // fails with a plain status
inline constexpr platform::DispId kShow = 0x60030012;    // returns a description of its arguments

inline const platform::TypeLibrary& FakeLibrary() {
  static const platform::TypeLibrary library = [] {
    using platform::ParamType;
    const platform::ParamDesc any{"Value", ParamType::Variant, "Variant"};
    const auto member = [](platform::DispId id, std::string_view name,
                           std::vector<platform::ParamDesc> params, std::string help = {}) {
      return platform::MemberDesc{
          id, name, std::move(params), platform::ResultType::Variant, "Variant", std::move(help)};
    };
    platform::TypeLibrary lib;
    lib.members = {
        member(kEcho, "Echo", {any}, "Returns the value."),
        member(
            kSwap, "Swap",
            {{"First", ParamType::Variant, "Variant"}, {"Second", ParamType::Variant, "Variant"}}),
        member(kRaise, "Raise", {}),
        member(kRefuse, "Refuse", {}),
        member(kShow, "Show",
               {{"Number1", ParamType::Variant, "Variant"},
                {"Number2", ParamType::Variant, "Variant", true},
                {"Return_Type", ParamType::Int32, "ReturnKind", true,
                 platform::Variant(std::int32_t{0})},
                {"Label", ParamType::Text, "String", true, platform::Variant("x")}}),
    };
    lib.enums = {
        {"ReturnKind", "{00000000-0000-0000-0000-000000000002}", {{"rkSame", 0}, {"rkText", 1}}}};
    return lib;
  }();
  return library;
}

inline constexpr std::int32_t kRaisedNumber = -2147220499;
inline constexpr const char* kRaisedText = "You cannot divide \"this\" by zero.";

class FakeObject : public platform::Dispatch {
 public:
  std::uint32_t AddRef() override { return ++refs_; }
  std::uint32_t Release() override { return --refs_; }  // lives on the stack in the tests

  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override {
    ++lookups;
    const platform::MemberDesc* member = FakeLibrary().Find(name);
    if (!member) return platform::kUnknownName;
    *id = member->id;
    return platform::kOk;
  }
  const platform::TypeLibrary& GetTypeInfo() override { return FakeLibrary(); }

  platform::HResult Invoke(platform::DispId id, std::span<platform::Argument> args,
                           platform::Variant* result, platform::ErrorInfo* error) override {
    switch (id) {
      case kEcho:
        if (args.size() != 1) return platform::kWrongArgumentCount;
        *result = args[0].value();
        return platform::kOk;
      case kSwap:
        if (args.size() != 2) return platform::kWrongArgumentCount;
        std::swap(args[0].value(), args[1].value());
        return platform::kOk;
      case kRaise:
        *error = {kRaisedNumber, kRaisedText};
        return platform::kException;
      case kRefuse:
        return platform::kArgumentNotOptional;
      case kShow: {
        std::string text;
        for (const platform::Argument& arg : args) {
          if (!text.empty()) text += ' ';
          text += platform::Describe(arg.value());
        }
        *result = platform::Variant(text);
        return platform::kOk;
      }
    }
    return platform::kUnknownMember;
  }

  int lookups = 0;

 private:
  std::atomic<std::uint32_t> refs_{1};
};

}  // namespace numeron::cli::testing
