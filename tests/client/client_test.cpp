// The typed client against the registered component: omitted parameters take the interface's
// defaults, written-back parameters come back through references (even when the call then
// fails, which then throws CallError with the component's number and description).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "client/numeron.h"

namespace {

using numeron::client::CallError;
namespace dispid = numeron::client::dispid;
using numeron::client::Comparison_Operator;
using numeron::client::Flag;
using numeron::client::Numeron;
using numeron::client::TypeOfValue;
using numeron::platform::Argument;
using numeron::platform::Variant;
using numeron::platform::VariantKind;

Numeron& Object() {
  static Numeron object = Numeron::Create();
  return object;
}

std::string Text(const Variant& value) { return Object().ConvertToString(value); }

// Where the typed client leaves a parameter out, the component must see what it sees when a
// dispatch host leaves it out: there the component applies the interface's defaults itself.
TEST(TypedClient, OmittedParametersTakeTheInterfaceDefaults) {
  Numeron& n = Object();
  struct Case {
    const char* call;
    Variant typed;
    numeron::platform::DispId id;
    std::vector<Variant> given;
  };
  const Case cases[] = {
      {"Divide(1, 3)", n.Divide("1", "3"), dispid::Divide, {"1", "3"}},
      {"Calculate_e()", n.Calculate_e(), dispid::Calculate_e, {}},
      {"eToExponent()", n.eToExponent(), dispid::eToExponent, {}},
      {"Logarithm(1000)", n.Logarithm("1000"), dispid::Logarithm, {"1000"}},
      {"Exponential(2, 3)", n.Exponential("2", "3"), dispid::Exponential, {"2", "3"}},
      {"ArcCosine(0.5)", n.ArcCosine("0.5"), dispid::ArcCosine, {"0.5"}},
      {"Add(1, 2)", n.Add("1", "2"), dispid::Add, {"1", "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    std::vector<Variant> given = c.given;
    std::vector<Argument> args;
    for (Variant& value : given) args.push_back(Argument::ByRef(value));
    Variant expected;
    numeron::platform::ErrorInfo error;
    ASSERT_EQ(n.dispatch().Invoke(c.id, args, &expected, &error), numeron::platform::kOk);
    EXPECT_EQ(c.typed, expected);
  }
  EXPECT_TRUE(n.Compare("3", "2", Comparison_Operator::greaterthan));

  // A missing Append_Trailing_Zeros counts as Yes.
  Variant a = "1.5", b = "22.25";
  Variant c = "1.5", d = "22.25";
  EXPECT_EQ(n.LineUpStringValues(a, b), n.LineUpStringValues(c, d, Flag::Yes));
  EXPECT_EQ(a, c);
  EXPECT_EQ(b, d);
}

TEST(TypedClient, ResultsComeInTheirPublishedKinds) {
  Numeron& n = Object();
  EXPECT_EQ(n.GetType("abc"), TypeOfValue::String_Value);
  EXPECT_EQ(n.GetType(n.CreateHugeNumber("5")), TypeOfValue::Huge_Number);
  EXPECT_EQ(n.ConvertToDouble("0.5"), 0.5);
  EXPECT_EQ(n.GetDigit("123.45", -2), 5);
  EXPECT_EQ(n.GetHighestPlace("600"), 2);
  EXPECT_EQ(n.TrimStringValue("007.500"), "7.5");
  EXPECT_EQ(n.Add("1.5", 2, TypeOfValue::String_Value).text(), "3.5");
}

TEST(TypedClient, WrittenBackParametersComeBackThroughReferences) {
  Numeron& n = Object();
  std::int32_t precision = -20;
  EXPECT_EQ(n.Pi(precision, TypeOfValue::String_Value).text(), "3.14159265358979323846");
  EXPECT_EQ(precision, 20);

  std::int32_t places = -2;
  EXPECT_EQ(Text(n.Round("1.235", places)), "1.24");
  EXPECT_EQ(places, 2);

  std::int32_t series_length = -5, exponent_precision = -4;
  n.Exponential("2", "3", series_length, exponent_precision);
  EXPECT_EQ(series_length, 5);
  EXPECT_EQ(exponent_precision, 4);

  Variant counter = n.CreateHugeNumber("41");
  EXPECT_EQ(Text(n.Increment(counter)), "42");
  EXPECT_EQ(Text(counter), "42");  // an array is incremented in place

  Variant x1 = "1.5", x2 = "22.25";
  EXPECT_EQ(n.LineUpStringValues(x1, x2, Flag::No), 5);
  EXPECT_EQ(x1.text(), " 1.5 ");
  EXPECT_EQ(x2.text(), "22.25");
}

TEST(TypedClient, AWriteBackStaysWhenTheCallThenFails) {
  std::int32_t series_length = -5, precision = -4;
  try {
    Object().Exponential("abc", "2", series_length, precision);
    FAIL() << "a text that is no number must be refused";
  } catch (const CallError& e) {
    EXPECT_EQ(e.number(), -2146828275);
    EXPECT_EQ(e.description(), "Type mismatch");
    EXPECT_STREQ(e.what(), "Type mismatch");
  }
  EXPECT_EQ(series_length, 5);
  EXPECT_EQ(precision, 4);
}

TEST(TypedClient, CreateSaysWhyItCannot) {
  const char* registry = std::getenv("NUMERON_REGISTRY");
  const std::string saved = registry ? registry : "";
  const std::string missing = ::testing::TempDir() + "no-such-registry";
  ::setenv("NUMERON_REGISTRY", missing.c_str(), 1);
  try {
    Numeron::Create();
    ADD_FAILURE() << "created without a registration";
  } catch (const CallError& e) {
    EXPECT_EQ(e.number(), numeron::platform::kClassNotRegistered);
    EXPECT_NE(e.description().find("numeron-register"), std::string::npos) << e.description();
  }
  if (registry) {
    ::setenv("NUMERON_REGISTRY", saved.c_str(), 1);
  } else {
    ::unsetenv("NUMERON_REGISTRY");
  }
}

// The typed client gives a parameter as a reference exactly when the interface marks it
// written back. A member that writes into an unmarked parameter would have that write lost,
// so every member is called with all arguments by reference, in forms that provoke writes
// (negative settings, arrays, padded texts), and any argument that changed must be marked.
TEST(TypedClient, EveryParameterAMemberWritesIsMarkedWrittenBack) {
  numeron::platform::Dispatch& object = Object().dispatch();
  const Variant array = Object().CreateHugeNumber("-2.5");
  for (const Variant& number : {array, Variant(" 0.50")}) {
    for (const numeron::platform::MemberDesc& member : object.GetTypeInfo().members) {
      SCOPED_TRACE(std::string(member.name) + " with " + numeron::platform::Describe(number));
      std::vector<Variant> before;
      for (const numeron::platform::ParamDesc& param : member.params) {
        switch (param.type) {
          case numeron::platform::ParamType::Variant:
            before.push_back(number);
            break;
          case numeron::platform::ParamType::Int32:
            before.emplace_back(std::int32_t{-3});
            break;
          case numeron::platform::ParamType::Double:
            before.emplace_back(-1.0);
            break;
          case numeron::platform::ParamType::Text:
            before.emplace_back(" 0.50");
            break;
        }
      }
      std::vector<Variant> after = before;
      std::vector<Argument> args;
      for (Variant& value : after) args.push_back(Argument::ByRef(value));
      Variant result;
      numeron::platform::ErrorInfo error;
      object.Invoke(member.id, args, &result, &error);
      for (std::size_t i = 0; i < before.size(); ++i) {
        if (after[i] != before[i]) {
          EXPECT_TRUE(member.params[i].written_back) << member.params[i].name << " changed";
        }
      }
    }
  }
}

}  // namespace
