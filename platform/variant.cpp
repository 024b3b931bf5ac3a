#include "platform/variant.h"

#include <bit>
#include <sstream>

namespace numeron::platform {

std::int64_t VariantArray::size() const {
  return static_cast<std::int64_t>(element_kind == ElementKind::Int16 ? digits.size()
                                                                      : elements.size());
}

bool VariantArray::operator==(const VariantArray& other) const {
  return lower_bound == other.lower_bound && element_kind == other.element_kind &&
         digits == other.digits && elements == other.elements;
}

Variant Variant::Missing() {
  Variant v;
  v.value_ = MissingTag{};
  return v;
}

bool Variant::operator==(const Variant& other) const {
  if (is(VariantKind::Double) && other.is(VariantKind::Double)) {
    return std::bit_cast<std::uint64_t>(real()) == std::bit_cast<std::uint64_t>(other.real());
  }
  return value_ == other.value_;
}

std::string Describe(const Variant& value) {
  std::ostringstream out;
  switch (value.kind()) {
    case VariantKind::Empty:
      return "empty";
    case VariantKind::Missing:
      return "missing";
    case VariantKind::Boolean:
      return value.boolean() ? "bool:true" : "bool:false";
    case VariantKind::Int16:
      out << "i2:" << value.int16();
      break;
    case VariantKind::Int32:
      out << "i4:" << value.int32();
      break;
    case VariantKind::Double:
      out.precision(17);
      out << "d:" << value.real();
      break;
    case VariantKind::Text:
      out << "text:\"" << value.text() << '"';
      break;
    case VariantKind::Array: {
      const VariantArray& a = value.array();
      const bool shorts = a.element_kind == VariantArray::ElementKind::Int16;
      out << "array[" << a.lower_bound << ".." << a.upper_bound() << (shorts ? " i2]{" : " var]{");
      for (std::int64_t i = 0; i < a.size(); ++i) {
        if (i) out << ',';
        if (shorts) {
          out << a.digits[i];
        } else {
          out << Describe(a.elements[i]);
        }
      }
      out << '}';
      break;
    }
  }
  return out.str();
}

std::ostream& operator<<(std::ostream& out, const Variant& value) { return out << Describe(value); }

}  // namespace numeron::platform
