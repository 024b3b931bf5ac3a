// MultiplyDigits for long operands, from the product's value and its last few rows.
#pragma once

#include <optional>

#include "control/number/huge_number.h"

namespace numeron {

// The array MultiplyDigits(a, b) leaves, when every digit of a shares one sign, every digit of b
// shares one sign, and both have a non-zero digit; nothing when that does not hold, or when the
// few places the last rows do not settle would cost more to settle than the rows themselves.
std::optional<HugeNumber> ProductFromValue(const HugeNumber& a, const HugeNumber& b);

}  // namespace numeron
