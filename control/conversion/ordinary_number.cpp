#include "control/conversion/ordinary_number.h"

#include <limits>

#include "control/number/errors.h"
#include "platform/number_text.h"

namespace numeron {
namespace {

using platform::VariantKind;

template <typename Int>
bool Fits(std::int64_t value) {
  return value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max();
}

// The narrowest kind that holds the result: 16-bit (when the argument was), 32-bit, double.
Variant WholeResult(std::int64_t value, bool may_be_16_bit) {
  if (may_be_16_bit && Fits<std::int16_t>(value)) return Variant(static_cast<std::int16_t>(value));
  if (Fits<std::int32_t>(value)) return Variant(static_cast<std::int32_t>(value));
  return Variant(static_cast<double>(value));
}

}  // namespace

double CanonicalDouble(const Variant& x) {
  const std::string text = GeneralTextOf(x);
  if (text.empty()) return 0;  // the empty value
  const std::optional<double> value = platform::ReadDouble(text);
  // The general text of a value IsNumericEx accepts always reads back; anything else is refused.
  if (!value) Raise(platform::kTypeMismatch);
  return *value;
}

Variant ApplyOrdinary(const Variant& x, const OrdinaryOperation& operation) {
  switch (x.kind()) {
    case VariantKind::Empty:
      return WholeResult(operation.on_whole(0), true);
    case VariantKind::Boolean:
      return WholeResult(operation.on_whole(x.boolean() ? -1 : 0), true);
    case VariantKind::Int16:
      return WholeResult(operation.on_whole(x.int16()), true);
    case VariantKind::Int32:
      return WholeResult(operation.on_whole(x.int32()), false);
    case VariantKind::Double:
    case VariantKind::Text:
      return Variant(operation.on_real(CanonicalDouble(x)));
    case VariantKind::Missing:
    case VariantKind::Array:
      break;
  }
  Raise(platform::kTypeMismatch);
}

}  // namespace numeron
