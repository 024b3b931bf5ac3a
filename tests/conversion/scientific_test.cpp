#include <gtest/gtest.h>

#include "control/conversion/conversion.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Elements;
using test::EmptyZero;
using test::Shorts;

TEST(ConvertToScientific, ArraysFromTheirDigitsTextsAsWritten) {
  struct Case {
    Variant x;
    std::string text;
  };
  const Case cases[] = {
      {Shorts(-2, {5, 4, 3, 2, 1}), "1.2345E+2"},
      {Variant("123.45"), "1.2345E+2"},
      {Shorts(-1, {-5, 0}), "-0.5E+0"},
      {Variant("-0.5"), "-0.5E+0"},
      {Variant("100"), "1.00E+2"},
      {Shorts(-1, {0, 0, 0, 1}), "1.00E+2"},  // array: trailing zero places below 0 go
      {Variant("100.0"), "1.000E+2"},         // text: every written digit stays
      {Variant("007.5"), "0.075E+2"},
      {Variant("5"), "5E+0"},
      {Shorts(-3, {-8}), "-0.008E+0"},
      {Shorts(2, {-1, -2, -2}), "-2.2100E+4"},  // wholly above place 0
      {Shorts(0, {10, 9, -1}), "0E+0"},         // worth 0
      {EmptyZero(), "0E+0"},
      {Elements(0, {Variant(std::int16_t{0})}), "0E+0"},
      {Variant("1E+20"), "1." + std::string(20, '0') + "E+20"},
      {Variant(1e20), "1." + std::string(20, '0') + "E+20"},
      {Variant("12.5E1"), "1.25E+2"},
      {Variant(".05"), "0.05E+0"},
      {Variant("-.5"), "-0.5E+0"},
      {Variant(""), "0E+0"},
      {Variant("  +60  "), "6.0E+1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.x));
    EXPECT_EQ(ConvertToScientific(c.x), c.text);
  }
  EXPECT_EQ(test::RaisedNumber([] { ConvertToScientific(Variant("ABC")); }),
            platform::kTypeMismatch.number);
}

}  // namespace
}  // namespace numeron
