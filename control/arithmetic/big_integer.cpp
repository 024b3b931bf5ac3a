#include "control/arithmetic/big_integer.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "control/engine/limbs.h"
#include "control/number/call_context.h"
#include "control/number/errors.h"

namespace numeron {
namespace {

// GMP's C code has unwind tables on this platform, so the exception passes through it; what a
// GMP routine had allocated for its own scratch until then is lost, a rare cost for an
// allocation failure that would otherwise end the process.
void* Allocate(std::size_t size) {
  void* block = std::malloc(size);
  if (!block) throw std::bad_alloc();
  return block;
}
void* Reallocate(void* block, std::size_t, std::size_t size) {
  void* moved = std::realloc(block, size);
  if (!moved) throw std::bad_alloc();
  return moved;
}
void Free(void* block, std::size_t) { std::free(block); }

}  // namespace

void UseThrowingGmpAllocation() {
  static const bool installed = (mp_set_memory_functions(&Allocate, &Reallocate, &Free), true);
  (void)installed;
}

mpz_class MagnitudeOf(const HugeNumber& normal) {
  std::string text;
  text.reserve(static_cast<std::size_t>(normal.size()));
  for (auto d = normal.digits().rbegin(); d != normal.digits().rend(); ++d) {
    if (text.size() % kPlacesPerCheck == 0) CheckPoint();
    text.push_back(static_cast<char>('0' + (*d < 0 ? -*d : *d)));
  }
  const std::size_t first = text.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  return mpz_class(text.substr(first), 10);
}

mpz_class SignedValueOf(const HugeNumber& small_digits) {
  // The positive and the negative digits each spell a decimal whole number.
  std::string positive(static_cast<std::size_t>(small_digits.size()), '0');
  std::string negative = positive;
  bool any_negative = false;
  std::size_t i = positive.size();
  for (std::int16_t d : small_digits.digits()) {
    --i;
    if (d < 0) {
      negative[i] = static_cast<char>('0' - d);
      any_negative = true;
    } else {
      positive[i] = static_cast<char>('0' + d);
    }
  }
  if (positive.empty()) return 0;
  mpz_class value(positive, 10);
  if (any_negative) value -= mpz_class(negative, 10);
  return value;
}

bool IsNegative(const HugeNumber& normal) {
  return !normal.empty() && (normal.at(normal.high()) < 0 || normal.at(normal.low()) < 0);
}

mpz_class PowerOfTen(std::int64_t n) {
  if (n < 0 || n > 4 * kMaxPlaces) Raise(platform::kOverflow);
  mpz_class power;
  mpz_ui_pow_ui(power.get_mpz_t(), 10, static_cast<unsigned long>(n));
  return power;
}

HugeNumber NormalFromScaled(const mpz_class& magnitude, bool negative, std::int64_t exponent) {
  return engine::NormalOfDigits(magnitude.get_str(), negative, exponent);
}

std::string TextOfScaled(const mpz_class& magnitude, bool negative, std::int64_t exponent) {
  return engine::TextOfDigits(magnitude.get_str(), negative, exponent);
}

}  // namespace numeron
