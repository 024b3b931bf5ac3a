// Quotients of limbs: by one limb in one pass, by a few limbs by long division in base 10^16,
// and by long divisors through GMP's binary division (which then pays two radix conversions).
#include <gmp.h>

#include "control/engine/limbs.h"
#include "control/engine/wide.h"
#include "control/number/call_context.h"

namespace numeron::engine {
namespace {

// high * kBase + low for a product p < 2^110: the high part from a double estimate, corrected
// by the exact remainder (the estimate is off by at most a few units, so the remainder, taken
// modulo 2^64, lies well within a signed word).
std::uint64_t SplitByBase(Wide p, std::uint64_t* low) {
  const auto high_word = static_cast<std::uint64_t>(p >> 64);
  const auto low_word = static_cast<std::uint64_t>(p);
  const double estimate =
      (static_cast<double>(high_word) * 18446744073709551616.0 + static_cast<double>(low_word)) *
      1e-16;
  auto high = static_cast<std::uint64_t>(estimate);
  auto rest = static_cast<std::int64_t>(low_word - high * kBase);
  constexpr auto kSignedBase = static_cast<std::int64_t>(kBase);
  while (rest < 0) rest += kSignedBase, --high;
  while (rest >= kSignedBase) rest -= kSignedBase, ++high;
  *low = static_cast<std::uint64_t>(rest);
  return high;
}

// n * factor for factor < kBase, with one more limb on top (kept even when zero).
Limbs TimesLimb(const Limbs& n, std::uint64_t factor) {
  Limbs result(n.size() + 1);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < n.size(); ++i) {
    carry = SplitByBase(Wide{n[i]} * factor + carry, &result[i]);
  }
  result[n.size()] = carry;
  return result;
}

// Knuth's long division in base 10^16 for a >= b with b of two limbs or more: both are scaled
// so that the divisor's top limb is at least kBase / 2, which keeps each trial quotient digit,
// taken from the top two limbs of the remainder and the top limb of the divisor, at most two
// above the true digit; the top two limbs of the divisor then decide all but the rare case that
// the multiply-and-subtract step corrects by adding the divisor back once.
Limbs LongDivision(const Limbs& a, const Limbs& b) {
  const std::size_t n = b.size();
  const std::size_t m = a.size() - n;
  const std::uint64_t scale = kBase / (b.back() + 1);
  Limbs u = TimesLimb(a, scale);  // m + n + 1 limbs
  Limbs v = TimesLimb(b, scale);
  v.pop_back();  // the divisor keeps its length
  const std::uint64_t top = v[n - 1];
  const std::uint64_t next = v[n - 2];
  Limbs quotient(m + 1);
  for (std::size_t j = m + 1; j-- > 0;) {
    if (j % 256 == 0) CheckPoint();  // at most 256 x 64 limb steps, some 0.4 ms, between two
    const Wide head = Wide{u[j + n]} * kBase + u[j + n - 1];
    std::uint64_t rest;
    std::uint64_t digit = DivideWide(static_cast<std::uint64_t>(head >> 64),
                                     static_cast<std::uint64_t>(head), top, &rest);
    while (digit >= kBase || Wide{digit} * next > Wide{rest} * kBase + u[j + n - 2]) {
      --digit;
      rest += top;
      if (rest >= kBase) break;
    }
    // u[j .. j+n] -= digit * v
    std::uint64_t carry = 0;
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < n; ++i) {
      std::uint64_t low;
      carry = SplitByBase(Wide{digit} * v[i] + carry, &low);
      const std::uint64_t subtrahend = low + borrow;
      borrow = u[i + j] < subtrahend;
      u[i + j] = u[i + j] + (borrow ? kBase : 0) - subtrahend;
    }
    const std::uint64_t subtrahend = carry + borrow;
    if (u[j + n] >= subtrahend) {
      u[j + n] -= subtrahend;
    } else {
      // The trial digit was one too many: add the divisor back; the carry out of the top cancels
      // the loan, leaving the top limb 0.
      --digit;
      std::uint64_t add_carry = 0;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t sum = u[i + j] + v[i] + add_carry;
        add_carry = sum >= kBase;
        u[i + j] = sum - (add_carry ? kBase : 0);
      }
      u[j + n] = u[j + n] + add_carry - subtrahend;
    }
    quotient[j] = digit;
  }
  TrimTop(quotient);
  return quotient;
}

Limbs BinaryQuotient(const Limbs& a, const Limbs& b) {
  mpz_t x, y;
  mpz_init_set_str(x, DigitsOf(a).c_str(), 10);
  mpz_init_set_str(y, DigitsOf(b).c_str(), 10);
  mpz_tdiv_q(x, x, y);
  std::string digits(mpz_sizeinbase(x, 10) + 1, '\0');
  mpz_get_str(digits.data(), 10, x);
  digits.resize(digits.find('\0'));
  mpz_clear(x);
  mpz_clear(y);
  return LimbsOfDigits(digits);
}

}  // namespace

std::uint64_t DivideInPlace(Limbs& n, std::uint64_t divisor) {
  std::uint64_t rest = 0;
  for (std::size_t i = n.size(); i-- > 0;) {
    if (i % kPlacesPerCheck == 0) CheckPoint();
    // rest < divisor, so the partial dividend's quotient is below kBase and fits one word.
    const Wide partial = Wide{rest} * kBase + n[i];
    n[i] = DivideWide(static_cast<std::uint64_t>(partial >> 64),
                      static_cast<std::uint64_t>(partial), divisor, &rest);
  }
  TrimTop(n);
  return rest;
}

Limbs Quotient(const Limbs& a, const Limbs& b) {
  if (CompareLimbs(a, b) < 0) return {};
  if (b.size() == 1) {
    Limbs q = a;
    DivideInPlace(q, b[0]);
    return q;
  }
  const std::size_t steps = (a.size() - b.size() + 1) * b.size();
  if (b.size() <= kLongDivisionDivisorLimbs || steps <= kLongDivisionSteps) {
    return LongDivision(a, b);
  }
  return BinaryQuotient(a, b);
}

}  // namespace numeron::engine
