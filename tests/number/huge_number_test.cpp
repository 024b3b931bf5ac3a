#include "control/number/huge_number.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace numeron {
namespace {

using Digits = std::vector<std::int16_t>;

struct Case {
  std::int32_t lo;
  Digits digits;
  std::int32_t want_lo;
  Digits want;
};

void ExpectDigits(const HugeNumber& n, std::int32_t lo, const Digits& digits) {
  EXPECT_EQ(n.low(), lo);
  EXPECT_EQ(n.digits(), digits);
}

TEST(TrimZeroPlaces, KeepsPlaceZeroAndInnerZeros) {
  const Case cases[] = {
      {0, {0, 0, 6}, 0, {0, 0, 6}},       // 600 stays
      {-3, {0, 5, 0, 0}, -2, {5, 0, 0}},  // 0.05 loses the zero below its last digit
      {-2, {0, 5}, -1, {5, 0}},           // wholly below place 0: extended up to it
      {3, {7, 0, 0}, 3, {7}},             // a lower bound above 0 stays
      {-1, {0, 4, 0, 0, 0}, 0, {4}},      // top zeros go, down to place 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "lo " << c.lo);
    HugeNumber n(c.lo, c.digits);
    TrimZeroPlaces(n);
    ExpectDigits(n, c.want_lo, c.want);
    EXPECT_EQ(n.zero_form(), HugeNumber::ZeroForm::None);
  }
}

TEST(TrimZeroPlaces, AnyZeroBecomesTheEmptyZeroForm) {
  for (HugeNumber n : {HugeNumber(-4, {0, 0, 0}), HugeNumber(5, {0}), HugeNumber(0, {}),
                       HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer)}) {
    TrimZeroPlaces(n);
    ExpectDigits(n, 0, {0});
    EXPECT_EQ(n.zero_form(), HugeNumber::ZeroForm::Empty);
  }
}

TEST(UnifyDigitSigns, GivesTheNormalForm) {
  const Case cases[] = {
      {0, {-9, -9, 1}, 0, {1}},       // 100 - 99
      {0, {0, 10, 1}, 0, {0, 0, 2}},  // 199 + 1
      {-1, {-10, 1}, 0, {0}},         // worth 0
      {0, {10, -1}, 0, {0}},          // the carry leaves only zeros
      {3, {7}, 0, {0, 0, 0, 7}},                     // wholly above place 0: reaches down to it
      {3, {-12, 5}, 0, {0, 0, 0, 8, 3}},             // 38000
      {-2, {-8, -19, 11, 13}, -2, {2, 0, 9, 3, 1}},  // 139.02
      {-2, {-7, 17, 15, -17, 15, 16, -14}, -2, {-7, -3, -3, -5, -6, -2, -2, -1}},
      {0, {17, 17, 17}, 0, {7, 8, 8, 1}},  // carries chain into a new top place
      {-1, {5, -1}, -1, {-5, 0}},          // -0.5: the sign of a pure fraction sits below 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "lo " << c.lo);
    HugeNumber n(c.lo, c.digits);
    UnifyDigitSigns(n);
    ExpectDigits(n, c.want_lo, c.want);
  }
}

TEST(UnifyDigitSigns, OverflowsWhenACarryCannotBeHeldInSixteenBits) {
  HugeNumber n(0, {10, 32767});
  EXPECT_THROW(UnifyDigitSigns(n), platform::RaisedError);
}

TEST(RedimDigits, WidensAndCutsWithoutTouchingTheSource) {
  const HugeNumber n(-2, {1, 2, 3});
  ExpectDigits(RedimDigits(n, -4, 1), -4, {0, 0, 1, 2, 3, 0});
  ExpectDigits(RedimDigits(n, -1, -1), -1, {2});
  ExpectDigits(RedimDigits(n, 5, 6), 5, {0, 0});
  ExpectDigits(n, -2, {1, 2, 3});
}

TEST(Limits, RefuseRangesBeyondTheMaximumOrOutsideThirtyTwoBits) {
  EXPECT_NO_THROW(HugeNumber::Zeros(-kMaxPlaces + 1, 0));
  EXPECT_THROW(HugeNumber::Zeros(-kMaxPlaces, 0), platform::RaisedError);
  EXPECT_THROW(HugeNumber::Zeros(2147483647, 2147483648LL), platform::RaisedError);
  EXPECT_THROW(HugeNumber::Zeros(-2147483649LL, -2147483648LL), platform::RaisedError);
}

TEST(FindLowestNonZeroPlace, LooksOnlyUpToPlaceZero) {
  EXPECT_EQ(FindLowestNonZeroPlace(HugeNumber(0, {0, 0, 6})), 0);
  EXPECT_EQ(FindLowestNonZeroPlace(HugeNumber(-2, {5, 0, 0})), -2);
  EXPECT_EQ(FindLowestNonZeroPlace(HugeNumber(-3, {0, 0, 4, 1})), -1);
}

}  // namespace
}  // namespace numeron
