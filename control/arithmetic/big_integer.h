// Between digit arrays and GMP integers, for results that need only a value.
// Callers bound every size first: GMP aborts the process on a size beyond its own range, and
// an allocation that fails within it raises Out of memory (UseThrowingGmpAllocation).
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <string>

#include "control/engine/limbs.h"
#include "control/number/huge_number.h"

namespace numeron {

// The digits of a normal-form array read as one whole number, without sign:
// the sum of |digit(p)| * 10^(p - low).
mpz_class MagnitudeOf(const HugeNumber& normal);

// Makes GMP report an allocation that fails by throwing std::bad_alloc, which ends the call
// with Out of memory, instead of ending the process. Process-wide (GMP keeps one set of
// allocation functions); idempotent. NewNumeron installs it.
void UseThrowingGmpAllocation();

// The signed whole number sum of digit(p) * 10^(p - low) of an array whose digits all lie in
// -9..9 but need not share a sign; the array is not normalised (nor extended to place 0).
mpz_class SignedValueOf(const HugeNumber& small_digits);

// The sign test of a normal-form array: the digit at its top or bottom is below 0.
bool IsNegative(const HugeNumber& normal);

// 10^n for 0 <= n <= a few times the place limit.
mpz_class PowerOfTen(std::int64_t n);

// magnitude * 10^exponent, negated when asked, in normal form (zero as the empty zero form).
HugeNumber NormalFromScaled(const mpz_class& magnitude, bool negative, std::int64_t exponent);

// The text form of the same number, written directly.
std::string TextOfScaled(const mpz_class& magnitude, bool negative, std::int64_t exponent);

// InternalDivide(x, d) for a whole divisor d >= 1 held as a value: the same quotient, for series
// whose factorials and counters are seen only through their values.
HugeNumber InternalDivideByWhole(const HugeNumber& x, const mpz_class& divisor,
                                 std::int32_t precision);
// The array InternalDivide makes of its quotient truncated at the guard place: rounded on the
// guard digit to `places` places.
HugeNumber RoundedQuotient(const engine::Decimal& truncated, std::int64_t places);
// The same for a dividend held as a value, dividend * 10^low, for series whose products are
// seen only through their quotients.
HugeNumber InternalDivideScaled(const mpz_class& dividend, std::int64_t low,
                                const mpz_class& divisor, std::int32_t precision);

}  // namespace numeron
