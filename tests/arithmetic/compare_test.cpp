#include <gtest/gtest.h>

#include "control/arithmetic/arithmetic.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Shorts;

// Each operator against a sorted table: every pair must agree with the order of the rows.
TEST(Compare, AgreesPairwiseWithASortedTable) {
  const Variant sorted[] = {
      Variant("-1E+20"),
      Variant("-12345678901234567891"),
      Variant("-12345678901234567890"),
      Variant(-2.5),
      Shorts(-1, {-5, 0}),  // -0.5
      Variant("-0.05"),
      Variant(""),
      Variant("0.05"),
      Variant("0.25"),
      Variant(0.5),
      Variant(std::int16_t{1}),
      Shorts(0, {0, 10, 1}),  // 200, unnormalised
      Shorts(3, {7}),         // 7000, wholly above place 0
      Variant("12345678901234567890"),
      Variant("12345678901234567891"),
  };
  const int n = static_cast<int>(std::size(sorted));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      SCOPED_TRACE(platform::Describe(sorted[i]) + " vs " + platform::Describe(sorted[j]));
      EXPECT_EQ(Compare(sorted[i], sorted[j], 0), i == j);
      EXPECT_EQ(Compare(sorted[i], sorted[j], 1), i > j);
      EXPECT_EQ(Compare(sorted[i], sorted[j], 2), i < j);
      EXPECT_EQ(Compare(sorted[i], sorted[j], 3), i != j);
      EXPECT_EQ(Compare(sorted[i], sorted[j], 4), i >= j);
      EXPECT_EQ(Compare(sorted[i], sorted[j], 5), i <= j);
    }
  }
}

TEST(Compare, EqualMeansEqualInValue) {
  EXPECT_TRUE(Compare(Variant("1.50"), Variant("1.5"), 0));
  EXPECT_TRUE(Compare(Variant("007"), Variant("7"), 0));
  EXPECT_TRUE(Compare(Variant("-0"), Variant("0"), 0));
  EXPECT_TRUE(Compare(Shorts(0, {0, 10, 1}), Variant("200"), 0));
  EXPECT_TRUE(Compare(Shorts(3, {7}), Variant("7000"), 0));
  EXPECT_TRUE(Compare(Shorts(0, {10, -1}), Variant("0"), 4));
}

TEST(Compare, AnOperatorOutsideTheEnumerationIsFalseButOperandsAreStillRead) {
  EXPECT_FALSE(Compare(Variant("1"), Variant("1"), 6));
  EXPECT_FALSE(Compare(Variant("1"), Variant("1"), -1));
  EXPECT_THROW(Compare(Variant("1"), Variant("x"), 6), platform::RaisedError);
}

// Far-apart places cost their digits, not their span; the greater-than test still subtracts,
// and a difference beyond the place limit overflows.
TEST(Compare, FarApartPlaces) {
  EXPECT_TRUE(Compare(Variant("1E+90000000"), Variant("1"), 1));
  EXPECT_TRUE(Compare(Variant("-1E+90000000"), Variant("1E-9000000"), 2));
  EXPECT_FALSE(Compare(Variant("1E+60000000"), Variant("1E-40000000"), 0));
  EXPECT_THROW(Compare(Variant("1E+60000000"), Variant("1E-40000000"), 5), platform::RaisedError);
}

}  // namespace
}  // namespace numeron
