// Row-by-row products of long operands, from the product's value and its last few rows.
#pragma once

#include <optional>

#include "control/number/huge_number.h"

namespace numeron {

// The array the rows of a * b leave when added with the public adder (with_zero_shortcuts:
// MultiplyRows) or with AddDigits (MultiplyDigits), when every digit of a shares one sign, every
// digit of b shares one sign, and both have a non-zero digit; nothing when that does not hold,
// when a has too few non-zero rows to be worth it, or when the few places the last rows do not
// settle would cost more to settle than the rows themselves. With the shortcuts, also nothing
// when a place above the row array would ever hold a digit.
std::optional<HugeNumber> ProductFromValue(const HugeNumber& a, const HugeNumber& b,
                                           bool with_zero_shortcuts);

}  // namespace numeron
