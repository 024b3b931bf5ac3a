// Trigonometric functions of angles in radians, summed from their series without reducing the
// argument, and their inverses; the quotients and reciprocal forms divide with Divide.
#pragma once

#include <cstdint>

#include "control/number/number.h"

namespace numeron {

// Sine and Cosine hand back the normalised sum by result rule B; the quotients follow Divide
// (result rule A).
Variant Sine(const Variant& x, std::int32_t series_length, std::int32_t precision,
             std::int32_t return_type);
Variant Cosine(const Variant& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type);
Variant Tangent(const Variant& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type);
Variant Secant(const Variant& x, std::int32_t series_length, std::int32_t precision,
               std::int32_t return_type);
Variant Cosecant(const Variant& x, std::int32_t series_length, std::int32_t precision,
                 std::int32_t return_type);
Variant Cotangent(const Variant& x, std::int32_t series_length, std::int32_t precision,
                  std::int32_t return_type);

// The inverse functions accept |x| < 1 (the reciprocal forms |x| > 1).
Variant ArcSine(const Variant& x, std::int32_t series_length, std::int32_t precision,
                std::int32_t return_type);
Variant ArcTangent(const Variant& x, std::int32_t series_length, std::int32_t precision,
                   std::int32_t return_type);
// pi/2 - ArcSine(x), pi being the stored constant cut to `places` (what Pi makes of the
// caller's Precision, and what the caller stores back).
Variant ArcCosine(const HugeNumber& pi, const Variant& x, std::int32_t series_length,
                  std::int32_t places, std::int32_t return_type);
// 1 / x rounded by Divide to |precision| places, the argument of the reciprocal forms
// ArcCotangent, ArcSecant and ArcCosecant.
Variant Reciprocal(const Variant& x, std::int32_t precision);

}  // namespace numeron
