// Addition, negation and subtraction.
#include <limits>

#include "control/arithmetic/arithmetic.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "platform/number_text.h"

namespace numeron {
namespace {

using platform::VariantKind;

// Negation of a canonical number, keeping its kind where the kind can hold the result:
// 16-bit widens to 32-bit, 32-bit to double; Booleans and the empty value act as 16-bit.
Variant NegateNumber(const Variant& x) {
  switch (x.kind()) {
    case VariantKind::Empty:
      return Variant(std::int16_t{0});
    case VariantKind::Boolean:
      return Variant(static_cast<std::int16_t>(x.boolean() ? 1 : 0));
    case VariantKind::Int16:
      if (x.int16() == std::numeric_limits<std::int16_t>::min()) {
        return Variant(-static_cast<std::int32_t>(x.int16()));
      }
      return Variant(static_cast<std::int16_t>(-x.int16()));
    case VariantKind::Int32:
      if (x.int32() == std::numeric_limits<std::int32_t>::min()) {
        return Variant(-static_cast<double>(x.int32()));
      }
      return Variant(-x.int32());
    case VariantKind::Double:
      return Variant(-x.real());
    default:
      return Variant(-*platform::ReadDouble(x.text()));
  }
}

// Turns the sign of a number text as written, so its digits (leading and trailing zeros, an
// exponent) stay as they are.
std::string NegateText(const std::string& written) {
  const std::string_view text = TrimSpaces(written);
  if (text.empty()) return "0";
  if (!SplitNumberText(text)) Raise(platform::kTypeMismatch);
  if (text[0] == '-') return std::string(text.substr(1));
  if (text[0] == '+') return "-" + std::string(text.substr(1));
  return "-" + std::string(text);
}

}  // namespace

Variant Add(const Variant& x, const Variant& y, std::int32_t return_type) {
  const HugeNumber a = ToHugeNumber(x);
  const HugeNumber b = ToHugeNumber(y);
  return ResultRuleB(SumDigits(a, b), return_type);
}

Variant Negate(const Variant& x) {
  if (x.is(VariantKind::Array)) return ToVariant(NegateDigits(ReadDigitArray(x.array())));
  if (IsNumericEx(x)) return NegateNumber(x);
  return Variant(NegateText(GeneralTextOf(x)));
}

Variant Subtract(const Variant& x, const Variant& y, std::int32_t return_type) {
  return Add(x, Negate(y), return_type);
}

}  // namespace numeron
