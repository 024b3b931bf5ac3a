// The single-call form of the command line: reading the written arguments, calling one member
// and printing what came back, and the interface listing.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/caller.h"
#include "platform/dispatch.h"
#include "platform/variant.h"

namespace numeron::cli {

// Exit codes of the numeron program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitComponentError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCannotCreate = 3;
inline constexpr int kExitCannotWrite = 4;  // standard output failed (a full disk, a closed pipe)
// A call cancelled by SIGINT or SIGTERM ends with 128 + the signal's number: 130 or 143.

// When the member has a Return_Type parameter beyond the given arguments, passes the positions
// in between as missing and Return_Type as 1, so that results come back as text.
void AddReturnTypeDefault(const platform::MemberDesc& member, std::vector<platform::Variant>* args);

// Calls function with args (all by reference) and prints the result and then, for each
// parameter the member writes back whose argument the call changed, "NAME = value". Errors go
// to err. Returns the exit code. time_limit_ms: 0 for none.
int RunCall(Caller& caller, const std::string& function, std::vector<platform::Variant> args,
            std::ostream& out, std::ostream& err, std::int32_t time_limit_ms = 0);

// One line per member (dispatch id, name, parameters, result type, help), then the enumerations.
std::string FormatInterface(const platform::TypeLibrary& library);

std::string UsageText();

}  // namespace numeron::cli
