// Comparison of two numbers of any kind.
#include "control/arithmetic/arithmetic.h"
#include "control/number/digit_arithmetic.h"

namespace numeron {

bool Compare(const Variant& x, const Variant& y, std::int32_t operation) {
  const HugeNumber a = ToHugeNumber(x);
  const HugeNumber b = ToHugeNumber(y);
  return CompareDigits(a, b, operation);
}

}  // namespace numeron
