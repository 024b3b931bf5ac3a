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
// plus the remainder of place i, so it may reach +-10, and digits may differ in sign. A zero
// operand hands back the other one unchanged. The top carry place goes when it is 0.
HugeNumber SumDigits(const HugeNumber& a, const HugeNumber& b);

// Every digit negated, bounds kept; a zero form stays the same zero form.
HugeNumber NegateDigits(const HugeNumber& a);

// Whether a stands in relation `operation` to b; false for an operation outside 0..5.
bool CompareDigits(const HugeNumber& a, const HugeNumber& b, std::int32_t operation);

}  // namespace numeron
