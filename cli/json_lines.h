// The batch protocol of the command line: one JSON request per input line, one JSON answer per
// request, in order. This interface is published; its forms stay exactly as they are:
//
//   request  {"fn": "Divide", "args": [ARG, ...]}
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
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dispatch.h"
#include "platform/variant.h"

namespace numeron::cli {

// Reads one ARG. On a malformed ARG returns false and says why in *why.
bool DecodeArg(const nlohmann::json& arg, platform::Variant* value, std::string* why);

// Appends the VALUE form of value to *out (compact JSON, "t" first).
void AppendValue(const platform::Variant& value, std::string* out);
// Appends s as a JSON string literal; bytes that are not UTF-8 become U+FFFD.
void AppendJsonString(std::string_view s, std::string* out);

// The number reported for a request that cannot be carried out at all (bad JSON, no function,
// malformed argument).
inline constexpr std::int32_t kProtocolError = 0;

// Answers requests against one object, which it keeps for all of them.
class BatchSession {
 public:
  explicit BatchSession(platform::Dispatch& object) : object_(object) {}

  // Appends the answer to one request line (without a line end) to *out. Never throws for a
  // bad request; every line gets an answer.
  void Answer(std::string_view line, std::string* out);

 private:
  bool LookUp(const std::string& name, platform::DispId* id, platform::HResult* status);

  platform::Dispatch& object_;
  std::unordered_map<std::string, platform::DispId> ids_;  // as the caller spelled the name
  std::vector<platform::Variant> values_;                  // reused from line to line
  std::vector<platform::Argument> args_;
};

// True when the line holds nothing but blanks, tabs and line ends; such lines get no answer.
bool IsBlankLine(std::string_view line);

// Reads requests from in until its end and writes one answer line per non-blank request line.
// Returns the number of answers written.
std::size_t RunBatch(platform::Dispatch& object, std::istream& in, std::ostream& out);

}  // namespace numeron::cli
