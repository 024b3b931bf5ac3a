#include "demo/exact_double.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace numeron::demo {

namespace {

constexpr std::uint32_t kLimb = 1000000000;  // nine decimal digits per limb, lowest limb first

void MultiplyBy(std::vector<std::uint32_t>& limbs, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : limbs) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product % kLimb);
    carry = product / kLimb;
  }
  for (; carry != 0; carry /= kLimb) limbs.push_back(static_cast<std::uint32_t>(carry % kLimb));
}

std::string DecimalDigits(const std::vector<std::uint32_t>& limbs) {
  std::string digits = std::to_string(limbs.back());
  for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb) {
    const std::string part = std::to_string(*limb);
    digits += std::string(9 - part.size(), '0') + part;
  }
  return digits;
}

}  // namespace

std::string ExactDecimal(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) return "0";
  // value = m * 2^e with m a whole number of at most 53 bits, then made odd.
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(value), &exponent);
  auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  int e = exponent - 53;
  for (; (m & 1) == 0; m >>= 1) ++e;

  std::vector<std::uint32_t> limbs;
  for (; m != 0; m /= kLimb) limbs.push_back(static_cast<std::uint32_t>(m % kLimb));
  for (int i = 0; i < std::abs(e); ++i) MultiplyBy(limbs, e > 0 ? 2 : 5);
  std::string digits = DecimalDigits(limbs);
  if (e < 0) {
    const auto places = static_cast<std::size_t>(-e);
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    digits.insert(digits.size() - places, 1, '.');
  }
  return value < 0 ? "-" + digits : digits;
}

}  // namespace numeron::demo
