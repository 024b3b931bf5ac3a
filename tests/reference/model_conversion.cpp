// The reference model's conversions to built-in values, digit places, lining up and scientific
// notation, each step by step as its algorithm gives it (see model.cpp for the ground rules).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "platform/error.h"
#include "platform/number_text.h"
#include "tests/reference/model_internal.h"

namespace numeron::reference::detail {

namespace {

// Ordinary arithmetic on a value IsNumericEx accepts, in the kind the value decides: a numeric
// text gives a double and a double stays one; a 16-bit integer (the Boolean and the empty value
// act as the 16-bit -1 and 0) stays 16-bit, widening to 32 bits when the result needs it, and a
// 32-bit integer stays 32-bit, widening to a double.
using WholeOperation = std::int64_t (*)(std::int64_t);
using RealOperation = double (*)(double);

Variant Narrowest(std::int64_t value, bool may_be_16_bit) {
  if (may_be_16_bit && value >= -32768 && value <= 32767) {
    return Variant(static_cast<std::int16_t>(value));
  }
  if (value >= std::numeric_limits<std::int32_t>::min() &&
      value <= std::numeric_limits<std::int32_t>::max()) {
    return Variant(static_cast<std::int32_t>(value));
  }
  return Variant(static_cast<double>(value));
}

Operand Ordinary(const Variant& v, WholeOperation whole, RealOperation real) {
  switch (v.kind()) {
    case VariantKind::Empty:
      return FromScalar(Narrowest(whole(0), true));
    case VariantKind::Boolean:
      return FromScalar(Narrowest(whole(v.boolean() ? -1 : 0), true));
    case VariantKind::Int16:
      return FromScalar(Narrowest(whole(v.int16()), true));
    case VariantKind::Int32:
      return FromScalar(Narrowest(whole(v.int32()), false));
    case VariantKind::Double:
      return FromScalar(Variant(real(v.real())));
    case VariantKind::Text:
      return FromScalar(Variant(real(*platform::ReadDouble(v.text()))));
    case VariantKind::Missing:
    case VariantKind::Array:
      break;
  }
  throw std::logic_error("model: IsNumericEx accepted an array or a missing value");
}

// The greatest whole number not above the value, in normal form.
Digits Floor(const Digits& digits) {
  Digits n = digits;
  UnifyDigitSigns(n);
  // The whole part: the places from 0 up, a cut toward zero.
  Digits whole = RedimDigits(n, 0, n.hi());
  // A negative value with a fraction lies below its whole part, by less than 1.
  bool fraction = false;
  for (std::int64_t p = n.lo; p < 0; ++p) fraction = fraction || n.Get(p) != 0;
  if (IsNegativeDigits(n) && fraction) {
    whole = ArrayOf(Subtract(FromDigits(whole), FromScalar(Variant(std::int16_t{1})), 0));
  }
  UnifyDigitSigns(whole);
  return whole;
}

// The normalised huge number of an argument, as the digit-place functions read it.
Digits NormalisedNumber(const Operand& x) {
  if (!x.is_array) return CreateHugeNumber(x);  // already in that form
  Digits n = ArrayOf(x);
  UnifyDigitSigns(n);
  return n;
}

char DigitChar(int digit) { return static_cast<char>('0' + std::abs(digit)); }

std::string ScientificFromDigits(const Digits& digits) {
  // 1.
  Digits n = digits;
  TrimZeroPlaces(n);
  UnifyDigitSigns(n);
  const std::int64_t hi = n.hi();
  // 2.
  std::string text = IsNegativeDigits(n) ? "-" : "";
  // 3.
  text += DigitChar(n.Get(hi));
  if (n.d.size() > 1) {
    // 4.
    text += '.';
    for (std::int64_t p = hi - 1; p >= n.lo; --p) text += DigitChar(n.Get(p));
  }
  return text + "E+" + std::to_string(hi);
}

}  // namespace

double ConvertToDouble(const Operand& x) {
  // 1.
  if (x.is_array) return HugeNumberToDouble(ArrayOf(x));
  // 2. The general text read back (the empty value's is empty, which reads as 0).
  if (IsNumericEx(x)) {
    const std::string text = ScalarAsText(x.scalar);
    if (text.empty()) return 0;
    return *platform::ReadDouble(text);
  }
  // 3.
  return HugeNumberToDouble(CreateHugeNumber(x));
}

bool IsValueOverflow(const Operand& x) {
  const double bound = ClampBound();
  return Compare(x, FromScalar(Variant(-bound)), 2) || Compare(x, FromScalar(Variant(bound)), 1);
}

Operand ConvertToWhole(const Operand& x) {
  // 1. The floor in ordinary arithmetic. The floor of a zero is +0: a zero has no sign to keep.
  if (IsNumericEx(x)) {
    return Ordinary(
        x.scalar, [](std::int64_t v) { return v; }, [](double v) { return std::floor(v) + 0.0; });
  }
  // 2. An array: the floor of its value, in normal form.
  if (x.is_array) return FromDigits(Floor(ArrayOf(x)));
  // 3. Any other value: the text form of the floor.
  return FromScalar(Variant(HugeNumberToText(Floor(CreateHugeNumber(x)))));
}

Operand AbsoluteValue(const Operand& x) {
  // 1.
  if (IsNumericEx(x)) {
    return Ordinary(
        x.scalar, [](std::int64_t v) { return v < 0 ? -v : v; },
        [](double v) { return std::fabs(v); });
  }
  // 2.
  if (x.is_array) return FromDigits(AbsoluteDigits(ArrayOf(x)));
  // 3. Text: a leading sign ("-" or "+") goes with the blanks around the text; any other text
  // comes back as it is. Blank text reads as zero; anything else must be a number.
  const std::string text = ScalarAsText(x.scalar);
  const std::string t = TrimSpaces(text);
  if (t.empty()) return FromScalar(Variant(text));
  if (!IsNumberText(t)) RaiseTypeMismatch();
  if (t[0] == '-' || t[0] == '+') return FromScalar(Variant(t.substr(1)));
  return FromScalar(Variant(text));
}

Operand Increment(Variant& x_argument) {
  const Operand x = Copy(x_argument);
  // 1.
  if (IsNumericEx(x)) {
    return Ordinary(
        x.scalar, [](std::int64_t v) { return v + 1; }, [](double v) { return v + 1; });
  }
  // 2. The caller's array itself is incremented: it becomes the result, as 16-bit digits.
  if (x.is_array) {
    Digits a = ArrayOf(x);
    IncrementDigits(a);
    x_argument = HandBack(a);
    return FromDigits(a);
  }
  // 3.
  return Add(x, FromScalar(Variant(std::int16_t{1})), 1);
}

std::string TrimStringValue(const Variant& value) {
  // The argument is a text: a number is taken as its general text, an array is no text.
  const std::string text = ScalarAsText(value);
  // 1.
  const std::string s = ConvertToString(FromScalar(Variant(text)));
  // Only a general text keeps an exponent form, and it comes back as it is.
  if (s.find('E') != std::string::npos) return s;
  // Only the zeros that do not change the value go: leading zeros of the whole part, trailing
  // zeros of the fraction, and a point left bare. The sign stays; zero is "0".
  std::string sign;
  std::string body = s;
  if (!body.empty() && body[0] == '-') {
    sign = "-";
    body.erase(0, 1);
  }
  const std::size_t point = body.find('.');
  std::string whole = body.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : body.substr(point + 1);
  while (!whole.empty() && whole.front() == '0') whole.erase(0, 1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (whole.empty() && fraction.empty()) return "0";
  return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::int16_t GetDigit(const Operand& x, double place) {
  try {
    // 1.
    const Digits n = NormalisedNumber(x);
    // 2. The range test on the place as given; then the nearest place, halves to even.
    if (!(static_cast<double>(n.hi()) >= place && static_cast<double>(n.lo) <= place)) return 0;
    const std::optional<std::int32_t> nearest = platform::DoubleToInt32(place);
    return static_cast<std::int16_t>(n.Get(*nearest));
  } catch (const platform::RaisedError&) {
    // 5. Every failure reads as the digit 0.
    return 0;
  }
}

std::int32_t GetHighestPlace(const Operand& x) {
  return static_cast<std::int32_t>(NormalisedNumber(x).hi());
}

std::int16_t GetLowestPlace(const Operand& x) {
  const std::int64_t lowest = NormalisedNumber(x).lo;
  // The result is 16 bits wide.
  if (lowest < -32768) RaiseOverflow();
  return static_cast<std::int16_t>(lowest);
}

std::int32_t LineUpStringValues(Variant& x1, Variant& x2, std::int32_t flag) {
  try {
    // 1.
    std::string t1 = ConvertToString(Copy(x1));
    std::string t2 = ConvertToString(Copy(x2));
    // 2.
    std::string sign1;
    std::string sign2;
    const bool negative1 = !t1.empty() && t1[0] == '-';
    const bool negative2 = !t2.empty() && t2[0] == '-';
    if (negative1) t1.erase(0, 1);
    if (negative2) t2.erase(0, 1);
    if (negative1 || negative2) {
      sign1 = negative1 ? "-" : " ";
      sign2 = negative2 ? "-" : " ";
    }
    // 3.
    const auto whole_length = [](const std::string& t) {
      const std::size_t p = t.find('.');
      return p == std::string::npos ? t.size() : p;
    };
    const auto fraction_length = [](const std::string& t) {
      const std::size_t p = t.find('.');
      return p == std::string::npos ? 0 : t.size() - p - 1;
    };
    // 4.
    const std::size_t w1 = whole_length(t1);
    const std::size_t w2 = whole_length(t2);
    if (w1 < w2) t1.insert(0, w2 - w1, ' ');
    if (w2 < w1) t2.insert(0, w1 - w2, ' ');
    // 5.
    const char fill = flag == 0 ? '0' : ' ';
    // 6. When either text holds a point, both do, so they come out the same length.
    if (t1.find('.') != std::string::npos || t2.find('.') != std::string::npos) {
      if (t1.find('.') == std::string::npos) t1 += '.';
      if (t2.find('.') == std::string::npos) t2 += '.';
      const std::size_t f1 = fraction_length(t1);
      const std::size_t f2 = fraction_length(t2);
      if (f1 < f2) t1.append(f2 - f1, fill);
      if (f2 < f1) t2.append(f1 - f2, fill);
    }
    // 7.
    x1 = Variant(sign1 + t1);
    x2 = Variant(sign2 + t2);
    return static_cast<std::int32_t>(sign1.size() + t1.size());
  } catch (const platform::RaisedError&) {
    // 8. Nothing has been written back when a step fails.
    return 0;
  }
}

std::string ConvertToScientific(const Operand& x) {
  // 1.
  if (x.is_array) return ScientificFromDigits(ArrayOf(x));
  // 2. The plain text; a general text in exponent form is expanded as the text rules read it.
  std::string t = ConvertToString(x);
  if (t.find('E') != std::string::npos) t = TextRules(t);
  std::string sign;
  if (!t.empty() && t[0] == '-') {
    sign = "-";
    t.erase(0, 1);
  }
  // Digits that start at the point, and the empty text, are written as a number below 1 is:
  // with a "0" before the point.
  if (t.empty() || t[0] == '.') t.insert(0, "0");
  // 3.
  if (t.size() == 1 || t[1] == '.') return sign + t + "E+0";
  // 4.
  const std::size_t point = t.find('.');
  const std::size_t n = point == std::string::npos ? t.size() : point;
  std::string m;
  for (char c : t) {
    if (c != '.') m += c;
  }
  return sign + m.substr(0, 1) + "." + m.substr(1) + "E+" + std::to_string(n - 1);
}

}  // namespace numeron::reference::detail
