#include "cli/command_line.h"

#include <cstdio>
#include <ostream>

#include "cli/request.h"
#include "cli/values.h"

namespace numeron::cli {

using platform::Variant;
using platform::VariantKind;

namespace {

std::string FormatDefault(const Variant& value) {
  if (value.is(VariantKind::Text)) return '"' + value.text() + '"';
  if (value.is(VariantKind::Empty)) return "Empty";
  return FormatValue(value);
}

}  // namespace

void AddReturnTypeDefault(const platform::MemberDesc& member, std::vector<Variant>* args) {
  for (std::size_t k = 0; k < member.params.size(); ++k) {
    if (member.params[k].name != "Return_Type") continue;
    if (args->size() <= k) {
      args->resize(k, Variant::Missing());
      args->emplace_back(std::int32_t{1});
    }
    return;
  }
}

int RunCall(Caller& caller, const std::string& function, std::vector<Variant> args,
            std::ostream& out, std::ostream& err, std::int32_t time_limit_ms) {
  platform::DispId id = 0;
  if (caller.LookUp(function, &id) != platform::kOk) {
    err << "numeron: unknown function \"" << function
        << "\"; 'numeron --list' shows the functions\n";
    return kExitUsage;
  }
  const platform::MemberDesc* member = caller.object().GetTypeInfo().Find(id);
  if (member) AddReturnTypeDefault(*member, &args);
  const std::vector<Variant> before = args;
  const Outcome outcome = caller.Call(id, args, time_limit_ms);
  if (!outcome.ok) {
    err << "error " << outcome.number << ": " << outcome.description << '\n';
    return kExitComponentError;
  }
  out << FormatValue(outcome.result) << '\n';
  for (std::size_t i = 0; member && i < member->params.size() && i < args.size(); ++i) {
    if (member->params[i].written_back && args[i] != before[i]) {
      out << member->params[i].name << " = " << FormatValue(args[i]) << '\n';
    }
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

std::string UsageText() {
  return R"(usage: numeron [OPTION ...] FUNCTION [ARG ...]   call one function and print its result
       numeron [OPTION ...] --batch [FILE]       answer JSON requests from FILE (none or -: stdin)
       numeron --list                            list the functions and enumerations
       numeron --help | -h                       show this text
       numeron --version                         show the version

Options
  --time-limit MS  end a call that runs longer than MS milliseconds with the component's
                   time-limit error (0, the default: no limit)
  --progress       while a call runs longer than half a second, show its function, how far
                   it has got and the time taken on one line of stderr, when stderr is a
                   terminal; the line is erased when the call ends
  --max-line BYTES refuse batch lines longer than BYTES (default )" +
         std::to_string(kMaxLine) + R"()

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
  NAME = value for each parameter the function writes back whose argument it changed.
  Errors go to stderr as "error NUMBER: DESCRIPTION".

Batch protocol (--batch [FILE])
  Requests come from FILE, or from stdin when FILE is - or not given. One JSON request per
  line; lines that are empty or only blanks are skipped:
    {"fn":"Add","args":[ARG,...]}      optionally with "time_limit_ms":MS for this line
  ARG: {"t":"empty"} {"t":"missing"} {"t":"bool","v":true} {"t":"i2","v":5} {"t":"i4","v":5}
       {"t":"double","v":1.5} {"t":"text","v":"1.5"} {"t":"huge","lo":-1,"digits":[5,1]}
       add "elem":"variant" for Variant elements: null is an empty element, a number an i2.
  Arguments are passed exactly as given (no defaults are added), all by reference.
  One answer line per request, in order, written as soon as it is computed:
    {"ok":true,"result":VALUE,"args":[VALUE,...]}
    {"ok":false,"error":{"number":N,"description":"..."},"args":[VALUE,...]}
  VALUE uses the ARG forms (a double also carries "text", its general text); "args" shows the
  arguments after the call. A request that cannot be carried out gets
  {"ok":false,"error":{"number":0,"description":"..."}}: not JSON, no function, a malformed
  ARG, JSON nested deeper than )" +
         std::to_string(kMaxDepth) + R"( levels, a line longer than --max-line (it is read past,
  never held), or number -2146828281 "Out of memory" when its arguments do not fit in memory;
  an unknown function gets the unknown-name status as its number. The batch goes on.

Signals
  SIGINT or SIGTERM cancels the running call: a single call prints "numeron: cancelled" on
  stderr; a batch answers the line in progress with the component's cancel error. Either then
  exits with 130 (SIGINT) or 143 (SIGTERM); every earlier batch answer is on stdout.

Exit codes
  0 success (a batch: every line answered, whatever the answers say), 1 the component reported
  an error, 2 usage error (or a FILE that cannot be read), 3 the component cannot be created
  (not registered, or its library cannot be loaded), 4 stdout cannot be written (a full disk,
  a closed pipe), 130 and 143 ended by SIGINT and SIGTERM.
  Every message other than results and answers goes to stderr.

The component is found through the registration file: $NUMERON_REGISTRY, else
$XDG_DATA_HOME/numeron/registry, else ~/.local/share/numeron/registry.
)";
}

}  // namespace numeron::cli
