// _NumeronCallControl beside _Numeron on one object: the interfaces reach each other, the time
// limit reads and sets, Cancel with no call running leaves no trace, and every long-running
// member, cancelled or timed out from a second thread while the control is read there, ends
// promptly with its error, leaves the caller's variables as they were and the object ready.
// scripts/test runs this under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "client/numeron.h"
#include "control/object/numeron.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using client::CallError;
using platform::Dispatch;
using platform::Ref;
using platform::Variant;
using Clock = std::chrono::steady_clock;

Variant I4(std::int32_t v) { return Variant(v); }

client::Numeron NewObject() { return client::Numeron(Ref<Dispatch>(NewNumeron())); }

TEST(CallControl, InterfacesReachEachOtherAndAnIdleCancelLeavesNoTrace) {
  client::Numeron n = NewObject();
  client::CallControl control = n.call_control();
  Ref<Dispatch> back, none;
  ASSERT_EQ(control.dispatch().QueryInterface("_Numeron", back.put()), platform::kOk);
  EXPECT_EQ(back.get(), &n.dispatch());
  EXPECT_EQ(n.dispatch().QueryInterface("_Nothing", none.put()), platform::kNoInterface);
  EXPECT_FALSE(control.Cancel());
  EXPECT_EQ(control.Progress(), 0);
  EXPECT_EQ(control.ProgressMember(), "");
  EXPECT_EQ(n.ConvertToString(n.Divide("1", "7", 20)), "0.14285714285714285714");
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

// Digits 7, -7, 7, ...: mixed signs, so a product adds its rows one by one.
Variant MixedSigns(std::size_t size) {
  std::vector<std::int16_t> digits(size, 7);
  for (std::size_t i = 1; i < size; i += 2) digits[i] = -7;
  return test::Shorts(0, std::move(digits));
}

// Calls that run for seconds at least, through every kind of long loop; by-reference arguments
// the member writes back are given negative, so a write-back would show.
struct LongCall {
  const char* name;
  std::vector<Variant> args;
  bool reports_progress;
};
const LongCall kLongCalls[] = {
    {"Calculate_e", {I4(400000), I4(200000), I4(1)}, true},
    {"Sine", {Variant("1.5"), I4(200000), I4(20000), I4(1)}, true},
    {"Log_e", {Variant("2"), I4(200000), I4(2000), I4(1)}, true},
    {"ArcCosine", {Variant("0.5"), I4(200000), I4(-20000), I4(1)}, true},
    {"Exponential", {Variant("3"), Variant("200000"), I4(-30), I4(-10), I4(0)}, true},
    {"Factorial", {Variant("200000"), I4(0)}, true},
    {"Multiply", {MixedSigns(300000), Variant(std::string(300000, '3')), I4(0)}, false},
};

// Runs the call on a second thread, waits until it is under way (and reports progress), then
// applies `stop` from here; returns the call's status and error and the time stop took to land.
struct Stopped {
  platform::HResult status;
  platform::ErrorInfo error;
  std::vector<Variant> after;
  double milliseconds;
};
template <typename Stop>
Stopped RunAndStop(client::Numeron& n, const LongCall& call, Stop stop) {
  client::CallControl control = n.call_control();
  Stopped stopped{platform::kOk, {}, call.args, 0};
  platform::DispId id = 0;
  EXPECT_EQ(n.dispatch().GetIDsOfNames(call.name, &id), platform::kOk);
  Clock::time_point end;
  std::atomic<bool> returned{false};  // a call that ends too soon fails the test, never hangs it
  std::thread caller([&] {
    std::vector<platform::Argument> args;
    for (Variant& v : stopped.after) args.push_back(platform::Argument::ByRef(v));
    Variant result;
    stopped.status = n.dispatch().Invoke(id, args, &result, &stopped.error);
    end = Clock::now();
    returned = true;
  });
  while (!returned && control.ProgressMember() != call.name) std::this_thread::yield();
  while (!returned && call.reports_progress && control.Progress() == 0) std::this_thread::yield();
  EXPECT_LT(control.Progress(), 1);
  const Clock::time_point start = stop(control);
  caller.join();
  stopped.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
  EXPECT_EQ(control.ProgressMember(), "");
  EXPECT_EQ(control.Progress(), 0);
  return stopped;
}

// Sanitizer builds run several times slower; a missing cancellation point costs seconds.
constexpr double kPromptly = 500;

TEST(CallControl, CancelStopsEveryLongCallPromptly) {
  for (const LongCall& call : kLongCalls) {
    SCOPED_TRACE(call.name);
    client::Numeron n = NewObject();
    const Stopped stopped = RunAndStop(n, call, [](client::CallControl& control) {
      const Clock::time_point now = Clock::now();
      EXPECT_TRUE(control.Cancel());
      return now;
    });
    ASSERT_EQ(stopped.status, platform::kException);
    EXPECT_EQ(stopped.error.number, -2147220496);
    EXPECT_EQ(stopped.error.description, "The calculation was cancelled.");
    EXPECT_LT(stopped.milliseconds, kPromptly);
    EXPECT_EQ(stopped.after, call.args);
    EXPECT_EQ(n.ConvertToString(n.Factorial("20")), "2432902008176640000");
  }
}

TEST(CallControl, TimeLimitStopsALongCall) {
  client::Numeron n = NewObject();
  client::CallControl control = n.call_control();
  control.TimeLimit(200);
  const Stopped stopped =
      RunAndStop(n, kLongCalls[0], [](client::CallControl&) { return Clock::now(); });
  ASSERT_EQ(stopped.status, platform::kException);
  EXPECT_EQ(stopped.error.number, -2147220495);
  EXPECT_EQ(stopped.error.description, "The calculation took longer than its time limit.");
  EXPECT_LT(stopped.milliseconds, 200 + kPromptly);
  EXPECT_EQ(n.ConvertToString(n.Calculate_e(30, 20)), "2.71828182845904523536");
}

}  // namespace
}  // namespace numeron
