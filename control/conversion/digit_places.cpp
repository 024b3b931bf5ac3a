// Reading a number's places: the digit at a place, the highest and the lowest place. All three
// read the normal form, which holds place 0, so the highest place is never below 0 and the
// lowest never above it.
#include <exception>
#include <limits>

#include "control/conversion/conversion.h"
#include "control/number/errors.h"
#include "platform/number_text.h"

namespace numeron {
namespace {

HugeNumber NormalizedNumber(const Variant& x) { return Normalized(ToHugeNumber(x)); }

}  // namespace

std::int16_t GetDigit(const Variant& x, double place) {
  try {
    const HugeNumber n = NormalizedNumber(x);
    // The range test takes the place as given, before rounding: 3.5 lies above a number whose
    // highest place is 3 and reads 0, and a place that passes always rounds to one inside.
    if (!(n.high() >= place && n.low() <= place)) return 0;
    const std::optional<std::int32_t> nearest = platform::DoubleToInt32(place);  // half to even
    return nearest ? n.at(*nearest) : std::int16_t{0};
  } catch (const std::exception&) {
    // Every failure, a text that is not a number included, reads as the digit 0.
    return 0;
  }
}

std::int32_t GetHighestPlace(const Variant& x) {
  return static_cast<std::int32_t>(NormalizedNumber(x).high());
}

std::int16_t GetLowestPlace(const Variant& x) {
  const std::int32_t lowest = NormalizedNumber(x).low();
  if (lowest < std::numeric_limits<std::int16_t>::min()) Raise(platform::kOverflow);
  return static_cast<std::int16_t>(lowest);
}

}  // namespace numeron
