// Number and text services that never consult the locale. Every decimal reading goes through one
// scanner that picks out sign, digits and exponent, and then through std::from_chars on a clean
// copy, so what is read is always the correctly rounded double of the digits accepted.
#include "platform/number_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace numeron::platform {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The pieces of a decimal number as they stand in the text.
struct DecimalParts {
  bool negative = false;
  std::string_view int_digits;
  std::string_view frac_digits;
  bool exponent_negative = false;
  std::string_view exponent_digits;
};

std::string_view TakeDigits(std::string_view text, std::size_t* pos) {
  const std::size_t start = *pos;
  while (*pos < text.size() && IsDigit(text[*pos])) ++*pos;
  return text.substr(start, *pos - start);
}

// Reads [+|-]digits[.digits][(E|e)[+|-]digits] from the front of text, as far as it fits, and sets
// *end past what it used. An "E" without digits after it is not part of the number. nullopt when
// there is no mantissa digit.
std::optional<DecimalParts> ScanDecimal(std::string_view text, std::size_t* end) {
  DecimalParts parts;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    parts.negative = text[pos++] == '-';
  }
  parts.int_digits = TakeDigits(text, &pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    parts.frac_digits = TakeDigits(text, &pos);
  }
  if (parts.int_digits.empty() && parts.frac_digits.empty()) return std::nullopt;

  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    std::size_t exp_pos = pos + 1;
    bool exponent_negative = false;
    if (exp_pos < text.size() && (text[exp_pos] == '+' || text[exp_pos] == '-')) {
      exponent_negative = text[exp_pos++] == '-';
    }
    const std::string_view exponent_digits = TakeDigits(text, &exp_pos);
    if (!exponent_digits.empty()) {
      parts.exponent_negative = exponent_negative;
      parts.exponent_digits = exponent_digits;
      pos = exp_pos;
    }
  }
  *end = pos;
  return parts;
}

// Whether the magnitude is at least 1, from the position of the first significant digit and the
// exponent. Decides between overflow and underflow once from_chars reports a value out of range,
// so exponents are saturated far beyond any double's reach.
bool AtLeastOne(const DecimalParts& parts) {
  constexpr std::int64_t kSaturated = 1'000'000'000'000;
  std::int64_t exponent = 0;
  for (char c : parts.exponent_digits) exponent = std::min(exponent * 10 + (c - '0'), kSaturated);
  if (parts.exponent_negative) exponent = -exponent;

  std::int64_t leading;  // decimal exponent of the first nonzero digit without the E part
  const std::size_t int_nonzero = parts.int_digits.find_first_not_of('0');
  if (int_nonzero != std::string_view::npos) {
    leading = static_cast<std::int64_t>(parts.int_digits.size() - int_nonzero) - 1;
  } else {
    leading = -static_cast<std::int64_t>(parts.frac_digits.find_first_not_of('0')) - 1;
  }
  return leading + exponent >= 0;
}

struct Conversion {
  double value;
  bool overflow;  // beyond the double range; value is then infinite with the number's sign
};

Conversion NearestDouble(const DecimalParts& parts) {
  std::string clean;
  if (parts.negative) clean += '-';
  clean += parts.int_digits.empty() ? std::string_view("0") : parts.int_digits;
  clean += '.';
  clean += parts.frac_digits;
  if (!parts.exponent_digits.empty()) {
    clean += parts.exponent_negative ? "e-" : "e";
    clean += parts.exponent_digits;
  }

  double value = 0;
  const auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves value alone here; say which way the number left the range.
    const bool overflow = AtLeastOne(parts);
    value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    return {parts.negative ? -value : value, overflow};
  }
  return {value, false};
}

// An unsigned integer given by hexadecimal digits. Up to 32 bits it is taken as a signed 32-bit
// value (&HFFFFFFFF is -1, as a 32-bit host would store it); wider values read as the nearest
// double of the unsigned number.
double HexIntegerValue(std::string_view hex_digits) {
  const std::size_t first = hex_digits.find_first_not_of('0');
  if (first == std::string_view::npos) return 0;
  hex_digits.remove_prefix(first);
  if (hex_digits.size() <= 8) {
    std::uint32_t bits = 0;
    std::from_chars(hex_digits.data(), hex_digits.data() + hex_digits.size(), bits, 16);
    return static_cast<std::int32_t>(bits);
  }
  double value = 0;
  const auto [ptr, ec] = std::from_chars(hex_digits.data(), hex_digits.data() + hex_digits.size(),
                                         value, std::chars_format::hex);
  return ec == std::errc::result_out_of_range ? DBL_MAX : value;
}

// The same number in hexadecimal digits, so octal shares the rules above.
std::string OctalToHex(std::string_view octal_digits) {
  std::string hex;
  unsigned bits = 0;
  int bit_count = static_cast<int>((4 - octal_digits.size() * 3 % 4) % 4);  // leading zero bits
  for (char c : octal_digits) {
    bits = (bits << 3) | static_cast<unsigned>(c - '0');
    bit_count += 3;
    while (bit_count >= 4) {
      bit_count -= 4;
      hex += "0123456789ABCDEF"[(bits >> bit_count) & 0xF];
    }
  }
  return hex;
}

double RadixValue(std::string_view text) {
  const char radix = text.size() > 1 ? text[1] : '\0';
  std::size_t pos = 2;
  if (radix == 'H' || radix == 'h') {
    while (pos < text.size() && IsHexDigit(text[pos])) ++pos;
    return HexIntegerValue(text.substr(2, pos - 2));
  }
  if (radix == 'O' || radix == 'o') {
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '7') ++pos;
    return HexIntegerValue(OctalToHex(text.substr(2, pos - 2)));
  }
  return 0;
}

template <typename Int>
std::optional<Int> RoundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::floor(value);
  const double fraction = value - rounded;  // exact
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

}  // namespace

std::optional<std::string> GeneralText(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  if (value == 0) return "0";  // also for negative zero
  char buffer[32];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, end);
  std::ranges::replace(text, 'e', 'E');
  return text;
}

double Val(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') kept += c;
  }
  if (!kept.empty() && kept[0] == '&') return RadixValue(kept);

  std::size_t end = 0;
  const std::optional<DecimalParts> parts = ScanDecimal(kept, &end);
  if (!parts) return 0;
  const Conversion result = NearestDouble(*parts);
  if (result.overflow) return std::copysign(DBL_MAX, result.value);
  return result.value;
}

std::optional<double> ReadDouble(std::string_view text) {
  std::size_t end = 0;
  const std::optional<DecimalParts> parts = ScanDecimal(text, &end);
  if (!parts || end != text.size()) return std::nullopt;
  const Conversion result = NearestDouble(*parts);
  if (result.overflow) return std::nullopt;
  return result.value;
}

std::optional<std::int16_t> DoubleToInt16(double value) {
  return RoundToInteger<std::int16_t>(value);
}

std::optional<std::int32_t> DoubleToInt32(double value) {
  return RoundToInteger<std::int32_t>(value);
}

}  // namespace numeron::platform
