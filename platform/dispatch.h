// The dispatch interface: a host calls a component's members by dispatch identifier with
// positional Variant arguments and gets back a result, a standard failure code, or an error
// the component raised (number and description). Objects are reference counted.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"

namespace numeron::platform {

using HResult = std::int32_t;
using DispId = std::int32_t;

// Status codes of the dispatch layer. Only kException carries the component's own error,
// in the ErrorInfo that Invoke fills.
inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kUnknownMember = static_cast<HResult>(0x80020003);  // no such dispatch id
inline constexpr HResult kArgumentCannotConvert = static_cast<HResult>(0x80020005);
inline constexpr HResult kUnknownName = static_cast<HResult>(0x80020006);  // no such member name
inline constexpr HResult kException = static_cast<HResult>(0x80020009);    // see ErrorInfo
inline constexpr HResult kWrongArgumentCount = static_cast<HResult>(0x8002000E);
inline constexpr HResult kArgumentNotOptional = static_cast<HResult>(0x8002000F);
inline constexpr HResult kNoInterface = static_cast<HResult>(0x80004002);
inline constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111);
inline constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154);
inline constexpr HResult kOutOfMemoryStatus = static_cast<HResult>(0x8007000E);
inline constexpr HResult kFailed = static_cast<HResult>(0x80004005);

// A short English text for a status code (for hosts that report failures).
std::string_view DescribeStatus(HResult status);

// The error a callee raised: a number and a description and nothing else.
struct ErrorInfo {
  std::int32_t number = 0;
  std::string description;
};

// One positional argument. By reference it is the caller's own variable, which the callee may
// write back into; by value it is a copy owned by the argument, so write-backs are not seen.
class Argument {
 public:
  static Argument ByValue(Variant value) { return Argument(std::move(value)); }
  static Argument ByRef(Variant& variable) { return Argument(&variable); }

  Variant& value() { return ref_ ? *ref_ : copy_; }
  const Variant& value() const { return ref_ ? *ref_ : copy_; }
  bool by_ref() const { return ref_ != nullptr; }

 private:
  explicit Argument(Variant value) : copy_(std::move(value)) {}
  explicit Argument(Variant* ref) : ref_(ref) {}
  Variant copy_;
  Variant* ref_ = nullptr;
};

// Member descriptions: our type library.
enum class ParamType : std::uint8_t {
  Variant,  // passed as it is
  Int32,    // converted to a 32-bit integer (enumerations too)
  Double,   // converted to a double
  Text,     // converted to text
};
enum class ResultType : std::uint8_t { Variant, Boolean, Int16, Int32, Double, Text };

struct ParamDesc {
  std::string_view name;
  ParamType type;
  std::string_view type_name;  // as published: "Variant", "Long", "Double", "String", or an enum
  bool optional = false;
  Variant default_value = Variant::Missing();  // Missing: none (a missing Int32 then reads 0)
  // The member may store a value into the caller's variable when it is passed by reference;
  // typed clients give such a parameter as a reference.
  bool written_back = false;
};

struct MemberDesc {
  DispId id;
  std::string_view name;
  std::vector<ParamDesc> params;
  ResultType result;
  std::string_view result_type_name;
  std::string help;
};

struct EnumDesc {
  std::string_view name;
  std::string_view guid;
  std::vector<std::pair<std::string_view, std::int32_t>> members;
};

struct TypeLibrary {
  std::string_view name;
  std::string_view version;
  std::string_view help;
  std::string_view help_file;
  std::string_view guid;
  std::string_view interface_name;
  std::string_view interface_guid;
  std::vector<MemberDesc> members;
  std::vector<EnumDesc> enums;

  const MemberDesc* Find(DispId id) const;
  const MemberDesc* Find(std::string_view name) const;  // names match without regard to case
};

// Reference counting: a new object starts with one reference, owned by whoever created it.
class Unknown {
 public:
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  virtual ~Unknown() = default;
};

// A control placed on a host window: the host proposes an extent in twips and the control
// settles its own.
class Control {
 public:
  virtual void SetExtent(std::int32_t width, std::int32_t height) = 0;
  virtual void GetExtent(std::int32_t* width, std::int32_t* height) const = 0;

 protected:
  ~Control() = default;
};

class Dispatch : public Unknown {
 public:
  // The object's control side, or nullptr for an object that is no control.
  virtual Control* AsControl() { return nullptr; }
  // Another dispatch interface of the same object, by its interface name (the interface_name
  // of its type library), as a new reference in *other; kNoInterface when it has none such.
  virtual HResult QueryInterface(std::string_view /*interface_name*/, Dispatch** other) {
    *other = nullptr;
    return kNoInterface;
  }
  virtual HResult GetIDsOfNames(std::string_view name, DispId* id) = 0;
  virtual const TypeLibrary& GetTypeInfo() = 0;
  // args are positional, first declared parameter first. On kException *error holds what the
  // component raised; result is then left empty.
  virtual HResult Invoke(DispId id, std::span<Argument> args, Variant* result,
                         ErrorInfo* error) = 0;
};

class ClassFactory : public Unknown {
 public:
  virtual HResult CreateInstance(Dispatch** object) = 0;
  virtual HResult LockServer(bool lock) = 0;
};

// Owns one reference to an object and releases it when it goes.
template <typename T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* adopted) : p_(adopted) {}
  Ref(const Ref& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~Ref() {
    if (p_) p_->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    *this = Ref();
    return &p_;
  }  // for out-parameters

 private:
  T* p_ = nullptr;
};

// The in-process server entry points a component library exports with C linkage.
extern "C" {
using DllGetClassObjectFn = HResult (*)(const char* class_id, ClassFactory** factory);
using DllCanUnloadNowFn = HResult (*)();
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();
}

}  // namespace numeron::platform
