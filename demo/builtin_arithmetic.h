// The built-in side of the arithmetic page: the same five operations on doubles, with the
// platform's own errors, so the page can set them beside the component's exact results.
#pragma once

#include <string>

namespace numeron::demo {

enum class Operation { Add, Divide, Multiply, Subtract, Modulus };

struct BuiltInResult {
  std::string plain;  // the plain form of the result
  std::string exact;  // every digit of the double it is (see ExactDecimal); "" for Modulus
};

// The result. Modulus works on whole numbers: each operand is first rounded
// half to even to a 32-bit integer, and the remainder takes the sign of the first.
// Throws HandlerError: Division by zero, or Overflow (a result beyond a double, 0 / 0, an
// operand of Modulus beyond 32 bits).
BuiltInResult Calculate(Operation operation, double first, double second);

}  // namespace numeron::demo
