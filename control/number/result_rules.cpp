// Conversion to double and the two rules by which public functions hand back their results.
#include <cmath>

#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/number/number.h"
#include "platform/number_text.h"

namespace numeron {
namespace {

// The clamp: the 15-digit general text of the largest double, just below it.
constexpr std::string_view kClampText = "1.79769313486231E+308";

struct Clamp {
  double value;
  HugeNumber upper;
  HugeNumber lower;
};

const Clamp& TheClamp() {
  static const Clamp clamp = [] {
    const double value = *platform::ReadDouble(kClampText);
    HugeNumber upper = CreateHugeNumber(Variant(value));
    HugeNumber lower = NegateDigits(upper);
    return Clamp{value, std::move(upper), std::move(lower)};
  }();
  return clamp;
}

}  // namespace

int ClampSide(const HugeNumber& digits) {
  const Clamp& clamp = TheClamp();
  if (CompareDigits(digits, clamp.lower, LessThan)) return -1;
  if (CompareDigits(digits, clamp.upper, greaterthan)) return 1;
  return 0;
}

double HugeNumberToDouble(const HugeNumber& digits) {
  if (const int side = ClampSide(digits)) return side * TheClamp().value;
  // Within the clamp the digits are summed as they stand, from the top place down, in
  // doubles; only an unnormalised array can still overflow on the way.
  double sum = 0;
  for (std::int64_t place = digits.high(); place >= digits.low(); --place) {
    const std::int16_t d = digits.at(place);
    if (d == 0) continue;
    const double power = std::pow(10.0, static_cast<double>(place));
    const double term = d * power;
    sum += term;
    if (!std::isfinite(power) || !std::isfinite(term) || !std::isfinite(sum)) {
      Raise(platform::kOverflow);
    }
  }
  return sum;
}

Variant ResultRuleA(HugeNumber result, std::int32_t return_type) {
  if (return_type == Huge_Number) return ToVariant(std::move(result));
  if (return_type == double_value) return Variant(HugeNumberToDouble(result));
  return Variant(HugeNumberToText(result));
}

Variant ResultRuleB(HugeNumber result, std::int32_t return_type) {
  switch (return_type) {
    case Huge_Number:
      return ToVariant(std::move(result));
    case String_Value:
      return Variant(HugeNumberToText(result));
    case double_value:
      return Variant(HugeNumberToDouble(result));
    default:
      return Variant();
  }
}

}  // namespace numeron
