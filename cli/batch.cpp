#include "cli/batch.h"

#include <new>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/command_line.h"
#include "cli/values.h"
#include "platform/error.h"

namespace numeron::cli {

namespace {

void WriteError(std::int32_t number, const std::string& description, std::ostream& out) {
  using Json = nlohmann::ordered_json;
  out << R"({"ok":false,"error":)"
      << Json{{"number", number}, {"description", description}}.dump(
             -1, ' ', false, Json::error_handler_t::replace);
}

void WriteAnswer(const Outcome& outcome, const std::vector<platform::Variant>& args,
                 std::ostream& out) {
  if (outcome.ok) {
    out << R"({"ok":true,"result":)";
    WriteValue(outcome.result, out);
  } else {
    WriteError(outcome.number, outcome.description, out);
  }
  out << R"(,"args":[)";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i) out << ',';
    WriteValue(args[i], out);
  }
  out << "]}";
}

}  // namespace

int RunBatch(Caller& caller, std::streambuf& in, std::ostream& out, const BatchOptions& options) {
  CallControl* control = caller.control();
  LineReader line(in, options.max_line);
  Request request;
  // While reading, a signal ends the program at once; answers are written whole.
  const auto reading = [control](bool on) {
    if (control) control->SetReading(on);
  };
  reading(true);
  while (line.StartLine()) {
    std::int32_t number = kProtocolError;
    std::string refused;
    try {
      refused = DecodeRequest(line, &request);
    } catch (const std::bad_alloc&) {
      number = platform::kOutOfMemory.number;
      refused = platform::kOutOfMemory.description;
    }
    platform::DispId id = 0;
    if (refused.empty()) {
      number = caller.LookUp(request.fn, &id);
      if (number != platform::kOk) refused = "unknown function \"" + request.fn + '"';
    }
    if (!refused.empty()) {
      request = Request();  // what a refused line built goes before the rest is read
      if (line.IsBlank()) {
        line.SkipRest();
        continue;
      }
      reading(false);
      WriteError(number, refused, out);
      out << "}\n";
    } else {
      reading(false);
      const Outcome outcome =
          caller.Call(id, request.args, request.time_limit_ms.value_or(options.time_limit_ms));
      WriteAnswer(outcome, request.args, out);
      out << '\n';
    }
    out.flush();  // before the rest of the line, which may never end
    if (!out) return kExitCannotWrite;
    if (control && control->signal()) return 128 + control->signal();
    reading(true);
    line.SkipRest();
  }
  return kExitOk;
}

}  // namespace numeron::cli
