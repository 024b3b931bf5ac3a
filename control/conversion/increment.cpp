// Increment: the one function here that changes its argument (a digit array, in place).
#include "control/arithmetic/arithmetic.h"
#include "control/conversion/conversion.h"
#include "control/conversion/ordinary_number.h"
#include "control/number/digit_arithmetic.h"

namespace numeron {

Variant Increment(Variant& x) {
  if (IsNumericEx(x)) {
    return ApplyOrdinary(x, {[](std::int64_t v) { return v + 1; }, [](double v) { return v + 1; }});
  }
  if (x.is(platform::VariantKind::Array)) {
    // The array is read into 16-bit digits, so Variant elements come back as 16-bit digits.
    // It is stored only once the increment has succeeded, so a raise leaves it as it was.
    HugeNumber digits = ReadDigitArray(x.array());
    IncrementDigits(digits);
    x = ToVariant(std::move(digits));
    return x;
  }
  return Add(x, Variant(std::int16_t{1}), String_Value);
}

}  // namespace numeron
