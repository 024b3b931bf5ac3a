// e, e^x and x^y.
#include <cmath>
#include <limits>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/engine/limbs.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"
#include "control/series/frame.h"
#include "control/series/quotient_bounds.h"
#include "control/series/series.h"
#include "control/series/settle.h"

namespace numeron {
namespace {

// The whole value of a normal-form number, if it has no fraction digits; Overflow when that
// whole value does not fit 32 bits.
std::optional<std::int32_t> WholeExponent(const HugeNumber& normal) {
  for (std::int64_t place = normal.low(); place < 0; ++place) {
    if (normal.at(place) != 0) return std::nullopt;
  }
  std::int64_t value = 0;
  for (std::int64_t place = normal.high(); place >= 0; --place) {
    value = value * 10 + normal.at(place);
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
      Raise(platform::kOverflow);
    }
  }
  return static_cast<std::int32_t>(value);
}

// b^k, b in normal form, as the loop leaves it: |k| - 1 exact products with the base (not by
// squaring), then for a negative k the reciprocal by Divide; the result by result rule B.
Variant WholePower(const HugeNumber& base, std::int32_t k, std::int32_t precision,
                   std::int32_t return_type) {
  if (k == 0) return ResultRuleB(Small(1), return_type);
  const std::uint64_t count =
      k < 0 ? 0 - static_cast<std::uint64_t>(k) : static_cast<std::uint64_t>(k);
  if (IsZeroDigits(base)) {
    if (k < 0) Raise(kDivideByZero);
    return ResultRuleB(count == 1 ? base : HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer),
                       return_type);
  }
  // A reciprocal, a text and a double beyond the clamp depend only on the power's value.
  const mpz_class magnitude = MagnitudeOf(base);
  // The power reaches from place low * count up to about count * log10|base|, and from place 0.
  long exponent2 = 0;
  const double mantissa = mpz_get_d_2exp(&exponent2, magnitude.get_mpz_t());
  const double log10_base = std::log10(mantissa) + exponent2 * std::log10(2.0) + base.low();
  const double top = static_cast<double>(count) * log10_base;
  const double bottom = static_cast<double>(count) * base.low();
  if (std::max(top, 0.0) - std::min(bottom, 0.0) > kMaxPlaces) Raise(platform::kOverflow);
  mpz_class power;
  mpz_pow_ui(power.get_mpz_t(), magnitude.get_mpz_t(), count);
  const HugeNumber value =
      NormalFromScaled(power, IsNegative(base) && count % 2 == 1,
                       std::int64_t{base.low()} * static_cast<std::int64_t>(count));
  if (k < 0) {
    const Variant reciprocal =
        Divide(Variant(std::int16_t{1}), ToVariant(value), precision, Huge_Number);
    return ResultRuleB(ToHugeNumber(reciprocal), return_type);
  }
  if (return_type == String_Value) return Variant(HugeNumberToText(value));
  if (return_type != Huge_Number && return_type != double_value) return Variant();
  if (return_type == double_value && ClampSide(value) != 0)
    return Variant(HugeNumberToDouble(value));
  HugeNumber product = base;
  for (std::uint64_t i = 2; i <= count; ++i) {
    ReportProgress(i - 2, count - 1);
    product = ProductOf(product, base);
  }
  return ResultRuleB(std::move(product), return_type);
}

}  // namespace

Variant Calculate_e(std::int32_t series_length, std::int32_t precision, std::int32_t return_type) {
  CheckSeriesLength(series_length);
  const double last_factorial = Log10Factorial(series_length + 1.0);
  CheckReach(last_factorial);
  const HugeNumber one = Small(1);
  HugeNumber sum = Small(1);
  WholeFactor factorial(1);
  // The quotient 1 / pass! truncated at the guard place is floor(10^(P + 1) / pass!) while that
  // is not 0 (the quotient's top place is then at or above the guard place), and floor(floor(a
  // / b) / c) = floor(a / (b c)) makes it from the last one by one short division. Example, at
  // Precision 2: 1000, 500, 166, 41, 8 for passes 1 to 5 (1, .5, .17, .04, .01 once rounded).
  const std::int64_t places = AbsolutePlaces(precision);
  std::optional<engine::Limbs> reciprocal;
  if (places + 2 <= kMaxPlaces) reciprocal = engine::ShiftedUp({1}, places + 1);
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    ReportProgress(pass - 1, series_length);
    const HugeNumber term = reciprocal && !reciprocal->empty()
                                ? RoundedQuotient({false, *reciprocal, -places - 1}, places)
                                : InternalDivideByWhole(one, factorial.value(), precision);
    sum = AddDigits(sum, term);
    // 1/k! only shrinks, so once a term rounds to zero every later one does (see settle.h).
    if (IsZeroDigits(term) && HoldsZeroTerms(sum, precision, false)) {
      if (auto rest = SkipPasses(FactorReach(last_factorial), sum, series_length - pass, AddZero)) {
        return ResultRuleB(std::move(*rest), return_type);
      }
    }
    factorial.MultiplyBy(static_cast<unsigned long>(pass) + 1);
    if (reciprocal) engine::DivideInPlace(*reciprocal, static_cast<std::uint64_t>(pass) + 1);
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant eToExponent(const Variant& exponent, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type) {
  const HugeNumber x = ToNormalHugeNumber(exponent);
  CheckSeriesLength(series_length);
  const double last_factorial = Log10Factorial(series_length + 1.0);
  CheckReach(last_factorial);
  const double x_log = Log10Above(x);
  HugeNumber sum = Small(1), power = x;
  WholeFactor factorial(1);
  // The power is exact, so each quotient is the last one times |x| / (pass + 1).
  QuotientBounds quotients(precision);
  const std::optional<QuotientBounds::Fraction> step = QuotientBounds::ShortPower(x, 1);
  const auto dividend = [&] {
    const HugeNumber normal = Normalized(power);
    return std::pair(IsNegative(normal) ? mpz_class(-MagnitudeOf(normal)) : MagnitudeOf(normal),
                     std::int64_t{normal.low()});
  };
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    ReportProgress(pass - 1, series_length);
    const HugeNumber term =
        quotients.Term(IsNegative(x) && pass % 2 == 1, dividend, factorial.value());
    sum = AddDigits(sum, term);
    // The next term is this one times x / (pass + 1), the power being exact: from a term that
    // rounds to zero with |x| <= pass + 1 on, every term does. The powers still to be made are
    // x^(pass + 1) .. x^(SeriesLength + 1), each of x and the last one.
    if (IsZeroDigits(term) && x_log <= std::log10(pass + 1.0) &&
        HoldsZeroTerms(sum, precision, IsZeroDigits(x))) {
      const std::int64_t products = std::int64_t{series_length} - pass + 1;
      const auto top = static_cast<std::int64_t>(
          std::max(0.0, std::floor((series_length + 1.0) * x_log)) + power.high());
      const Reach reach =
          Worse(FactorReach(last_factorial), ProductsReach(power.low(), top, x, products));
      if (auto rest = SkipPasses(reach, sum, series_length - pass, AddZero)) {
        return ResultRuleB(std::move(*rest), return_type);
      }
    }
    factorial.MultiplyBy(static_cast<unsigned long>(pass) + 1);
    power = MultiplyDigits(x, power);
    if (step) {
      quotients.Scale(step->numerator, step->denominator * (static_cast<unsigned>(pass) + 1), {});
    } else {
      quotients.Forget();
    }
  }
  return ResultRuleB(std::move(sum), return_type);
}

Variant Exponential(const Variant& x, const Variant& y, std::int32_t series_length,
                    std::int32_t precision, std::int32_t return_type) {
  // The exponent is read first: a whole value of any kind takes the exact path.
  const HugeNumber exponent = ToNormalHugeNumber(y);
  if (const std::optional<std::int32_t> k = WholeExponent(exponent)) {
    return WholePower(ToNormalHugeNumber(x), *k, precision, return_type);
  }
  const HugeNumber m = ProductOf(exponent, LogOf(ToNormalHugeNumber(x), series_length, precision));
  const double last_factorial = Log10Factorial(series_length + 1.0);
  CheckReach(last_factorial);
  const double m_log = Log10Above(Normalized(m));
  const auto cut = [precision](const HugeNumber& digits) { return Truncate(digits, precision); };
  HugeNumber sum = Small(1), power = m;
  WholeFactor factorial(1);
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    ReportProgress(pass - 1, series_length);
    const HugeNumber term = InternalDivideByWhole(power, factorial.value(), precision);
    sum = cut(AddDigits(sum, term));
    // The next power is this one times m, cut toward zero, so the next term is at most this one
    // times |m| / (pass + 1): from a term that rounds to zero with |m| <= pass + 1 on, every
    // term does. One product a pass, the power cut to place -P between them.
    if (IsZeroDigits(term) && m_log <= std::log10(pass + 1.0) &&
        HoldsZeroTerms(sum, precision, IsZeroDigits(power))) {
      const auto top = static_cast<std::int64_t>(
          std::max(0.0, std::floor((series_length + 1.0) * m_log)) + power.high());
      const std::int64_t low = std::min<std::int64_t>(power.low(), -std::int64_t{precision});
      const Reach reach = Worse(FactorReach(last_factorial), ProductsReach(low, top, m, 1));
      const auto add_zero_and_cut = [&](const HugeNumber& s) { return cut(AddZero(s)); };
      if (auto rest = SkipPasses(reach, sum, series_length - pass, add_zero_and_cut)) {
        return ResultRuleB(std::move(*rest), return_type);
      }
    }
    factorial.MultiplyBy(static_cast<unsigned long>(pass) + 1);
    power = cut(MultiplyDigits(power, m));
  }
  return ResultRuleB(std::move(sum), return_type);
}

}  // namespace numeron
