#include "demo/builtin_arithmetic.h"

#include <cstdint>
#include <optional>

#include "demo/error_report.h"
#include "demo/exact_double.h"
#include "demo/value_text.h"
#include "platform/error.h"
#include "platform/number_text.h"

namespace numeron::demo {

namespace {

std::int32_t ToWhole(double operand) {
  std::optional<std::int32_t> whole = platform::DoubleToInt32(operand);
  if (!whole) throw HandlerError(platform::kOverflow);
  return *whole;
}

BuiltInResult OfDouble(double value) { return {PlainForm(value), ExactDecimal(value)}; }

}  // namespace

BuiltInResult Calculate(Operation operation, double first, double second) {
  switch (operation) {
    case Operation::Add:
      return OfDouble(first + second);
    case Operation::Subtract:
      return OfDouble(first - second);
    case Operation::Multiply:
      return OfDouble(first * second);
    case Operation::Divide:
      // 0 / 0 has no value at all; the platform calls that an overflow, not a division by zero.
      if (second == 0)
        throw HandlerError(first == 0 ? platform::kOverflow : platform::kDivisionByZero);
      return OfDouble(first / second);
    case Operation::Modulus: {
      const std::int32_t dividend = ToWhole(first);
      const std::int32_t divisor = ToWhole(second);
      if (divisor == 0) throw HandlerError(platform::kDivisionByZero);
      // In 64 bits, so that the smallest 32-bit value mod -1 gives 0 instead of trapping.
      return {std::to_string(std::int64_t{dividend} % divisor), {}};
    }
  }
  return {};
}

}  // namespace numeron::demo
