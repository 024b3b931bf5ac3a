// A host outside the Numeron tree: creates the component through the registration file and
// calls it through the typed client and by dispatch identifier.
#include <cstdio>
#include <vector>

#include "client/numeron.h"

int main() {
  using namespace numeron::client;
  using numeron::platform::Argument;
  Numeron numeron = Numeron::Create();

  std::int32_t precision = -8;  // Pi stores the places it used: 8
  const Variant pi = numeron.Pi(precision, TypeOfValue::String_Value);
  std::printf("typed Pi: %s (Precision %d)\n", pi.text().c_str(), precision);

  std::vector<Argument> args = {Argument::ByValue("10"), Argument::ByValue("3"),
                                Argument::ByValue(std::int32_t{4}),
                                Argument::ByValue(std::int32_t{1})};
  Variant quotient;
  numeron::platform::ErrorInfo error;
  if (numeron.dispatch().Invoke(dispid::Divide, args, &quotient, &error) !=
      numeron::platform::kOk) {
    return 1;
  }
  std::printf("dispatch Divide: %s\n", quotient.text().c_str());

  try {
    numeron.Divide(1, 0);
  } catch (const CallError& e) {
    std::printf("typed Divide by 0: error %d %s\n", e.number(), e.description().c_str());
  }
}
