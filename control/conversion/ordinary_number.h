// The ordinary-arithmetic path shared by AbsoluteValue, ConvertToWhole and Increment: a value
// that IsNumericEx accepts is worked as a built-in number and keeps its kind where it can.
#pragma once

#include <cstdint>

#include "control/number/number.h"

namespace numeron {

// The operation for each kind of number: `on_whole` for the integer kinds, in 64 bits so that it
// cannot overflow, `on_real` for doubles and numeric texts.
struct OrdinaryOperation {
  std::int64_t (*on_whole)(std::int64_t);
  double (*on_real)(double);
};

// `x` must be accepted by IsNumericEx. A numeric text gives a double; a double stays a double;
// a 16-bit integer stays 16-bit, widening to 32-bit and then to double when the result needs it;
// a 32-bit integer stays 32-bit, widening to double; Booleans and the empty value act as the
// 16-bit integers -1 / 0.
Variant ApplyOrdinary(const Variant& x, const OrdinaryOperation& operation);

// The double a value that IsNumericEx accepts stands for: its general text read back.
double CanonicalDouble(const Variant& x);

}  // namespace numeron
