// Products of limbs: the schoolbook columns for short factors, one binary product of packed
// slots for long ones. Both add up every column c(k) = sum of a(i) * b(k - i) exactly in 128
// bits and then carry once in base 10^16, so they give the same limbs.
//
// The packing, on two numbers of three limbs (B = 10^16):
//   a = [3, B-1, 2]   (lowest limb first: 2*B^2 + (B-1)*B + 3)
//   b = [4, 5, B-1]
// Each limb goes into its own 128-bit slot of one binary number, A = 3 + (B-1)*2^128 + 2*2^256
// and likewise B', so A * B' = sum of c(k) * 2^(128k) with the columns
//   c0 = 12, c1 = 4B + 11, c2 = 8B, c3 = B^2 - 2B + 11, c4 = 2B - 2.
// Every column is below 2^128 (at most 3.4 million terms of at most (B-1)^2 each), so the slots
// of the binary product never overlap and each c(k) is read back from its two words. Carrying
// in base B from the bottom: 12 | 11 carry 4 | 8B + 4 -> 4 carry 8 | B^2 - 2B + 19 -> 19 carry
// B - 2 | 3B - 4 -> B - 4 carry 2 | 2, so a * b = [12, 11, 4, 19, B-4, 2].
#include <gmp.h>

#include <algorithm>

#include "control/engine/limbs.h"
#include "control/engine/wide.h"
#include "control/number/errors.h"

namespace numeron::engine {
namespace {

static_assert(GMP_NUMB_BITS == 64 && sizeof(mp_limb_t) == 8, "a slot is two GMP words");

// The most terms a 128-bit column holds: floor(2^128 / 10^32).
constexpr std::size_t kMaxColumnTerms = 3'402'823;

// The limbs of sum c(k) * B^k for columns c(0..count-1) given by `column(k)`.
template <typename Column>
Limbs CarryColumns(std::size_t count, Column column) {
  Limbs result(count + 1);
  Wide carry = 0;
  for (std::size_t k = 0; k < count; ++k) {
    carry += column(k);  // below 2^128: the column plus a carry below 2^75
    result[k] = TakeLimb(carry);
  }
  result[count] = static_cast<std::uint64_t>(carry);
  TrimTop(result);
  return result;
}

Limbs Schoolbook(const Limbs& a, const Limbs& b) {
  std::vector<Wide> columns(a.size() + b.size() - 1, 0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::uint64_t ai = a[i];
    Wide* row = columns.data() + i;
    for (std::size_t j = 0; j < b.size(); ++j) row[j] += Wide{ai} * b[j];
  }
  return CarryColumns(columns.size(), [&](std::size_t k) { return columns[k]; });
}

Limbs Packed(const Limbs& a, const Limbs& b) {
  const auto pack = [](const Limbs& n) {
    std::vector<mp_limb_t> slots(2 * n.size(), 0);
    for (std::size_t i = 0; i < n.size(); ++i) slots[2 * i] = n[i];
    return slots;
  };
  const std::vector<mp_limb_t> long_slots = pack(a.size() >= b.size() ? a : b);
  const std::vector<mp_limb_t> short_slots = pack(a.size() >= b.size() ? b : a);
  std::vector<mp_limb_t> product(long_slots.size() + short_slots.size());
  mpn_mul(product.data(), long_slots.data(), static_cast<mp_size_t>(long_slots.size()),
          short_slots.data(), static_cast<mp_size_t>(short_slots.size()));
  return CarryColumns(a.size() + b.size() - 1, [&](std::size_t k) {
    return (Wide{product[2 * k + 1]} << 64) | product[2 * k];
  });
}

}  // namespace

Limbs Multiply(const Limbs& a, const Limbs& b) {
  if (a.empty() || b.empty()) return {};
  const std::size_t shorter = std::min(a.size(), b.size());
  // The place limits keep every product far inside this; it guards the column bound.
  if (shorter > kMaxColumnTerms) Raise(platform::kOverflow);
  return shorter < kPackedFrom ? Schoolbook(a, b) : Packed(a, b);
}

}  // namespace numeron::engine
