#include "control/series/quotient_bounds.h"

#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/engine/wide.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"

namespace numeron {
namespace {

// Widths from this on no longer decide a guard limb often enough to keep.
constexpr double kWidestUseful = 1e15;

void MultiplyInPlace(engine::Limbs& n, std::uint64_t factor) {
  std::uint64_t carry = 0;  // below factor
  for (std::size_t i = 0; i < n.size(); ++i) {
    if (i % kPlacesPerCheck == 0) CheckPoint();
    std::uint64_t& limb = n[i];
    const engine::Wide product = engine::Wide{limb} * factor + carry;
    carry = engine::DivideWide(static_cast<std::uint64_t>(product >> 64),
                               static_cast<std::uint64_t>(product), engine::kBase, &limb);
  }
  if (carry != 0) n.push_back(carry);
}

}  // namespace

QuotientBounds::QuotientBounds(std::int32_t precision) : places_(AbsolutePlaces(precision)) {}

std::optional<HugeNumber> QuotientBounds::Decided(bool negative) const {
  // Both bounds truncate to the same whole number 1 or more at the guard place (the lowest limb
  // is below it). A truncated quotient of 1 or more puts its top place at or above the guard
  // place, so its lowest is the guard place: that number is the quotient exactly.
  if (!known_ || low_.size() < 2 || low_[0] + static_cast<std::uint64_t>(width_) >= engine::kBase) {
    return std::nullopt;
  }
  return RoundedQuotient({negative, engine::Limbs(low_.begin() + 1, low_.end()), -places_ - 1},
                         places_);
}

HugeNumber QuotientBounds::Exact(const mpz_class& value, std::int64_t exponent,
                                 const mpz_class& divisor) {
  known_ = false;
  const std::int64_t shift = exponent + places_ + 1 + kGuard;
  if (value == 0 || places_ + 1 + kGuard >= kMaxPlaces || shift > kMaxPlaces ||
      shift < -kMaxPlaces) {
    return InternalDivideScaled(value, exponent, divisor, static_cast<std::int32_t>(places_));
  }
  // One division to the bounds' place gives the bounds, and the term too whenever its
  // truncated quotient (the bounds truncated at the guard place) is 1 or more.
  mpz_class scaled = abs(value), rest;
  mpz_class scaled_divisor = divisor;
  if (shift >= 0) {
    scaled *= PowerOfTen(shift);
  } else {
    scaled_divisor *= PowerOfTen(-shift);
  }
  mpz_tdiv_qr(scaled.get_mpz_t(), rest.get_mpz_t(), scaled.get_mpz_t(), scaled_divisor.get_mpz_t());
  low_ = engine::LimbsOfDigits(scaled.get_str());
  width_ = rest == 0 ? 0 : 1;
  known_ = true;
  if (std::optional<HugeNumber> term = Decided(value < 0)) return std::move(*term);
  return InternalDivideScaled(value, exponent, divisor, static_cast<std::int32_t>(places_));
}

std::optional<QuotientBounds::Fraction> QuotientBounds::ShortPower(const HugeNumber& normal_x,
                                                                   int power) {
  if (IsZeroDigits(normal_x)) return std::nullopt;
  const mpz_class magnitude = MagnitudeOf(normal_x);
  const std::int64_t scale = std::int64_t{normal_x.low()} * power;
  if (mpz_sizeinbase(magnitude.get_mpz_t(), 10) * power > 16 || scale > 16 || scale < -16) {
    return std::nullopt;
  }
  engine::Wide numerator = 1;
  for (int i = 0; i < power; ++i) numerator *= magnitude.get_ui();
  engine::Wide denominator = 1;
  for (std::int64_t i = 0; i < (scale < 0 ? -scale : scale); ++i) {
    (scale < 0 ? denominator : numerator) *= 10;
  }
  return Fraction{numerator, denominator};
}

QuotientBounds::Loss QuotientBounds::CutLoss(std::optional<double> fraction, double units) {
  // Room either side for the estimate of the units (products of many doubles, each rounded)
  // and one place for the rounding of the fraction.
  constexpr double kError = 1e-5;
  if (!fraction) return {0, units * (1 + kError) + 1};
  if (*fraction == 0) return {0, 0};
  return {std::max(0.0, *fraction * units * (1 - kError) - 1),
          *fraction * units * (1 + kError) + 1};
}

void QuotientBounds::Scale(engine::Wide factor, engine::Wide divisor, Loss lost) {
  if (!known_) return;
  if (factor >= engine::kBase || divisor >= engine::kBase || divisor == 0 ||
      lost.high > kWidestUseful) {
    known_ = false;
    return;
  }
  // The new quotient lies within lo * f / d - high and (lo + width) * f / d - low: the lower
  // end rounded down, the upper up.
  MultiplyInPlace(low_, static_cast<std::uint64_t>(factor));
  const std::uint64_t rest = engine::DivideInPlace(low_, static_cast<std::uint64_t>(divisor));
  const auto most_lost = static_cast<std::uint64_t>(std::ceil(lost.high));
  if (low_.size() <= 1 && (low_.empty() || low_[0] <= most_lost)) {
    low_.clear();
  } else {
    // most_lost is below 10^15, one limb: a borrow runs up at most to the first non-zero limb.
    std::uint64_t borrow = most_lost;
    for (std::size_t i = 0; borrow != 0; ++i) {
      const bool wraps = low_[i] < borrow;
      low_[i] = wraps ? low_[i] + engine::kBase - borrow : low_[i] - borrow;
      borrow = wraps ? 1 : 0;
    }
    while (low_.back() == 0) low_.pop_back();
  }
  // An exact quotient (width 0) stays exact while the steps divide evenly and lose nothing.
  if (width_ == 0 && rest == 0 && lost.high == 0) return;
  width_ = std::ceil(width_ * (static_cast<double>(factor) / static_cast<double>(divisor)) *
                     (1 + 1e-12)) +
           2 + static_cast<double>(most_lost) - std::floor(lost.low);
  if (width_ > kWidestUseful) known_ = false;
}

}  // namespace numeron
