// Inverse trigonometric functions: the arcsine and arctangent series for |x| < 1, and the
// forms built on them.
#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/constants.h"
#include "control/series/frame.h"
#include "control/trig/trig.h"

namespace numeron {
namespace {

// The argument in normal form, refused unless its square is below 1.
HugeNumber InsideUnitRange(const Variant& value, const platform::Error& refusal) {
  const HugeNumber x = ToNormalHugeNumber(value);
  if (!CompareDigits(ProductOf(x, x), Small(1), LessThan)) Raise(refusal);
  return x;
}

HugeNumber ArcSineOf(const Variant& value, std::int32_t series_length, std::int32_t precision) {
  CheckSeriesLength(series_length);
  const HugeNumber x = InsideUnitRange(value, kArcSineDomain);
  const HugeNumber two = Small(2);
  HugeNumber power = ProductOf(x, ProductOf(x, x)), sum = x;
  HugeNumber a = Small(1), numerator = Small(1), denominator = Small(2), m = Small(3), e = Small(2);
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    sum = AddDigits(sum, InternalDivide(MultiplyDigits(power, numerator),
                                        MultiplyDigits(m, denominator), precision));
    e = AddDigits(e, two);
    denominator = MultiplyDigits(denominator, e);
    m = AddDigits(m, two);
    a = AddDigits(a, two);
    numerator = MultiplyDigits(numerator, a);
    power = CutBelow(MultiplyDigits(MultiplyDigits(power, x), x), precision);
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
  const HugeNumber two = Small(2);
  HugeNumber power = ProductOf(x, ProductOf(x, x)), sum = x, m = Small(3);
  auto advance = [&] {
    m = AddDigits(m, two);
    power = CutBelow(MultiplyDigits(MultiplyDigits(power, x), x), precision);
    sum = CutBelow(sum, precision);
  };
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    sum = AddDigits(sum, NegateDigits(InternalDivide(power, m, precision)));
    advance();
    sum = AddDigits(sum, InternalDivide(power, m, precision));
    advance();
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant ArcCosine(const HugeNumber& pi, const Variant& x, std::int32_t series_length,
                  std::int32_t places, std::int32_t return_type) {
  const Variant half_pi = Divide(CutConstant(pi, places, Huge_Number), Variant(std::int16_t{2}),
                                 places, Huge_Number);
  const Variant arc_sine = ToVariant(ArcSineOf(x, series_length, places));
  return Subtract(half_pi, arc_sine, return_type);
}

Variant Reciprocal(const Variant& x, std::int32_t precision) {
  return Divide(Variant(std::int16_t{1}), x, precision, Huge_Number);
}

}  // namespace numeron
