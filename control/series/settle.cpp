#include "control/series/settle.h"

#include <algorithm>
#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/number/digit_arithmetic.h"

namespace numeron {

bool HoldsZeroTerms(const HugeNumber& sum, std::int32_t precision, bool zero_dividends) {
  const std::int64_t low = zero_dividends ? 0 : -std::int64_t{AbsolutePlaces(precision)};
  return sum.low() <= low && sum.high() >= 0;
}

Reach Worse(Reach a, Reach b) { return std::max(a, b); }

Reach FactorReach(double log10_value) {
  // A value of D digits has a decimal size of D or D + 1 by GMP's count, and the estimate is
  // good to far below a place, so a margin of two places decides it.
  if (log10_value < kMaxPlaces - 2.0) return Reach::kFits;
  if (log10_value > kMaxPlaces + 1.0) return Reach::kOverflows;
  return Reach::kUnsure;
}

Reach ProductsReach(std::int64_t low, std::int64_t top, const HugeNumber& factor,
                    std::int64_t count) {
  // Product j reaches from place low + j * factor.low() - 1 up to top + factor.high() + 1 and
  // its sum one carry place further, with place 0 between: the widest is the last.
  const double span = static_cast<double>(top) + factor.high() + 4.0 - static_cast<double>(low) -
                      static_cast<double>(count) * factor.low();
  return span <= static_cast<double>(kMaxPlaces) ? Reach::kFits : Reach::kUnsure;
}

HugeNumber AddZero(const HugeNumber& sum) { return AddDigits(sum, HugeNumber()); }

double Log10Above(const HugeNumber& normal) {
  std::int64_t top = normal.high();
  while (top >= normal.low() && normal.at(top) == 0) --top;
  if (top < normal.low()) return -1e300;
  // The leading (up to) 15 digits plus one in the last of them bound the magnitude from above.
  double lead = 0;
  std::int64_t place = top;
  for (; place >= normal.low() && place > top - 15; --place)
    lead = lead * 10 + std::abs(normal.at(place));
  return std::log10(lead + 1) + static_cast<double>(place + 1) + 1e-9;
}

}  // namespace numeron
