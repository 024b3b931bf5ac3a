#include "cli/values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <ostream>
#include <system_error>

#include "platform/number_text.h"

namespace numeron::cli {

using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

void ArrayBuilder::Add(std::int16_t digit) {
  if (variant_) {
    elements_.emplace_back(digit);
  } else {
    digits_.push_back(digit);
  }
}

void ArrayBuilder::Add(Variant element) {
  if (!variant_) {
    variant_ = true;
    elements_.assign(digits_.begin(), digits_.end());
    digits_ = {};
  }
  elements_.push_back(std::move(element));
}

bool ArrayBuilder::Finish(std::int64_t lo, bool variant_elements, Variant* value,
                          std::string* why) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  if (lo < kMin || lo > kMax) {
    *why = "the lower bound must be an integer from -2147483648 to 2147483647";
    return false;
  }
  if (lo + static_cast<std::int64_t>(size()) - 1 > kMax) {
    *why = "the array reaches past index 2147483647";
    return false;
  }
  if (variant_elements && !variant_) {
    elements_.assign(digits_.begin(), digits_.end());
    digits_ = {};
    variant_ = true;
  }
  VariantArray array;
  array.lower_bound = static_cast<std::int32_t>(lo);
  array.element_kind =
      variant_ ? VariantArray::ElementKind::Variant : VariantArray::ElementKind::Int16;
  array.digits = std::move(digits_);
  array.elements = std::move(elements_);
  *this = ArrayBuilder();
  *value = Variant(std::move(array));
  return true;
}

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// The whole text as a number of type T; a leading '+' is allowed.
template <typename T>
bool ReadWhole(std::string_view text, T* value) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// huge:LO:d,d,d with LO already taken off the front.
bool ParseArray(std::string_view written, Variant* value, std::string* why) {
  const auto colon = written.find(':');
  std::int64_t lo = 0;
  if (colon == std::string_view::npos || !ReadWhole(written.substr(0, colon), &lo)) {
    *why = "huge: is written huge:LO:d,d,d with LO the place of the first digit";
    return false;
  }
  ArrayBuilder builder;
  std::string_view list = written.substr(colon + 1);
  for (bool more = !list.empty(); more;) {
    const auto comma = list.find(',');
    const std::string_view entry = list.substr(0, comma);
    std::int16_t digit = 0;
    if (entry.empty()) {
      builder.Add(Variant());
    } else if (ReadWhole(entry, &digit)) {
      builder.Add(digit);
    } else {
      *why = "huge: \"" + std::string(entry) + "\" is not a digit from -32768 to 32767";
      return false;
    }
    more = comma != std::string_view::npos;
    list.remove_prefix(more ? comma + 1 : list.size());
  }
  if (!builder.Finish(lo, false, value, why)) {
    *why = "huge: " + *why;
    return false;
  }
  return true;
}

using Json = nlohmann::ordered_json;

void Dump(const Json& j, std::ostream& out) {
  out << j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A JSON string. Number texts, the common case, need no escaping and go out as they are.
void DumpText(const std::string& text, std::ostream& out) {
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
  });
  if (!plain) return Dump(text, out);
  out.put('"');
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.put('"');
}

// Integers in i2's range read back as i2, so a wider integer element in that range keeps its
// kind by being written as a whole VALUE.
void WriteElement(const Variant& element, std::ostream& out) {
  if (element.is(VariantKind::Empty)) {
    out << "null";
  } else if (element.is(VariantKind::Int16)) {
    out << element.int16();
  } else if (element.is(VariantKind::Int32) &&
             (element.int32() < std::numeric_limits<std::int16_t>::min() ||
              element.int32() > std::numeric_limits<std::int16_t>::max())) {
    out << element.int32();
  } else if (element.is(VariantKind::Double) && std::isfinite(element.real())) {
    Dump(element.real(), out);
  } else {
    WriteValue(element, out);
  }
}

// A digit array can hold 10^8 digits: they go out in pieces of a fixed buffer.
void WriteDigits(const std::vector<std::int16_t>& digits, std::ostream& out) {
  char buffer[1 << 14];
  char* at = buffer;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (at + 8 > std::end(buffer)) {
      out.write(buffer, at - buffer);
      at = buffer;
    }
    if (i) *at++ = ',';
    at = std::to_chars(at, std::end(buffer), digits[i]).ptr;
  }
  out.write(buffer, at - buffer);
}

}  // namespace

bool ParseCommandArg(std::string_view written, Variant* value, std::string* why) {
  const auto colon = written.find(':');
  const std::string_view prefix = written.substr(0, colon);
  const bool looks_prefixed = colon != std::string_view::npos && !prefix.empty() &&
                              std::isalpha(static_cast<unsigned char>(prefix.front())) &&
                              std::all_of(prefix.begin(), prefix.end(), [](char c) {
                                return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                              });
  if (!looks_prefixed) {
    *value = Variant(written);
    return true;
  }
  const std::string_view rest = written.substr(colon + 1);
  why->clear();
  std::int16_t i2 = 0;
  std::int32_t i4 = 0;
  double d = 0;
  if (prefix == "text") {
    *value = Variant(rest);
  } else if (prefix == "i2") {
    if (!ReadWhole(rest, &i2)) *why = "i2: needs an integer from -32768 to 32767";
    *value = Variant(i2);
  } else if (prefix == "i4") {
    if (!ReadWhole(rest, &i4)) *why = "i4: needs an integer from -2147483648 to 2147483647";
    *value = Variant(i4);
  } else if (prefix == "d") {
    if (!ReadWhole(rest, &d)) *why = "d: needs a number such as 1.5 or -2E+20";
    *value = Variant(d);
  } else if (prefix == "b") {
    const bool yes = SameNameIgnoringCase(rest, "true");
    if (!yes && !SameNameIgnoringCase(rest, "false")) *why = "b: needs true or false";
    *value = Variant(yes);
  } else if (prefix == "empty" || prefix == "missing") {
    if (!rest.empty()) *why = std::string(prefix) + ": takes nothing after the colon";
    *value = prefix == "empty" ? Variant() : Variant::Missing();
  } else if (prefix == "huge") {
    return ParseArray(rest, value, why);
  } else {
    *why = "unknown kind prefix \"" + std::string(prefix) +
           ":\" (known: i2: i4: d: b: empty: missing: text: huge:; write text:" +
           std::string(written) + " to pass it as text)";
  }
  return why->empty();
}

std::string FormatValue(const Variant& value) {
  switch (value.kind()) {
    case VariantKind::Empty:
    case VariantKind::Missing:
      return {};
    case VariantKind::Boolean:
      return value.boolean() ? "True" : "False";
    case VariantKind::Int16:
      return std::to_string(value.int16());
    case VariantKind::Int32:
      return std::to_string(value.int32());
    case VariantKind::Double: {
      if (auto text = platform::GeneralText(value.real())) return *text;
      char buffer[32];
      const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value.real());
      return std::string(buffer, end);  // inf, -inf or nan
    }
    case VariantKind::Text:
      return value.text();
    case VariantKind::Array: {
      const VariantArray& array = value.array();
      std::string text = "huge:" + std::to_string(array.lower_bound) + ':';
      for (std::int64_t i = 0; i < array.size(); ++i) {
        if (i) text += ',';
        const auto k = static_cast<std::size_t>(i);
        text += array.element_kind == VariantArray::ElementKind::Int16
                    ? std::to_string(array.digits[k])
                    : FormatValue(array.elements[k]);
      }
      return text;
    }
  }
  return {};
}

void WriteValue(const Variant& value, std::ostream& out) {
  // The keys are fixed; only the values go through the JSON writer.
  switch (value.kind()) {
    case VariantKind::Empty:
      out << R"({"t":"empty"})";
      return;
    case VariantKind::Missing:
      out << R"({"t":"missing"})";
      return;
    case VariantKind::Boolean:
      out << R"({"t":"bool","v":)" << (value.boolean() ? "true" : "false") << '}';
      return;
    case VariantKind::Int16:
      out << R"({"t":"i2","v":)" << value.int16() << '}';
      return;
    case VariantKind::Int32:
      out << R"({"t":"i4","v":)" << value.int32() << '}';
      return;
    case VariantKind::Double:
      // JSON has no infinities or NaN: "v" is null for them, and there is no "text".
      out << R"({"t":"double","v":)";
      Dump(value.real(), out);
      if (const auto text = platform::GeneralText(value.real())) {
        out << R"(,"text":)";
        DumpText(*text, out);
      }
      out << '}';
      return;
    case VariantKind::Text:
      out << R"({"t":"text","v":)";
      DumpText(value.text(), out);
      out << '}';
      return;
    case VariantKind::Array: {
      const VariantArray& array = value.array();
      out << R"({"t":"huge","lo":)" << array.lower_bound;
      if (array.element_kind == VariantArray::ElementKind::Int16) {
        out << R"(,"digits":[)";
        WriteDigits(array.digits, out);
      } else {
        out << R"(,"elem":"variant","digits":[)";
        for (std::size_t i = 0; i < array.elements.size(); ++i) {
          if (i) out << ',';
          WriteElement(array.elements[i], out);
        }
      }
      out << "]}";
      return;
    }
  }
}

}  // namespace numeron::cli
