#include "cli/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <exception>
#include <limits>
#include <ostream>
#include <system_error>

#include "platform/number_text.h"

namespace numeron::cli {

using platform::Variant;
using platform::VariantArray;
using platform::VariantKind;

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Whole text as an integer of type T; a leading '+' is allowed.
template <typename T>
bool ReadWhole(std::string_view text, T* value) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ReadWholeDouble(std::string_view text, double* value) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseArray(std::string_view written, Variant* value, std::string* why) {
  const auto colon = written.find(':');
  std::int32_t lo = 0;
  if (colon == std::string_view::npos || !ReadWhole(written.substr(0, colon), &lo)) {
    *why = "huge: is written huge:LO:d,d,d with LO the place of the first digit";
    return false;
  }
  const std::string_view list = written.substr(colon + 1);
  std::vector<std::string_view> entries;
  for (std::size_t start = 0; !list.empty();) {
    const auto comma = list.find(',', start);
    entries.push_back(list.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (static_cast<std::int64_t>(lo) + static_cast<std::int64_t>(entries.size()) - 1 >
      std::numeric_limits<std::int32_t>::max()) {
    *why = "huge: the array reaches past index 2147483647";
    return false;
  }
  bool variant_elements = false;
  for (std::string_view entry : entries) variant_elements = variant_elements || entry.empty();

  VariantArray array;
  array.lower_bound = lo;
  array.element_kind =
      variant_elements ? VariantArray::ElementKind::Variant : VariantArray::ElementKind::Int16;
  for (std::string_view entry : entries) {
    std::int16_t digit = 0;
    if (!entry.empty() && !ReadWhole(entry, &digit)) {
      *why = "huge: \"" + std::string(entry) + "\" is not a digit from -32768 to 32767";
      return false;
    }
    if (!variant_elements) {
      array.digits.push_back(digit);
    } else {
      if (entry.empty()) {
        array.elements.emplace_back();
      } else {
        array.elements.emplace_back(digit);
      }
    }
  }
  *value = Variant(std::move(array));
  return true;
}

std::string FormatDefault(const Variant& value) {
  if (value.is(VariantKind::Text)) return '"' + value.text() + '"';
  if (value.is(VariantKind::Empty)) return "Empty";
  return FormatValue(value);
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
  if (prefix == "text") {
    *value = Variant(rest);
  } else if (prefix == "i2") {
    std::int16_t n = 0;
    if (!ReadWhole(rest, &n)) {
      *why = "i2: needs an integer from -32768 to 32767";
      return false;
    }
    *value = Variant(n);
  } else if (prefix == "i4") {
    std::int32_t n = 0;
    if (!ReadWhole(rest, &n)) {
      *why = "i4: needs an integer from -2147483648 to 2147483647";
      return false;
    }
    *value = Variant(n);
  } else if (prefix == "d") {
    double d = 0;
    if (!ReadWholeDouble(rest, &d)) {
      *why = "d: needs a number such as 1.5 or -2E+20";
      return false;
    }
    *value = Variant(d);
  } else if (prefix == "b") {
    if (SameNameIgnoringCase(rest, "true")) {
      *value = Variant(true);
    } else if (SameNameIgnoringCase(rest, "false")) {
      *value = Variant(false);
    } else {
      *why = "b: needs true or false";
      return false;
    }
  } else if (prefix == "empty" || prefix == "missing") {
    if (!rest.empty()) {
      *why = std::string(prefix) + ": takes nothing after the colon";
      return false;
    }
    *value = prefix == "empty" ? Variant() : Variant::Missing();
  } else if (prefix == "huge") {
    return ParseArray(rest, value, why);
  } else {
    *why = "unknown kind prefix \"" + std::string(prefix) +
           ":\" (known: i2: i4: d: b: empty: missing: text: huge:; write text:" +
           std::string(written) + " to pass it as text)";
    return false;
  }
  return true;
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

void AddReturnTypeDefault(const platform::MemberDesc& member, std::vector<Variant>* args) {
  for (std::size_t k = 0; k < member.params.size(); ++k) {
    if (!SameNameIgnoringCase(member.params[k].name, "Return_Type")) continue;
    if (args->size() <= k) {
      args->resize(k, Variant::Missing());
      args->emplace_back(std::int32_t{1});
    }
    return;
  }
}

int RunCall(platform::Dispatch& object, std::string_view function, std::vector<Variant> args,
            std::ostream& out, std::ostream& err) {
  platform::DispId id = 0;
  if (object.GetIDsOfNames(function, &id) != platform::kOk) {
    err << "numeron: unknown function \"" << function
        << "\"; 'numeron --list' shows the functions\n";
    return kExitUsage;
  }
  const platform::MemberDesc* member = object.GetTypeInfo().Find(id);
  if (member) AddReturnTypeDefault(*member, &args);

  const std::vector<Variant> before = args;
  std::vector<platform::Argument> refs;
  refs.reserve(args.size());
  for (Variant& arg : args) refs.push_back(platform::Argument::ByRef(arg));
  Variant result;
  platform::ErrorInfo error;
  platform::HResult status = platform::kOk;
  try {
    status = object.Invoke(id, refs, &result, &error);
  } catch (const std::exception& e) {
    status = platform::kException;
    error = {platform::kFailed, std::string("unexpected failure: ") + e.what()};
  }
  if (status < 0) {
    if (status == platform::kException) {
      err << "error " << error.number << ": " << error.description << '\n';
    } else {
      err << "error " << status << ": " << platform::DescribeStatus(status) << '\n';
    }
    return kExitComponentError;
  }

  out << FormatValue(result) << '\n';
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == before[i]) continue;
    if (member && i < member->params.size()) {
      out << member->params[i].name;
    } else {
      out << "argument " << i + 1;
    }
    out << " = " << FormatValue(args[i]) << '\n';
  }
  return kExitOk;
}

std::string FormatInterface(const platform::TypeLibrary& library) {
  std::string text;
  text += "interface ";
  text += library.interface_name;
  text += ' ';
  text += library.interface_guid;
  text += " of ";
  text += library.name;
  text += ' ';
  text += library.version;
  if (!library.help.empty()) {
    text += ": ";
    text += library.help;
  }
  text += '\n';
  for (const platform::MemberDesc& member : library.members) {
    char id[16];
    std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(member.id));
    text += id;
    text += ' ';
    text += member.name;
    text += '(';
    for (std::size_t i = 0; i < member.params.size(); ++i) {
      const platform::ParamDesc& param = member.params[i];
      if (i) text += ", ";
      if (param.optional) text += '[';
      text += param.name;
      text += ": ";
      text += param.type_name;
      if (!param.default_value.is(VariantKind::Missing)) {
        text += " = ";
        text += FormatDefault(param.default_value);
      }
      if (param.optional) text += ']';
    }
    text += "): ";
    text += member.result_type_name;
    if (!member.help.empty()) {
      text += "  -- ";
      text += member.help;
    }
    text += '\n';
  }
  for (const platform::EnumDesc& e : library.enums) {
    text += "enum ";
    text += e.name;
    if (!e.guid.empty()) {
      text += ' ';
      text += e.guid;
    }
    text += '\n';
    for (const auto& [name, value] : e.members) {
      text += "  ";
      text += name;
      text += " = ";
      text += std::to_string(value);
      text += '\n';
    }
  }
  return text;
}

std::string_view UsageText() {
  return R"(usage: numeron FUNCTION [ARG ...]   call one function and print its result
       numeron --list                 list the functions and enumerations
       numeron --batch [FILE]         answer JSON requests from FILE (none or -: stdin)
       numeron --help | -h            show this text
       numeron --version              show the version

Single call
  FUNCTION is matched without regard to case. Each ARG is text unless written with a
  kind prefix:
    i2:5  i4:5  d:1.5  b:true  b:false  empty:  missing:  text:...  huge:LO:d,d,d
  huge: lists digits from the lowest place up, LO being the place of the first one; a blank
  entry (huge:0:,3,) makes an array of Variant elements with that element empty. Use text: to
  pass a text that starts like a prefix. When the function has a Return_Type parameter that
  is not given, the positions before it are passed as missing and Return_Type as 1, so that
  results print as text. All arguments are passed by reference.
  Output: the result on the first line (an empty result as an empty line), then a line
  NAME = value for each argument the call changed. Errors go to stderr as
  "error NUMBER: DESCRIPTION".

Batch protocol (--batch [FILE])
  Requests come from FILE, or from stdin when FILE is - or not given. One JSON request per
  line; lines that are empty or only blanks are skipped:
    {"fn":"Add","args":[ARG,...]}
  ARG: {"t":"empty"} {"t":"missing"} {"t":"bool","v":true} {"t":"i2","v":5} {"t":"i4","v":5}
       {"t":"double","v":1.5} {"t":"text","v":"1.5"} {"t":"huge","lo":-1,"digits":[5,1]}
       add "elem":"variant" for Variant elements: null is an empty element, a number an i2.
  Arguments are passed exactly as given (no defaults are added), all by reference.
  One answer line per request, in order:
    {"ok":true,"result":VALUE,"args":[VALUE,...]}
    {"ok":false,"error":{"number":N,"description":"..."},"args":[VALUE,...]}
  VALUE uses the ARG forms (a double also carries "text", its general text); "args" shows the
  arguments after the call. A request that cannot be carried out (not JSON, no function, a
  malformed ARG) gets {"ok":false,"error":{"number":0,"description":"..."}}, an unknown
  function the unknown-name status as its number; the batch goes on, and its exit code is 0
  whatever the answers say.

Exit codes
  0 success, 1 the component reported an error, 2 usage error (or a FILE that cannot be
  read), 3 the component cannot be created (not registered, or its library cannot be loaded).
  Every message other than results and answers goes to stderr.

The component is found through the registration file: $NUMERON_REGISTRY, else
$XDG_DATA_HOME/numeron/registry, else ~/.local/share/numeron/registry.
)";
}

}  // namespace numeron::cli
