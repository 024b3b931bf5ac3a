// The engine's number form: a decimal coefficient in limbs of 16 digits (base 10^16, one 64-bit
// word each) and the place of its lowest digit.
//
// Why 10^16: a 16-digit limb splits into two 8-digit halves for text, so text, the 16-bit digit
// array and this form convert in one linear pass; the product of two limbs is below 10^32, and
// the sum of such products over every pair the place limit allows (at most 3.2 million limbs in
// the shorter factor) stays below 2^128, so one product column fits a 128-bit slot. That lets
// a long product pack each limb into a slot of two words of one binary number and leave the
// whole multiplication to GMP's binary product (see limb_multiply.cpp), and lets the schoolbook
// product add up each column in 128 bits with a single carry per column. 10^18 or 10^19 limbs
// would need slots of three words, wasting more of the binary product.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "control/number/huge_number.h"

namespace numeron::engine {

inline constexpr int kLimbDigits = 16;
inline constexpr std::uint64_t kBase = 10'000'000'000'000'000;

// A whole number, lowest limb first, each limb below kBase, no zero limb at the top (zero has
// no limbs).
using Limbs = std::vector<std::uint64_t>;

// A signed decimal: (-1)^negative * coefficient * 10^exponent.
struct Decimal {
  bool negative = false;
  Limbs coefficient;
  std::int64_t exponent = 0;
};

// The whole number the decimal digits spell, most significant first (leading zeros allowed).
Limbs LimbsOfDigits(std::string_view digits);
// Its decimal digits without leading zeros ("0" for zero).
std::string DigitsOf(const Limbs& n);
std::int64_t DigitCount(const Limbs& n);
// The number of zero digits below the lowest non-zero digit (0 for zero).
std::int64_t TrailingZeroDigits(const Limbs& n);

// The signed value sum of digit(p) * 10^(p - low) of an array whose digits all lie in -9..9
// but need not share a sign, with exponent low.
Decimal DecimalOfDigits(const HugeNumber& small_digits);

// n * 10^places, places >= 0.
Limbs ShiftedUp(const Limbs& n, std::int64_t places);
// n with the lowest `places` digits dropped (floor(n / 10^places)), places >= 0.
Limbs ShiftedDown(const Limbs& n, std::int64_t places);
// n + 1.
void Increment(Limbs& n);
// -1, 0 or 1 as a is below, equal to or above b.
int CompareLimbs(const Limbs& a, const Limbs& b);
// a - b for a >= b.
Limbs Difference(const Limbs& a, const Limbs& b);

// The text of a decimal as the component writes numbers: "-" when negative, no leading zeros,
// no trailing zeros after the point, no point without a fraction, "0" for zero. Raises
// Overflow exactly where its normal-form array (NormalOf) would need more places than the limit.
std::string TextOf(const Decimal& value);
// The same for a magnitude given by its digits (no leading zeros) and the place of the last;
// raises Overflow where the places from the lowest digit, or from place 0, up to the highest
// digit, or down to place 0, exceed the limit.
std::string TextOfDigits(std::string digits, bool negative, std::int64_t exponent);

// The normal-form array of the same number (zero as the empty zero form).
HugeNumber NormalOf(const Decimal& value);
HugeNumber NormalOfDigits(std::string_view digits, bool negative, std::int64_t exponent);

// From this many limbs in the shorter factor on, a product packs its limbs into one binary
// product; below, it adds the schoolbook columns.
inline constexpr std::size_t kPackedFrom = 112;
// Long division in base 10^16 costs (quotient limbs) x (divisor limbs) steps; GMP's binary
// division costs two radix conversions that grow a little faster than the digits. Divisors of
// up to this many limbs, or divisions of up to this many steps, take the long division.
inline constexpr std::size_t kLongDivisionDivisorLimbs = 64;
inline constexpr std::size_t kLongDivisionSteps = std::size_t{1} << 20;

// a * b.
Limbs Multiply(const Limbs& a, const Limbs& b);
// In place n / divisor for 1 <= divisor < kBase; returns the remainder.
std::uint64_t DivideInPlace(Limbs& n, std::uint64_t divisor);
// floor(a / b) for b non-zero.
Limbs Quotient(const Limbs& a, const Limbs& b);

}  // namespace numeron::engine
