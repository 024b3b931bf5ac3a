// Holds the engine to the reference model: random calls of every kind of argument go to both,
// and everything that comes back must agree — status, result kind, every payload bit (doubles
// bit for bit, arrays bound, element kind and element), error number and description, and every
// argument as the call leaves it (arguments go by reference, so write-backs are compared too).
// The private digit-array routines InternalDivide, AddDigits, MultiplyDigits and IncrementDigits
// are called directly on the engine's side and by name on the model's.
//
// The seed is GoogleTest's random seed, printed by every test; --gtest_random_seed=N replays a
// run. NUMERON_DIFF_ITERATIONS sets the calls per function.
// A disagreement is printed as a row for RegressionRows below, so it can be pasted there and
// replayed on every run once the faulty side is fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/number.h"
#include "control/object/numeron.h"
#include "control/series/quotient_bounds.h"
#include "control/series/running_power.h"
#include "platform/dispatch.h"
#include "platform/error.h"
#include "platform/number_text.h"
#include "platform/variant.h"
#include "tests/reference/model.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using platform::Argument;
using platform::ErrorInfo;
using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

// ---------------------------------------------------------------------------------------------
// Building arguments: short names, so that printed rows read well and paste as they are.

Variant Text(std::string_view s) { return Variant(s); }
Variant Real(double d) { return Variant(d); }
Variant RealBits(std::uint64_t bits) { return Variant(std::bit_cast<double>(bits)); }
Variant I2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant I4(std::int64_t v) { return Variant(static_cast<std::int32_t>(v)); }
Variant Bool(bool b) { return Variant(b); }
Variant Empty() { return Variant(); }
// Printed rows name 16-bit digit arrays Digits16.
Variant Digits16(std::int32_t lo, std::vector<std::int16_t> digits) {
  return test::Shorts(lo, std::move(digits));
}
using test::Elements;

struct Row {
  std::string_view function;
  std::vector<Variant> args;
};

// Replayed first on every run: disagreements found earlier, and the edges of the size limit,
// which random calls are kept away from because arrays at the limit are slow to build.
const std::vector<Row>& RegressionRows() {
  static const std::vector<Row> rows = {
      // Just beyond the limit of 100,000,000 places (a number at the limit takes seconds to
      // build, so none is here): a text, a sum whose carry place is one too many, a sum whose
      // carry place would lie beyond 32 bits.
      {"CreateHugeNumber", {Text("1E-100000000")}},
      {"CreateHugeNumber", {Text("1E100000000")}},
      {"ConvertToString", {Text("1E100000000")}},
      {"Add", {Digits16(99999999, {1}), Digits16(0, {1}), I4(0)}},
      {"Add", {Digits16(2147483647, {5}), Digits16(2147483647, {5}), I4(0)}},
      // A zero mantissa is zero whatever its exponent.
      {"CreateHugeNumber", {Text("0E999999999")}},
      {"CreateHugeNumber", {Text("-.0E+100000001")}},
      {"CreateHugeNumber", {Text("0e-99999999999999999999")}},
      {"Subtract", {Text("00.00e+4294967296"), Text("-6228.623"), I4(2)}},
      {"Compare", {Text("000E-999999999"), I4(2147483647), I4(5)}},
      // A zero needs its one place, however far above place 0 its digits lie.
      {"ConvertToString", {Digits16(2147483642, {0, 0, 10, -1})}},
      {"Compare", {Digits16(2147483642, {0, 0, 10, -1}), Text("0"), I4(0)}},
      // The argument used first reports its error first.
      {"Add", {Text("abc"), Elements(0, {Real(32767.5)}), I4(0)}},
      {"Add", {Elements(0, {Real(32767.5)}), Text("abc"), I4(0)}},
      {"Subtract", {Elements(0, {Real(32767.5)}), Text("abc"), I4(0)}},
      // A double that does not read back from its general text is negated as that text.
      {"Negate", {Real(0x1.c1011302327bep-11)}},
      {"Negate", {Real(-0x1.008ed0ae2f331p+65)}},
      {"Negate", {RealBits(0x7ff8000000000000)}},  // no general text at all
      // Products of far places fail by their size, whichever kind of result is asked for: the
      // total, trimmed, would span from place 0 down to place -200000000.
      {"Multiply", {Text("34.7"), Digits16(-200000000, {7}), I4(-1)}},
      // A row place that cannot hold its value raises Overflow, whichever kind of result is
      // asked for (15 * -32768 leaves -49152 as the carry).
      {"Multiply", {Digits16(0, {15}), Digits16(0, {-32768}), I4(1)}},
      {"Multiply", {Digits16(0, {15}), Digits16(0, {-32768}), I4(3)}},
      // ... and a product whose every row place and total place fits raises nothing (the top
      // place of this total holds 474).
      {"Multiply", {Text("1448582"), Digits16(-8, {3, 11, 32767}), I4(1)}},
      // A carry is stored in its row place before the next remainder is added to it: 32768
      // does not fit, though 32768 - 4 would.
      {"Multiply", {Digits16(6, {-32768, 5, 10}), Digits16(5, {0, -10, 8, 0}), I4(0)}},
      {"MultiplyDigits", {Digits16(6, {-32768, 5, 10}), Digits16(5, {0, -10, 8, 0})}},
      // An array without elements is moved like any other: places min(lo + n, 0) .. lo - 1 + n.
      {"Slide", {Digits16(34, {}), I4(308)}},
      {"Slide", {Digits16(-20, {}), I4(0)}},
      // Long divisions; a quotient of more digits than a number may hold fails before the loop,
      // unless the dividend is zero.
      {"Divide",
       {Text("123456789012345678901234567890123456789012345678901234567890.5"),
        Text("-98765432109876543210.123"), I4(60), I4(1)}},
      {"Divide", {Text("1"), Text("7"), I4(-300), I4(0)}},
      {"Divide", {Text("1"), Text("3"), I4(99999999), I4(1)}},
      {"Divide", {Text("0"), Text("3"), I4(-2147483648), I4(1)}},
      {"InternalDivide",
       {Digits16(-40, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}),
        Digits16(0, {-7, 1, 0, 1}), I4(45)}},
      // A dividend worth 0 whose digits are not all 0 passes the zero test and is divided.
      {"InternalDivide", {Digits16(0, {10, -1}), Digits16(0, {5}), I4(2)}},
      // So is a divisor worth 0: normalised, it is the zero place, and every trial subtraction
      // leaves the dividend non-negative, so every digit is 9. The engine stops the process on
      // this one, so it stands last.
      {"InternalDivide", {Digits16(0, {5}), Digits16(0, {10, -1}), I4(2)}},
  };
  return rows;
}

// ---------------------------------------------------------------------------------------------
// Printing

std::string CppText(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string CppLiteral(const Variant& v) {
  char buf[64];
  switch (v.kind()) {
    case VariantKind::Empty:
      return "Empty()";
    case VariantKind::Missing:
      return "Variant::Missing()";
    case VariantKind::Boolean:
      return v.boolean() ? "Bool(true)" : "Bool(false)";
    case VariantKind::Int16:
      return "I2(" + std::to_string(v.int16()) + ")";
    case VariantKind::Int32:
      return "I4(" + std::to_string(v.int32()) + ")";
    case VariantKind::Double:
      if (std::isfinite(v.real())) {
        std::snprintf(buf, sizeof buf, "Real(%a)", v.real());
      } else {
        std::snprintf(buf, sizeof buf, "RealBits(0x%016llx)",
                      static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v.real())));
      }
      return buf;
    case VariantKind::Text:
      return "Text(" + CppText(v.text()) + ")";
    case VariantKind::Array: {
      const VariantArray& a = v.array();
      std::string out;
      if (a.element_kind == VariantArray::ElementKind::Int16) {
        out = "Digits16(" + std::to_string(a.lower_bound) + ", {";
        for (std::size_t i = 0; i < a.digits.size(); ++i) {
          out += (i ? ", " : "") + std::to_string(a.digits[i]);
        }
      } else {
        out = "Elements(" + std::to_string(a.lower_bound) + ", {";
        for (std::size_t i = 0; i < a.elements.size(); ++i) {
          out += (i ? ", " : "") + CppLiteral(a.elements[i]);
        }
      }
      return out + "})";
    }
  }
  return "?";
}

std::string RowText(const Row& row) {
  std::string out = "{\"" + std::string(row.function) + "\", {";
  for (std::size_t i = 0; i < row.args.size(); ++i)
    out += (i ? ", " : "") + CppLiteral(row.args[i]);
  return out + "}},";
}

// Long results are cut for the report; the row reproduces them.
std::string Shorten(std::string s) {
  constexpr std::size_t kKeep = 400;
  if (s.size() > kKeep) s = s.substr(0, kKeep) + "... (" + std::to_string(s.size()) + " chars)";
  return s;
}

struct Result {
  platform::HResult status = platform::kOk;  // the engine's dispatch status; kOk for the model
  bool ok = false;
  Variant value;
  ErrorInfo error;
  std::vector<Variant> after;  // the arguments as the call left them
};

std::string DescribeArgs(const std::vector<Variant>& args) {
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + CppLiteral(args[i]);
  return Shorten(out);
}

std::string Describe(const Result& r) {
  if (r.status != platform::kOk && r.status != platform::kException) {
    return "status " + std::string(platform::DescribeStatus(r.status));
  }
  if (!r.ok) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(r.error.number));
    return "error " + std::string(buf) + " \"" + r.error.description + "\"";
  }
  std::string d = platform::Describe(r.value);
  if (r.value.is(VariantKind::Double)) {
    char buf[48];
    std::snprintf(buf, sizeof buf, " (%a)", r.value.real());
    d += buf;
  }
  return Shorten(d);
}

// ---------------------------------------------------------------------------------------------
// Comparing: exact, doubles by their bits.

bool Same(const Result& engine, const Result& model) {
  if (engine.status != platform::kOk && engine.status != platform::kException) return false;
  if (engine.after != model.after) return false;
  if (engine.ok != model.ok) return false;
  if (!engine.ok) {
    return engine.error.number == model.error.number &&
           engine.error.description == model.error.description;
  }
  return engine.value == model.value;
}

// ---------------------------------------------------------------------------------------------
// Random arguments of every kind

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : rng_(seed) {}

  std::int64_t Int(std::int64_t lo, std::int64_t hi) {
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
  }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&choices)[N]) {
    return choices[Int(0, static_cast<std::int64_t>(N) - 1)];
  }
  std::uint64_t Bits() { return rng_(); }

  std::string Digits(std::int64_t n) {
    std::string s;
    for (std::int64_t i = 0; i < n; ++i) s += static_cast<char>('0' + Int(0, 9));
    return s;
  }

  // How many digits a part of a number has: mostly short, sometimes long.
  std::int64_t Length(std::int64_t max) {
    const std::int64_t r = Int(0, 99);
    if (r < 60) return Int(0, 6);
    if (r < 90) return Int(0, 25);
    return Int(0, max);
  }

  std::string Blanks() {
    return Chance(25) ? std::string(static_cast<std::size_t>(Int(1, 3)), ' ') : "";
  }

  // Texts at the clamp bound of the double conversion (1.79769313486231E+308) and around it.
  std::string ClampText() {
    static const char* const kNear[] = {"1.79769313486231E+308",
                                        "-1.79769313486231E+308",
                                        "1.797693134862310000001E308",
                                        "-1.797693134862310000001E308",
                                        "1.79769313486230999999E+308",
                                        "1.7976931348623157E308",
                                        "-1.7976931348623157E308",
                                        "1.7976931348623E308",
                                        "9E307",
                                        "2E308",
                                        "-2E308",
                                        "1E309",
                                        "1E-320",
                                        "-4.9E-324",
                                        "2.4703282292062328E-324",
                                        "1E-400"};
    return Pick(kNear);
  }

  // A number text: blanks, a sign or a "+", leading and trailing zeros, a fraction, an exponent.
  std::string NumberText() {
    if (Chance(3)) return ClampText();
    std::string s = Blanks();
    const std::int64_t sign = Int(0, 9);
    if (sign < 3) s += '-';
    if (sign == 3) s += '+';
    std::string whole = Digits(Length(100));
    if (Chance(15)) whole = std::string(static_cast<std::size_t>(Int(1, 4)), '0') + whole;
    std::string fraction;
    const bool point = Chance(55);
    if (point) {
      fraction = Digits(Length(100));
      if (Chance(20)) fraction += std::string(static_cast<std::size_t>(Int(1, 4)), '0');
    }
    if (whole.empty() && fraction.empty()) whole = Digits(1);
    s += whole;
    if (point) s += "." + fraction;
    if (Chance(18)) {
      s += Chance(50) ? 'E' : 'e';
      const std::int64_t exponent_sign = Int(0, 2);
      if (exponent_sign == 1) s += '+';
      if (exponent_sign == 2) s += '-';
      if (Chance(8)) {
        // Far beyond the size limit whatever the mantissa, so no call builds a giant array;
        // the limit itself is in RegressionRows.
        static const char* const kAbsurd[] = {"999999999", "99999999999999999999", "2147483648",
                                              "4294967296", "0000000000000000000999999999"};
        s += Pick(kAbsurd);
      } else {
        if (Chance(10)) s += "00";
        s += std::to_string(Int(0, 60));
      }
    }
    return s + Blanks();
  }

  // Texts that are the general text of a number, which IsNumericEx accepts.
  std::string GeneralForm() {
    const double d = Chance(50) ? ShortDecimal() : RealValue();
    const std::optional<std::string> text = platform::GeneralText(d);
    return text ? *text : "0";
  }

  std::string InvalidText() {
    static const char* const kInvalid[] = {"abc",
                                           "1.2.3",
                                           "--5",
                                           "-",
                                           "+",
                                           ".",
                                           "1e",
                                           "1e+",
                                           "E5",
                                           "1 2",
                                           "1,000",
                                           "0x10",
                                           "\t5",
                                           "5\t",
                                           "+-5",
                                           "1e5.5",
                                           "nan",
                                           "inf",
                                           "&H10",
                                           "1d5",
                                           "- 5",
                                           "5-",
                                           "1..2",
                                           "e",
                                           "\xc2\xa0"
                                           "5",
                                           "12a",
                                           "1E5E5",
                                           ".e1",
                                           "-.",
                                           "1_000"};
    return Pick(kInvalid);
  }

  double ShortDecimal() {
    double v = static_cast<double>(Int(-9999999, 9999999));
    return v / std::pow(10.0, static_cast<double>(Int(0, 7)));
  }

  double RealValue() {
    switch (Int(0, 9)) {
      case 0:
      case 1:
      case 2:
        return ShortDecimal();
      case 3:
        return static_cast<double>(Int(-4'000'000'000LL, 4'000'000'000LL));
      case 4: {
        double d = std::bit_cast<double>(Bits());
        return d;
      }
      case 5: {
        const std::string text = (Chance(50) ? "-" : "") + std::to_string(Int(1, 9)) + "E" +
                                 std::to_string(Int(-330, 310));
        return std::strtod(text.c_str(), nullptr);
      }
      case 6: {
        static const double kSpecial[] = {0.0,
                                          -0.0,
                                          0.5,
                                          1.5,
                                          2.5,
                                          -2.5,
                                          DBL_MAX,
                                          -DBL_MAX,
                                          DBL_MIN,
                                          std::numeric_limits<double>::denorm_min(),
                                          1.79769313486231E+308,
                                          -1.79769313486231E+308,
                                          1.7976931348623E+308,
                                          1e15,
                                          1e-5,
                                          999999999999999.0,
                                          1.0 / 3.0,
                                          1e20,
                                          123456789012345678.0,
                                          std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::quiet_NaN(),
                                          32767.5,
                                          -32768.5,
                                          2147483647.5};
        return Pick(kSpecial);
      }
      case 7:
        return std::uniform_real_distribution<double>(-1e20, 1e20)(rng_);
      case 8:
        return ShortDecimal() / 3.0;
      default:
        return std::uniform_real_distribution<double>(-1, 1)(rng_);
    }
  }

  std::int16_t DigitValue(int mode) {
    switch (mode) {
      case 0:
        return static_cast<std::int16_t>(Int(0, 9));  // positive, normal
      case 1:
        return static_cast<std::int16_t>(-Int(0, 9));  // negative, normal
      case 2:
        return static_cast<std::int16_t>(Int(-9, 9));  // mixed signs
      default:
        return static_cast<std::int16_t>(Int(-17, 17));  // unnormalised
    }
  }

  std::int32_t LowerBound(std::int64_t length) {
    const std::int64_t r = Int(0, 99);
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    if (r < 88) return static_cast<std::int32_t>(Int(-50, 50));
    if (r < 91)
      return static_cast<std::int32_t>(kMax - std::max<std::int64_t>(length, 1) + 1 - Int(0, 3));
    if (r < 94) return static_cast<std::int32_t>(kMin + Int(0, 3));
    if (r < 95) return static_cast<std::int32_t>(Int(290, 310) - length);  // near the clamp
    if (r < 96) return static_cast<std::int32_t>(Int(-345, -300));         // subnormal doubles
    if (r < 97) return static_cast<std::int32_t>(Int(-3000, 3000));
    return static_cast<std::int32_t>(Chance(50) ? Int(100'000'001, 2'000'000'000)
                                                : -Int(100'000'001, 2'000'000'000));
  }

  Variant DigitArray() {
    std::int64_t length = Int(0, 99) < 3 ? 0 : 1 + Length(60);
    if (Chance(3)) length = Int(100, 250);
    const int mode = static_cast<int>(Int(0, 3));
    std::vector<std::int16_t> digits;
    for (std::int64_t i = 0; i < length; ++i) digits.push_back(DigitValue(mode));
    if (length > 0 && Chance(25)) {  // zero places at the top and at the bottom
      for (std::int64_t i = 0; i < std::min<std::int64_t>(length, Int(1, 4)); ++i) digits[i] = 0;
    }
    if (length > 0 && Chance(25)) {
      for (std::int64_t i = 0; i < std::min<std::int64_t>(length, Int(1, 4)); ++i) {
        digits[digits.size() - 1 - i] = 0;
      }
    }
    if (length > 0 && Chance(3)) {  // the 16-bit limits
      static const std::int16_t kExtreme[] = {32767, -32768, -32767, 9999};
      digits[Int(0, length - 1)] = Pick(kExtreme);
    }
    return Digits16(LowerBound(length), std::move(digits));
  }

  Variant Element() {
    switch (Int(0, 19)) {
      case 0:
      case 1:
      case 2:
      case 3:
        return Empty();
      case 4:
      case 5:
      case 6:
      case 7:
        return I2(static_cast<int>(Int(-12, 12)));
      case 8:
        return I4(Chance(85) ? Int(-12, 12) : (Chance(50) ? 32768 : -32769));
      case 9:
        return I4(Chance(50) ? 32767 : -32768);
      case 10:
      case 11:
        return Real(static_cast<double>(Int(-25, 25)) / 2.0);
      case 12:
        return Real(Chance(50) ? 32767.5 : -32768.5);
      case 13:
        return Bool(Chance(50));
      case 14:
      case 15: {
        static const char* const kTexts[] = {"5",  " -3 ", "2.5", "-0.5", "",      "  ",
                                             "+7", "1E1",  "3.5", "abc",  "1.2.3", "40000"};
        return Text(Pick(kTexts));
      }
      case 16:
        return Chance(90) ? I2(0) : Variant::Missing();
      case 17:
        return Chance(95) ? I2(9) : Digits16(0, {1});
      default:
        return I2(static_cast<int>(Int(-9, 9)));
    }
  }

  Variant ElementArray() {
    if (Chance(40)) return Elements(0, {Chance(50) ? Empty() : I2(0)});  // the two zero forms
    if (Chance(10)) {  // near misses of the zero forms
      switch (Int(0, 3)) {
        case 0:
          return Elements(static_cast<std::int32_t>(Int(-3, 3)), {Empty()});
        case 1:
          return Elements(0, {I4(0)});
        case 2:
          return Elements(0, {Real(0.0)});
        default:
          return Elements(0, {Empty(), Empty()});
      }
    }
    const std::int64_t length = Int(1, 12);
    std::vector<Variant> elements;
    for (std::int64_t i = 0; i < length; ++i) elements.push_back(Element());
    return Elements(static_cast<std::int32_t>(Int(-8, 8)), std::move(elements));
  }

  Variant AnyValue() {
    const std::int64_t r = Int(0, 99);
    if (r < 30) return Text(NumberText());
    if (r < 36) return Text(GeneralForm());
    if (r < 40) return Text(InvalidText());
    if (r < 42)
      return Text(Chance(50) ? "" : std::string(static_cast<std::size_t>(Int(1, 3)), ' '));
    if (r < 55) return Real(RealValue());
    if (r < 59)
      return I2(static_cast<int>(Chance(20) ? (Chance(50) ? -32768 : 32767) : Int(-1000, 1000)));
    if (r < 63) {
      constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
      constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
      return I4(Chance(20) ? (Chance(50) ? kMin : kMax) : Int(-3'000'000, 3'000'000));
    }
    if (r < 65) return Bool(Chance(50));
    if (r < 67) return Empty();
    if (r < 92) return DigitArray();
    return ElementArray();
  }

  // Two operands with related values, so that equal values, zero sums and near misses come up
  // far more often than chance would give: the same value (or its negative, or a value a unit
  // of its last place away) in different clothes.
  std::pair<Variant, Variant> RelatedPair() {
    std::string digits = Digits(1 + Length(40));
    const std::int64_t low = Int(-20, 5);  // place of the last digit
    const bool negative = Chance(40);
    Variant x = Dress(digits, low, negative);
    const std::int64_t how = Int(0, 9);
    if (how < 5) return {x, Dress(digits, low, negative)};
    if (how < 8) return {x, Dress(digits, low, !negative)};
    // One more digit at the bottom: a little further from zero.
    digits += static_cast<char>('1' + Int(0, 8));
    return Chance(50) ? std::pair{x, Dress(digits, low - 1, negative)}
                      : std::pair{Dress(digits, low - 1, negative), x};
  }

  // digits: most significant first; the last digit stands at place `low`.
  Variant Dress(const std::string& digits, std::int64_t low, bool negative) {
    const std::int64_t n = static_cast<std::int64_t>(digits.size());
    switch (Int(0, 5)) {
      case 0:
      case 1: {  // plain text, with clothes
        std::string whole, fraction;
        if (low >= 0) {
          whole = digits + std::string(static_cast<std::size_t>(low), '0');
        } else if (n + low > 0) {
          whole = digits.substr(0, static_cast<std::size_t>(n + low));
          fraction = digits.substr(static_cast<std::size_t>(n + low));
        } else {
          fraction = std::string(static_cast<std::size_t>(-(n + low)), '0') + digits;
        }
        if (Chance(30)) whole = "00" + whole;
        if (Chance(30)) fraction += "000";
        if (whole.empty() && Chance(50)) whole = "0";
        std::string s = Blanks() + (negative ? "-" : (Chance(20) ? "+" : "")) + whole;
        if (!fraction.empty() || Chance(10)) s += "." + fraction;
        if (whole.empty() && fraction.empty()) s += "0";
        return Text(s + Blanks());
      }
      case 2: {  // exponent form
        std::string s = (negative ? "-" : "") + digits.substr(0, 1) + "." + digits.substr(1) +
                        (Chance(50) ? "E" : "e") + std::to_string(low + n - 1);
        return Text(s);
      }
      case 3: {  // a double, when the digits fit one exactly
        std::string s = (negative ? "-" : "") + digits + "E" + std::to_string(low);
        const std::optional<double> d = platform::ReadDouble(s);
        if (n <= 15 && d) return Real(*d);
        return Text(s);
      }
      default: {  // a digit array, possibly unnormalised, possibly with extra zero places
        const std::int64_t extra_low = Chance(30) ? Int(1, 3) : 0;
        const std::int64_t extra_high = Chance(30) ? Int(1, 3) : 0;
        std::vector<std::int16_t> places(static_cast<std::size_t>(n + extra_low + extra_high), 0);
        for (std::int64_t k = 0; k < n; ++k) {
          const int digit = digits[static_cast<std::size_t>(n - 1 - k)] - '0';
          places[static_cast<std::size_t>(extra_low + k)] =
              static_cast<std::int16_t>(negative ? -digit : digit);
        }
        if (Chance(60)) {  // value-preserving moves: 10 down at one place, 1 up at the next
          for (std::int64_t m = Int(1, 8); m > 0 && places.size() > 1; --m) {
            const std::size_t i =
                static_cast<std::size_t>(Int(0, static_cast<std::int64_t>(places.size()) - 2));
            const int dir = Chance(50) ? 1 : -1;
            const int a = places[i] + 10 * dir;
            const int b = places[i + 1] - dir;
            if (std::abs(a) <= 17 && std::abs(b) <= 17) {
              places[i] = static_cast<std::int16_t>(a);
              places[i + 1] = static_cast<std::int16_t>(b);
            }
          }
        }
        return Digits16(static_cast<std::int32_t>(low - extra_low), std::move(places));
      }
    }
  }

  std::int32_t ReturnType() {
    static const std::int32_t kOthers[] = {-1, 3, 7, 5, std::numeric_limits<std::int32_t>::min()};
    return Chance(90) ? static_cast<std::int32_t>(Int(0, 2)) : Pick(kOthers);
  }

  std::int32_t Operation() { return static_cast<std::int32_t>(Int(-1, 6)); }

  // Decimal places (Precision, DecimalPlace): mostly 0 to 60, some negative, rarely the 32-bit
  // extremes.
  std::int32_t Places() {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    static const std::int32_t kExtreme[] = {kMin, kMax, -kMax};
    const std::int64_t r = Int(0, 99);
    if (r < 65) return static_cast<std::int32_t>(Int(0, 12));
    if (r < 82) return static_cast<std::int32_t>(Int(13, 60));
    if (r < 98) return static_cast<std::int32_t>(-Int(0, 60));
    return Pick(kExtreme);
  }

  // Shifts of Slide: short ones, the edges of the double range, and shifts far beyond the size
  // limit (a number moved to near the limit is slow to build, so the tests keep clear of that).
  std::int32_t Shift() {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    static const std::int32_t kEdges[] = {308, 309, -324, -325, 400, -400, 0, kMin, kMax};
    const std::int64_t r = Int(0, 99);
    if (r < 60) return static_cast<std::int32_t>(Int(-30, 30));
    if (r < 72) return static_cast<std::int32_t>((Chance(50) ? 1 : -1) * Int(290, 340));
    if (r < 84) return Pick(kEdges);
    if (r < 94) return static_cast<std::int32_t>(Int(-3000, 3000));
    return static_cast<std::int32_t>((Chance(50) ? 1 : -1) * Int(100'000'001, kMax));
  }

  // Operands for the literal long division, which is slow: short and moderate numbers in every
  // kind, zeros in every form, faulty values, and arrays that fail early by their size.
  Variant DivisionValue() {
    const std::int64_t r = Int(0, 99);
    if (r < 30) {
      const std::string digits = Digits(1 + (Chance(80) ? Int(0, 8) : Int(9, 30)));
      return Dress(digits, Int(-14, 6), Chance(40));
    }
    if (r < 40) return Real(ShortDecimal());
    if (r < 41) return Real(RealValue());
    if (r < 60) {  // short arrays, unnormalised, sometimes wholly above or below place 0
      const std::int64_t length = 1 + Int(0, Chance(80) ? 5 : 14);
      const int mode = static_cast<int>(Int(0, 3));
      std::vector<std::int16_t> digits;
      for (std::int64_t i = 0; i < length; ++i) digits.push_back(DigitValue(mode));
      return Digits16(static_cast<std::int32_t>(Int(-16, 12)), std::move(digits));
    }
    if (r < 66) return ElementArray();
    if (r < 76) {  // zero in many clothes
      static const char* const kZeroTexts[] = {"0", "-0", "0.000", " 0E5 ", "", "-.0", "+0"};
      switch (Int(0, 5)) {
        case 0:
          return Text(Pick(kZeroTexts));
        case 1:
          return Real(Chance(50) ? 0.0 : -0.0);
        case 2:
          return Chance(50) ? I2(0) : I4(0);
        case 3:
          return Chance(50) ? Empty() : Bool(false);
        case 4:
          return Digits16(static_cast<std::int32_t>(Int(-5, 5)), {0, 0});
        default:
          return Digits16(0, {10, -1});  // worth 0, though no digit is 0
      }
    }
    if (r < 82) return Text(InvalidText());
    if (r < 90) {
      switch (Int(0, 2)) {
        case 0:
          return I2(static_cast<int>(Int(-1000, 1000)));
        case 1:
          return I4(Int(-3'000'000, 3'000'000));
        default:
          return Bool(Chance(50));
      }
    }
    if (r < 95) {  // beyond the size limit once normalised, or at the 16-bit limits
      static const std::int32_t kFar[] = {std::numeric_limits<std::int32_t>::max() - 1,
                                          std::numeric_limits<std::int32_t>::min() + 1, 150'000'000,
                                          -150'000'000};
      if (Chance(50)) return Digits16(Pick(kFar), {3, 1});
      return Digits16(0, {32767, 32767, static_cast<std::int16_t>(Int(-2, 2))});
    }
    return Text(Chance(50) ? "1E999999999"
                           : "12" + std::string(static_cast<std::size_t>(Int(0, 3)), '0'));
  }

  std::pair<Variant, Variant> DivisionPair() {
    if (Chance(20)) return RelatedPair();
    return {DivisionValue(), DivisionValue()};
  }

  // Digit arrays for the private routines: the generic ones (any bounds, any digits, the zero
  // forms) and carry chains at place 0.
  Variant PrimitiveArray() {
    const std::int64_t r = Int(0, 99);
    if (r < 70) return DigitArray();
    if (r < 85) return ElementArray();
    // 9s from place 0 up, or a place 0 at the 16-bit limit.
    std::vector<std::int16_t> digits(static_cast<std::size_t>(Int(1, 6)), 9);
    if (Chance(30))
      digits[0] =
          Pick({std::int16_t{32767}, std::int16_t{32766}, std::int16_t{19}, std::int16_t{10}});
    if (Chance(30)) digits.push_back(static_cast<std::int16_t>(Int(-9, 9)));
    return Digits16(static_cast<std::int32_t>(Chance(70) ? 0 : -Int(0, 3)), std::move(digits));
  }

  // Short arrays for InternalDivide, whose division is the slow literal one.
  Variant DivisionArray() {
    const Variant v = DivisionValue();
    if (v.is(VariantKind::Array)) return v;
    return Digits16(static_cast<std::int32_t>(Int(-6, 4)),
                    {DigitValue(2), DigitValue(3), static_cast<std::int16_t>(Int(-9, 9))});
  }

  // Values at and around the clamp bound 1.79769313486231E+308 of the double conversion, in
  // every kind: the bound's digits, one unit of some place above or below, further digits.
  Variant NearClamp() {
    std::string digits = "179769313486231";
    switch (Int(0, 4)) {
      case 0:
        break;
      case 1:
        digits += std::string(static_cast<std::size_t>(Int(1, 5)), '0') + "1";
        break;
      case 2:
        digits = "179769313486230" + std::string(static_cast<std::size_t>(Int(1, 5)), '9');
        break;
      case 3:
        digits = "17976931348623157";
        break;
      default:
        digits += Digits(Int(1, 8));
        break;
    }
    const std::int64_t top = Chance(80) ? 308 : Int(306, 310);
    return Dress(digits, top - static_cast<std::int64_t>(digits.size()) + 1, Chance(50));
  }

  // Places for GetDigit: whole places, halves (which go to the even place), fractions, and values
  // no place can have.
  double Place() {
    static const double kOdd[] = {std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  -0.0,
                                  1e10,
                                  -1e10,
                                  2147483647.5,
                                  -2147483648.5,
                                  32767.5,
                                  -32768.5};
    const std::int64_t r = Int(0, 99);
    if (r < 35) return static_cast<double>(Int(-8, 8));
    if (r < 55) return static_cast<double>(Int(-40, 40));
    if (r < 80) return static_cast<double>(Int(-10, 10)) + 0.5;
    if (r < 95) return std::uniform_real_distribution<double>(-45, 45)(rng_);
    return Pick(kOdd);
  }

  // Texts whose zeros, points and signs the display functions treat specially.
  std::string DisplayText() {
    static const char* const kTexts[] = {
        "012.500", "-0.50",   "+012.50",  "0.000", "-0",  "007.0",      ".5",      "-.5",
        "+.5",     "5.",      "100",      "0",     "00",  "-000.000",   " 12.50 ", "1E+20",
        "1e5",     "1.50E2",  "-1.50e-2", ".05",   "",    "  ",         "12.",     "-12.5",
        "0.0",     "1.5E-07", "-1E+20",   "+.0e1", "000", "-00012.0100"};
    return Pick(kTexts);
  }

  // ---- Arguments of the series functions, kept short: the model sums every series literally.

  // A short number with up to `whole` digits before the point and a few after it, in any
  // clothes (text, exponent form, double, digit array, unnormalised array); now and then a
  // value of another kind or a text that is not a number.
  Variant SeriesValue(std::int64_t whole, bool negative) {
    const std::int64_t r = Int(0, 99);
    if (r < 3) return Text(InvalidText());
    if (r < 5) return Chance(50) ? Empty() : Bool(Chance(50));
    if (r < 9) return I2(static_cast<int>(negative ? -Int(0, 9) : Int(0, 9)));
    if (r < 11) {  // a short array of Variant elements: small places only
      std::vector<Variant> elements;
      static const char* const kTexts[] = {"5", " -3 ", "2.5", "", "abc", "40000"};
      for (std::int64_t i = Int(1, 3); i > 0; --i) {
        switch (Int(0, 5)) {
          case 0:
            elements.push_back(Empty());
            break;
          case 1:
            elements.push_back(Real(static_cast<double>(Int(-19, 19)) / 2.0));
            break;
          case 2:
            elements.push_back(Text(Pick(kTexts)));
            break;
          case 3:
            elements.push_back(Chance(50) ? Bool(Chance(50)) : I4(Int(-9, 9)));
            break;
          default:
            elements.push_back(I2(static_cast<int>(Int(-9, 9))));
            break;
        }
      }
      return Elements(static_cast<std::int32_t>(Int(-3, 0)), std::move(elements));
    }
    const std::int64_t fraction = Int(0, 4);
    std::int64_t n = Int(0, whole) + fraction;
    if (n == 0) n = 1;
    return Dress(Digits(n), -fraction, negative);
  }

  // An angle for Sine and Cosine: mostly within a few radians, now and then up to 10 or so.
  Variant Angle() { return SeriesValue(Chance(85) ? 0 : 1, Chance(45)); }

  // An argument of ArcSine and ArcTangent: mostly inside (-1, 1), sometimes on or beyond it.
  Variant ArcValue() {
    if (Chance(8)) return Text(Pick({"1", "-1", "1.0", "0.99999", "-0.999"}));
    return SeriesValue(Chance(80) ? 0 : 1, Chance(45));
  }

  // An argument of the reciprocal inverse functions: mostly beyond 1 in magnitude.
  Variant ReciprocalArcValue() {
    if (Chance(8)) return Text(Pick({"1", "-1", "0", "1.00000000001", "-1.5"}));
    return SeriesValue(Chance(75) ? 1 : 0, Chance(45));
  }

  // An argument of the logarithms: mostly positive and not far from 1.
  Variant LogValue() { return SeriesValue(Chance(80) ? 1 : 2, Chance(12)); }

  // SeriesLength: mostly 1 to 30, rarely up to 60, now and then 0 or negative.
  std::int32_t SeriesLength() {
    const std::int64_t r = Int(0, 99);
    if (r < 88) return static_cast<std::int32_t>(Int(1, 30));
    if (r < 91) return static_cast<std::int32_t>(Int(31, 60));
    if (r < 96) return static_cast<std::int32_t>(-Int(0, 30));
    return 0;
  }

  // Precision: mostly 0 to 25, some negative, rarely the most negative 32-bit value.
  std::int32_t SeriesPrecision() {
    const std::int64_t r = Int(0, 99);
    if (r < 82) return static_cast<std::int32_t>(Int(0, 25));
    if (r < 99) return static_cast<std::int32_t>(-Int(1, 25));
    return std::numeric_limits<std::int32_t>::min();
  }

  // An exponent of Exponential: a small whole number in any clothes (3, 3.0, a digit array),
  // or a short fraction; rarely a whole number beyond 32 bits.
  Variant Exponent() {
    const std::int64_t r = Int(0, 99);
    if (r < 2) return Text(Pick({"2147483648", "-2147483649", "1E10"}));
    if (r < 50) {
      const std::int64_t k = Int(-6, 12);
      const bool negative = k < 0;
      const std::string digits = std::to_string(negative ? -k : k);
      if (Chance(20)) return Text((negative ? "-" : "") + digits + ".0");
      return Dress(digits, 0, negative);
    }
    const std::int64_t fraction = Int(1, 4);
    return Dress(Digits(Int(0, 1) + fraction), -fraction, Chance(35));
  }

 private:
  std::mt19937_64 rng_;
};

// ---------------------------------------------------------------------------------------------
// The two sides

class DifferentialTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { engine_ = new platform::Ref<platform::Dispatch>(NewNumeron()); }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
  }

  // Every argument goes by reference, as the demonstration program's variables do.
  static Result CallEngine(std::string_view function, const std::vector<Variant>& args) {
    if (IsPrimitive(function)) return CallPrimitive(function, args);
    platform::DispId id = 0;
    Result r;
    r.after = args;
    r.status = (*engine_)->GetIDsOfNames(function, &id);
    if (r.status != platform::kOk) return r;
    std::vector<Argument> arguments;
    for (Variant& v : r.after) arguments.push_back(Argument::ByRef(v));
    r.status = (*engine_)->Invoke(id, arguments, &r.value, &r.error);
    r.ok = r.status == platform::kOk;
    return r;
  }

  static bool IsPrimitive(std::string_view function) {
    return function == "InternalDivide" || function == "AddDigits" ||
           function == "MultiplyDigits" || function == "IncrementDigits";
  }

  // The private digit-array routines, called directly on arrays read as the component reads a
  // caller's array.
  static Result CallPrimitive(std::string_view function, const std::vector<Variant>& args) {
    Result r;
    r.after = args;
    try {
      const HugeNumber a = ReadDigitArray(args.at(0).array());
      if (function == "IncrementDigits") {
        HugeNumber incremented = a;
        IncrementDigits(incremented);
        r.value = ToVariant(std::move(incremented));
      } else {
        const HugeNumber b = ReadDigitArray(args.at(1).array());
        if (function == "AddDigits") r.value = ToVariant(AddDigits(a, b));
        if (function == "MultiplyDigits") r.value = ToVariant(MultiplyDigits(a, b));
        if (function == "InternalDivide")
          r.value = ToVariant(InternalDivide(a, b, args.at(2).int32()));
      }
      r.ok = true;
    } catch (const platform::RaisedError& raised) {
      r.value = Variant();
      r.error.number = raised.error().number;
      r.error.description = std::string(raised.error().description);
    }
    return r;
  }

  static Result CallModel(std::string_view function, const std::vector<Variant>& args) {
    Result r;
    r.after = args;
    const reference::Outcome outcome = reference::Call(function, r.after);
    r.ok = outcome.ok;
    r.value = outcome.result;
    r.error = outcome.error;
    return r;
  }

  // One call on both sides; false (and a report) when they disagree.
  static bool Agree(const Row& row, const std::string& where) {
    const Result engine = CallEngine(row.function, row.args);
    const Result model = CallModel(row.function, row.args);
    if (Same(engine, model)) return true;
    std::string after;
    if (engine.after != model.after) {
      after = "\n  engine leaves: " + DescribeArgs(engine.after) +
              "\n  model leaves:  " + DescribeArgs(model.after);
    }
    ADD_FAILURE() << "engine and model disagree (" << where << ")\n"
                  << "  " << RowText(row) << "\n"
                  << "  engine: " << Describe(engine) << "\n"
                  << "  model:  " << Describe(model) << after;
    return false;
  }

  static std::uint64_t Seed(std::string_view function) {
    const auto base = static_cast<std::uint64_t>(testing::UnitTest::GetInstance()->random_seed());
    return base * 0x9E3779B97F4A7C15ULL + std::hash<std::string_view>{}(function);
  }

  static int Iterations() {
    const char* env = std::getenv("NUMERON_DIFF_ITERATIONS");
    if (env != nullptr && *env != '\0') return std::atoi(env);
    return 20000;
  }

  // Runs `make_args` many times; stops after kMaxMismatches disagreements.
  // The series functions are slow in the model: fewer calls, NUMERON_DIFF_SERIES_ITERATIONS.
  static int SeriesIterations(int calls) {
    const char* env = std::getenv("NUMERON_DIFF_SERIES_ITERATIONS");
    if (env != nullptr && *env != '\0') return std::atoi(env);
    return calls;
  }

  template <typename MakeArgs>
  static void Run(std::string_view function, MakeArgs make_args, int iterations = Iterations()) {
    constexpr int kMaxMismatches = 10;
    const int seed = testing::UnitTest::GetInstance()->random_seed();
    std::printf("[ seed %d ] %s: %d calls\n", seed, std::string(function).c_str(), iterations);
    Generator gen(Seed(function));
    int mismatches = 0;
    for (int i = 0; i < iterations && mismatches < kMaxMismatches; ++i) {
      const Row row{function, make_args(gen)};
      if (!Agree(row, "seed " + std::to_string(seed) + ", call " + std::to_string(i))) ++mismatches;
    }
  }

  static platform::Ref<platform::Dispatch>* engine_;
};

platform::Ref<platform::Dispatch>* DifferentialTest::engine_ = nullptr;

TEST_F(DifferentialTest, RegressionRows) {
  for (const Row& row : RegressionRows()) Agree(row, "regression row");
}

TEST_F(DifferentialTest, IsNumericEx) {
  Run("IsNumericEx", [](Generator& g) { return std::vector<Variant>{g.AnyValue()}; });
}

TEST_F(DifferentialTest, GetType) {
  Run("GetType", [](Generator& g) { return std::vector<Variant>{g.AnyValue()}; });
}

TEST_F(DifferentialTest, CreateHugeNumber) {
  Run("CreateHugeNumber", [](Generator& g) { return std::vector<Variant>{g.AnyValue()}; });
}

TEST_F(DifferentialTest, ConvertToString) {
  Run("ConvertToString", [](Generator& g) { return std::vector<Variant>{g.AnyValue()}; });
}

TEST_F(DifferentialTest, Negate) {
  Run("Negate", [](Generator& g) { return std::vector<Variant>{g.AnyValue()}; });
}

std::vector<Variant> BinaryArgs(Generator& g, Variant third) {
  if (g.Chance(40)) {
    auto [x, y] = g.RelatedPair();
    return {x, y, third};
  }
  Variant x = g.AnyValue();
  Variant y = g.AnyValue();
  return {x, y, third};
}

TEST_F(DifferentialTest, Add) {
  Run("Add", [](Generator& g) { return BinaryArgs(g, I4(g.ReturnType())); });
}

TEST_F(DifferentialTest, Subtract) {
  Run("Subtract", [](Generator& g) { return BinaryArgs(g, I4(g.ReturnType())); });
}

TEST_F(DifferentialTest, Compare) {
  Run("Compare", [](Generator& g) { return BinaryArgs(g, I4(g.Operation())); });
}

TEST_F(DifferentialTest, Multiply) {
  Run("Multiply", [](Generator& g) { return BinaryArgs(g, I4(g.ReturnType())); });
}

TEST_F(DifferentialTest, Divide) {
  Run("Divide", [](Generator& g) {
    auto [x, y] = g.DivisionPair();
    return std::vector<Variant>{x, y, I4(g.Places()), I4(g.ReturnType())};
  });
}

TEST_F(DifferentialTest, InternalDivide) {
  Run("InternalDivide", [](Generator& g) {
    return std::vector<Variant>{g.DivisionArray(), g.DivisionArray(), I4(g.Places())};
  });
}

TEST_F(DifferentialTest, Round) {
  Run("Round", [](Generator& g) {
    Variant x = g.Chance(10) ? Text(g.DisplayText()) : g.AnyValue();
    return std::vector<Variant>{x, I4(g.Places())};
  });
}

TEST_F(DifferentialTest, Modulus) {
  Run("Modulus", [](Generator& g) {
    auto [x, y] = g.Chance(80) ? g.DivisionPair() : std::pair{g.AnyValue(), g.AnyValue()};
    return std::vector<Variant>{x, y, I4(g.ReturnType())};
  });
}

// An array without elements.
bool EmptyArray(const Variant& v) { return v.is(VariantKind::Array) && v.array().size() == 0; }

// An array moved so that it spans millions of places, yet not beyond the size limit: slow to
// build in the model.
bool WideMove(const Variant& x, std::int32_t shift) {
  if (!x.is(VariantKind::Array)) return false;
  const std::int64_t lo = std::min<std::int64_t>(std::int64_t{x.array().lower_bound} + shift, 0);
  const std::int64_t hi = x.array().upper_bound() + shift;
  return hi - lo > 1'000'000 && hi - lo < 100'000'000;
}

TEST_F(DifferentialTest, Slide) {
  Run("Slide", [](Generator& g) {
    // The engine moves an array without elements as the zero place (see RegressionRows).
    Variant x = g.AnyValue();
    std::int32_t shift = g.Shift();
    while (EmptyArray(x) || WideMove(x, shift)) {
      x = g.AnyValue();
      shift = g.Shift();
    }
    return std::vector<Variant>{x, I4(shift)};
  });
}

TEST_F(DifferentialTest, ConvertToDouble) {
  Run("ConvertToDouble", [](Generator& g) {
    return std::vector<Variant>{g.Chance(25) ? g.NearClamp() : g.AnyValue()};
  });
}

TEST_F(DifferentialTest, IsValueOverflow) {
  Run("IsValueOverflow", [](Generator& g) {
    return std::vector<Variant>{g.Chance(40) ? g.NearClamp() : g.AnyValue()};
  });
}

// One argument: anything, with the texts the display functions treat specially now and then.
std::vector<Variant> DisplayArgs(Generator& g) {
  return {g.Chance(15) ? Text(g.DisplayText()) : g.AnyValue()};
}

TEST_F(DifferentialTest, ConvertToWhole) { Run("ConvertToWhole", DisplayArgs); }

TEST_F(DifferentialTest, AbsoluteValue) { Run("AbsoluteValue", DisplayArgs); }

TEST_F(DifferentialTest, Increment) {
  Run("Increment", [](Generator& g) {
    return std::vector<Variant>{g.Chance(15) ? g.PrimitiveArray() : DisplayArgs(g)[0]};
  });
}

TEST_F(DifferentialTest, TrimStringValue) { Run("TrimStringValue", DisplayArgs); }

TEST_F(DifferentialTest, GetDigit) {
  Run("GetDigit", [](Generator& g) {
    Variant x = g.AnyValue();
    return std::vector<Variant>{x, Real(g.Place())};
  });
}

TEST_F(DifferentialTest, GetHighestPlace) { Run("GetHighestPlace", DisplayArgs); }

TEST_F(DifferentialTest, GetLowestPlace) {
  Run("GetLowestPlace", [](Generator& g) {
    if (g.Chance(5)) {  // lowest places around the 16-bit limit
      return std::vector<Variant>{Digits16(static_cast<std::int32_t>(-32768 + g.Int(-2, 2)),
                                           {static_cast<std::int16_t>(g.Int(-9, 9)), 3})};
    }
    return DisplayArgs(g);
  });
}

TEST_F(DifferentialTest, LineUpStringValues) {
  Run("LineUpStringValues", [](Generator& g) {
    static const std::int32_t kFlags[] = {0, 0,  0, 1,
                                          1, -1, 2, std::numeric_limits<std::int32_t>::min()};
    auto [x, y] = g.Chance(30) ? g.RelatedPair() : std::pair{DisplayArgs(g)[0], DisplayArgs(g)[0]};
    return std::vector<Variant>{x, y, I4(g.Pick(kFlags))};
  });
}

TEST_F(DifferentialTest, ConvertToScientific) { Run("ConvertToScientific", DisplayArgs); }

// Two arrays whose places together span millions of places but not beyond the size limit: a
// sum of them is slow to build in the model.
bool WideSpan(const Variant& a, const Variant& b) {
  if (!a.is(VariantKind::Array) || !b.is(VariantKind::Array)) return false;
  const std::int64_t lo = std::min<std::int64_t>(a.array().lower_bound, b.array().lower_bound);
  const std::int64_t hi = std::max(a.array().upper_bound(), b.array().upper_bound());
  return hi - lo > 1'000'000 && hi - lo < 100'000'000;
}

TEST_F(DifferentialTest, AddDigits) {
  Run("AddDigits", [](Generator& g) {
    std::vector<Variant> args = {g.PrimitiveArray(), g.PrimitiveArray()};
    while (WideSpan(args[0], args[1])) args = {g.PrimitiveArray(), g.PrimitiveArray()};
    return args;
  });
}

TEST_F(DifferentialTest, MultiplyDigits) {
  Run("MultiplyDigits", [](Generator& g) {
    return std::vector<Variant>{g.PrimitiveArray(), g.PrimitiveArray()};
  });
}

// Operands long enough for the product to be worked from its value: one-signed digits, some
// repeating (their sums sit exactly on whole numbers for long stretches), some unnormalised,
// zeros on top (rows that only pass carries on), at any place.
TEST_F(DifferentialTest, MultiplyDigitsOfLongOperands) {
  auto long_operand = [](Generator& g) {
    const int sign = g.Chance(30) ? -1 : 1;
    const auto repeated = static_cast<std::int16_t>(g.Int(1, 9));
    const bool repeating = g.Chance(40);
    std::vector<std::int16_t> digits(static_cast<std::size_t>(g.Int(64, 160)));
    for (std::int16_t& d : digits) {
      d = static_cast<std::int16_t>(sign *
                                    (repeating ? repeated : g.Int(0, g.Chance(10) ? 12 : 9)));
    }
    digits.resize(digits.size() + static_cast<std::size_t>(g.Chance(30) ? g.Int(1, 40) : 0), 0);
    return Digits16(static_cast<std::int32_t>(g.Int(-200, 20)), std::move(digits));
  };
  Run(
      "MultiplyDigits",
      [&](Generator& g) {
        return std::vector<Variant>{long_operand(g), long_operand(g)};
      },
      SeriesIterations(300));
}

TEST_F(DifferentialTest, IncrementDigits) {
  Run("IncrementDigits", [](Generator& g) { return std::vector<Variant>{g.PrimitiveArray()}; });
}

// ---------------------------------------------------------------------------------------------
// The series functions

// x, SeriesLength, Precision, Return_Type.
template <typename MakeX>
std::vector<Variant> SeriesArgs(Generator& g, MakeX make_x) {
  Variant x = make_x(g);
  return {x, I4(g.SeriesLength()), I4(g.SeriesPrecision()), I4(g.ReturnType())};
}

TEST_F(DifferentialTest, PiAndE) {
  const auto args = [](Generator& g) {
    static const std::int32_t kFar[] = {999,
                                        1000,
                                        1500,
                                        -999,
                                        -1000,
                                        std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max()};
    const std::int32_t p = g.Chance(85) ? static_cast<std::int32_t>(g.Int(-40, 40)) : g.Pick(kFar);
    return std::vector<Variant>{I4(p), I4(g.ReturnType())};
  };
  Run("Pi", args, SeriesIterations(300));
  Run("e", args, SeriesIterations(300));
}

TEST_F(DifferentialTest, Calculate_e) {
  Run(
      "Calculate_e",
      [](Generator& g) {
        return std::vector<Variant>{I4(g.SeriesLength()), I4(g.SeriesPrecision()),
                                    I4(g.ReturnType())};
      },
      SeriesIterations(400));
}

TEST_F(DifferentialTest, eToExponent) {
  Run(
      "eToExponent",
      [](Generator& g) {
        return SeriesArgs(g, [](Generator& h) { return h.SeriesValue(1, h.Chance(40)); });
      },
      SeriesIterations(500));
}

TEST_F(DifferentialTest, Factorial) {
  Run(
      "Factorial",
      [](Generator& g) {
        Variant x = g.Chance(60) ? g.Dress(std::to_string(g.Int(0, 40)), 0, g.Chance(10))
                                 : g.SeriesValue(1, g.Chance(15));
        return std::vector<Variant>{x, I4(g.ReturnType())};
      },
      SeriesIterations(500));
}

TEST_F(DifferentialTest, Log_e) {
  Run(
      "Log_e",
      [](Generator& g) { return SeriesArgs(g, [](Generator& h) { return h.LogValue(); }); },
      SeriesIterations(500));
}

TEST_F(DifferentialTest, Logarithm) {
  Run(
      "Logarithm",
      [](Generator& g) {
        Variant x = g.LogValue();
        Variant base = g.Chance(10) ? Text(g.Pick({"1", "10", "2", "-2", "0"})) : g.LogValue();
        return std::vector<Variant>{x, base, I4(g.SeriesLength()), I4(g.SeriesPrecision()),
                                    I4(g.ReturnType())};
      },
      SeriesIterations(400));
}

TEST_F(DifferentialTest, Exponential) {
  Run(
      "Exponential",
      [](Generator& g) {
        Variant x = g.SeriesValue(1, g.Chance(25));
        Variant y = g.Exponent();
        return std::vector<Variant>{x, y, I4(g.SeriesLength()), I4(g.SeriesPrecision()),
                                    I4(g.ReturnType())};
      },
      SeriesIterations(600));
}

TEST_F(DifferentialTest, SineAndCosine) {
  const auto args = [](Generator& g) {
    return SeriesArgs(g, [](Generator& h) { return h.Angle(); });
  };
  Run("Sine", args, SeriesIterations(500));
  Run("Cosine", args, SeriesIterations(500));
}

TEST_F(DifferentialTest, TrigonometricQuotients) {
  const auto args = [](Generator& g) {
    return SeriesArgs(g, [](Generator& h) { return h.Angle(); });
  };
  for (std::string_view function : {"Tangent", "Secant", "Cosecant", "Cotangent"}) {
    Run(function, args, SeriesIterations(200));
  }
}

TEST_F(DifferentialTest, ArcSineAndArcTangent) {
  const auto args = [](Generator& g) {
    return SeriesArgs(g, [](Generator& h) { return h.ArcValue(); });
  };
  Run("ArcSine", args, SeriesIterations(500));
  Run("ArcTangent", args, SeriesIterations(500));
  Run("ArcCosine", args, SeriesIterations(300));
}

TEST_F(DifferentialTest, ReciprocalInverseFunctions) {
  const auto args = [](Generator& g) {
    return SeriesArgs(g, [](Generator& h) { return h.ReciprocalArcValue(); });
  };
  for (std::string_view function : {"ArcCotangent", "ArcSecant", "ArcCosecant"}) {
    Run(function, args, SeriesIterations(300));
  }
}

// Around the pass from which every term rounds to zero, where the engine stops summing: for
// Precision 1 to 60 (every fourth for each argument, together all of them), series lengths
// just below, at and beyond that pass (the arguments' own pass, estimated from the size of |t|^e /
// e! for a term t^e / e!, pass j ending on the term of exponent per_pass * j + offset).
TEST_F(DifferentialTest, SeriesAroundTheirLastChangingPass) {
  struct Series {
    std::string_view function;
    std::vector<Variant> leading;  // the arguments before SeriesLength
    double t;
    int per_pass, offset;
  };
  const Series kSeries[] = {
      {"Calculate_e", {}, 1, 1, 0},
      {"eToExponent", {Text("0.5")}, 0.5, 1, 0},
      {"eToExponent", {Text("-3.25")}, 3.25, 1, 0},
      {"eToExponent", {Text("2.5")}, 2.5, 1, 0},
      {"eToExponent", {Text("1E-30")}, 1e-30, 1, 0},
      {"Exponential", {Text("2"), Text("0.5")}, 0.35, 1, 0},
      {"Exponential", {Text("3"), Text("-1.5")}, 1.65, 1, 0},
      {"Sine", {Text("0.5")}, 0.5, 4, 1},
      {"Sine", {Text("-2.5")}, 2.5, 4, 1},
      {"Cosine", {Text("0.75")}, 0.75, 4, 0},
      {"Cosine", {Text("6.5")}, 6.5, 4, 0},
      {"ArcSine", {Text("0.01")}, 0.01, 2, 1},
      {"ArcSine", {Text("-0.125")}, 0.125, 2, 1},
  };
  int call = 0;
  for (const Series& series : kSeries) {
    for (int p = 1 + call % 4; p <= 60; p += 4) {
      int last = 1;
      while ((series.per_pass * last + series.offset) * std::log10(series.t) -
                 std::lgamma(series.per_pass * last + series.offset + 1.0) / std::log(10.0) >
             -p - 0.31) {
        ++last;
      }
      for (int length : {last - 1, last, last + 2}) {
        if (length < 1) continue;
        std::vector<Variant> args = series.leading;
        args.push_back(I4(length));
        args.push_back(I4(p));
        args.push_back(I4(call++ % 3));
        Agree({series.function, args}, "precision " + std::to_string(p));
      }
    }
  }
}

// Longer operands than the random calls reach, the arctangent and logarithm quotients among them
// (divided by their odd counters digit by digit).
TEST_F(DifferentialTest, SeriesAtLongerPrecisions) {
  const Row rows[] = {
      {"ArcTangent", {Text("0.5"), I4(40), I4(400), I4(1)}},
      {"ArcTangent", {Text("-0.0123456789"), I4(25), I4(-300), I4(0)}},
      {"Log_e", {Text("2"), I4(30), I4(300), I4(1)}},
      {"Log_e", {Text("0.0625"), I4(12), I4(250), I4(0)}},
      {"Sine", {Text("1.25"), I4(30), I4(300), I4(1)}},
      {"eToExponent", {Text("-0.75"), I4(60), I4(300), I4(0)}},
      {"Calculate_e", {I4(60), I4(350), I4(1)}},
  };
  for (const Row& row : rows) Agree(row, "longer precision");
}

// The running power of the sine, cosine, arcsine and arctangent series, kept as a value where
// every cut provably falls among the digits the value fixes, against the digit arrays carried
// step by step: around the Precision where the value is first trusted, and at long Precisions
// the reference model is too slow for. Arguments of both signs, short and long, below and above
// 1, and a first power that is x^2 (cosine).
TEST_F(DifferentialTest, RunningPowersAgreeWithTheirDigits) {
  // Each case is checked around its threshold with `steps` steps, then at a long Precision
  // where the power is cut in most of its steps.
  struct Case {
    std::string x;
    bool square;
    std::int64_t steps;
    std::int32_t long_precision;
    std::int64_t long_steps;
  };
  std::string long_x = "-0.";
  for (int i = 0; i < 25; ++i) long_x += "9876543210";
  const Case kCases[] = {{"0.5", false, 6, 2000, 2000},   {"-0.5", true, 9, 1500, 1800},
                         {"0.75", true, 12, 900, 1200},   {"-2.5", false, 7, 2000, 1200},
                         {"1.5", false, 5, 1000, 1100},   {"0.123456789", false, 6, 3000, 700},
                         {"-0.0625", true, 8, 1200, 400}, {"0.9", false, 40, 600, 700},
                         {long_x, false, 5, 12'000, 60}};
  const auto run = [](const HugeNumber& x, const HugeNumber& first, std::int32_t precision,
                      std::int64_t steps) {
    RunningPower fast(first, x, precision, steps);
    RunningPower digits(first, x, precision, steps, RunningPower::Path::kDigits);
    for (std::int64_t step = 0; step <= steps; ++step) {
      const auto value = [](const RunningPower& p) {
        return NormalFromScaled(abs(p.value()), p.value() < 0, p.exponent());
      };
      if (value(fast) != value(digits) || fast.LowestReach() != digits.LowestReach() ||
          fast.HighBound() < digits.HighBound()) {
        ADD_FAILURE() << "step " << step << ", precision " << precision;
        break;
      }
      if (step < steps) {
        fast.Step();
        digits.Step();
      }
    }
    return !fast.CarriesDigits();
  };
  for (const Case& c : kCases) {
    const HugeNumber x = ToNormalHugeNumber(Text(c.x));
    const HugeNumber first = c.square ? ProductOf(x, x) : ProductOf(ProductOf(x, x), x);
    std::int32_t precision = 1;
    while (RunningPower(first, x, precision, c.steps).CarriesDigits()) ++precision;
    for (std::int32_t p : {precision - 1, precision, precision + 1, -(precision + 7)}) {
      EXPECT_EQ(run(x, first, p, c.steps), std::abs(p) >= precision) << c.x << " at " << p;
    }
    EXPECT_TRUE(run(x, first, c.long_precision, c.long_steps)) << c.x;
  }
}

// The adder works its raw sums in 16-bit lanes while every digit lies within +-16383, in 32-bit
// lanes otherwise: digits at both sides of that bound, at the ends of 16 bits, in long arrays.
TEST_F(DifferentialTest, AddDigitsAcrossTheLaneWidths) {
  const std::vector<std::int16_t> kEdges[] = {
      {16383, 16383, -16383, 7}, {16384, 16383, -16384}, {32767, -32768, 9, 32767}, {-1, 10, -10}};
  for (const auto& edge : kEdges) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{10'000}}) {
      std::vector<std::int16_t> digits(length, 9);
      digits.insert(digits.end(), edge.begin(), edge.end());
      // The edge added to itself (sums up to twice 16 bits) and to the array's own end.
      const auto at = static_cast<std::int32_t>(length) - 3;
      Agree({"AddDigits", {Digits16(-3, digits), Digits16(at, edge)}}, "lane widths");
      Agree({"AddDigits", {Digits16(at - 1, edge), Digits16(-3, digits)}}, "lane widths");
    }
  }
}

// The quotients the series take from bounds carried from pass to pass, against the exact
// division of the same values, pass by pass: the exponential's exact powers over k!, and the
// sine's powers cut at place -Precision (the bounds lowered by what a cut loses), at Precisions
// from 1 to beyond what the reference model reaches.
TEST_F(DifferentialTest, QuotientBoundsGiveTheExactQuotients) {
  struct Case {
    const char* x;
    std::int32_t precision;
    int passes;
  };
  const Case kCases[] = {{"2", 1, 12},        {"-0.5", 7, 30},    {"0.75", 40, 60},
                         {"-3.25", 60, 80},   {"0.5", 3000, 700}, {"2", 10'000, 1200},
                         {"1.5", 12'000, 400}};
  for (const Case& c : kCases) {
    const HugeNumber x = ToNormalHugeNumber(Text(c.x));
    const auto x1 = QuotientBounds::ShortPower(x, 1), x2 = QuotientBounds::ShortPower(x, 2);
    mpz_class power = MagnitudeOf(x), factorial = 1;
    if (IsNegative(x)) power = -power;
    QuotientBounds exponential(c.precision), sine(c.precision);
    RunningPower cut(ProductOf(ProductOf(x, x), x), x, c.precision, c.passes);
    mpz_class sine_factorial = 6;
    double log10_factorial = std::log10(6.0);
    for (int k = 1; k <= c.passes; ++k) {
      const std::int64_t exponent = std::int64_t{x.low()} * k;
      const HugeNumber expected = InternalDivideScaled(power, exponent, factorial, c.precision);
      const HugeNumber got = exponential.Term(
          power < 0, [&] { return std::pair(power, exponent); }, factorial);
      ASSERT_EQ(got, expected) << c.x << " exponential pass " << k << " at " << c.precision;
      const HugeNumber sine_expected =
          InternalDivideScaled(cut.value(), cut.exponent(), sine_factorial, c.precision);
      const HugeNumber sine_got = sine.Term(
          cut.value() < 0, [&] { return std::pair(cut.value(), cut.exponent()); }, sine_factorial);
      ASSERT_EQ(sine_got, sine_expected) << c.x << " sine pass " << k << " at " << c.precision;
      power *= MagnitudeOf(x) * (IsNegative(x) ? -1 : 1);
      factorial *= k + 1;
      exponential.Scale(x1->numerator, x1->denominator * (k + 1u), {});
      const unsigned long n = 2 * k + 1;
      cut.Step();
      sine_factorial *= (n + 1) * (n + 2);
      log10_factorial += std::log10((n + 1.0) * (n + 2.0));
      if (cut.CarriesDigits()) {
        sine.Forget();
      } else {
        sine.Scale(
            x2->numerator, x2->denominator * (n + 1) * (n + 2),
            QuotientBounds::CutLoss(cut.CutFraction(), std::pow(10.0, 17 - log10_factorial)));
      }
    }
  }
  // Quotients that end within the bounds' places are carried exactly (1 / 2^k ends on its k-th
  // place; Precision 30 keeps 47 places), then by bounds once they no longer end there.
  QuotientBounds halves(30);
  mpz_class power_of_two = 1;
  for (int k = 0; k <= 60; ++k, power_of_two *= 2) {
    const HugeNumber got = halves.Term(
        false, [] { return std::pair(mpz_class(1), std::int64_t{0}); }, power_of_two);
    ASSERT_EQ(got, InternalDivideScaled(1, 0, power_of_two, 30)) << "1 / 2^" << k;
    halves.Scale(1, 2, {});
  }
}

// Quotients that end exactly on the guard place (x^k over factors of 2 and 5 and the counters'
// own factors), where the bounds sit exactly on a whole number of the guard place and what a cut
// of the power loses must be taken neither too large nor too small; the first row is the one a
// random call found.
TEST_F(DifferentialTest, SeriesWhoseQuotientsEndOnTheGuardPlace) {
  Agree({"ArcCosine", {Digits16(-4, {-1, -6, -17, 11, -1, 0}), I4(2), I4(19), I4(1)}}, "found");
  for (const char* x : {"-0.0761", "0.5", "0.25", "-0.125", "0.2", "0.75"}) {
    for (const int p : {9, 19, 33}) {
      for (const std::string_view function : {"ArcSine", "ArcTangent", "Sine", "Cosine"}) {
        Agree({function, {Text(x), I4(p / 3), I4(p), I4(1)}}, "ending quotients");
      }
    }
  }
}

}  // namespace
}  // namespace numeron
