// What every fuzz target checks besides "no crash": only errors of the component's table come
// back, values compare bit for bit, and a broken invariant stops the run with the call printed.
#pragma once

#include <bit>
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
  static constexpr platform::Error kTable[] = {
      kFactorialOfNegative, kSeriesLengthNotPositive, kLogOfNonPositive, kDivideByZero,
      kInternalDivideByZero, kArcSineDomain, kArcTangentDomain, platform::kOverflow,
      platform::kTypeMismatch};
  for (const platform::Error& e : kTable) {
    if (e.number == number && e.description == description) return true;
  }
  return false;
}

// Same kind and payload; doubles by their bits (so NaNs and signed zeros count).
inline bool Same(const Variant& a, const Variant& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case VariantKind::Empty:
    case VariantKind::Missing: return true;
    case VariantKind::Boolean: return a.boolean() == b.boolean();
    case VariantKind::Int16: return a.int16() == b.int16();
    case VariantKind::Int32: return a.int32() == b.int32();
    case VariantKind::Double:
      return std::bit_cast<std::uint64_t>(a.real()) == std::bit_cast<std::uint64_t>(b.real());
    case VariantKind::Text: return a.text() == b.text();
    case VariantKind::Array: {
      const VariantArray& x = a.array();
      const VariantArray& y = b.array();
      if (x.lower_bound != y.lower_bound || x.element_kind != y.element_kind ||
          x.digits != y.digits || x.elements.size() != y.elements.size()) {
        return false;
      }
      for (std::size_t i = 0; i < x.elements.size(); ++i) {
        if (!Same(x.elements[i], y.elements[i])) return false;
      }
      return true;
    }
  }
  return false;
}

}  // namespace numeron::fuzz
