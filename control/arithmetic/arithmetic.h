// The public arithmetic of the component on Variants: every operand may be a text, a number
// of any kind or a huge number; results come back in the kind the caller asks for.
#pragma once

#include <cstdint>

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

}  // namespace numeron
