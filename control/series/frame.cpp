#include "control/series/frame.h"

#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/number/errors.h"

namespace numeron {

void WholeFactor::MultiplyBy(unsigned long k) {
  value_ *= k;
  if (mpz_sizeinbase(value_.get_mpz_t(), 10) > static_cast<std::size_t>(kMaxPlaces)) {
    Raise(platform::kOverflow);
  }
}

void CheckSeriesLength(std::int32_t series_length) {
  if (series_length < 1) Raise(kSeriesLengthNotPositive);
}

double Log10Factorial(double n) { return std::lgamma(n + 1.0) / std::log(10.0); }

void CheckReach(double digits) {
  // The margin keeps the estimate's rounding away from the limit itself.
  if (digits > kMaxPlaces + 16.0) Raise(platform::kOverflow);
}

HugeNumber Small(std::int16_t value) { return HugeNumber(0, {value}); }

HugeNumber Truncate(const HugeNumber& digits, std::int32_t precision) {
  return RedimDigits(digits, -std::int64_t{AbsolutePlaces(precision)}, digits.high());
}

HugeNumber CutBelow(const HugeNumber& digits, std::int32_t precision) {
  return digits.low() < -std::int64_t{AbsolutePlaces(precision)} ? Truncate(digits, precision)
                                                                  : digits;
}

}  // namespace numeron
