#include <gtest/gtest.h>

#include <random>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"
#include "control/arithmetic/product_from_value.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Shorts;

using Digits = std::vector<std::int16_t>;

TEST(Multiply, KeepsTheDigitsTheRowsLeave) {
  struct Case {
    Variant x;
    Variant y;
    std::int32_t lo;
    Digits digits;
    const char* text;
  };
  const Case cases[] = {
      {Variant("9"), Variant("119"), 0, {1, 17, 9}, "1071"},  // one row, kept as it is
      {Variant("12"), Variant("12"), 0, {4, 4, 1}, "144"},
      {Variant("99"), Variant("99"), 0, {1, 0, 8, 9}, "9801"},
      {Variant("-3"), Variant("4"), 0, {-2, -1}, "-12"},
      {Variant("0.5"), Variant("0.5"), -2, {5, 2, 0}, "0.25"},
      {Variant("1.5"), Variant("2"), 0, {3}, "3"},
      {Shorts(0, {10, -1}), Variant("3"), 0, {0}, "0"},  // worth 0, but not a zero operand
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x) + " * " + platform::Describe(c.y));
    const Variant product = Multiply(c.x, c.y, 0);
    if (c.digits == Digits{0}) {
      EXPECT_EQ(ConvertToString(product), c.text);
    } else {
      EXPECT_EQ(product, Shorts(c.lo, c.digits));
    }
    EXPECT_EQ(Multiply(c.x, c.y, 1), Variant(c.text));
  }
}

TEST(Multiply, AZeroOperandGivesTheIntegerZeroForm) {
  const Variant zero(platform::VariantArray{
      0, platform::VariantArray::ElementKind::Variant, {}, {Variant(std::int16_t{0})}});
  EXPECT_EQ(Multiply(Variant("0"), Variant("123.45"), 0), zero);
  EXPECT_EQ(Multiply(Variant("-7"), Variant(""), 0), zero);
  EXPECT_EQ(Multiply(Variant("0"), Variant("5"), 1), Variant("0"));
  EXPECT_EQ(Multiply(Variant("2"), Variant("5"), 5), Variant());
}

// A long product through the rows must be worth what the exact value is; the rows carry only
// one place, so long runs of 9s exercise the carries that ripple behind the band.
TEST(Multiply, LongOperandsKeepEveryDigit) {
  const std::string nines(60, '9');
  const std::string square = std::string(59, '9') + "8" + std::string(59, '0') + "1";
  EXPECT_EQ(Multiply(Variant(nines), Variant(nines), 1), Variant(square));
  EXPECT_EQ(ConvertToString(Multiply(Variant(nines), Variant(nines), 0)), square);
  EXPECT_EQ(ConvertToString(Multiply(Variant("-" + nines), Variant("0." + nines), 0)),
            "-" + std::string(59, '9') + "8." + std::string(59, '0') + "1");
}

TEST(MultiplyDigits, AddsEveryRowIntoTheSinglePlaceTotal) {
  // 9 * 119 as the series code multiplies: the first row is carried once more by AddDigits.
  EXPECT_EQ(MultiplyDigits(HugeNumber(0, {9}), HugeNumber(0, {9, 1, 1})),
            HugeNumber(0, {1, 7, 10}));
  EXPECT_EQ(HugeNumberToText(MultiplyDigits(HugeNumber(0, {-3}), HugeNumber(-1, {5, 0}))), "-1.5");
}

// The two ways of reaching each adder's array, from the value and the last rows and the rows
// one by one, held against each other on random one-signed operands: normal and unnormalised
// digits, zero runs (the places the last rows leave open), any bounds.
TEST(MultiplyDigits, TheValueAndLastRowsGiveTheArrayTheRowsLeave) {
  std::mt19937 random(20261207);
  auto operand = [&](int largest, int sign) {
    const int size = std::uniform_int_distribution<int>(1, 40)(random);
    const int zeros = std::uniform_int_distribution<int>(0, 3)(random);  // how often a digit is 0
    Digits digits(static_cast<std::size_t>(size));
    for (std::int16_t& d : digits) {
      const bool zero = std::uniform_int_distribution<int>(0, 3)(random) < zeros;
      d = static_cast<std::int16_t>(
          zero ? 0 : sign * std::uniform_int_distribution<int>(0, largest)(random));
    }
    digits.back() =
        static_cast<std::int16_t>(sign * std::uniform_int_distribution<int>(1, largest)(random));
    // Zeros on top: rows of a that only pass carries up.
    digits.resize(digits.size() + std::uniform_int_distribution<std::size_t>(0, 1)(random) *
                                      std::uniform_int_distribution<std::size_t>(1, 30)(random),
                  0);
    return HugeNumber(std::uniform_int_distribution<int>(-30, 10)(random), std::move(digits));
  };
  for (const bool shortcuts : {false, true}) {
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
      const int largest_a = i % 3 == 0 ? 13 : 9, largest_b = i % 5 == 0 ? 11 : 9;
      const HugeNumber a = operand(largest_a, i % 2 ? 1 : -1);
      const HugeNumber b = operand(largest_b, i % 7 ? 1 : -1);
      // Too few rows between a's first and last non-zero digit are left to the rows.
      const std::optional<HugeNumber> fast = ProductFromValue(a, b, shortcuts);
      if (!fast) continue;
      ++compared;
      ASSERT_EQ(*fast, AddRowsOneByOne(a, b, shortcuts))
          << shortcuts << ": " << HugeNumberToText(a) << " * " << HugeNumberToText(b);
    }
    EXPECT_GT(compared, 15000);
  }
}

TEST(MultiplyDigits, MixedSignsAreLeftToTheRows) {
  EXPECT_FALSE(ProductFromValue(HugeNumber(0, {1, -1}), HugeNumber(0, {3}), false).has_value());
  EXPECT_FALSE(ProductFromValue(HugeNumber(0, {0, 0}), HugeNumber(0, {3}), true).has_value());
}

}  // namespace
}  // namespace numeron
