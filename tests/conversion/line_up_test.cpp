#include <gtest/gtest.h>

#include <cstring>

#include "control/conversion/conversion.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::EmptyZero;
using test::Shorts;

TEST(LineUpStringValues, PadsSignsPointsAndFractions) {
  struct Case {
    Variant x1;
    Variant x2;
    std::int32_t flag;
    const char* padded1;
    const char* padded2;
  };
  const Case cases[] = {
      {Variant("1.25"), Variant("3"), 0, "1.25", "3.00"},
      {Variant("1.25"), Variant("3"), 1, "1.25", "3.  "},
      {Variant("1.25"), Variant("3"), 7, "1.25", "3.  "},  // any flag but 0 fills with blanks
      {Variant("-12.5"), Variant("3.75"), 0, "-12.50", "  3.75"},
      {Variant("12"), Variant("-3"), 0, " 12", "- 3"},
      {Variant("-642"), Variant("-60023.1"), 0, "-  642.0", "-60023.1"},
      {Variant("100"), Variant("2"), 0, "100", "  2"},  // no point: no fraction fill
      {Variant("5."), Variant("3"), 0, "5.", "3."},     // same length although nothing is filled
      {Variant("-12."), Variant("3"), 1, "-12.", "  3."},
      {Variant("+1E-3"), Variant("+20"), 0, " 0.001", "20.000"},
      {Variant("-3.8307E-10"), Variant("-3131672"), 0, "-      3.8307E-10", "-3131672.00000000"},
      {Shorts(-2, {-9, -4, 0}), Variant("981.979287"), 0, "-  0.490000", " 981.979287"},
      {EmptyZero(), Variant("12.5"), 1, " 0. ", "12.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x1) + " / " + platform::Describe(c.x2));
    Variant x1 = c.x1;
    Variant x2 = c.x2;
    EXPECT_EQ(LineUpStringValues(x1, x2, c.flag),
              static_cast<std::int32_t>(std::strlen(c.padded1)));
    EXPECT_EQ(x1, Variant(c.padded1));
    EXPECT_EQ(x2, Variant(c.padded2));
  }
}

TEST(LineUpStringValues, AFailureGivesZeroAndWritesNothing) {
  for (int bad = 0; bad < 2; ++bad) {
    Variant x1 = bad == 0 ? Variant("abc") : Shorts(0, {5});
    Variant x2 = bad == 1 ? Variant::Missing() : Variant("1.5");
    const Variant before1 = x1;
    const Variant before2 = x2;
    EXPECT_EQ(LineUpStringValues(x1, x2, 0), 0);
    EXPECT_EQ(x1, before1);
    EXPECT_EQ(x2, before2);
  }
}

TEST(LineUpStringValues, OneVariablePassedTwice) {
  Variant x = Variant("-1.5");
  EXPECT_EQ(LineUpStringValues(x, x, 0), 4);
  EXPECT_EQ(x, Variant("-1.5"));
}

}  // namespace
}  // namespace numeron
