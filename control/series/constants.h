// The stored constants cut to a number of decimal places.
#pragma once

#include <cstdint>

#include "control/number/number.h"

namespace numeron {

// The largest number of decimal places the stored constants give.
inline constexpr std::int32_t kMaxConstantPlaces = 999;

// The places Pi and e honour for `precision`: its absolute value, at most 999 (the most
// negative 32-bit value, which has no absolute value, counts as above 999).
std::int32_t ConstantPlaces(std::int32_t precision);

// `constant` cut (never rounded) to `places` decimal places, keeping the zero place 1 above
// the ones, handed back by result rule A.
Variant CutConstant(const HugeNumber& constant, std::int32_t places, std::int32_t return_type);

}  // namespace numeron
