// Multiplication.
#include <algorithm>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"

namespace numeron {
namespace {

RowShape ShapeOf(const SignificantDigits& n) {
  const std::int64_t top = n.bottom + static_cast<std::int64_t>(n.digits.size()) - 1;
  // The first and the last significant digits are not zero.
  return {std::min<std::int64_t>(n.bottom, 0), std::max<std::int64_t>(top, 0), n.digits.size() > 1};
}

engine::Decimal DecimalOf(const SignificantDigits& n) {
  return {n.negative, engine::LimbsOfDigits(n.digits), n.bottom};
}

}  // namespace

Variant Multiply(const Variant& x, const Variant& y, std::int32_t return_type) {
  // Text needs only the value, which the engine gives directly while no row can overflow a
  // place: texts and numbers go straight from their digits into the engine's form.
  const bool arrays = x.is(platform::VariantKind::Array) || y.is(platform::VariantKind::Array);
  if (return_type == String_Value && !arrays) {
    const std::optional<SignificantDigits> a = ReadSignificantDigits(x);
    const std::optional<SignificantDigits> b = ReadSignificantDigits(y);
    if (!a || !b) return Variant("0");  // the integer zero form's text
    return Variant(ProductText(ShapeOf(*a), ShapeOf(*b), DecimalOf(*a), DecimalOf(*b)));
  }
  const HugeNumber a = ToHugeNumber(x);
  const HugeNumber b = ToHugeNumber(y);
  if (return_type == String_Value && !IsZeroDigits(a) && !IsZeroDigits(b) && HasSmallDigits(a) &&
      HasSmallDigits(b)) {
    return Variant(ProductText(ShapeOf(a), ShapeOf(b), engine::DecimalOfDigits(a),
                               engine::DecimalOfDigits(b)));
  }
  return ResultRuleB(ProductOf(a, b), return_type);
}

}  // namespace numeron
