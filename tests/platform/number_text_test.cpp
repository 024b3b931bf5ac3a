// Number texts: the general text around each switch between plain and exponent form and at the
// 15th digit, lenient and strict reading, and the integer conversions on both sides of each limit.
#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace numeron::platform {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(GeneralTextTest, MatchesFifteenDigitGeneralForm) {
  struct Case {
    double value;
    const char* expected;  // nullptr: no text
  };
  const Case cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {0.5, "0.5"},
      {123456789012345, "123456789012345"},
      {999999999999999, "999999999999999"},
      {999999999999999.4, "999999999999999"},
      {999999999999999.6, "1E+15"},  // rounding carries into the exponent form
      {1e15, "1E+15"},
      {1234567890123456.0, "1.23456789012346E+15"},
      {9999999999999999.0, "1E+16"},
      {-1.23456789012346e17, "-1.23456789012346E+17"},
      {DBL_MAX, "1.79769313486232E+308"},
      {0.0001, "0.0001"},
      {0.00012345678901234567, "0.000123456789012346"},
      {0.00009999999999999999, "0.0001"},  // rounds up out of the exponent form
      {0.0000999999999999999, "9.99999999999999E-05"},
      {0.00001, "1E-05"},
      {4.94065645841247e-324, "4.94065645841247E-324"},
      {1.0 / 3, "0.333333333333333"},
      {6.12345678900987654321, "6.12345678900988"},
      {kInf, nullptr},
      {kNaN, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected ? c.expected : "(none)");
    const std::optional<std::string> text = GeneralText(c.value);
    ASSERT_EQ(text.has_value(), c.expected != nullptr);
    if (text) {
      EXPECT_EQ(*text, c.expected);
    }
  }
}

TEST(ValTest, ReadsTheLeadingNumberLeniently) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {".", 0},
      {"--5", 0},
      {"1 2.5", 12.5},
      {" - 5", -5},
      {"\t1\r\n2", 12},
      {"1,5", 1},
      {"12.5abc", 12.5},
      {"1.2.3", 1.2},
      {"-.5", -0.5},
      {"1e3", 1000},
      {"1 e - 3", 0.001},
      {"1e", 1},
      {"1d3", 1},
      {"6.12345678900987654321", 6.12345678900987654321},
      {"9007199254740993", 9007199254740992.0},  // a tie rounds to even
      {"9007199254740993.000000000000000001", 9007199254740994.0},
      {"1e400", DBL_MAX},
      {"-1e400", -DBL_MAX},
      {"1e99999999999999999999", DBL_MAX},
      {"1e-400", 0},
      {"&H10", 16},
      {"& H 1 F", 31},
      {"&H7FFFFFFF", 2147483647},
      {"&H80000000", -2147483648.0},
      {"&HFFFFFFFF", -1},
      {"&H100000000", 4294967296.0},
      {"&H1.5", 1},
      {"&H", 0},
      {"&O17", 15},
      {"&O8", 0},
      {"&O37777777777", -1},
      {"&O40000000000", 4294967296.0},
      {"&X5", 0},
      {"-&H10", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Val(c.text), c.expected);
  }
}

TEST(ReadDoubleTest, AcceptsOnlyAPlainNumber) {
  struct Case {
    const char* text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"0", 0},
      {".5", 0.5},
      {"-0.5", -0.5},
      {"1e3", 1000},
      {"6.12345678900987654321", 6.12345678900987654321},
      {"9007199254740993", 9007199254740992.0},
      {"1.7976931348623157e308", DBL_MAX},
      {"4.9e-324", 4.9e-324},
      {"1e-400", 0},
      {"1E-99999999999999999999", 0},
      {"", std::nullopt},
      {" 5", std::nullopt},
      {".", std::nullopt},
      {"+-5", std::nullopt},
      {"1e", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,5", std::nullopt},
      {"5a", std::nullopt},
      {"&H10", std::nullopt},
      {"inf", std::nullopt},
      {"1.8e308", std::nullopt},
      {"1E99999999999999999999", std::nullopt},
      {"0.0000001E99999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadDouble(c.text), c.expected);
  }
}

TEST(ReadDoubleTest, KeepsTheSignOfZero) {
  EXPECT_TRUE(std::signbit(*ReadDouble("-0")));
  EXPECT_TRUE(std::signbit(*ReadDouble("-1e-400")));
  EXPECT_FALSE(std::signbit(*ReadDouble("1e-400")));
}

TEST(DoubleToIntegerTest, RoundsHalfToEvenWithinRange) {
  struct Case {
    double value;
    std::optional<std::int16_t> int16;
    std::optional<std::int32_t> int32;
  };
  const Case cases[] = {
      {0.5, 0, 0},
      {-0.5, 0, 0},
      {0.49999999999999994, 0, 0},
      {1.5, 2, 2},
      {2.5, 2, 2},
      {-2.5, -2, -2},
      {32767.49, 32767, 32767},
      {32767.5, std::nullopt, 32768},
      {32768, std::nullopt, 32768},
      {-32768.5, -32768, -32768},
      {-32768.51, std::nullopt, -32769},
      {2147483647.49, std::nullopt, 2147483647},
      {2147483647.5, std::nullopt, std::nullopt},
      {-2147483648.5, std::nullopt, -2147483647 - 1},
      {-2147483648.51, std::nullopt, std::nullopt},
      {1e300, std::nullopt, std::nullopt},
      {kInf, std::nullopt, std::nullopt},
      {kNaN, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value);
    EXPECT_EQ(DoubleToInt16(c.value), c.int16);
    EXPECT_EQ(DoubleToInt32(c.value), c.int32);
  }
}

}  // namespace
}  // namespace numeron::platform
