// Conversion to a built-in double, and the test for values a double cannot hold.
#include <string_view>

#include "control/conversion/conversion.h"
#include "control/conversion/ordinary_number.h"
#include "control/number/digit_arithmetic.h"
#include "platform/number_text.h"

namespace numeron {
namespace {

// The clamp bounds of HugeNumberToDouble, rebuilt the same way: the double nearest to the
// 15-digit general text of the largest double, as a huge number, and its negation. Keeping
// them identical is what makes IsValueOverflow true exactly where ConvertToDouble clamps.
struct OverflowBounds {
  HugeNumber upper;
  HugeNumber lower;
};

const OverflowBounds& Bounds() {
  static const OverflowBounds bounds = [] {
    constexpr std::string_view kClampText = "1.79769313486231E+308";
    HugeNumber upper = CreateHugeNumber(Variant(*platform::ReadDouble(kClampText)));
    HugeNumber lower = NegateDigits(upper);
    return OverflowBounds{std::move(upper), std::move(lower)};
  }();
  return bounds;
}

}  // namespace

double ConvertToDouble(const Variant& x) {
  if (x.is(platform::VariantKind::Array)) return HugeNumberToDouble(ReadDigitArray(x.array()));
  if (IsNumericEx(x)) return CanonicalDouble(x);
  return HugeNumberToDouble(CreateHugeNumber(x));
}

bool IsValueOverflow(const Variant& x) {
  const HugeNumber value = ToHugeNumber(x);
  return CompareDigits(value, Bounds().lower, LessThan) ||
         CompareDigits(value, Bounds().upper, greaterthan);
}

}  // namespace numeron
