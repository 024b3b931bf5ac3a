#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "control/conversion/conversion.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::RaisedNumber;
using test::Shorts;

TEST(GetDigit, ReadsTheNearestPlaceHalvesToEven) {
  struct Case {
    Variant x;
    double place;
    std::int16_t digit;
  };
  const Variant n = Variant("1234.56");
  const Case cases[] = {
      {n, 2, 2},
      {n, -1, 5},
      {n, 2.5, 2},                   // place 2, not 3
      {n, 1.5, 2},                   // place 2, not 1
      {n, -1.5, 6},                  // place -2
      {n, -0.5, 4},                  // place 0, not -1
      {n, 3.5, 0},                   // above the highest place, although it rounds to 4
      {n, -2.5, 0},                  // below the lowest place, although it rounds to it
      {Variant("-1234.5"), 0, -4},   // the digit carries the sign
      {Shorts(-1, {-5, 1}), -1, 5},  // read from the normal form of 0.5
      {Shorts(2, {-10, -7}), 3, -8},  // -8000
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << platform::Describe(c.x) << " @" << c.place);
    EXPECT_EQ(GetDigit(c.x, c.place), c.digit);
  }
}

TEST(GetDigit, NeverRaises) {
  EXPECT_EQ(GetDigit(Variant("abc"), 0), 0);
  EXPECT_EQ(GetDigit(Variant("1E999999999"), 0), 0);  // too many places
  EXPECT_EQ(GetDigit(Variant("5"), std::nan("")), 0);
  EXPECT_EQ(GetDigit(Variant("5"), std::numeric_limits<double>::infinity()), 0);
}

TEST(HighestAndLowestPlace, ComeFromTheNormalForm) {
  struct Case {
    Variant x;
    std::int32_t highest;
    std::int16_t lowest;
  };
  const Case cases[] = {
      {Variant("600"), 2, 0},
      {Variant("-0.05"), 0, -2},
      {Variant("4.08E+52"), 52, 0},
      {Shorts(-10, {0, 0, 0, 0, 0, 0, 0, 0, 5, 2, 0}), 0, -2},  // extra zero places
      {Shorts(3, {7}), 3, 0},        // wholly above place 0: reaches down to it
      {Shorts(-1, {-10, 1}), 0, 0},  // worth 0 although its lowest place is -1
      {Shorts(2, {-10, -7}), 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x));
    EXPECT_EQ(GetHighestPlace(c.x), c.highest);
    EXPECT_EQ(GetLowestPlace(c.x), c.lowest);
  }
}

TEST(HighestAndLowestPlace, RaiseForBadTextAndAPlaceBelowSixteenBits) {
  EXPECT_EQ(GetLowestPlace(Variant("1E-32768")), -32768);
  EXPECT_EQ(RaisedNumber([] { GetLowestPlace(Variant("1E-32769")); }), platform::kOverflow.number);
  EXPECT_EQ(GetHighestPlace(Variant("1E-32769")), 0);
  EXPECT_EQ(RaisedNumber([] { GetHighestPlace(Variant("abc")); }), platform::kTypeMismatch.number);
  EXPECT_EQ(RaisedNumber([] { GetLowestPlace(Variant("abc")); }), platform::kTypeMismatch.number);
}

}  // namespace
}  // namespace numeron
