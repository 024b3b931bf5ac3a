// Adds two numbers beyond a double's reach through the dispatch interface and prints the sum.
#include <cstdio>
#include <vector>
#include "platform/registry.h"
using namespace numeron::platform;

int main() {
  Ref<Dispatch> numeron;
  std::string why;
  if (CreateObject("NumeronControl.Numeron", &numeron, &why) != kOk) return std::puts(why.c_str()), 1;
  DispId add = 0;
  numeron->GetIDsOfNames("Add", &add);
  std::vector<Argument> args = {Argument::ByValue("123456789012345678901234567890"),
                                Argument::ByValue("0.1"), Argument::ByValue(std::int32_t{1})};
  Variant sum;  // Return_Type 1 above: the sum comes back as text
  ErrorInfo error;
  if (numeron->Invoke(add, args, &sum, &error) != kOk) return std::puts(error.description.c_str()), 1;
  std::puts(sum.text().c_str());  // 123456789012345678901234567890.1
}
