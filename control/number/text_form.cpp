// Numbers as text: the text form of a digit array, and the texts ConvertToString returns.
#include <algorithm>
#include <cctype>

#include "control/number/call_context.h"
#include "control/number/errors.h"
#include "control/number/number.h"

namespace numeron {

std::string HugeNumberToText(const HugeNumber& digits) {
  const HugeNumber n = Normalized(digits);
  const bool negative = n.at(n.high()) < 0 || n.at(n.low()) < 0;
  std::string text;
  text.reserve(static_cast<std::size_t>(n.size()) + 2);
  if (negative) text.push_back('-');
  // Normal form holds place 0, so the integer part is never empty.
  for (std::int64_t place = n.high(); place >= n.low(); --place) {
    if (text.size() % kPlacesPerCheck == 0) CheckPoint();
    const int d = n.at(place);
    text.push_back(static_cast<char>('0' + (d < 0 ? -d : d)));
    if (place == 0 && n.low() < 0) text.push_back('.');
  }
  return text;
}

// Arrays give their text form; canonical numbers their general text; any other number text
// comes back as written but trimmed, upper-cased, without a "+", and with an exponent spelled
// out in plain digits (its mantissa kept as written, so "12.5E1" gives "125.").
std::string ConvertToString(const Variant& value) {
  if (value.is(platform::VariantKind::Array)) {
    return HugeNumberToText(ReadDigitArray(value.array()));
  }
  if (IsNumericEx(value)) return GeneralTextOf(value);

  const std::string general = GeneralTextOf(value);
  const std::string_view s = TrimSpaces(general);
  if (s.empty()) return {};
  const std::optional<NumberText> parts = SplitNumberText(s);
  if (!parts) Raise(platform::kTypeMismatch);

  std::string result = parts->negative ? "-" : "";
  const bool has_exponent = s.find_first_of("Ee") != std::string_view::npos;
  if (!has_exponent) {
    const std::size_t body = s.find_first_not_of("+-");
    result.append(s.substr(body));
    return result;
  }
  std::string mantissa;
  mantissa.append(parts->int_digits).append(parts->frac_digits);
  const auto m = static_cast<std::int64_t>(mantissa.size());
  const std::int64_t x = static_cast<std::int64_t>(parts->int_digits.size()) + parts->exponent;
  const std::int64_t plain_digits = x <= 0 ? 1 - x + m : std::max(x, m);
  if (plain_digits > kMaxPlaces) Raise(platform::kOverflow);
  if (x <= 0) {
    result.append("0.").append(static_cast<std::size_t>(-x), '0').append(mantissa);
  } else if (x > m) {
    result.append(mantissa).append(static_cast<std::size_t>(x - m), '0');
  } else {
    result.append(mantissa, 0, static_cast<std::size_t>(x))
        .append(".")
        .append(mantissa, static_cast<std::size_t>(x));
  }
  return result;
}

Variant ToVariant(HugeNumber digits) {
  platform::VariantArray array;
  array.lower_bound = digits.low();
  switch (digits.zero_form()) {
    case HugeNumber::ZeroForm::Empty:
      array.element_kind = platform::VariantArray::ElementKind::Variant;
      array.elements.emplace_back();
      break;
    case HugeNumber::ZeroForm::Integer:
      array.element_kind = platform::VariantArray::ElementKind::Variant;
      array.elements.emplace_back(std::int16_t{0});
      break;
    case HugeNumber::ZeroForm::None:
      array.digits = std::move(digits.digits());
      break;
  }
  return Variant(std::move(array));
}

}  // namespace numeron
