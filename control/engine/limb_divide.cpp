// Quotients of limbs: by one limb in one pass, by a few limbs by long division in base 10^16,
// and by long divisors through Newton's reciprocal and products, all in base 10^16.
#include <algorithm>
#include <utility>

#include "control/engine/limbs.h"
#include "control/engine/wide.h"
#include "control/number/call_context.h"

namespace numeron::engine {
namespace {

// How far the Newton quotient may be from the truth before its correction gives up on it (it
// stays within a few units).
constexpr int kMostCorrections = 64;

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

// a + b.
Limbs Sum(const Limbs& a, const Limbs& b) {
  const Limbs& longer = a.size() >= b.size() ? a : b;
  const Limbs& shorter = a.size() >= b.size() ? b : a;
  Limbs result(longer.size() + 1);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < longer.size(); ++i) {
    const std::uint64_t sum = longer[i] + (i < shorter.size() ? shorter[i] : 0) + carry;
    carry = sum >= kBase;
    result[i] = sum - (carry ? kBase : 0);
  }
  result[longer.size()] = carry;
  TrimTop(result);
  return result;
}

// n - 1 for n >= 1.
void Decrement(Limbs& n) {
  for (std::uint64_t& limb : n) {
    if (limb-- > 0) break;
    limb = kBase - 1;
  }
  TrimTop(n);
}

// n * B^count, or floor(n / B^-count) for a negative count.
Limbs ShiftedLimbs(const Limbs& n, std::ptrdiff_t count) {
  return count >= 0 ? ShiftedUp(n, count * kLimbDigits) : ShiftedDown(n, -count * kLimbDigits);
}

// B^(2h) / d, within a few units, for a divisor d of h limbs whose top limb is at least B / 2,
// by Newton's step from the reciprocal Y of its top l = ceil(h / 2) limbs:
//   X0 = Y B^(h - l),  X1 = X0 + X0 (B^(2h) - d X0) / B^(2h).
// X0 is off by a relative error e of about 2 B^-l (d's top limbs stand for d), X1 by about e^2
// plus the floors, a few units, since 2l >= h. Worked in base 10, d = 6283 (h = 4, l = 2):
// Y = 10^4 / 62 = 161, X0 = 16100; d X0 = 101156300 lies above 10^8 by E = 1156300, and
// X0 E / 10^8 = 186, so X1 = 16100 - 186 = 15914, where 10^8 / 6283 = 15915.6.
Limbs Reciprocal(const Limbs& d) {
  const std::size_t h = d.size();
  Limbs unit(2 * h + 1, 0);
  unit.back() = 1;
  if (h <= kLongDivisionDivisorLimbs) return h == 1 ? Quotient(unit, d) : LongDivision(unit, d);
  const std::size_t l = (h + 1) / 2;
  const auto lower = static_cast<std::ptrdiff_t>(h - l);
  const Limbs y = Reciprocal(Limbs(d.begin() + lower, d.end()));
  CheckPoint();
  const Limbs x0 = ShiftedLimbs(y, lower);
  const Limbs product = ShiftedLimbs(Multiply(d, y), lower);
  const int side = CompareLimbs(product, unit);
  if (side == 0) return x0;
  const Limbs error = side < 0 ? Difference(unit, product) : Difference(product, unit);
  // X0 E / B^(2h) = Y E / B^(h + l); E's lowest h - l limbs move that by less than a unit.
  const Limbs step =
      ShiftedLimbs(Multiply(y, ShiftedLimbs(error, -lower)), -static_cast<std::ptrdiff_t>(2 * l));
  return side < 0 ? Sum(x0, step) : Difference(x0, step);
}

// Makes q, a guess within a few units of floor(u / d), exact, and returns u - q d.
Limbs Correct(const Limbs& u, const Limbs& d, Limbs& q) {
  Limbs product = Multiply(q, d);
  for (int corrections = 0;; ++corrections) {
    if (corrections > kMostCorrections) {  // never seen; exact anyway
      q = LongDivision(u, d);
      return Difference(u, Multiply(q, d));
    }
    if (CompareLimbs(product, u) > 0) {
      Decrement(q);
      product = Difference(product, d);
      continue;
    }
    Limbs rest = Difference(u, product);
    if (CompareLimbs(rest, d) < 0) return rest;
    Increment(q);
    product = Sum(product, d);
  }
}

// a and b times the one-limb scale that brings b's top limb to at least B / 2 (Knuth's
// normalisation), which leaves their quotient as it is.
std::pair<Limbs, Limbs> Normalised(const Limbs& a, const Limbs& b) {
  const std::uint64_t scale = kBase / (b.back() + 1);
  std::pair<Limbs, Limbs> scaled{TimesLimb(a, scale), TimesLimb(b, scale)};
  TrimTop(scaled.first);
  TrimTop(scaled.second);
  return scaled;
}

// floor(a / b) for a quotient of up to about twice the divisor's limbs: the divisor cut or
// padded to k limbs, two more than the quotient's, with the dividend moved alike, gives a
// quotient within a few units of a / b, taken as one product with its reciprocal and then
// corrected by the whole remainder.
Limbs OneProductQuotient(const Limbs& a, const Limbs& b) {
  const auto k = static_cast<std::ptrdiff_t>(a.size() - b.size() + 3);
  const auto shift = k - static_cast<std::ptrdiff_t>(b.size());
  auto [dividend, divisor] = Normalised(ShiftedLimbs(a, shift), ShiftedLimbs(b, shift));
  Limbs q = ShiftedLimbs(Multiply(dividend, Reciprocal(divisor)),
                         -static_cast<std::ptrdiff_t>(2 * divisor.size()));
  CheckPoint();
  Correct(a, b, q);
  return q;
}

// floor(a / b) for a quotient longer than the divisor (n limbs): from the top, n limbs of the
// quotient at a time, each from the running remainder and the next n limbs of the dividend,
// u = rest B^n + block < b B^n, as one product with b's reciprocal, corrected by u's remainder.
Limbs BlockQuotient(const Limbs& a, const Limbs& b) {
  const auto [dividend, divisor] = Normalised(a, b);
  const std::size_t n = divisor.size();
  const Limbs reciprocal = Reciprocal(divisor);
  Limbs quotient(dividend.size(), 0);
  Limbs rest;
  for (std::size_t end = dividend.size(); end > 0;) {
    CheckPoint();
    const std::size_t begin = end > n ? end - n : 0;
    const auto width = static_cast<std::ptrdiff_t>(end - begin);
    Limbs block(dividend.begin() + static_cast<std::ptrdiff_t>(begin),
                dividend.begin() + static_cast<std::ptrdiff_t>(end));
    TrimTop(block);
    const Limbs u = Sum(ShiftedLimbs(rest, width), block);
    Limbs q = ShiftedLimbs(Multiply(u, reciprocal), -static_cast<std::ptrdiff_t>(2 * n));
    rest = Correct(u, divisor, q);
    std::copy(q.begin(), q.end(), quotient.begin() + static_cast<std::ptrdiff_t>(begin));
    end = begin;
  }
  TrimTop(quotient);
  return quotient;
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
  // Blocks of the divisor's length once the quotient is longer than two of them.
  return a.size() - b.size() < 2 * b.size() ? OneProductQuotient(a, b) : BlockQuotient(a, b);
}

}  // namespace numeron::engine
