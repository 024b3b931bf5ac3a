// The reference model: each routine below follows its algorithm step by step, with the steps
// numbered as in the algorithm, on a plain digit array (a lower place and a vector of ints), with
// no shortcuts and no attention to speed; routines call each other only where the algorithms do.
// It is meant to be read next to the algorithm and to be obviously right; when it and the engine
// disagree, whichever misreads the algorithm is fixed.
//
// Every write of a digit into an array checks the 16-bit range, because the arrays the
// component hands out hold 16-bit digits; every array built checks the size limit (at most
// 100,000,000 places, bounds within 32 bits).
//
// This file holds the digit arrays, reading, the text form, addition and comparison, and the
// calls by name; model_arithmetic.cpp the products, quotients, rounding, remainder, shift and
// the series code's digit routines; model_conversion.cpp the conversions and display functions.
#include "tests/reference/model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/error.h"
#include "platform/number_text.h"
#include "tests/reference/model_internal.h"

namespace numeron::reference {

namespace detail {

void RaiseOverflow() { platform::Raise(platform::kOverflow); }
void RaiseTypeMismatch() { platform::Raise(platform::kTypeMismatch); }

// ---------------------------------------------------------------------------------------------
// Digit arrays

void CheckPlaces(std::int64_t lo, std::int64_t hi) {
  if (lo < std::numeric_limits<std::int32_t>::min() ||
      hi > std::numeric_limits<std::int32_t>::max() || hi - lo + 1 > kPlaceLimit) {
    RaiseOverflow();
  }
}

// A new array lo..hi of zeros (no places when hi is lo - 1).
Digits NewDigits(std::int64_t lo, std::int64_t hi) {
  if (hi < lo - 1) throw std::logic_error("model: an array with its upper bound below its lower");
  CheckPlaces(lo, hi);
  Digits r;
  r.lo = lo;
  r.d.assign(static_cast<std::size_t>(hi - lo + 1), 0);
  return r;
}

// RedimDigits: a new array lo..hi; places that exist in `digits` keep their digit, the others
// are 0; places outside lo..hi are dropped.
Digits RedimDigits(const Digits& digits, std::int64_t lo, std::int64_t hi) {
  Digits r = NewDigits(lo, hi);
  for (std::int64_t p = lo; p <= hi; ++p) {
    if (digits.Has(p)) r.Set(p, digits.Get(p));
  }
  return r;
}

// IsZeroDigits: every element 0 (true for an array without elements too).
bool IsZeroDigits(const Digits& digits) {
  for (int v : digits.d) {
    if (v != 0) return false;
  }
  return true;
}

// TrimZeroPlaces, in place.
void TrimZeroPlaces(Digits& digits) {
  // 1. Zero becomes the single place 0 holding an empty element.
  if (IsZeroDigits(digits)) {
    digits = Digits{0, {0}, Form::EmptyZero};
    return;
  }
  // 2. The top comes down through zero places, never below place 0.
  std::int64_t hi = digits.hi();
  while (hi >= 1 && digits.Get(hi) == 0) --hi;
  if (hi < 0) hi = 0;
  // 3. The bottom goes up through zero places below place 0 only.
  std::int64_t lo = digits.lo;
  while (lo < hi && lo < 0 && digits.Get(lo) == 0) ++lo;
  if (lo > hi) lo = hi;
  // 4.
  digits = RedimDigits(digits, lo, hi);
}

// UnifyDigitSigns, in place: the normal form.
void UnifyDigitSigns(Digits& digits) {
  // 1.
  TrimZeroPlaces(digits);
  // 2. Carry every place of 10 or more upward, adding a place at the top when the top carries.
  for (std::int64_t i = digits.lo; i <= digits.hi(); ++i) {
    const int v = digits.Get(i);
    if (std::abs(v) >= 10) {
      if (i == digits.hi()) digits = RedimDigits(digits, digits.lo, digits.hi() + 1);
      digits.Set(i + 1, digits.Get(i + 1) + v / 10);  // truncates toward zero
      digits.Set(i, v % 10);                          // remainder with the sign of v
    }
  }
  // 3. A single place is done; 4. so is an array without a non-zero place.
  if (digits.d.size() > 1) {
    std::int64_t leading = digits.hi();
    while (leading >= digits.lo && digits.Get(leading) == 0) --leading;
    if (leading >= digits.lo) {
      // 5. One pass from the bottom up, giving every place the sign of the leading digit.
      if (digits.Get(leading) > 0) {
        for (std::int64_t i = digits.lo; i <= leading - 1; ++i) {
          if (digits.Get(i) < 0) {
            digits.Set(i, digits.Get(i) + 10);
            digits.Set(i + 1, digits.Get(i + 1) - 1);
          }
        }
      } else {
        for (std::int64_t i = digits.lo; i <= leading - 1; ++i) {
          if (digits.Get(i) > 0) {
            digits.Set(i, digits.Get(i) - 10);
            digits.Set(i + 1, digits.Get(i + 1) + 1);
          }
        }
      }
    }
  }
  // 6. Always trimmed at the end, also when only zeros are left.
  TrimZeroPlaces(digits);
  // The normal form holds place 0: an array wholly above place 0 is extended down to it. Done
  // last, so that a zero never needs more than its one place.
  if (digits.lo > 0) digits = RedimDigits(digits, 0, digits.hi());
}

// IsSameDigits: same bounds, same digit at every place.
bool IsSameDigits(const Digits& a, const Digits& b) {
  if (a.lo != b.lo || a.hi() != b.hi()) return false;
  for (std::int64_t p = a.lo; p <= a.hi(); ++p) {
    if (a.Get(p) != b.Get(p)) return false;
  }
  return true;
}

Digits IntegerZero() { return Digits{0, {0}, Form::IntegerZero}; }

bool IsNegativeDigits(const Digits& digits) {
  return digits.Get(digits.hi()) < 0 || digits.Get(digits.lo) < 0;
}

// ---------------------------------------------------------------------------------------------
// Values as the functions take them: a caller's array read into digits, or any other Variant.

Operand FromDigits(Digits digits) {
  Operand o;
  o.is_array = true;
  o.digits = std::move(digits);
  return o;
}

Operand FromScalar(Variant value) {
  Operand o;
  o.scalar = std::move(value);
  return o;
}

std::string TrimSpaces(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Whether a text (its blanks at both ends already removed) is a number: an optional sign,
// digits with at most one point and at least one digit, then optionally E or e, an optional
// sign and at least one digit.
bool IsNumberText(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  int digits = 0;
  int points = 0;
  while (i < t.size() && (IsDigitChar(t[i]) || t[i] == '.')) {
    if (t[i] == '.') {
      ++points;
    } else {
      ++digits;
    }
    ++i;
  }
  if (digits == 0 || points > 1) return false;
  if (i == t.size()) return true;
  if (t[i] != 'E' && t[i] != 'e') return false;
  ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  int exponent_digits = 0;
  while (i < t.size() && IsDigitChar(t[i])) {
    ++exponent_digits;
    ++i;
  }
  return exponent_digits > 0 && i == t.size();
}

// A text read as a number, for array elements: blanks around it allowed, the empty text is 0,
// anything else that is not a number is refused.
double ReadElementText(const std::string& text) {
  const std::string t = TrimSpaces(text);
  if (t.empty()) return 0;
  if (!IsNumberText(t)) RaiseTypeMismatch();
  const std::optional<double> value = platform::ReadDouble(t);
  if (!value) RaiseOverflow();  // beyond the double range
  return *value;
}

std::int64_t ElementValue(const Variant& element) {
  switch (element.kind()) {
    case VariantKind::Empty:
      return 0;
    case VariantKind::Boolean:
      return element.boolean() ? -1 : 0;
    case VariantKind::Int16:
      return element.int16();
    case VariantKind::Int32:
      return element.int32();
    case VariantKind::Double: {
      const std::optional<std::int16_t> v = platform::DoubleToInt16(element.real());
      if (!v) RaiseOverflow();
      return *v;
    }
    case VariantKind::Text: {
      const std::optional<std::int16_t> v =
          platform::DoubleToInt16(ReadElementText(element.text()));
      if (!v) RaiseOverflow();
      return *v;
    }
    case VariantKind::Missing:
    case VariantKind::Array:
      RaiseTypeMismatch();
  }
  RaiseTypeMismatch();
}

// A caller's array, read element by element into 16-bit digits. The two one-element zero
// forms are remembered so they come back as they came when handed back unchanged.
Digits ReadCallerArray(const VariantArray& array) {
  Digits r;
  r.lo = array.lower_bound;
  if (array.element_kind == VariantArray::ElementKind::Int16) {
    for (std::int16_t v : array.digits) r.d.push_back(v);
    return r;
  }
  if (array.elements.size() == 1 && array.lower_bound == 0) {
    if (array.elements[0].is(VariantKind::Empty)) return Digits{0, {0}, Form::EmptyZero};
    if (array.elements[0] == Variant(std::int16_t{0})) return Digits{0, {0}, Form::IntegerZero};
  }
  for (const Variant& element : array.elements) {
    const std::int64_t v = ElementValue(element);
    if (v < -32768 || v > 32767) RaiseOverflow();
    r.d.push_back(static_cast<int>(v));
  }
  return r;
}

// A function's copy of an argument.
Operand Copy(const Variant& value) {
  Operand o = FromScalar(value);
  o.is_array = o.unread = value.is(VariantKind::Array);
  return o;
}

// The digits of an array operand, read now if they come from the caller.
Digits ArrayOf(const Operand& o) {
  if (!o.is_array) throw std::logic_error("model: not an array");
  return o.unread ? ReadCallerArray(o.scalar.array()) : o.digits;
}

Variant HandBack(const Digits& digits) {
  VariantArray a;
  a.lower_bound = static_cast<std::int32_t>(digits.lo);
  switch (digits.form) {
    case Form::EmptyZero:
      a.element_kind = VariantArray::ElementKind::Variant;
      a.elements = {Variant()};
      return Variant(std::move(a));
    case Form::IntegerZero:
      a.element_kind = VariantArray::ElementKind::Variant;
      a.elements = {Variant(std::int16_t{0})};
      return Variant(std::move(a));
    case Form::Digits16:
      break;
  }
  a.element_kind = VariantArray::ElementKind::Int16;
  for (int v : digits.d) a.digits.push_back(static_cast<std::int16_t>(v));
  return Variant(std::move(a));
}

Variant HandBack(const Operand& o) { return o.is_array ? HandBack(ArrayOf(o)) : o.scalar; }

// ---------------------------------------------------------------------------------------------
// IsNumericEx and GetType

bool IsNumericEx(const Operand& o) {
  if (o.is_array) return false;
  const Variant& v = o.scalar;
  switch (v.kind()) {
    case VariantKind::Empty:
    case VariantKind::Boolean:
    case VariantKind::Int16:
    case VariantKind::Int32:
      return true;
    case VariantKind::Double: {
      // Numeric exactly when its general text reads back to the same double.
      const std::optional<std::string> text = platform::GeneralText(v.real());
      if (!text) return false;
      const std::optional<double> back = platform::ReadDouble(*text);
      return back && *back == v.real();
    }
    case VariantKind::Text: {
      // A text passes only when it is exactly the general text of the number it reads as.
      const std::optional<double> value = platform::ReadDouble(v.text());
      if (!value) return false;
      const std::optional<std::string> text = platform::GeneralText(*value);
      return text && *text == v.text();
    }
    case VariantKind::Missing:
    case VariantKind::Array:
      return false;
  }
  return false;
}

std::int32_t GetType(const Operand& o) {
  if (o.is_array) return 0;      // Huge_Number
  if (IsNumericEx(o)) return 2;  // double_value
  return 1;                      // String_Value
}

// ---------------------------------------------------------------------------------------------
// The text rules of ConvertToString (steps 3 to 8), shared with CreateHugeNumber.

// A number text split for steps 5 to 8: the sign, the mantissa m (its digits without the point)
// and the point position x (how many digits of m stand before the point in the plain result).
struct ExponentParts {
  std::string sign;
  std::string m;
  std::int64_t x = 0;
};

// The lenient leading-number reading of the exponent: an optional sign, then digits; saturated
// far beyond any exponent that could be expanded.
std::int64_t ReadExponent(std::string_view t) {
  constexpr std::int64_t kSaturated = 1'000'000'000'000'000;
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  std::int64_t value = 0;
  while (i < t.size() && IsDigitChar(t[i])) {
    value = std::min(value * 10 + (t[i] - '0'), kSaturated);
    ++i;
  }
  return negative ? -value : value;
}

// Steps 3 and 5 on s (blanks removed, upper-cased, a number). nullopt when s holds no "E".
// Sets *sign and *rest for step 4.
std::optional<ExponentParts> SplitNumberText(std::string s, std::string* sign) {
  // 3. A leading "-" is the sign; a leading "+" is a sign too, and never handed back.
  sign->clear();
  if (!s.empty() && s[0] == '-') {
    *sign = "-";
    s.erase(0, 1);
  } else if (!s.empty() && s[0] == '+') {
    s.erase(0, 1);
  }
  const std::size_t e = s.find('E');
  if (e == std::string::npos) {
    *sign += s;  // step 4: sign followed by s
    return std::nullopt;
  }
  // 5. With 1-based positions: p is the first "." or e; x = exponent + p - 1.
  const std::size_t point = s.find('.');
  const std::int64_t p = point == std::string::npos || point > e
                             ? static_cast<std::int64_t>(e) + 1
                             : static_cast<std::int64_t>(point) + 1;
  ExponentParts parts;
  parts.sign = *sign;
  for (std::size_t k = 0; k < e; ++k) {
    if (s[k] != '.') parts.m += s[k];
  }
  parts.x = ReadExponent(std::string_view(s).substr(e + 1)) + p - 1;
  return parts;
}

// Steps 6 to 8.
std::string PlainText(const ExponentParts& parts) {
  const std::int64_t len = static_cast<std::int64_t>(parts.m.size());
  if (parts.x <= 0) {
    return parts.sign + "0." + std::string(static_cast<std::size_t>(-parts.x), '0') + parts.m;
  }
  if (parts.x > len) {
    return parts.sign + parts.m + std::string(static_cast<std::size_t>(parts.x - len), '0');
  }
  return parts.sign + parts.m.substr(0, static_cast<std::size_t>(parts.x)) + "." +
         parts.m.substr(static_cast<std::size_t>(parts.x));
}

// How many digits the plain text of steps 6 to 8 would hold.
std::int64_t PlainTextDigits(const ExponentParts& parts) {
  const std::int64_t len = static_cast<std::int64_t>(parts.m.size());
  if (parts.x <= 0) return 1 - parts.x + len;
  if (parts.x > len) return parts.x;
  return len;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The general text of a double, which has none when it is not finite.
std::string GeneralTextOrOverflow(double value) {
  const std::optional<std::string> text = platform::GeneralText(value);
  if (!text) RaiseOverflow();
  return *text;
}

// The value of a scalar "as text", for the text paths.
std::string ScalarAsText(const Variant& v) {
  switch (v.kind()) {
    case VariantKind::Empty:
      return "";
    case VariantKind::Boolean:
      return v.boolean() ? "-1" : "0";
    case VariantKind::Int16:
      return std::to_string(v.int16());
    case VariantKind::Int32:
      return std::to_string(v.int32());
    case VariantKind::Double:
      return GeneralTextOrOverflow(v.real());
    case VariantKind::Text:
      return v.text();
    case VariantKind::Missing:
    case VariantKind::Array:
      RaiseTypeMismatch();
  }
  RaiseTypeMismatch();
}

// ---------------------------------------------------------------------------------------------
// CreateHugeNumber

// Steps 3 to 7 on a plain decimal text T.
Digits DigitsFromPlainText(std::string t) {
  // 3. Sign.
  int sign = 1;
  if (!t.empty() && t[0] == '-') {
    sign = -1;
    t.erase(0, 1);
  }
  std::string body = t;
  // 4. Point: only the first one is treated as the point.
  std::size_t found = body.find('.');
  std::int64_t p;  // 1-based
  if (found == std::string::npos) {
    p = static_cast<std::int64_t>(body.size()) + 1;
    body += '.';
  } else {
    p = static_cast<std::int64_t>(found) + 1;
  }
  std::string digit_string;
  if (p == 1) {
    digit_string = body.substr(1);
  } else {
    digit_string =
        body.substr(0, static_cast<std::size_t>(p - 1)) + body.substr(static_cast<std::size_t>(p));
  }
  // 5. Places ip - n - 1 .. ip - 1.
  const std::int64_t ip = p - 1;
  const std::int64_t n = static_cast<std::int64_t>(digit_string.size());
  Digits r;
  r.lo = ip - n - 1;
  r.d.assign(static_cast<std::size_t>(n + 1), 0);
  // 6. Character k goes to place ip - k; the extra lowest place stays 0.
  for (std::int64_t k = 1; k <= n; ++k) {
    const char c = digit_string[static_cast<std::size_t>(k - 1)];
    const int value = IsDigitChar(c) ? c - '0' : 0;
    r.Set(ip - k, sign * value);
  }
  // 7.
  TrimZeroPlaces(r);
  return r;
}

// A text (or the general text of a number) through the text rules into digits. The size of the
// trimmed result is checked before anything is expanded.
Digits DigitsFromText(const std::string& text) {
  const std::string s = Upper(TrimSpaces(text));
  if (!s.empty() && !IsNumberText(s)) RaiseTypeMismatch();
  std::string sign_and_rest;
  const std::optional<ExponentParts> parts = SplitNumberText(s, &sign_and_rest);
  if (!parts) return DigitsFromPlainText(sign_and_rest);

  // Digit k of m (from 1) lands on place x - k. A zero mantissa is zero whatever the exponent.
  std::optional<std::int64_t> top, bottom;
  for (std::int64_t k = 1; k <= static_cast<std::int64_t>(parts->m.size()); ++k) {
    if (parts->m[static_cast<std::size_t>(k - 1)] != '0') {
      if (!top) top = parts->x - k;
      bottom = parts->x - k;
    }
  }
  if (!top) return DigitsFromPlainText("0");
  const std::int64_t places =
      std::max<std::int64_t>(*top, 0) - std::min<std::int64_t>(*bottom, 0) + 1;
  if (places > kPlaceLimit) RaiseOverflow();
  return DigitsFromPlainText(PlainText(*parts));
}

Digits CreateHugeNumber(const Operand& o) {
  // 1. An array: a copy in trimmed form.
  if (o.is_array) {
    Digits copy = ArrayOf(o);
    TrimZeroPlaces(copy);
    return copy;
  }
  // 2. Anything else through its text: a number by its general text (a Boolean reads as -1 or
  // 0), a text by the text rules, an empty value as zero.
  return DigitsFromText(ScalarAsText(o.scalar));
}

// Arrays are used as they stand; anything else becomes a huge number.
Digits AsDigits(const Operand& o) { return o.is_array ? ArrayOf(o) : CreateHugeNumber(o); }

// ---------------------------------------------------------------------------------------------
// HugeNumberToText and ConvertToString

std::string HugeNumberToText(const Digits& digits) {
  // 1.
  Digits x = digits;
  TrimZeroPlaces(x);
  UnifyDigitSigns(x);
  // 2.
  std::string text = x.Get(x.hi()) < 0 || x.Get(x.lo) < 0 ? "-" : "";
  // 3.
  for (std::int64_t p = x.hi(); p >= x.lo; --p) {
    text += static_cast<char>('0' + std::abs(x.Get(p)));
    if (p == 0 && x.lo < 0) text += '.';
  }
  return text;
}

std::string ConvertToString(const Operand& o) {
  // 1.
  if (o.is_array) return HugeNumberToText(ArrayOf(o));
  // 2. A value IsNumericEx accepts: its general text (a text is its own).
  if (IsNumericEx(o)) return ScalarAsText(o.scalar);
  // 3 to 8.
  return TextRules(ScalarAsText(o.scalar));
}

std::string TextRules(const std::string& text) {
  // 3. Blanks removed at both ends, upper-cased; it must be a number.
  const std::string s = Upper(TrimSpaces(text));
  if (!s.empty() && !IsNumberText(s)) RaiseTypeMismatch();
  std::string sign_and_rest;
  const std::optional<ExponentParts> parts = SplitNumberText(s, &sign_and_rest);
  // 4.
  if (!parts) return sign_and_rest;
  // 5 to 8, unless the text would be too long to hold.
  if (PlainTextDigits(*parts) > kPlaceLimit) RaiseOverflow();
  return PlainText(*parts);
}

// ---------------------------------------------------------------------------------------------
// Add, Negate, Subtract, Compare, HugeNumberToDouble

// The double that stands for the clamp bound 1.79769313486231E+308.
double ClampBound() { return std::strtod("1.79769313486231E+308", nullptr); }

double HugeNumberToDouble(const Digits& digits) {
  const double bound = ClampBound();
  // 1.
  if (Compare(FromDigits(digits), FromScalar(Variant(-bound)), 2)) return -bound;
  // 2.
  if (Compare(FromDigits(digits), FromScalar(Variant(bound)), 1)) return bound;
  // 3. From the top place down; a zero digit adds nothing; an overflow of the power, the
  // product or the sum is an error.
  double sum = 0;
  for (std::int64_t p = digits.hi(); p >= digits.lo; --p) {
    const int digit = digits.Get(p);
    if (digit == 0) continue;
    const double power = std::pow(10.0, static_cast<double>(p));
    if (!std::isfinite(power)) RaiseOverflow();
    const double product = static_cast<double>(digit) * power;
    if (!std::isfinite(product)) RaiseOverflow();
    sum += product;
    if (!std::isfinite(sum)) RaiseOverflow();
  }
  return sum;
}

// Result rule A.
Operand ResultRuleA(const Digits& r, std::int32_t return_type) {
  switch (return_type) {
    case 0:
      return FromDigits(r);
    case 2:
      return FromScalar(Variant(HugeNumberToDouble(r)));
    default:
      return FromScalar(Variant(HugeNumberToText(r)));
  }
}

// Result rule B.
Operand ResultRuleB(const Digits& r, std::int32_t return_type) {
  switch (return_type) {
    case 0:
      return FromDigits(r);
    case 1:
      return FromScalar(Variant(HugeNumberToText(r)));
    case 2:
      return FromScalar(Variant(HugeNumberToDouble(r)));
    default:
      return FromScalar(Variant());
  }
}

Operand Add(const Operand& x, const Operand& y, std::int32_t return_type) {
  // 1.
  Digits a = AsDigits(x);
  Digits b = AsDigits(y);
  Digits r;
  // 2.
  if (IsZeroDigits(a)) {
    r = b;
  } else if (IsZeroDigits(b)) {
    r = a;
  } else {
    // 3. to 6.: the place-by-place sum the series use too.
    r = AddDigits(a, b);
  }
  // 7.
  return ResultRuleB(r, return_type);
}

Operand Negate(const Operand& x) {
  // 1. An array: every element negated, places and bounds (and a zero form) kept.
  if (x.is_array) {
    Digits r = ArrayOf(x);
    for (std::int64_t p = r.lo; p <= r.hi(); ++p) r.Set(p, -static_cast<std::int64_t>(r.Get(p)));
    return FromDigits(r);
  }
  const Variant& v = x.scalar;
  // 2. A value IsNumericEx accepts: ordinary arithmetic. A numeric text gives a double, a double
  // stays a double, a 16-bit integer widens to 32 bits and a 32-bit one to a double on overflow;
  // Boolean and empty act as the 16-bit integers -1 and 0.
  if (IsNumericEx(x)) {
    switch (v.kind()) {
      case VariantKind::Empty:
        return FromScalar(Variant(std::int16_t{0}));
      case VariantKind::Boolean:
        return FromScalar(Variant(static_cast<std::int16_t>(v.boolean() ? 1 : 0)));
      case VariantKind::Int16: {
        const std::int32_t negated = -static_cast<std::int32_t>(v.int16());
        if (negated > 32767) return FromScalar(Variant(negated));
        return FromScalar(Variant(static_cast<std::int16_t>(negated)));
      }
      case VariantKind::Int32: {
        if (v.int32() == std::numeric_limits<std::int32_t>::min()) {
          return FromScalar(Variant(-static_cast<double>(v.int32())));
        }
        return FromScalar(Variant(static_cast<std::int32_t>(-v.int32())));
      }
      case VariantKind::Double:
        return FromScalar(Variant(-v.real()));
      case VariantKind::Text:
        return FromScalar(Variant(-*platform::ReadDouble(v.text())));
      case VariantKind::Missing:
      case VariantKind::Array:
        break;
    }
    throw std::logic_error("model: IsNumericEx accepted an array or a missing value");
  }
  // 3. Any other value, as text (a double that does not read back is one): blanks removed at
  // both ends, a leading "+" read as a sign; it must be a number, and the empty text gives "0".
  const std::string t = TrimSpaces(ScalarAsText(v));
  if (t.empty()) return FromScalar(Variant("0"));
  if (!IsNumberText(t)) RaiseTypeMismatch();
  if (t[0] == '-') return FromScalar(Variant(t.substr(1)));
  if (t[0] == '+') return FromScalar(Variant("-" + t.substr(1)));
  return FromScalar(Variant("-" + t));
}

// y is negated before x is made a huge number.
Operand Subtract(const Operand& x, const Operand& y, std::int32_t return_type) {
  const Operand negated = Negate(y);
  return Add(x, negated, return_type);
}

bool Compare(const Operand& x, const Operand& y, std::int32_t operation) {
  // 1.
  const Digits a = AsDigits(x);
  const Digits b = AsDigits(y);
  // 2.
  if (operation < 0 || operation > 5) return false;
  // 3. The two basic tests.
  const auto equal = [&] {
    Digits na = a;
    UnifyDigitSigns(na);
    Digits nb = b;
    UnifyDigitSigns(nb);
    return IsSameDigits(na, nb);
  };
  const auto greater = [&] {
    Digits d = Subtract(FromDigits(a), FromDigits(b), 0).digits;
    UnifyDigitSigns(d);
    return d.Get(d.hi()) > 0 || d.Get(d.lo) > 0;
  };
  // The ordering operators ask Compare itself with greaterthan, after the equality test; both
  // are always evaluated.
  const auto nested_greater = [&] { return Compare(FromDigits(a), FromDigits(b), 1); };
  // 4.
  switch (operation) {
    case 0:
      return equal();
    case 1:
      return greater();
    case 2: {
      const bool e = equal();
      const bool g = nested_greater();
      return !e && !g;
    }
    case 3:
      return !equal();
    case 4: {
      const bool e = equal();
      const bool g = nested_greater();
      return e || g;
    }
    case 5: {
      const bool e = equal();
      const bool g = nested_greater();
      return e || !g;
    }
  }
  return false;
}

}  // namespace detail

namespace {

using namespace detail;  // NOLINT: the model's own routines, named as in the algorithms

std::int32_t Int32Argument(const Variant& v) {
  if (!v.is(VariantKind::Int32)) throw std::invalid_argument("model: 32-bit parameter expected");
  return v.int32();
}

double DoubleArgument(const Variant& v) {
  if (!v.is(VariantKind::Double)) throw std::invalid_argument("model: double parameter expected");
  return v.real();
}

// The digit-array routines below the public functions take arrays and nothing else.
Digits DigitsArgument(const Variant& v) {
  if (!v.is(VariantKind::Array)) throw std::invalid_argument("model: digit array expected");
  return ReadCallerArray(v.array());
}

void ExpectArgs(const std::vector<Variant>& args, std::size_t count) {
  if (args.size() != count) throw std::invalid_argument("model: wrong argument count");
}

Variant Dispatch(std::string_view function, std::vector<Variant>& args) {
  // One argument, nothing written back.
  using Unary = Variant (*)(const Operand&);
  static const std::pair<std::string_view, Unary> kUnary[] = {
      {"IsNumericEx", [](const Operand& x) { return Variant(IsNumericEx(x)); }},
      {"GetType", [](const Operand& x) { return Variant(GetType(x)); }},
      {"CreateHugeNumber", [](const Operand& x) { return HandBack(CreateHugeNumber(x)); }},
      {"ConvertToString", [](const Operand& x) { return Variant(ConvertToString(x)); }},
      {"Negate", [](const Operand& x) { return HandBack(Negate(x)); }},
      {"ConvertToDouble", [](const Operand& x) { return Variant(ConvertToDouble(x)); }},
      {"IsValueOverflow", [](const Operand& x) { return Variant(IsValueOverflow(x)); }},
      {"ConvertToWhole", [](const Operand& x) { return HandBack(ConvertToWhole(x)); }},
      {"AbsoluteValue", [](const Operand& x) { return HandBack(AbsoluteValue(x)); }},
      {"GetHighestPlace", [](const Operand& x) { return Variant(GetHighestPlace(x)); }},
      {"GetLowestPlace", [](const Operand& x) { return Variant(GetLowestPlace(x)); }},
      {"ConvertToScientific", [](const Operand& x) { return Variant(ConvertToScientific(x)); }},
  };
  for (const auto& [name, run] : kUnary) {
    if (function == name) {
      ExpectArgs(args, 1);
      return run(Copy(args[0]));
    }
  }
  // Two operands and a 32-bit Return_Type or Operation.
  using Binary = Variant (*)(const Operand&, const Operand&, std::int32_t);
  static const std::pair<std::string_view, Binary> kBinary[] = {
      {"Add",
       [](const Operand& x, const Operand& y, std::int32_t t) { return HandBack(Add(x, y, t)); }},
      {"Subtract", [](const Operand& x, const Operand& y,
                      std::int32_t t) { return HandBack(Subtract(x, y, t)); }},
      {"Compare", [](const Operand& x, const Operand& y,
                     std::int32_t t) { return Variant(Compare(x, y, t)); }},
      {"Multiply", [](const Operand& x, const Operand& y,
                      std::int32_t t) { return HandBack(Multiply(x, y, t)); }},
      {"Modulus", [](const Operand& x, const Operand& y,
                     std::int32_t t) { return HandBack(Modulus(x, y, t)); }},
  };
  for (const auto& [name, run] : kBinary) {
    if (function == name) {
      ExpectArgs(args, 3);
      const std::int32_t third = Int32Argument(args[2]);
      return run(Copy(args[0]), Copy(args[1]), third);
    }
  }
  if (function == "Divide") {
    ExpectArgs(args, 4);
    const std::int32_t precision = Int32Argument(args[2]);
    const std::int32_t return_type = Int32Argument(args[3]);
    return HandBack(Divide(Copy(args[0]), Copy(args[1]), precision, return_type));
  }
  // The DecimalPlace and DecimalPlaceShift variables are the caller's: written back.
  if (function == "Round" || function == "Slide") {
    ExpectArgs(args, 2);
    Int32Argument(args[1]);
    const Operand x = Copy(args[0]);
    return HandBack(function == "Round" ? Round(x, args[1]) : Slide(x, args[1]));
  }
  if (function == "Increment") {
    ExpectArgs(args, 1);
    return HandBack(Increment(args[0]));
  }
  if (function == "TrimStringValue") {
    ExpectArgs(args, 1);
    return Variant(TrimStringValue(args[0]));
  }
  if (function == "GetDigit") {
    ExpectArgs(args, 2);
    const double place = DoubleArgument(args[1]);
    return Variant(GetDigit(Copy(args[0]), place));
  }
  if (function == "LineUpStringValues") {
    ExpectArgs(args, 3);
    const std::int32_t flag = Int32Argument(args[2]);
    return Variant(LineUpStringValues(args[0], args[1], flag));
  }
  // The private digit-array routines, on arrays.
  if (function == "InternalDivide") {
    ExpectArgs(args, 3);
    const std::int32_t precision = Int32Argument(args[2]);
    const Digits x = DigitsArgument(args[0]);
    const Digits y = DigitsArgument(args[1]);
    return HandBack(InternalDivide(x, y, precision));
  }
  if (function == "AddDigits" || function == "MultiplyDigits") {
    ExpectArgs(args, 2);
    Digits a = DigitsArgument(args[0]);
    Digits b = DigitsArgument(args[1]);
    return HandBack(function == "AddDigits" ? AddDigits(a, b) : MultiplyDigits(a, b));
  }
  if (function == "IncrementDigits") {
    ExpectArgs(args, 1);
    Digits a = DigitsArgument(args[0]);
    IncrementDigits(a);
    return HandBack(a);
  }
  // The series functions.
  if (function == "Pi" || function == "e") {
    ExpectArgs(args, 2);
    Int32Argument(args[0]);
    const std::int32_t return_type = Int32Argument(args[1]);
    return HandBack(function == "Pi" ? Pi(args[0], return_type) : E(args[0], return_type));
  }
  if (function == "Calculate_e") {
    ExpectArgs(args, 3);
    return HandBack(
        Calculate_e(Int32Argument(args[0]), Int32Argument(args[1]), Int32Argument(args[2])));
  }
  if (function == "Factorial") {
    ExpectArgs(args, 2);
    const std::int32_t return_type = Int32Argument(args[1]);
    return HandBack(Factorial(Copy(args[0]), return_type));
  }
  if (function == "Exponential") {
    ExpectArgs(args, 5);
    Int32Argument(args[2]);
    Int32Argument(args[3]);
    const std::int32_t return_type = Int32Argument(args[4]);
    return HandBack(Exponential(Copy(args[0]), Copy(args[1]), args[2], args[3], return_type));
  }
  if (function == "Logarithm") {
    ExpectArgs(args, 5);
    const std::int32_t series_length = Int32Argument(args[2]);
    const std::int32_t precision = Int32Argument(args[3]);
    const std::int32_t return_type = Int32Argument(args[4]);
    return HandBack(Logarithm(Copy(args[0]), Copy(args[1]), series_length, precision, return_type));
  }
  // x, SeriesLength, Precision, Return_Type.
  static const std::pair<std::string_view, SeriesFunction> kSeries[] = {
      {"eToExponent", EToExponent},
      {"Log_e", Log_e},
      {"Sine", Sine},
      {"Cosine", Cosine},
      {"Tangent", Tangent},
      {"Secant", Secant},
      {"Cosecant", Cosecant},
      {"Cotangent", Cotangent},
      {"ArcSine", ArcSine},
      {"ArcTangent", ArcTangent},
      {"ArcCotangent", ArcCotangent},
      {"ArcCosecant", ArcCosecant},
  };
  for (const auto& [name, run] : kSeries) {
    if (function == name) {
      ExpectArgs(args, 4);
      const std::int32_t series_length = Int32Argument(args[1]);
      const std::int32_t precision = Int32Argument(args[2]);
      const std::int32_t return_type = Int32Argument(args[3]);
      return HandBack(run(Copy(args[0]), series_length, precision, return_type));
    }
  }
  if (function == "ArcCosine" || function == "ArcSecant") {
    ExpectArgs(args, 4);
    const std::int32_t series_length = Int32Argument(args[1]);
    Int32Argument(args[2]);
    const std::int32_t return_type = Int32Argument(args[3]);
    const Operand x = Copy(args[0]);
    return HandBack(function == "ArcCosine" ? ArcCosine(x, series_length, args[2], return_type)
                                            : ArcSecant(x, series_length, args[2], return_type));
  }
  throw std::invalid_argument("model: unknown function");
}

}  // namespace

Outcome Call(std::string_view function, std::vector<platform::Variant>& args) {
  Outcome outcome;
  try {
    outcome.result = Dispatch(function, args);
    outcome.ok = true;
  } catch (const platform::RaisedError& raised) {
    outcome.ok = false;
    outcome.result = Variant();
    outcome.error.number = raised.error().number;
    outcome.error.description = std::string(raised.error().description);
  }
  return outcome;
}

}  // namespace numeron::reference
