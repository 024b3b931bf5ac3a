// The conformance vectors: every call in vectors.jsonl goes through one `numeron --batch`
// process, exactly as written, and each answer is checked against the vector's expected result
// and, where given, the arguments after the call. One test per function.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/run_process.h"

namespace {

using nlohmann::json;

struct Vector {
  int line = 0;  // in vectors.jsonl, from 1
  std::string fn;
  json args;
  json expect;
  json after;  // null when the vector does not give the arguments after the call
};

struct Data {
  std::vector<Vector> vectors;
  std::vector<std::string> unreadable;  // lines that are not a vector
};

const Data& LoadVectors() {
  static const Data data = [] {
    Data d;
    std::ifstream in(NUMERON_VECTORS);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
      ++number;
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      const json v = json::parse(line, nullptr, false);
      if (v.is_discarded() || !v.is_object() || !v.contains("fn") || !v["fn"].is_string() ||
          !v.contains("args") || !v.contains("expect")) {
        d.unreadable.push_back("line " + std::to_string(number) + ": " + line);
        continue;
      }
      d.vectors.push_back({number, v["fn"], v["args"], v["expect"], v.value("after", json())});
    }
    return d;
  }();
  return data;
}

std::vector<std::string> FunctionNames() {
  std::vector<std::string> names;
  for (const Vector& v : LoadVectors().vectors) {
    if (std::find(names.begin(), names.end(), v.fn) == names.end()) names.push_back(v.fn);
  }
  return names;
}

struct Batch {
  numeron::test_process::ProcessResult process;
  std::vector<json> answers;  // one per vector; null where no readable answer came
  std::size_t lines = 0;      // answer lines written
};

// One process answers the whole file, in file order, with one object.
const Batch& RunAllVectors() {
  static const Batch batch = [] {
    Batch b;
    std::string input;
    for (const Vector& v : LoadVectors().vectors) {
      input += json{{"fn", v.fn}, {"args", v.args}}.dump();
      input += '\n';
    }
    numeron::test_process::ProcessRun run;
    run.args = {"--batch"};
    run.input = std::move(input);
    b.process = numeron::test_process::RunProcess(NUMERON_CLI, run);
    std::size_t start = 0;
    const std::string& out = b.process.out;
    while (start < out.size()) {
      auto end = out.find('\n', start);
      if (end == std::string::npos) end = out.size();
      b.answers.push_back(json::parse(out.substr(start, end - start), nullptr, false));
      if (b.answers.back().is_discarded()) b.answers.back() = json();
      start = end + 1;
    }
    b.lines = b.answers.size();
    b.answers.resize(LoadVectors().vectors.size());
    return b;
  }();
  return batch;
}

// The exact double of a shortest text; false when it is not one.
bool ReadExactDouble(const std::string& text, double* value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Digits with empty elements counted as 0.
std::vector<std::int64_t> Digits(const json& digits) {
  std::vector<std::int64_t> out;
  if (!digits.is_array()) return out;
  for (const json& d : digits) out.push_back(d.is_number_integer() ? d.get<std::int64_t>() : 0);
  return out;
}

bool SameArray(const json& expected, const json& actual) {
  return actual.value("t", "") == "huge" && expected.contains("lo") && actual.contains("lo") &&
         expected["lo"] == actual["lo"] && Digits(expected["digits"]) == Digits(actual["digits"]);
}

// Compares one argument after the call with the vector's.
bool SameValue(const json& expected, const json& actual) {
  if (!actual.is_object() || expected.value("t", "") != actual.value("t", "-")) return false;
  const std::string t = expected["t"];
  if (t == "empty" || t == "missing") return true;
  if (t == "huge") return SameArray(expected, actual);
  if (!expected.contains("v") || !actual.contains("v")) return false;
  if (t == "double") {
    return expected["v"].is_number() && actual["v"].is_number() &&
           SameBits(expected["v"].get<double>(), actual["v"].get<double>());
  }
  return expected["v"] == actual["v"];  // text, bool, i2, i4: value and kind
}

// Empty when the answer matches the vector, else what differs.
std::string Mismatch(const Vector& v, const json& answer) {
  if (!answer.is_object() || !answer.contains("ok")) return "no readable answer";
  const json& expect = v.expect;
  if (expect.contains("error")) {
    if (answer["ok"] != false) return "expected an error, the call succeeded";
    const json error = answer.value("error", json::object());
    if (!error.is_object()) return "a malformed error";
    if (error.value("number", 0) != expect["error"].get<std::int64_t>() ||
        error.value("description", "") != expect.value("description", "")) {
      return "a different error";
    }
  } else {
    if (answer["ok"] != true) return "the call failed";
    const json result = answer.value("result", json::object());
    if (!result.is_object()) return "a malformed result";
    const std::string t = result.value("t", "");
    if (expect.contains("text")) {
      if (expect.contains("huge")) {
        if (!SameArray(expect["huge"], result)) return "a different digit array";
      } else if (t != "text" || result.value("v", json()) != expect["text"]) {
        return "a different text";
      }
    } else if (expect.contains("double")) {
      double wanted = 0;  // a zero has no repr
      const std::string repr = expect.value("repr", "");
      if (!repr.empty() && !ReadExactDouble(repr, &wanted)) return "unreadable repr in the vector";
      if (t != "double" || !result.contains("v") || !result["v"].is_number()) {
        return "not a double";
      }
      const double got = result["v"].get<double>();
      // Without a repr only the value 0 is known, not the sign of the zero.
      if (repr.empty() ? got != 0.0 : !SameBits(got, wanted)) return "a different double";
      if (result.value("text", "") != expect["double"]) return "a different general text";
    } else if (expect.contains("int")) {
      if (t != expect.value("kind", "") || result.value("v", json()) != expect["int"]) {
        return "a different integer";
      }
    } else if (expect.contains("bool")) {
      if (t != "bool" || result.value("v", json()) != expect["bool"]) return "a different Boolean";
    } else if (expect.contains("empty")) {
      if (t != "empty") return "not empty";
    } else {
      return "unknown expectation in the vector";
    }
  }
  if (!v.after.is_null()) {
    const json args = answer.value("args", json::array());
    if (!args.is_array() || args.size() != v.after.size())
      return "a different number of arguments after the call";
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (!SameValue(v.after[i], args[i])) {
        return "argument " + std::to_string(i + 1) + " differs after the call";
      }
    }
  }
  return {};
}

TEST(ConformanceData, EveryLineIsAVector) {
  const Data& data = LoadVectors();
  EXPECT_GT(data.vectors.size(), 1000u) << "read from " << NUMERON_VECTORS;
  for (const std::string& line : data.unreadable) ADD_FAILURE() << line;
}

TEST(ConformanceData, TheBatchAnswersEveryVector) {
  const Batch& batch = RunAllVectors();
  EXPECT_EQ(batch.process.exit_code, 0) << batch.process.err;
  EXPECT_EQ(batch.lines, LoadVectors().vectors.size()) << batch.process.err;
}

class Conformance : public ::testing::TestWithParam<std::string> {};

TEST_P(Conformance, MatchesTheVectors) {
  const std::vector<Vector>& vectors = LoadVectors().vectors;
  const Batch& batch = RunAllVectors();
  int total = 0;
  for (std::size_t i = 0; i < vectors.size(); ++i) {
    const Vector& v = vectors[i];
    if (v.fn != GetParam()) continue;
    ++total;
    const json& answer = batch.answers[i];
    const std::string mismatch = Mismatch(v, answer);
    if (!mismatch.empty()) {
      ADD_FAILURE() << "vector at line " << v.line << ": " << mismatch
                    << "\n  call:     " << json{{"fn", v.fn}, {"args", v.args}}.dump()
                    << "\n  expected: " << v.expect.dump() << (v.after.is_null() ? "" : " after ")
                    << (v.after.is_null() ? "" : v.after.dump())
                    << "\n  answer:   " << (answer.is_null() ? "(none)" : answer.dump());
    }
  }
  ASSERT_GT(total, 0);
}

INSTANTIATE_TEST_SUITE_P(Vectors, Conformance, ::testing::ValuesIn(FunctionNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
