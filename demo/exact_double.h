// The exact decimal value a double holds. Every finite double is a whole number m times a power
// of two, 2^e. For e >= 0 that is a whole number. For e = -k < 0, m * 2^-k = m * 5^k / 10^k:
// the whole number m * 5^k with the point k places from its right, so a finite decimal.
// Example: 0.1 is held as 3602879701896397 * 2^-55, and 3602879701896397 * 5^55 is
// 1000000000000000055511151231257827021181583404541015625, so the double holds
// 0.1000000000000000055511151231257827021181583404541015625 exactly.
#pragma once

#include <string>

namespace numeron::demo {

// Every digit of a finite value ("-" before a negative one, no exponent, no trailing zeros:
// with m made odd first, the last digit of m * 5^k is 5). Empty for infinities and NaN.
std::string ExactDecimal(double value);

}  // namespace numeron::demo
