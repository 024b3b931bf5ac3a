// Any bytes as the input of a batch: every line that is not blank gets exactly one answer, and
// every answer is one line of valid JSON; whatever a request line decodes to, its arguments
// written as VALUEs read back identical (doubles to the bit; JSON has no NaN or infinities, so
// those are left out). The object answering is a stand-in that echoes its first argument, so
// that the codec, not the arithmetic, takes the time.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/batch.h"
#include "cli/values.h"
#include "fuzz/fuzz_support.h"

namespace numeron::fuzz {
namespace {

constexpr std::size_t kMaxLine = 4096;  // small, so that long lines are refused too

class Echo : public platform::Dispatch {
 public:
  std::uint32_t AddRef() override { return 1; }
  std::uint32_t Release() override { return 1; }
  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override {
    *id = 1;
    return name == "NoSuch" ? platform::kUnknownName : platform::kOk;
  }
  const platform::TypeLibrary& GetTypeInfo() override {
    static const platform::TypeLibrary library;
    return library;
  }
  platform::HResult Invoke(platform::DispId, std::span<platform::Argument> args, Variant* result,
                           platform::ErrorInfo*) override {
    if (!args.empty()) *result = args[0].value();
    return platform::kOk;
  }
};

bool Finite(const Variant& value) {
  if (value.is(VariantKind::Double)) return std::isfinite(value.real());
  if (!value.is(VariantKind::Array)) return true;
  for (const Variant& element : value.array().elements) {
    if (!Finite(element)) return false;
  }
  return true;
}

void CheckReadBack(const std::string& line) {
  std::stringbuf in(line);
  cli::LineReader reader(in, kMaxLine);
  cli::Request request;
  if (!reader.StartLine() || !cli::DecodeRequest(reader, &request).empty()) return;
  std::ostringstream again;
  again << R"({"fn":"F","args":[)";
  for (std::size_t i = 0; i < request.args.size(); ++i) {
    if (i) again << ',';
    cli::WriteValue(Finite(request.args[i]) ? request.args[i] : Variant(), again);
  }
  again << "]}";
  std::stringbuf in_again(again.str());
  cli::LineReader reader_again(in_again, std::string::npos);
  cli::Request back;
  reader_again.StartLine();
  const std::string why = cli::DecodeRequest(reader_again, &back);
  if (!why.empty()) Die("a written request does not read back: " + why, request.args);
  for (std::size_t i = 0; i < request.args.size(); ++i) {
    if (Finite(request.args[i]) && back.args[i] != request.args[i]) {
      Die("a value reads back changed: " + again.str(), request.args);
    }
  }
}

}  // namespace
}  // namespace numeron::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace numeron;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t lines = 0;
  for (std::size_t start = 0; start < input.size();) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    const std::string line = input.substr(start, end - start);
    if (line.find_first_not_of(" \t\r\f\v") != std::string::npos) ++lines;
    fuzz::CheckReadBack(line);
    start = end + 1;
  }
  fuzz::Echo echo;
  cli::Caller caller(echo);
  std::stringbuf in(input);
  std::ostringstream out;
  if (cli::RunBatch(caller, in, out, {fuzz::kMaxLine}) != 0) fuzz::Die("the batch failed");
  std::istringstream answers(out.str());
  std::size_t answered = 0;
  for (std::string answer; std::getline(answers, answer); ++answered) {
    if (!nlohmann::json::accept(answer)) fuzz::Die("an answer is not JSON: " + answer);
  }
  if (answered != lines) {
    fuzz::Die(std::to_string(lines) + " lines, " + std::to_string(answered) + " answers");
  }
  return 0;
}
