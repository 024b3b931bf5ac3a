// The two sides of a differential check and the random arguments it calls them with, shared by
// the differential test and the differential fuzz target. The engine is called through the
// dispatch interface (every argument by reference), the private digit-array routines directly;
// the model by name. Everything that comes back must agree: status, result kind, every payload
// bit (doubles bit for bit, arrays by bounds, element kind and elements), error number and
// description, and every argument as the call leaves it.
#pragma once

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/number.h"
#include "platform/dispatch.h"
#include "platform/error.h"
#include "platform/number_text.h"
#include "platform/variant.h"
#include "tests/reference/model.h"
#include "tests/test_values.h"

namespace numeron::differential {

using platform::Argument;
using platform::ErrorInfo;
using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

// ---------------------------------------------------------------------------------------------
// Building arguments: short names, so that printed rows read well and paste as they are.

inline Variant Text(std::string_view s) { return Variant(s); }
inline Variant Real(double d) { return Variant(d); }
inline Variant RealBits(std::uint64_t bits) { return Variant(std::bit_cast<double>(bits)); }
inline Variant I2(int v) { return Variant(static_cast<std::int16_t>(v)); }
inline Variant I4(std::int64_t v) { return Variant(static_cast<std::int32_t>(v)); }
inline Variant Bool(bool b) { return Variant(b); }
inline Variant Empty() { return Variant(); }
// Printed rows name 16-bit digit arrays Digits16.
inline Variant Digits16(std::int32_t lo, std::vector<std::int16_t> digits) {
  return test::Shorts(lo, std::move(digits));
}
using test::Elements;

struct Row {
  std::string_view function;
  std::vector<Variant> args;
};

// ---------------------------------------------------------------------------------------------
// Printing

inline std::string CppText(std::string_view s) {
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

inline std::string CppLiteral(const Variant& v) {
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

inline std::string RowText(const Row& row) {
  std::string out = "{\"" + std::string(row.function) + "\", {";
  for (std::size_t i = 0; i < row.args.size(); ++i)
    out += (i ? ", " : "") + CppLiteral(row.args[i]);
  return out + "}},";
}

// Long results are cut for the report; the row reproduces them.
inline std::string Shorten(std::string s) {
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

inline std::string DescribeArgs(const std::vector<Variant>& args) {
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + CppLiteral(args[i]);
  return Shorten(out);
}

inline std::string Describe(const Result& r) {
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

inline bool Same(const Result& engine, const Result& model) {
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
// Random arguments of every kind, drawn from a source of choices: a seeded generator for the
// differential test, the fuzzer's data for the fuzz target.

class Choices {
 public:
  virtual ~Choices() = default;
  virtual std::int64_t Int(std::int64_t lo, std::int64_t hi) = 0;  // lo..hi, both included
  virtual std::uint64_t Bits() = 0;
  virtual double Real(double lo, double hi) = 0;
};

class SeededChoices : public Choices {
 public:
  explicit SeededChoices(std::uint64_t seed) : rng_(seed) {}
  std::int64_t Int(std::int64_t lo, std::int64_t hi) override {
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
  }
  std::uint64_t Bits() override { return rng_(); }
  double Real(double lo, double hi) override {
    return std::uniform_real_distribution<double>(lo, hi)(rng_);
  }

 private:
  std::mt19937_64 rng_;
};

class Generator {
 public:
  explicit Generator(Choices& choices) : choices_(choices) {}

  std::int64_t Int(std::int64_t lo, std::int64_t hi) { return choices_.Int(lo, hi); }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&choices)[N]) {
    return choices[Int(0, static_cast<std::int64_t>(N) - 1)];
  }
  std::uint64_t Bits() { return choices_.Bits(); }

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
        return choices_.Real(-1e20, 1e20);
      case 8:
        return ShortDecimal() / 3.0;
      default:
        return choices_.Real(-1, 1);
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
    if (r < 95) return choices_.Real(-45, 45);
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
  Choices& choices_;
};

// ---------------------------------------------------------------------------------------------
// Random calls of every member: the arguments each function is called with.

inline std::vector<Variant> BinaryArgs(Generator& g, Variant third) {
  if (g.Chance(40)) {
    auto [x, y] = g.RelatedPair();
    return {x, y, third};
  }
  Variant x = g.AnyValue();
  Variant y = g.AnyValue();
  return {x, y, third};
}

inline std::vector<Variant> AnyValueArg(Generator& g) { return {g.AnyValue()}; }
inline std::vector<Variant> ArithmeticArgs(Generator& g) {
  return BinaryArgs(g, I4(g.ReturnType()));
}
inline std::vector<Variant> CompareArgs(Generator& g) { return BinaryArgs(g, I4(g.Operation())); }
inline std::vector<Variant> NearClampArg(Generator& g) {
  return {g.Chance(30) ? g.NearClamp() : g.AnyValue()};
}
inline std::vector<Variant> DivideArgs(Generator& g) {
  auto [x, y] = g.DivisionPair();
  return {x, y, I4(g.Places()), I4(g.ReturnType())};
}
inline std::vector<Variant> ModulusArgs(Generator& g) {
  auto [x, y] = g.Chance(80) ? g.DivisionPair() : std::pair{g.AnyValue(), g.AnyValue()};
  return {x, y, I4(g.ReturnType())};
}
inline std::vector<Variant> RoundArgs(Generator& g) {
  return {g.Chance(10) ? Text(g.DisplayText()) : g.AnyValue(), I4(g.Places())};
}

// Arrays spanning millions of places but not beyond the size limit are slow to build in the
// model, so the random calls leave them to the regression rows.
inline bool Wide(std::int64_t lo, std::int64_t hi) {
  return hi - lo > 1'000'000 && hi - lo < 100'000'000;
}

inline std::vector<Variant> SlideArgs(Generator& g) {
  // The engine moves an array without elements as the zero place (see the regression rows).
  for (;;) {
    Variant x = g.AnyValue();
    const std::int32_t shift = g.Shift();
    if (!x.is(VariantKind::Array)) return {x, I4(shift)};
    const VariantArray& a = x.array();
    const std::int64_t lo = std::min<std::int64_t>(std::int64_t{a.lower_bound} + shift, 0);
    if (a.size() != 0 && !Wide(lo, a.upper_bound() + shift)) return {x, I4(shift)};
  }
}

// One argument: anything, with the texts the display functions treat specially now and then.
inline std::vector<Variant> DisplayArgs(Generator& g) {
  return {g.Chance(15) ? Text(g.DisplayText()) : g.AnyValue()};
}
inline std::vector<Variant> IncrementArgs(Generator& g) {
  return g.Chance(15) ? std::vector<Variant>{g.PrimitiveArray()} : DisplayArgs(g);
}
inline std::vector<Variant> GetDigitArgs(Generator& g) {
  Variant x = g.AnyValue();
  return {x, Real(g.Place())};
}
inline std::vector<Variant> LowestPlaceArgs(Generator& g) {
  if (g.Chance(5)) {  // lowest places around the 16-bit limit
    return {Digits16(static_cast<std::int32_t>(-32768 + g.Int(-2, 2)),
                     {static_cast<std::int16_t>(g.Int(-9, 9)), 3})};
  }
  return DisplayArgs(g);
}
inline std::vector<Variant> LineUpArgs(Generator& g) {
  static const std::int32_t kFlags[] = {0, 0,  0, 1,
                                        1, -1, 2, std::numeric_limits<std::int32_t>::min()};
  auto [x, y] = g.Chance(30) ? g.RelatedPair() : std::pair{DisplayArgs(g)[0], DisplayArgs(g)[0]};
  return {x, y, I4(g.Pick(kFlags))};
}

inline std::vector<Variant> AddDigitsArgs(Generator& g) {
  for (;;) {
    Variant a = g.PrimitiveArray(), b = g.PrimitiveArray();
    const std::int64_t lo = std::min(a.array().lower_bound, b.array().lower_bound);
    if (!Wide(lo, std::max(a.array().upper_bound(), b.array().upper_bound()))) return {a, b};
  }
}
inline std::vector<Variant> MultiplyDigitsArgs(Generator& g) {
  for (;;) {
    Variant a = g.PrimitiveArray(), b = g.PrimitiveArray();
    // The total spans place 0 and the rows' places.
    const std::int64_t lo = std::int64_t{a.array().lower_bound} + b.array().lower_bound - 1;
    const std::int64_t hi = a.array().upper_bound() + b.array().upper_bound() + 1;
    if (!Wide(std::min<std::int64_t>(lo, 0), std::max<std::int64_t>(hi, 0))) return {a, b};
  }
}
inline std::vector<Variant> PrimitiveArray(Generator& g) { return {g.PrimitiveArray()}; }
inline std::vector<Variant> DivisionArrays(Generator& g) {
  return {g.DivisionArray(), g.DivisionArray(), I4(g.Places())};
}

// Operands long enough for the product to be worked from its value: one-signed digits, some
// repeating (their sums sit exactly on whole numbers for long stretches), some unnormalised,
// zeros on top (rows that only pass carries on), at any place.
inline Variant LongOperand(Generator& g) {
  const int sign = g.Chance(30) ? -1 : 1;
  const auto repeated = static_cast<std::int16_t>(g.Int(1, 9));
  const bool repeating = g.Chance(40);
  std::vector<std::int16_t> digits(static_cast<std::size_t>(g.Int(64, 160)));
  for (std::int16_t& d : digits) {
    d = static_cast<std::int16_t>(sign * (repeating ? repeated : g.Int(0, g.Chance(10) ? 12 : 9)));
  }
  digits.resize(digits.size() + static_cast<std::size_t>(g.Chance(30) ? g.Int(1, 40) : 0), 0);
  return Digits16(static_cast<std::int32_t>(g.Int(-200, 20)), std::move(digits));
}
inline std::vector<Variant> LongOperands(Generator& g) { return {LongOperand(g), LongOperand(g)}; }

inline std::vector<Variant> PlacesArgs(Generator& g) {
  static const std::int32_t kFar[] = {999,
                                      1000,
                                      1500,
                                      -999,
                                      -1000,
                                      std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max()};
  const std::int32_t p = g.Chance(85) ? static_cast<std::int32_t>(g.Int(-40, 40)) : g.Pick(kFar);
  return {I4(p), I4(g.ReturnType())};
}

// x, SeriesLength, Precision, Return_Type.
inline std::vector<Variant> SeriesArgs(Generator& g, Variant x) {
  return {std::move(x), I4(g.SeriesLength()), I4(g.SeriesPrecision()), I4(g.ReturnType())};
}
inline std::vector<Variant> CalculateEArgs(Generator& g) {
  return {I4(g.SeriesLength()), I4(g.SeriesPrecision()), I4(g.ReturnType())};
}
inline std::vector<Variant> PowerOfEArgs(Generator& g) {
  return SeriesArgs(g, g.SeriesValue(1, g.Chance(40)));
}
inline std::vector<Variant> FactorialArgs(Generator& g) {
  Variant x = g.Chance(60) ? g.Dress(std::to_string(g.Int(0, 40)), 0, g.Chance(10))
                           : g.SeriesValue(1, g.Chance(15));
  return {x, I4(g.ReturnType())};
}
inline std::vector<Variant> LogArgs(Generator& g) { return SeriesArgs(g, g.LogValue()); }
inline std::vector<Variant> LogarithmArgs(Generator& g) {
  Variant x = g.LogValue();
  Variant base = g.Chance(10) ? Text(g.Pick({"1", "10", "2", "-2", "0"})) : g.LogValue();
  return {x, base, I4(g.SeriesLength()), I4(g.SeriesPrecision()), I4(g.ReturnType())};
}
inline std::vector<Variant> ExponentialArgs(Generator& g) {
  Variant x = g.SeriesValue(1, g.Chance(25));
  Variant y = g.Exponent();
  return {x, y, I4(g.SeriesLength()), I4(g.SeriesPrecision()), I4(g.ReturnType())};
}
inline std::vector<Variant> AngleArgs(Generator& g) { return SeriesArgs(g, g.Angle()); }
inline std::vector<Variant> ArcArgs(Generator& g) { return SeriesArgs(g, g.ArcValue()); }
inline std::vector<Variant> ReciprocalArcArgs(Generator& g) {
  return SeriesArgs(g, g.ReciprocalArcValue());
}

struct RandomCalls {
  const char* function;
  std::vector<Variant> (*args)(Generator&);
  int series_calls = 0;         // calls of a function slow in the model; 0: the ordinary count
  const char* label = nullptr;  // the name of its test, when not the function's
};

// Names a row in the test's name.
inline void PrintTo(const RandomCalls& calls, std::ostream* out) {
  *out << (calls.label ? calls.label : calls.function);
}

inline const RandomCalls kRandomCalls[] = {
    {"IsNumericEx", AnyValueArg},
    {"GetType", AnyValueArg},
    {"CreateHugeNumber", AnyValueArg},
    {"ConvertToString", AnyValueArg},
    {"Negate", AnyValueArg},
    {"Add", ArithmeticArgs},
    {"Subtract", ArithmeticArgs},
    {"Multiply", ArithmeticArgs},
    {"Compare", CompareArgs},
    {"Divide", DivideArgs},
    {"Round", RoundArgs},
    {"Modulus", ModulusArgs},
    {"Slide", SlideArgs},
    {"ConvertToDouble", NearClampArg},
    {"IsValueOverflow", NearClampArg},
    {"ConvertToWhole", DisplayArgs},
    {"AbsoluteValue", DisplayArgs},
    {"Increment", IncrementArgs},
    {"TrimStringValue", DisplayArgs},
    {"GetDigit", GetDigitArgs},
    {"GetHighestPlace", DisplayArgs},
    {"GetLowestPlace", LowestPlaceArgs},
    {"LineUpStringValues", LineUpArgs},
    {"ConvertToScientific", DisplayArgs},
    {"InternalDivide", DivisionArrays},
    {"AddDigits", AddDigitsArgs},
    {"MultiplyDigits", MultiplyDigitsArgs},
    {"MultiplyDigits", LongOperands, 300, "MultiplyDigitsOfLongOperands"},
    {"IncrementDigits", PrimitiveArray},
    {"Pi", PlacesArgs, 300},
    {"e", PlacesArgs, 300},
    {"Calculate_e", CalculateEArgs, 400},
    {"eToExponent", PowerOfEArgs, 500},
    {"Factorial", FactorialArgs, 500},
    {"Log_e", LogArgs, 500},
    {"Logarithm", LogarithmArgs, 400},
    {"Exponential", ExponentialArgs, 600},
    {"Sine", AngleArgs, 500},
    {"Cosine", AngleArgs, 500},
    {"Tangent", AngleArgs, 200},
    {"Secant", AngleArgs, 200},
    {"Cosecant", AngleArgs, 200},
    {"Cotangent", AngleArgs, 200},
    {"ArcSine", ArcArgs, 500},
    {"ArcTangent", ArcArgs, 500},
    {"ArcCosine", ArcArgs, 300},
    {"ArcCotangent", ReciprocalArcArgs, 300},
    {"ArcSecant", ReciprocalArcArgs, 300},
    {"ArcCosecant", ReciprocalArcArgs, 300},
};

// ---------------------------------------------------------------------------------------------
// The two sides

inline bool IsPrimitive(std::string_view function) {
  return function == "InternalDivide" || function == "AddDigits" || function == "MultiplyDigits" ||
         function == "IncrementDigits";
}

// The private digit-array routines, called directly on arrays read as the component reads a
// caller's array.
inline Result CallPrimitive(std::string_view function, const std::vector<Variant>& args) {
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

inline Result CallModel(std::string_view function, const std::vector<Variant>& args) {
  Result r;
  r.after = args;
  const reference::Outcome outcome = reference::Call(function, r.after);
  r.ok = outcome.ok;
  r.value = outcome.result;
  r.error = outcome.error;
  return r;
}

// Every argument goes by reference, as the demonstration program's variables do.
inline Result CallEngine(platform::Dispatch& object, std::string_view function,
                         const std::vector<Variant>& args) {
  if (IsPrimitive(function)) return CallPrimitive(function, args);
  platform::DispId id = 0;
  Result r;
  r.after = args;
  r.status = object.GetIDsOfNames(function, &id);
  if (r.status != platform::kOk) return r;
  std::vector<Argument> arguments;
  for (Variant& v : r.after) arguments.push_back(Argument::ByRef(v));
  r.status = object.Invoke(id, arguments, &r.value, &r.error);
  r.ok = r.status == platform::kOk;
  return r;
}

}  // namespace numeron::differential
