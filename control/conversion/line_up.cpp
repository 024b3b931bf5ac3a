// LineUpStringValues: two numbers as texts, padded so that signs, points and last digits stand
// in the same columns.
#include <algorithm>
#include <exception>
#include <string_view>

#include "control/conversion/conversion.h"

namespace numeron {
namespace {

// One of the two texts while it is being padded.
struct Column {
  std::string sign;  // "-", a blank, or nothing when neither text has a sign
  std::string text;  // without its sign

  std::size_t Point() const { return text.find('.'); }
  bool HasPoint() const { return Point() != std::string::npos; }
  std::size_t WholeLength() const { return HasPoint() ? Point() : text.size(); }
  std::size_t FractionLength() const { return HasPoint() ? text.size() - Point() - 1 : 0; }
};

std::int32_t LineUp(Variant& x1, Variant& x2, std::int32_t flag) {
  Column a{"", ConvertToString(x1)};
  Column b{"", ConvertToString(x2)};

  const bool a_negative = a.text.starts_with('-');
  const bool b_negative = b.text.starts_with('-');
  if (a_negative) a.text.erase(0, 1);
  if (b_negative) b.text.erase(0, 1);
  if (a_negative || b_negative) {
    a.sign = a_negative ? "-" : " ";
    b.sign = b_negative ? "-" : " ";
  }

  Column& shorter_whole = a.WholeLength() < b.WholeLength() ? a : b;
  const std::size_t whole_gap =
      std::max(a.WholeLength(), b.WholeLength()) - shorter_whole.WholeLength();
  shorter_whole.text.insert(0, whole_gap, ' ');

  if (a.HasPoint() || b.HasPoint()) {
    // Both get a point, so the two texts come out the same length even when neither has
    // fraction digits ("5." and "3" give "5." and "3.").
    if (!a.HasPoint()) a.text.push_back('.');
    if (!b.HasPoint()) b.text.push_back('.');
    const char fill = flag == 0 ? '0' : ' ';
    Column& shorter_fraction = a.FractionLength() < b.FractionLength() ? a : b;
    const std::size_t fraction_gap =
        std::max(a.FractionLength(), b.FractionLength()) - shorter_fraction.FractionLength();
    shorter_fraction.text.append(fraction_gap, fill);
  }

  std::string padded1 = a.sign + a.text;
  std::string padded2 = b.sign + b.text;
  const auto length = static_cast<std::int32_t>(padded1.size());
  // Both are written back together, after everything that can fail.
  x1 = Variant(std::move(padded1));
  x2 = Variant(std::move(padded2));
  return length;
}

}  // namespace

std::int32_t LineUpStringValues(Variant& x1, Variant& x2, std::int32_t flag) {
  try {
    return LineUp(x1, x2, flag);
  } catch (const std::exception&) {
    // Any failure, a text that is not a number included, gives 0 and changes nothing.
    return 0;
  }
}

}  // namespace numeron
