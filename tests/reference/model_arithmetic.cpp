// The reference model's products, quotients, rounding, remainder and decimal shift, and the
// digit-array routines of the series code, each step by step as its algorithm gives it (see
// model.cpp for the ground rules).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/error.h"
#include "tests/reference/model_internal.h"

namespace numeron::reference::detail {

namespace {

constexpr platform::Error kDivideByZero{-2147220499,
                                        "You cannot divide a number by zero.  [Division by zero]"};
constexpr platform::Error kInternalDivideByZero{
    -2147220498, "An internal division error has occured, due to attempted division by zero."};

Digits DigitsOf(const Operand& o) { return ArrayOf(o); }

// a - b as the huge number Subtract returns.
Digits Difference(const Digits& a, const Digits& b) {
  return DigitsOf(Subtract(FromDigits(a), FromDigits(b), 0));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Multiply

Operand Multiply(const Operand& x, const Operand& y, std::int32_t return_type) {
  // 1.
  const Digits a = AsDigits(x);
  const Digits b = AsDigits(y);
  // 2. A zero operand: the integer zero form.
  if (IsZeroDigits(a) || IsZeroDigits(b)) return ResultRuleB(IntegerZero(), return_type);
  // 3. One row, one place below the lowest product place and one carry place above the
  // highest, reused for every place of a. The total starts as the empty value, which Add reads
  // as zero (and a zero row leaves the total as it is).
  Digits row = NewDigits(a.lo + b.lo - 1, a.hi() + b.hi() + 1);
  Operand total = FromScalar(Variant());
  for (std::int64_t i = a.lo; i <= a.hi(); ++i) {
    // 3.1 Each row place holds the carry from the place below plus its own remainder.
    for (std::int64_t j = b.lo; j <= b.hi(); ++j) {
      const std::int32_t q = a.Get(i) * b.Get(j);  // computed in 32 bits
      row.Set(i + j, row.Get(i + j) + q % 10);
      row.Set(i + j + 1, q / 10);
    }
    // 3.2
    total = Add(FromDigits(row), total, 0);
    // 3.3
    for (std::int64_t p = row.lo; p <= row.hi(); ++p) row.Set(p, 0);
  }
  // 4.
  Digits product = DigitsOf(total);
  TrimZeroPlaces(product);
  // 5.
  return ResultRuleB(product, return_type);
}

// ---------------------------------------------------------------------------------------------
// Division

// ShiftPlaces: digit p goes to place p + n; the lowest place is the smaller of the moved lowest
// place and 0, the highest is the moved highest place (so moving down may leave place 0).
Digits ShiftPlaces(const Digits& digits, std::int64_t n) {
  Digits r = NewDigits(std::min<std::int64_t>(digits.lo + n, 0), digits.hi() + n);
  for (std::int64_t p = digits.lo; p <= digits.hi(); ++p) r.Set(p + n, digits.Get(p));
  return r;
}

namespace {

// MultiplyByDigit: places lo..hi + 1; place i + 1 is set to the carry of place i, and place i
// becomes its remainder plus the carry it already holds; then trimmed.
Digits MultiplyByDigit(const Digits& digits, int k) {
  Digits r = NewDigits(digits.lo, digits.hi() + 1);
  for (std::int64_t i = digits.lo; i <= digits.hi(); ++i) {
    const std::int32_t product = digits.Get(i) * k;
    r.Set(i + 1, product / 10);
    r.Set(i, product % 10 + r.Get(i));
  }
  TrimZeroPlaces(r);
  return r;
}

// MirrorPlaces: the digit at place p moves to place -p.
Digits MirrorPlaces(const Digits& digits) {
  Digits r = NewDigits(-digits.hi(), -digits.lo);
  for (std::int64_t p = digits.lo; p <= digits.hi(); ++p) r.Set(-p, digits.Get(p));
  return r;
}

// FindLowestNonZeroPlace: scanning up from the lower bound to place 0, the first non-zero
// place; 0 when there is none at or below place 0.
std::int64_t FindLowestNonZeroPlace(const Digits& digits) {
  for (std::int64_t p = digits.lo; p <= std::min<std::int64_t>(digits.hi(), 0); ++p) {
    if (digits.Get(p) != 0) return p;
  }
  return 0;
}

// Steps 3 to 12, on two normalised operands, neither of them zero.
Digits DivideNormalised(Digits dividend, Digits divisor, std::int32_t precision) {
  // 3.
  const std::int64_t places = AbsolutePlaces(precision);
  const std::int64_t guard = places + 1;
  // 4.
  const bool dividend_negative = IsNegativeDigits(dividend);
  const bool divisor_negative = IsNegativeDigits(divisor);
  const bool negative = dividend_negative != divisor_negative;
  if (dividend_negative) dividend = AbsoluteDigits(dividend);
  if (divisor_negative) divisor = AbsoluteDigits(divisor);
  // 5.
  std::int64_t dp1 = std::abs(FindLowestNonZeroPlace(dividend));
  std::int64_t dp2 = std::abs(FindLowestNonZeroPlace(divisor));
  // 6. Each scaled by its decimal places to a whole number whose lowest place is 0.
  TrimZeroPlaces(dividend);
  dividend = ShiftPlaces(dividend, dp1);
  TrimZeroPlaces(dividend);
  TrimZeroPlaces(divisor);
  divisor = ShiftPlaces(divisor, dp2);
  TrimZeroPlaces(divisor);
  // 7. The same highest place.
  const std::int64_t u1 = dividend.hi();
  const std::int64_t u2 = divisor.hi();
  if (u1 < u2) {
    dividend = ShiftPlaces(dividend, u2 - u1);
    dp1 += u2 - u1;
  } else {
    divisor = ShiftPlaces(divisor, u1 - u2);
    dp2 += u1 - u2;
  }
  // 8.
  const std::int64_t d = dp2 - dp1;
  // The loop makes max(1, d + guard + 1) digits; no number may hold more than the limit.
  if (d + guard + 1 > kPlaceLimit) RaiseOverflow();
  // 9. The digit loop.
  std::vector<int> found;
  std::int64_t steps = 0;
  do {
    // 9.1 Trial subtraction, from 9 down.
    int digit = 0;
    for (int k = 9; k >= 1; --k) {
      const Digits product = MultiplyByDigit(divisor, k);
      Digits difference = Difference(dividend, product);
      UnifyDigitSigns(difference);
      if (!IsNegativeDigits(difference)) {
        digit = k;
        dividend = Difference(dividend, product);
        UnifyDigitSigns(dividend);
        break;
      }
    }
    // 9.2
    found.push_back(digit);
    // 9.3
    ++steps;
    dividend = ShiftPlaces(dividend, 1);
    // 9.4
  } while (d - steps + 1 > -guard);
  // 10. Digit j at place j, mirrored to place -j, then moved by d to place d - j.
  Digits laid = NewDigits(0, static_cast<std::int64_t>(found.size()) - 1);
  for (std::size_t j = 0; j < found.size(); ++j) laid.Set(static_cast<std::int64_t>(j), found[j]);
  Digits quotient = ShiftPlaces(MirrorPlaces(laid), d);
  // 11.
  if (negative) quotient = DigitsOf(Negate(FromDigits(quotient)));
  // 12.
  Variant decimal_place(static_cast<std::int32_t>(places));
  return DigitsOf(Round(FromDigits(quotient), decimal_place));
}

// Divide's reading of an operand: an array normalised, anything else made a huge number.
Digits DivisionOperand(const Operand& o) {
  if (!o.is_array) return CreateHugeNumber(o);
  Digits digits = ArrayOf(o);
  UnifyDigitSigns(digits);
  return digits;
}

}  // namespace

std::int64_t AbsolutePlaces(std::int32_t value) {
  if (value == std::numeric_limits<std::int32_t>::min()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return std::abs(static_cast<std::int64_t>(value));
}

// AbsoluteValue of a digit array.
Digits AbsoluteDigits(const Digits& digits) {
  Digits r = digits;
  UnifyDigitSigns(r);
  for (std::int64_t p = r.lo; p <= r.hi(); ++p) r.Set(p, std::abs(r.Get(p)));
  return r;
}

Operand Divide(const Operand& x, const Operand& y, std::int32_t precision,
               std::int32_t return_type) {
  // 1. Each operand in turn; the divisor's test before the dividend's.
  const Digits dividend = DivisionOperand(x);
  const Digits divisor = DivisionOperand(y);
  if (IsZeroDigits(divisor)) platform::Raise(kDivideByZero);
  // A zero dividend: the integer zero form, without rounding.
  if (IsZeroDigits(dividend)) return ResultRuleA(IntegerZero(), return_type);
  // 3 to 12, then 14.
  return ResultRuleA(DivideNormalised(dividend, divisor, precision), return_type);
}

Digits InternalDivide(const Digits& x, const Digits& y, std::int32_t precision) {
  // 2. The dividend's test first: a zero dividend gives zero whatever the divisor.
  if (IsZeroDigits(x)) return IntegerZero();
  if (IsZeroDigits(y)) platform::Raise(kInternalDivideByZero);
  Digits dividend = x;
  UnifyDigitSigns(dividend);
  Digits divisor = y;
  UnifyDigitSigns(divisor);
  // 3 to 13.
  return DivideNormalised(dividend, divisor, precision);
}

// ---------------------------------------------------------------------------------------------
// Round, Modulus, Slide

Operand Round(const Operand& x, Variant& decimal_place) {
  // 1. p = |DecimalPlace|, written back into the caller's variable.
  const std::int64_t p = AbsolutePlaces(decimal_place.int32());
  decimal_place = Variant(static_cast<std::int32_t>(p));
  // 2.
  enum class Kind { Huge, Double, Text };
  Kind kind;
  Digits n;
  if (x.is_array) {
    n = ArrayOf(x);
    UnifyDigitSigns(n);
    kind = Kind::Huge;
  } else {
    n = CreateHugeNumber(x);
    kind = IsNumericEx(x) ? Kind::Double : Kind::Text;
  }
  // 3. Digits below place -p exist only when the lowest place is -p or below.
  if (n.lo <= -p) {
    // 4.1 Only the first dropped digit counts: 5 or more in magnitude moves the digit at place
    // -p one further from zero, whatever the sign (it may become 10 or -10 and stays so).
    if (std::abs(n.Get(-p - 1)) >= 5) {
      const int away = IsNegativeDigits(n) ? -1 : 1;
      n.Set(-p, n.Get(-p) + away);
    }
    // 4.2 Places -p up to the highest are kept, zero places at the low end included.
    n = RedimDigits(n, -p, n.hi());
  }
  // 5.
  switch (kind) {
    case Kind::Huge:
      return FromDigits(n);
    case Kind::Double:
      return FromScalar(Variant(HugeNumberToDouble(n)));
    case Kind::Text:
      break;
  }
  return FromScalar(Variant(HugeNumberToText(n)));
}

namespace {

// The exact quotient of two normalised numbers cut toward zero, in normal form: both scaled by
// the same power of ten to whole magnitudes, then schoolbook long division, one digit at a time
// by counting subtractions. Magnitudes are held lowest digit first.
using Magnitude = std::vector<int>;

bool AtLeast(const Magnitude& a, const Magnitude& b) {  // a >= b; no leading zeros in either
  if (a.size() != b.size()) return a.size() > b.size();
  for (std::size_t k = a.size(); k-- > 0;) {
    if (a[k] != b[k]) return a[k] > b[k];
  }
  return true;
}

void SubtractFrom(Magnitude& a, const Magnitude& b) {  // a -= b, a >= b
  int borrow = 0;
  for (std::size_t k = 0; k < a.size(); ++k) {
    int v = a[k] - borrow - (k < b.size() ? b[k] : 0);
    borrow = v < 0 ? 1 : 0;
    a[k] = v + 10 * borrow;
  }
  while (!a.empty() && a.back() == 0) a.pop_back();
}

Magnitude ScaledMagnitude(const Digits& normal, std::int64_t scale) {
  Magnitude m;
  for (std::int64_t p = -scale; p <= normal.hi(); ++p) m.push_back(std::abs(normal.Get(p)));
  while (!m.empty() && m.back() == 0) m.pop_back();
  return m;
}

Digits TruncatedQuotient(const Digits& a, const Digits& b) {
  const std::int64_t scale =
      std::max<std::int64_t>(-std::min<std::int64_t>(a.lo, 0), -std::min<std::int64_t>(b.lo, 0));
  const Magnitude dividend = ScaledMagnitude(a, scale);
  const Magnitude divisor = ScaledMagnitude(b, scale);
  Magnitude remainder;
  std::vector<int> quotient;  // highest digit first
  for (std::size_t k = dividend.size(); k-- > 0;) {
    remainder.insert(remainder.begin(), dividend[k]);
    while (!remainder.empty() && remainder.back() == 0) remainder.pop_back();
    int count = 0;
    while (AtLeast(remainder, divisor)) {
      SubtractFrom(remainder, divisor);
      ++count;
    }
    quotient.push_back(count);
  }
  const int sign = IsNegativeDigits(a) != IsNegativeDigits(b) ? -1 : 1;
  Digits q =
      NewDigits(0, std::max<std::int64_t>(static_cast<std::int64_t>(quotient.size()) - 1, 0));
  for (std::size_t k = 0; k < quotient.size(); ++k) {
    q.Set(static_cast<std::int64_t>(quotient.size() - 1 - k), sign * quotient[k]);
  }
  UnifyDigitSigns(q);
  return q;
}

}  // namespace

Operand Modulus(const Operand& x, const Operand& y, std::int32_t return_type) {
  // The operands read as the division reads them, with its errors in its order.
  const Digits a = DivisionOperand(x);
  const Digits b = DivisionOperand(y);
  if (IsZeroDigits(b)) platform::Raise(kDivideByZero);
  // The remainder of the quotient cut toward zero, exactly: x - q * y with y as given.
  const Digits q = IsZeroDigits(a) ? IntegerZero() : TruncatedQuotient(a, b);
  const Operand m = Multiply(FromDigits(q), y, 0);
  const Operand r = Subtract(x, m, 0);
  return ResultRuleA(DigitsOf(r), return_type);
}

Operand Slide(const Operand& x, Variant& shift) {
  // 1. A plain number: the shift limited to -324..308 and written back, then multiplied by the
  // double 10^shift (0 at -324).
  if (IsNumericEx(x)) {
    const std::int32_t limited = std::clamp<std::int32_t>(shift.int32(), -324, 308);
    shift = Variant(limited);
    const double f = std::pow(10.0, static_cast<double>(limited));
    return Multiply(x, FromScalar(Variant(f)), 2);
  }
  // 2. An array, moved as it stands by the unlimited shift.
  if (x.is_array) return FromDigits(ShiftPlaces(ArrayOf(x), shift.int32()));
  // 3. Any other value: the moved number's text.
  const Digits moved = ShiftPlaces(CreateHugeNumber(x), shift.int32());
  return FromScalar(Variant(ConvertToString(FromDigits(moved))));
}

// ---------------------------------------------------------------------------------------------
// The digit-array routines of the series code: never normalised, no zero shortcuts.

// a and b are widened in place to the common places, as the routine does with its by-reference
// operands; their values do not change.
Digits AddDigits(Digits& a, Digits& b) {
  // 1.
  const std::int64_t hi = std::max(a.hi(), b.hi());
  if (a.hi() < hi) a = RedimDigits(a, a.lo, hi);
  if (b.hi() < hi) b = RedimDigits(b, b.lo, hi);
  // 2.
  const std::int64_t lo = std::min(a.lo, b.lo);
  if (a.lo > lo) a = RedimDigits(a, lo, hi);
  if (b.lo > lo) b = RedimDigits(b, lo, hi);
  // 3.
  Digits r = NewDigits(lo, hi + 1);
  // 4. The carry is assigned to the next place, not added.
  for (std::int64_t i = lo; i <= hi; ++i) {
    const std::int64_t s = static_cast<std::int64_t>(a.Get(i)) + b.Get(i);
    r.Set(i, r.Get(i) + s % 10);
    r.Set(i + 1, s / 10);
  }
  // 5.
  if (r.Get(hi + 1) == 0) r = RedimDigits(r, lo, hi);
  return r;
}

Digits MultiplyDigits(Digits a, Digits b) {
  // 1.
  Digits acc = NewDigits(0, 0);
  // 2.
  Digits p = NewDigits(a.lo + b.lo - 1, a.hi() + b.hi() + 1);
  // 3.
  for (std::int64_t i = a.lo; i <= a.hi(); ++i) {
    // 3.1
    for (std::int64_t j = b.lo; j <= b.hi(); ++j) {
      const std::int32_t q = a.Get(i) * b.Get(j);
      p.Set(i + j, q % 10 + p.Get(i + j));
      p.Set(i + j + 1, q / 10);
    }
    // 3.2 (AddDigits may widen p; its places stay.)
    acc = AddDigits(p, acc);
    // 3.3
    for (std::int64_t k = p.lo; k <= p.hi(); ++k) p.Set(k, 0);
  }
  // 4.
  TrimZeroPlaces(acc);
  return acc;
}

void IncrementDigits(Digits& a) {
  // An array without place 0 is first extended to it.
  if (!a.Has(0))
    a = RedimDigits(a, std::min<std::int64_t>(a.lo, 0), std::max<std::int64_t>(a.hi(), 0));
  // 1.
  a.Set(0, a.Get(0) + 1);
  // 2. Only places of 10 or more carry; every carry step adds a place at the top.
  std::int64_t i = 0;
  while (a.Get(i) >= 10) {
    a = RedimDigits(a, a.lo, a.hi() + 1);
    a.Set(i + 1, a.Get(i + 1) + a.Get(i) / 10);
    a.Set(i, a.Get(i) % 10);
    ++i;
  }
}

}  // namespace numeron::reference::detail
