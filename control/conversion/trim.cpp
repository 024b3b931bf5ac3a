// TrimStringValue: removes only the zeros that do not change the value.
#include <algorithm>
#include <string_view>

#include "control/conversion/conversion.h"

namespace numeron {

std::string TrimStringValue(const std::string& text) {
  const std::string s = ConvertToString(Variant(text));
  // Only a general text keeps an exponent through ConvertToString; its digits are already bare.
  if (s.find('E') != std::string::npos) return s;

  std::string_view body = s;
  const bool negative = !body.empty() && body[0] == '-';
  if (negative) body.remove_prefix(1);
  const std::size_t point = body.find('.');
  std::string_view whole = body.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : body.substr(point + 1);

  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);  // npos + 1 is 0
  if (whole.empty() && fraction.empty()) return "0";  // zero, whatever its sign was written as

  std::string result;
  result.reserve(body.size() + 1);
  if (negative) result.push_back('-');
  result.append(whole);
  if (!fraction.empty()) result.append(".").append(fraction);
  return result;
}

}  // namespace numeron
