// Sine and cosine by their series, two terms a pass, and the four quotients of them.
#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/series/frame.h"
#include "control/trig/trig.h"

namespace numeron {
namespace {

// The alternating series x^k/k! from the given power on, k stepping by two, added into `sum`.
// The factorial is kept as its value: the division reads nothing else of it.
// Each pass subtracts one term and adds the next; after each term the counter and factorial
// step twice, the power takes two more factors of x, and power and sum are cut below place
// -Precision once they reach there.
HugeNumber AlternatingSeries(const HugeNumber& x, HugeNumber power, HugeNumber sum,
                             std::int16_t first_counter, std::int16_t first_factorial,
                             std::int32_t series_length, std::int32_t precision) {
  // Four factors a pass: the last factorial is (first_counter + 4 * SeriesLength)!.
  CheckReach(Log10Factorial(first_counter + 4.0 * series_length));
  unsigned long n = first_counter;
  WholeFactor factorial(first_factorial);
  auto advance = [&] {
    factorial.MultiplyBy(++n);
    factorial.MultiplyBy(++n);
    power = CutBelow(MultiplyDigits(MultiplyDigits(power, x), x), precision);
    sum = CutBelow(sum, precision);
  };
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    ReportProgress(pass, series_length);
    sum = AddDigits(sum, NegateDigits(InternalDivideByWhole(power, factorial.value(), precision)));
    advance();
    sum = AddDigits(sum, InternalDivideByWhole(power, factorial.value(), precision));
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
