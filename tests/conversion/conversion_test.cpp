#include "control/conversion/conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Elements;
using test::EmptyZero;
using test::RaisedNumber;
using test::Shorts;

constexpr double kClamp = 1.79769313486231E+308;
constexpr std::int32_t kTypeMismatch = platform::kTypeMismatch.number;

TEST(ConvertToDouble, ClampsExactlyWhereIsValueOverflowHolds) {
  struct Case {
    Variant x;
    double value;
    bool overflow;
  };
  const std::string bound = "179769313486231" + std::string(294, '0');
  const Case cases[] = {
      {Shorts(400, {1}), kClamp, true},
      {Shorts(400, {-1}), -kClamp, true},
      {Variant(bound), kClamp, false},  // equal to the bound is no overflow
      {Variant(bound.substr(0, bound.size() - 1) + "1"), kClamp, true},
      {Variant("-" + bound + ".000001"), -kClamp, true},
      {Shorts(308, {1}), 1e308, false},
      {Shorts(308, {2}), kClamp, true},
      {Variant("0.3"), 0.3, false},                      // canonical: its text read back
      {Shorts(-1, {3, 0}), 0.30000000000000004, false},  // an array sums digit * 10^place
      {Variant(true), -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x).substr(0, 60));
    EXPECT_EQ(ConvertToDouble(c.x), c.value);
    EXPECT_EQ(IsValueOverflow(c.x), c.overflow);
  }
  EXPECT_EQ(RaisedNumber([] { ConvertToDouble(Variant("1,000")); }), kTypeMismatch);
}

TEST(ConvertToWhole, IsTheFloorInTheKindOfItsPath) {
  struct Case {
    Variant x;
    Variant whole;
  };
  const Case cases[] = {
      {Variant("-2.5"), Variant(-3.0)},
      {Variant(true), Variant(std::int16_t{-1})},
      {Variant("-2.50"), Variant("-3")},
      {Variant("-0.50"), Variant("-1")},  // never "-0"
      {Variant("007.5"), Variant("7")},
      {Variant(""), Variant("0")},
      {Variant("123456789012345678901234567890"), Variant("123456789012345678901234567890")},
      {Variant(1.0 / 3), Variant("0")},  // a double beyond 15 digits goes as its text
      {Shorts(-1, {-5, -2}), Shorts(0, {-3})},
      {Shorts(-1, {-5, 1}), EmptyZero()},  // worth 0.5: cut unnormalised it would give 1
      {Shorts(0, {-9, -9, -9}), Shorts(0, {-9, -9, -9})},
      {Shorts(-1, {-1, -9, -9}), Shorts(0, {0, 0, -1})},  // the borrow reaches a new place
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x));
    EXPECT_EQ(ConvertToWhole(c.x), c.whole);
  }
  EXPECT_FALSE(std::signbit(ConvertToWhole(Variant(-0.0)).real()));
  EXPECT_EQ(RaisedNumber([] { ConvertToWhole(Variant("1,000")); }), kTypeMismatch);
}

TEST(AbsoluteValue, FollowsThePathOfItsArgument) {
  struct Case {
    Variant x;
    Variant magnitude;
  };
  const Case cases[] = {
      {Variant("-3"), Variant(3.0)},
      {Variant(std::int16_t{-32768}), Variant(std::int32_t{32768})},  // widens
      {Variant(std::numeric_limits<std::int32_t>::min()), Variant(2147483648.0)},
      {Shorts(-3, {4, 5, -5, 1}), Shorts(-3, {4, 5, 5, 0})},  // normalised before signs go
      {Shorts(2, {4, 8}), Shorts(0, {0, 0, 4, 8})},
      {Variant("  -1.50 "), Variant("1.50")},
      {Variant(" 5.0 "), Variant(" 5.0 ")},  // no sign: the text as given
      {Variant(-2.0 / 3), Variant("0.666666666666667")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x));
    EXPECT_EQ(AbsoluteValue(c.x), c.magnitude);
  }
  for (const char* refused : {"abc", "--5", "-", "1.2.3"}) {
    EXPECT_EQ(RaisedNumber([&] { AbsoluteValue(Variant(refused)); }), kTypeMismatch) << refused;
  }
}

TEST(Increment, AddsOneAndChangesOnlyAnArrayArgument) {
  struct Case {
    Variant x;
    Variant next;
  };
  const Case cases[] = {
      {Variant("5"), Variant(6.0)},
      {Variant(std::int16_t{32767}), Variant(std::int32_t{32768})},
      {Variant(std::numeric_limits<std::int32_t>::max()), Variant(2147483648.0)},
      {Variant(std::string(30, '9')), Variant("1" + std::string(30, '0'))},
      {Shorts(-1, {5, 9}), Shorts(-1, {5, 0, 1})},   // the carry grows the top
      {Shorts(0, {9, 9}), Shorts(0, {0, 0, 1, 0})},  // one new place per carry step
      {Shorts(-1, {-5, 0}), Shorts(-1, {-5, 1})},    // -0.5 + 1 keeps mixed signs
      {Shorts(3, {5}), Shorts(0, {1, 0, 0, 5})},     // extended down to place 0
      {Shorts(-3, {4}), Shorts(-3, {4, 0, 0, 1})},   // and up to it
      {Elements(-2, {Variant(), Variant(std::int16_t{-5}), Variant(std::int16_t{-1})}),
       Shorts(-2, {0, -5, 0})},
      {EmptyZero(), Shorts(0, {1})},
  };
  for (Case c : cases) {
    SCOPED_TRACE(platform::Describe(c.x));
    const Variant before = c.x;
    EXPECT_EQ(Increment(c.x), c.next);
    EXPECT_EQ(c.x, before.is(platform::VariantKind::Array) ? c.next : before);
  }
  Variant full = Shorts(-1, {3, 32767});
  EXPECT_EQ(RaisedNumber([&] { Increment(full); }), platform::kOverflow.number);
  EXPECT_EQ(full, Shorts(-1, {3, 32767}));  // a failed increment leaves the array alone
}

TEST(TrimStringValue, RemovesOnlyZerosThatDoNotChangeTheValue) {
  struct Case {
    const char* text;
    const char* trimmed;
  };
  const Case cases[] = {
      {"12.500", "12.5"},
      {"0.5", ".5"},
      {"-0.50", "-.5"},
      {"007.0", "7"},
      {"-0.000", "0"},
      {"+012.50", "12.5"},
      {"12.5E1", "125"},
      {"  -7.71E-6 ", "-.00000771"},
      {"1E+20", "1E+20"},  // exponent form stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TrimStringValue(c.text), c.trimmed);
  }
  EXPECT_EQ(RaisedNumber([] { TrimStringValue("abc"); }), kTypeMismatch);
}

}  // namespace
}  // namespace numeron
