#include "control/number/digit_arithmetic.h"

#include <algorithm>
#include <limits>

#include "control/number/errors.h"

namespace numeron {

HugeNumber SumDigits(const HugeNumber& a, const HugeNumber& b) {
  if (IsZeroDigits(a)) return b;
  if (IsZeroDigits(b)) return a;
  const std::int64_t lo = std::min<std::int64_t>(a.low(), b.low());
  const std::int64_t hi = std::max(a.high(), b.high());
  HugeNumber sum = HugeNumber::Zeros(lo, hi + 1);
  std::int16_t* r = sum.digits().data();
  // The raw sums a(i) + b(i), in 32 bits: unnormalised digits may exceed 16 bits when added.
  // Place i then ends as carry(i - 1) + remainder(i), exactly what one pass from the bottom
  // that overwrites place i + 1 with the carry leaves.
  std::vector<std::int32_t> s(static_cast<std::size_t>(hi - lo + 1), 0);
  for (std::int64_t i = 0; i < a.size(); ++i) s[a.low() - lo + i] += a.digits()[i];
  for (std::int64_t i = 0; i < b.size(); ++i) s[b.low() - lo + i] += b.digits()[i];
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n; ++i) r[i] = static_cast<std::int16_t>(s[i] % 10);
  for (std::size_t i = 0; i < n; ++i) r[i + 1] = static_cast<std::int16_t>(r[i + 1] + s[i] / 10);
  if (r[n] == 0) sum.digits().pop_back();
  return sum;
}

HugeNumber NegateDigits(const HugeNumber& a) {
  if (a.zero_form() != HugeNumber::ZeroForm::None) return a;
  HugeNumber result = a;
  for (std::int16_t& d : result.digits()) {
    if (d == std::numeric_limits<std::int16_t>::min()) Raise(platform::kOverflow);
    d = static_cast<std::int16_t>(-d);
  }
  return result;
}

namespace {

bool IsGreater(const HugeNumber& a, const HugeNumber& b) {
  const HugeNumber d = Normalized(SumDigits(a, NegateDigits(b)));
  return d.at(d.high()) > 0 || d.at(d.low()) > 0;
}

}  // namespace

bool CompareDigits(const HugeNumber& a, const HugeNumber& b, std::int32_t operation) {
  if (operation < Equal || operation > LessThanOrEqual) return false;
  if (operation == greaterthan) return IsGreater(a, b);
  const bool equal = IsSameDigits(Normalized(a), Normalized(b));
  switch (operation) {
    case Equal: return equal;
    case NotEqual: return !equal;
    default: break;
  }
  // The ordering operators always take both tests, so an operand the subtraction cannot
  // hold fails the same way whatever the equality test found.
  const bool greater = IsGreater(a, b);
  if (operation == LessThan) return !equal && !greater;
  if (operation == GreaterThanOrEqual) return equal || greater;
  return equal || !greater;
}

}  // namespace numeron
