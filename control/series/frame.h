// The frame every series shares: the series-length check, the one-place constants, the cut
// at place -Precision, and the argument read in normal form (a digit array with mixed signs
// gives exactly what its normal form gives).
#pragma once

#include <gmpxx.h>

#include <cstdint>

#include "control/number/number.h"

namespace numeron {

// A running factorial or divisor. Series divide by it with InternalDivide, which reads only its
// value, so it is kept as a whole number rather than as the digit array the products leave.
class WholeFactor {
 public:
  explicit WholeFactor(unsigned long value) : value_(value) {}
  // Multiplies by k; Overflow once the number would need more places than a number may hold.
  void MultiplyBy(unsigned long k);
  const mpz_class& value() const { return value_; }

 private:
  mpz_class value_;
};

// InternalDivide(x, y) for a whole y = divisor >= 1 below 2^40, the odd counters of the
// arctangent and logarithm series: the same quotient by short division, digit by digit down
// from the top place of x, with no conversion to binary and back.
HugeNumber InternalDivideBySmall(const HugeNumber& x, std::uint64_t divisor,
                                 std::int32_t precision);

// Raises the series-length error for a SeriesLength below 1.
void CheckSeriesLength(std::int32_t series_length);

// log10(n!), for telling ahead how far a running factorial will grow.
double Log10Factorial(double n);
// Raises Overflow when a running product a series keeps will need clearly more places than a
// number may hold (`digits` of them, as a logarithm): WholeFactor would refuse it at some pass,
// so it is refused before the passes instead.
void CheckReach(double digits);

// The one-place array holding `value` at place 0.
HugeNumber Small(std::int16_t value);

// Digits below place -|precision| dropped, the array extended down to that place if it is
// shorter; its top stays.
HugeNumber Truncate(const HugeNumber& digits, std::int32_t precision);
// Truncate only when the array reaches below that place.
HugeNumber CutBelow(const HugeNumber& digits, std::int32_t precision);

}  // namespace numeron
