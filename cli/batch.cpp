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

// Lends the answers' stream to the control's watcher for as long as the batch runs.
class OutputWatch {
 public:
  OutputWatch(CallControl* control, std::ostream& out) : control_(control) {
    if (control_) control_->SetOutput(&out);
  }
  ~OutputWatch() {
    if (control_) control_->SetOutput(nullptr);
  }
  OutputWatch(const OutputWatch&) = delete;
  OutputWatch& operator=(const OutputWatch&) = delete;

 private:
  CallControl* control_;
};

}  // namespace

int RunBatch(Caller& caller, std::streambuf& in, std::ostream& out, const BatchOptions& options) {
  CallControl* control = caller.control();
  // While reading, a signal ends the program at once; answers are written whole.
  const auto reading = [control](bool on) {
    if (control) control->SetReading(on);
  };
  // Answers go out together when the input has nothing more in hand (the host may be waiting
  // for them), and while a call runs long the control's watcher sends them; without a
  // watcher, each goes out as it is written.
  LineReader line(in, options.max_line, [&] {
    reading(false);
    out.flush();
    reading(true);
  });
  const OutputWatch watch(control, out);
  Request request;
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
    if (!control || control->signal()) out.flush();
    if (!out) return kExitCannotWrite;
    if (control && control->signal()) return 128 + control->signal();
    reading(true);
    line.SkipRest();
  }
  reading(false);
  out.flush();
  return out ? kExitOk : kExitCannotWrite;
}

}  // namespace numeron::cli
