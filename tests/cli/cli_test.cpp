// The numeron program run as a process against the registered component: exit codes, output
// and messages of each mode, one round of the batch protocol with the lines a careless or
// hostile host may send, and the batch codec's forms read back as they were written.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/request.h"
#include "cli/values.h"
#include "client/numeron.h"
#include "tests/run_process.h"

namespace {

using numeron::platform::Variant;
using numeron::test_process::ProcessResult;
using numeron::test_process::ProcessRun;

ProcessResult Numeron(const ProcessRun& run) { return RunProcess(NUMERON_CLI, run); }

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return text;
}

struct ExitCase {
  ProcessRun run;
  int exit_code;
  const char* out;          // exact stdout, or nullptr not to check
  const char* err_pattern;  // regular expression stderr must match as a whole
};

TEST(Numeron, ExitCodesOutputAndMessages) {
  const std::string tmp = ::testing::TempDir();
  const std::string no_registry = "NUMERON_REGISTRY=" + tmp + "no-such-registry";
  const std::string add = R"({"fn":"Add","args":[{"t":"text","v":"1.5"},{"t":"i4","v":2}]})";
  const std::string requests = tmp + "numeron-batch-requests";
  std::ofstream(requests) << add << '\n';
  const char* cannot_write = "numeron: cannot write the output: No space left on device\n";
  const ExitCase cases[] = {
      {{{"Add", "text:1.5", "2"}}, 0, "3.5\n", ""},
      {{{"add", "i2:2", "d:0.25"}}, 0, "2.25\n", ""},
      {{{"Add", "huge:0:,3", "huge:-1:5,1"}}, 0, "31.5\n", ""},
      {{{"ConvertToString", "huge:-2:5,0,1"}}, 0, "1.05\n", ""},
      {{{"Add", "abc", "1"}}, 1, "", "error -2146828275: Type mismatch\n"},
      {{{"Add", "1"}}, 1, "", "error -2147352561: Argument not optional\n"},
      // Pi writes its precision back; a written-back argument left as it was gets no line, nor
      // does one the member never writes (NaN differs from itself under ==).
      {{{"Pi", "i4:1200", "i4:2"}}, 0, "3.14159265358979\nPrecision = 999\n", ""},
      {{{"Pi", "i4:5", "i4:1"}}, 0, "3.14159\n", ""},
      {{{"IsNumericEx", "d:nan"}}, 0, "False\n", ""},
      {{{"--time-limit", "50", "Calculate_e", "i4:1000000", "i4:100000"}},
       1,
       "",
       "error -2147220495: The calculation took longer than its time limit.\n"},
      {{{"--version"}}, 0, "numeron 1.0.0\n", ""},
      {{{"--help"}}, 0, nullptr, ""},
      {{{}}, 2, "", "numeron: no function given\n.*--help.*\n"},
      {{{"NoSuchFunction"}}, 2, "", "numeron: unknown function \"NoSuchFunction\".*\n"},
      {{{"Add", "i8:5", "1"}}, 2, "", "numeron: argument 1: unknown kind prefix.*\n.*\n"},
      {{{"Add", "huge:2147483647:1,2"}}, 2, "", "numeron: argument 1: huge: .*index.*\n.*\n"},
      {{{"--frobnicate"}}, 2, "", "numeron: unknown option --frobnicate\n.*\n"},
      {{{"--time-limit", "-1", "Add"}}, 2, "", "numeron: --time-limit: \"-1\" is no limit\n.*\n"},
      {{{"Add", "1", "2"}, "", {no_registry}}, 3, "", "numeron: cannot create .+\n"},
      {{{"--batch"}, "", {no_registry}}, 3, "", "numeron: cannot create .+\n"},
      {{{"Add", "i8:5"}, "", {no_registry}}, 2, "", "numeron: argument 1:.*\n.*\n"},
      {{{"--batch", requests}},
       0,
       R"({"ok":true,"result":{"t":"huge","lo":-1,"digits":[5,3]},)"
       R"("args":[{"t":"text","v":"1.5"},{"t":"i4","v":2}]})"
       "\n",
       ""},
      {{{"--batch", tmp + "no-such"}},
       2,
       "",
       "numeron: cannot read .*no-such: No such file.*\n.*\n"},
      {{{"--batch", tmp}}, 2, "", "numeron: cannot read .*directory\n.*\n"},
      {{{"--batch", requests, "more"}}, 2, "", "numeron: --batch takes at most one FILE\n.*\n"},
      // Standard output that cannot be written is a failure in every mode.
      {{{"Add", "1", "1"}, "", {}, "/dev/full"}, 4, nullptr, cannot_write},
      {{{"--list"}, "", {}, "/dev/full"}, 4, nullptr, cannot_write},
      {{{"--help"}, "", {}, "/dev/full"}, 4, nullptr, cannot_write},
      {{{"--batch"}, add + '\n' + add, {}, "/dev/full"}, 4, nullptr, cannot_write},
  };
  for (const ExitCase& c : cases) {
    std::string command;
    for (const std::string& arg : c.run.args) command += ' ' + arg;
    SCOPED_TRACE("numeron" + command);
    const ProcessResult r = Numeron(c.run);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.err;
    if (c.out) {
      EXPECT_EQ(r.out, c.out);
    }
    EXPECT_TRUE(std::regex_match(r.err, std::regex(c.err_pattern))) << r.err;
  }
}

TEST(Numeron, ListShowsBothInterfacesByDispatchIdentifier) {
  const ProcessResult r = Numeron({{"--list"}});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  char lines[2][40];
  std::snprintf(lines[0], 40, "\n0x%08X Add(", numeron::client::dispid::Add);
  std::snprintf(lines[1], 40, "\n0x%08X Cancel(", numeron::client::call_control_dispid::Cancel);
  for (const char* line : lines) EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

// One round of the protocol: each request with its answer; blank lines get none.
TEST(NumeronBatch, AnswersEveryLineInOrderAndGoesOn) {
  const std::string deep = R"({"t":"huge","lo":0,"elem":"variant","digits":[)";
  std::string nested = "{\"t\":\"empty\"}";
  for (int i = 0; i < 40; ++i) nested = deep + nested + "]}";
  const std::pair<std::string, const char*> lines[] = {
      {R"({"fn":"Add","args":[{"t":"huge","lo":-1,"digits":[5,1]},{"t":"double","v":-0.0},)"
       R"({"t":"i2","v":0}]})",
       R"({"ok":true,"result":{"t":"huge","lo":-1,"digits":[5,1]},"args":[{"t":"huge","lo":-1,)"
       R"("digits":[5,1]},{"t":"double","v":-0.0,"text":"0"},{"t":"i2","v":0}]})"},
      {R"({"args":[{"t":"empty"},{"t":"text","v":"\u00e9\t"},{"t":"missing"}],"fn":"Add"})",
       R"({"ok":false,"error":{"number":-2146828275,"description":"Type mismatch"},"args":[)"
       "{\"t\":\"empty\"},{\"t\":\"text\",\"v\":\"\xC3\xA9\\t\"},{\"t\":\"missing\"}]}"},
      {R"({"fn":"Add","args":[{"t":"huge","lo":0,"elem":"variant","digits":[null,3,40000,)"
       R"({"t":"text","v":"7"}]},{"t":"bool","v":true},{"t":"i4","v":1}]})",
       R"({"ok":false,"error":{"number":-2146828282,"description":"Overflow"},"args":[{"t":"huge",)"
       R"("lo":0,"elem":"variant","digits":[null,3,40000,{"t":"text","v":"7"}]},)"
       R"({"t":"bool","v":true},{"t":"i4","v":1}]})"},
      {R"({"fn":"Pi","args":[{"t":"i4","v":1200},{"t":"i4","v":2}],"time_limit_ms":0})",
       R"({"ok":true,"result":{"t":"double","v":3.141592653589793,"text":"3.14159265358979"},)"
       R"("args":[{"t":"i4","v":999},{"t":"i4","v":2}]})"},
      {R"({"fn":"Calculate_e","args":[{"t":"i4","v":1000000},{"t":"i4","v":100000}],)"
       R"("time_limit_ms":50})",
       R"({"ok":false,"error":{"number":-2147220495,"description":"The calculation took )"
       R"(longer than its time limit."},)"
       R"("args":[{"t":"i4","v":1000000},{"t":"i4","v":100000}]})"},
      {R"({"fn":"Add","args":[{"t":"double","v":0.1},{"t":"double","v":0.2},{"t":"i4","v":2}]})",
       R"({"ok":true,"result":{"t":"double","v":0.30000000000000004,"text":"0.3"},"args":[)"
       R"({"t":"double","v":0.1,"text":"0.1"},{"t":"double","v":0.2,"text":"0.2"},)"
       R"({"t":"i4","v":2}]})"},
      {"  \t\r", nullptr},
      {"", nullptr},
      {"{not json", R"({"ok":false,"error":{"number":0,"description":"not valid JSON: parse )"
                    R"(error at line 1, column 3: syntax error while parsing object key - )"
                    R"(invalid literal; last read: '{no'; expected string literal"}})"},
      {R"({"fn":"NoSuch","args":[]})", R"({"ok":false,"error":{"number":-2147352570,)"
                                       R"("description":"unknown function \"NoSuch\""}})"},
      {R"({"fn":"Add","args":[{"t":"i2","v":1},{"t":"huge","lo":0,"digits":[1,null]}]})",
       R"({"ok":false,"error":{"number":0,"description":"argument 2: a digit must be an integer )"
       R"x(from -32768 to 32767 (use \"elem\":\"variant\" for empty elements)"}})x"},
      {R"({"fn":"Add","args":[)" + nested + "]}",
       R"({"ok":false,"error":{"number":0,)"
       R"("description":"the request nests deeper than 64 levels"}})"},
      {R"({"fn":"Add","args":[{"t":"text","v":")" + std::string(3000, '9') + "\"}]}",
       R"({"ok":false,"error":{"number":0,"description":"the line is longer than 2000 bytes"}})"},
      {"[1]",
       R"({"ok":false,"error":{"number":0,"description":"a request must be a JSON object"}})"},
      {R"({"args":5,"fn":"Add"})",
       R"({"ok":false,"error":{"number":0,"description":"\"args\" must be a list"}})"},
      {R"({"fn":"Add","args":[{"t":"text","v":"1"},{"t":"text","v":"1"},{"t":"i4","v":1}]})",
       R"({"ok":true,"result":{"t":"text","v":"2"},"args":[{"t":"text","v":"1"},)"
       R"({"t":"text","v":"1"},{"t":"i4","v":1}]})"},
  };
  std::vector<std::string> requests, answers;
  for (const auto& [request, answer] : lines) {
    requests.push_back(request);
    if (answer) answers.push_back(answer);
  }
  const ProcessResult r = Numeron({{"--max-line", "2000", "--batch"}, Joined(requests)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::istringstream out(r.out);
  std::string got;
  for (const std::string& answer : answers) {
    ASSERT_TRUE(std::getline(out, got));
    EXPECT_EQ(got, answer);
  }
  EXPECT_FALSE(std::getline(out, got)) << got;
}

// A line whose digits do not fit in memory is answered Out of memory, and the batch goes on.
// (Sanitizers reserve far more address space than the limit leaves.)
TEST(NumeronBatch, LinesBeyondMemoryAreOutOfMemory) {
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  GTEST_SKIP() << "no address-space limit under a sanitizer";
#endif
#endif
  std::string digits = "1";
  for (int i = 1; i < 20'000'000; ++i) digits += ",1";  // 40 MB as 16-bit digits
  ProcessRun run{{"--batch"},
                 Joined({R"({"fn":"Add","args":[{"t":"huge","lo":0,"digits":[)" + digits + "]}]}",
                         R"({"fn":"Add","args":[{"t":"i2","v":1},{"t":"i2","v":2}]})"})};
  run.address_space_mb = 60;  // the program takes about 15
  const ProcessResult r = Numeron(run);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, Joined({R"({"ok":false,"error":{"number":-2146828281,)"
                           R"("description":"Out of memory"}})",
                           R"({"ok":true,"result":{"t":"huge","lo":0,"digits":[3]},)"
                           R"("args":[{"t":"i2","v":1},{"t":"i2","v":2}]})"}));
}

// SIGINT and SIGTERM cancel the running call promptly; a batch has answered every line before
// it (and sent those answers while the call ran), and the line in progress with the cancel
// error.
TEST(Numeron, SignalsCancelTheRunningCall) {
  const std::string add = R"({"fn":"Add","args":[{"t":"i2","v":1},{"t":"i2","v":1}]})";
  const std::string added = R"({"ok":true,"result":{"t":"huge","lo":0,"digits":[2]},)"
                            R"("args":[{"t":"i2","v":1},{"t":"i2","v":1}]})";
  const std::string long_call =
      R"({"fn":"Calculate_e","args":[{"t":"i4","v":1000000},{"t":"i4","v":100000}]})";
  const std::string cancelled = R"({"ok":false,"error":{"number":-2147220496,"description":)"
                                R"("The calculation was cancelled."},)"
                                R"("args":[{"t":"i4","v":1000000},{"t":"i4","v":100000}]})";
  struct Case {
    ProcessRun run;
    int exit_code;
    std::string out;
    std::string err;
  };
  const std::string one_shot = "error -2147220496: The calculation was cancelled.\n";
  const Case cases[] = {
      {{{"Calculate_e", "i4:1000000", "i4:100000"}, "", {}, "", SIGINT, 300}, 130, "", one_shot},
      {{{"Calculate_e", "i4:1000000", "i4:100000"}, "", {}, "", SIGTERM, 300}, 143, "", one_shot},
      {{{"--batch"}, Joined({add, add, long_call, add}), {}, "", SIGTERM, 300},
       143,
       Joined({added, added, cancelled}),
       ""},
  };
  for (const Case& c : cases) {
    const ProcessResult r = Numeron(c.run);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.out_before_signal, c.out.substr(0, c.out.rfind('\n', c.out.size() - 2) + 1));
    EXPECT_EQ(r.err, c.err + "numeron: cancelled\n");
    EXPECT_LT(r.ms_after_signal, 500);  // 100 on an idle machine
  }
}

// Every VALUE the batch writes reads back as the same value, to the bit and the kind (all but
// non-finite doubles, which JSON cannot carry).
TEST(BatchCodec, WrittenValuesReadBackExactly) {
  using numeron::platform::VariantArray;
  const auto elements = [](std::vector<Variant> e) {
    return Variant(VariantArray{-3, VariantArray::ElementKind::Variant, {}, std::move(e)});
  };
  const Variant digits(
      VariantArray{-2147483647 - 1, VariantArray::ElementKind::Int16, {-32768, 32767, 0}, {}});
  const Variant values[] = {
      Variant(),
      Variant::Missing(),
      Variant(true),
      Variant(std::int16_t{-32768}),
      Variant(std::int32_t{-2147483647 - 1}),
      Variant("\x01 \" \\ \xC3\xA9 \xF0\x9F\x98\x80"),
      Variant(-0.0),
      Variant(5e-324),
      Variant(0.30000000000000004),
      Variant(1e300),
      digits,
      elements({Variant(), Variant(std::int16_t{9}), Variant(std::int32_t{9}), Variant(-0.0),
                Variant(std::int32_t{-70000}), Variant(2.0), Variant::Missing(), digits,
                elements({Variant(std::int32_t{70000})})}),
  };
  for (const Variant& value : values) {
    std::ostringstream line;
    line << R"({"fn":"F","args":[)";
    numeron::cli::WriteValue(value, line);
    line << "]}";
    std::stringbuf in(line.str());
    numeron::cli::LineReader reader(in, 1 << 20);
    numeron::cli::Request request;
    ASSERT_TRUE(reader.StartLine());
    ASSERT_EQ(numeron::cli::DecodeRequest(reader, &request), "") << line.str();
    ASSERT_EQ(request.args.size(), 1u);
    EXPECT_EQ(request.args[0], value) << line.str();
  }
}

}  // namespace
