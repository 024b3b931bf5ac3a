// Division, rounding and the remainder.
//
// Long division by trial subtraction finds, digit by digit, floor(A * 10^(n-1) / B) for the
// dividend and divisor scaled to whole numbers with the same top place, and lays those n digits
// from place d = (top place of x) - (top place of y) down to the guard place. That is the
// magnitude of x / y truncated at the guard place, so one big-integer division gives the same
// digits; the quotient then goes through the same rounding.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/engine/limbs.h"
#include "control/number/call_context.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/errors.h"

namespace numeron {
namespace {

std::int64_t TopPlace(const HugeNumber& normal) {
  std::int64_t place = normal.high();
  while (place > normal.low() && normal.at(place) == 0) --place;
  return place;
}

// floor(|a| / |b| / 10^low) for |a| = a_magnitude * 10^a_low and |b| = b_magnitude * 10^b_low > 0.
mpz_class ScaledQuotient(const mpz_class& a_magnitude, std::int64_t a_low,
                         const mpz_class& b_magnitude, std::int64_t b_low, std::int64_t low) {
  const std::int64_t exponent = a_low - b_low - low;
  mpz_class quotient;
  if (exponent >= 0) {
    quotient = a_magnitude * PowerOfTen(exponent);
    mpz_tdiv_q(quotient.get_mpz_t(), quotient.get_mpz_t(), b_magnitude.get_mpz_t());
  } else {
    const mpz_class divisor = b_magnitude * PowerOfTen(-exponent);
    mpz_tdiv_q(quotient.get_mpz_t(), a_magnitude.get_mpz_t(), divisor.get_mpz_t());
  }
  return quotient;
}

// The same on the engine's form, where a divisor scaled up by 10^k instead drops the dividend's
// lowest k digits: floor(a / (b * 10^k)) = floor(floor(a / 10^k) / b).
engine::Limbs ScaledQuotient(const engine::Limbs& a_magnitude, std::int64_t a_low,
                             const engine::Limbs& b_magnitude, std::int64_t b_low,
                             std::int64_t low) {
  const std::int64_t exponent = a_low - b_low - low;
  // As PowerOfTen refuses it.
  if (exponent > 4 * kMaxPlaces || -exponent > 4 * kMaxPlaces) Raise(platform::kOverflow);
  return exponent >= 0 ? engine::Quotient(engine::ShiftedUp(a_magnitude, exponent), b_magnitude)
                       : engine::Quotient(engine::ShiftedDown(a_magnitude, -exponent), b_magnitude);
}

// The place of the highest digit of a whole number > 0 written in decimal.
std::int64_t TopDigit(const mpz_class& magnitude) {
  std::int64_t top = static_cast<std::int64_t>(mpz_sizeinbase(magnitude.get_mpz_t(), 10)) - 1;
  if (top > 0 && magnitude < PowerOfTen(top)) --top;  // the size in base 10 may be one too many
  return top;
}

// The quotient digits the trial subtraction finds for a dividend whose top place is
// `dividend_top` and a divisor whose top place is `divisor_top`, truncated at the guard place:
// `scaled_quotient(digits, low)` gives floor(|a| / |b| / 10^low) as limbs.
template <typename ScaledQuotientOf>
engine::Decimal TruncatedQuotient(std::int64_t dividend_top, std::int64_t divisor_top,
                                  bool negative, std::int64_t places,
                                  ScaledQuotientOf scaled_quotient) {
  const std::int64_t d = dividend_top - divisor_top;
  const std::int64_t digits = std::max<std::int64_t>(1, d + places + 2);
  if (digits > kMaxPlaces) Raise(platform::kOverflow);
  const std::int64_t low = d - digits + 1;
  return {negative, scaled_quotient(digits, low), low};
}

// The text of RoundedQuotient(quotient, places), from the value alone (rounding half away from zero
// at the guard digit) wherever no place limit can be reached on the way; otherwise through the
// array, which raises what it raises.
std::string RoundedText(const engine::Decimal& quotient, std::int64_t places) {
  const std::int64_t guard = -places - 1;
  const std::int64_t top = quotient.exponent + engine::DigitCount(quotient.coefficient) - 1;
  const std::int64_t span =
      std::max<std::int64_t>(top, 0) + 2 + std::max(-guard, -quotient.exponent) + 1;
  if (span >= kMaxPlaces) return HugeNumberToText(RoundedQuotient(quotient, places));
  if (quotient.exponent > guard) return engine::TextOf(quotient);
  engine::Limbs kept = engine::ShiftedDown(quotient.coefficient, guard - quotient.exponent);
  if (engine::DivideInPlace(kept, 10) >= 5) engine::Increment(kept);
  return engine::TextOf({quotient.negative, std::move(kept), -places});
}

// a / b truncated at the guard place for normal-form a and b. A divisor whose digits were not
// all 0 but whose value is 0 (only the series' own division lets one through) passes every
// trial subtraction, so each quotient digit is 9.
engine::Decimal QuotientOfNormal(const HugeNumber& a, const HugeNumber& b, std::int64_t places) {
  return TruncatedQuotient(TopPlace(a), TopPlace(b), IsNegative(a) != IsNegative(b), places,
                           [&](std::int64_t digits, std::int64_t low) {
                             if (IsZeroDigits(b))
                               return engine::LimbsOfDigits(std::string(digits, '9'));
                             return ScaledQuotient(engine::DecimalOfDigits(a).coefficient, a.low(),
                                                   engine::DecimalOfDigits(b).coefficient, b.low(),
                                                   low);
                           });
}

// |a| mod |b| / 10^min(a.bottom, b.bottom), a whole number, with the power of ten that scales
// one operand to the other's lowest place taken modulo the divisor where it scales the dividend:
// the work follows the significant digits, not the places between them.
mpz_class ScaledRemainder(const SignificantDigits& a, const SignificantDigits& b) {
  const mpz_class a_value(a.digits, 10);
  const mpz_class b_value(b.digits, 10);
  if (a.bottom >= b.bottom) {
    mpz_class power;
    mpz_powm_ui(power.get_mpz_t(), mpz_class(10).get_mpz_t(),
                static_cast<unsigned long>(a.bottom - b.bottom), b_value.get_mpz_t());
    return a_value % b_value * power % b_value;
  }
  // A dividend with fewer digits than the scaled divisor is below it, and its own remainder.
  const std::int64_t shift = b.bottom - a.bottom;
  if (static_cast<std::int64_t>(a.digits.size()) <
      static_cast<std::int64_t>(b.digits.size()) + shift) {
    return a_value;
  }
  return a_value % (b_value * PowerOfTen(shift));
}

// The text of Modulus for operands that are not arrays, from the value alone, where no place
// limit can be reached on the way through the quotient, its rows and the sum: the value is
// x - y * trunc(x / y), |x| mod |y| with the sign of x. Nothing where the arrays must decide.
std::optional<std::string> RemainderText(const Variant& x, const Variant& y) {
  const std::optional<SignificantDigits> a = ReadSignificantDigits(x);
  const std::optional<SignificantDigits> b = ReadSignificantDigits(y);
  if (!b) Raise(kDivideByZero);
  if (!a) return std::nullopt;
  const auto top = [](const SignificantDigits& n) {
    return n.bottom + static_cast<std::int64_t>(n.digits.size()) - 1;
  };
  if (top(*a) - top(*b) >= kMaxPlaces) Raise(platform::kOverflow);
  // The quotient holds places 0 up to at most one above top(a) - top(b); its rows with y reach
  // one place below y's and two above the two together; the sum with x one further.
  const std::int64_t quotient_high = std::max<std::int64_t>(top(*a) - top(*b), 0) + 1;
  const std::int64_t lo = std::min({a->bottom, b->bottom - 1, std::int64_t{-1}}) - 1;
  const std::int64_t hi =
      std::max({top(*a), quotient_high + std::max<std::int64_t>(top(*b), 0) + 2, std::int64_t{0}}) +
      1;
  if (hi - lo + 1 >= kMaxPlaces || lo < std::numeric_limits<std::int32_t>::min() ||
      hi > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  const std::string remainder = ScaledRemainder(*a, *b).get_str();
  return engine::TextOf(
      {a->negative, engine::LimbsOfDigits(remainder), std::min(a->bottom, b->bottom)});
}

}  // namespace

// The four digits of every number below 10,000, lowest first, as four 16-bit digits.
const std::array<std::array<std::int16_t, 4>, 10'000>& FourDigits() {
  static const auto table = [] {
    std::array<std::array<std::int16_t, 4>, 10'000> digits{};
    for (int n = 0; n < 10'000; ++n) {
      for (int k = 0, v = n; k < 4; ++k, v /= 10) digits[n][k] = static_cast<std::int16_t>(v % 10);
    }
    return digits;
  }();
  return table;
}

HugeNumber RoundedQuotient(const engine::Decimal& quotient, std::int64_t places) {
  const engine::Limbs& q = quotient.coefficient;
  if (quotient.exponent != -places - 1 || q.empty() || q[0] % 10 == 0) {
    return RoundDigits(engine::NormalOf(quotient), places);
  }
  // The usual case, a quotient whose lowest digit is a non-zero guard digit: its normal form
  // reaches down to the guard place, so the rounding keeps places -places up to the top (or 0)
  // and moves the digit at -places one away from zero when the guard is 5 or more. Written
  // straight from the limbs, four digits at a time.
  const std::int64_t top = quotient.exponent + engine::DigitCount(q) - 1;
  CheckPlaces(-places, std::max<std::int64_t>(top, 0));
  const auto& four = FourDigits();
  const auto count = static_cast<std::size_t>(std::max<std::int64_t>(top, 0) + places + 1);
  std::vector<std::int16_t> digits(std::max(q.size() * engine::kLimbDigits, count + 1));
  for (std::size_t i = 0; i < q.size(); ++i) {
    if (i % kPlacesPerCheck == 0) CheckPoint();
    const std::uint64_t high = q[i] / 100'000'000, low = q[i] % 100'000'000;
    std::int16_t* out = digits.data() + i * engine::kLimbDigits;
    std::memcpy(out, four[low % 10'000].data(), 8);
    std::memcpy(out + 4, four[low / 10'000].data(), 8);
    std::memcpy(out + 8, four[high % 10'000].data(), 8);
    std::memcpy(out + 12, four[high / 10'000].data(), 8);
  }
  const std::int16_t guard = digits[0];  // the places from the top limb's top to 0 stay 0
  digits.erase(digits.begin());
  digits.resize(count);
  if (quotient.negative) {
    for (std::int16_t& d : digits) d = static_cast<std::int16_t>(-d);
  }
  if (guard >= 5) digits[0] = static_cast<std::int16_t>(digits[0] + (quotient.negative ? -1 : 1));
  return HugeNumber(static_cast<std::int32_t>(-places), std::move(digits));
}

std::int32_t AbsolutePlaces(std::int32_t precision) {
  if (precision == std::numeric_limits<std::int32_t>::min()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return precision < 0 ? -precision : precision;
}

HugeNumber RoundDigits(const HugeNumber& normal, std::int64_t places) {
  if (normal.low() > -places) return normal;
  const std::int16_t first_dropped = normal.DigitOrZero(-places - 1);
  HugeNumber kept = RedimDigits(normal, -places, normal.high());
  if (first_dropped >= 5) ++kept.at(-places);
  if (first_dropped <= -5) --kept.at(-places);
  return kept;
}

Variant Round(const Variant& x, std::int32_t places) {
  if (x.is(platform::VariantKind::Array)) {
    return ToVariant(RoundDigits(Normalized(ReadDigitArray(x.array())), places));
  }
  const HugeNumber rounded = RoundDigits(CreateHugeNumber(x), places);
  if (IsNumericEx(x)) return Variant(HugeNumberToDouble(rounded));
  return Variant(HugeNumberToText(rounded));
}

Variant Divide(const Variant& x, const Variant& y, std::int32_t precision,
               std::int32_t return_type) {
  const HugeNumber a = ToNormalHugeNumber(x);
  const HugeNumber b = ToNormalHugeNumber(y);
  if (IsZeroDigits(b)) Raise(kDivideByZero);
  if (IsZeroDigits(a)) {
    return ResultRuleA(HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer), return_type);
  }
  const std::int64_t places = AbsolutePlaces(precision);
  const engine::Decimal quotient = QuotientOfNormal(a, b, places);
  if (return_type == Huge_Number || return_type == double_value) {
    return ResultRuleA(RoundedQuotient(quotient, places), return_type);
  }
  return Variant(RoundedText(quotient, places));
}

HugeNumber InternalDivide(const HugeNumber& x, const HugeNumber& y, std::int32_t precision) {
  if (IsZeroDigits(x)) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer);
  if (IsZeroDigits(y)) Raise(kInternalDivideByZero);
  const std::int64_t places = AbsolutePlaces(precision);
  return RoundedQuotient(QuotientOfNormal(Normalized(x), Normalized(y), places), places);
}

HugeNumber InternalDivideByWhole(const HugeNumber& x, const mpz_class& divisor,
                                 std::int32_t precision) {
  if (IsZeroDigits(x)) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer);
  const HugeNumber a = Normalized(x);
  return InternalDivideScaled(IsNegative(a) ? mpz_class(-MagnitudeOf(a)) : MagnitudeOf(a), a.low(),
                              divisor, precision);
}

HugeNumber InternalDivideScaled(const mpz_class& dividend, std::int64_t low,
                                const mpz_class& divisor, std::int32_t precision) {
  if (dividend == 0) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer);
  const mpz_class magnitude = abs(dividend);
  const std::int64_t places = AbsolutePlaces(precision);
  return RoundedQuotient(
      TruncatedQuotient(low + TopDigit(magnitude), TopDigit(divisor), dividend < 0, places,
                        [&](std::int64_t, std::int64_t quotient_low) {
                          const mpz_class q =
                              ScaledQuotient(magnitude, low, divisor, 0, quotient_low);
                          return engine::LimbsOfDigits(q.get_str());
                        }),
      places);
}

Variant Modulus(const Variant& x, const Variant& y, std::int32_t return_type) {
  if (return_type != Huge_Number && return_type != double_value &&
      !x.is(platform::VariantKind::Array) && !y.is(platform::VariantKind::Array)) {
    if (std::optional<std::string> text = RemainderText(x, y)) return Variant(std::move(*text));
  }
  const HugeNumber a = ToNormalHugeNumber(x);
  const HugeNumber b = ToNormalHugeNumber(y);
  if (IsZeroDigits(b)) Raise(kDivideByZero);
  if (TopPlace(a) - TopPlace(b) >= kMaxPlaces) Raise(platform::kOverflow);
  // The truncated quotient, exactly; then x - q * y as Multiply and Subtract leave it.
  const HugeNumber q =
      engine::NormalOf({IsNegative(a) != IsNegative(b),
                        ScaledQuotient(engine::DecimalOfDigits(a).coefficient, a.low(),
                                       engine::DecimalOfDigits(b).coefficient, b.low(), 0),
                        0});
  const HugeNumber product = ProductOf(q, ToHugeNumber(y));
  return ResultRuleA(SumDigits(ToHugeNumber(x), NegateDigits(product)), return_type);
}

Variant Slide(const Variant& x, std::int32_t shift, std::optional<std::int32_t>* limited_shift) {
  if (IsNumericEx(x)) {
    // A double reaches no further than these powers of ten.
    const std::int32_t limited = std::clamp(shift, -324, 308);
    *limited_shift = limited;
    return Multiply(x, Variant(std::pow(10.0, limited)), double_value);
  }
  if (x.is(platform::VariantKind::Array)) {
    return ToVariant(ShiftPlaces(ReadDigitArray(x.array()), shift));
  }
  return Variant(HugeNumberToText(ShiftPlaces(CreateHugeNumber(x), shift)));
}

}  // namespace numeron
