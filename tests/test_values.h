// Values as callers build them, and the error a call raised, for the module tests.
#pragma once

#include <bit>
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

// Same kind and payload, doubles by their bits (so NaNs and signed zeros count), arrays by
// bounds, element kind and every element.
inline bool Same(const Variant& a, const Variant& b) {
  using platform::VariantKind;
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case VariantKind::Empty:
    case VariantKind::Missing:
      return true;
    case VariantKind::Boolean:
      return a.boolean() == b.boolean();
    case VariantKind::Int16:
      return a.int16() == b.int16();
    case VariantKind::Int32:
      return a.int32() == b.int32();
    case VariantKind::Double:
      return std::bit_cast<std::uint64_t>(a.real()) == std::bit_cast<std::uint64_t>(b.real());
    case VariantKind::Text:
      return a.text() == b.text();
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
