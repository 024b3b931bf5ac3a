// Multiplication.
#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"

namespace numeron {

Variant Multiply(const Variant& x, const Variant& y, std::int32_t return_type) {
  const HugeNumber a = ToHugeNumber(x);
  const HugeNumber b = ToHugeNumber(y);
  if (IsZeroDigits(a) || IsZeroDigits(b) || return_type == Huge_Number ||
      return_type == double_value) {
    return ResultRuleB(ProductOf(a, b), return_type);
  }
  // Text needs only the value, and other kinds nothing at all; the sizes are still refused
  // as the rows would refuse them.
  CheckProductPlaces(a, b);
  return return_type == String_Value ? Variant(ProductText(a, b)) : Variant();
}

}  // namespace numeron
