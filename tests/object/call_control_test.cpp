// _NumeronCallControl beside _Numeron on one object: the interfaces reach each other, the time
// limit reads and sets, and Cancel with no call running leaves no trace.
#include <gtest/gtest.h>

#include "client/numeron.h"
#include "control/object/numeron.h"

namespace numeron {
namespace {

using client::CallError;
using platform::Dispatch;
using platform::Ref;
using platform::Variant;

client::Numeron NewObject() { return client::Numeron(Ref<Dispatch>(NewNumeron())); }

TEST(CallControl, InterfacesReachEachOther) {
  client::Numeron n = NewObject();
  Dispatch& control = n.call_control().dispatch();
  EXPECT_EQ(control.GetTypeInfo().interface_name, "_NumeronCallControl");
  Ref<Dispatch> back;
  ASSERT_EQ(control.QueryInterface("_Numeron", back.put()), platform::kOk);
  EXPECT_EQ(back.get(), &n.dispatch());
  Ref<Dispatch> none;
  EXPECT_EQ(n.dispatch().QueryInterface("_Nothing", none.put()), platform::kNoInterface);
  EXPECT_FALSE(none);
}

TEST(CallControl, TimeLimitReadsAndSets) {
  client::CallControl control = NewObject().call_control();
  struct Case {
    Variant given;
    std::int32_t limit;
  };
  const Case cases[] = {{Variant::Missing(), 0}, {500, 500}, {Variant(), 500}, {"250", 250}, {0, 0},
                        {2147483647, 2147483647}};
  for (const Case& c : cases) EXPECT_EQ(control.TimeLimit(c.given), c.limit) << c.given;
  for (const Variant& refused : {Variant(-1), Variant("x")}) {
    EXPECT_THROW(control.TimeLimit(refused), CallError) << refused;
    EXPECT_EQ(control.TimeLimit(), 2147483647);
  }
}

TEST(CallControl, CancelWithNoCallRunningIsNotRemembered) {
  client::Numeron n = NewObject();
  client::CallControl control = n.call_control();
  EXPECT_FALSE(control.Cancel());
  EXPECT_EQ(control.Progress(), 0);
  EXPECT_EQ(control.ProgressMember(), "");
  EXPECT_EQ(n.ConvertToString(n.Divide("1", "7", 20)), "0.14285714285714285714");
}

}  // namespace
}  // namespace numeron
