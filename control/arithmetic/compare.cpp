// Comparison of two numbers of any kind.
#include <algorithm>
#include <compare>

#include "control/arithmetic/arithmetic.h"
#include "control/number/digit_arithmetic.h"

namespace numeron {
namespace {

int SignOf(const SignificantDigits& v) { return v.digits.empty() ? 0 : v.negative ? -1 : 1; }

// The sign of a - b, from the significant digits alone.
int Order(const SignificantDigits& a, const SignificantDigits& b) {
  if (SignOf(a) != SignOf(b)) return SignOf(a) < SignOf(b) ? -1 : 1;
  const std::strong_ordering magnitude =
      a.top() != b.top() ? a.top() <=> b.top() : a.digits.compare(b.digits) <=> 0;
  return magnitude == 0 ? 0 : (magnitude > 0 ? SignOf(a) : -SignOf(a));
}

// CompareDigits for two numbers in normal form held as their significant digits, so that
// numbers whose places lie far apart (1E+90000000 against 1) cost their digits, not their span.
// The greater-than test subtracts: unless an operand is zero (the adder hands back the other)
// the difference spans both operands and a carry place, and raises Overflow where that is
// beyond the place limit, as the subtraction would.
bool CompareSignificant(const SignificantDigits& a, const SignificantDigits& b,
                        std::int32_t operation) {
  if (operation < Equal || operation > LessThanOrEqual) return false;
  const int order = Order(a, b);
  const auto greater = [&] {
    if (SignOf(a) != 0 && SignOf(b) != 0) {
      CheckPlaces(std::min({a.bottom, b.bottom, std::int64_t{0}}),
                  std::max({a.top(), b.top(), std::int64_t{0}}) + 1);
    }
    return order > 0;
  };
  switch (operation) {
    case Equal:
      return order == 0;
    case greaterthan:
      return greater();
    case NotEqual:
      return order != 0;
    case LessThan:
      return !greater() && order != 0;
    case GreaterThanOrEqual:
      return greater() || order == 0;
    default:
      return !greater() || order == 0;
  }
}

}  // namespace

bool Compare(const Variant& x, const Variant& y, std::int32_t operation) {
  if (!x.is(platform::VariantKind::Array) && !y.is(platform::VariantKind::Array)) {
    // Zero has no significant digits.
    const SignificantDigits a = ReadSignificantDigits(x).value_or(SignificantDigits{});
    const SignificantDigits b = ReadSignificantDigits(y).value_or(SignificantDigits{});
    return CompareSignificant(a, b, operation);
  }
  const HugeNumber a = ToHugeNumber(x);
  const HugeNumber b = ToHugeNumber(y);
  return CompareDigits(a, b, operation);
}

}  // namespace numeron
