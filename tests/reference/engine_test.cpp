// Holds the engine's limb kernels to an independent path, GMP's integers: every product and
// quotient is compared digit for digit just below, at and above each switch from one algorithm
// to the next, on random digits and on the patterns that stress carries and trial quotients
// (all nines, a top limb of half the base, long runs of zeros), up to 200,000 digits.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/engine/limbs.h"
#include "control/series/series.h"
#include "platform/error.h"

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

// Long divisors go through Newton's reciprocal: divisors longer than the quotient (cut to its
// length), shorter (padded), at a few depths of the reciprocal's halving, and dividends at,
// just below and just above a multiple of the divisor, where the correction decides.
TEST_F(EngineTest, NewtonQuotientsAgreeWithIntegers) {
  const std::pair<std::size_t, std::size_t> sizes[] = {
      {3000, 1500}, {1200, 1100}, {5000, 130}, {20000, 300}, {1500, 1499}};
  for (const auto& [dividend_limbs, divisor_limbs] : sizes) {
    for (Pattern pattern : kPatterns) {
      const mpz_class b(Digits(divisor_limbs * kLimbDigits - 3, pattern));
      const mpz_class q(Digits((dividend_limbs - divisor_limbs) * kLimbDigits + 5, pattern));
      for (const mpz_class& a : {mpz_class(q * b), mpz_class(q * b - 1), mpz_class(q * b + b - 1),
                                 mpz_class(q * b + q)}) {
        EXPECT_EQ(DigitsOf(Quotient(LimbsOfDigits(Of(a)), LimbsOfDigits(Of(b)))), Of(a / b))
            << dividend_limbs << " / " << divisor_limbs;
      }
    }
  }
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

// The public texts that the engine computes from values alone must read as the arrays the
// same calls return (the arrays come from the digit paths), or fail with the same error.
std::string TextOrError(const std::function<Variant()>& call) {
  try {
    const Variant v = call();
    return v.is(platform::VariantKind::Array) ? HugeNumberToText(ReadDigitArray(v.array()))
                                              : v.text();
  } catch (const platform::RaisedError& e) {
    return "error " + std::to_string(e.error().number);
  }
}

TEST_F(EngineTest, TextsFromValuesReadAsTheArrays) {
  // Signs, fractions, far-apart places.
  const char* const kOperands[] = {"7",      "-3",    "0.25",  "-12.5",
                                   "1E+30",  "3E-40", "-9.99", "123456789012345678901234567890.5",
                                   "1E+900", "1E-900"};
  for (const char* x : kOperands) {
    for (const char* y : kOperands) {
      for (std::int32_t places : {0, 3, 40}) {
        const auto divide = [&](std::int32_t kind) {
          return [=] { return Divide(Variant(x), Variant(y), places, kind); };
        };
        EXPECT_EQ(TextOrError(divide(1)), TextOrError(divide(0)))
            << x << " / " << y << " " << places;
      }
      const auto modulus = [&](std::int32_t kind) {
        return [=] { return Modulus(Variant(x), Variant(y), kind); };
      };
      EXPECT_EQ(TextOrError(modulus(1)), TextOrError(modulus(0))) << x << " mod " << y;
      const auto multiply = [&](std::int32_t kind) {
        return [=] { return numeron::Multiply(Variant(x), Variant(y), kind); };
      };
      EXPECT_EQ(TextOrError(multiply(1)), TextOrError(multiply(0))) << x << " * " << y;
    }
  }
}

TEST_F(EngineTest, TextsBeyondThePlaceLimitFailAsTheArrays) {
  // Refused before anything is made, as the arrays refuse them.
  EXPECT_EQ(TextOrError([] { return Divide(Variant("1E+9"), Variant("3"), 99999990, 1); }),
            "error " + std::to_string(platform::kOverflow.number));
  EXPECT_EQ(TextOrError([] { return Modulus(Variant("1E+99999990"), Variant("3E-9"), 1); }),
            "error " + std::to_string(platform::kOverflow.number));
  EXPECT_EQ(Modulus(Variant("-1E+49999999"), Variant("7"), 1).text(), "-3");
}

TEST_F(EngineTest, LongDivisionsAndRemaindersAgreeWithIntegers) {
  // x / y to p places is floor(x * 10^(p+1) / y) rounded half up on its last digit; x mod y is
  // the integers' remainder.
  for (std::size_t divisor_digits :
       {std::size_t{1}, std::size_t{16}, std::size_t{17}, std::size_t{500}, std::size_t{1100}}) {
    const std::string x = Digits(2000, Pattern::Random);
    const std::string y = Digits(divisor_digits, Pattern::Random);
    const std::int32_t places = 20000;
    mpz_class scaled = mpz_class(x, 10) * PowerOfTen(places + 1) / mpz_class(y, 10);
    const bool up = scaled % 10 >= 5;
    scaled /= 10;
    if (up) ++scaled;
    std::string expected = scaled.get_str();
    expected.insert(expected.size() - places, ".");
    expected.erase(expected.find_last_not_of('0') + 1);
    if (expected.back() == '.') expected.pop_back();
    EXPECT_EQ(Divide(Variant(x), Variant(y), places, 1).text(), expected) << divisor_digits;
    EXPECT_EQ(Modulus(Variant(x), Variant(y), 1).text(),
              mpz_class(mpz_class(x, 10) % mpz_class(y, 10)).get_str());
  }
}

TEST_F(EngineTest, FactorialTextsAreTheIntegersFactorials) {
  for (unsigned long n : {1UL, 20UL, 21UL, 500UL, 20000UL}) {
    mpz_class f;
    mpz_fac_ui(f.get_mpz_t(), n);
    EXPECT_EQ(Factorial(Variant(std::to_string(n)), 1).text(), f.get_str()) << n;
  }
  EXPECT_EQ(Factorial(Variant("2.5"), 1).text(), "1.875");
}

}  // namespace
}  // namespace numeron::engine
