// Factorials: the argument times each value one, two, three ... below it while the value
// before the step exceeds 1, so a fraction ends on its fractional part (2.5 gives 1.875).
#include "control/arithmetic/product.h"
#include "control/arithmetic/big_integer.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/frame.h"
#include "control/series/series.h"

namespace numeron {

Variant Factorial(const Variant& value, std::int32_t return_type) {
  HugeNumber x = ToNormalHugeNumber(value);
  if (IsNegative(x)) Raise(kFactorialOfNegative);
  if (IsZeroDigits(x)) return ResultRuleB(Small(1), return_type);
  const HugeNumber one = Small(1), minus_one = Small(-1);
  HugeNumber product = x;
  while (CompareDigits(x, one, greaterthan)) {
    x = SumDigits(x, minus_one);
    product = ProductOf(x, product);
  }
  return ResultRuleB(std::move(product), return_type);
}

}  // namespace numeron
