// Sine and cosine by their series, two terms a pass, and the four quotients of them.
#include <algorithm>
#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/series/frame.h"
#include "control/series/quotient_bounds.h"
#include "control/series/running_power.h"
#include "control/series/settle.h"
#include "control/trig/trig.h"

namespace numeron {
namespace {

// The alternating series x^k/k! from the given power on, k stepping by two, added into `sum`.
// The factorial is kept as its value: the division reads nothing else of it.
// Each pass subtracts one term and adds the next; after each term the counter and factorial
// step twice, the power takes two more factors of x, and power and sum are cut below place
// -Precision once they reach there.
HugeNumber AlternatingSeries(const HugeNumber& x, HugeNumber first_power, HugeNumber sum,
                             std::int16_t first_counter, std::int16_t first_factorial,
                             std::int32_t series_length, std::int32_t precision) {
  // Four factors a pass: the last factorial is (first_counter + 4 * SeriesLength)!.
  const double last_factorial = Log10Factorial(first_counter + 4.0 * series_length);
  CheckReach(last_factorial);
  const double x_log = Log10Above(x);
  const auto cut = [precision](const HugeNumber& digits) { return CutBelow(digits, precision); };
  unsigned long n = first_counter;
  WholeFactor factorial(first_factorial);
  RunningPower power(std::move(first_power), x, precision, 2 * std::int64_t{series_length});
  // A step makes the quotient the last one times x^2 / ((n + 1)(n + 2)), less what the cut of
  // the power loses: its fraction of 10^-P / k!, 10^17 / k! units of the bounds.
  QuotientBounds quotients(precision);
  const std::optional<QuotientBounds::Fraction> x2 = QuotientBounds::ShortPower(x, 2);
  double log10_factorial = std::log10(static_cast<double>(first_factorial));
  auto advance = [&] {
    factorial.MultiplyBy(++n);
    factorial.MultiplyBy(++n);
    power.Step();
    sum = cut(sum);
    log10_factorial += std::log10((n - 1.0) * n);
    if (x2 && !power.CarriesDigits()) {
      const double units = std::pow(10.0, 17 - log10_factorial);
      quotients.Scale(x2->numerator, x2->denominator * (n - 1) * n,
                      QuotientBounds::CutLoss(power.CutFraction(), units));
    } else {
      quotients.Forget();
    }
  };
  const auto quotient = [&](bool negated) {
    return PowerQuotient(quotients, power, negated, factorial.value());
  };
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    ReportProgress(pass, series_length);
    sum = AddDigits(sum, quotient(true));
    advance();
    const HugeNumber term = quotient(false);
    sum = AddDigits(sum, term);
    // The next power is this one times x^2, cut toward zero, and the next factorial this one
    // times (n + 1) (n + 2): from a term that rounds to zero with x^2 <= (n + 1) (n + 2) on,
    // every term does. The powers still to be made reach x^(n + 4 * passes left + 2) at most.
    if (IsZeroDigits(term) && 2 * x_log <= std::log10((n + 1.0) * (n + 2.0)) &&
        HoldsZeroTerms(sum, precision, power.IsZero())) {
      const std::int64_t left = std::int64_t{series_length} - pass - 1;
      const auto top = static_cast<std::int64_t>(
          std::max(0.0, std::floor((n + 4.0 * left + 2.0) * x_log)) + power.HighBound());
      const Reach reach =
          Worse(FactorReach(last_factorial), ProductsReach(power.LowestReach(), top, x, 2));
      const auto half_pass = [&](const HugeNumber& s) { return cut(AddZero(s)); };
      if (auto rest = SkipPasses(reach, cut(sum), 2 * left, half_pass)) {
        sum = std::move(*rest);
        break;
      }
    }
    advance();
  }
  UnifyDigitSigns(sum);
  return sum;
}

HugeNumber SineOf(const Variant& value, std::int32_t series_length, std::int32_t precision) {
  CheckSeriesLength(series_length);
  const HugeNumber x = ToNormalHugeNumber(value);
  return AlternatingSeries(x, ProductOf(ProductOf(x, x), x), x, 3, 6, series_length, precision);
}

HugeNumber CosineOf(const Variant& value, std::int32_t series_length, std::int32_t precision) {
  CheckSeriesLength(series_length);
  const HugeNumber x = ToNormalHugeNumber(value);
  return AlternatingSeries(x, ProductOf(x, x), Small(1), 2, 2, series_length, precision);
}

const Variant kOne(std::int16_t{1});

}  // namespace

Variant Sine(const Variant& x, std::int32_t series_length, std::int32_t precision,
             std::int32_t return_type) {
  return ResultRuleB(SineOf(x, series_length, precision), return_type);
}

Variant Cosine(const Variant& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type) {
  return ResultRuleB(CosineOf(x, series_length, precision), return_type);
}

Variant Tangent(const Variant& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type) {
  const Variant sine = ToVariant(SineOf(x, series_length, precision));
  const Variant cosine = ToVariant(CosineOf(x, series_length, precision));
  return Divide(sine, cosine, precision, return_type);
}

Variant Secant(const Variant& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type) {
  return Divide(kOne, ToVariant(CosineOf(x, series_length, precision)), precision, return_type);
}

Variant Cosecant(const Variant& x, std::int32_t series_length, std::int32_t precision,
                 std::int32_t return_type) {
  return Divide(kOne, ToVariant(SineOf(x, series_length, precision)), precision, return_type);
}

Variant Cotangent(const Variant& x, std::int32_t series_length, std::int32_t precision,
                  std::int32_t return_type) {
  const Variant cosine = ToVariant(CosineOf(x, series_length, precision));
  const Variant sine = ToVariant(SineOf(x, series_length, precision));
  return Divide(cosine, sine, precision, return_type);
}

}  // namespace numeron
