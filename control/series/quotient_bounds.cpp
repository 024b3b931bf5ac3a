#include "control/series/quotient_bounds.h"

#include <cmath>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/engine/wide.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"

namespace numeron {
namespace {

// Widths from this on no longer decide a guard limb often enough to keep.
constexpr double kWidestUseful = 1e15;

void MultiplyInPlace(engine::Limbs& n, std::uint64_t factor) {
  std::uint64_t carry = 0;  // below factor
  for (std::uint64_t& limb : n) {
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
  if (!known_ || low_.size() < 2 || static_cast<double>(low_[0]) + width_ >= 1e16) {
    return std::nullopt;
  }
  return RoundedQuotient({negative, engine::Limbs(low_.begin() + 1, low_.end()), -places_ - 1},
                         places_);
}

HugeNumber QuotientBounds::Exact(const mpz_class& value, std::int64_t exponent,
                                 const mpz_class& divisor) {
  HugeNumber term =
      InternalDivideScaled(value, exponent, divisor, static_cast<std::int32_t>(places_));
  known_ = false;
  const std::int64_t shift = exponent + places_ + 1 + kGuard;
  if (value == 0 || places_ + 1 + kGuard >= kMaxPlaces || shift > kMaxPlaces ||
      shift < -kMaxPlaces) {
    return term;
  }
  mpz_class scaled = abs(value);
  if (shift >= 0) {
    scaled *= PowerOfTen(shift);
    mpz_tdiv_q(scaled.get_mpz_t(), scaled.get_mpz_t(), divisor.get_mpz_t());
  } else {
    mpz_tdiv_q(scaled.get_mpz_t(), scaled.get_mpz_t(),
               mpz_class(divisor * PowerOfTen(-shift)).get_mpz_t());
  }
  low_ = engine::LimbsOfDigits(scaled.get_str());
  width_ = 1;
  known_ = true;
  return term;
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

void QuotientBounds::Scale(engine::Wide factor, engine::Wide divisor, double lost) {
  if (!known_) return;
  if (factor >= engine::kBase || divisor >= engine::kBase || divisor == 0 || lost > kWidestUseful) {
    known_ = false;
    return;
  }
  // floor(floor(lo * f / d) - lost) bounds the new quotient from below; the old upper bound
  // scaled, rounded up, from above: the width grows by the two roundings and what is lost.
  MultiplyInPlace(low_, static_cast<std::uint64_t>(factor));
  engine::DivideInPlace(low_, static_cast<std::uint64_t>(divisor));
  const auto whole_lost = static_cast<std::uint64_t>(std::ceil(lost));
  if (whole_lost > 0) {
    if (low_.size() <= 1 && (low_.empty() || low_[0] <= whole_lost)) {
      low_.clear();
    } else {
      engine::Limbs lost_limbs{whole_lost % engine::kBase};
      if (whole_lost >= engine::kBase) lost_limbs.push_back(whole_lost / engine::kBase);
      low_ = engine::CompareLimbs(low_, lost_limbs) > 0 ? engine::Difference(low_, lost_limbs)
                                                        : engine::Limbs{};
    }
  }
  width_ = std::ceil(width_ * (static_cast<double>(factor) / static_cast<double>(divisor)) *
                     (1 + 1e-12)) +
           2 + static_cast<double>(whole_lost);
  if (width_ > kWidestUseful) known_ = false;
}

}  // namespace numeron
