// Number and text services of the platform: the general text of a double, lenient reading
// (Val), reading a plain number text, and conversions of doubles to 16- and 32-bit integers.
// All of them ignore the process locale: "." is always the decimal point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numeron::platform {

// The general text of a double: at most 15 significant digits, correctly rounded; exponent form
// when the decimal exponent is 15 or more or -5 or less ("1E+15", "1E-05", "1.5E-07"), plain
// otherwise ("123456789012345", "0.0001"); no trailing zeros, no "+", at least two exponent
// digits; negative zero gives "0". A non-finite double has no general text (nullopt).
std::optional<std::string> GeneralText(double value);

// Val: blanks, tabs, carriage returns and line feeds are ignored wherever they stand; then an
// optional sign, digits with at most one ".", and an optional exponent (E or e, optional sign,
// digits; an E without digits is not read). "&H" or "&O" at the start reads a hexadecimal or
// octal integer instead: up to 32 bits it is a signed 32-bit value (&HFFFF is 65535, &HFFFFFFFF
// is -1), wider it is the nearest double of the unsigned value. Reading stops at the first
// character that fits none of these; no leading number gives 0. A value beyond the double range
// gives the largest finite double with its sign.
double Val(std::string_view text);

// Reads a whole text of the form [+|-]digits[.digits][(E|e)[+|-]digits] (at least one mantissa
// digit, nothing else: no blanks) as the nearest double. nullopt when the text has another form
// or its value is beyond the double range (a value too small for a double reads as zero).
std::optional<double> ReadDouble(std::string_view text);

// Round half to even; nullopt outside the integer's range (or for a non-finite value).
std::optional<std::int16_t> DoubleToInt16(double value);
std::optional<std::int32_t> DoubleToInt32(double value);

}  // namespace numeron::platform
