// The published interface of _Numeron: dispatch identifiers, parameters with their kinds and
// defaults, result kinds and help strings, each member bound to the routine that answers it.
// This table is the one place these facts live; the type library is built from it.
#include "control/arithmetic/arithmetic.h"
#include "control/conversion/conversion.h"
#include "control/object/members.h"
#include "control/object/numeron.h"
#include "control/object/numeron_object.h"
#include "control/series/constants.h"
#include "control/series/series.h"
#include "control/trig/trig.h"

namespace numeron {
namespace {

using platform::ParamDesc;
using platform::ParamType;
using platform::ResultType;

ParamDesc Var(std::string_view name) { return {name, ParamType::Variant, "Variant"}; }
ParamDesc OptionalVariant(std::string_view name, Variant default_value) {
  return {name, ParamType::Variant, "Variant", true, std::move(default_value)};
}
ParamDesc Long(std::string_view name, std::string_view type_name) {
  return {name, ParamType::Int32, type_name};
}
ParamDesc OptionalLong(std::string_view name, std::string_view type_name) {
  return {name, ParamType::Int32, type_name, true};
}
ParamDesc OptionalLong(std::string_view name, std::string_view type_name, std::int32_t value) {
  return {name, ParamType::Int32, type_name, true, Variant(value)};
}
ParamDesc Real(std::string_view name) { return {name, ParamType::Double, "Double"}; }
ParamDesc Str(std::string_view name) { return {name, ParamType::Text, "String"}; }
// The settings of the series and of most results, with the defaults a host gets by leaving
// them out: thirty terms, ten places, a huge number.
ParamDesc SeriesLength() { return OptionalLong("SeriesLength", "Long", 30); }
ParamDesc Precision() { return OptionalLong("Precision", "Long", 10); }
ParamDesc ReturnType() { return OptionalLong("Return_Type", "TypeOfValue", Huge_Number); }
Variant I2(std::int16_t value) { return Variant(value); }
// A parameter whose variable the member writes into (see the Invoke routines below).
ParamDesc WrittenBack(ParamDesc param) {
  param.written_back = true;
  return param;
}

Variant InvokeIsNumericEx(NumeronObject&, CallArgs& args) { return Variant(IsNumericEx(args[0])); }
Variant InvokeGetType(NumeronObject&, CallArgs& args) {
  return Variant(static_cast<std::int32_t>(GetType(args[0])));
}
Variant InvokeCreateHugeNumber(NumeronObject&, CallArgs& args) {
  return ToVariant(CreateHugeNumber(args[0]));
}
Variant InvokeConvertToString(NumeronObject&, CallArgs& args) {
  return Variant(ConvertToString(args[0]));
}
Variant InvokeAdd(NumeronObject&, CallArgs& args) { return Add(args[0], args[1], args.Int32(2)); }
Variant InvokeSubtract(NumeronObject&, CallArgs& args) {
  return Subtract(args[0], args[1], args.Int32(2));
}
Variant InvokeNegate(NumeronObject&, CallArgs& args) { return Negate(args[0]); }
Variant InvokeCompare(NumeronObject&, CallArgs& args) {
  return Variant(Compare(args[0], args[1], args.Int32(2)));
}
Variant InvokeMultiply(NumeronObject&, CallArgs& args) {
  return Multiply(args[0], args[1], args.Int32(2));
}
Variant InvokeDivide(NumeronObject&, CallArgs& args) {
  return Divide(args[0], args[1], args.Int32(2), args.Int32(3));
}
Variant InvokeModulus(NumeronObject&, CallArgs& args) {
  return Modulus(args[0], args[1], args.Int32(2));
}
// Round stores the places it used back into the caller's DecimalPlace before it reads the number.
Variant InvokeRound(NumeronObject&, CallArgs& args) {
  const std::int32_t places = AbsolutePlaces(args.Int32(1));
  args.WriteBack(1, Variant(places));
  return Round(args[0], places);
}
Variant InvokeSlide(NumeronObject&, CallArgs& args) {
  std::optional<std::int32_t> limited;
  Variant result = Slide(args[0], args.Int32(1), &limited);
  if (limited) args.WriteBack(1, Variant(*limited));
  return result;
}
Variant InvokeConvertToDouble(NumeronObject&, CallArgs& args) {
  return Variant(ConvertToDouble(args[0]));
}
Variant InvokeIsValueOverflow(NumeronObject&, CallArgs& args) {
  return Variant(IsValueOverflow(args[0]));
}
Variant InvokeConvertToWhole(NumeronObject&, CallArgs& args) { return ConvertToWhole(args[0]); }
Variant InvokeAbsoluteValue(NumeronObject&, CallArgs& args) { return AbsoluteValue(args[0]); }
// Increment changes an array argument in place: the caller's own variable.
Variant InvokeIncrement(NumeronObject&, CallArgs& args) {
  Variant x = args[0];
  Variant result = Increment(x);
  if (x != args[0]) args.WriteBack(0, std::move(x));
  return result;
}
Variant InvokeTrimStringValue(NumeronObject&, CallArgs& args) {
  return Variant(TrimStringValue(args.Text(0)));
}
Variant InvokeGetDigit(NumeronObject&, CallArgs& args) {
  return Variant(GetDigit(args[0], args.Double(1)));
}
Variant InvokeGetHighestPlace(NumeronObject&, CallArgs& args) {
  return Variant(GetHighestPlace(args[0]));
}
Variant InvokeGetLowestPlace(NumeronObject&, CallArgs& args) {
  return Variant(GetLowestPlace(args[0]));
}
// LineUpStringValues writes both padded texts back into the caller's arguments.
Variant InvokeLineUpStringValues(NumeronObject&, CallArgs& args) {
  Variant x1 = args[0];
  Variant x2 = args[1];
  const std::int32_t length = LineUpStringValues(x1, x2, args.Int32(2));
  args.WriteBack(0, std::move(x1));
  args.WriteBack(1, std::move(x2));
  return Variant(length);
}
Variant InvokeConvertToScientific(NumeronObject&, CallArgs& args) {
  return Variant(ConvertToScientific(args[0]));
}
Variant InvokeCalculate_e(NumeronObject&, CallArgs& args) {
  return Calculate_e(args.Int32(0), args.Int32(1), args.Int32(2));
}
Variant InvokeeToExponent(NumeronObject&, CallArgs& args) {
  return eToExponent(args[0], args.Int32(1), args.Int32(2), args.Int32(3));
}
// Exponential stores the absolute SeriesLength and Precision back before anything else.
Variant InvokeExponential(NumeronObject&, CallArgs& args) {
  const std::int32_t series_length = AbsolutePlaces(args.Int32(2));
  const std::int32_t precision = AbsolutePlaces(args.Int32(3));
  args.WriteBack(2, Variant(series_length));
  args.WriteBack(3, Variant(precision));
  return Exponential(args[0], args[1], series_length, precision, args.Int32(4));
}
Variant InvokeLog_e(NumeronObject&, CallArgs& args) {
  return Log_e(args[0], args.Int32(1), args.Int32(2), args.Int32(3));
}
Variant InvokeLogarithm(NumeronObject&, CallArgs& args) {
  return Logarithm(args[0], args[1], args.Int32(2), args.Int32(3), args.Int32(4));
}
Variant InvokeFactorial(NumeronObject&, CallArgs& args) {
  return Factorial(args[0], args.Int32(1));
}

// The trigonometric members share one parameter list: x, SeriesLength, Precision, Return_Type.
using TrigFunction = Variant (*)(const Variant&, std::int32_t, std::int32_t, std::int32_t);
template <TrigFunction function>
Variant InvokeTrig(NumeronObject&, CallArgs& args) {
  return function(args[0], args.Int32(1), args.Int32(2), args.Int32(3));
}
template <TrigFunction function>
Variant InvokeOfReciprocal(NumeronObject&, CallArgs& args) {
  return function(Reciprocal(args[0], args.Int32(2)), args.Int32(1), args.Int32(2), args.Int32(3));
}
// ArcCosine and ArcSecant cut pi as Pi does, which stores the places it used into Precision.
Variant ArcCosineWritingBack(NumeronObject& self, const Variant& x, CallArgs& args) {
  const std::int32_t places = ConstantPlaces(args.Int32(2));
  args.WriteBack(2, Variant(places));
  return ArcCosine(self.pi(), x, args.Int32(1), places, args.Int32(3));
}
Variant InvokeArcCosine(NumeronObject& self, CallArgs& args) {
  return ArcCosineWritingBack(self, args[0], args);
}
Variant InvokeArcSecant(NumeronObject& self, CallArgs& args) {
  return ArcCosineWritingBack(self, Reciprocal(args[0], args.Int32(2)), args);
}

// Pi and e store the places they used back into the caller's Precision.
Variant CutConstantWritingBack(const HugeNumber& constant, CallArgs& args) {
  const std::int32_t places = ConstantPlaces(args.Int32(0));
  args.WriteBack(0, Variant(places));
  return CutConstant(constant, places, args.Int32(1));
}
Variant InvokePi(NumeronObject& self, CallArgs& args) {
  return CutConstantWritingBack(self.pi(), args);
}
Variant Invokee(NumeronObject& self, CallArgs& args) {
  return CutConstantWritingBack(self.e(), args);
}

}  // namespace

const std::vector<Member>& Members() {
  static const std::vector<Member> members = {
      {0x60030000,
       "IsNumericEx",
       {Var("Numeric_Expression")},
       ResultType::Boolean,
       "Boolean",
       "",
       &InvokeIsNumericEx},
      {0x60030003,
       "Round",
       {Var("Numeric_Expression"), WrittenBack(Long("DecimalPlace", "Long"))},
       ResultType::Variant,
       "Variant",
       "Returns a number rounded to the 10^-(abs(decimalplace)) place, i.e., "
       "the DecimalPlace is the number of digits behind the decimal that "
       "remain in the result, the rest are stripped and the last remaining is "
       "rounded to best approximate the removed digits.",
       &InvokeRound},
      {0x60030004,
       "Modulus",
       {Var("Numeric_Expression1"), Var("Numeric_Expression2"), Long("Return_Type", "TypeOfValue")},
       ResultType::Variant,
       "Variant",
       "Returns the modulus of two numbers in the specified return type.  "
       "Equivilent to: (numeric_expression1 mod numeric_expression2) in Visual "
       "Basic.",
       &InvokeModulus},
      {0x60030005,
       "Pi",
       {WrittenBack(Precision()), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns Pi in the type specified with the precision specified (maximum "
       "is 999).",
       &InvokePi},
      {0x60030006,
       "e",
       {WrittenBack(Precision()), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns e with the given decimal precision (maximum = 999) from an "
       "internal constant in the type specified.",
       &Invokee},
      {0x60030007,
       "Exponential",
       {Var("Numeric_Expression"), Var("Exponent"), WrittenBack(SeriesLength()),
        WrittenBack(Precision()), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns a numeric_expression raised to an exponent in the type "
       "specified with a given precision.  Serieslength determines the number "
       "of items in the series.",
       &InvokeExponential},
      {0x6003000A,
       "CreateHugeNumber",
       {Var("Numeric_Expression")},
       ResultType::Variant,
       "Variant",
       "Returns a huge number (stored in a variant) created from a "
       "numeric_expression. ",
       &InvokeCreateHugeNumber},
      {0x6003000D,
       "ConvertToDouble",
       {Var("Numeric_Expression")},
       ResultType::Double,
       "Double",
       "Returns a double value created from the numeric_expression.",
       &InvokeConvertToDouble},
      {0x6003000F,
       "IsValueOverflow",
       {Var("Numeric_Expression")},
       ResultType::Boolean,
       "Boolean",
       "Returns true if numeric_expression is too large (or small) to fit into "
       "a double value.",
       &InvokeIsValueOverflow},
      {0x60030010,
       "ConvertToString",
       {Var("Numeric_Expression")},
       ResultType::Text,
       "String",
       "Returns a string created from a numeric_expression. ",
       &InvokeConvertToString},
      {0x60030012,
       "Add",
       {Var("Numeric_Expression1"), Var("Numeric_Expression2"), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Adds two numeric expressions together and returns the result in the "
       "form of the specified type.",
       &InvokeAdd},
      {0x60030014,
       "Subtract",
       {Var("Numeric_Expression1"), Var("Numeric_Expression2"), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Subtracts two values and returns the result in the type specified.",
       &InvokeSubtract},
      {0x60030015,
       "Negate",
       {Var("Numeric_Expression")},
       ResultType::Variant,
       "Variant",
       "Returns -numeric_expression.",
       &InvokeNegate},
      {0x60030016,
       "LineUpStringValues",
       {WrittenBack(Var("Numeric_Expression1")), WrittenBack(Var("Numeric_Expression2")),
        OptionalLong("Append_Trailing_Zeros", "Flag")},
       ResultType::Int32,
       "Long",
       "Takes two strings (passing built-in numerical data types produces an "
       "error) and \"lines up\" the numbers, making their decimal points appear "
       "in the same position for both numbers.  If trailing zeros are opted "
       "for, 0s will be appened as needed.  Returns the length of the first "
       "string (which is the same as the second).  You may pass variants to "
       "this function instead of strings, but do so with care, remembering "
       "that they will now be string values.",
       &InvokeLineUpStringValues},
      {0x6003001C,
       "ConvertToScientific",
       {Var("Numeric_Expression")},
       ResultType::Text,
       "String",
       "Returns the scientific notation of numeric_expression in the form of a "
       "string.  Useful for display purposes.",
       &InvokeConvertToScientific},
      {0x6003001E,
       "GetDigit",
       {Var("Numeric_Expression"), Real("DecimalPlace")},
       ResultType::Int16,
       "Integer",
       "Returns an integer containing the digit value (-9 to 9) at a given "
       "place (0 is ones, 1 in tens,  -1 in hundreths, etc.)",
       &InvokeGetDigit},
      {0x6003001F,
       "GetHighestPlace",
       {Var("Numeric_Expression")},
       ResultType::Int32,
       "Long",
       "Returns the largest place in a number that contains a value (other "
       "than 0), i.e., 600 returns 2 and 1.45 returns 0, basically, the "
       "largest value of x that returns a result >= 1 in the equation:  "
       "numeric_expression/(10^x).  ",
       &InvokeGetHighestPlace},
      {0x60030020,
       "GetLowestPlace",
       {Var("Numeric_Expression")},
       ResultType::Int16,
       "Integer",
       "Same as GetHighestPlace, except that it returns the lowest place in a "
       "number that contains a value.",
       &InvokeGetLowestPlace},
      {0x60030021,
       "GetType",
       {Var("Numeric_Expression")},
       ResultType::Int32,
       "TypeOfValue",
       "Returns the type of a value passed to the function with the return "
       "type TypeOfValue.",
       &InvokeGetType},
      {0x60030023,
       "Compare",
       {Var("Numeric_Expression1"), Var("Numeric_Expression2"),
        OptionalLong("Operation", "Comparison_Operator", 0)},
       ResultType::Boolean,
       "Boolean",
       "Compares two numeric_expressions with the specified comparison "
       "operator and returns a boolean result.",
       &InvokeCompare},
      {0x60030027,
       "Divide",
       {Var("Numeric_Expression1"), Var("Numeric_Expression2"), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the result of dividing numeric_expression1 by "
       "numeric_expression2 (ne1/ne2) in the specified type and with the "
       "specified decimal precision.",
       &InvokeDivide},
      {0x60030029,
       "Slide",
       {Var("Numeric_Expression"), WrittenBack(Long("DecimalPlaceShift", "Long"))},
       ResultType::Variant,
       "Variant",
       "Returns a \"slided\" numeric_expression, slid by the value DecimalPlace "
       "shift.  Mathmatically, this is equivilent "
       "to:\r\n(numeric_expression)*(10^decimalplaceshift).",
       &InvokeSlide},
      {0x6003002B,
       "Multiply",
       {Var("Numeric_Expression1"), Var("Numeric_Expression2"), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Multiplies two numeric_expressions and returns the result in the "
       "return type specified.",
       &InvokeMultiply},
      {0x6003002C,
       "ConvertToWhole",
       {Var("Numeric_Expression")},
       ResultType::Variant,
       "Variant",
       "Returns only the integral part of numeric_expression.  Equivilent to "
       "the Int() function in Visual Basic.",
       &InvokeConvertToWhole},
      {0x6003002E,
       "TrimStringValue",
       {Str("String_Value")},
       ResultType::Text,
       "String",
       "Accepts a string argument and returns a string with all excess "
       "(unneeded to represent the value properly) 0's.  This is useful for "
       "display purposes. ",
       &InvokeTrimStringValue},
      {0x6003002F,
       "AbsoluteValue",
       {Var("Numeric_Expression")},
       ResultType::Variant,
       "Variant",
       "Returns the absolute value of a numeric expression.  Equivilent to the "
       "abs() function in Visual Basic.",
       &InvokeAbsoluteValue},
      {0x60030031,
       "Factorial",
       {Var("Numeric_Expression"), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the factorial of a number in the type specified.  When "
       "requesting a double return type, care should be taken to avoid an "
       "overflow.",
       &InvokeFactorial},
      {0x60030034,
       "Increment",
       {WrittenBack(Var("Numeric_Expression"))},
       ResultType::Variant,
       "Variant",
       "Returns  a numeric expression incremented by 1.",
       &InvokeIncrement},
      {0x60030035,
       "Log_e",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the result of a logarithim with a base of e on a "
       "numeric_expression in the specified return type with a given "
       "precision.",
       &InvokeLog_e},
      {0x60030037,
       "Calculate_e",
       {SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Generates e \"on the fly\" and returns the result in the type specified, "
       "with the given precision.",
       &InvokeCalculate_e},
      {0x60030038,
       "eToExponent",
       {OptionalVariant("Exponent", I2(2)), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns e to an exponent (generated on the fly) in the specified type "
       "with the specified precision.  Serieslength indicated how long the "
       "series used for the calculation should be.",
       &InvokeeToExponent},
      {0x60030039,
       "Logarithm",
       {Var("Numeric_Expression"), OptionalVariant("Base", I2(10)), SeriesLength(), Precision(),
        ReturnType()},
       ResultType::Variant,
       "Variant",
       "Like log_e, but allows you to specify the base.",
       &InvokeLogarithm},
      {0x6003003A,
       "Sine",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the sine of a numeric_expression  in the form of the specified "
       "type.",
       &InvokeTrig<Sine>},
      {0x6003003B,
       "Cosine",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the cosine of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeTrig<Cosine>},
      {0x6003003C,
       "Tangent",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the tangent of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeTrig<Tangent>},
      {0x6003003D,
       "Secant",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the secant of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeTrig<Secant>},
      {0x6003003E,
       "Cosecant",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the cosecant of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeTrig<Cosecant>},
      {0x6003003F,
       "Cotangent",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the cotangent of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeTrig<Cotangent>},
      {0x60030040,
       "ArcSine",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the inverse sine of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeTrig<ArcSine>},
      {0x60030041,
       "ArcCosine",
       {Var("Numeric_Expression"), SeriesLength(), WrittenBack(Precision()), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the inverse cosine of a numeric_expression in the form of the "
       "specified type.",
       &InvokeArcCosine},
      {0x60030042,
       "ArcTangent",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the inverse tangent of a numeric_expression  in the form of "
       "the specified type.",
       &InvokeTrig<ArcTangent>},
      {0x60030043,
       "ArcCotangent",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the inverse cotangent of a numeric_expression in the form of "
       "the specified type.",
       &InvokeOfReciprocal<ArcTangent>},
      {0x60030044,
       "ArcSecant",
       {Var("Numeric_Expression"), SeriesLength(), WrittenBack(Precision()), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the inverse secant of a numeric_expression  in the form of the "
       "specified type.",
       &InvokeArcSecant},
      {0x60030045,
       "ArcCosecant",
       {Var("Numeric_Expression"), SeriesLength(), Precision(), ReturnType()},
       ResultType::Variant,
       "Variant",
       "Returns the inverse cosecant of a numeric_expression in the form of "
       "the specified type.",
       &InvokeOfReciprocal<ArcSine>},
  };
  return members;
}

const platform::TypeLibrary& NumeronTypeLibrary() {
  static const platform::TypeLibrary library = [] {
    platform::TypeLibrary lib{"NumeronControl",
                              "4.0",
                              "Orrindale Numeron Control Demo",
                              "Numeron.hlp",
                              "{71702D7C-5565-11D2-9AB7-444553540001}",
                              "_Numeron",
                              "{FA9127B5-55F9-11D2-9AB7-444553540001}",
                              {},
                              {}};
    for (const Member& member : Members()) lib.members.push_back(member.desc);
    lib.enums = {
        {"Flag", "{FA9127B7-55F9-11D2-9AB7-444553540001}", {{"Yes", 0}, {"No", 1}}},
        {"Operation",
         "{FA9127B8-55F9-11D2-9AB7-444553540001}",
         {{"Addition", 0},
          {"Subtraction", 1},
          {"Multiplication", 2},
          {"Division", 3},
          {"Modulation", 4},
          {"Exponent", 5}}},
        {"TypeOfValue",
         "{FA9127B9-55F9-11D2-9AB7-444553540001}",
         {{"Huge_Number", 0}, {"String_Value", 1}, {"double_value", 2}}},
        {"Comparison_Operator",
         "{FA9127BA-55F9-11D2-9AB7-444553540001}",
         {{"Equal", 0},
          {"greaterthan", 1},
          {"LessThan", 2},
          {"NotEqual", 3},
          {"GreaterThanOrEqual", 4},
          {"LessThanOrEqual", 5}}},
    };
    return lib;
  }();
  return library;
}

}  // namespace numeron
