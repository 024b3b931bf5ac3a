#include <gtest/gtest.h>

#include "control/object/numeron.h"
#include "platform/error.h"

namespace numeron {
namespace {

using platform::Argument;
using platform::DispId;
using platform::ErrorInfo;
using platform::HResult;
using platform::Variant;

class DispatchTest : public testing::Test {
 protected:
  DispId Id(std::string_view name) {
    DispId id = 0;
    EXPECT_EQ(object_->GetIDsOfNames(name, &id), platform::kOk) << name;
    return id;
  }
  HResult Call(std::string_view name, std::vector<Argument> args) {
    result_ = Variant("sentinel");
    error_ = {};
    return object_->Invoke(Id(name), args, &result_, &error_);
  }

  platform::Ref<platform::Dispatch> object_{NewNumeron()};
  Variant result_;
  ErrorInfo error_;
};

TEST_F(DispatchTest, StandardFailuresComeBackAsStatusCodes) {
  EXPECT_EQ(object_->Invoke(0x60030001, {}, &result_, &error_), platform::kUnknownMember);
  DispId id = 0;
  EXPECT_EQ(object_->GetIDsOfNames("NoSuchMember", &id), platform::kUnknownName);
  EXPECT_EQ(Call("Negate", {Argument::ByValue("1"), Argument::ByValue("2")}),
            platform::kWrongArgumentCount);
  EXPECT_EQ(Call("Add", {Argument::ByValue("1")}), platform::kArgumentNotOptional);
  EXPECT_EQ(Call("Add", {Argument::ByValue(Variant::Missing()), Argument::ByValue("1")}),
            platform::kArgumentNotOptional);
  // The Return_Type of Modulus has no default and must be given.
  EXPECT_EQ(Call("Modulus", {Argument::ByValue("7"), Argument::ByValue("4")}),
            platform::kArgumentNotOptional);
}

TEST_F(DispatchTest, RaisedErrorsArriveAsNumberAndDescription) {
  EXPECT_EQ(Call("Add", {Argument::ByValue("abc"), Argument::ByValue("1")}), platform::kException);
  EXPECT_EQ(error_.number, -2146828275);
  EXPECT_EQ(error_.description, "Type mismatch");
  EXPECT_EQ(Call("Divide", {Argument::ByValue("1"), Argument::ByValue("0")}), platform::kException);
  EXPECT_EQ(error_.number, -2147220499);
  EXPECT_EQ(error_.description, "You cannot divide a number by zero.  [Division by zero]");
}

TEST_F(DispatchTest, TypedParametersAreConverted) {
  const Variant kArray =
      Variant(platform::VariantArray{-1, platform::VariantArray::ElementKind::Int16, {5, 2}, {}});
  struct Case {
    Variant return_type;
    Variant result;  // of Add(1.5, 1, Return_Type)
    std::int32_t error;
  };
  const Case cases[] = {
      {Variant("1"), Variant("2.5"), 0},
      {Variant(" 2 "), Variant(2.5), 0},
      {Variant(1.5), Variant(2.5), 0},  // halves go to the even integer: 2
      {Variant(0.5), kArray, 0},        // 0
      {Variant(true), Variant(), 0},    // -1: an empty result
      {Variant(), kArray, 0},           // empty reads as 0
      {Variant("x"), Variant(), -2146828275},
      {Variant(3e9), Variant(), -2146828282},
      {Variant("1E+10"), Variant(), -2146828282},
      {Variant(platform::VariantArray{}), Variant(), -2146828275},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.return_type));
    const HResult status = Call("Add", {Argument::ByValue("1.5"), Argument::ByValue("1"),
                                        Argument::ByValue(c.return_type)});
    if (c.error) {
      EXPECT_EQ(status, platform::kException);
      EXPECT_EQ(error_.number, c.error);
    } else {
      EXPECT_EQ(result_, c.result);
    }
  }
}

TEST_F(DispatchTest, MissingOptionalArgumentsTakeTheirDefaults) {
  ASSERT_EQ(Call("Add", {Argument::ByValue("1"), Argument::ByValue("2")}), platform::kOk);
  EXPECT_TRUE(result_.is(platform::VariantKind::Array));
  ASSERT_EQ(Call("Compare", {Argument::ByValue("1"), Argument::ByValue("1.0")}), platform::kOk);
  EXPECT_EQ(result_, Variant(true));
  ASSERT_EQ(Call("Pi", {Argument::ByValue(Variant::Missing()), Argument::ByValue(std::int32_t{1})}),
            platform::kOk);
  EXPECT_EQ(result_, Variant("3.1415926535"));
}

TEST_F(DispatchTest, PiAndEWriteThePlacesTheyUsedBackByReference) {
  struct Case {
    Variant precision;
    Variant written_back;
    const char* text;
  };
  const Case cases[] = {
      {Variant(std::int32_t{-20}), Variant(std::int32_t{20}), "3.14159265358979323846"},
      {Variant(-5.0), Variant(std::int32_t{5}), "3.14159"},
      {Variant(std::int16_t{0}), Variant(std::int32_t{0}), "3"},
      {Variant("5000"), Variant(std::int32_t{999}), nullptr},
      {Variant(std::int32_t{-2147483647 - 1}), Variant(std::int32_t{999}), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Describe(c.precision));
    Variant precision = c.precision;
    ASSERT_EQ(Call("Pi", {Argument::ByRef(precision), Argument::ByValue(std::int32_t{1})}),
              platform::kOk);
    EXPECT_EQ(precision, c.written_back);
    if (c.text) {
      EXPECT_EQ(result_, Variant(c.text));
    } else {
      EXPECT_EQ(result_.text().size(), 2u + 999u);
      EXPECT_EQ(result_.text().substr(result_.text().size() - 7), "6420198");
    }
  }
  Variant by_value = Variant(std::int32_t{-3});
  ASSERT_EQ(Call("e", {Argument::ByValue(by_value), Argument::ByValue(std::int32_t{7})}),
            platform::kOk);
  EXPECT_EQ(result_, Variant("2.718"));  // any kind but 0 and 2 is text
  EXPECT_EQ(by_value, Variant(std::int32_t{-3}));
}

TEST_F(DispatchTest, PiAsAnArrayKeepsThePlaceAboveTheOnes) {
  ASSERT_EQ(Call("Pi", {Argument::ByValue(std::int32_t{2}), Argument::ByValue(std::int32_t{0})}),
            platform::kOk);
  EXPECT_EQ(result_, Variant(platform::VariantArray{
                         -2, platform::VariantArray::ElementKind::Int16, {4, 1, 3, 0}, {}}));
}

TEST_F(DispatchTest, ArgumentsPassedByReferenceAreNotChangedByACall) {
  Variant unnormalised(
      platform::VariantArray{0, platform::VariantArray::ElementKind::Int16, {0, 10, 1}, {}});
  const Variant before = unnormalised;
  Variant text("  1.50 ");
  ASSERT_EQ(Call("Subtract", {Argument::ByRef(unnormalised), Argument::ByRef(text)}),
            platform::kOk);
  EXPECT_EQ(unnormalised, before);
  EXPECT_EQ(text, Variant("  1.50 "));
}

TEST_F(DispatchTest, TheInterfaceIsPublishedWithEveryMember) {
  const platform::TypeLibrary& lib = object_->GetTypeInfo();
  EXPECT_EQ(lib.members.size(), 44u);
  EXPECT_EQ(lib.name, "NumeronControl");
  EXPECT_EQ(Id("divide"), 0x60030027);
  const platform::MemberDesc* slide = lib.Find("Slide");
  ASSERT_NE(slide, nullptr);
  EXPECT_NE(slide->help.find("equivilent to:\r\n(numeric_expression)*(10^decimalplaceshift)."),
            std::string::npos);
  const platform::MemberDesc* logarithm = lib.Find(0x60030039);
  ASSERT_NE(logarithm, nullptr);
  EXPECT_EQ(logarithm->params[1].default_value, Variant(std::int16_t{10}));
  EXPECT_EQ(lib.Find("LineUpStringValues")->params[2].type_name, "Flag");
}

TEST_F(DispatchTest, TheControlKeepsItsExtent) {
  platform::Control* control = object_->AsControl();
  ASSERT_NE(control, nullptr);
  control->SetExtent(9000, 15);
  std::int32_t width = 0, height = 0;
  control->GetExtent(&width, &height);
  EXPECT_EQ(width, 480);
  EXPECT_EQ(height, 480);
}

}  // namespace
}  // namespace numeron
