// The reference model of the number routines: a slow, literal rendering of each algorithm,
// written to be obviously right rather than fast, so that the engine in control/ can be checked
// against it call by call. It shares nothing with the engine but the platform services.
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
// Operation) already as 32-bit integers. Write-backs, if a function had any, would land in args.
// Covers IsNumericEx, GetType, CreateHugeNumber, ConvertToString, Add, Negate, Subtract and
// Compare; any other name or a wrong argument count throws std::invalid_argument.
Outcome Call(std::string_view function, std::vector<platform::Variant>& args);

}  // namespace numeron::reference
