#include <gtest/gtest.h>

#include <limits>

#include "control/number/number.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using Digits = std::vector<std::int16_t>;

std::int32_t ErrorNumber(const Variant& value) {
  return test::RaisedNumber([&] { CreateHugeNumber(value); });
}

TEST(CreateHugeNumber, ReadsTextsIntoTrimmedForm) {
  struct Case {
    const char* text;
    std::int32_t lo;
    Digits digits;
  };
  const Case cases[] = {
      {"1.", 0, {1}},
      {".5", -1, {5, 0}},
      {"1E5", 0, {0, 0, 0, 0, 0, 1}},
      {"1.5E-3", -4, {5, 1, 0, 0, 0}},
      {"12.5E1", 0, {5, 2, 1}},
      {" +7.64 ", -2, {4, 6, 7}},
      {"000815.29", -2, {9, 2, 5, 1, 8}},
      {"-8549.074323", -6, {-3, -2, -3, -4, -7, 0, -9, -4, -5, -8}},
      {"-0.05", -2, {-5, 0, 0}},
      {"0.0001E4", 0, {1}},
      {"123E-5", -5, {3, 2, 1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const HugeNumber n = CreateHugeNumber(Variant(c.text));
    EXPECT_EQ(n.low(), c.lo);
    EXPECT_EQ(n.digits(), c.digits);
    EXPECT_EQ(n.zero_form(), HugeNumber::ZeroForm::None);
  }
}

TEST(CreateHugeNumber, EveryZeroIsTheEmptyZeroForm) {
  for (const Variant& v :
       {Variant(""), Variant("   "), Variant("-0"), Variant("0E999999999"), Variant("000.000"),
        Variant(), Variant(0.0), Variant(-0.0), Variant(std::int16_t{0}), Variant(false)}) {
    SCOPED_TRACE(platform::Describe(v));
    const HugeNumber n = CreateHugeNumber(v);
    EXPECT_EQ(n.zero_form(), HugeNumber::ZeroForm::Empty);
    EXPECT_EQ(n.digits(), Digits{0});
  }
}

TEST(CreateHugeNumber, NumbersGoThroughTheirFifteenDigitText) {
  EXPECT_EQ(HugeNumberToText(CreateHugeNumber(Variant(0.1))), "0.1");
  EXPECT_EQ(HugeNumberToText(CreateHugeNumber(Variant(1.0 / 3))), "0.333333333333333");
  EXPECT_EQ(HugeNumberToText(CreateHugeNumber(Variant(1e20))), "100000000000000000000");
  EXPECT_EQ(HugeNumberToText(CreateHugeNumber(Variant(true))), "-1");
  EXPECT_EQ(HugeNumberToText(CreateHugeNumber(Variant(std::int32_t{-2147483647 - 1}))),
            "-2147483648");
  // A text keeps every digit; the same digits as a double keep fifteen.
  const char* forty = "1234567890123456789012345678901234567890";
  EXPECT_EQ(HugeNumberToText(CreateHugeNumber(Variant(forty))), forty);
}

TEST(CreateHugeNumber, ArraysAreTrimmedButNeitherCarriedNorUnified) {
  platform::VariantArray shorts{-1, platform::VariantArray::ElementKind::Int16, {-10, 1}, {}};
  HugeNumber n = CreateHugeNumber(Variant(shorts));
  EXPECT_EQ(n.low(), -1);
  EXPECT_EQ(n.digits(), (Digits{-10, 1}));

  platform::VariantArray mixed{0, platform::VariantArray::ElementKind::Variant, {}, {}};
  mixed.elements = {Variant(), Variant(2.5), Variant(3.5), Variant("4"), Variant(true)};
  n = CreateHugeNumber(Variant(mixed));
  EXPECT_EQ(n.digits(), (Digits{0, 2, 4, 4, -1}));  // halves go to the even digit
}

TEST(CreateHugeNumber, RefusesWhatIsNotANumber) {
  constexpr std::int32_t kTypeMismatch = platform::kTypeMismatch.number;
  constexpr std::int32_t kOverflow = platform::kOverflow.number;
  struct Case {
    Variant value;
    std::int32_t error;
  };
  platform::VariantArray too_big_digit{0, platform::VariantArray::ElementKind::Variant, {}, {}};
  too_big_digit.elements = {Variant(40000.0)};
  platform::VariantArray bound_past_32_bits{
      2147483647, platform::VariantArray::ElementKind::Int16, {1, 2}, {}};
  const Case cases[] = {
      {Variant("abc"), kTypeMismatch},
      {Variant("1.2.3"), kTypeMismatch},
      {Variant("1,000"), kTypeMismatch},
      {Variant("+-5"), kTypeMismatch},
      {Variant("1E"), kTypeMismatch},
      {Variant("1 000"), kTypeMismatch},
      {Variant("\t1"), kTypeMismatch},
      {Variant::Missing(), kTypeMismatch},
      {Variant("1E999999999"), kOverflow},
      {Variant("1E99999999999999999999999"), kOverflow},
      {Variant(std::numeric_limits<double>::infinity()), kOverflow},
      {Variant(too_big_digit), kOverflow},
      {Variant(bound_past_32_bits), kOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.value));
    EXPECT_EQ(ErrorNumber(c.value), c.error);
  }
}

TEST(CreateHugeNumber, TheLimitIsAHundredMillionPlaces) {
  EXPECT_EQ(CreateHugeNumber(Variant("1E99999999")).size(), kMaxPlaces);
  EXPECT_EQ(ErrorNumber(Variant("1E100000000")), platform::kOverflow.number);
  EXPECT_EQ(CreateHugeNumber(Variant("0001E99999999")).size(), kMaxPlaces);
}

TEST(IsNumericEx, AcceptsExactlyTheGeneralTextOfANumber) {
  struct Case {
    Variant value;
    bool numeric;
  };
  const Case cases[] = {
      {Variant("123"), true},
      {Variant("-1.5"), true},
      {Variant("1E+20"), true},
      {Variant("999999999999999"), true},
      {Variant("1.50"), false},
      {Variant(" 12"), false},
      {Variant(".5"), false},
      {Variant("007"), false},
      {Variant("1E5"), false},
      {Variant(""), false},
      {Variant("-0"), false},
      {Variant("1E+400"), false},
      {Variant("1234567890123456"), false},
      {Variant(), true},
      {Variant(true), true},
      {Variant(0.5), true},
      {Variant(1.0 / 3), false},
      {Variant::Missing(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.value));
    EXPECT_EQ(IsNumericEx(c.value), c.numeric);
    EXPECT_EQ(GetType(c.value), c.numeric ? double_value : String_Value);
  }
  EXPECT_FALSE(IsNumericEx(Variant(platform::VariantArray{})));
  EXPECT_EQ(GetType(Variant(platform::VariantArray{})), Huge_Number);
}

}  // namespace
}  // namespace numeron
