// Values as callers build them, and the error a call raised, for the module tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/variant.h"

namespace numeron::test {

using platform::Variant;
using platform::VariantArray;

// 16-bit digits from place lo up.
inline Variant Shorts(std::int32_t lo, std::vector<std::int16_t> digits) {
  return Variant(VariantArray{lo, VariantArray::ElementKind::Int16, std::move(digits), {}});
}
// Variant elements from place lo up.
inline Variant Elements(std::int32_t lo, std::vector<Variant> elements) {
  return Variant(VariantArray{lo, VariantArray::ElementKind::Variant, {}, std::move(elements)});
}
// The zero that trimming and normalising leave: one empty element at place 0.
inline Variant EmptyZero() { return Elements(0, {Variant()}); }

// The number of the error f raised, 0 when it raised none.
template <typename F>
std::int32_t RaisedNumber(F f) {
  try {
    f();
  } catch (const platform::RaisedError& e) {
    return e.error().number;
  }
  return 0;
}

}  // namespace numeron::test
