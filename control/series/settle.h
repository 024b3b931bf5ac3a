// Skipping the passes of a series that can no longer change its result, exactly.
//
// A term whose quotient rounds to zero is an array of zeros within places -P..0 (P the places
// asked for): the single zero place, or zeros over -P..0 when the quotient had a digit at the
// guard place or below. Once every later term is such a zero and the sum already spans -P..0,
// each later pass adds to the sum an array lying inside it, so the one-place carries of
// AddDigits (and the cuts at -P) depend on the sum alone, whatever the zero's bounds: every
// remaining pass applies one fixed map to the sum. A sum the map leaves as it is stays so for
// good; otherwise the map is applied pass by pass until it does (each application moves a carry
// one place up, so that takes at most as many passes as the sum has places).
//
// The running factorials and powers of the skipped passes reach the sum only through those
// zero terms; what is left of them is whether one of them would have raised Overflow, which
// the caller decides from bounds before skipping (and keeps passing when the bounds cannot
// tell).
//
// Worked example: Calculate_e at Precision 2 starts from 1 and adds 1, .5, .17, .04 and .01 in
// passes 1 to 5; the term of pass 6, 1/720 = 0.0013..., rounds to zero, and so does every later
// one (1/k! only shrinks). The sum 2.72 spans places -2..0 and its digits lie within -9..9, so
// adding a zero leaves it as it is: with SeriesLength 1,000,000 the remaining 999,994 passes are
// skipped, unless the last factorial, 1,000,001!, could not fit a number (it can: 5,565,715
// places).
#pragma once

#include <cstdint>
#include <optional>

#include "control/number/call_context.h"
#include "control/number/errors.h"
#include "control/number/huge_number.h"

namespace numeron {

// Whether every zero term a later pass can add lies within `sum`: places -P..0, or only the
// single zero place when every later dividend is zero (a zero power gives that zero form).
bool HoldsZeroTerms(const HugeNumber& sum, std::int32_t precision, bool zero_dividends);

// What the skipped passes would do besides leaving the sum alone.
enum class Reach { kFits, kUnsure, kOverflows };
// The worse of two.
Reach Worse(Reach a, Reach b);
// For a running factorial whose last value has about `log10_value` digits: the passes raise
// Overflow once it needs more places than a number may hold. Unsure within a place of that.
Reach FactorReach(double log10_value);
// For `count` products in a row of a power by `factor` (nothing cut between them), the power
// reaching down to `low` and never above place `top`: fits when every product's place check
// passes by the bounds, otherwise unsure.
Reach ProductsReach(std::int64_t low, std::int64_t top, const HugeNumber& factor,
                    std::int64_t count);

// An upper bound of log10 |x| for a normal-form x; a very negative number for zero.
double Log10Above(const HugeNumber& normal);

// One pass of a sum with a zero term inside it.
HugeNumber AddZero(const HugeNumber& sum);

// After a pass from which every term rounds to zero inside the sum: the sum at the end of the
// `passes` passes left, each `pass(sum)` (stopping once one changes nothing), when `reach` says
// their running products fit; Overflow when it says one would not; nullopt when the bounds
// cannot tell, and the passes go on.
template <typename Pass>
std::optional<HugeNumber> SkipPasses(Reach reach, HugeNumber sum, std::int64_t passes, Pass pass) {
  if (reach == Reach::kOverflows) Raise(platform::kOverflow);
  if (reach == Reach::kUnsure) return std::nullopt;
  for (; passes > 0; --passes) {
    CheckPoint();
    HugeNumber next = pass(sum);
    if (next == sum) break;
    sum = std::move(next);
  }
  return sum;
}

}  // namespace numeron
