// Making huge numbers from any value, and handing them back as arrays, texts or doubles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "control/number/huge_number.h"
#include "platform/variant.h"

namespace numeron {

using platform::Variant;

enum TypeOfValue : std::int32_t { Huge_Number = 0, String_Value = 1, double_value = 2 };

// A text that reads as a number: [+|-]digits[.digits][(E|e)[+|-]digits] after removing spaces
// at both ends, at least one mantissa digit. Views point into the text it was split from.
struct NumberText {
  bool negative = false;
  std::string_view int_digits;   // as written, leading zeros included
  std::string_view frac_digits;  // as written, trailing zeros included
  std::int64_t exponent = 0;     // saturated far beyond any place the limits allow
};
// nullopt when the text (already stripped of spaces) is not a number.
std::optional<NumberText> SplitNumberText(std::string_view text);
std::string_view TrimSpaces(std::string_view text);

// True when the value is a number in the canonical form of its double: the general text of a
// double for texts, every integer kind, Booleans and the empty value; a double that its general
// text reads back to exactly. Never raises.
bool IsNumericEx(const Variant& value);
TypeOfValue GetType(const Variant& value);

// The significant digits of a value that is not an array, as CreateHugeNumber reads it: the
// mantissa from its first to its last non-zero digit, the place of that last digit and the
// sign; nothing for zero. Raises as CreateHugeNumber does.
struct SignificantDigits {
  bool negative = false;
  std::string digits;
  std::int64_t bottom = 0;
  std::int64_t top() const { return bottom + static_cast<std::int64_t>(digits.size()) - 1; }
};
std::optional<SignificantDigits> ReadSignificantDigits(const Variant& value);

// Any accepted value as a huge number: an array is read (elements to 16-bit digits) and trimmed;
// text and numbers are parsed into trimmed form. Raises Type mismatch for a text that is not a
// number (blank text is zero) and Overflow beyond the size limits.
HugeNumber CreateHugeNumber(const Variant& value);
// An array argument as it stands: elements read as 16-bit digits, nothing trimmed.
HugeNumber ReadDigitArray(const platform::VariantArray& array);
// A value that is not an array through CreateHugeNumber, an array read as it stands.
HugeNumber ToHugeNumber(const Variant& value);
// Any value in normal form: an array read and normalised, anything else through
// CreateHugeNumber (whose results are already normal).
HugeNumber ToNormalHugeNumber(const Variant& value);

// The array a caller receives: 16-bit digits, or the Variant-element zero forms.
Variant ToVariant(HugeNumber digits);

// The text form: normalised, "-" when negative, no leading or trailing zeros, "0" for zero.
std::string HugeNumberToText(const HugeNumber& digits);
// Texts of numbers as the component returns them; see the definition for the paths.
std::string ConvertToString(const Variant& value);
// The general text of a number kind; Type mismatch for a non-finite double.
std::string GeneralTextOf(const Variant& value);

// -1 below -1.79769313486231E+308, +1 above +1.79769313486231E+308 (the doubles nearest to the
// 15-digit general text of the largest double), 0 within; a bound itself is within.
int ClampSide(const HugeNumber& digits);
// The value as a double, clamped at those bounds; Overflow when an unnormalised array within
// the clamp still overflows a double on the way.
double HugeNumberToDouble(const HugeNumber& digits);

// Result rule A: 0 the array, 2 the double, any other kind the text.
Variant ResultRuleA(HugeNumber result, std::int32_t return_type);
// Result rule B: 0 the array, 1 the text, 2 the double, any other kind an empty result.
Variant ResultRuleB(HugeNumber result, std::int32_t return_type);

}  // namespace numeron
