// The place-by-place adder and the comparison on digit arrays, below the public functions:
// the adder of Add (and of the subtraction behind every comparison) and Compare's tests.
#pragma once

#include <cstdint>

#include "control/number/huge_number.h"

namespace numeron {

enum Comparison_Operator : std::int32_t {
  Equal = 0,
  greaterthan = 1,
  LessThan = 2,
  NotEqual = 3,
  GreaterThanOrEqual = 4,
  LessThanOrEqual = 5,
};

// a + b with one-place carries, never normalised: place i holds the carry out of place i - 1
// plus the remainder of place i, so it may reach +-10, and digits may differ in sign. The sum
// spans both operands and one carry place above, which goes when it is 0.
HugeNumber AddDigits(const HugeNumber& a, const HugeNumber& b);
// AddDigits, except that a zero operand hands back the other one unchanged (the public adder).
HugeNumber SumDigits(const HugeNumber& a, const HugeNumber& b);

// In place: 1 added at place 0 and every place that reaches 10 or more carried into a new top
// place (one new place per carry step, so leading zero places may remain). Negative digits are
// left alone. An array without place 0 is first extended to it.
void IncrementDigits(HugeNumber& a);

// The normal form with every digit made non-negative: the magnitude.
HugeNumber AbsoluteDigits(const HugeNumber& a);

// Moved n places: digit p goes to place p + n; the lowest place is the smaller of the moved
// lowest place and 0, so moving up keeps place 0 while moving down may leave it behind.
HugeNumber ShiftPlaces(const HugeNumber& a, std::int64_t n);

// Every digit negated, bounds kept; a zero form stays the same zero form.
HugeNumber NegateDigits(const HugeNumber& a);

// Whether a stands in relation `operation` to b; false for an operation outside 0..5.
bool CompareDigits(const HugeNumber& a, const HugeNumber& b, std::int32_t operation);

}  // namespace numeron
