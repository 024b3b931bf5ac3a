// Conversions to built-in numbers and whole values, digit places, lining up and scientific
// notation, on Variants. Each function takes one of three paths by its argument: a value that
// IsNumericEx accepts gets ordinary double or integer arithmetic and gives an ordinary number;
// a digit array is worked as a huge number; any other text is read as a number (Type mismatch
// when it is none) and handled as a huge number or as text. Arguments are not changed unless
// a function says so.
#pragma once

#include <cstdint>
#include <string>

#include "control/number/number.h"

namespace numeron {

// The value as a double; huge numbers beyond +-1.79769313486231E+308 clamp to that bound.
double ConvertToDouble(const Variant& x);
// True exactly for the values ConvertToDouble clamps; a value equal to a bound is not one.
bool IsValueOverflow(const Variant& x);
// The greatest whole number not above the value: a number for a canonical number, a huge
// number in normal form for an array, the text form for any other text.
Variant ConvertToWhole(const Variant& x);
// The magnitude: a number for a canonical number, a normalised array of non-negative digits for
// an array, and for other text the text without its sign (a text without one comes back as is).
Variant AbsoluteValue(const Variant& x);
// The value plus 1. An array argument is incremented in place, unnormalised, and that same array
// is the result; the caller's array is untouched when the increment raises.
Variant Increment(Variant& x);
// The text with the zeros that do not change the value removed (leading zeros of the whole part,
// trailing zeros of the fraction, a bare point); the sign stays, zero is "0", and a general text
// in exponent form comes back unchanged.
std::string TrimStringValue(const std::string& text);
// The signed digit at the place nearest to `place` (halves to the even place) of the normalised
// number, 0 outside its places. Never raises: every failure gives 0.
std::int16_t GetDigit(const Variant& x, double place);
// The highest place of the normalised number (never below 0).
std::int32_t GetHighestPlace(const Variant& x);
// The lowest place of the normalised number (never above 0); Overflow below -32768.
std::int16_t GetLowestPlace(const Variant& x);
// Pads the texts of x1 and x2 so that signs, points and last digits stand in the same columns,
// writes both back as texts and returns their common length. `flag` 0 fills fractions with
// "0", any other value with blanks. Never raises: a failure gives 0 and leaves both unchanged.
std::int32_t LineUpStringValues(Variant& x1, Variant& x2, std::int32_t flag);
// One digit before the point and "E+" with the exponent: from the digits of an array, from the
// plain text of anything else, keeping every digit the text holds.
std::string ConvertToScientific(const Variant& x);
// The scientific text of a huge number's normal form (a value below 1 keeps its leading "0.").
std::string ScientificFromDigits(const HugeNumber& digits);

}  // namespace numeron
