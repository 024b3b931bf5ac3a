#include "control/series/frame.h"

#include <cmath>
#include <numbers>

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

double Log10Factorial(double n) {
  // Stirling's series, good to far below a place for these bounds; std::lgamma would do, but
  // it sets a process-wide sign variable, which calls on separate threads would race for.
  if (n < 2) return 0;
  const double ln = n * std::log(n) - n + 0.5 * std::log(2 * std::numbers::pi * n) + 1 / (12 * n);
  return ln / std::numbers::ln10;
}

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
