// The reference model on the cases whose answers are known by hand: unnormalised sums, the
// zero forms, the final trim of normalisation, arrays above place 0, exponent texts, the size
// limit, the double clamp, Negate by kind and the order in which faulty arguments are reported;
// the digit patterns of rows and quotients, symmetric rounding of the first dropped digit, the
// truncated remainder, the floor, the trimmed and lined-up texts, and the write-backs.
// The model is only useful if these hold.
#include "tests/reference/model.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/variant.h"
#include "tests/test_values.h"

namespace numeron::reference {
namespace {

using platform::Variant;
using platform::VariantArray;

Variant Text(std::string_view s) { return Variant(s); }
Variant I2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant I4(std::int32_t v) { return Variant(v); }
// Printed rows name 16-bit digit arrays Digits16.
Variant Digits16(std::int32_t lo, std::vector<std::int16_t> digits) {
  return test::Shorts(lo, std::move(digits));
}
using test::Elements;
using test::EmptyZero;
Variant IntegerZero() { return Elements(0, {I2(0)}); }
std::string Huge(std::int32_t lo, std::vector<std::int16_t> digits) {
  return platform::Describe(Digits16(lo, std::move(digits)));
}
std::string Real(double d) { return platform::Describe(Variant(d)); }

const std::string kOverflow = "error Overflow";
const std::string kTypeMismatch = "error Type mismatch";

struct Case {
  std::string_view function;
  std::vector<Variant> args;
  std::string expected;  // platform::Describe of the result, or "error <description>"
};

std::string Show(const Outcome& o) {
  return o.ok ? platform::Describe(o.result) : "error " + o.error.description;
}

TEST(ReferenceModel, KnownAnswers) {
  const double clamp = std::strtod("1.79769313486231E+308", nullptr);
  const std::vector<Case> cases = {
      // Add leaves its sum unnormalised and untrimmed.
      {"Add", {Text("199"), Text("1"), I4(0)}, platform::Describe(Digits16(0, {0, 10, 1}))},
      {"Add", {Text("100"), Text("-99"), I4(0)}, platform::Describe(Digits16(0, {-9, -9, 1}))},
      {"Add", {Text("9"), Text("1"), I4(0)}, platform::Describe(Digits16(0, {0, 1}))},
      {"Add", {Text("-1.5"), Text("1.5"), I4(0)}, platform::Describe(Digits16(-1, {0, 0}))},
      {"Add",
       {EmptyZero(), Digits16(-3, {0, 5, 0, 0}), I4(0)},
       platform::Describe(Digits16(-3, {0, 5, 0, 0}))},
      {"Add",
       {Elements(0, {I2(0)}), Elements(0, {I2(0)}), I4(0)},
       platform::Describe(Elements(0, {I2(0)}))},
      {"Add", {Text("1"), Text("2"), I4(5)}, "empty"},
      {"Add", {Text("1E400"), Variant(), I4(2)}, platform::Describe(Variant(clamp))},
      {"Add", {Digits16(307, {-5, 2}), Variant(), I4(2)}, kOverflow},
      {"Subtract", {Text("1"), Variant(0.001), I4(1)}, "text:\"0.999\""},
      {"Subtract", {Text("5"), Text("5"), I4(1)}, "text:\"0\""},
      // Text: normalisation ends trimmed, and holds place 0.
      {"ConvertToString", {Digits16(0, {10, -1})}, "text:\"0\""},
      {"ConvertToString", {Digits16(3, {7})}, "text:\"7000\""},
      {"ConvertToString", {Digits16(2147483642, {0, 0, 10, -1})}, "text:\"0\""},
      {"Compare", {Digits16(3, {7}), Text("7000"), I4(0)}, "bool:true"},
      {"ConvertToString", {Digits16(0, {-9, -9, 1})}, "text:\"1\""},
      {"ConvertToString", {Text("  -1.25e1 ")}, "text:\"-12.5\""},
      {"ConvertToString", {Text("12.5E1")}, "text:\"125.\""},
      {"ConvertToString", {Text("+1E-3")}, "text:\"0.001\""},
      {"ConvertToString", {Text("1,000")}, kTypeMismatch},
      // Parsing and trimming.
      {"CreateHugeNumber", {Text("0E999999999")}, platform::Describe(EmptyZero())},
      {"CreateHugeNumber", {Text("1E999999999")}, kOverflow},
      {"CreateHugeNumber", {Text("1E100000000")}, kOverflow},
      {"CreateHugeNumber", {Digits16(3, {7, 0, 0})}, platform::Describe(Digits16(3, {7}))},
      {"CreateHugeNumber", {Digits16(-2, {0, 5})}, platform::Describe(Digits16(-1, {5, 0}))},
      {"CreateHugeNumber",
       {Elements(0, {Variant(2.5), Text(" 1.5 ")})},
       platform::Describe(Digits16(0, {2, 2}))},
      {"CreateHugeNumber", {Elements(0, {Variant(32768)})}, kOverflow},
      {"CreateHugeNumber", {Text("12.5E1")}, platform::Describe(Digits16(0, {5, 2, 1}))},
      // Order.
      {"Compare", {Digits16(0, {0, 10, 1}), Text("200"), I4(0)}, "bool:true"},
      {"Compare", {Digits16(0, {0, 10, 1}), Text("200"), I4(2)}, "bool:false"},
      {"Compare", {Text("0.5"), Variant(0.25), I4(1)}, "bool:true"},
      {"Compare", {Text("12345678901234567890"), Text("12345678901234567891"), I4(2)}, "bool:true"},
      {"Compare", {Text("0"), Text("0"), I4(4)}, "bool:true"},
      // Negate by kind.
      {"Negate", {Text("")}, "text:\"0\""},
      {"Negate", {Text(" +5.0")}, "text:\"-5.0\""},
      {"Negate", {Text("5")}, "d:-5"},
      {"Negate", {I2(-32768)}, "i4:32768"},
      {"Negate", {Elements(0, {I2(0)})}, platform::Describe(Elements(0, {I2(0)}))},
      {"Negate", {Digits16(0, {-32768})}, kOverflow},
      {"Negate", {Variant(1.0 / 3.0)}, "text:\"-0.333333333333333\""},
      // Each argument is read when it is first used; y is negated before x is read.
      {"Add", {Text("abc"), Elements(0, {Variant(32767.5)}), I4(0)}, kTypeMismatch},
      {"Add", {Elements(0, {Variant(32767.5)}), Text("abc"), I4(0)}, kOverflow},
      {"Subtract", {Elements(0, {Variant(32767.5)}), Text("abc"), I4(0)}, kTypeMismatch},
      // Classification.
      {"IsNumericEx", {Variant(1.0 / 3.0)}, "bool:false"},
      {"IsNumericEx", {Text("1.50")}, "bool:false"},
      {"GetType", {Text("1E+20")}, "i4:2"},
  };
  for (const Case& c : cases) {
    std::vector<Variant> args = c.args;
    std::string row = std::string(c.function) + "(";
    for (const Variant& a : c.args) row += platform::Describe(a) + " ";
    EXPECT_EQ(Show(Call(c.function, args)), c.expected) << row << ")";
  }
}

TEST(ReferenceModel, ProductsAndQuotients) {
  const std::string kDivideByZero = "error You cannot divide a number by zero.  [Division by zero]";
  const std::vector<Case> cases = {
      // One row with one-place carries: 9 * 119 leaves 17 in the tens.
      {"Multiply", {Text("9"), Text("119"), I4(0)}, Huge(0, {1, 17, 9})},
      {"Multiply", {Text("9"), Text("119"), I4(1)}, "text:\"1071\""},
      {"Multiply", {Text("0"), Digits16(-3, {0, 5, 0}), I4(0)}, platform::Describe(IntegerZero())},
      {"Multiply", {Text("-3"), Text("4"), I4(1)}, "text:\"-12\""},
      {"Multiply", {Text("0.5"), Text("0.5"), I4(1)}, "text:\"0.25\""},
      {"Multiply", {Text("12"), Text("12"), I4(5)}, "empty"},
      // Trimming keeps a lower bound above place 0.
      {"Multiply", {Digits16(3, {7}), Digits16(2, {1}), I4(0)}, Huge(4, {0, 7})},
      // Rows are 16-bit: a carry that does not fit raises, even where the next remainder would
      // bring the place back into range; a total whose places all fit raises nothing.
      {"Multiply", {Digits16(0, {15}), Digits16(0, {-32768}), I4(1)}, kOverflow},
      {"Multiply", {Digits16(6, {-32768, 5, 10}), Digits16(5, {0, -10, 8, 0}), I4(0)}, kOverflow},
      {"Multiply",
       {Text("1448582"), Digits16(-8, {3, 11, 32767}), I4(1)},
       "text:\"47467.32329166\""},
      // The trimmed total would reach from place 0 down to place -200000000.
      {"Multiply", {Text("34.7"), Digits16(-200000000, {7}), I4(-1)}, kOverflow},
      // Quotients: one guard digit, then the first dropped digit rounds, symmetrically.
      {"Divide", {Text("1"), Text("3"), I4(10), I4(1)}, "text:\"0.3333333333\""},
      {"Divide", {Text("10"), Text("3"), I4(10), I4(1)}, "text:\"3.3333333333\""},
      {"Divide", {Text("2"), Text("3"), I4(2), I4(1)}, "text:\"0.67\""},
      {"Divide", {Text("-2"), Text("3"), I4(2), I4(1)}, "text:\"-0.67\""},
      {"Divide", {Text("2"), Text("-3"), I4(-2), I4(1)}, "text:\"-0.67\""},
      {"Divide", {Text("7"), Text("4"), I4(0), I4(1)}, "text:\"2\""},
      {"Divide", {Text("1"), Text("4"), I4(10), I4(0)}, Huge(-2, {5, 2, 0})},
      {"Divide", {Text("1"), Text("1000"), I4(1), I4(0)}, Huge(-1, {0, 0})},
      {"Divide", {Text("199"), Text("2"), I4(0), I4(1)}, "text:\"100\""},
      {"Divide",
       {Digits16(0, {10, -1}), Text("2"), I4(0), I4(0)},
       platform::Describe(IntegerZero())},
      {"Divide", {Text("0"), Text("0"), I4(10), I4(0)}, kDivideByZero},
      {"Divide", {Text("abc"), Text("0"), I4(10), I4(0)}, kTypeMismatch},
      {"Divide", {Text("0"), Text("5"), I4(-2147483648), I4(1)}, "text:\"0\""},
      {"Divide", {Text("1"), Text("3"), I4(-2147483648), I4(1)}, kOverflow},
      {"Divide", {Text("1"), Text("3"), I4(99999999), I4(1)}, kOverflow},
      {"InternalDivide", {EmptyZero(), EmptyZero(), I4(3)}, platform::Describe(IntegerZero())},
      {"InternalDivide",
       {Digits16(0, {5}), EmptyZero(), I4(3)},
       "error An internal division error has occured, due to attempted division by zero."},
      // A divisor worth 0 that is not all zeros passes the zero test; normalised, it lets every
      // trial subtraction succeed, so every digit is 9.
      {"InternalDivide", {Digits16(0, {5}), Digits16(0, {10, -1}), I4(2)}, Huge(-2, {10, 9, 9})},
      // Rounding: the first dropped digit alone, symmetric; a kept 9 may become 10.
      {"Round", {Text("0.445"), I4(1)}, Real(0.4)},
      {"Round", {Text("1.25"), I4(1)}, Real(1.3)},
      {"Round", {Text("1.24"), I4(1)}, Real(1.2)},
      {"Round", {Text("-1.26"), I4(1)}, Real(-1.3)},
      {"Round", {Text("-0.96"), I4(1)}, Real(-1)},
      {"Round", {Text("2.5"), I4(0)}, Real(3)},
      {"Round", {Text("-2.5"), I4(0)}, Real(-3)},
      {"Round", {Text("1.5"), I4(3)}, Real(1.5)},
      {"Round", {Digits16(-2, {6, 9, 9}), I4(1)}, Huge(-1, {10, 9})},
      {"Round", {Text("0.9600"), I4(1)}, "text:\"1\""},
      {"Round", {Digits16(-4, {0, 0, 5, 2, 1}), I4(3)}, Huge(-2, {5, 2, 1})},
      // The remainder of the quotient cut toward zero, exactly.
      {"Modulus", {Text("7"), Text("4"), I4(0)}, Huge(0, {3})},
      {"Modulus", {Text("6"), Text("4"), I4(1)}, "text:\"2\""},
      {"Modulus", {Text("8"), Text("4"), I4(1)}, "text:\"0\""},
      {"Modulus", {Text("-7"), Text("4"), I4(1)}, "text:\"-3\""},
      {"Modulus", {Text("7"), Text("-4"), I4(1)}, "text:\"3\""},
      {"Modulus", {Text("7.5"), Text("2"), I4(1)}, "text:\"1.5\""},
      {"Modulus", {Text("-7.5"), Text("2"), I4(7)}, "text:\"-1.5\""},
      {"Modulus", {Text("0.3"), Text("0.1"), I4(2)}, Real(0)},
      {"Modulus", {Text("123456789012345678901234567890"), Text("97"), I4(1)}, "text:\"52\""},
      {"Modulus", {Text("5"), Text("0"), I4(0)}, kDivideByZero},
      {"Modulus", {Text("0"), Text("0"), I4(0)}, kDivideByZero},
      // Slide: a plain number through a double power of ten; arrays and other text moved.
      {"Slide", {Text("1.5"), I4(2)}, Real(150)},
      {"Slide", {Text("1.5"), I4(-400)}, Real(0)},
      {"Slide", {Digits16(0, {5}), I4(-2)}, Huge(-2, {5})},
      {"Slide",
       {Text("123456789012345678901234567890"), I4(-3)},
       "text:\"123456789012345678901234567.89\""},
      {"Slide", {Digits16(-20, {}), I4(0)}, Huge(-20, {})},
      {"Slide", {Digits16(0, {5}), I4(100000000)}, kOverflow},
      // The digit-array routines of the series code: one-place carries, no shortcuts.
      {"AddDigits", {Digits16(0, {9}), Digits16(0, {1})}, Huge(0, {0, 1})},
      {"AddDigits", {Digits16(0, {5}), Digits16(0, {4})}, Huge(0, {9})},
      {"AddDigits", {Digits16(-1, {5, 9}), Digits16(-1, {5, 0})}, Huge(-1, {0, 10})},
      {"AddDigits", {Digits16(-1, {5, 0}), Digits16(-1, {-7, 0})}, Huge(-1, {-2, 0})},
      {"AddDigits", {EmptyZero(), EmptyZero()}, Huge(0, {0})},
      {"MultiplyDigits", {Digits16(0, {2, 1}), Digits16(0, {2, 1})}, Huge(0, {4, 4, 1})},
      {"MultiplyDigits", {Digits16(0, {-3}), Digits16(-1, {5, 0})}, Huge(-1, {-5, -1})},
      {"MultiplyDigits", {EmptyZero(), Digits16(0, {5})}, platform::Describe(EmptyZero())},
      {"IncrementDigits", {Digits16(0, {9, 9})}, Huge(0, {0, 0, 1, 0})},
      {"IncrementDigits", {Digits16(0, {-5})}, Huge(0, {-4})},
      {"IncrementDigits", {Digits16(-1, {-5, 0})}, Huge(-1, {-5, 1})},
      {"IncrementDigits", {Digits16(0, {10})}, Huge(0, {1, 1})},
      {"IncrementDigits", {Digits16(2, {7})}, Huge(0, {1, 0, 7})},
      {"IncrementDigits", {Digits16(0, {32767})}, kOverflow},
  };
  for (const Case& c : cases) {
    std::vector<Variant> args = c.args;
    std::string row = std::string(c.function) + "(";
    for (const Variant& a : c.args) row += platform::Describe(a) + " ";
    EXPECT_EQ(Show(Call(c.function, args)), c.expected) << row << ")";
  }
}

TEST(ReferenceModel, ConversionsAndDisplay) {
  const double clamp = std::strtod("1.79769313486231E+308", nullptr);
  const std::vector<Case> cases = {
      {"ConvertToDouble", {Digits16(400, {1})}, Real(clamp)},
      {"ConvertToDouble", {Digits16(400, {-1})}, Real(-clamp)},
      {"ConvertToDouble", {Text("12.50")}, Real(12.5)},
      {"ConvertToDouble", {Variant(-0.0)}, Real(0.0)},
      {"IsValueOverflow", {Digits16(308, {1})}, "bool:false"},
      {"IsValueOverflow", {Digits16(308, {2})}, "bool:true"},
      {"IsValueOverflow", {Text("-1.79769313486231E+308")}, "bool:false"},
      {"IsValueOverflow", {Text("-1.797693134862310001E+308")}, "bool:true"},
      // The floor on every path.
      {"ConvertToWhole", {Text("-2.5")}, Real(-3)},
      {"ConvertToWhole", {Text("2.5")}, Real(2)},
      {"ConvertToWhole", {Digits16(-1, {-5, -2})}, Huge(0, {-3})},
      {"ConvertToWhole", {Digits16(-1, {-5, 1})}, platform::Describe(EmptyZero())},
      {"ConvertToWhole", {Text("-2.50")}, "text:\"-3\""},
      {"ConvertToWhole", {Text("-0.50")}, "text:\"-1\""},
      {"ConvertToWhole", {Text("007.5")}, "text:\"7\""},
      {"ConvertToWhole", {Text("")}, "text:\"0\""},
      {"ConvertToWhole",
       {Text("123456789012345678901234567890")},
       "text:\"123456789012345678901234567890\""},
      {"ConvertToWhole", {Variant(true)}, "i2:-1"},
      {"AbsoluteValue", {Text("-3")}, Real(3)},
      {"AbsoluteValue", {I2(-32768)}, "i4:32768"},
      {"AbsoluteValue", {Digits16(-1, {5, -3, -1})}, Huge(-1, {5, 2, 1})},
      {"AbsoluteValue", {Text(" +5.0 ")}, "text:\"5.0\""},
      {"AbsoluteValue", {Text("-1.50")}, "text:\"1.50\""},
      {"AbsoluteValue", {Text(" 1.50")}, "text:\" 1.50\""},
      {"AbsoluteValue", {Text("--5")}, kTypeMismatch},
      {"Increment", {Text("5")}, Real(6)},
      {"Increment", {I2(32767)}, "i4:32768"},
      {"Increment", {I4(2147483647)}, Real(2147483648.0)},
      {"Increment", {Variant(true)}, "i2:0"},
      {"Increment", {Digits16(-1, {5, 9})}, Huge(-1, {5, 0, 1})},
      {"Increment", {Digits16(-1, {-5, 0})}, Huge(-1, {-5, 1})},
      {"Increment", {Text("12345678901234567890")}, "text:\"12345678901234567891\""},
      // Only the zeros that do not change the value go.
      {"TrimStringValue", {Text("12.500")}, "text:\"12.5\""},
      {"TrimStringValue", {Text("0.5")}, "text:\".5\""},
      {"TrimStringValue", {Text("0")}, "text:\"0\""},
      {"TrimStringValue", {Text("100")}, "text:\"100\""},
      {"TrimStringValue", {Text("-12.5")}, "text:\"-12.5\""},
      {"TrimStringValue", {Text("-0.50")}, "text:\"-.5\""},
      {"TrimStringValue", {Text("007.0")}, "text:\"7\""},
      {"TrimStringValue", {Text("0.000")}, "text:\"0\""},
      {"TrimStringValue", {Text("+012.50")}, "text:\"12.5\""},
      {"TrimStringValue", {Text("1E+20")}, "text:\"1E+20\""},
      {"TrimStringValue", {Variant(2.5)}, "text:\"2.5\""},
      {"TrimStringValue", {Digits16(0, {5})}, kTypeMismatch},
      // Digit places of the normal form.
      {"GetDigit", {Text("1234.5"), Variant(2.0)}, "i2:2"},
      {"GetDigit", {Text("1234.5"), Variant(-1.0)}, "i2:5"},
      {"GetDigit", {Text("1234.5"), Variant(7.0)}, "i2:0"},
      {"GetDigit", {Text("-1234.5"), Variant(0.0)}, "i2:-4"},
      {"GetDigit", {Text("1234.5"), Variant(2.5)}, "i2:2"},
      {"GetDigit", {Text("1234.5"), Variant(3.5)}, "i2:0"},
      {"GetDigit", {Digits16(-1, {-5, 1}), Variant(-1.0)}, "i2:5"},
      {"GetDigit", {Text("abc"), Variant(0.0)}, "i2:0"},
      {"GetHighestPlace", {Text("600")}, "i4:2"},
      {"GetHighestPlace", {Text("0.05")}, "i4:0"},
      {"GetLowestPlace", {Text("1.45")}, "i2:-2"},
      {"GetLowestPlace", {Digits16(3, {7})}, "i2:0"},
      {"GetLowestPlace", {Digits16(-10, {0, 0, 0, 0, 0, 0, 0, 0, 5, 2, 0})}, "i2:-2"},
      {"GetLowestPlace", {Digits16(-32769, {1})}, kOverflow},
      // Scientific notation keeps every digit of the text.
      {"ConvertToScientific", {Text("123.45")}, "text:\"1.2345E+2\""},
      {"ConvertToScientific", {Digits16(-2, {5, 4, 3, 2, 1})}, "text:\"1.2345E+2\""},
      {"ConvertToScientific", {Text("-0.5")}, "text:\"-0.5E+0\""},
      {"ConvertToScientific", {Text("100")}, "text:\"1.00E+2\""},
      {"ConvertToScientific", {Text("007.5")}, "text:\"0.075E+2\""},
      {"ConvertToScientific", {Text("1E+20")}, "text:\"1.00000000000000000000E+20\""},
      {"ConvertToScientific", {Text(".05")}, "text:\"0.05E+0\""},
      {"ConvertToScientific", {Text("-.5")}, "text:\"-0.5E+0\""},
      {"ConvertToScientific", {Text("")}, "text:\"0E+0\""},
      {"ConvertToScientific", {Digits16(0, {-7})}, "text:\"-7E+0\""},
      {"ConvertToScientific", {Text("ABC")}, kTypeMismatch},
  };
  for (const Case& c : cases) {
    std::vector<Variant> args = c.args;
    std::string row = std::string(c.function) + "(";
    for (const Variant& a : c.args) row += platform::Describe(a) + " ";
    EXPECT_EQ(Show(Call(c.function, args)), c.expected) << row << ")";
  }
}

// Round, Slide, Increment and LineUpStringValues change their caller's variables.
TEST(ReferenceModel, WriteBacks) {
  struct WriteBack {
    std::string_view function;
    std::vector<Variant> args;
    std::string expected;
    std::vector<Variant> after;
  };
  const std::vector<WriteBack> cases = {
      // Round stores |DecimalPlace| before it reads the number, so a failure leaves it stored.
      {"Round", {Text("1.26"), I4(-2)}, Real(1.26), {Text("1.26"), I4(2)}},
      {"Round", {Text("abc"), I4(-2)}, kTypeMismatch, {Text("abc"), I4(2)}},
      {"Round", {Text("1"), I4(-2147483647 - 1)}, Real(1), {Text("1"), I4(2147483647)}},
      // Slide stores the limited shift on the numeric path only.
      {"Slide", {Text("1.5"), I4(400)}, Real(1.5e308), {Text("1.5"), I4(308)}},
      {"Slide", {Text("1.5"), I4(-400)}, Real(0), {Text("1.5"), I4(-324)}},
      {"Slide",
       {Text("1.50"), I4(400)},
       "text:\"15" + std::string(399, '0') + "\"",
       {Text("1.50"), I4(400)}},
      // Increment changes the caller's array itself, which comes back as 16-bit digits; a
      // failure leaves it alone.
      {"Increment", {Digits16(-1, {5, 9})}, Huge(-1, {5, 0, 1}), {Digits16(-1, {5, 0, 1})}},
      {"Increment", {EmptyZero()}, Huge(0, {1}), {Digits16(0, {1})}},
      {"Increment", {Digits16(0, {32767})}, kOverflow, {Digits16(0, {32767})}},
      {"Increment", {Text("5")}, Real(6), {Text("5")}},
      // LineUpStringValues writes both padded texts back, or nothing when it fails.
      {"LineUpStringValues",
       {Text("1.25"), Text("3"), I4(0)},
       "i4:4",
       {Text("1.25"), Text("3.00"), I4(0)}},
      {"LineUpStringValues",
       {Text("1.25"), Text("3"), I4(1)},
       "i4:4",
       {Text("1.25"), Text("3.  "), I4(1)}},
      {"LineUpStringValues",
       {Text("-12.5"), Text("3.75"), I4(0)},
       "i4:6",
       {Text("-12.50"), Text("  3.75"), I4(0)}},
      {"LineUpStringValues",
       {Text("12"), Text("-3"), I4(0)},
       "i4:3",
       {Text(" 12"), Text("- 3"), I4(0)}},
      {"LineUpStringValues",
       {Text("100"), Text("2"), I4(0)},
       "i4:3",
       {Text("100"), Text("  2"), I4(0)}},
      {"LineUpStringValues",
       {Text("5."), Text("3"), I4(0)},
       "i4:2",
       {Text("5."), Text("3."), I4(0)}},
      {"LineUpStringValues",
       {Digits16(-1, {5, 2}), I2(3), I4(1)},
       "i4:3",
       {Text("2.5"), Text("3. "), I4(1)}},
      {"LineUpStringValues",
       {Text("abc"), Text("3"), I4(0)},
       "i4:0",
       {Text("abc"), Text("3"), I4(0)}},
  };
  for (const WriteBack& c : cases) {
    std::vector<Variant> args = c.args;
    std::string row = std::string(c.function) + "(";
    for (const Variant& a : c.args) row += platform::Describe(a) + " ";
    EXPECT_EQ(Show(Call(c.function, args)), c.expected) << row << ")";
    ASSERT_EQ(args.size(), c.after.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
      EXPECT_EQ(platform::Describe(args[i]), platform::Describe(c.after[i]))
          << row << ") argument " << i;
    }
  }
}

}  // namespace
}  // namespace numeron::reference
