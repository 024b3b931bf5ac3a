// Variants: forms a host tells apart must stay apart, the zero forms above all: an array of
// Variant elements holding empty, one holding a 16-bit zero, and a 16-bit digit array.
#include "platform/variant.h"

#include <gtest/gtest.h>

namespace numeron::platform {
namespace {

VariantArray Digits(std::vector<std::int16_t> digits, std::int32_t lower_bound = 0) {
  VariantArray array;
  array.lower_bound = lower_bound;
  array.digits = std::move(digits);
  return array;
}

VariantArray Elements(std::vector<Variant> elements) {
  VariantArray array;
  array.element_kind = VariantArray::ElementKind::Variant;
  array.elements = std::move(elements);
  return array;
}

TEST(VariantTest, DistinctFormsStayDistinct) {
  struct Case {
    Variant a;
    Variant b;
  };
  const Case cases[] = {
      {Variant(), Variant::Missing()},
      {Variant(std::int16_t{0}), Variant(std::int32_t{0})},
      {Variant(std::int16_t{0}), Variant(0.0)},
      {Variant(false), Variant(std::int16_t{0})},
      {Variant(""), Variant()},
      {Variant(Elements({Variant()})), Variant(Elements({Variant(std::int16_t{0})}))},
      {Variant(Elements({Variant(std::int16_t{0})})), Variant(Digits({0}))},
      {Variant(Digits({0})), Variant(Digits({0, 0}))},
      {Variant(Digits({5}, 0)), Variant(Digits({5}, -1))},
      {Variant(Elements({})), Variant(Digits({}))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.a) + " vs " + Describe(c.b));
    EXPECT_FALSE(c.a == c.b);
    EXPECT_NE(Describe(c.a), Describe(c.b));
  }
}

}  // namespace
}  // namespace numeron::platform
