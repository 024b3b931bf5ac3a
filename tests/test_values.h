// Values as callers build them, a call as a host makes it, and the error a call raised, for the
// module tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dispatch.h"
#include "platform/error.h"
#include "platform/variant.h"

namespace numeron::test {

using platform::Variant;
using platform::VariantArray;

// 16-bit digits from place lo up.
inline Variant Shorts(std::int32_t lo, std::vector<std::int16_t> digits) {
  return Variant(VariantArray{lo, VariantArray::ElementKind::Int16, std::move(digits), {}});
}
// Variant elements from place lo up.
inline Variant Elements(std::int32_t lo, std::vector<Variant> elements) {
  return Variant(VariantArray{lo, VariantArray::ElementKind::Variant, {}, std::move(elements)});
}
// The zero that trimming and normalising leave: one empty element at place 0.
inline Variant EmptyZero() { return Elements(0, {Variant()}); }

// How one call through the dispatch interface ended.
struct Outcome {
  platform::HResult status;
  std::int32_t error = 0;  // the raised error's number, with status kException
  Variant result;
  std::vector<Variant> after;  // the caller's variables after the call
  bool operator==(const Outcome&) const = default;
};

// Calls a member with every argument by reference, as a host's own variables.
inline Outcome Call(platform::Dispatch& object, platform::DispId id,
                    std::vector<Variant> variables) {
  std::vector<platform::Argument> args;
  for (Variant& v : variables) args.push_back(platform::Argument::ByRef(v));
  Outcome out{platform::kOk, 0, Variant(), {}};
  platform::ErrorInfo error;
  out.status = object.Invoke(id, args, &out.result, &error);
  out.error = out.status == platform::kException ? error.number : 0;
  out.after = std::move(variables);
  return out;
}
inline Outcome Call(platform::Dispatch& object, std::string_view name,
                    std::vector<Variant> variables) {
  platform::DispId id = 0;
  const platform::HResult found = object.GetIDsOfNames(name, &id);
  if (found != platform::kOk) return {found, 0, Variant(), std::move(variables)};
  return Call(object, id, std::move(variables));
}

// The number of the error f raised, 0 when it raised none.
template <typename F>
std::int32_t RaisedNumber(F f) {
  try {
    f();
  } catch (const platform::RaisedError& e) {
    return e.error().number;
  }
  return 0;
}

}  // namespace numeron::test
