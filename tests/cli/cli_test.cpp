// The numeron program run as a process against the registered component: results, exit codes,
// write-back lines, the listing and the batch protocol.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_process.h"

namespace {

using nlohmann::json;
using numeron::test_process::ProcessResult;
using numeron::test_process::RunProcess;

ProcessResult Numeron(const std::vector<std::string>& args, const std::string& input = {},
                      const std::vector<std::string>& env = {}) {
  return RunProcess(NUMERON_CLI, args, input, env);
}

struct ExitCase {
  std::vector<std::string> args;
  std::vector<std::string> env;
  int exit_code;
  const char* out;          // exact stdout, or nullptr not to check
  const char* err_pattern;  // regular expression stderr must match as a whole
};

TEST(Numeron, ExitCodesAndMessages) {
  const std::string no_registry = "NUMERON_REGISTRY=" + ::testing::TempDir() + "no-such-registry";
  const std::string requests = ::testing::TempDir() + "numeron-batch-requests";
  std::ofstream(requests) << R"({"fn":"Add","args":[{"t":"text","v":"1.5"},{"t":"i4","v":2}]})"
                          << '\n';
  const std::string no_file = ::testing::TempDir() + "no-such-batch";
  const ExitCase cases[] = {
      {{"Add", "1.5", "2"}, {}, 0, "3.5\n", ""},
      {{"add", "i2:2", "d:0.25"}, {}, 0, "2.25\n", ""},
      {{"Add", "abc", "1"}, {}, 1, "", "error -2146828275: Type mismatch\n"},
      {{"Add", "1"}, {}, 1, "", "error -2147352561: Argument not optional\n"},
      {{"--version"}, {}, 0, "numeron 1.0.0\n", ""},
      {{}, {}, 2, "", "numeron: no function given\n.*--help.*\n"},
      {{"NoSuchFunction"}, {}, 2, "", "numeron: unknown function \"NoSuchFunction\".*\n"},
      {{"Add", "i8:5", "1"}, {}, 2, "", "numeron: argument 1: unknown kind prefix.*\n.*\n"},
      {{"--frobnicate"}, {}, 2, "", "numeron: unknown option --frobnicate\n.*\n"},
      {{"--list", "Add"}, {}, 2, "", "numeron: --list takes no arguments\n.*\n"},
      // Without a registration the component cannot be created.
      {{"Add", "1", "2"},
       {no_registry},
       3,
       "",
       "numeron: cannot create NumeronControl.Numeron: .+\n"},
      {{"--batch"}, {no_registry}, 3, "", "numeron: cannot create NumeronControl.Numeron: .+\n"},
      // A usage mistake is reported as such even then.
      {{"Add", "i8:5"}, {no_registry}, 2, "", "numeron: argument 1:.*\n.*\n"},
      {{"--version"}, {no_registry}, 0, "numeron 1.0.0\n", ""},
      // A batch from a file; "-" is stdin (empty here).
      {{"--batch", requests},
       {},
       0,
       R"({"ok":true,"result":{"t":"huge","lo":-1,"digits":[5,3]},)"
       R"("args":[{"t":"text","v":"1.5"},{"t":"i4","v":2}]})"
       "\n",
       ""},
      {{"--batch", "-"}, {}, 0, "", ""},
      {{"--batch", no_file},
       {},
       2,
       "",
       "numeron: cannot read .*no-such-batch: No such file.*\n.*\n"},
      {{"--batch", no_file}, {no_registry}, 2, "", "numeron: cannot read .*\n.*\n"},
      {{"--batch", ::testing::TempDir()}, {}, 2, "", "numeron: cannot read .*directory\n.*\n"},
      {{"--batch", requests, "more"}, {}, 2, "", "numeron: --batch takes at most one FILE\n.*\n"},
  };
  for (const ExitCase& c : cases) {
    std::string command;
    for (const std::string& arg : c.args) command += ' ' + arg;
    SCOPED_TRACE("numeron" + command);
    const ProcessResult r = Numeron(c.args, {}, c.env);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.err;
    if (c.out) {
      EXPECT_EQ(r.out, c.out);
    }
    EXPECT_TRUE(std::regex_match(r.err, std::regex(c.err_pattern))) << r.err;
  }
}

TEST(Numeron, ReportsChangedArgumentsByName) {
  // Pi writes a precision above its maximum back as the maximum, 999.
  const ProcessResult r = Numeron({"Pi", "i4:1200", "i4:2"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "3.14159265358979\nPrecision = 999\n");
  // An argument the call leaves alone gets no line.
  const ProcessResult unchanged = Numeron({"Pi", "i4:5", "i4:1"});
  ASSERT_EQ(unchanged.exit_code, 0) << unchanged.err;
  EXPECT_EQ(unchanged.out, "3.14159\n");
}

TEST(Numeron, HelpNamesTheExitCodesAndTheBatchProtocol) {
  for (const char* option : {"--help", "-h"}) {
    const ProcessResult r = Numeron({option});
    EXPECT_EQ(r.exit_code, 0);
    for (const char* part : {"usage: numeron FUNCTION", "--batch", "--list", "Exit codes",
                             "3 the component cannot be created", "{\"fn\":", "\"ok\":true"}) {
      EXPECT_NE(r.out.find(part), std::string::npos) << option << " lacks " << part;
    }
  }
}

TEST(Numeron, ListShowsMembersWithIdsAndEnumerationsLast) {
  const ProcessResult r = Numeron({"--list"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto add = r.out.find("\n0x60030012 ");
  ASSERT_NE(add, std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" Add(", add), std::string::npos);
  // Every member line starts with its id; enumerations follow the last member.
  const auto first_enum = r.out.find("\nenum ");
  const auto last_member = r.out.rfind("\n0x");
  ASSERT_NE(first_enum, std::string::npos);
  EXPECT_GT(first_enum, last_member);
}

std::vector<json> AnswerLines(const std::string& out) {
  std::vector<json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  return lines;
}

TEST(NumeronBatch, AnswersEveryRequestInOrderAndGoesOn) {
  const std::string input =
      R"({"fn":"Add","args":[{"t":"text","v":"1.5"},{"t":"i2","v":2},{"t":"i4","v":1}]})"
      "\n"
      "{not json\n"
      "\n"
      "  \t\n"
      R"({"fn":"NoSuchFunction","args":[]})"
      "\n"
      R"({"fn":"Add","args":[{"t":"i2","v":1},{"t":"wide","v":2}]})"
      "\n"
      R"({"fn":"Add","args":[{"t":"text","v":"abc"},{"t":"text","v":"1"}]})"
      "\n"
      R"({"fn":"Pi","args":[{"t":"i4","v":1200},{"t":"i4","v":0}]})"
      "\n"
      R"({"fn":"Add","args":[{"t":"double","v":0.1},{"t":"double","v":0.2},{"t":"i4","v":2}]})";
  const ProcessResult r = Numeron({"--batch"}, input);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<json> a = AnswerLines(r.out);
  ASSERT_EQ(a.size(), 7u) << r.out;

  EXPECT_EQ(a[0], json::parse(R"({"ok":true,"result":{"t":"text","v":"3.5"},
      "args":[{"t":"text","v":"1.5"},{"t":"i2","v":2},{"t":"i4","v":1}]})"));

  EXPECT_EQ(a[1]["ok"], false);
  EXPECT_EQ(a[1]["error"]["number"], 0);
  EXPECT_TRUE(a[1]["error"]["description"].get<std::string>().starts_with("not valid JSON"));
  EXPECT_FALSE(a[1].contains("args"));

  EXPECT_EQ(a[2], json::parse(R"({"ok":false,"error":{"number":-2147352570,
      "description":"unknown function \"NoSuchFunction\""}})"));

  EXPECT_EQ(a[3]["error"]["number"], 0);
  EXPECT_TRUE(a[3]["error"]["description"].get<std::string>().starts_with("argument 2: "));

  EXPECT_EQ(a[4], json::parse(R"({"ok":false,
      "error":{"number":-2146828275,"description":"Type mismatch"},
      "args":[{"t":"text","v":"abc"},{"t":"text","v":"1"}]})"));

  // The arguments are shown as the call left them.
  EXPECT_EQ(a[5]["ok"], true) << a[5];
  EXPECT_EQ(a[5]["args"], json::parse(R"([{"t":"i4","v":999},{"t":"i4","v":0}])"));

  // The component turns decimal 0.3 into the double 0.30000000000000004, whose general text is
  // "0.3": "v" must carry all 17 digits or the reader gets a different double.
  EXPECT_EQ(a[6]["result"]["t"], "double") << a[6];
  EXPECT_EQ(a[6]["result"]["v"].get<double>(), 0.30000000000000004);
  EXPECT_EQ(a[6]["result"]["text"], "0.3");
}

}  // namespace
