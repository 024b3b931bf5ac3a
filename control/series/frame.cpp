#include "control/series/frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "control/arithmetic/arithmetic.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"

namespace numeron {

void WholeFactor::MultiplyBy(unsigned long k) {
  value_ *= k;
  if (mpz_sizeinbase(value_.get_mpz_t(), 10) > static_cast<std::size_t>(kMaxPlaces)) {
    Raise(platform::kOverflow);
  }
}

HugeNumber InternalDivideBySmall(const HugeNumber& x, std::uint64_t divisor,
                                 std::int32_t precision) {
  if (IsZeroDigits(x)) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer);
  const HugeNumber a = Normalized(x);
  const bool negative = a.at(a.high()) < 0 || a.at(a.low()) < 0;
  std::int64_t top = a.high();
  while (a.at(top) == 0) --top;
  // The long division lays its digits from place d = top(x) - top(divisor) down to the guard
  // place (at least one digit): floor(|x| / divisor) cut at place `low`. Dividing down from the
  // top with a remainder below the divisor gives exactly those digits, the digits of x below
  // `low` never reaching a kept one. Example: 0.125 / 7 to 2 places: d = -1 - 0, the digits
  // at places -1 .. -3 are 0, 1, 7 (0.0178...), and rounding on the guard 7 gives 0.02.
  std::int64_t divisor_top = 0;
  for (std::uint64_t v = divisor; v >= 10; v /= 10) ++divisor_top;
  const std::int64_t places = AbsolutePlaces(precision);
  const std::int64_t d = top - divisor_top;
  const std::int64_t digits = std::max<std::int64_t>(1, d + places + 2);
  if (digits > kMaxPlaces) Raise(platform::kOverflow);
  const std::int64_t low = d - digits + 1;
  std::vector<std::int16_t> quotient(static_cast<std::size_t>(top - low + 1));  // low first
  std::uint64_t remainder = 0;
  for (std::int64_t place = top; place >= low; --place) {
    if ((top - place) % kPlacesPerCheck == 0) CheckPoint();
    const int digit = a.DigitOrZero(place);
    remainder = remainder * 10 + static_cast<std::uint64_t>(digit < 0 ? -digit : digit);
    const auto q = static_cast<std::int16_t>(remainder / divisor);
    remainder %= divisor;
    quotient[static_cast<std::size_t>(place - low)] = negative ? static_cast<std::int16_t>(-q) : q;
  }
  // In normal form: from the lowest non-zero digit (or place 0) to the highest (or place 0).
  const auto first = std::find_if(quotient.begin(), quotient.end(), [](auto q) { return q != 0; });
  if (first == quotient.end()) {
    return RoundDigits(HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty), places);
  }
  const auto last = std::find_if(quotient.rbegin(), quotient.rend(), [](auto q) { return q != 0; });
  const std::int64_t bottom = low + (first - quotient.begin());
  const std::int64_t highest = low + (quotient.rend() - last) - 1;
  HugeNumber normal =
      HugeNumber::Zeros(std::min<std::int64_t>(bottom, 0), std::max<std::int64_t>(highest, 0));
  std::copy(first, last.base(), normal.digits().begin() + (bottom - normal.low()));
  return RoundDigits(normal, places);
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
