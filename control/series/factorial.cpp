// Factorials: the argument times each value one, two, three ... below it while the value
// before the step exceeds 1, so a fraction ends on its fractional part (2.5 gives 1.875).
#include <cmath>

#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/frame.h"
#include "control/series/series.h"

namespace numeron {
namespace {

// The factors x, x - 1, ... as whole numbers over 10^fraction, multiplied pairwise.
mpz_class ProductOfFactors(const mpz_class& first, const mpz_class& unit, std::uint64_t from,
                           std::uint64_t to) {
  if (to - from < 16) {
    mpz_class product = 1;
    CheckPoint();
    for (std::uint64_t i = from; i <= to; ++i) product *= first - unit * i;
    return product;
  }
  const std::uint64_t middle = from + (to - from) / 2;
  return ProductOfFactors(first, unit, from, middle) *
         ProductOfFactors(first, unit, middle + 1, to);
}

struct Scaled {
  mpz_class magnitude;
  std::int64_t exponent;
};

// How many times the loop steps x down by one, for a positive normal-form x. A result that
// cannot fit the place limit is refused before anything is multiplied.
mpz_class StepsWithinLimit(const HugeNumber& x) {
  const std::int64_t fraction = -std::int64_t{x.low()};
  const mpz_class m = MagnitudeOf(x);
  const mpz_class unit = PowerOfTen(fraction);
  const mpz_class steps_value = m > unit ? mpz_class((m - 1) / unit) : mpz_class(0);
  // Every factor but the last is at least 1 and each carries `fraction` decimal places.
  const double steps = steps_value.get_d();
  if (steps > kMaxPlaces || Log10Factorial(steps) > kMaxPlaces ||
      (steps + 1) * fraction > kMaxPlaces) {
    Raise(platform::kOverflow);
  }
  return steps_value;
}

// The value the loop multiplies out, for a positive normal-form x, from the value alone.
Scaled FactorialValue(const HugeNumber& x) {
  const std::int64_t fraction = -std::int64_t{x.low()};
  const mpz_class m = MagnitudeOf(x);
  const mpz_class unit = PowerOfTen(fraction);
  const auto count = static_cast<std::uint64_t>(StepsWithinLimit(x).get_ui());
  mpz_class product;
  if (fraction == 0) {
    mpz_fac_ui(product.get_mpz_t(), m.get_ui());
  } else {
    product = ProductOfFactors(m, unit, 0, count);
  }
  return {product, -fraction * static_cast<std::int64_t>(count + 1)};
}

}  // namespace

Variant Factorial(const Variant& value, std::int32_t return_type) {
  HugeNumber x = ToNormalHugeNumber(value);
  if (IsNegative(x)) Raise(kFactorialOfNegative);
  if (IsZeroDigits(x)) return ResultRuleB(Small(1), return_type);
  if (return_type != Huge_Number) {
    // Text needs only the value, and so does a double beyond the clamp; other kinds nothing.
    const Scaled product = FactorialValue(x);
    const HugeNumber normal = NormalFromScaled(product.magnitude, false, product.exponent);
    if (return_type == String_Value) return Variant(HugeNumberToText(normal));
    if (return_type != double_value) return Variant();
    if (ClampSide(normal) != 0) return Variant(HugeNumberToDouble(normal));
  }
  const std::uint64_t steps = StepsWithinLimit(x).get_ui();
  const HugeNumber one = Small(1), minus_one = Small(-1);
  HugeNumber product = x;
  for (std::uint64_t step = 0; CompareDigits(x, one, greaterthan); ++step) {
    ReportProgress(step, steps);
    x = SumDigits(x, minus_one);
    product = ProductOf(x, product);
  }
  return ResultRuleB(std::move(product), return_type);
}

}  // namespace numeron
