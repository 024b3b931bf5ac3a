#include "cli/json_lines.h"

#include <charconv>
#include <cmath>
#include <exception>
#include <istream>
#include <limits>
#include <ostream>

#include "platform/number_text.h"

namespace numeron::cli {

using nlohmann::json;
using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

namespace {

bool ReadInteger(const json& j, std::int64_t low, std::int64_t high, std::int64_t* value) {
  if (j.is_number_unsigned()) {
    const auto u = j.get<std::uint64_t>();
    if (u > static_cast<std::uint64_t>(high)) return false;
    *value = static_cast<std::int64_t>(u);
    return true;
  }
  if (j.is_number_integer()) {
    const auto s = j.get<std::int64_t>();
    if (s < low || s > high) return false;
    *value = s;
    return true;
  }
  return false;
}

constexpr std::int64_t kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// An element of a Variant-element array: null is an empty element, a number a numeric one (the
// narrowest integer kind that holds it, or a double), and an ARG object anything else.
bool DecodeElement(const json& j, Variant* value, std::string* why) {
  std::int64_t n = 0;
  if (j.is_null()) {
    *value = Variant();
  } else if (ReadInteger(j, kInt16Min, kInt16Max, &n)) {
    *value = Variant(static_cast<std::int16_t>(n));
  } else if (ReadInteger(j, kInt32Min, kInt32Max, &n)) {
    *value = Variant(static_cast<std::int32_t>(n));
  } else if (j.is_number_float()) {
    *value = Variant(j.get<double>());
  } else if (j.is_object()) {
    return DecodeArg(j, value, why);
  } else {
    *why = "an element must be null, a number or an argument object";
    return false;
  }
  return true;
}

bool DecodeArray(const json& arg, Variant* value, std::string* why) {
  std::int64_t lo = 0;
  const auto lo_it = arg.find("lo");
  if (lo_it == arg.end() || !ReadInteger(*lo_it, kInt32Min, kInt32Max, &lo)) {
    *why = "\"huge\" needs \"lo\", an integer from -2147483648 to 2147483647";
    return false;
  }
  bool variant_elements = false;
  if (const auto elem = arg.find("elem"); elem != arg.end()) {
    if (*elem == "variant") {
      variant_elements = true;
    } else if (*elem != "i2") {
      *why = "\"elem\" must be \"variant\" or \"i2\"";
      return false;
    }
  }
  const auto digits = arg.find("digits");
  if (digits == arg.end() || !digits->is_array()) {
    *why = "\"huge\" needs \"digits\", a list";
    return false;
  }
  // The upper bound must be an index too.
  if (lo + static_cast<std::int64_t>(digits->size()) - 1 > kInt32Max) {
    *why = "the array reaches past index 2147483647";
    return false;
  }
  VariantArray array;
  array.lower_bound = static_cast<std::int32_t>(lo);
  if (variant_elements) {
    array.element_kind = VariantArray::ElementKind::Variant;
    array.elements.resize(digits->size());
    for (std::size_t i = 0; i < digits->size(); ++i) {
      if (!DecodeElement((*digits)[i], &array.elements[i], why)) {
        *why = "element " + std::to_string(i) + ": " + *why;
        return false;
      }
    }
  } else {
    array.digits.reserve(digits->size());
    for (const json& d : *digits) {
      std::int64_t n = 0;
      if (!ReadInteger(d, kInt16Min, kInt16Max, &n)) {
        *why =
            "a digit must be an integer from -32768 to 32767 (use \"elem\":\"variant\" for "
            "empty elements)";
        return false;
      }
      array.digits.push_back(static_cast<std::int16_t>(n));
    }
  }
  *value = Variant(std::move(array));
  return true;
}

template <typename T>
void AppendNumber(T n, std::string* out) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
  out->append(buffer, end);
}

// The shortest digits that read back to the same double; a whole number keeps a ".0" so that
// readers in any language see a floating-point number.
void AppendDouble(double d, std::string* out) {
  if (!std::isfinite(d)) {
    out->append("null");  // JSON has no infinities; "text" is absent too
    return;
  }
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d);
  const std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
  out->append(digits);
  if (digits.find_first_of(".e") == std::string_view::npos) out->append(".0");
}

void AppendElement(const Variant& element, std::string* out) {
  switch (element.kind()) {
    case VariantKind::Empty:
      out->append("null");
      break;
    case VariantKind::Int16:
      AppendNumber(element.int16(), out);
      break;
    case VariantKind::Int32:
      AppendNumber(element.int32(), out);
      break;
    case VariantKind::Double:
      if (std::isfinite(element.real())) {
        AppendDouble(element.real(), out);
        break;
      }
      [[fallthrough]];
    default:
      AppendValue(element, out);
      break;
  }
}

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

void AppendProtocolError(std::int32_t number, std::string_view description, std::string* out) {
  out->append(R"({"ok":false,"error":{"number":)");
  AppendNumber(number, out);
  out->append(R"(,"description":)");
  AppendJsonString(description, out);
  out->append("}}");
}

// nlohmann prefixes its messages with an internal tag such as "[json.exception.parse_error.101] ".
std::string_view WithoutTag(std::string_view message) {
  if (!message.empty() && message.front() == '[') {
    if (const auto close = message.find("] "); close != std::string_view::npos) {
      message.remove_prefix(close + 2);
    }
  }
  return message;
}

}  // namespace

bool DecodeArg(const json& arg, Variant* value, std::string* why) {
  if (!arg.is_object()) {
    *why = "an argument must be an object such as {\"t\":\"text\",\"v\":\"1.5\"}";
    return false;
  }
  const auto t = arg.find("t");
  if (t == arg.end() || !t->is_string()) {
    *why = "an argument needs \"t\", its kind";
    return false;
  }
  const std::string& kind = t->get_ref<const std::string&>();
  if (kind == "empty") {
    *value = Variant();
    return true;
  }
  if (kind == "missing") {
    *value = Variant::Missing();
    return true;
  }
  if (kind == "huge") return DecodeArray(arg, value, why);

  const auto v = arg.find("v");
  if (kind == "bool") {
    if (v == arg.end() || !v->is_boolean()) {
      *why = "\"bool\" needs \"v\", true or false";
      return false;
    }
    *value = Variant(v->get<bool>());
    return true;
  }
  if (kind == "i2" || kind == "i4") {
    const bool narrow = kind == "i2";
    std::int64_t n = 0;
    if (v == arg.end() ||
        !ReadInteger(*v, narrow ? kInt16Min : kInt32Min, narrow ? kInt16Max : kInt32Max, &n)) {
      *why = narrow ? "\"i2\" needs \"v\", an integer from -32768 to 32767"
                    : "\"i4\" needs \"v\", an integer from -2147483648 to 2147483647";
      return false;
    }
    *value = narrow ? Variant(static_cast<std::int16_t>(n)) : Variant(static_cast<std::int32_t>(n));
    return true;
  }
  if (kind == "double") {
    if (v == arg.end() || !v->is_number()) {
      *why = "\"double\" needs \"v\", a number";
      return false;
    }
    *value = Variant(v->get<double>());
    return true;
  }
  if (kind == "text") {
    if (v == arg.end() || !v->is_string()) {
      *why = "\"text\" needs \"v\", a string";
      return false;
    }
    *value = Variant(v->get_ref<const std::string&>());
    return true;
  }
  *why = "unknown argument kind \"" + kind +
         "\" (known: empty, missing, bool, i2, i4, double, text, huge)";
  return false;
}

void AppendJsonString(std::string_view s, std::string* out) {
  static constexpr char kHex[] = "0123456789abcdef";
  out->push_back('"');
  std::size_t run = 0;  // start of the bytes not yet copied
  std::size_t i = 0;
  const auto flush = [&](std::size_t upto) { out->append(s.substr(run, upto - run)); };
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c != '"' && c != '\\' && c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0x80) {
      if (const std::size_t length = Utf8SequenceLength(s, i)) {
        i += length;
        continue;
      }
      flush(i);
      out->append("\xEF\xBF\xBD");  // U+FFFD
      run = ++i;
      continue;
    }
    flush(i);
    switch (c) {
      case '"':
        out->append("\\\"");
        break;
      case '\\':
        out->append("\\\\");
        break;
      case '\n':
        out->append("\\n");
        break;
      case '\r':
        out->append("\\r");
        break;
      case '\t':
        out->append("\\t");
        break;
      case '\b':
        out->append("\\b");
        break;
      case '\f':
        out->append("\\f");
        break;
      default:
        out->append("\\u00");
        out->push_back(kHex[c >> 4]);
        out->push_back(kHex[c & 0xF]);
        break;
    }
    run = ++i;
  }
  flush(i);
  out->push_back('"');
}

void AppendValue(const Variant& value, std::string* out) {
  switch (value.kind()) {
    case VariantKind::Empty:
      out->append(R"({"t":"empty"})");
      return;
    case VariantKind::Missing:
      out->append(R"({"t":"missing"})");
      return;
    case VariantKind::Boolean:
      out->append(value.boolean() ? R"({"t":"bool","v":true})" : R"({"t":"bool","v":false})");
      return;
    case VariantKind::Int16:
      out->append(R"({"t":"i2","v":)");
      AppendNumber(value.int16(), out);
      out->push_back('}');
      return;
    case VariantKind::Int32:
      out->append(R"({"t":"i4","v":)");
      AppendNumber(value.int32(), out);
      out->push_back('}');
      return;
    case VariantKind::Double: {
      out->append(R"({"t":"double","v":)");
      AppendDouble(value.real(), out);
      if (const auto text = platform::GeneralText(value.real())) {
        out->append(R"(,"text":)");
        AppendJsonString(*text, out);
      }
      out->push_back('}');
      return;
    }
    case VariantKind::Text:
      out->append(R"({"t":"text","v":)");
      AppendJsonString(value.text(), out);
      out->push_back('}');
      return;
    case VariantKind::Array: {
      const VariantArray& array = value.array();
      out->append(R"({"t":"huge","lo":)");
      AppendNumber(array.lower_bound, out);
      if (array.element_kind == VariantArray::ElementKind::Int16) {
        out->append(R"(,"digits":[)");
        for (std::size_t i = 0; i < array.digits.size(); ++i) {
          if (i) out->push_back(',');
          AppendNumber(array.digits[i], out);
        }
      } else {
        out->append(R"(,"elem":"variant","digits":[)");
        for (std::size_t i = 0; i < array.elements.size(); ++i) {
          if (i) out->push_back(',');
          AppendElement(array.elements[i], out);
        }
      }
      out->append("]}");
      return;
    }
  }
}

bool BatchSession::LookUp(const std::string& name, platform::DispId* id,
                          platform::HResult* status) {
  if (const auto it = ids_.find(name); it != ids_.end()) {
    *id = it->second;
    return true;
  }
  *status = object_.GetIDsOfNames(name, id);
  if (*status != platform::kOk) return false;
  ids_.emplace(name, *id);
  return true;
}

void BatchSession::Answer(std::string_view line, std::string* out) {
  json request;
  try {
    request = json::parse(line);
  } catch (const json::exception& e) {
    AppendProtocolError(kProtocolError, "not valid JSON: " + std::string(WithoutTag(e.what())),
                        out);
    return;
  }
  if (!request.is_object()) {
    AppendProtocolError(kProtocolError, "a request must be a JSON object", out);
    return;
  }
  const auto fn = request.find("fn");
  if (fn == request.end() || !fn->is_string() || fn->get_ref<const std::string&>().empty()) {
    AppendProtocolError(kProtocolError, "the request names no function (\"fn\")", out);
    return;
  }
  const std::string& name = fn->get_ref<const std::string&>();

  values_.clear();
  if (const auto args = request.find("args"); args != request.end()) {
    if (!args->is_array()) {
      AppendProtocolError(kProtocolError, "\"args\" must be a list", out);
      return;
    }
    std::string why;
    for (const json& arg : *args) {
      if (!DecodeArg(arg, &values_.emplace_back(), &why)) {
        AppendProtocolError(kProtocolError,
                            "argument " + std::to_string(values_.size()) + ": " + why, out);
        return;
      }
    }
  }

  platform::DispId id = 0;
  platform::HResult status = platform::kOk;
  if (!LookUp(name, &id, &status)) {
    AppendProtocolError(status, "unknown function \"" + name + "\"", out);
    return;
  }

  // The arguments refer to values_, which no longer grows.
  args_.clear();
  for (Variant& value : values_) args_.push_back(platform::Argument::ByRef(value));
  Variant result;
  platform::ErrorInfo error;
  try {
    status = object_.Invoke(id, args_, &result, &error);
  } catch (const std::exception& e) {
    // A component should never let one escape; report it rather than stop the batch.
    status = platform::kException;
    error = {platform::kFailed, std::string("unexpected failure: ") + e.what()};
  }

  if (status >= 0) {
    out->append(R"({"ok":true,"result":)");
    AppendValue(result, out);
  } else {
    out->append(R"({"ok":false,"error":{"number":)");
    const bool raised = status == platform::kException;
    AppendNumber(raised ? error.number : status, out);
    out->append(R"(,"description":)");
    AppendJsonString(
        raised ? std::string_view(error.description) : platform::DescribeStatus(status), out);
    out->push_back('}');
  }
  out->append(R"(,"args":[)");
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (i) out->push_back(',');
    AppendValue(values_[i], out);
  }
  out->append("]}");
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t\r\n\f\v") == std::string_view::npos;
}

std::size_t RunBatch(platform::Dispatch& object, std::istream& in, std::ostream& out) {
  constexpr std::size_t kChunk = 1 << 16;
  BatchSession session(object);
  std::string line;
  std::string buffer;
  buffer.reserve(kChunk + 4096);
  std::size_t answered = 0;
  while (std::getline(in, line)) {
    if (IsBlankLine(line)) continue;
    session.Answer(line, &buffer);
    buffer.push_back('\n');
    ++answered;
    // Write in large pieces, but never sit on answers while waiting for more input: a host
    // that sends one request and waits for its answer must get it.
    if (buffer.size() >= kChunk || in.rdbuf()->in_avail() <= 0) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
      if (in.rdbuf()->in_avail() <= 0) out.flush();
    }
  }
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  out.flush();
  return answered;
}

}  // namespace numeron::cli
