// Inverse trigonometric functions: the arcsine and arctangent series for |x| < 1, and the
// forms built on them.
#include <algorithm>
#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/constants.h"
#include "control/series/frame.h"
#include "control/series/quotient_bounds.h"
#include "control/series/running_power.h"
#include "control/series/settle.h"
#include "control/trig/trig.h"

namespace numeron {
namespace {

// The argument in normal form, refused unless its square is below 1.
HugeNumber InsideUnitRange(const Variant& value, const platform::Error& refusal) {
  const HugeNumber x = ToNormalHugeNumber(value);
  if (!CompareDigits(ProductOf(x, x), Small(1), LessThan)) Raise(refusal);
  return x;
}

// The running products of the odd and the even numbers, and the odd counter, reach the sum only
// through the term's quotient, which reads only their values; so they are kept as values.
HugeNumber ArcSineOf(const Variant& value, std::int32_t series_length, std::int32_t precision) {
  CheckSeriesLength(series_length);
  const HugeNumber x = InsideUnitRange(value, kArcSineDomain);
  // The last pass's divisor holds 2 * 4 * ... * (2N + 2) = 2^(N+1) (N+1)!; the numerator
  // 1 * 3 * ... * (2N + 1) stays below it.
  const double last_denominator =
      (series_length + 1.0) * std::log10(2.0) + Log10Factorial(series_length + 1.0);
  CheckReach(last_denominator);
  RunningPower power(ProductOf(x, ProductOf(x, x)), x, precision, series_length);
  HugeNumber sum = x;
  WholeFactor numerator(1), denominator(2);
  unsigned long a = 1, m = 3, e = 2;
  // A pass makes the quotient the last one times x^2 a m / (e (m + 2)) with a, e and m stepped,
  // less what the cut of the power loses: its fraction of 10^-P numerator / (m denominator),
  // the ratio of the two running products held as a double (its roundings stay far inside the
  // room CutLoss leaves).
  QuotientBounds quotients(precision);
  const std::optional<QuotientBounds::Fraction> x2 = QuotientBounds::ShortPower(x, 2);
  double ratio = 0.5;
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    ReportProgress(pass, series_length);
    const HugeNumber term = quotients.Term(
        power.value() < 0,
        [&] { return std::pair(mpz_class(power.value() * numerator.value()), power.exponent()); },
        m * denominator.value());
    sum = AddDigits(sum, term);
    // Each pass multiplies the power by x^2 < 1 and cuts it toward zero, the numerator by
    // a + 2 and the divisor by more, so the terms only shrink: from one that rounds to zero
    // on, every one does. With |x| < 1 the power stays within places -P..0 after its cuts.
    if (IsZeroDigits(term) && HoldsZeroTerms(sum, precision, power.IsZero())) {
      const Reach reach = Worse(FactorReach(last_denominator),
                                ProductsReach(power.LowestReach(), power.HighBound(), x, 2));
      if (auto rest = SkipPasses(reach, sum, series_length - pass - 1, AddZero)) return *rest;
    }
    e += 2;
    denominator.MultiplyBy(e);
    m += 2;
    a += 2;
    numerator.MultiplyBy(a);
    power.Step();
    ratio *= static_cast<double>(a) / static_cast<double>(e);
    if (x2 && !power.CarriesDigits()) {
      const double units = 1e17 * ratio / static_cast<double>(m);
      quotients.Scale(x2->numerator * a * (m - 2), x2->denominator * e * m,
                      QuotientBounds::CutLoss(power.CutFraction(), units));
    } else {
      quotients.Forget();
    }
  }
  return sum;
}

}  // namespace

Variant ArcSine(const Variant& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type) {
  return ResultRuleB(ArcSineOf(x, series_length, precision), return_type);
}

Variant ArcTangent(const Variant& value, std::int32_t series_length, std::int32_t precision,
                   std::int32_t return_type) {
  CheckSeriesLength(series_length);
  const HugeNumber x = InsideUnitRange(value, kArcTangentDomain);
  // The counter reaches the quotients only through its value.
  RunningPower power(ProductOf(x, ProductOf(x, x)), x, precision, 2 * std::int64_t{series_length});
  HugeNumber sum = x;
  std::uint64_t m = 3;
  // A step makes the quotient the last one times x^2 (m - 2) / m, less what the cut of the
  // power loses: its fraction of 10^-P / m, 10^17 / m units of the bounds.
  QuotientBounds quotients(precision);
  const std::optional<QuotientBounds::Fraction> x2 = QuotientBounds::ShortPower(x, 2);
  auto advance = [&] {
    m += 2;
    power.Step();
    sum = CutBelow(sum, precision);
    if (x2 && !power.CarriesDigits()) {
      quotients.Scale(x2->numerator * (m - 2), x2->denominator * m,
                      QuotientBounds::CutLoss(power.CutFraction(), 1e17 / static_cast<double>(m)));
    } else {
      quotients.Forget();
    }
  };
  const auto quotient = [&](bool negated) {
    return PowerQuotient(quotients, power, negated, mpz_class(m));
  };
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    ReportProgress(pass, series_length);
    // Once the power is cut to nothing it stays so, and a pass that leaves the sum as it was
    // leaves it so for good: the remaining passes change nothing.
    const bool settling = power.IsZero();
    const HugeNumber before = settling ? sum : HugeNumber();
    sum = AddDigits(sum, quotient(true));
    advance();
    sum = AddDigits(sum, quotient(false));
    advance();
    if (settling && sum == before) break;
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant ArcCosine(const HugeNumber& pi, const Variant& x, std::int32_t series_length,
                  std::int32_t places, std::int32_t return_type) {
  const Variant half_pi =
      Divide(CutConstant(pi, places, Huge_Number), Variant(std::int16_t{2}), places, Huge_Number);
  const Variant arc_sine = ToVariant(ArcSineOf(x, series_length, places));
  return Subtract(half_pi, arc_sine, return_type);
}

Variant Reciprocal(const Variant& x, std::int32_t precision) {
  return Divide(Variant(std::int16_t{1}), x, precision, Huge_Number);
}

}  // namespace numeron
