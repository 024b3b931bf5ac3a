// The engine against the reference model on calls the fuzzer steers: a member of the interface
// or one of the private digit-array routines of the series code, with arguments drawn as the
// differential test draws them, every choice taken from the fuzzer's data. Status, result
// (doubles by their bits, arrays by bounds, element kind and elements), error number and
// description, and every argument as the call leaves it must agree; any difference aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "control/object/numeron.h"
#include "fuzz/fuzz_support.h"
#include "tests/reference/differential.h"

namespace numeron::fuzz {
namespace {

using namespace differential;

class FuzzChoices : public Choices {
 public:
  explicit FuzzChoices(FuzzedDataProvider& in) : in_(in) {}
  std::int64_t Int(std::int64_t lo, std::int64_t hi) override {
    return in_.ConsumeIntegralInRange(lo, hi);
  }
  std::uint64_t Bits() override { return in_.ConsumeIntegral<std::uint64_t>(); }
  double Real(double lo, double hi) override { return in_.ConsumeFloatingPointInRange(lo, hi); }

 private:
  FuzzedDataProvider& in_;
};

platform::Dispatch& Engine() {
  static platform::Dispatch* object = NewNumeron();
  return *object;
}

void CallOnce(FuzzedDataProvider& in) {
  const RandomCalls& calls =
      kRandomCalls[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kRandomCalls) - 1)];
  FuzzChoices choices(in);
  Generator generator(choices);
  const Row row{calls.function, calls.args(generator)};
  // A whole exponent is multiplied out term by term in the model: past a few dozen factors a
  // large base outgrows the time a call may take, so such powers are left to the other tests.
  if (row.function == "Exponential") {
    double exponent = 0;
    try {
      exponent = HugeNumberToDouble(ToNormalHugeNumber(row.args[1]));
    } catch (...) {
    }
    if (std::abs(exponent) > 64) return;
  }
  // NUMERON_FUZZ_SHOW=1 prints each call before the model runs it, to see what a slow input asks.
  static const bool show = std::getenv("NUMERON_FUZZ_SHOW") != nullptr;
  if (show) std::fprintf(stderr, "call %s\n", RowText(row).c_str());
  const Result engine = CallEngine(Engine(), row.function, row.args);
  const Result model = CallModel(row.function, row.args);
  if (!Same(engine, model)) {
    Die(std::string(row.function) + ": engine and model disagree\n  " + RowText(row) +
            "\n  engine: " + Describe(engine) + "\n  model:  " + Describe(model),
        row.args);
  }
}

}  // namespace
}  // namespace numeron::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  numeron::fuzz::CallOnce(in);
  return 0;
}
