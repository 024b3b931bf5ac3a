// The functions computed by power series (and factorial) on huge numbers. Each term is divided
// with InternalDivide, rounded on a guard digit to |Precision| places; running powers and sums
// carry the exact digit patterns the digit primitives leave, because the cuts at place
// -Precision keep different digits of an unnormalised array than of its normal form.
#pragma once

#include <cstdint>

#include "control/number/number.h"

namespace numeron {

// e summed from 1 + 1/1! + ... + 1/N!, N = series_length; result rule B.
Variant Calculate_e(std::int32_t series_length, std::int32_t precision, std::int32_t return_type);
// e^x summed from 1 + x/1! + ... + x^N/N!; result rule B.
Variant eToExponent(const Variant& x, std::int32_t series_length, std::int32_t precision,
                    std::int32_t return_type);
// x^y: exact repeated products for a whole y (a reciprocal by Divide when negative), otherwise
// e^(y ln x) by the series. series_length and precision are already made absolute by the caller.
Variant Exponential(const Variant& x, const Variant& y, std::int32_t series_length,
                    std::int32_t precision, std::int32_t return_type);
// ln x as 2 (z + z^3/3 + ...), z = (x - 1)/(x + 1); result rule B.
Variant Log_e(const Variant& x, std::int32_t series_length, std::int32_t precision,
              std::int32_t return_type);
// Log_e(x) / Log_e(base) by Divide; result rule A.
Variant Logarithm(const Variant& x, const Variant& base, std::int32_t series_length,
                  std::int32_t precision, std::int32_t return_type);
// x (x - 1) (x - 2) ... down to the last factor above 0; 0! is 1; negatives are refused.
Variant Factorial(const Variant& x, std::int32_t return_type);

// The huge-number results behind the public functions, for the functions built on them.
HugeNumber LogOf(const HugeNumber& x, std::int32_t series_length, std::int32_t precision);

}  // namespace numeron
