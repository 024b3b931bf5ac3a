// The single-call form: written arguments, printed values, the Return_Type default and the
// interface listing.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/cli/fake_object.h"

namespace numeron::cli {
namespace {

using platform::Variant;
using platform::VariantArray;

struct ArgCase {
  const char* written;
  const char* described;  // nullptr: refused
};

TEST(ParseCommandArg, ReadsPrefixesAndRefusesBadOnes) {
  const ArgCase cases[] = {
      {"1.5", "text:\"1.5\""},
      {"1:2", "text:\"1:2\""},  // not a word before the colon
      {"text:i2:5", "text:\"i2:5\""},
      {"i2:-32768", "i2:-32768"},
      {"i2:+7", "i2:7"},
      {"d:1.5", "d:1.5"},
      {"d:-2E+20", "d:-2e+20"},
      {"d:+.25", "d:0.25"},
      {"b:true", "bool:true"},
      {"b:False", "bool:false"},
      {"empty:", "empty"},
      {"missing:", "missing"},
      {"huge:-1:5,1", "array[-1..0 i2]{5,1}"},
      {"huge:0:", "array[0..-1 i2]{}"},
      {"huge:0:,3,", "array[0..2 var]{empty,i2:3,empty}"},
      // Refused.
      {"i2:32768", nullptr},
      {"i2:1.0", nullptr},
      {"i4:2147483648", nullptr},
      {"d:1.5.2", nullptr},
      {"d:1e999", nullptr},
      {"b:yes", nullptr},
      {"empty:x", nullptr},
      {"huge:x:1", nullptr},
      {"huge:0:1,a", nullptr},
      {"huge:2147483647:1,2", nullptr},
      {"i8:5", nullptr},
  };
  for (const ArgCase& c : cases) {
    SCOPED_TRACE(c.written);
    Variant value;
    std::string why;
    const bool ok = ParseCommandArg(c.written, &value, &why);
    if (c.described) {
      ASSERT_TRUE(ok) << why;
      EXPECT_EQ(platform::Describe(value), c.described);
    } else {
      EXPECT_FALSE(ok) << platform::Describe(value);
      EXPECT_FALSE(why.empty());
    }
  }
}

TEST(FormatValue, PrintsEachKind) {
  VariantArray digits;
  digits.lower_bound = -2;
  digits.digits = {5, 0, -1};
  VariantArray elements;
  elements.element_kind = VariantArray::ElementKind::Variant;
  elements.elements = {Variant(), Variant(std::int16_t{3})};
  const std::pair<Variant, const char*> cases[] = {
      {Variant(), ""},
      {Variant(true), "True"},
      {Variant(std::int16_t{-5}), "-5"},
      {Variant(0.1), "0.1"},
      {Variant(1e15), "1E+15"},
      {Variant(2.0 / 3.0), "0.666666666666667"},
      {Variant(-HUGE_VAL), "-inf"},
      {Variant("  1.50 "), "  1.50 "},
      {Variant(digits), "huge:-2:5,0,-1"},
      {Variant(elements), "huge:0:,3"},
  };
  for (const auto& [value, printed] : cases) {
    EXPECT_EQ(FormatValue(value), printed) << platform::Describe(value);
  }
}

TEST(AddReturnTypeDefault, FillsTheGapUpToReturnType) {
  const platform::MemberDesc& show = *testing::FakeLibrary().Find("Show");  // Return_Type is 3rd
  const platform::MemberDesc& echo = *testing::FakeLibrary().Find("Echo");
  struct Case {
    const platform::MemberDesc* member;
    std::vector<Variant> given;
    const char* passed;
  };
  const Case cases[] = {
      {&show, {}, "missing missing i4:1"},
      {&show, {Variant("1")}, "text:\"1\" missing i4:1"},
      // Given: left as the user wrote it.
      {&show, {Variant("1"), Variant("2"), Variant(std::int32_t{0})}, "text:\"1\" text:\"2\" i4:0"},
      {&show,
       {Variant("1"), Variant("2"), Variant::Missing(), Variant("L")},
       "text:\"1\" text:\"2\" missing text:\"L\""},
      {&echo, {}, ""},
  };
  for (const Case& c : cases) {
    std::vector<Variant> args = c.given;
    AddReturnTypeDefault(*c.member, &args);
    std::string passed;
    for (const Variant& v : args) passed += (passed.empty() ? "" : " ") + platform::Describe(v);
    EXPECT_EQ(passed, c.passed);
  }
}

TEST(FormatInterface, ListsMembersWithParametersAndEnumerations) {
  const std::string listing = FormatInterface(testing::FakeLibrary());
  EXPECT_NE(listing.find("0x60030001 Echo(Value: Variant): Variant  -- Returns the value.\n"),
            std::string::npos)
      << listing;
  EXPECT_NE(listing.find("0x60030012 Show(Number1: Variant, [Number2: Variant], "
                         "[Return_Type: ReturnKind = 0], [Label: String = \"x\"]): Variant"),
            std::string::npos)
      << listing;
  const auto members_end = listing.find("0x60030012");
  const auto enum_at = listing.find("enum ReturnKind");
  ASSERT_NE(enum_at, std::string::npos);
  EXPECT_GT(enum_at, members_end);
  EXPECT_NE(listing.find("  rkText = 1\n", enum_at), std::string::npos);
}

}  // namespace
}  // namespace numeron::cli
