#include "control/series/constants.h"

#include <limits>

namespace numeron {

std::int32_t ConstantPlaces(std::int32_t precision) {
  if (precision == std::numeric_limits<std::int32_t>::min()) return kMaxConstantPlaces;
  const std::int32_t places = precision < 0 ? -precision : precision;
  return places > kMaxConstantPlaces ? kMaxConstantPlaces : places;
}

Variant CutConstant(const HugeNumber& constant, std::int32_t places, std::int32_t return_type) {
  return ResultRuleA(RedimDigits(constant, -static_cast<std::int64_t>(places), 1), return_type);
}

}  // namespace numeron
