// The pieces of the reference model that its files share: the plain digit array, the values the
// functions take, and the routines one file uses from another. Nothing here is for the tests;
// they reach the model through Call alone.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/variant.h"

namespace numeron::reference::detail {

using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

constexpr std::int64_t kPlaceLimit = 100'000'000;

[[noreturn]] void RaiseOverflow();
[[noreturn]] void RaiseTypeMismatch();

// ---------------------------------------------------------------------------------------------
// Digit arrays

// How an array is handed back when it is handed back as it stands: as 16-bit digits, or as one
// of the two one-element arrays of Variant elements that stand for zero.
enum class Form { Digits16, EmptyZero, IntegerZero };

struct Digits {
  std::int64_t lo = 0;
  std::vector<int> d;  // d[k] is the digit at place lo + k
  Form form = Form::Digits16;

  std::int64_t hi() const { return lo + static_cast<std::int64_t>(d.size()) - 1; }
  bool Has(std::int64_t place) const { return place >= lo && place <= hi(); }
  int Get(std::int64_t place) const { return Has(place) ? d[place - lo] : 0; }
  // A zero form that receives a non-zero digit is an ordinary array of 16-bit digits from then
  // on: the form only says how a zero travels.
  void Set(std::int64_t place, std::int64_t value) {
    if (!Has(place)) throw std::logic_error("model: digit place outside the array");
    if (value < -32768 || value > 32767) RaiseOverflow();  // a 16-bit element
    d[place - lo] = static_cast<int>(value);
    if (value != 0) form = Form::Digits16;
  }
};

void CheckPlaces(std::int64_t lo, std::int64_t hi);
Digits NewDigits(std::int64_t lo, std::int64_t hi);
Digits RedimDigits(const Digits& digits, std::int64_t lo, std::int64_t hi);
bool IsZeroDigits(const Digits& digits);
void TrimZeroPlaces(Digits& digits);
void UnifyDigitSigns(Digits& digits);
bool IsSameDigits(const Digits& a, const Digits& b);
// The zero that products and quotients hand back: place 0 holding the integer 0.
Digits IntegerZero();
// The sign test of the text form: the digit at the upper or at the lower bound is below 0.
bool IsNegativeDigits(const Digits& digits);

// ---------------------------------------------------------------------------------------------
// Values as the functions take them: a caller's array read into digits, or any other Variant.

// A caller's array is read into digits (and may fail there) only when the function first uses
// it, so when both arguments are faulty the one used first reports its error.
struct Operand {
  bool is_array = false;
  bool unread = false;  // a caller's array, still the Variant in `scalar`
  Digits digits;        // an array already read
  Variant scalar;       // anything else
};

Operand FromDigits(Digits digits);
Operand FromScalar(Variant value);
// A function's copy of an argument.
Operand Copy(const Variant& value);
// A caller's array, read element by element into 16-bit digits.
Digits ReadCallerArray(const VariantArray& array);
// The digits of an array operand, read now if they come from the caller.
Digits ArrayOf(const Operand& o);
Variant HandBack(const Digits& digits);
Variant HandBack(const Operand& o);

// ---------------------------------------------------------------------------------------------
// Texts and numbers

std::string TrimSpaces(std::string_view text);
bool IsNumberText(std::string_view t);
bool IsNumericEx(const Operand& o);
// The value of a scalar "as text": a number's general text, a text itself, "" for empty.
std::string ScalarAsText(const Variant& v);
// Steps 3 to 8 of ConvertToString on a text: blanks removed, upper-cased, refused unless a
// number, an exponent form expanded into plain digits.
std::string TextRules(const std::string& text);

Digits CreateHugeNumber(const Operand& o);
// Arrays are used as they stand; anything else becomes a huge number.
Digits AsDigits(const Operand& o);
std::string HugeNumberToText(const Digits& digits);
std::string ConvertToString(const Operand& o);
// The double that stands for the clamp bound 1.79769313486231E+308.
double ClampBound();
double HugeNumberToDouble(const Digits& digits);
Operand ResultRuleA(const Digits& r, std::int32_t return_type);
Operand ResultRuleB(const Digits& r, std::int32_t return_type);

// ---------------------------------------------------------------------------------------------
// Arithmetic

Operand Add(const Operand& x, const Operand& y, std::int32_t return_type);
Operand Negate(const Operand& x);
Operand Subtract(const Operand& x, const Operand& y, std::int32_t return_type);
bool Compare(const Operand& x, const Operand& y, std::int32_t operation);
Operand Multiply(const Operand& x, const Operand& y, std::int32_t return_type);

// |Precision| or |DecimalPlace|; the most negative 32-bit value counts as 2147483647.
std::int64_t AbsolutePlaces(std::int32_t value);
Operand Divide(const Operand& x, const Operand& y, std::int32_t precision,
               std::int32_t return_type);
Digits InternalDivide(const Digits& x, const Digits& y, std::int32_t precision);
// `decimal_place` is the caller's DecimalPlace variable (a 32-bit integer), written back.
Operand Round(const Operand& x, Variant& decimal_place);
Operand Modulus(const Operand& x, const Operand& y, std::int32_t return_type);
// `shift` is the caller's DecimalPlaceShift variable (a 32-bit integer), written back on the
// numeric path.
Operand Slide(const Operand& x, Variant& shift);
Digits ShiftPlaces(const Digits& digits, std::int64_t n);

Digits AddDigits(Digits& a, Digits& b);
Digits MultiplyDigits(Digits a, Digits b);
void IncrementDigits(Digits& a);
// AbsoluteValue on a digit array: the normal form with every digit made non-negative.
Digits AbsoluteDigits(const Digits& digits);

// ---------------------------------------------------------------------------------------------
// Conversions and display

double ConvertToDouble(const Operand& x);
bool IsValueOverflow(const Operand& x);
Operand ConvertToWhole(const Operand& x);
Operand AbsoluteValue(const Operand& x);
// `x` is the caller's variable: an array argument is incremented in place.
Operand Increment(Variant& x);
std::string TrimStringValue(const Variant& value);
std::int16_t GetDigit(const Operand& x, double place);
std::int32_t GetHighestPlace(const Operand& x);
std::int16_t GetLowestPlace(const Operand& x);
std::int32_t LineUpStringValues(Variant& x1, Variant& x2, std::int32_t flag);
std::string ConvertToScientific(const Operand& x);

// ---------------------------------------------------------------------------------------------
// The series functions. A `Variant&` is the caller's variable, written back as a 32-bit integer.

Operand Pi(Variant& precision, std::int32_t return_type);
Operand E(Variant& precision, std::int32_t return_type);
Operand Calculate_e(std::int32_t series_length, std::int32_t precision, std::int32_t return_type);
Operand Factorial(const Operand& x, std::int32_t return_type);
Operand EToExponent(const Operand& exponent, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type);
Operand Exponential(const Operand& base, const Operand& exponent, Variant& series_length,
                    Variant& precision, std::int32_t return_type);
Operand Log_e(const Operand& x, std::int32_t series_length, std::int32_t precision,
              std::int32_t return_type);
Operand Logarithm(const Operand& x, const Operand& base, std::int32_t series_length,
                  std::int32_t precision, std::int32_t return_type);
// x, SeriesLength, Precision, Return_Type.
using SeriesFunction = Operand (*)(const Operand&, std::int32_t, std::int32_t, std::int32_t);
Operand Sine(const Operand& x, std::int32_t series_length, std::int32_t precision,
             std::int32_t return_type);
Operand Cosine(const Operand& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type);
Operand Tangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type);
Operand Secant(const Operand& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type);
Operand Cosecant(const Operand& x, std::int32_t series_length, std::int32_t precision,
                 std::int32_t return_type);
Operand Cotangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                  std::int32_t return_type);
Operand ArcSine(const Operand& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type);
Operand ArcTangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                   std::int32_t return_type);
Operand ArcCotangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                     std::int32_t return_type);
Operand ArcCosecant(const Operand& x, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type);
// These two store the places Pi used into Precision.
Operand ArcCosine(const Operand& x, std::int32_t series_length, Variant& precision,
                  std::int32_t return_type);
Operand ArcSecant(const Operand& x, std::int32_t series_length, Variant& precision,
                  std::int32_t return_type);

}  // namespace numeron::reference::detail
