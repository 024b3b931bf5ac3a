// e, e^x and x^y.
#include <cmath>
#include <limits>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/frame.h"
#include "control/series/series.h"

namespace numeron {
namespace {

// The whole value of a normal-form number, if it has no fraction digits; Overflow when that
// whole value does not fit 32 bits.
std::optional<std::int32_t> WholeExponent(const HugeNumber& normal) {
  for (std::int64_t place = normal.low(); place < 0; ++place) {
    if (normal.at(place) != 0) return std::nullopt;
  }
  std::int64_t value = 0;
  for (std::int64_t place = normal.high(); place >= 0; --place) {
    value = value * 10 + normal.at(place);
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
      Raise(platform::kOverflow);
    }
  }
  return static_cast<std::int32_t>(value);
}

// b^k, b in normal form, as the loop leaves it: |k| - 1 exact products with the base (not by
// squaring), then for a negative k the reciprocal by Divide; the result by result rule B.
Variant WholePower(const HugeNumber& base, std::int32_t k, std::int32_t precision,
                   std::int32_t return_type) {
  if (k == 0) return ResultRuleB(Small(1), return_type);
  const std::uint64_t count =
      k < 0 ? 0 - static_cast<std::uint64_t>(k) : static_cast<std::uint64_t>(k);
  if (IsZeroDigits(base)) {
    if (k < 0) Raise(kDivideByZero);
    return ResultRuleB(count == 1 ? base : HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer),
                       return_type);
  }
  // A reciprocal, a text and a double beyond the clamp depend only on the power's value.
  const mpz_class magnitude = MagnitudeOf(base);
  // The power reaches from place low * count up to about count * log10|base|, and from place 0.
  long exponent2 = 0;
  const double mantissa = mpz_get_d_2exp(&exponent2, magnitude.get_mpz_t());
  const double log10_base = std::log10(mantissa) + exponent2 * std::log10(2.0) + base.low();
  const double top = static_cast<double>(count) * log10_base;
  const double bottom = static_cast<double>(count) * base.low();
  if (std::max(top, 0.0) - std::min(bottom, 0.0) > kMaxPlaces) Raise(platform::kOverflow);
  mpz_class power;
  mpz_pow_ui(power.get_mpz_t(), magnitude.get_mpz_t(), count);
  const HugeNumber value =
      NormalFromScaled(power, IsNegative(base) && count % 2 == 1,
                       std::int64_t{base.low()} * static_cast<std::int64_t>(count));
  if (k < 0) {
    const Variant reciprocal =
        Divide(Variant(std::int16_t{1}), ToVariant(value), precision, Huge_Number);
    return ResultRuleB(ToHugeNumber(reciprocal), return_type);
  }
  if (return_type == String_Value) return Variant(HugeNumberToText(value));
  if (return_type != Huge_Number && return_type != double_value) return Variant();
  if (return_type == double_value && ClampSide(value) != 0)
    return Variant(HugeNumberToDouble(value));
  HugeNumber product = base;
  for (std::uint64_t i = 2; i <= count; ++i) {
    ReportProgress(i - 2, count - 1);
    product = ProductOf(product, base);
  }
  return ResultRuleB(std::move(product), return_type);
}

}  // namespace

Variant Calculate_e(std::int32_t series_length, std::int32_t precision, std::int32_t return_type) {
  CheckSeriesLength(series_length);
  CheckReach(Log10Factorial(series_length + 1.0));
  const HugeNumber one = Small(1);
  HugeNumber sum = Small(1);
  WholeFactor factorial(1);
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    ReportProgress(pass - 1, series_length);
    sum = AddDigits(sum, InternalDivideByWhole(one, factorial.value(), precision));
    factorial.MultiplyBy(static_cast<unsigned long>(pass) + 1);
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant eToExponent(const Variant& exponent, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type) {
  const HugeNumber x = ToNormalHugeNumber(exponent);
  CheckSeriesLength(series_length);
  CheckReach(Log10Factorial(series_length + 1.0));
  HugeNumber sum = Small(1), power = x;
  WholeFactor factorial(1);
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    ReportProgress(pass - 1, series_length);
    sum = AddDigits(sum, InternalDivideByWhole(power, factorial.value(), precision));
    factorial.MultiplyBy(static_cast<unsigned long>(pass) + 1);
    power = MultiplyDigits(x, power);
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant Exponential(const Variant& x, const Variant& y, std::int32_t series_length,
                    std::int32_t precision, std::int32_t return_type) {
  // The exponent is read first: a whole value of any kind takes the exact path.
  const HugeNumber exponent = ToNormalHugeNumber(y);
  if (const std::optional<std::int32_t> k = WholeExponent(exponent)) {
    return WholePower(ToNormalHugeNumber(x), *k, precision, return_type);
  }
  const HugeNumber m = ProductOf(exponent, LogOf(ToNormalHugeNumber(x), series_length, precision));
  CheckReach(Log10Factorial(series_length + 1.0));
  HugeNumber sum = Small(1), power = m;
  WholeFactor factorial(1);
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    ReportProgress(pass - 1, series_length);
    sum = Truncate(AddDigits(sum, InternalDivideByWhole(power, factorial.value(), precision)),
                   precision);
    factorial.MultiplyBy(static_cast<unsigned long>(pass) + 1);
    power = Truncate(MultiplyDigits(power, m), precision);
  }
  return ResultRuleB(std::move(sum), return_type);
}

}  // namespace numeron
