#include "control/number/digit_arithmetic.h"

#include <algorithm>
#include <limits>

#include "control/number/errors.h"

namespace numeron {

HugeNumber SumDigits(const HugeNumber& a, const HugeNumber& b) {
  if (IsZeroDigits(a)) return b;
  if (IsZeroDigits(b)) return a;
  return AddDigits(a, b);
}

namespace {

// Digits this small add without leaving 16 bits.
bool HalfWidth(const HugeNumber& x) {
  std::int16_t least = 0, most = 0;  // without an early exit, so the loop runs in vectors
  for (std::int16_t d : x.digits()) {
    least = std::min(least, d);
    most = std::max(most, d);
  }
  return least >= -16383 && most <= 16383;
}

// AddDigits with the raw sums worked in lanes of type Lane.
template <typename Lane>
HugeNumber AddIn(const HugeNumber& a, const HugeNumber& b) {
  const std::int64_t lo = std::min<std::int64_t>(a.low(), b.low());
  const std::int64_t hi = std::max(a.high(), b.high());
  CheckPlaces(lo, hi + 1);
  const auto n = static_cast<std::size_t>(hi - lo + 1);
  // The raw sums a(i) + b(i) with a zero place on each side. Place i then ends as
  // carry(i - 1) + remainder(i), exactly what one pass from the bottom that overwrites place
  // i + 1 with the carry leaves; each place reads only raw sums, so the loop runs many places
  // at a time.
  std::vector<Lane> s(n + 2, 0);
  const auto add = [&](const HugeNumber& x) {
    Lane* to = s.data() + 1 + (x.low() - lo);
    const std::int16_t* from = x.digits().data();
    for (std::size_t i = 0; i < x.digits().size(); ++i) to[i] = static_cast<Lane>(to[i] + from[i]);
  };
  add(a);
  add(b);
  std::vector<std::int16_t> r(n + 1);
  for (std::size_t i = 0; i <= n; ++i) r[i] = static_cast<std::int16_t>(s[i + 1] % 10 + s[i] / 10);
  if (r[n] == 0) r.pop_back();
  return HugeNumber(static_cast<std::int32_t>(lo), std::move(r));
}

}  // namespace

HugeNumber AddDigits(const HugeNumber& a, const HugeNumber& b) {
  // Unnormalised digits may exceed 16 bits when added.
  return HalfWidth(a) && HalfWidth(b) ? AddIn<std::int16_t>(a, b) : AddIn<std::int32_t>(a, b);
}

void IncrementDigits(HugeNumber& a) {
  if (a.empty() || a.low() > 0 || a.high() < 0) {
    a = RedimDigits(a, std::min<std::int64_t>(a.low(), 0), std::max<std::int64_t>(a.high(), 0));
  }
  auto add = [](std::int16_t& digit, int amount) {
    const int sum = digit + amount;
    if (sum > std::numeric_limits<std::int16_t>::max()) Raise(platform::kOverflow);
    digit = static_cast<std::int16_t>(sum);
  };
  add(a.at(0), 1);
  for (std::int64_t place = 0; a.at(place) >= 10; ++place) {
    CheckPlaces(a.low(), a.high() + 1);
    a.digits().push_back(0);
    add(a.at(place + 1), a.at(place) / 10);
    a.at(place) = static_cast<std::int16_t>(a.at(place) % 10);
  }
}

HugeNumber AbsoluteDigits(const HugeNumber& a) {
  HugeNumber result = Normalized(a);
  if (result.zero_form() != HugeNumber::ZeroForm::None) return result;
  for (std::int16_t& d : result.digits()) d = static_cast<std::int16_t>(d < 0 ? -d : d);
  return result;
}

HugeNumber ShiftPlaces(const HugeNumber& a, std::int64_t n) {
  const std::int64_t lo = std::min<std::int64_t>(a.low() + n, 0);
  const std::int64_t hi = a.high() + n;
  HugeNumber result = HugeNumber::Zeros(lo, hi);
  std::copy(a.digits().begin(), a.digits().end(), result.digits().begin() + (a.low() + n - lo));
  return result;
}

HugeNumber NegateDigits(const HugeNumber& a) {
  if (a.zero_form() != HugeNumber::ZeroForm::None) return a;
  // The lowest 16-bit digit has no negation; the test runs apart so both loops run in vectors.
  const auto& digits = a.digits();
  std::int16_t least = 0;
  for (std::int16_t d : digits) least = std::min(least, d);
  if (least == std::numeric_limits<std::int16_t>::min()) Raise(platform::kOverflow);
  std::vector<std::int16_t> negated(digits.size());
  for (std::size_t i = 0; i < digits.size(); ++i)
    negated[i] = static_cast<std::int16_t>(-digits[i]);
  return HugeNumber(a.low(), std::move(negated));
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
    case Equal:
      return equal;
    case NotEqual:
      return !equal;
    default:
      break;
  }
  // The ordering operators always take both tests, so an operand the subtraction cannot
  // hold fails the same way whatever the equality test found.
  const bool greater = IsGreater(a, b);
  if (operation == LessThan) return !equal && !greater;
  if (operation == GreaterThanOrEqual) return equal || greater;
  return equal || !greater;
}

}  // namespace numeron
