// The batch protocol: reading ARGs, writing VALUEs, and answering request lines, against a
// stand-in object.
#include "cli/json_lines.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "tests/cli/fake_object.h"

namespace numeron::cli {
namespace {

using nlohmann::json;
using platform::Variant;
using platform::VariantArray;

std::string Encode(const Variant& value) {
  std::string out;
  AppendValue(value, &out);
  return out;
}

struct DecodeCase {
  const char* arg;
  const char* described;  // nullptr: the ARG is malformed
};

TEST(DecodeArg, ReadsEachKindAndRefusesMalformedOnes) {
  const DecodeCase cases[] = {
      {R"({"t":"empty"})", "empty"},
      {R"({"t":"missing"})", "missing"},
      {R"({"t":"bool","v":true})", "bool:true"},
      {R"({"t":"i2","v":-32768})", "i2:-32768"},
      {R"({"t":"i4","v":-2147483648})", "i4:-2147483648"},
      {R"({"t":"double","v":1.5})", "d:1.5"},
      {R"({"t":"double","v":3})", "d:3"},  // a whole number written without a point
      {R"({"t":"double","v":-2.5,"text":"-2.5"})", "d:-2.5"},  // an answer's VALUE reads back
      {R"({"t":"text","v":"  1.50 "})", "text:\"  1.50 \""},
      {R"({"t":"huge","lo":-1,"digits":[5,1]})", "array[-1..0 i2]{5,1}"},
      {R"({"t":"huge","lo":2147483647,"digits":[1]})", "array[2147483647..2147483647 i2]{1}"},
      {R"({"t":"huge","lo":0,"elem":"variant","digits":[null,3,-4]})",
       "array[0..2 var]{empty,i2:3,i2:-4}"},
      {R"({"t":"huge","lo":0,"elem":"variant","digits":[40000,{"t":"text","v":"7"}]})",
       "array[0..1 var]{i4:40000,text:\"7\"}"},
      // Malformed.
      {R"([1])", nullptr},
      {R"({"t":"i8","v":1})", nullptr},
      {R"({"t":"i2","v":32768})", nullptr},
      {R"({"t":"i2","v":5.5})", nullptr},
      {R"({"t":"i4","v":2147483648})", nullptr},
      {R"({"t":"bool","v":"true"})", nullptr},
      {R"({"t":"double","v":"1.5"})", nullptr},
      {R"({"t":"text","v":15})", nullptr},
      {R"({"t":"huge","lo":0,"digits":[null]})", nullptr},
      {R"({"t":"huge","lo":0,"digits":[32768]})", nullptr},
      {R"({"t":"huge","lo":2147483647,"digits":[1,2]})", nullptr},
      {R"({"t":"huge","lo":0,"elem":"variant","digits":["1"]})", nullptr},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.arg);
    Variant value("unchanged");
    std::string why;
    const bool ok = DecodeArg(json::parse(c.arg), &value, &why);
    if (c.described) {
      ASSERT_TRUE(ok) << why;
      EXPECT_EQ(platform::Describe(value), c.described);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_FALSE(why.empty());
    }
  }
}

VariantArray VariantElements(std::int32_t lo, std::vector<Variant> elements) {
  VariantArray a;
  a.lower_bound = lo;
  a.element_kind = VariantArray::ElementKind::Variant;
  a.elements = std::move(elements);
  return a;
}

TEST(AppendValue, WritesTheProtocolForms) {
  VariantArray digits;
  digits.lower_bound = -2;
  digits.digits = {5, 0, -12};
  const std::pair<Variant, const char*> cases[] = {
      {Variant(244.0), R"({"t":"double","v":244.0,"text":"244"})"},
      {Variant(1e20), R"({"t":"double","v":1e+20,"text":"1E+20"})"},
      {Variant(2.0 / 3.0), R"({"t":"double","v":0.6666666666666666,"text":"0.666666666666667"})"},
      {Variant(HUGE_VAL), R"({"t":"double","v":null})"},
      {Variant("a\"b"), R"({"t":"text","v":"a\"b"})"},
      {Variant(digits), R"({"t":"huge","lo":-2,"digits":[5,0,-12]})"},
      {Variant(
           VariantElements(1, {Variant(), Variant(std::int16_t{3}), Variant(2.5), Variant("x")})),
       R"({"t":"huge","lo":1,"elem":"variant","digits":[null,3,2.5,{"t":"text","v":"x"}]})"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(Encode(value), expected) << platform::Describe(value);
  }
}

TEST(AppendValue, EveryFormReadsBackAsTheSameValue) {
  VariantArray digits;
  digits.lower_bound = -2147483647 - 1;
  digits.digits = {-32768, 32767, 0};
  const Variant values[] = {
      Variant(),
      Variant::Missing(),
      Variant(true),
      Variant(std::int16_t{-32768}),
      Variant(std::int32_t{-2147483647 - 1}),
      Variant("\x01 tab\t \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
      Variant(digits),
      Variant(0.1),
      Variant(5e-324),
      Variant(1.7976931348623157e308),
      Variant(-0.0),
      Variant(9007199254740993.0),
      Variant(
          VariantElements(-3, {Variant(), Variant(std::int16_t{9}), Variant(std::int32_t{70000}),
                               Variant(true), Variant::Missing(), Variant(digits)})),
  };
  for (const Variant& value : values) {
    const std::string encoded = Encode(value);
    Variant back;
    std::string why;
    ASSERT_TRUE(DecodeArg(json::parse(encoded), &back, &why)) << encoded << ": " << why;
    EXPECT_EQ(back, value) << encoded;
    if (value.is(platform::VariantKind::Double)) {  // == cannot tell -0 from 0
      EXPECT_EQ(std::bit_cast<std::uint64_t>(back.real()),
                std::bit_cast<std::uint64_t>(value.real()));
    }
  }
}

TEST(AppendJsonString, EscapesWhatJsonRequiresAndReplacesBrokenUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", R"("plain")"},
      {"q\"b\\s/", R"("q\"b\\s/")"},
      {"\n\r\t\b\f", R"("\n\r\t\b\f")"},
      {std::string("\x00\x1f", 2), R"("\u0000\u001f")"},
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\""},
      {"a\xFF"
       "b",
       "\"a\xEF\xBF\xBD"
       "b\""},                                                       // not a lead byte
      {"\xC3", "\"\xEF\xBF\xBD\""},                                  // cut short at the end
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                  // overlong
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
      {"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // > U+10FFFF
  };
  for (const auto& [text, expected] : cases) {
    std::string out;
    AppendJsonString(text, &out);
    EXPECT_EQ(out, expected);
    EXPECT_TRUE(json::accept(out)) << out;
  }
}

struct LineCase {
  const char* line;
  const char* answer;
};

TEST(BatchSession, AnswersEachRequestLine) {
  testing::FakeObject object;
  BatchSession session(object);
  const LineCase cases[] = {
      {R"({"fn":"Echo","args":[{"t":"text","v":"1.5"}]})",
       R"({"ok":true,"result":{"t":"text","v":"1.5"},"args":[{"t":"text","v":"1.5"}]})"},
      {R"({"fn":"echo","args":[{"t":"huge","lo":0,"elem":"variant","digits":[null,3]}]})",
       R"({"ok":true,"result":{"t":"huge","lo":0,"elem":"variant","digits":[null,3]},)"
       R"("args":[{"t":"huge","lo":0,"elem":"variant","digits":[null,3]}]})"},
      // Arguments are by reference: the answer shows them after the call.
      {R"({"fn":"Swap","args":[{"t":"i2","v":1},{"t":"double","v":0.5}]})",
       R"({"ok":true,"result":{"t":"empty"},)"
       R"("args":[{"t":"double","v":0.5,"text":"0.5"},{"t":"i2","v":1}]})"},
      // Arguments are passed exactly as given: nothing is added for optional parameters.
      {R"({"fn":"Show","args":[{"t":"i4","v":1}]})",
       R"({"ok":true,"result":{"t":"text","v":"i4:1"},"args":[{"t":"i4","v":1}]})"},
      {R"({"fn":"Raise","args":[]})",
       R"({"ok":false,"error":{"number":-2147220499,)"
       R"("description":"You cannot divide \"this\" by zero."},"args":[]})"},
      {R"({"fn":"Refuse"})",
       R"({"ok":false,"error":{"number":-2147352561,"description":"Argument not optional"},)"
       R"("args":[]})"},
      {R"({"fn":"Nope","args":[]})",
       R"({"ok":false,"error":{"number":-2147352570,"description":"unknown function \"Nope\""}})"},
      {R"({"args":[]})",
       R"x({"ok":false,"error":{"number":0,"description":"the request names no function (\"fn\")"}})x"},
      {R"(["Echo"])",
       R"({"ok":false,"error":{"number":0,"description":"a request must be a JSON object"}})"},
      {R"({"fn":"Echo","args":{"t":"empty"}})",
       R"({"ok":false,"error":{"number":0,"description":"\"args\" must be a list"}})"},
      {R"({"fn":"Swap","args":[{"t":"i2","v":1},{"t":"i2","v":99999}]})",
       R"({"ok":false,"error":{"number":0,"description":)"
       R"("argument 2: \"i2\" needs \"v\", an integer from -32768 to 32767"}})"},
  };
  for (const LineCase& c : cases) {
    std::string out = "kept|";
    session.Answer(c.line, &out);
    EXPECT_EQ(out, std::string("kept|") + c.answer) << c.line;
  }
}

TEST(BatchSession, ReportsJsonThatCannotBeRead) {
  testing::FakeObject object;
  BatchSession session(object);
  for (const char* line : {"{\"fn\":\"Echo\",", "not json", "{\"fn\":\"Echo\"} trailing"}) {
    std::string out;
    session.Answer(line, &out);
    const json answer = json::parse(out);
    EXPECT_EQ(answer["ok"], false) << line;
    EXPECT_EQ(answer["error"]["number"], 0) << line;
    const std::string description = answer["error"]["description"];
    EXPECT_TRUE(description.starts_with("not valid JSON: ")) << description;
    EXPECT_EQ(description.find("[json.exception"), std::string::npos) << description;
    EXPECT_FALSE(answer.contains("args"));
  }
}

TEST(BatchSession, LooksEachFunctionNameUpOnce) {
  testing::FakeObject object;
  BatchSession session(object);
  std::string out;
  for (int i = 0; i < 5; ++i) session.Answer(R"({"fn":"Echo","args":[{"t":"empty"}]})", &out);
  EXPECT_EQ(object.lookups, 1);
}

TEST(RunBatch, AnswersEveryNonBlankLineInOrder) {
  testing::FakeObject object;
  std::string input = "\n   \t \r\ngarbage\n";
  constexpr int kLines = 5000;  // well past one output chunk
  for (int i = 0; i < kLines; ++i) {
    input += R"({"fn":"Echo","args":[{"t":"i4","v":)" + std::to_string(i) + "}]}\r\n";
  }
  input.resize(input.size() - 2);  // no final line end
  std::istringstream in(input);
  std::ostringstream out;
  EXPECT_EQ(RunBatch(object, in, out), static_cast<std::size_t>(kLines + 1));
  std::istringstream answers(out.str());
  std::string line;
  ASSERT_TRUE(std::getline(answers, line));
  EXPECT_EQ(json::parse(line)["ok"], false);
  int expected = 0;
  for (; std::getline(answers, line); ++expected) {
    ASSERT_EQ(json::parse(line)["result"]["v"], expected);
  }
  EXPECT_EQ(expected, kLines);
}

}  // namespace
}  // namespace numeron::cli
