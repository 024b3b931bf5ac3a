// Reading values as huge numbers, and the canonical-number test.
#include <algorithm>
#include <limits>

#include "control/number/call_context.h"
#include "control/number/errors.h"
#include "control/number/number.h"
#include "platform/number_text.h"

namespace numeron {
namespace {

using platform::VariantArray;
using platform::VariantKind;

// Far beyond any exponent the size limits allow, and safe to add to any text length.
constexpr std::int64_t kExponentCeiling = std::int64_t{1} << 40;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TakeDigits(std::string_view& rest) {
  std::size_t n = 0;
  while (n < rest.size() && IsDigit(rest[n])) ++n;
  std::string_view digits = rest.substr(0, n);
  rest.remove_prefix(n);
  return digits;
}

std::int16_t ElementToDigit(const Variant& element) {
  switch (element.kind()) {
    case VariantKind::Empty:
      return 0;
    case VariantKind::Boolean:
      return element.boolean() ? -1 : 0;
    case VariantKind::Int16:
      return element.int16();
    case VariantKind::Int32:
    case VariantKind::Double:
    case VariantKind::Text: {
      double value = 0;
      if (element.is(VariantKind::Int32)) {
        value = element.int32();
      } else if (element.is(VariantKind::Double)) {
        value = element.real();
      } else {
        const std::string_view text = TrimSpaces(element.text());
        if (!text.empty()) {
          const std::optional<double> read = platform::ReadDouble(text);
          if (!read) Raise(SplitNumberText(text) ? platform::kOverflow : platform::kTypeMismatch);
          value = *read;
        }
      }
      const std::optional<std::int16_t> digit = platform::DoubleToInt16(value);
      if (!digit) Raise(platform::kOverflow);
      return *digit;
    }
    case VariantKind::Missing:
    case VariantKind::Array:
      break;
  }
  Raise(platform::kTypeMismatch);
}

// Places of a parsed number text: mantissa digit j stands at place point - 1 - j.
struct Placement {
  std::string mantissa;  // int and fraction digits joined
  std::int64_t point;    // how many mantissa digits stand before the point of the plain form
};

Placement Place(const NumberText& parts) {
  Placement p;
  p.mantissa.reserve(parts.int_digits.size() + parts.frac_digits.size());
  p.mantissa.append(parts.int_digits).append(parts.frac_digits);
  p.point = static_cast<std::int64_t>(parts.int_digits.size()) + parts.exponent;
  return p;
}

HugeNumber FromNumberText(std::string_view text) {
  text = TrimSpaces(text);
  if (text.empty()) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  const std::optional<NumberText> parts = SplitNumberText(text);
  if (!parts) Raise(platform::kTypeMismatch);
  // The limit applies to the places the value needs, checked before any is made: a zero needs
  // one whatever its exponent.
  const Placement p = Place(*parts);

  const std::string& m = p.mantissa;
  const std::size_t first = m.find_first_not_of('0');
  if (first == std::string::npos) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  const std::size_t last = m.find_last_not_of('0');
  const std::int64_t top = p.point - 1 - static_cast<std::int64_t>(first);
  const std::int64_t bottom = p.point - 1 - static_cast<std::int64_t>(last);
  HugeNumber result =
      HugeNumber::Zeros(std::min<std::int64_t>(bottom, 0), std::max<std::int64_t>(top, 0));
  const int sign = parts->negative ? -1 : 1;
  for (std::size_t j = first; j <= last; ++j) {
    if (j % kPlacesPerCheck == 0) CheckPoint();
    result.at(p.point - 1 - static_cast<std::int64_t>(j)) =
        static_cast<std::int16_t>(sign * (m[j] - '0'));
  }
  return result;
}

}  // namespace

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::optional<NumberText> SplitNumberText(std::string_view text) {
  NumberText parts;
  std::string_view rest = text;
  if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
    parts.negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  parts.int_digits = TakeDigits(rest);
  if (!rest.empty() && rest[0] == '.') {
    rest.remove_prefix(1);
    parts.frac_digits = TakeDigits(rest);
  }
  if (parts.int_digits.empty() && parts.frac_digits.empty()) return std::nullopt;
  if (!rest.empty() && (rest[0] == 'E' || rest[0] == 'e')) {
    rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
      negative = rest[0] == '-';
      rest.remove_prefix(1);
    }
    const std::string_view digits = TakeDigits(rest);
    if (digits.empty()) return std::nullopt;
    std::int64_t exponent = 0;
    for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), kExponentCeiling);
    parts.exponent = negative ? -exponent : exponent;
  }
  if (!rest.empty()) return std::nullopt;
  return parts;
}

bool IsNumericEx(const Variant& value) {
  switch (value.kind()) {
    case VariantKind::Empty:
    case VariantKind::Boolean:
    case VariantKind::Int16:
    case VariantKind::Int32:
      return true;
    case VariantKind::Double: {
      const std::optional<std::string> text = platform::GeneralText(value.real());
      if (!text) return false;
      const std::optional<double> back = platform::ReadDouble(*text);
      return back && *back == value.real();
    }
    case VariantKind::Text: {
      const std::optional<double> read = platform::ReadDouble(value.text());
      return read && platform::GeneralText(*read) == value.text();
    }
    case VariantKind::Missing:
    case VariantKind::Array:
      return false;
  }
  return false;
}

TypeOfValue GetType(const Variant& value) {
  if (value.is(VariantKind::Array)) return Huge_Number;
  return IsNumericEx(value) ? double_value : String_Value;
}

std::string GeneralTextOf(const Variant& value) {
  switch (value.kind()) {
    case VariantKind::Empty:
      return {};
    case VariantKind::Boolean:
      return value.boolean() ? "-1" : "0";
    case VariantKind::Int16:
      return std::to_string(value.int16());
    case VariantKind::Int32:
      return std::to_string(value.int32());
    case VariantKind::Double: {
      std::optional<std::string> text = platform::GeneralText(value.real());
      if (!text) Raise(platform::kOverflow);
      return std::move(*text);
    }
    case VariantKind::Text:
      return value.text();
    case VariantKind::Missing:
    case VariantKind::Array:
      break;
  }
  Raise(platform::kTypeMismatch);
}

HugeNumber ReadDigitArray(const VariantArray& array) {
  if (array.size() > kMaxPlaces) Raise(platform::kOverflow);
  if (array.size() > 0) CheckPlaces(array.lower_bound, array.upper_bound());
  if (array.element_kind == VariantArray::ElementKind::Int16) {
    return HugeNumber(array.lower_bound, array.digits);
  }
  if (array.size() == 1 && array.lower_bound == 0) {
    const Variant& only = array.elements[0];
    if (only.is(VariantKind::Empty)) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
    if (only.is(VariantKind::Int16) && only.int16() == 0) {
      return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer);
    }
  }
  std::vector<std::int16_t> digits;
  digits.reserve(array.elements.size());
  for (const Variant& element : array.elements) digits.push_back(ElementToDigit(element));
  return HugeNumber(array.lower_bound, std::move(digits));
}

HugeNumber CreateHugeNumber(const Variant& value) {
  if (value.is(VariantKind::Array)) {
    HugeNumber digits = ReadDigitArray(value.array());
    TrimZeroPlaces(digits);
    return digits;
  }
  if (value.is(VariantKind::Empty)) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  return FromNumberText(GeneralTextOf(value));
}

HugeNumber ToHugeNumber(const Variant& value) {
  return value.is(VariantKind::Array) ? ReadDigitArray(value.array()) : CreateHugeNumber(value);
}

HugeNumber ToNormalHugeNumber(const Variant& value) {
  return value.is(VariantKind::Array) ? Normalized(ReadDigitArray(value.array()))
                                      : CreateHugeNumber(value);
}

}  // namespace numeron
