// Factorials: the argument times each value one, two, three ... below it while the value
// before the step exceeds 1, so a fraction ends on its fractional part (2.5 gives 1.875).
#include <cmath>

#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/engine/limbs.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/frame.h"
#include "control/series/series.h"

namespace numeron {
namespace {

// The factors x, x - 1, ... as whole numbers over 10^fraction, factor(i) = x - i, multiplied
// pairwise in a balanced tree so that the long products meet factors of their own length.
template <typename Factor>
engine::Limbs ProductOfFactors(const Factor& factor, std::uint64_t from, std::uint64_t to) {
  if (to - from < 16) {
    CheckPoint();
    engine::Limbs product = factor(from);
    for (std::uint64_t i = from + 1; i <= to; ++i) product = engine::Multiply(product, factor(i));
    return product;
  }
  const std::uint64_t middle = from + (to - from) / 2;
  return engine::Multiply(ProductOfFactors(factor, from, middle),
                          ProductOfFactors(factor, middle + 1, to));
}

engine::Limbs LimbsOf(std::uint64_t n) { return n == 0 ? engine::Limbs{} : engine::Limbs{n}; }

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
engine::Decimal FactorialValue(const HugeNumber& x) {
  const std::int64_t fraction = -std::int64_t{x.low()};
  const auto count = static_cast<std::uint64_t>(StepsWithinLimit(x).get_ui());
  const engine::Limbs m = engine::DecimalOfDigits(x).coefficient;
  engine::Limbs product;
  if (fraction == 0) {
    // A whole x (at most the place limit, so one limb) times each whole number below it.
    product = ProductOfFactors([&](std::uint64_t i) { return LimbsOf(m[0] - i); }, 0, count);
  } else {
    product = ProductOfFactors(
        [&](std::uint64_t i) {
          return engine::Difference(m, engine::ShiftedUp(LimbsOf(i), fraction));
        },
        0, count);
  }
  return {false, std::move(product), -fraction * static_cast<std::int64_t>(count + 1)};
}

}  // namespace

Variant Factorial(const Variant& value, std::int32_t return_type) {
  HugeNumber x = ToNormalHugeNumber(value);
  if (IsNegative(x)) Raise(kFactorialOfNegative);
  if (IsZeroDigits(x)) return ResultRuleB(Small(1), return_type);
  if (return_type != Huge_Number) {
    // Text needs only the value, and so does a double beyond the clamp; other kinds nothing.
    const engine::Decimal product = FactorialValue(x);
    if (return_type == String_Value) return Variant(engine::TextOf(product));
    if (return_type != double_value) return Variant();
    const HugeNumber normal = engine::NormalOf(product);
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
