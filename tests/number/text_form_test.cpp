#include <gtest/gtest.h>

#include "control/number/number.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using test::Shorts;

using Digits = std::vector<std::int16_t>;

TEST(ConvertToString, ArraysGiveTheirTextForm) {
  struct Case {
    std::int32_t lo;
    Digits digits;
    const char* text;
  };
  const Case cases[] = {
      {0, {0}, "0"},
      {-1, {5, 0}, "0.5"},
      {-2, {-5, 0, 0}, "-0.05"},
      {0, {0, 10, 1}, "200"},
      {0, {-9, -9, 1}, "1"},
      {4, {7}, "70000"},
      {2, {10, -1}, "0"},
      {-4, {-8, 19, -19, 17, -5, 13, -12, -18, 19}, "170926.5282"},
      {0, {}, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ConvertToString(Shorts(c.lo, c.digits)), c.text);
  }
}

TEST(ConvertToString, TextsComeBackSpelledOutButOtherwiseAsWritten) {
  struct Case {
    Variant value;
    const char* text;
  };
  const Case cases[] = {
      {Variant("  -1.25e1 "), "-12.5"},
      {Variant("1E+20"), "1E+20"},  // already the general text of its number
      {Variant("1E20"), "100000000000000000000"},
      {Variant("12.5E1"), "125."},
      {Variant("1.5E-3"), "0.0015"},
      {Variant("  +823.2149711195060"), "823.2149711195060"},
      {Variant("-0.0500"), "-0.0500"},
      {Variant("007"), "007"},
      {Variant(""), ""},
      {Variant(3.141592653589793), "3.14159265358979"},
      {Variant(1e20), "1E+20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.value));
    EXPECT_EQ(ConvertToString(c.value), c.text);
  }
  EXPECT_THROW(ConvertToString(Variant("abc")), platform::RaisedError);
  EXPECT_THROW(ConvertToString(Variant("1E999999999")), platform::RaisedError);
}

TEST(HugeNumberToDouble, SumsWithinTheClampAndClampsBeyondIt) {
  const double clamp = 1.79769313486231E+308;
  EXPECT_EQ(HugeNumberToDouble(CreateHugeNumber(Variant("1E400"))), clamp);
  EXPECT_EQ(HugeNumberToDouble(CreateHugeNumber(Variant("-1E400"))), -clamp);
  EXPECT_EQ(HugeNumberToDouble(CreateHugeNumber(Variant("12.5"))), 12.5);
  EXPECT_EQ(HugeNumberToDouble(CreateHugeNumber(Variant("-0.5"))), -0.5);
  // Each digit is scaled by its own power of ten, so 0.1 is 1 * 10^-1, the nearest double.
  EXPECT_EQ(HugeNumberToDouble(CreateHugeNumber(Variant("0.1"))), 0.1);
  EXPECT_EQ(HugeNumberToDouble(HugeNumber(0, {10, 10})), 110.0);
  // Within the clamp by value, but the 2 at place 308 alone overflows a double.
  EXPECT_THROW(HugeNumberToDouble(HugeNumber(307, {-5, 2})), platform::RaisedError);
}

TEST(ResultRules, ChooseTheKindOfTheResult) {
  const HugeNumber r = CreateHugeNumber(Variant("-2.5"));
  for (std::int32_t kind : {1, 3, 7, -1}) {
    EXPECT_EQ(ResultRuleA(r, kind), Variant("-2.5"));
  }
  EXPECT_EQ(ResultRuleB(r, 1), Variant("-2.5"));
  for (std::int32_t kind : {3, 7, -1}) EXPECT_EQ(ResultRuleB(r, kind), Variant());
  EXPECT_EQ(ResultRuleA(r, 2), Variant(-2.5));
  EXPECT_EQ(ResultRuleB(r, 2), Variant(-2.5));
  EXPECT_EQ(ResultRuleB(r, 0), Shorts(-1, {-5, -2}));
}

TEST(ResultRules, ZeroFormsTravelAsVariantElementArrays) {
  const Variant empty_zero = ToVariant(HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty));
  const Variant integer_zero = ToVariant(HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer));
  EXPECT_EQ(empty_zero.array().element_kind, platform::VariantArray::ElementKind::Variant);
  EXPECT_EQ(empty_zero.array().elements, std::vector<Variant>{Variant()});
  EXPECT_EQ(integer_zero.array().elements, std::vector<Variant>{Variant(std::int16_t{0})});
  EXPECT_NE(empty_zero, integer_zero);
  EXPECT_NE(empty_zero, Shorts(0, {0}));
  // Read back, each keeps its form.
  EXPECT_EQ(ReadDigitArray(integer_zero.array()).zero_form(), HugeNumber::ZeroForm::Integer);
  EXPECT_EQ(ReadDigitArray(empty_zero.array()).zero_form(), HugeNumber::ZeroForm::Empty);
}

}  // namespace
}  // namespace numeron
