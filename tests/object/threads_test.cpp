// Separate Numeron objects on separate threads at once: each object is created by program
// identifier (the registration file, the library, its class factory), used and released on its
// own thread, while the others do the same, and every call gives exactly what it gives alone.
// Built with ThreadSanitizer by scripts/test as well, which reports any shared state that is
// written without synchronisation.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using platform::Variant;
using test::Shorts;

Variant I4(std::int32_t v) { return Variant(v); }

struct Work {
  const char* name;
  std::vector<Variant> args;
};

// Calls that reach every layer: long products and quotients, the series, the constants, and
// members that write back into the caller's variables.
const std::vector<Work>& Calls() {
  static const std::vector<Work> calls = {
      {"Multiply", {Variant(std::string(300, '7')), Variant("-1234567890.0987654321"), I4(0)}},
      {"Divide", {Variant("1"), Variant("7"), I4(250), I4(1)}},
      {"Modulus", {Variant("123456789012345678901234567890"), Variant("-97.5"), I4(1)}},
      {"Sine", {Variant("1.25"), I4(30), I4(40), I4(1)}},
      {"Log_e", {Variant("2"), I4(40), I4(30), I4(0)}},
      {"ArcTangent", {Variant("0.5"), I4(40), I4(25), I4(1)}},
      {"Exponential", {Variant("2"), Variant("0.5"), I4(30), I4(-20), I4(1)}},
      {"Factorial", {Variant("60"), I4(0)}},
      {"Pi", {I4(-300), I4(1)}},
      {"e", {I4(5000), I4(0)}},
      {"Increment", {Shorts(0, {9, 9, 9})}},
      {"LineUpStringValues", {Variant("12.5"), Variant("-0.125"), I4(0)}},
  };
  return calls;
}

test::Outcome CallOn(platform::Dispatch& object, const Work& work) {
  return test::Call(object, work.name, work.args);
}

platform::Ref<platform::Dispatch> Create() {
  platform::Ref<platform::Dispatch> object;
  std::string why;
  EXPECT_EQ(platform::CreateObject("NumeronControl.Numeron", &object, &why), platform::kOk) << why;
  return object;
}

TEST(ThreadsTest, SeparateObjectsOnSeparateThreadsAreIndependent) {
  std::vector<test::Outcome> alone;
  {
    platform::Ref<platform::Dispatch> object = Create();
    ASSERT_TRUE(object);
    for (const Work& work : Calls()) {
      alone.push_back(CallOn(*object.get(), work));
      ASSERT_EQ(alone.back().status, platform::kOk) << work.name;
    }
  }

  constexpr int kThreads = 4;
  constexpr int kRounds = 3;
  std::atomic<int> differences{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        // A fresh object each round, so creation and release overlap with the others' calls.
        platform::Ref<platform::Dispatch> object = Create();
        if (!object) {
          ++differences;
          return;
        }
        const std::size_t n = Calls().size();
        for (std::size_t k = 0; k < n; ++k) {
          const std::size_t i = (k + static_cast<std::size_t>(t) * 5) % n;  // each its own order
          if (!(CallOn(*object.get(), Calls()[i]) == alone[i])) {
            ADD_FAILURE() << "thread " << t << " round " << round << ": " << Calls()[i].name;
            ++differences;
          }
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(differences.load(), 0);
  platform::FreeUnusedLibraries();
}

}  // namespace
}  // namespace numeron
