#include "control/number/huge_number.h"

#include <algorithm>
#include <limits>

#include "control/number/call_context.h"
#include "control/number/errors.h"

namespace numeron {

void CheckPlaces(std::int64_t lo, std::int64_t hi) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  if (lo < kMin || hi > kMax || hi - lo + 1 > kMaxPlaces) Raise(platform::kOverflow);
}

HugeNumber HugeNumber::Zeros(std::int64_t lo, std::int64_t hi) {
  CheckPlaces(lo, hi);
  return HugeNumber(static_cast<std::int32_t>(lo),
                    std::vector<std::int16_t>(
                        static_cast<std::size_t>(std::max<std::int64_t>(hi - lo + 1, 0)), 0));
}

HugeNumber HugeNumber::ZeroFormOf(ZeroForm form) {
  HugeNumber zero;
  zero.zero_form_ = form;
  return zero;
}

std::int16_t HugeNumber::DigitOrZero(std::int64_t place) const {
  return place < low_place_ || place > high() ? 0 : at(place);
}

HugeNumber RedimDigits(const HugeNumber& digits, std::int64_t lo, std::int64_t hi) {
  HugeNumber result = HugeNumber::Zeros(lo, hi);
  const std::int64_t from = std::max<std::int64_t>(lo, digits.low());
  const std::int64_t to = std::min<std::int64_t>(hi, digits.high());
  if (from <= to) {
    std::copy(digits.digits().begin() + (from - digits.low()),
              digits.digits().begin() + (to - digits.low() + 1),
              result.digits().begin() + (from - lo));
  }
  return result;
}

bool IsZeroDigits(const HugeNumber& digits) {
  return std::all_of(digits.digits().begin(), digits.digits().end(),
                     [](std::int16_t d) { return d == 0; });
}

void TrimZeroPlaces(HugeNumber& digits) {
  if (IsZeroDigits(digits)) {
    digits = HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
    return;
  }
  // The top never moves below place 0, so an array wholly below place 0 reaches up to it.
  std::int64_t hi = digits.high();
  while (hi >= 1 && digits.at(hi) == 0) --hi;
  if (hi < 0) hi = 0;
  // The bottom moves up only through zero places below place 0. A non-zero digit lies at or
  // below hi, so the scan never leaves the array.
  std::int64_t lo = digits.low();
  while (lo < hi && lo < 0 && digits.at(lo) == 0) ++lo;
  if (lo > hi) lo = hi;
  if (lo != digits.low() || hi != digits.high() ||
      digits.zero_form() != HugeNumber::ZeroForm::None) {
    digits = RedimDigits(digits, lo, hi);
  }
}

void UnifyDigitSigns(HugeNumber& digits) {
  TrimZeroPlaces(digits);
  if (digits.zero_form() != HugeNumber::ZeroForm::None) return;

  // Carry every digit of magnitude 10 or more into the place above, growing the top.
  std::vector<std::int16_t>& d = digits.digits();
  for (std::size_t i = 0; i < d.size(); ++i) {
    if (i % kPlacesPerCheck == 0) CheckPoint();
    if (d[i] >= 10 || d[i] <= -10) {
      const int carry = d[i] / 10;
      d[i] = static_cast<std::int16_t>(d[i] % 10);
      if (i + 1 == d.size()) {
        CheckPlaces(digits.low(), digits.high() + 1);
        d.push_back(0);
      }
      const int next = d[i + 1] + carry;
      if (next > std::numeric_limits<std::int16_t>::max() ||
          next < std::numeric_limits<std::int16_t>::min()) {
        Raise(platform::kOverflow);
      }
      d[i + 1] = static_cast<std::int16_t>(next);
    }
  }

  // Every digit is now in -9..9; one pass from the bottom lends or borrows so that all of
  // them take the sign of the leading digit.
  std::size_t top = d.size();
  while (top > 0 && d[top - 1] == 0) --top;
  if (top > 1) {
    const std::size_t lead = top - 1;
    if (d[lead] > 0) {
      for (std::size_t i = 0; i < lead; ++i) {
        if (d[i] < 0) {
          d[i] = static_cast<std::int16_t>(d[i] + 10);
          --d[i + 1];
        }
      }
    } else {
      for (std::size_t i = 0; i < lead; ++i) {
        if (d[i] > 0) {
          d[i] = static_cast<std::int16_t>(d[i] - 10);
          ++d[i + 1];
        }
      }
    }
  }
  TrimZeroPlaces(digits);
  // Normal form always holds place 0, also for an array that lay wholly above it.
  if (digits.low() > 0) digits = RedimDigits(digits, 0, digits.high());
}

std::int32_t FindLowestNonZeroPlace(const HugeNumber& digits) {
  for (std::int64_t place = digits.low(); place <= 0 && place <= digits.high(); ++place) {
    if (digits.at(place) != 0) return static_cast<std::int32_t>(place);
  }
  return 0;
}

bool IsSameDigits(const HugeNumber& a, const HugeNumber& b) {
  return a.low() == b.low() && a.digits() == b.digits();
}

HugeNumber Normalized(HugeNumber digits) {
  UnifyDigitSigns(digits);
  return digits;
}

}  // namespace numeron
