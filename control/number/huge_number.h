// The component's own number form and the digit-array routines every arithmetic layer uses.
//
// A HugeNumber is exactly the digit array callers see: one signed 16-bit digit per place,
// indexed by place (0 ones, 1 tens, -1 tenths); its value is the sum of digit * 10^place.
// Producers may leave digits unnormalised (10 or more, mixed signs). Anything that compares,
// prints or reads a digit works on a normalised copy. Bounds and digits are observable, and
// later cuts depend on them, so never "tidy" an array as a side effect.
#pragma once

#include <cstdint>
#include <vector>

namespace numeron {

// No number may need more places than this; beyond it the component raises Overflow rather
// than exhausting memory or wrapping a 32-bit place.
inline constexpr std::int64_t kMaxPlaces = 100'000'000;

// Raises Overflow unless lo..hi is a valid place range within kMaxPlaces places.
void CheckPlaces(std::int64_t lo, std::int64_t hi);

class HugeNumber {
 public:
  // How a zero travels to callers: as a 16-bit array, or as one of the two one-element arrays
  // of Variant elements (the empty element that trimming leaves, the integer 0 that products
  // and quotients hand back). Only meaningful while the number is that single zero place.
  enum class ZeroForm : std::uint8_t { None, Empty, Integer };

  // A single zero place at place 0, as a 16-bit array.
  HugeNumber() : digits_(1, 0) {}
  // Places lo..hi, all zero.
  static HugeNumber Zeros(std::int64_t lo, std::int64_t hi);
  static HugeNumber ZeroFormOf(ZeroForm form);
  HugeNumber(std::int32_t low_place, std::vector<std::int16_t> digits)
      : low_place_(low_place), digits_(std::move(digits)) {}

  std::int32_t low() const { return low_place_; }
  // One below low() for an array without elements.
  std::int64_t high() const { return low_place_ + size() - 1; }
  std::int64_t size() const { return static_cast<std::int64_t>(digits_.size()); }
  bool empty() const { return digits_.empty(); }

  std::int16_t at(std::int64_t place) const { return digits_[place - low_place_]; }
  // Writable access: a number whose digits may change is no zero form any more.
  std::int16_t& at(std::int64_t place) {
    zero_form_ = ZeroForm::None;
    return digits_[place - low_place_];
  }
  // 0 outside the bounds.
  std::int16_t DigitOrZero(std::int64_t place) const;

  const std::vector<std::int16_t>& digits() const { return digits_; }
  std::vector<std::int16_t>& digits() {
    zero_form_ = ZeroForm::None;
    return digits_;
  }

  ZeroForm zero_form() const { return zero_form_; }

  bool operator==(const HugeNumber&) const = default;

 private:
  std::int32_t low_place_ = 0;
  std::vector<std::int16_t> digits_;  // digits_[i] holds place low_place_ + i
  ZeroForm zero_form_ = ZeroForm::None;
};

// A new array with places lo..hi: the digits of `digits` that fall inside, zeros elsewhere.
// Widens and cuts. Raises Overflow for a range beyond kMaxPlaces.
HugeNumber RedimDigits(const HugeNumber& digits, std::int64_t lo, std::int64_t hi);

// True when every digit is 0 (also for an array without elements).
bool IsZeroDigits(const HugeNumber& digits);

// In place: place 0 always present, zero places trimmed from the top down to place 0 and from
// the bottom up to place 0 (a lower bound above 0 stays); zero becomes the empty zero form.
void TrimZeroPlaces(HugeNumber& digits);

// In place: the unique normal form of the value (trimmed, holding place 0, every digit in
// -9..9 with the sign of the value). Raises Overflow where a 16-bit digit would overflow.
void UnifyDigitSigns(HugeNumber& digits);

// The lowest place at or below 0 holding a non-zero digit, scanning up from the lower bound;
// 0 when there is none (or the lower bound is above 0).
std::int32_t FindLowestNonZeroPlace(const HugeNumber& digits);

// Same bounds and the same digit at every place.
bool IsSameDigits(const HugeNumber& a, const HugeNumber& b);

// The normal form of a copy.
HugeNumber Normalized(HugeNumber digits);

}  // namespace numeron
