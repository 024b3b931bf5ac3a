// The quotients of a series whose terms follow one from the last by short factors, decided from
// bounds carried from pass to pass instead of a long division each pass.
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "control/engine/limbs.h"
#include "control/engine/wide.h"
#include "control/number/huge_number.h"

namespace numeron {

// Bounds lo <= |q| * 10^(P + 1 + kGuard) <= lo + width of the series' last quotient q (a
// power's value over a whole divisor; width 0 while that is a whole number known exactly, as
// for terms whose division ends within those places). Each pass scales them by its short factors;
// when both bounds truncate at the guard place to the same non-zero whole number, that number is
// the quotient InternalDivide truncates there, and no division is needed. Otherwise the term is
// worked exactly and the bounds start again from it.
//
// Example, e^2 at Precision 2 (bounds times 10^19): the quotient 2^2 / 2! divides exactly,
// lo = 2 * 10^19 and width 0; the next multiplies by 2 and divides by 3: lo =
// 13333333333333333333, width 2 (the floor of the lower end, the ceiling of the upper, one
// spare); lo and lo + 2 both truncate to 1333 at the guard place (1.333), which rounds to 1.33,
// as 8/6 does.
class QuotientBounds {
 public:
  static constexpr int kGuard = engine::kLimbDigits;

  explicit QuotientBounds(std::int32_t precision);

  // InternalDivideScaled(value, exponent, divisor, precision) for a quotient of that sign, the
  // value and its exponent given by dividend() as a pair: from the bounds when they decide it,
  // else exactly, the bounds then made from the exact quotient.
  template <typename Dividend>
  HugeNumber Term(bool negative, Dividend dividend, const mpz_class& divisor) {
    if (std::optional<HugeNumber> decided = Decided(negative)) return std::move(*decided);
    const auto [value, exponent] = dividend();
    return Exact(value, exponent, divisor);
  }
  // An amount the next quotient loses, in units of the bounds, known to lie within low..high.
  struct Loss {
    double low = 0, high = 0;
  };
  // What a cut of the power loses from the quotient when a whole 10^-P of it would lose `units`
  // (an estimate good to a hundred-thousandth): the cut's fraction of 10^-P when known, else
  // anything up to all of it.
  static Loss CutLoss(std::optional<double> fraction, double units);
  // The next quotient is this one times factor / divisor, less `lost`. Factors beyond 10^16
  // make the next quotient unknown.
  void Scale(engine::Wide factor, engine::Wide divisor, Loss lost);
  // The next quotient is not known from this one.
  void Forget() { known_ = false; }

  // |x|^power as numerator / denominator when both fit the short factors, for Scale.
  struct Fraction {
    engine::Wide numerator, denominator;
  };
  static std::optional<Fraction> ShortPower(const HugeNumber& normal_x, int power);

 private:
  std::optional<HugeNumber> Decided(bool negative) const;
  HugeNumber Exact(const mpz_class& value, std::int64_t exponent, const mpz_class& divisor);

  std::int64_t places_;
  bool known_ = false;
  engine::Limbs low_;
  double width_ = 0;
};

// The quotient of a running power (value() * 10^exponent()) by `divisor`, negated when asked
// (as NegateDigits would leave it), from the bounds when they decide it.
template <typename Power>
HugeNumber PowerQuotient(QuotientBounds& quotients, const Power& power, bool negated,
                         const mpz_class& divisor) {
  return quotients.Term((power.value() < 0) != negated,
                        [&] {
                          return std::pair(negated ? mpz_class(-power.value()) : power.value(),
                                           power.exponent());
                        },
                        divisor);
}

}  // namespace numeron
