// The arguments of one call, as a member sees them: missing optional arguments replaced by
// their defaults, typed parameters converted, and write-backs routed to the caller's variable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/dispatch.h"
#include "platform/error.h"

namespace numeron {

using platform::Variant;

class CallArgs {
 public:
  // Converts in parameter order; raises Type mismatch or Overflow for an argument that cannot
  // become its parameter's type. The caller has checked the count and the non-optional ones.
  CallArgs(const platform::MemberDesc& member, std::span<platform::Argument> args);

  const Variant& operator[](std::size_t i) const { return values_[i]; }
  std::int32_t Int32(std::size_t i) const { return values_[i].int32(); }
  double Double(std::size_t i) const { return values_[i].real(); }
  const std::string& Text(std::size_t i) const { return values_[i].text(); }

  // Stores a value for the caller's variable: the member reads it back at once, the caller
  // when the call is committed. An argument that was not given absorbs it.
  void WriteBack(std::size_t i, Variant value);
  // Hands the values written back to the caller's variables. Invoke commits every call that
  // ends, except one that was cancelled or ran out of time: those leave the caller's variables
  // as they were.
  void Commit() noexcept;

 private:
  std::span<platform::Argument> args_;
  std::vector<Variant> values_;
  std::vector<std::size_t> written_;
};

// kWrongArgumentCount or kArgumentNotOptional when args cannot be a call of member, else kOk.
platform::HResult CheckArguments(const platform::MemberDesc& member,
                                 std::span<const platform::Argument> args);

// kException, with the raised error in *error (when given).
platform::HResult ReturnError(const platform::Error& raised, platform::ErrorInfo* error);

// Conversions of an argument to a typed parameter.
std::int32_t ToInt32Argument(const Variant& value);
double ToDoubleArgument(const Variant& value);
std::string ToTextArgument(const Variant& value);

}  // namespace numeron
