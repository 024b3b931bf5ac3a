// Multiplication.
#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"

namespace numeron {

Variant Multiply(const Variant& x, const Variant& y, std::int32_t return_type) {
  const HugeNumber a = ToHugeNumber(x);
  const HugeNumber b = ToHugeNumber(y);
  // Text needs only the value, which GMP gives directly while no row can overflow a place.
  if (return_type == String_Value && !IsZeroDigits(a) && !IsZeroDigits(b) && HasSmallDigits(a) &&
      HasSmallDigits(b)) {
    return Variant(ProductText(a, b));
  }
  return ResultRuleB(ProductOf(a, b), return_type);
}

}  // namespace numeron
