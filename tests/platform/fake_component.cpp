// A minimal component library for the registry and Python tests: one class whose object has two
// members, Count, answering how many arguments it was given, and Describe, answering what kind
// and value each argument arrived as (its Describe text, space separated). It counts its live
// objects and factories so DllCanUnloadNow tells the truth, and registers itself by its own path.
#include <dlfcn.h>

#include <atomic>

#include "platform/dispatch.h"
#include "platform/registry.h"

namespace {

using namespace numeron::platform;

constexpr const char* kProgId = "NumeronFake.Echo";
constexpr const char* kClassId = "{6E756D65-726F-4E00-8000-000000000001}";
constexpr DispId kCountId = 1;
constexpr DispId kDescribeId = 2;

std::atomic<int> live_objects{0};  // objects and factories not yet released
std::atomic<int> server_locks{0};

const TypeLibrary& EchoLibrary() {
  static const TypeLibrary library = [] {
    TypeLibrary echo;
    echo.name = "NumeronFake";
    echo.interface_name = "IEcho";
    echo.members.push_back({kCountId, "Count", {}, ResultType::Int32, "Long", ""});
    echo.members.push_back({kDescribeId,
                            "Describe",
                            {{"First", ParamType::Variant, "Variant"},
                             {"Second", ParamType::Variant, "Variant", true}},
                            ResultType::Text,
                            "String",
                            "What the arguments arrived as."});
    return echo;
  }();
  return library;
}

// Reference counting shared by the object and its factory.
template <typename Base>
class Counted : public Base {
 public:
  Counted() { ++live_objects; }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ~Counted() override { --live_objects; }

 private:
  std::atomic<std::uint32_t> references_{1};
};

class Echo final : public Counted<Dispatch> {
 public:
  HResult GetIDsOfNames(std::string_view name, DispId* id) override {
    const MemberDesc* member = EchoLibrary().Find(name);
    if (!member) return kUnknownName;
    *id = member->id;
    return kOk;
  }
  const TypeLibrary& GetTypeInfo() override { return EchoLibrary(); }
  HResult Invoke(DispId id, std::span<Argument> args, Variant* result, ErrorInfo*) override {
    if (id == kCountId) {
      *result = Variant(static_cast<std::int32_t>(args.size()));
    } else if (id == kDescribeId) {
      std::string kinds;
      for (const Argument& arg : args) kinds += (kinds.empty() ? "" : " ") + Describe(arg.value());
      *result = Variant(kinds);
    } else {
      return kUnknownMember;
    }
    return kOk;
  }
};

class EchoFactory final : public Counted<ClassFactory> {
 public:
  HResult CreateInstance(Dispatch** object) override {
    *object = new Echo;
    return kOk;
  }
  HResult LockServer(bool lock) override {
    server_locks += lock ? 1 : -1;
    return kOk;
  }
};

std::string OwnPath() {
  Dl_info info{};
  ::dladdr(reinterpret_cast<void*>(&EchoLibrary), &info);
  return info.dli_fname ? info.dli_fname : "";
}

}  // namespace

#define NUMERON_EXPORT extern "C" __attribute__((visibility("default")))

NUMERON_EXPORT HResult DllGetClassObject(const char* class_id, ClassFactory** factory) {
  *factory = nullptr;
  if (std::string_view(class_id) != kClassId) return kClassNotAvailable;
  *factory = new EchoFactory;
  return kOk;
}

NUMERON_EXPORT HResult DllCanUnloadNow() {
  return live_objects == 0 && server_locks == 0 ? kOk : kFalse;
}

NUMERON_EXPORT HResult DllRegisterServer() {
  std::string why;
  return RegisterClass({kProgId, kClassId, OwnPath()}, &why) ? kOk : kFailed;
}

NUMERON_EXPORT HResult DllUnregisterServer() {
  std::string why;
  return UnregisterClass(kProgId, &why) ? kOk : kFailed;
}
