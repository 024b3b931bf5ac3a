// The reference model on the cases whose answers are known by hand: unnormalised sums, the
// zero forms, the final trim of normalisation, arrays above place 0, exponent texts, the size
// limit, the double clamp, Negate by kind and the order in which faulty arguments are reported.
// The model is only useful if these hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/variant.h"
#include "tests/reference/model.h"

namespace numeron::reference {
namespace {

using platform::Variant;
using platform::VariantArray;

Variant Text(std::string_view s) { return Variant(s); }
Variant I2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant I4(std::int32_t v) { return Variant(v); }
Variant Digits16(std::int32_t lo, std::vector<std::int16_t> digits) {
  VariantArray a;
  a.lower_bound = lo;
  a.digits = std::move(digits);
  return Variant(std::move(a));
}
Variant Elements(std::int32_t lo, std::vector<Variant> elements) {
  VariantArray a;
  a.lower_bound = lo;
  a.element_kind = VariantArray::ElementKind::Variant;
  a.elements = std::move(elements);
  return Variant(std::move(a));
}
Variant EmptyZero() { return Elements(0, {Variant()}); }

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
      {"Add", {EmptyZero(), Digits16(-3, {0, 5, 0, 0}), I4(0)},
       platform::Describe(Digits16(-3, {0, 5, 0, 0}))},
      {"Add", {Elements(0, {I2(0)}), Elements(0, {I2(0)}), I4(0)},
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
      {"CreateHugeNumber", {Elements(0, {Variant(2.5), Text(" 1.5 ")})},
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

}  // namespace
}  // namespace numeron::reference
