// When the value alone decides the cut.
//
// Let every digit of a share one sign, and every digit of b; let a's non-zero digits lie at
// places la..ha and b's lowest non-zero digit at lb. Then MultiplyDigits(a, b) holds the normal
// digits of its value at every place up to ha + lb: there the carries of the last rows have
// all arrived (control/arithmetic/product_from_value.cpp derives the total's digits; below
// offset ha - la + 1 from la + lb the unsettled carries and the last row's carry are both 0).
// A cut at place -P of such a product drops only such places when -P - 1 <= ha + lb, and then
// leaves the value truncated toward zero at -P (the digits share the sign of the value).
//
// A step makes a1 = MultiplyDigits(power, x), then cuts MultiplyDigits(a1, x). Both products
// keep one sign when power and x do, so the cut is a truncation of the value whenever ha1 + lx
// >= -P, lx being x's lowest non-zero place. Digits fit 16 bits, so |a1| < 32768 * 10^(ha1 + 1)
// / 9 < 10^(ha1 + 5): log10 |a1| >= -P - lx + 5 suffices. With v(j) the power's magnitude before
// step j, a cut takes less than 10^-P off, so v(j) >= v(0) q^j - j 10^-P with q = min(1, x^2);
// the last step is the smallest, and a margin of a place covers the subtraction and the
// rounding of the logarithms.
//
// Worked example: Sine(0.5) at Precision 10,000 with SeriesLength 2,000 starts from 0.125 and
// makes at most 4,000 steps; log10(0.125 * 0.25^3999 * 0.5) is about -2,409.3, far above
// -10,000 + 1 + 5, so each step multiplies the value by 25 and drops its last two places.
#include "control/series/running_power.h"

#include <algorithm>
#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/digit_arithmetic.h"
#include "control/series/frame.h"

namespace numeron {
namespace {

bool OneSigned(const HugeNumber& digits) {
  const auto& d = digits.digits();
  return std::all_of(d.begin(), d.end(), [](std::int16_t v) { return v >= 0; }) ||
         std::all_of(d.begin(), d.end(), [](std::int16_t v) { return v <= 0; });
}

// log10 |value| for a non-zero value, to far better than a hundredth of a place.
double Log10(const mpz_class& value, std::int64_t exponent) {
  long binary_exponent = 0;
  const double mantissa = mpz_get_d_2exp(&binary_exponent, value.get_mpz_t());
  return std::log10(std::fabs(mantissa)) + static_cast<double>(binary_exponent) * std::log10(2.0) +
         static_cast<double>(exponent);
}

// The signed value of an array and the place of its lowest digit.
void ValueOf(const HugeNumber& digits, mpz_class& value, std::int64_t& exponent) {
  const HugeNumber normal = Normalized(digits);
  value = MagnitudeOf(normal);
  if (IsNegative(normal)) value = -value;
  exponent = normal.low();
}

}  // namespace

RunningPower::RunningPower(HugeNumber power, const HugeNumber& x, std::int32_t precision,
                           std::int64_t steps, Path path)
    : x_(x), places_(AbsolutePlaces(precision)) {
  lowest_reach_ = std::min<std::int64_t>(power.low(), -places_);
  ValueOf(x, x_value_, x_exponent_);
  ValueOf(power, value_, exponent_);
  digits_ = std::move(power);
  if (path == Path::kDigits || value_ == 0 || x_value_ == 0 || !OneSigned(*digits_) || steps < 1) {
    return;
  }
  std::int64_t lx = x.low();
  while (x.at(lx) == 0) ++lx;
  const double x_log = Log10(x_value_, x_exponent_);
  const double power_log = Log10(value_, exponent_);
  const auto last = static_cast<double>(steps - 1);
  const double smallest = power_log + last * std::min(0.0, 2 * x_log) + x_log;
  const double places = static_cast<double>(places_);
  // The arrays the digits would reach stay far inside the place limit.
  const double largest = power_log + static_cast<double>(steps) * std::max(0.0, 2 * x_log) + 1;
  const double reach = std::max(largest, 0.0) + places - static_cast<double>(lowest_reach_) +
                       2.0 * static_cast<double>(x.size()) + 16;
  if (smallest - 1 >= -places - static_cast<double>(lx) + 5 &&
      std::log10(last + 1) - places + x_log <= smallest - 1 &&
      reach <= static_cast<double>(kMaxPlaces)) {
    digits_.reset();
  }
}

void RunningPower::Step() {
  lowest_reach_ = -places_;
  if (digits_) {
    digits_ = CutBelow(MultiplyDigits(MultiplyDigits(*digits_, x_), x_),
                       static_cast<std::int32_t>(places_));
    ValueOf(*digits_, value_, exponent_);
    return;
  }
  value_ *= x_value_;
  value_ *= x_value_;
  exponent_ += 2 * x_exponent_;
  cut_fraction_ = 0.0;
  if (exponent_ < -places_) {
    const std::int64_t dropped = -places_ - exponent_;
    mpz_class rest;
    mpz_tdiv_qr(value_.get_mpz_t(), rest.get_mpz_t(), value_.get_mpz_t(),
                PowerOfTen(dropped).get_mpz_t());
    exponent_ = -places_;
    // Below 2^53 the dropped digits and the power of ten are exact doubles.
    cut_fraction_.reset();
    if (dropped <= 15) cut_fraction_ = std::fabs(rest.get_d()) / std::pow(10.0, dropped);
  }
}

std::int64_t RunningPower::HighBound() const {
  if (digits_) return digits_->high();
  if (value_ == 0) return 0;
  // The size in base 10 is exact or one too many; a digit at a higher place would make the
  // one-signed array's value larger.
  const auto size = static_cast<std::int64_t>(mpz_sizeinbase(value_.get_mpz_t(), 10));
  return std::max<std::int64_t>(0, exponent_ + size - 1);
}

}  // namespace numeron
