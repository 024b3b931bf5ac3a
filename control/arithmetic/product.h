// Products of digit arrays, with the digit patterns the schoolbook rows leave.
#pragma once

#include <string>

#include "control/engine/limbs.h"
#include "control/number/huge_number.h"

namespace numeron {

// The total of Multiply: for each place of a, one row a(i) * b with one-place carries, added to
// the total with the public adder (so a zero row leaves the total alone and a zero total takes
// the row as it is), then trimmed. Neither operand may be zero.
HugeNumber MultiplyRows(const HugeNumber& a, const HugeNumber& b);

// The rows of MultiplyRows (with_zero_shortcuts) or MultiplyDigits added one by one: the
// definition their faster path from the product's value is held to.
HugeNumber AddRowsOneByOne(const HugeNumber& a, const HugeNumber& b, bool with_zero_shortcuts);

// The array the public Multiply makes of two huge numbers: the integer zero form when either is
// zero, otherwise MultiplyRows.
HugeNumber ProductOf(const HugeNumber& a, const HugeNumber& b);

// The product of the series code: the same rows added with AddDigits into a total that starts
// as the single zero place, then trimmed. Digits stay unnormalised.
HugeNumber MultiplyDigits(const HugeNumber& a, const HugeNumber& b);

// Every digit within -9..9: the rows of such operands never overflow a 16-bit place.
bool HasSmallDigits(const HugeNumber& digits);

// What the rows' size checks see of a non-zero operand: its bounds, and whether more than one
// of its places holds a non-zero digit.
struct RowShape {
  std::int64_t low;
  std::int64_t high;
  bool several;
};
RowShape ShapeOf(const HugeNumber& digits);

// The text of ProductOf for non-zero operands with small digits, from their values alone; the
// sizes are refused as the rows and the trimmed total would refuse them.
std::string ProductText(RowShape a_shape, RowShape b_shape, const engine::Decimal& a,
                        const engine::Decimal& b);

}  // namespace numeron
