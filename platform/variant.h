// The tagged value that crosses a dispatch interface: what a host passes in and gets back.
// Arrays are one-dimensional with any 32-bit lower bound, and carry their element kind, because
// callers can tell a 16-bit digit array from an array of Variant elements (the zero forms).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace numeron::platform {

enum class VariantKind : std::uint8_t {
  Empty,
  Missing,
  Boolean,
  Int16,
  Int32,
  Double,
  Text,
  Array
};

class Variant;

// A one-dimensional array: element i stands at index lower_bound + i.
struct VariantArray {
  enum class ElementKind : std::uint8_t { Int16, Variant };

  std::int32_t lower_bound = 0;
  ElementKind element_kind = ElementKind::Int16;
  std::vector<std::int16_t> digits;  // the elements when element_kind is Int16
  std::vector<Variant> elements;     // the elements when element_kind is Variant

  std::int64_t size() const;
  std::int64_t upper_bound() const { return lower_bound + size() - 1; }
  bool operator==(const VariantArray& other) const;
};

class Variant {
 public:
  Variant() = default;  // empty: a variable never assigned
  Variant(bool value) : value_(value) {}
  Variant(std::int16_t value) : value_(value) {}
  Variant(std::int32_t value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}
  Variant(VariantArray value) : value_(std::move(value)) {}

  // An optional argument that was not given.
  static Variant Missing();

  VariantKind kind() const { return static_cast<VariantKind>(value_.index()); }
  bool is(VariantKind k) const { return kind() == k; }

  // Accessors for the payload; each requires the matching kind.
  bool boolean() const { return std::get<bool>(value_); }
  std::int16_t int16() const { return std::get<std::int16_t>(value_); }
  std::int32_t int32() const { return std::get<std::int32_t>(value_); }
  double real() const { return std::get<double>(value_); }
  const std::string& text() const { return std::get<std::string>(value_); }
  const VariantArray& array() const { return std::get<VariantArray>(value_); }
  VariantArray& array() { return std::get<VariantArray>(value_); }

  // Same kind and same payload, exactly: doubles by their bits, so a NaN equals itself and -0
  // differs from 0; arrays by bounds, element kind and every element.
  bool operator==(const Variant& other) const;

 private:
  struct MissingTag {
    bool operator==(const MissingTag&) const = default;
  };
  // The alternatives are in VariantKind order.
  std::variant<std::monostate, MissingTag, bool, std::int16_t, std::int32_t, double, std::string,
               VariantArray>
      value_;
};

// A readable one-line form for test failures and diagnostics, e.g. i2:5, text:"1.5",
// array[-1..0 i2]{5,1}.
std::string Describe(const Variant& value);
std::ostream& operator<<(std::ostream& out, const Variant& value);

}  // namespace numeron::platform
