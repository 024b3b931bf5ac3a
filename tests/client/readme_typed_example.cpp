// Divides to four places, asks for pi beyond its maximum precision, and shows a refusal.
#include <cstdio>
#include "client/numeron.h"
using namespace numeron::client;

int main() {
  Numeron numeron = Numeron::Create();  // throws CallError when it is not registered
  std::puts(numeron.Divide("10", "3", 4, TypeOfValue::String_Value).text().c_str());  // 3.3333
  std::int32_t places = 5000;
  numeron.Pi(places);  // Pi stores the places it used
  std::printf("%d\n", places);  // 999
  try {
    numeron.Divide(1, 0);
  } catch (const CallError& e) {
    std::printf("%d %s\n", e.number(), e.description().c_str());  // -2147220499 You cannot ...
  }
}
