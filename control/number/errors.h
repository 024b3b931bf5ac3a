// Every error the component raises: its own numbers (the object-defined base plus 1000 and up)
// and, from the platform, Overflow and Type mismatch. Each text appears here and nowhere else.
#pragma once

#include "platform/error.h"

namespace numeron {

using platform::Error;
using platform::Raise;

inline constexpr Error kFactorialOfNegative{
    -2147220504, "Math logic error:  You cannot use factorial with a negative number."};
inline constexpr Error kSeriesLengthNotPositive{-2147220503,
                                                "The series length must be a positive integer."};
inline constexpr Error kLogOfNonPositive{
    -2147220501, "You cannot find the log of a negative number or of zero."};
inline constexpr Error kDivideByZero{-2147220499,
                                     "You cannot divide a number by zero.  [Division by zero]"};
inline constexpr Error kInternalDivideByZero{
    -2147220498, "An internal division error has occured, due to attempted division by zero."};
inline constexpr Error kArcSineDomain{
    -2147220497,
    "For 'arc' (inverse) trigonometric functions, (numeric_expression ^ 2) must be less than 1."};
inline constexpr Error kArcTangentDomain{
    -2147220497, "For 'arc' (inverse) trigonometric functions, (NE ^ 2) must be less than 1."};
// Raised by a call that was stopped by Cancel or ran past its time limit (see call_context.h).
inline constexpr Error kCancelled{-2147220496, "The calculation was cancelled."};
inline constexpr Error kTimeLimitExceeded{-2147220495,
                                          "The calculation took longer than its time limit."};

// The errors a call raises of itself: those above but the two a host asks for by Cancel or a
// time limit, and the platform's two that the component raises.
inline constexpr Error kRaisedErrors[] = {
    kFactorialOfNegative, kSeriesLengthNotPositive, kLogOfNonPositive,
    kDivideByZero,        kInternalDivideByZero,    kArcSineDomain,
    kArcTangentDomain,    platform::kOverflow,      platform::kTypeMismatch};

}  // namespace numeron
