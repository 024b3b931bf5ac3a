// Two-word arithmetic of the kernels: a 128-bit value split into limbs of base 10^16.
#pragma once

#include <cstdint>

#include "control/engine/limbs.h"

namespace numeron::engine {

using Wide = unsigned __int128;

// floor((high * 2^64 + low) / divisor) and the remainder, for high < divisor (so the quotient
// fits one word): one hardware division.
inline std::uint64_t DivideWide(std::uint64_t high, std::uint64_t low, std::uint64_t divisor,
                                std::uint64_t* remainder) {
#if defined(__x86_64__)
  std::uint64_t quotient;
  asm("divq %4" : "=a"(quotient), "=d"(*remainder) : "a"(low), "d"(high), "rm"(divisor));
  return quotient;
#else
  const Wide n = (Wide{high} << 64) | low;
  *remainder = static_cast<std::uint64_t>(n % divisor);
  return static_cast<std::uint64_t>(n / divisor);
#endif
}

// The lowest limb of `value`, which keeps the rest (value / kBase).
inline std::uint64_t TakeLimb(Wide& value) {
  const auto high = static_cast<std::uint64_t>(value >> 64);
  const std::uint64_t high_quotient = high / kBase;
  const std::uint64_t high_rest = high % kBase;
  std::uint64_t limb;
  const std::uint64_t low_quotient =
      DivideWide(high_rest, static_cast<std::uint64_t>(value), kBase, &limb);
  value = (Wide{high_quotient} << 64) | low_quotient;
  return limb;
}

inline constexpr std::uint64_t kPowersOfTen[kLimbDigits + 1] = {1,
                                                                10,
                                                                100,
                                                                1'000,
                                                                10'000,
                                                                100'000,
                                                                1'000'000,
                                                                10'000'000,
                                                                100'000'000,
                                                                1'000'000'000,
                                                                10'000'000'000,
                                                                100'000'000'000,
                                                                1'000'000'000'000,
                                                                10'000'000'000'000,
                                                                100'000'000'000'000,
                                                                1'000'000'000'000'000,
                                                                kBase};

inline void TrimTop(Limbs& n) {
  while (!n.empty() && n.back() == 0) n.pop_back();
}

}  // namespace numeron::engine
