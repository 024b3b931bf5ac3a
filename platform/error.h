// Raising errors: a callee reports a refused condition as a number and a description and
// nothing else. Code raises deep with Raise; the dispatch layer catches once, in Invoke, and
// hands the pair to the caller in an ErrorInfo.
#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

namespace numeron::platform {

struct Error {
  std::int32_t number;
  std::string_view description;
};

class RaisedError : public std::exception {
 public:
  explicit RaisedError(const Error& error) : error_(error) {}
  const Error& error() const { return error_; }
  const char* what() const noexcept override { return error_.description.data(); }

 private:
  Error error_;
};

[[noreturn]] inline void Raise(const Error& error) { throw RaisedError(error); }

// The platform's own errors, raised like a component's.
inline constexpr Error kInvalidArgument{static_cast<std::int32_t>(0x800A0005),
                                        "Invalid procedure call or argument"};
inline constexpr Error kOverflow{static_cast<std::int32_t>(0x800A0006), "Overflow"};
inline constexpr Error kOutOfMemory{static_cast<std::int32_t>(0x800A0007), "Out of memory"};
inline constexpr Error kSubscriptOutOfRange{static_cast<std::int32_t>(0x800A0009),
                                            "Subscript out of range"};
inline constexpr Error kDivisionByZero{static_cast<std::int32_t>(0x800A000B), "Division by zero"};
inline constexpr Error kTypeMismatch{static_cast<std::int32_t>(0x800A000D), "Type mismatch"};

}  // namespace numeron::platform
