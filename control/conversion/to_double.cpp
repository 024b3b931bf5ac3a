// Conversion to a built-in double, and the test for values a double cannot hold.
#include "control/conversion/conversion.h"
#include "control/conversion/ordinary_number.h"

namespace numeron {

double ConvertToDouble(const Variant& x) {
  if (x.is(platform::VariantKind::Array)) return HugeNumberToDouble(ReadDigitArray(x.array()));
  if (IsNumericEx(x)) return CanonicalDouble(x);
  return HugeNumberToDouble(CreateHugeNumber(x));
}

bool IsValueOverflow(const Variant& x) { return ClampSide(ToHugeNumber(x)) != 0; }

}  // namespace numeron
