// The single-call form of the command line: reading the written arguments, calling one member
// and printing what came back, and the interface listing.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dispatch.h"
#include "platform/variant.h"

namespace numeron::cli {

// Exit codes of the numeron program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitComponentError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCannotCreate = 3;

// Reads one written argument. Text unless it starts with a kind prefix: i2:5, i4:5, d:1.5,
// b:true, b:false, empty:, missing:, text:... (a text that itself starts like a prefix) and
// huge:LO:d,d,d (digits from the lowest place up; a blank entry makes an array of Variant
// elements with that element empty). A word followed by ':' that is not a known prefix is an
// error, so that a mistyped prefix is not silently passed as text.
bool ParseCommandArg(std::string_view written, platform::Variant* value, std::string* why);

// The printed form of a value: text as it is, a double as its general text, True/False,
// integers in decimal, empty (and missing) as nothing, an array as huge:LO:d,d,...
std::string FormatValue(const platform::Variant& value);

// When the member has a Return_Type parameter beyond the given arguments, passes the positions
// in between as missing and Return_Type as 1, so that results come back as text.
void AddReturnTypeDefault(const platform::MemberDesc& member, std::vector<platform::Variant>* args);

// Calls function with args (all by reference) and prints the result and then, for each argument
// the call changed, "NAME = value". Errors go to err. Returns the exit code.
int RunCall(platform::Dispatch& object, std::string_view function,
            std::vector<platform::Variant> args, std::ostream& out, std::ostream& err);

// One line per member (dispatch id, name, parameters, result type, help), then the enumerations.
std::string FormatInterface(const platform::TypeLibrary& library);

std::string_view UsageText();

}  // namespace numeron::cli
