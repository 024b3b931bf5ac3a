// Natural logarithms by the series of 2 artanh((x - 1)/(x + 1)), and logarithms to any base.
#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/frame.h"
#include "control/series/series.h"

namespace numeron {
namespace {

void RefuseNonPositive(const HugeNumber& x) {
  if (CompareDigits(x, Small(0), LessThanOrEqual)) Raise(kLogOfNonPositive);
}

}  // namespace

HugeNumber LogOf(const HugeNumber& x, std::int32_t series_length, std::int32_t precision) {
  RefuseNonPositive(x);
  CheckSeriesLength(series_length);
  HugeNumber above = x;
  IncrementDigits(above);
  const HugeNumber below = SumDigits(x, Small(-1));
  const HugeNumber z =
      ToHugeNumber(Divide(ToVariant(below), ToVariant(above), precision, Huge_Number));
  const HugeNumber two = Small(2);
  HugeNumber power = z, odd = Small(1), sum = Small(0);
  for (std::int32_t pass = 0; pass < series_length; ++pass) {
    ReportProgress(pass, series_length);
    // A power cut to nothing stays so, and a pass that then leaves the sum as it was leaves it
    // so for good: the remaining passes change nothing. The pass still makes its cut, which
    // fails when Precision asks for more places than a number holds (log 1 at -2^31 places).
    const bool settling = IsZeroDigits(power);
    HugeNumber next = AddDigits(sum, InternalDivide(power, odd, precision));
    const bool settled = settling && next == sum;
    sum = std::move(next);
    power = Truncate(MultiplyDigits(MultiplyDigits(power, z), z), precision);
    if (settled) break;
    odd = AddDigits(odd, two);
  }
  return ProductOf(sum, two);
}

Variant Log_e(const Variant& x, std::int32_t series_length, std::int32_t precision,
              std::int32_t return_type) {
  return ResultRuleB(LogOf(ToNormalHugeNumber(x), series_length, precision), return_type);
}

Variant Logarithm(const Variant& x, const Variant& base, std::int32_t series_length,
                  std::int32_t precision, std::int32_t return_type) {
  const HugeNumber value = ToNormalHugeNumber(x);
  RefuseNonPositive(value);
  CheckSeriesLength(series_length);
  const HugeNumber base_value = ToNormalHugeNumber(base);
  const HugeNumber log_x = LogOf(value, series_length, precision);
  const HugeNumber log_base = LogOf(base_value, series_length, precision);
  return Divide(ToVariant(log_x), ToVariant(log_base), precision, return_type);
}

}  // namespace numeron
