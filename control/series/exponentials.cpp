// e, e^x and x^y.
#include <cmath>
#include <limits>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"
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

// b^k by |k| - 1 exact products with the base (not by squaring), the reciprocal by Divide for
// a negative k.
HugeNumber WholePower(const HugeNumber& base, std::int32_t k, std::int32_t precision) {
  const Variant one(std::int16_t{1});
  if (k == 0) return Small(1);
  HugeNumber power = base;
  const std::int64_t count = k < 0 ? -std::int64_t{k} : k;
  for (std::int64_t i = 2; i <= count; ++i) power = ProductOf(power, base);
  if (k > 0) return power;
  return ToHugeNumber(Divide(one, ToVariant(std::move(power)), precision, Huge_Number));
}

}  // namespace

Variant Calculate_e(std::int32_t series_length, std::int32_t precision, std::int32_t return_type) {
  CheckSeriesLength(series_length);
  const HugeNumber one = Small(1);
  HugeNumber sum = Small(1), factorial = Small(1), n = Small(1);
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    n = AddDigits(n, one);
    sum = AddDigits(sum, InternalDivide(one, factorial, precision));
    factorial = MultiplyDigits(factorial, n);
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant eToExponent(const Variant& exponent, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type) {
  const HugeNumber x = ToNormalHugeNumber(exponent);
  CheckSeriesLength(series_length);
  const HugeNumber one = Small(1);
  HugeNumber sum = Small(1), factorial = Small(1), n = Small(1), power = x;
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    n = AddDigits(n, one);
    sum = AddDigits(sum, InternalDivide(power, factorial, precision));
    factorial = MultiplyDigits(factorial, n);
    power = MultiplyDigits(x, power);
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant Exponential(const Variant& x, const Variant& y, std::int32_t series_length,
                    std::int32_t precision, std::int32_t return_type) {
  // The exponent is read first: a whole value of any kind takes the exact path.
  const HugeNumber exponent = ToNormalHugeNumber(y);
  if (const std::optional<std::int32_t> k = WholeExponent(exponent)) {
    return ResultRuleB(WholePower(ToNormalHugeNumber(x), *k, precision), return_type);
  }
  const HugeNumber m = ProductOf(exponent, LogOf(ToNormalHugeNumber(x), series_length, precision));
  const HugeNumber one = Small(1);
  HugeNumber sum = Small(1), factorial = Small(1), n = Small(1), power = m;
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    sum = Truncate(AddDigits(sum, InternalDivide(power, factorial, precision)), precision);
    n = AddDigits(n, one);
    factorial = MultiplyDigits(factorial, n);
    power = Truncate(MultiplyDigits(power, m), precision);
  }
  return ResultRuleB(std::move(sum), return_type);
}

}  // namespace numeron
