// The public arithmetic of the component on Variants: every operand may be a text, a number
// of any kind or a huge number; results come back in the kind the caller asks for.
#pragma once

#include <cstdint>
#include <optional>

#include "control/number/number.h"

namespace numeron {

// The sum, never normalised (a place may hold 10), by result rule B.
Variant Add(const Variant& x, const Variant& y, std::int32_t return_type);
// The negation in a kind that follows the argument: an array gives an array; a canonical number
// its arithmetic negation as a number; any other number text the text with its sign turned.
Variant Negate(const Variant& x);
// Add of x and the negation of y.
Variant Subtract(const Variant& x, const Variant& y, std::int32_t return_type);
bool Compare(const Variant& x, const Variant& y, std::int32_t operation);

// The exact product by result rule B; the array keeps the digits the schoolbook rows leave.
Variant Multiply(const Variant& x, const Variant& y, std::int32_t return_type);

// The decimal places a Precision or DecimalPlace asks for: its absolute value, the most negative
// 32-bit value counting as the largest.
std::int32_t AbsolutePlaces(std::int32_t precision);

// x / y to AbsolutePlaces(precision) places by result rule A: the quotient truncated one place
// further (the guard digit) and rounded on it. Raises the division-by-zero error.
Variant Divide(const Variant& x, const Variant& y, std::int32_t precision,
               std::int32_t return_type);
// The same division on digit arrays for the series code: a zero dividend gives zero whatever
// the divisor; a zero divisor otherwise raises the internal division error.
HugeNumber InternalDivide(const HugeNumber& x, const HugeNumber& y, std::int32_t precision);

// Rounded at `places` (already made absolute) decimal places: an array gives an array, a
// canonical number a double, other text text.
Variant Round(const Variant& x, std::int32_t places);
// A normal-form array cut at place -places; the first dropped digit, when 5 or more in
// magnitude, moves the last kept digit one away from zero (it may become 10 and stays so).
HugeNumber RoundDigits(const HugeNumber& normal, std::int64_t places);

// x - y * trunc(x / y), exactly, by result rule A.
Variant Modulus(const Variant& x, const Variant& y, std::int32_t return_type);

// x * 10^shift. A canonical number gives a double, its shift limited to -324..308 and handed
// to *limited_shift (the caller stores it back); an array gives the array moved; other text
// the moved number's text.
Variant Slide(const Variant& x, std::int32_t shift, std::optional<std::int32_t>* limited_shift);

}  // namespace numeron
