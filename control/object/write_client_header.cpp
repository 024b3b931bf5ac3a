// Writes client/numeron.h, the typed C++ client of _Numeron and _NumeronCallControl, from the
// interface tables the component itself is built from, so the two cannot drift: one method per
// member with the table's parameters, kinds and defaults, calling by dispatch identifier.
// Usage: numeron_client_header OUTPUT. A parameter the table describes in a way this writer
// cannot express stops the build rather than produce a header that says something else.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "control/object/numeron.h"
#include "platform/dispatch.h"

namespace {

using numeron::platform::EnumDesc;
using numeron::platform::MemberDesc;
using numeron::platform::ParamDesc;
using numeron::platform::ParamType;
using numeron::platform::ResultType;
using numeron::platform::TypeLibrary;
using numeron::platform::Variant;
using numeron::platform::VariantKind;

[[noreturn]] void Refuse(const MemberDesc& member, std::string_view what) {
  throw std::runtime_error(std::string(member.name) + ": " + std::string(what));
}

const EnumDesc* FindEnum(const TypeLibrary& library, std::string_view name) {
  for (const EnumDesc& e : library.enums) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

// The C++ type a parameter is given as, without reference or const.
std::string ValueType(const TypeLibrary& library, const ParamDesc& param) {
  switch (param.type) {
    case ParamType::Variant:
      return "Variant";
    case ParamType::Double:
      return "double";
    case ParamType::Text:
      return "std::string";
    case ParamType::Int32:
      return FindEnum(library, param.type_name) ? std::string(param.type_name) : "std::int32_t";
  }
  return {};
}

std::string Declarator(const TypeLibrary& library, const ParamDesc& param) {
  const std::string type = ValueType(library, param);
  if (param.written_back) return type + "& " + std::string(param.name);
  if (param.type == ParamType::Variant || param.type == ParamType::Text) {
    return "const " + type + "& " + std::string(param.name);
  }
  return type + " " + std::string(param.name);
}

std::string QuoteText(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

// What the component sees for an optional parameter that is not given, written as C++.
std::string DefaultValue(const TypeLibrary& library, const MemberDesc& member,
                         const ParamDesc& param) {
  const Variant& value = param.default_value;
  if (param.type == ParamType::Int32) {
    // A missing 32-bit parameter without a default reads as 0.
    std::int32_t number = 0;
    if (value.is(VariantKind::Int32)) {
      number = value.int32();
    } else if (!value.is(VariantKind::Missing)) {
      Refuse(member, "a 32-bit parameter with a default of another kind");
    }
    const EnumDesc* e = FindEnum(library, param.type_name);
    if (!e) return std::to_string(number);
    for (const auto& [name, member_value] : e->members) {
      if (member_value == number) return std::string(e->name) + "::" + std::string(name);
    }
    Refuse(member, "a default that is no member of its enumeration");
  }
  if (param.type != ParamType::Variant) Refuse(member, "an optional double or text parameter");
  switch (value.kind()) {
    case VariantKind::Missing:
      return "Variant::Missing()";
    case VariantKind::Int16:
      return "Variant(std::int16_t{" + std::to_string(value.int16()) + "})";
    case VariantKind::Int32:
      return "Variant(std::int32_t{" + std::to_string(value.int32()) + "})";
    case VariantKind::Text:
      return "Variant(" + QuoteText(value.text()) + ")";
    default:
      Refuse(member, "a Variant default of a kind this writer does not spell");
  }
}

std::string ResultCppType(const TypeLibrary& library, const MemberDesc& member) {
  switch (member.result) {
    case ResultType::Variant:
      return "Variant";
    case ResultType::Boolean:
      return "bool";
    case ResultType::Int16:
      return "std::int16_t";
    case ResultType::Int32:
      // An enumeration result (GetType) is given as the enumeration.
      return FindEnum(library, member.result_type_name) ? std::string(member.result_type_name)
                                                        : "std::int32_t";
    case ResultType::Double:
      return "double";
    case ResultType::Text:
      return "std::string";
  }
  return {};
}

std::string ResultExpression(const TypeLibrary& library, const MemberDesc& member) {
  switch (member.result) {
    case ResultType::Variant:
      return "result";
    case ResultType::Boolean:
      return "result.boolean()";
    case ResultType::Int16:
      return "result.int16()";
    case ResultType::Int32:
      return FindEnum(library, member.result_type_name)
                 ? "static_cast<" + std::string(member.result_type_name) + ">(result.int32())"
                 : "result.int32()";
    case ResultType::Double:
      return "result.real()";
    case ResultType::Text:
      return "result.text()";
  }
  return {};
}

// head + items joined by ", " + tail, broken after a comma where a line would pass 96 columns.
std::string Wrap(const std::string& head, const std::vector<std::string>& items,
                 const std::string& tail, const std::string& indent) {
  std::string out = head;
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string piece = items[i] + (i + 1 < items.size() ? "," : tail);
    if (i > 0) {
      if (out.size() - line_start + 1 + piece.size() > 96) {
        out += '\n';
        line_start = out.size();
        out += indent;
      } else {
        out += ' ';
      }
    }
    out += piece;
  }
  if (items.empty()) out += tail;
  return out;
}

// The help string as comment lines of at most about 96 columns.
void WriteHelp(std::ostream& out, const MemberDesc& member) {
  std::istringstream words(member.help);
  std::string line = "  //";
  bool any = false;
  for (std::string word; words >> word;) {
    if (line.size() + 1 + word.size() > 96 && line != "  //") {
      out << line << '\n';
      line = "  //";
    }
    line += ' ' + word;
    any = true;
  }
  if (any) out << line << '\n';
}

// A member whose written-back parameters are optional gets one overload per such parameter,
// ending just before it (a reference cannot have a default), and one with every parameter.
// Defaults go on the trailing parameters that are optional and not written back; the overloads
// then take disjoint numbers of arguments, so a call never matches two of them.
std::vector<std::size_t> OverloadLengths(const MemberDesc& member) {
  std::vector<std::size_t> lengths;
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    if (member.params[i].written_back && member.params[i].optional) lengths.push_back(i);
  }
  lengths.push_back(member.params.size());
  return lengths;
}

std::size_t FirstDefaulted(const MemberDesc& member, std::size_t length) {
  std::size_t first = length;
  while (first > 0 && member.params[first - 1].optional && !member.params[first - 1].written_back) {
    --first;
  }
  return first;
}

void WriteDeclarations(std::ostream& out, const TypeLibrary& library, const MemberDesc& member) {
  out << '\n';
  WriteHelp(out, member);
  for (const std::size_t length : OverloadLengths(member)) {
    const std::size_t first_defaulted = FirstDefaulted(member, length);
    std::vector<std::string> params;
    for (std::size_t i = 0; i < length; ++i) {
      const ParamDesc& param = member.params[i];
      params.push_back(Declarator(library, param));
      if (i >= first_defaulted) params.back() += " = " + DefaultValue(library, member, param);
    }
    out << Wrap("  " + ResultCppType(library, member) + ' ' + std::string(member.name) + '(',
                params, ") const;", "      ")
        << '\n';
  }
}

// One class of the header: the interface it calls and the names it is written under.
struct ClientClass {
  const TypeLibrary& library;
  std::string_view name;
  std::string_view dispid_namespace;
};

void WriteDefinitions(std::ostream& out, const ClientClass& client, const MemberDesc& member) {
  const TypeLibrary& library = client.library;
  for (const std::size_t length : OverloadLengths(member)) {
    std::vector<std::string> params;
    for (std::size_t i = 0; i < length; ++i)
      params.push_back(Declarator(library, member.params[i]));
    out << '\n'
        << Wrap("inline " + ResultCppType(library, member) + ' ' + std::string(client.name) +
                    "::" + std::string(member.name) + '(',
                params, ") const {", "    ")
        << '\n';
    std::vector<std::string> written_back_ints;
    for (std::size_t i = 0; i < length; ++i) {
      const ParamDesc& param = member.params[i];
      if (param.written_back && param.type == ParamType::Int32) {
        out << "  Variant " << param.name << "_variable(" << param.name << ");\n";
        written_back_ints.emplace_back(param.name);
      }
    }
    out << "  std::vector<platform::Argument> args;\n"
        << "  args.reserve(" << member.params.size() << ");\n";
    for (std::size_t i = 0; i < member.params.size(); ++i) {
      const ParamDesc& param = member.params[i];
      const std::string name(param.name);
      if (i >= length) {
        // Left out of a shorter overload: the component takes its own default, as for any host.
        out << "  args.push_back(platform::Argument::ByValue(Variant::Missing()));\n";
      } else if (param.written_back && param.type == ParamType::Int32) {
        out << "  args.push_back(platform::Argument::ByRef(" << name << "_variable));\n";
      } else if (param.written_back) {
        out << "  args.push_back(platform::Argument::ByRef(" << name << "));\n";
      } else if (FindEnum(library, param.type_name)) {
        out << "  args.push_back(platform::Argument::ByValue(Variant(static_cast<std::int32_t>(\n"
            << "      " << name << "))));\n";
      } else {
        out << "  args.push_back(platform::Argument::ByValue(Variant(" << name << ")));\n";
      }
    }
    out << "  Variant result;\n"
        << "  const detail::Outcome outcome = Call(" << client.dispid_namespace
        << "::" << member.name << ", args, &result);\n";
    // What the member stored before a failure stays stored, as it would for a dispatch host.
    for (const std::string& name : written_back_ints) {
      out << "  if (" << name << "_variable.is(platform::VariantKind::Int32)) {\n"
          << "    " << name << " = " << name << "_variable.int32();\n"
          << "  }\n";
    }
    out << "  outcome.ThrowIfFailed();\n"
        << "  return " << ResultExpression(library, member) << ";\n"
        << "}\n";
  }
}

void Check(const TypeLibrary& library) {
  for (const MemberDesc& member : library.members) {
    for (const ParamDesc& param : member.params) {
      const bool in_enum = param.type == ParamType::Int32 && FindEnum(library, param.type_name);
      if (param.written_back &&
          (in_enum || param.type == ParamType::Double || param.type == ParamType::Text)) {
        Refuse(member, "a written-back parameter that is not a Long or a Variant");
      }
    }
  }
}

constexpr std::string_view kPreamble =
    R"(// The typed C++ client of the Numeron component: one method per member of its dispatch
// interface, with the member's parameters, kinds and defaults, calling it by dispatch
// identifier. Written at build time from the component's own interface table; do not edit.
//
// A failed call throws CallError: the component's error number and description, or a status of
// the dispatch layer and a short text. A parameter the member writes back (Pi's Precision,
// Round's DecimalPlace, Increment's number, ...) is a reference, and it keeps what the member
// stored even when the call then fails (though not when it is cancelled or runs out of time);
// omit it to let the component take its default. CallControl (Numeron::call_control()) cancels
// a running call from another thread, limits the time of calls and reads their progress.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/dispatch.h"
#include "platform/registry.h"

namespace numeron::client {

using platform::Variant;
using platform::VariantArray;

inline constexpr const char* kProgId = "NumeronControl.Numeron";

// A refused call: what the component raised, or the dispatch layer's status when the call never
// ran (an unknown member, a wrong argument) or the object could not be created.
class CallError : public std::runtime_error {
 public:
  CallError(std::int32_t number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  std::int32_t number_;
  std::string description_;
};

namespace detail {

// How one call ended; the caller copies write-backs out before it throws.
struct Outcome {
  platform::HResult status;
  platform::ErrorInfo error;

  void ThrowIfFailed() const {
    if (status == platform::kOk) return;
    if (status == platform::kException) throw CallError(error.number, error.description);
    throw CallError(status, std::string(platform::DescribeStatus(status)));
  }
};

}  // namespace detail
)";

constexpr std::string_view kCallControlHead = R"(
// The call control of a Numeron object (Numeron::call_control()). Its methods may be called
// from any thread while a call of the object runs on another.
class CallControl {
 public:
  explicit CallControl(platform::Ref<platform::Dispatch> object) : object_(std::move(object)) {}

  // For calls by dispatch identifier (see call_control_dispid).
  platform::Dispatch& dispatch() const { return *object_.get(); }
)";

constexpr std::string_view kNumeronHead = R"(
// One Numeron object. Copies share the object (it is reference counted).
class Numeron {
 public:
  // Creates the component by program identifier through the registration file; throws
  // CallError with the creation status and the reason (not registered, library missing).
  static Numeron Create() {
    platform::Ref<platform::Dispatch> object;
    std::string why;
    const platform::HResult status = platform::CreateObject(kProgId, &object, &why);
    if (status != platform::kOk || !object) throw CallError(status, why);
    return Numeron(std::move(object));
  }
  explicit Numeron(platform::Ref<platform::Dispatch> object) : object_(std::move(object)) {}

  // For calls by dispatch identifier (see dispid).
  platform::Dispatch& dispatch() const { return *object_.get(); }

  // The object's call control: cancel its running call, limit its calls' time, read progress.
  CallControl call_control() const {
    platform::Ref<platform::Dispatch> control;
    const platform::HResult status = object_->QueryInterface(INTERFACE, control.put());
    if (status != platform::kOk) {
      throw CallError(status, std::string(platform::DescribeStatus(status)));
    }
    return CallControl(std::move(control));
  }
)";

constexpr std::string_view kClassTail = R"(
 private:
  detail::Outcome Call(platform::DispId id, std::vector<platform::Argument>& args,
                       Variant* result) const {
    detail::Outcome outcome{platform::kOk, {}};
    outcome.status = object_->Invoke(id, args, result, &outcome.error);
    return outcome;
  }

  platform::Ref<platform::Dispatch> object_;
};
)";

void WriteDispIds(std::ostream& out, const ClientClass& client) {
  out << "\n// The dispatch identifiers of the members of " << client.library.interface_name
      << ".\nnamespace " << client.dispid_namespace << " {\n";
  for (const MemberDesc& member : client.library.members) {
    char id[16];
    std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(member.id));
    out << "inline constexpr platform::DispId " << member.name << " = " << id << ";\n";
  }
  out << "}  // namespace " << client.dispid_namespace << "\n";
}

void WriteClass(std::ostream& out, const ClientClass& client, std::string_view head) {
  out << head;
  for (const MemberDesc& member : client.library.members) {
    WriteDeclarations(out, client.library, member);
  }
  out << kClassTail;
}

std::string Header() {
  const TypeLibrary& library = numeron::NumeronTypeLibrary();
  Check(library);
  std::ostringstream out;
  out << kPreamble;

  for (const EnumDesc& e : library.enums) {
    std::vector<std::string> items;
    for (const auto& [name, value] : e.members) {
      items.push_back(std::string(name) + " = " + std::to_string(value));
    }
    out << '\n'
        << Wrap("enum class " + std::string(e.name) + " : std::int32_t { ", items, " };", "  ")
        << '\n';
  }

  const ClientClass numeron{library, "Numeron", "dispid"};
  const ClientClass control{numeron::CallControlTypeLibrary(), "CallControl",
                            "call_control_dispid"};
  Check(control.library);
  WriteDispIds(out, numeron);
  WriteDispIds(out, control);
  WriteClass(out, control, kCallControlHead);
  std::string numeron_head(kNumeronHead);
  numeron_head.replace(numeron_head.find("INTERFACE"), 9,
                       QuoteText(control.library.interface_name));
  WriteClass(out, numeron, numeron_head);
  out << "\n// Implementation details follow.\n";
  for (const ClientClass& client : {control, numeron}) {
    for (const MemberDesc& member : client.library.members) WriteDefinitions(out, client, member);
  }
  out << "\n}  // namespace numeron::client\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: numeron_client_header OUTPUT\n", stderr);
    return 2;
  }
  try {
    const std::string header = Header();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << header;
    if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "numeron_client_header: %s\n", e.what());
    return 1;
  }
  return 0;
}
