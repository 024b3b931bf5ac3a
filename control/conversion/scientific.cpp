// Scientific notation: one digit before the point and "E+" with the exponent. Arrays are written
// from their normalised digits; everything else from its plain text, keeping every digit the
// text holds (leading and trailing zeros included), so it shows the number as it was typed.
#include <algorithm>

#include "control/conversion/conversion.h"

namespace numeron {
namespace {

void AppendDigit(std::string& out, std::int16_t digit) {
  out.push_back(static_cast<char>('0' + (digit < 0 ? -digit : digit)));
}

// The text of any value that is not an array, as [-]digits[.digits] with the exponent spelled
// out; a text whose digits start at the point gets the "0" a number below 1 is written with.
std::string PlainText(const Variant& x) {
  std::string t = ConvertToString(x);
  // Only a general text keeps its exponent through ConvertToString; its mantissa has no zeros
  // to keep, so the text form of its value spells it out exactly.
  if (t.find('E') != std::string::npos) t = HugeNumberToText(CreateHugeNumber(Variant(t)));
  const std::size_t digits = t.starts_with('-') ? 1 : 0;
  if (t.size() == digits || t[digits] == '.') t.insert(digits, "0");
  return t;
}

}  // namespace

std::string ConvertToScientific(const Variant& x) {
  if (x.is(platform::VariantKind::Array)) return ScientificFromDigits(ReadDigitArray(x.array()));

  std::string t = PlainText(x);
  std::string sign;
  if (t.starts_with('-')) {
    sign = "-";
    t.erase(0, 1);
  }
  if (t.size() == 1 || t[1] == '.') return sign + t + "E+0";

  // Two or more characters before the point: the first becomes the whole part.
  const std::size_t whole_length = std::min(t.find('.'), t.size());
  std::string result;
  result.reserve(t.size() + 16);
  result.append(sign).push_back(t[0]);
  result.push_back('.');
  for (std::size_t i = 1; i < t.size(); ++i) {
    if (t[i] != '.') result.push_back(t[i]);
  }
  result.append("E+").append(std::to_string(whole_length - 1));
  return result;
}

std::string ScientificFromDigits(const HugeNumber& digits) {
  const HugeNumber n = Normalized(digits);
  const std::int64_t hi = n.high();  // never below 0: normal form holds place 0
  std::string result;
  result.reserve(static_cast<std::size_t>(n.size()) + 16);
  if (n.at(hi) < 0 || n.at(n.low()) < 0) result.push_back('-');
  AppendDigit(result, n.at(hi));
  if (n.size() > 1) {
    result.push_back('.');
    for (std::int64_t place = hi - 1; place >= n.low(); --place) AppendDigit(result, n.at(place));
  }
  result.append("E+").append(std::to_string(hi));
  return result;
}

}  // namespace numeron
