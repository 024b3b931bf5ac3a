// The reference model of the number routines: a slow, literal rendering of each algorithm,
// written to be obviously right rather than fast, so that the engine in control/ can be checked
// against it call by call. It shares nothing with the engine but the platform services and the
// stored digits of pi and e.
#pragma once

#include <string_view>
#include <vector>

#include "platform/dispatch.h"
#include "platform/variant.h"

namespace numeron::reference {

// What a call hands back: a result, or the error it raised (number and description).
struct Outcome {
  bool ok = false;
  platform::Variant result;
  platform::ErrorInfo error;
};

// Calls one public function of the model. `args` is the full positional parameter list as the
// dispatch layer would hand it over: every parameter present, 32-bit parameters (Return_Type,
// Operation, Precision, DecimalPlace, DecimalPlaceShift, Append_Trailing_Zeros) already as
// 32-bit integers and GetDigit's DecimalPlace as a double. Write-backs land in args, as they land
// in the caller's variables: Round's DecimalPlace and Slide's limited shift as 32-bit integers,
// Increment's array as 16-bit digits, LineUpStringValues's two texts, the Precision that Pi, e,
// ArcCosine and ArcSecant used and Exponential's |SeriesLength| and |Precision|, as 32-bit
// integers. SeriesLength is a 32-bit parameter too.
// Covers IsNumericEx, GetType, CreateHugeNumber, ConvertToString, Add, Negate, Subtract, Compare,
// Multiply, Divide, Round, Modulus, Slide, ConvertToDouble, IsValueOverflow, ConvertToWhole,
// AbsoluteValue, Increment, TrimStringValue, GetDigit, GetHighestPlace, GetLowestPlace,
// LineUpStringValues, ConvertToScientific, Pi, e, Calculate_e, Factorial, eToExponent,
// Exponential, Log_e, Logarithm, Sine, Cosine, Tangent, Secant, Cosecant, Cotangent, ArcSine,
// ArcTangent, ArcCosine, ArcCotangent, ArcSecant and ArcCosecant, and, on digit arrays only, the
// private routines
// InternalDivide (with a 32-bit Precision), AddDigits, MultiplyDigits and IncrementDigits (which
// hands back the incremented array). Any other name, a wrong argument count or a parameter of
// the wrong kind throws std::invalid_argument.
Outcome Call(std::string_view function, std::vector<platform::Variant>& args);

}  // namespace numeron::reference
