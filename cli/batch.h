// The batch protocol of the command line: one JSON request per input line, one JSON answer per
// request, in order, each written as soon as it is computed and sent before the program waits
// for more input or 10 ms into a longer call. This interface is published; its forms stay
// exactly as they are:
//
//   request  {"fn": "Divide", "args": [ARG, ...], "time_limit_ms": 500}   (the last optional)
//   ARG      {"t":"empty"} {"t":"missing"} {"t":"bool","v":true} {"t":"i2","v":5}
//            {"t":"i4","v":5} {"t":"double","v":1.5} {"t":"text","v":"1.5"}
//            {"t":"huge","lo":-1,"digits":[5,1]}          digits from the lowest place up
//            {"t":"huge","lo":0,"elem":"variant","digits":[null,3]}   Variant elements
//   answer   {"ok":true,"result":VALUE,"args":[VALUE,...]}
//            {"ok":false,"error":{"number":N,"description":"..."},"args":[VALUE,...]}
//            {"ok":false,"error":{"number":N,"description":"..."}}   the request itself is bad
//
// VALUE uses the ARG forms; a double also carries "text", its general text, and "v" is written
// so that it reads back to the same double. Arguments are passed by reference, so "args" shows
// them as they stand after the call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <streambuf>

#include "cli/caller.h"
#include "cli/request.h"

namespace numeron::cli {

// The number reported for a request that cannot be carried out at all (bad JSON, no function,
// malformed argument, a line too long or too deep).
inline constexpr std::int32_t kProtocolError = 0;

struct BatchOptions {
  std::size_t max_line = kMaxLine;
  std::int32_t time_limit_ms = 0;  // for lines without their own "time_limit_ms"; 0: none
};

// Answers the requests in `in` until its end, or until a signal (the caller's control has
// cancelled the line in progress, which is answered) or a failed write stops it. Returns the
// exit code: 0, kExitCannotWrite, or 128 + the signal's number.
int RunBatch(Caller& caller, std::streambuf& in, std::ostream& out,
             const BatchOptions& options = {});

}  // namespace numeron::cli
