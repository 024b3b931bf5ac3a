#include <gtest/gtest.h>

#include "control/arithmetic/arithmetic.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Shorts;

using Digits = std::vector<std::int16_t>;

TEST(Add, LeavesOnePlaceCarriesUnnormalised) {
  struct Case {
    const char* x;
    const char* y;
    std::int32_t lo;
    Digits digits;
    const char* text;
  };
  const Case cases[] = {
      {"199", "1", 0, {0, 10, 1}, "200"},   // the carry into a 9 is not carried further
      {"100", "-99", 0, {-9, -9, 1}, "1"},  // mixed signs stay
      {"-1.5", "1.5", -1, {0, 0}, "0"},     // not trimmed
      {"0.5", "0.25", -2, {5, 7, 0}, "0.75"}, {"999.999", "0.001", -3, {0, 10, 9, 9, 9, 9}, "1000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " + " << c.y);
    EXPECT_EQ(Add(Variant(c.x), Variant(c.y), 0), Shorts(c.lo, c.digits));
    EXPECT_EQ(Add(Variant(c.x), Variant(c.y), 1), Variant(c.text));
  }
}

TEST(Add, AZeroOperandHandsBackTheOtherUnchanged) {
  const Variant untrimmed = Shorts(-3, {0, 0, 4, 0, 0});
  EXPECT_EQ(Add(Variant("0"), untrimmed, 0), untrimmed);
  EXPECT_EQ(Add(untrimmed, Variant(""), 0), untrimmed);
  const Variant zero = Add(Variant("0"), Variant("-0"), 0);
  EXPECT_EQ(zero.array().element_kind, platform::VariantArray::ElementKind::Variant);
}

TEST(Add, ResultKindsFollowTheReturnType) {
  EXPECT_EQ(Add(Variant("2"), Variant(0.5), 2), Variant(2.5));
  // The double sums each digit times its power of ten: 0.7 + 0.05, not the nearest to 0.75.
  EXPECT_EQ(Add(Variant("0.5"), Variant(0.25), 2), Variant(7 * 0.1 + 5 * 0.01));
  EXPECT_EQ(Add(Variant("1"), Variant("2"), 5), Variant());
  EXPECT_EQ(Add(Variant("1"), Variant("2"), -1), Variant());
}

TEST(Add, UnnormalisedDigitsBeyondSixteenBitsStillAddExactly) {
  EXPECT_EQ(Add(Shorts(0, {30000}), Shorts(0, {30000}), 1), Variant("60000"));
}

TEST(Subtract, IsAdditionOfTheNegation) {
  struct Case {
    Variant x;
    Variant y;
    const char* text;
  };
  const Case cases[] = {
      {Variant("1"), Variant(0.001), "0.999"},
      {Variant("-1E+20"), Variant("1"), "-100000000000000000001"},
      {Variant(std::int16_t{-32768}), Variant(std::int16_t{-32768}), "0"},
      {Variant("0"), Variant(" 2.50 "), "-2.5"},
      {Shorts(0, {0, 10, 1}), Variant("200"), "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x) + " - " + platform::Describe(c.y));
    EXPECT_EQ(Subtract(c.x, c.y, 1), Variant(c.text));
    EXPECT_TRUE(Compare(Subtract(c.y, c.x, 0), Negate(Subtract(c.x, c.y, 0)), 0));
  }
}

TEST(Negate, KeepsTheKindOfTheArgument) {
  struct Case {
    Variant x;
    Variant negated;
  };
  const Case cases[] = {
      {Variant("5"), Variant(-5.0)},
      {Variant("-1E+15"), Variant(1e15)},
      {Variant(std::int16_t{-32768}), Variant(std::int32_t{32768})},
      {Variant(std::int32_t{-2147483647 - 1}), Variant(2147483648.0)},
      {Variant(true), Variant(std::int16_t{1})},
      {Variant(), Variant(std::int16_t{0})},
      // Texts that are not the canonical text of a number turn their sign as written.
      {Variant("1.50"), Variant("-1.50")},
      {Variant(" 5.0"), Variant("-5.0")},
      {Variant("+5.0"), Variant("-5.0")},
      {Variant(""), Variant("0")},
      {Variant(1.4142135623730951), Variant("-1.4142135623731")},
      {Shorts(-4, {-7, 6, -6, 17, 1, 19}), Shorts(-4, {7, -6, 6, -17, -1, -19})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x));
    EXPECT_EQ(Negate(c.x), c.negated);
  }
  EXPECT_THROW(Negate(Variant("--5")), platform::RaisedError);
  EXPECT_THROW(Negate(Shorts(0, {-32768})), platform::RaisedError);
}

}  // namespace
}  // namespace numeron
