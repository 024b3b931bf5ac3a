// What every fuzz target checks besides "no crash": only errors of the component's table come
// back, values compare bit for bit, and a broken invariant stops the run with the call printed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "control/number/errors.h"
#include "platform/dispatch.h"
#include "platform/variant.h"

namespace numeron::fuzz {

using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

// Prints what broke and the arguments of the call, and aborts so that libFuzzer keeps the input.
[[noreturn]] inline void Die(const std::string& what, std::span<const Variant> args = {}) {
  std::fprintf(stderr, "\n*** %s\n", what.c_str());
  for (const Variant& arg : args) {
    std::string text = platform::Describe(arg);
    if (text.size() > 2000) text = text.substr(0, 2000) + "...";
    std::fprintf(stderr, "    arg %s\n", text.c_str());
  }
  std::abort();
}

// True when the pair is one the component raises: its own errors and the platform's Overflow
// and Type mismatch, each with exactly its description. Out of memory is not among them: under
// the size limits no call may run out.
inline bool IsTableError(std::int32_t number, std::string_view description) {
  for (const platform::Error& e : kRaisedErrors) {
    if (e.number == number && e.description == description) return true;
  }
  return false;
}

}  // namespace numeron::fuzz
