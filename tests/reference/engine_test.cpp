// Holds the engine's limb kernels to an independent path, GMP's integers: every product and
// quotient is compared digit for digit just below, at and above each switch from one algorithm
// to the next, on random digits and on the patterns that stress carries and trial quotients
// (all nines, a top limb of half the base, long runs of zeros), up to 200,000 digits.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "control/arithmetic/big_integer.h"
#include "control/engine/limbs.h"

namespace numeron::engine {
namespace {

enum class Pattern { Random, Nines, HalfBaseTop, SparseZeros };

class EngineTest : public ::testing::Test {
 protected:
  // A whole number of `digits` digits (the top one not zero) in the given pattern.
  std::string Digits(std::size_t digits, Pattern pattern) {
    std::string s(digits, '0');
    for (std::size_t i = 0; i < digits; ++i) {
      switch (pattern) {
        case Pattern::Random:
          s[i] = static_cast<char>('0' + random_() % 10);
          break;
        case Pattern::Nines:
          s[i] = '9';
          break;
        case Pattern::HalfBaseTop:  // 5000...0 then random: the scaled divisor's edge
          s[i] = i == 0 ? '5' : (i < kLimbDigits ? '0' : static_cast<char>('0' + random_() % 10));
          break;
        case Pattern::SparseZeros:
          s[i] = random_() % 8 == 0 ? static_cast<char>('1' + random_() % 9) : '0';
          break;
      }
    }
    if (s[0] == '0') s[0] = '1';
    return s;
  }

  static std::string Of(const mpz_class& n) { return n.get_str(); }

  std::mt19937_64 random_{20261207};
};

constexpr Pattern kPatterns[] = {Pattern::Random, Pattern::Nines, Pattern::HalfBaseTop,
                                 Pattern::SparseZeros};

TEST_F(EngineTest, TextRoundTripsAndCountsDigits) {
  for (std::size_t n : {1, 15, 16, 17, 31, 32, 33, 1000}) {
    const std::string s = Digits(n, Pattern::Random);
    const Limbs limbs = LimbsOfDigits("000" + s);
    EXPECT_EQ(DigitsOf(limbs), s);
    EXPECT_EQ(DigitCount(limbs), static_cast<std::int64_t>(n));
    EXPECT_EQ(DigitsOf(ShiftedUp(limbs, 21)), s + std::string(21, '0'));
    EXPECT_EQ(DigitsOf(ShiftedDown(limbs, 5)), n > 5 ? s.substr(0, n - 5) : "0");
    EXPECT_EQ(TrailingZeroDigits(ShiftedUp(limbs, 37)), 37 + TrailingZeroDigits(limbs));
  }
  EXPECT_EQ(DigitsOf(LimbsOfDigits("000")), "0");
}

TEST_F(EngineTest, SignedDigitArraysReadTheirValue) {
  // Mixed signs, as unnormalised arrays carry them; SignedValueOf is the independent path.
  for (int n : {1, 16, 17, 100}) {
    for (int round = 0; round < 20; ++round) {
      std::vector<std::int16_t> digits(static_cast<std::size_t>(n));
      for (auto& d : digits) d = static_cast<std::int16_t>(static_cast<int>(random_() % 19) - 9);
      const HugeNumber array(-3, digits);
      const Decimal value = DecimalOfDigits(array);
      const mpz_class expected = SignedValueOf(array);
      EXPECT_EQ((value.negative ? "-" : "") + DigitsOf(value.coefficient), Of(expected));
      EXPECT_EQ(value.exponent, -3);
    }
  }
}

TEST_F(EngineTest, ProductsAgreeAcrossThePackingSwitch) {
  const std::size_t limbs_at_switch = kPackedFrom * kLimbDigits;
  for (std::size_t shorter : {limbs_at_switch - kLimbDigits, limbs_at_switch - 1, limbs_at_switch,
                              limbs_at_switch + 1, limbs_at_switch + kLimbDigits}) {
    for (std::size_t longer : {shorter, shorter + 1, 3 * shorter + 7}) {
      for (Pattern pattern : kPatterns) {
        const std::string a = Digits(shorter, pattern);
        const std::string b = Digits(longer, pattern);
        EXPECT_EQ(DigitsOf(Multiply(LimbsOfDigits(a), LimbsOfDigits(b))),
                  Of(mpz_class(a) * mpz_class(b)))
            << shorter << " x " << longer;
      }
    }
  }
}

TEST_F(EngineTest, LongProductsAgree) {
  for (std::size_t digits : {10'000, 65'537, 200'000}) {
    for (Pattern pattern : {Pattern::Random, Pattern::Nines}) {
      const std::string a = Digits(digits, pattern);
      const std::string b = Digits(digits / 2 + 3, pattern);
      EXPECT_EQ(DigitsOf(Multiply(LimbsOfDigits(a), LimbsOfDigits(b))),
                Of(mpz_class(a) * mpz_class(b)))
          << digits;
    }
  }
}

TEST_F(EngineTest, OneLimbDivisionsAgree) {
  for (std::uint64_t divisor : {std::uint64_t{1}, std::uint64_t{7}, kBase / 2, kBase - 1}) {
    for (std::size_t digits : {1, 16, 17, 100'000}) {
      const std::string a = Digits(digits, Pattern::Random);
      Limbs q = LimbsOfDigits(a);
      const std::uint64_t rest = DivideInPlace(q, divisor);
      const mpz_class d(std::to_string(divisor));
      EXPECT_EQ(DigitsOf(q), Of(mpz_class(a) / d));
      EXPECT_EQ(std::to_string(rest), Of(mpz_class(a) % d));
    }
  }
}

TEST_F(EngineTest, QuotientsAgreeAcrossTheDivisionSwitches) {
  // Divisor lengths around one limb and the long-division bound; beyond that bound, dividends
  // that put the step count at its bound and one limb above.
  const std::size_t bound = kLongDivisionDivisorLimbs * kLimbDigits;
  for (std::size_t divisor_digits : {std::size_t{16}, std::size_t{17}, std::size_t{33}, bound - 1,
                                     bound, bound + 1, bound + kLimbDigits}) {
    const std::size_t divisor_limbs = (divisor_digits + kLimbDigits - 1) / kLimbDigits;
    const std::size_t at_bound = kLongDivisionSteps / divisor_limbs + divisor_limbs - 1;
    const bool long_divisor = divisor_limbs > kLongDivisionDivisorLimbs;
    for (std::size_t dividend_limbs :
         {divisor_limbs, divisor_limbs + 3, long_divisor ? at_bound : 700,
          long_divisor ? at_bound + 1 : 701}) {
      for (Pattern pattern : kPatterns) {
        const std::string b = Digits(divisor_digits, pattern);
        const std::string a = Digits(dividend_limbs * kLimbDigits, pattern);
        EXPECT_EQ(DigitsOf(Quotient(LimbsOfDigits(a), LimbsOfDigits(b))),
                  Of(mpz_class(a) / mpz_class(b)))
            << a.size() << " / " << b.size();
      }
    }
  }
  EXPECT_TRUE(Quotient(LimbsOfDigits("123"), LimbsOfDigits("124")).empty());
}

TEST_F(EngineTest, QuotientsJustBelowAMultipleOfTheDivisor) {
  // Divisors with a top limb of half the base and dividends a little below a multiple of them:
  // the trial digits from the top limbs come out too large and must be corrected.
  for (int round = 0; round < 200; ++round) {
    const mpz_class base("10000000000000000");
    const mpz_class b = base * base * (base / 2) + mpz_class(std::to_string(random_() % 1000));
    const mpz_class a = b * (base - 1 - mpz_class(std::to_string(random_() % 3))) + b - 1 -
                        mpz_class(std::to_string(random_() % 5));
    EXPECT_EQ(DigitsOf(Quotient(LimbsOfDigits(Of(a)), LimbsOfDigits(Of(b)))), Of(a / b));
  }
}

}  // namespace
}  // namespace numeron::engine
