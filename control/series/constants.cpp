#include "control/series/constants.h"

#include <algorithm>

#include "control/arithmetic/arithmetic.h"

namespace numeron {

std::int32_t ConstantPlaces(std::int32_t precision) {
  return std::min(AbsolutePlaces(precision), kMaxConstantPlaces);
}

Variant CutConstant(const HugeNumber& constant, std::int32_t places, std::int32_t return_type) {
  return ResultRuleA(RedimDigits(constant, -static_cast<std::int64_t>(places), 1), return_type);
}

}  // namespace numeron
