#include <gtest/gtest.h>

#include "control/arithmetic/arithmetic.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Shorts;

using Digits = std::vector<std::int16_t>;

TEST(Divide, RoundsSymmetricallyOnTheGuardDigit) {
  struct Case {
    const char* a;
    const char* b;
    std::int32_t precision;
    const char* text;
  };
  const Case cases[] = {
      {"2", "3", 2, "0.67"},       {"-2", "3", 2, "-0.67"}, {"2", "-3", 2, "-0.67"},
      {"1", "8", 2, "0.13"},   // only the guard digit decides: 0.125 -> 0.13
      {"1", "1000", 1, "0"},   // the one digit produced is the one dropped
      {"199", "2", 0, "100"},  // 10 at the ones below a 9
      {"999.995", "1", 2, "1000"}, {"1", "7", -3, "0.143"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " / " << c.b << " @" << c.precision);
    EXPECT_EQ(Divide(Variant(c.a), Variant(c.b), c.precision, 1), Variant(c.text));
  }
}

TEST(Divide, HandsBackTheArrayRoundingLeaves) {
  EXPECT_EQ(Divide(Variant("1"), Variant("4"), 10, 0), Shorts(-2, {5, 2, 0}));
  EXPECT_EQ(Divide(Variant("199"), Variant("2"), 0, 0), Shorts(0, {10, 9}));
  EXPECT_EQ(Divide(Variant("1"), Variant("1000"), 1, 0), Shorts(-1, {0, 0}));
  // Mixed-sign digits divide as their normal form.
  EXPECT_EQ(Divide(Shorts(0, {-9, -9, 1}), Variant("3"), 2, 1), Variant("0.33"));
  const Variant zero(platform::VariantArray{
      0, platform::VariantArray::ElementKind::Variant, {}, {Variant(std::int16_t{0})}});
  EXPECT_EQ(Divide(Variant("0"), Variant("5"), 4, 0), zero);
}

TEST(Divide, RefusesZeroDivisorsAndHopelessSizes) {
  EXPECT_EQ(test::RaisedNumber([] { Divide(Variant("1"), Variant("0"), 2, 1); }), -2147220499);
  EXPECT_EQ(test::RaisedNumber([] { Divide(Variant("0"), Variant(""), 2, 1); }), -2147220499);
  EXPECT_EQ(test::RaisedNumber([] { Divide(Variant("1"), Variant("3"), 2147483647, 1); }),
            platform::kOverflow.number);
  EXPECT_EQ(test::RaisedNumber([] { InternalDivide(HugeNumber(0, {1}), HugeNumber(0, {0}), 2); }),
            -2147220498);
  EXPECT_TRUE(IsZeroDigits(InternalDivide(HugeNumber(0, {0}), HugeNumber(0, {0}), 2)));
}

TEST(Round, LooksAtTheFirstDroppedDigitOnly) {
  struct Case {
    const char* x;
    std::int32_t places;
    Variant rounded;
  };
  const Case cases[] = {
      {"1.25", 1, Variant(1.3)},
      {"0.445", 1, Variant(0.4)},
      {"-1.26", 1, Variant(-1.3)},
      {"-0.96", 1, Variant(-1.0)},
      {"2.5", 0, Variant(3.0)},
      {"-2.5", 0, Variant(-3.0)},
      {"0.96", 1, Variant(1.0)},
      {"0.9600000000000000001", 1, Variant("1")},  // not canonical: text, carried on output
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " @" << c.places);
    EXPECT_EQ(Round(Variant(c.x), c.places), c.rounded);
  }
  EXPECT_EQ(Round(Shorts(-2, {6, 9, 9}), 1), Shorts(-1, {10, 9}));
  EXPECT_EQ(Round(Shorts(-4, {0, 0, 5, 2, 1}), 3), Shorts(-2, {5, 2, 1}));  // normalised first
}

TEST(Modulus, IsTheTruncatedRemainder) {
  struct Case {
    const char* x;
    const char* y;
    const char* r;
  };
  const Case cases[] = {
      {"7", "4", "3"},     {"6", "4", "2"},       {"8", "4", "0"},
      {"5", "4", "1"},     {"-7", "4", "-3"},     {"7", "-4", "3"},
      {"7.5", "2", "1.5"}, {"-7.5", "2", "-1.5"}, {"0.3", "0.1", "0"},
      {"0", "7", "0"},     {"1E+20", "7", "2"},   {"123456789012345678901234567890", "97", "52"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " mod " << c.y);
    EXPECT_EQ(Modulus(Variant(c.x), Variant(c.y), 1), Variant(c.r));
  }
  EXPECT_EQ(test::RaisedNumber([] { Modulus(Variant("0"), Variant("0"), 0); }), -2147220499);
}

TEST(Slide, MovesDigitsOrScalesADouble) {
  std::optional<std::int32_t> limited;
  EXPECT_EQ(Slide(Variant("1.5"), 2, &limited), Variant(150.0));
  EXPECT_EQ(limited, 2);
  EXPECT_EQ(Slide(Variant("1.5"), 400, &limited), Variant(1.5e308));
  EXPECT_EQ(limited, 308);
  limited.reset();
  EXPECT_EQ(Slide(Shorts(0, {5}), -2, &limited), Shorts(-2, {5}));
  EXPECT_FALSE(limited.has_value());
  EXPECT_EQ(Slide(Variant("123456789012345678901234567890"), -3, &limited),
            Variant("123456789012345678901234567.89"));
  EXPECT_EQ(test::RaisedNumber([&] { Slide(Shorts(0, {5}), 2147483647, &limited); }),
            platform::kOverflow.number);
}

}  // namespace
}  // namespace numeron
