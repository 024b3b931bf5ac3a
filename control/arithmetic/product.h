// Products of digit arrays, with the digit patterns the schoolbook rows leave.
#pragma once

#include <string>

#include "control/number/huge_number.h"

namespace numeron {

// The total of Multiply: for each place of a, one row a(i) * b with one-place carries, added to
// the total with the public adder (so a zero row leaves the total alone and a zero total takes
// the row as it is), then trimmed. Neither operand may be zero.
HugeNumber MultiplyRows(const HugeNumber& a, const HugeNumber& b);

// The array the public Multiply makes of two huge numbers: the integer zero form when either is
// zero, otherwise MultiplyRows.
HugeNumber ProductOf(const HugeNumber& a, const HugeNumber& b);

// The product of the series code: the same rows added with AddDigits into a total that starts
// as the single zero place, then trimmed. Digits stay unnormalised.
HugeNumber MultiplyDigits(const HugeNumber& a, const HugeNumber& b);

// The value of a times b as its text form, for callers that need nothing but the value.
std::string ProductText(const HugeNumber& a, const HugeNumber& b);

// Raises Overflow where the rows of a times b would span more places than a number may hold.
void CheckProductPlaces(const HugeNumber& a, const HugeNumber& b);

}  // namespace numeron
