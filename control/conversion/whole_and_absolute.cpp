// ConvertToWhole (the floor) and AbsoluteValue, each on its three paths.
#include <cmath>

#include "control/conversion/conversion.h"
#include "control/conversion/ordinary_number.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"

namespace numeron {
namespace {

using platform::VariantKind;

// The floor of a huge number, in normal form. Normalising first matters: an unnormalised array
// can hold a fraction with the opposite sign to its value (places 0..-1 holding 1, -5 is 0.5),
// so cutting it as it stands could land on the wrong side.
HugeNumber FloorDigits(const HugeNumber& digits) {
  const HugeNumber n = Normalized(digits);
  HugeNumber whole = RedimDigits(n, 0, n.high());
  // In normal form a place below 0 exists only when it holds a non-zero digit, so a negative
  // number with such a place lies strictly between two whole numbers.
  const bool negative = n.at(n.high()) < 0 || n.at(n.low()) < 0;
  if (negative && n.low() < 0) whole = SumDigits(whole, HugeNumber(0, {-1}));
  return Normalized(std::move(whole));
}

}  // namespace

Variant ConvertToWhole(const Variant& x) {
  if (IsNumericEx(x)) {
    return ApplyOrdinary(x, {[](std::int64_t v) { return v; },
                             // Adding +0 turns the floor of -0 into 0: no negative zero leaves.
                             [](double v) { return std::floor(v) + 0.0; }});
  }
  if (x.is(VariantKind::Array)) return ToVariant(FloorDigits(ReadDigitArray(x.array())));
  return Variant(HugeNumberToText(FloorDigits(CreateHugeNumber(x))));
}

Variant AbsoluteValue(const Variant& x) {
  if (IsNumericEx(x)) {
    return ApplyOrdinary(
        x, {[](std::int64_t v) { return v < 0 ? -v : v; }, [](double v) { return std::fabs(v); }});
  }
  if (x.is(VariantKind::Array)) return ToVariant(AbsoluteDigits(ReadDigitArray(x.array())));

  // Text: the digits stay as written; only a sign goes, with the blanks around the text. A text
  // without a sign comes back exactly as given.
  const std::string text = GeneralTextOf(x);
  const std::string_view trimmed = TrimSpaces(text);
  if (trimmed.empty()) return Variant(text);  // blank text reads as zero, its own magnitude
  if (!SplitNumberText(trimmed)) Raise(platform::kTypeMismatch);
  if (trimmed[0] == '-' || trimmed[0] == '+') return Variant(trimmed.substr(1));
  return Variant(text);
}

}  // namespace numeron
