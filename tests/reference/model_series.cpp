// The reference model's constants, factorial, exponentials, logarithms and trigonometric series,
// each step by step as its algorithm gives it (see model.cpp for the ground rules). Every
// counter, factorial, power and sum is a digit array, added and multiplied with AddDigits and
// MultiplyDigits with the operands in the order the algorithm names them, because the digits
// they leave (not only their values) decide what a cut at place -Precision keeps.
#include <cstdint>
#include <utility>

#include "control/object/constants.h"
#include "platform/error.h"
#include "tests/reference/model_internal.h"

namespace numeron::reference::detail {

namespace {

constexpr platform::Error kNegativeFactorial{
    -2147220504, "Math logic error:  You cannot use factorial with a negative number."};
constexpr platform::Error kSeriesLength{-2147220503,
                                        "The series length must be a positive integer."};
constexpr platform::Error kLogOfNonPositive{
    -2147220501, "You cannot find the log of a negative number or of zero."};
constexpr platform::Error kArcSineDomain{
    -2147220497,
    "For 'arc' (inverse) trigonometric functions, (numeric_expression ^ 2) must be less than 1."};
constexpr platform::Error kArcTangentDomain{
    -2147220497, "For 'arc' (inverse) trigonometric functions, (NE ^ 2) must be less than 1."};

constexpr std::int32_t kHugeNumber = 0;
constexpr std::int32_t kGreaterThan = 1;
constexpr std::int32_t kLessThan = 2;
constexpr std::int32_t kLessThanOrEqual = 5;

// The small whole constants of the series code: one place, place 0.
Digits Small(int value) {
  Digits r = NewDigits(0, 0);
  r.Set(0, value);
  return r;
}

Operand Number(int value) { return FromScalar(Variant(static_cast<std::int16_t>(value))); }

Digits DigitsOf(const Operand& o) { return ArrayOf(o); }

// A series function's copy of its argument as a huge number: an array in its normal form (so
// that how a value is held cannot change the result), anything else made a huge number.
Digits SeriesArgument(const Operand& o) {
  if (!o.is_array) return CreateHugeNumber(o);
  Digits digits = ArrayOf(o);
  UnifyDigitSigns(digits);
  return digits;
}

void CheckSeriesLength(std::int32_t series_length) {
  if (series_length < 1) platform::Raise(kSeriesLength);
}

// The cut at place -places, digits below it dropped; the array keeps its own top, and is
// extended down with zeros when it did not reach that low.
Digits Truncate(const Digits& digits, std::int64_t places) {
  return RedimDigits(digits, -places, digits.hi());
}

// The cut made only when the array reaches below place -places.
Digits TruncateBelow(const Digits& digits, std::int64_t places) {
  return digits.lo < -places ? Truncate(digits, places) : digits;
}

Digits Negated(const Digits& digits) { return DigitsOf(Negate(FromDigits(digits))); }

// Pi and e: the stored constant cut, never rounded, to the places used.
const Digits& StoredPi() {
  static const Digits pi = CreateHugeNumber(FromScalar(Variant(kPiText)));
  return pi;
}

const Digits& StoredE() {
  static const Digits e = CreateHugeNumber(FromScalar(Variant(kEText)));
  return e;
}

Operand CutConstant(const Digits& constant, Variant& precision, std::int32_t return_type) {
  // 1, 2. |Precision|, at most 999, stored back.
  std::int64_t p = AbsolutePlaces(precision.int32());
  if (p > 999) p = 999;
  precision = Variant(static_cast<std::int32_t>(p));
  // 3. Places -P up to 1.
  const Digits r = RedimDigits(constant, -p, 1);
  // 4.
  return ResultRuleA(r, return_type);
}

// Steps 2 to 5 of Sine and Cosine once the argument is read: the same loop from different
// starting values.
Digits SineCosineLoop(const Digits& x, Digits power, Digits sum, Digits n, Digits factorial,
                      std::int32_t series_length, std::int32_t precision) {
  const std::int64_t places = AbsolutePlaces(precision);
  Digits one = Small(1);
  const auto advance = [&] {
    // Two steps of the counter and the factorial, two factors x of the power, then the cuts.
    n = AddDigits(n, one);
    factorial = MultiplyDigits(factorial, n);
    n = AddDigits(n, one);
    factorial = MultiplyDigits(factorial, n);
    power = MultiplyDigits(MultiplyDigits(power, x), x);
    power = TruncateBelow(power, places);
    sum = TruncateBelow(sum, places);
  };
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    Digits term = Negated(InternalDivide(power, factorial, precision));
    sum = AddDigits(sum, term);
    advance();
    term = InternalDivide(power, factorial, precision);
    sum = AddDigits(sum, term);
    advance();
  }
  UnifyDigitSigns(sum);
  return sum;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pi, e, Calculate_e

Operand Pi(Variant& precision, std::int32_t return_type) {
  return CutConstant(StoredPi(), precision, return_type);
}

Operand E(Variant& precision, std::int32_t return_type) {
  return CutConstant(StoredE(), precision, return_type);
}

Operand Calculate_e(std::int32_t series_length, std::int32_t precision, std::int32_t return_type) {
  // 1.
  CheckSeriesLength(series_length);
  // 2.
  Digits sum = Small(1);
  Digits factorial = Small(1);
  Digits n = Small(1);
  Digits one = Small(1);
  // 3.
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    n = AddDigits(n, one);
    Digits term = InternalDivide(Small(1), factorial, precision);
    sum = AddDigits(sum, term);
    factorial = MultiplyDigits(factorial, n);
  }
  // 4.
  return ResultRuleB(sum, return_type);
}

// ---------------------------------------------------------------------------------------------
// Factorial: one path for every kind of result; 0! is 1.

Operand Factorial(const Operand& argument, std::int32_t return_type) {
  // 1, 3.1
  Digits x = SeriesArgument(argument);
  // 3.2
  if (IsNegativeDigits(x)) platform::Raise(kNegativeFactorial);
  if (IsZeroDigits(x)) return ResultRuleB(Small(1), return_type);
  // 3.3
  Operand acc = FromDigits(x);
  Operand value = FromDigits(x);
  const Operand one = FromDigits(Small(1));
  // 3.4
  while (Compare(value, one, kGreaterThan)) {
    value = Subtract(value, one, kHugeNumber);
    acc = Multiply(value, acc, kHugeNumber);
  }
  // 3.5
  return ResultRuleB(DigitsOf(acc), return_type);
}

// ---------------------------------------------------------------------------------------------
// eToExponent, Log_e, Logarithm, Exponential

Operand EToExponent(const Operand& exponent, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type) {
  // 1.
  const Digits x = SeriesArgument(exponent);
  // 2.
  CheckSeriesLength(series_length);
  // 3.
  Digits sum = Small(1);
  Digits n = Small(1);
  Digits factorial = Small(1);
  Digits one = Small(1);
  Digits power = x;
  const Digits x0 = x;
  // 4. Neither the power nor the sum is ever cut.
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    n = AddDigits(n, one);
    Digits term = InternalDivide(power, factorial, precision);
    sum = AddDigits(sum, term);
    factorial = MultiplyDigits(factorial, n);
    power = MultiplyDigits(x0, power);
  }
  // 5.
  return ResultRuleB(sum, return_type);
}

Operand Log_e(const Operand& argument, std::int32_t series_length, std::int32_t precision,
              std::int32_t return_type) {
  // 1, 2. The value is tested before the series length.
  if (Compare(argument, Number(0), kLessThanOrEqual)) platform::Raise(kLogOfNonPositive);
  // 3.
  CheckSeriesLength(series_length);
  // 4.
  Digits x = SeriesArgument(argument);
  // 5. below before above: IncrementDigits changes x itself.
  const Digits below = DigitsOf(Subtract(FromDigits(x), Number(1), kHugeNumber));
  IncrementDigits(x);
  const Digits above = x;
  // 6.
  const Digits z = DigitsOf(Divide(FromDigits(below), FromDigits(above), precision, kHugeNumber));
  // 7.
  const std::int64_t places = AbsolutePlaces(precision);
  Digits power = z;
  const Digits z0 = z;
  Digits odd = Small(1);
  Digits two = Small(2);
  Digits sum = Small(0);
  // 8. The power is cut in every pass, whether or not it reaches that low.
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    Digits term = InternalDivide(power, odd, precision);
    sum = AddDigits(sum, term);
    power = Truncate(MultiplyDigits(MultiplyDigits(power, z0), z0), places);
    odd = AddDigits(odd, two);
  }
  // 9.
  const Digits result = DigitsOf(Multiply(FromDigits(sum), Number(2), kHugeNumber));
  // 10.
  return ResultRuleB(result, return_type);
}

Operand Logarithm(const Operand& argument, const Operand& base, std::int32_t series_length,
                  std::int32_t precision, std::int32_t return_type) {
  // 2. The base is not tested here.
  if (Compare(argument, Number(0), kLessThanOrEqual)) platform::Raise(kLogOfNonPositive);
  // 3.
  CheckSeriesLength(series_length);
  // 4.
  const Digits x = SeriesArgument(argument);
  const Digits b = SeriesArgument(base);
  // 5.
  const Operand lx = Log_e(FromDigits(x), series_length, precision, kHugeNumber);
  const Operand lb = Log_e(FromDigits(b), series_length, precision, kHugeNumber);
  // 6, 7.
  return ResultRuleA(DigitsOf(Divide(lx, lb, precision, kHugeNumber)), return_type);
}

Operand Exponential(const Operand& base, const Operand& exponent, Variant& series_length,
                    Variant& precision, std::int32_t return_type) {
  // 1. Both stored back before anything else.
  const auto n = static_cast<std::int32_t>(AbsolutePlaces(series_length.int32()));
  const auto p = static_cast<std::int32_t>(AbsolutePlaces(precision.int32()));
  series_length = Variant(n);
  precision = Variant(p);
  // 2. The exponent is read first; its value, not its kind, chooses the path.
  const Digits y = SeriesArgument(exponent);
  bool whole = true;
  for (std::int64_t place = y.lo; place < 0; ++place) {
    if (y.Get(place) != 0) whole = false;
  }
  if (whole) {
    // Whole-exponent path. 2. (The normal form holds place 0 and no digit below it is set.)
    std::int64_t k = 0;
    for (std::int64_t place = y.hi(); place >= 0; --place) {
      k = k * 10 + y.Get(place);
      if (k > 2147483648LL || k < -2147483649LL) RaiseOverflow();
    }
    if (k > 2147483647LL || k < -2147483648LL) RaiseOverflow();
    // 1.
    Digits b = SeriesArgument(base);
    const Digits b0 = b;
    // 3.
    if (k == 0) {
      b = Small(1);
    } else if (k == -1) {
      b = DigitsOf(Divide(Number(1), FromDigits(b), p, kHugeNumber));
    } else if (k != 1) {
      const std::int64_t count = k < 0 ? -k : k;
      for (std::int64_t i = 2; i <= count; ++i) {
        b = DigitsOf(Multiply(FromDigits(b), FromDigits(b0), kHugeNumber));
      }
      if (k < 0) b = DigitsOf(Divide(Number(1), FromDigits(b), p, kHugeNumber));
    }
    // 4.
    return ResultRuleB(b, return_type);
  }
  // Series path. 1.
  const Digits l = DigitsOf(Log_e(base, n, p, kHugeNumber));
  // 2.
  const Digits m = DigitsOf(Multiply(FromDigits(y), FromDigits(l), kHugeNumber));
  // 3.
  Digits sum = Small(1);
  Digits counter = Small(1);
  Digits factorial = Small(1);
  Digits one = Small(1);
  Digits power = m;
  // 4. The first power is m itself, uncut; the sum and every later power are cut every pass.
  for (std::int32_t pass = 1; pass <= n; ++pass) {
    Digits term = InternalDivide(power, factorial, p);
    sum = Truncate(AddDigits(sum, term), p);
    counter = AddDigits(counter, one);
    factorial = MultiplyDigits(factorial, counter);
    power = Truncate(MultiplyDigits(power, m), p);
  }
  // 5.
  return ResultRuleB(sum, return_type);
}

// ---------------------------------------------------------------------------------------------
// Sine, Cosine and their quotients

Operand Sine(const Operand& argument, std::int32_t series_length, std::int32_t precision,
             std::int32_t return_type) {
  // 1.
  CheckSeriesLength(series_length);
  // 2.
  const Digits x = SeriesArgument(argument);
  // 3.
  const Operand square = Multiply(FromDigits(x), FromDigits(x), kHugeNumber);
  const Digits power = DigitsOf(Multiply(square, FromDigits(x), kHugeNumber));
  // 4 to 6.
  const Digits sum = SineCosineLoop(x, power, x, Small(3), Small(6), series_length, precision);
  // 7.
  return ResultRuleB(sum, return_type);
}

Operand Cosine(const Operand& argument, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type) {
  CheckSeriesLength(series_length);
  const Digits x = SeriesArgument(argument);
  const Digits power = DigitsOf(Multiply(FromDigits(x), FromDigits(x), kHugeNumber));
  Digits sum = SineCosineLoop(x, power, Small(1), Small(2), Small(2), series_length, precision);
  TrimZeroPlaces(sum);
  return ResultRuleB(sum, return_type);
}

Operand Tangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type) {
  const Operand s = Sine(x, series_length, precision, kHugeNumber);
  const Operand c = Cosine(x, series_length, precision, kHugeNumber);
  return Divide(s, c, precision, return_type);
}

Operand Secant(const Operand& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type) {
  const Operand c = Cosine(x, series_length, precision, kHugeNumber);
  return Divide(Number(1), c, precision, return_type);
}

Operand Cosecant(const Operand& x, std::int32_t series_length, std::int32_t precision,
                 std::int32_t return_type) {
  const Operand s = Sine(x, series_length, precision, kHugeNumber);
  return Divide(Number(1), s, precision, return_type);
}

Operand Cotangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                  std::int32_t return_type) {
  const Operand c = Cosine(x, series_length, precision, kHugeNumber);
  const Operand s = Sine(x, series_length, precision, kHugeNumber);
  return Divide(c, s, precision, return_type);
}

// ---------------------------------------------------------------------------------------------
// ArcSine, ArcTangent and the functions built on them

namespace {

// Steps 2 and 3 of ArcSine and ArcTangent: the argument, and its square below 1.
Digits ArcArgument(const Operand& argument, const platform::Error& domain) {
  const Digits x = SeriesArgument(argument);
  const Operand square = Multiply(FromDigits(x), FromDigits(x), kHugeNumber);
  if (!Compare(square, Number(1), kLessThan)) platform::Raise(domain);
  return x;
}

Digits Cube(const Digits& x) {
  const Operand square = Multiply(FromDigits(x), FromDigits(x), kHugeNumber);
  return DigitsOf(Multiply(FromDigits(x), square, kHugeNumber));
}

Operand Reciprocal(const Operand& x, std::int32_t precision) {
  return Divide(Number(1), x, precision, kHugeNumber);
}

}  // namespace

Operand ArcSine(const Operand& argument, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type) {
  // 1 to 3.
  CheckSeriesLength(series_length);
  const Digits x = ArcArgument(argument, kArcSineDomain);
  // 4.
  const std::int64_t places = AbsolutePlaces(precision);
  Digits power = Cube(x);
  Digits sum = x;
  Digits a = Small(1);
  Digits numerator = Small(1);
  Digits denominator = Small(2);
  Digits m = Small(3);
  Digits e = Small(2);
  Digits two = Small(2);
  // 5.
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    Digits term =
        InternalDivide(MultiplyDigits(power, numerator), MultiplyDigits(m, denominator), precision);
    sum = AddDigits(sum, term);
    e = AddDigits(e, two);
    denominator = MultiplyDigits(denominator, e);
    m = AddDigits(m, two);
    a = AddDigits(a, two);
    numerator = MultiplyDigits(numerator, a);
    power = TruncateBelow(MultiplyDigits(MultiplyDigits(power, x), x), places);
  }
  // 6. Neither cut nor normalised.
  return ResultRuleB(sum, return_type);
}

Operand ArcTangent(const Operand& argument, std::int32_t series_length, std::int32_t precision,
                   std::int32_t return_type) {
  // 1 to 3.
  CheckSeriesLength(series_length);
  const Digits x = ArcArgument(argument, kArcTangentDomain);
  // 4.
  const std::int64_t places = AbsolutePlaces(precision);
  Digits power = Cube(x);
  Digits sum = x;
  Digits m = Small(3);
  Digits two = Small(2);
  const auto advance = [&] {
    m = AddDigits(m, two);
    power = MultiplyDigits(MultiplyDigits(power, x), x);
    power = TruncateBelow(power, places);
    sum = TruncateBelow(sum, places);
  };
  // 5.
  for (std::int32_t pass = 1; pass <= series_length; ++pass) {
    Digits term = Negated(InternalDivide(power, m, precision));
    sum = AddDigits(sum, term);
    advance();
    term = InternalDivide(power, m, precision);
    sum = AddDigits(sum, term);
    advance();
  }
  // 6. Not normalised.
  return ResultRuleB(sum, return_type);
}

Operand ArcCosine(const Operand& x, std::int32_t series_length, Variant& precision,
                  std::int32_t return_type) {
  // 1. Pi stores the places it used into Precision, which the steps below see.
  const Operand p = Pi(precision, kHugeNumber);
  // 2.
  const Operand h = Divide(p, Number(2), precision.int32(), kHugeNumber);
  // 3.
  const Operand s = ArcSine(x, series_length, precision.int32(), kHugeNumber);
  // 4.
  return Subtract(h, s, return_type);
}

Operand ArcCotangent(const Operand& x, std::int32_t series_length, std::int32_t precision,
                     std::int32_t return_type) {
  return ArcTangent(Reciprocal(x, precision), series_length, precision, return_type);
}

Operand ArcSecant(const Operand& x, std::int32_t series_length, Variant& precision,
                  std::int32_t return_type) {
  const Operand r = Reciprocal(x, precision.int32());
  return ArcCosine(r, series_length, precision, return_type);
}

Operand ArcCosecant(const Operand& x, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type) {
  return ArcSine(Reciprocal(x, precision), series_length, precision, return_type);
}

}  // namespace numeron::reference::detail
