// Conversions of the engine's form and its linear kernels.
#include "control/engine/limbs.h"

#include <algorithm>
#include <cstring>

#include "control/engine/wide.h"
#include "control/number/errors.h"

namespace numeron::engine {
namespace {

// The 16 digits of a limb, leading zeros included, two at a time.
void WriteLimb(std::uint64_t limb, char* out) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  for (int k = kLimbDigits - 2; k >= 0; k -= 2) {
    std::memcpy(out + k, kPairs + 2 * (limb % 100), 2);
    limb /= 100;
  }
}

}  // namespace

Limbs LimbsOfDigits(std::string_view digits) {
  const std::size_t n = digits.size();
  Limbs limbs((n + kLimbDigits - 1) / kLimbDigits);
  for (std::size_t i = 0; i < limbs.size(); ++i) {
    // Limb i holds the digits from n - 16(i + 1) up to n - 16i.
    const std::size_t end = n - i * kLimbDigits;
    const std::size_t begin = end > kLimbDigits ? end - kLimbDigits : 0;
    std::uint64_t limb = 0;
    for (std::size_t j = begin; j < end; ++j)
      limb = limb * 10 + static_cast<unsigned>(digits[j] - '0');
    limbs[i] = limb;
  }
  TrimTop(limbs);
  return limbs;
}

std::string DigitsOf(const Limbs& n) {
  if (n.empty()) return "0";
  std::string text = std::to_string(n.back());
  const std::size_t top = text.size();
  text.resize(top + (n.size() - 1) * kLimbDigits);
  for (std::size_t i = n.size() - 1; i-- > 0;) {
    WriteLimb(n[i], text.data() + top + (n.size() - 2 - i) * kLimbDigits);
  }
  return text;
}

std::int64_t DigitCount(const Limbs& n) {
  if (n.empty()) return 0;
  std::int64_t top = 1;
  while (top < kLimbDigits && n.back() >= kPowersOfTen[top]) ++top;
  return static_cast<std::int64_t>(n.size() - 1) * kLimbDigits + top;
}

std::int64_t TrailingZeroDigits(const Limbs& n) {
  std::size_t i = 0;
  while (i < n.size() && n[i] == 0) ++i;
  if (i == n.size()) return 0;
  std::int64_t zeros = static_cast<std::int64_t>(i) * kLimbDigits;
  for (std::uint64_t limb = n[i]; limb % 10 == 0; limb /= 10) ++zeros;
  return zeros;
}

Decimal DecimalOfDigits(const HugeNumber& small_digits) {
  // The positive and the negative digits each make a whole number; the value is their difference.
  const std::vector<std::int16_t>& digits = small_digits.digits();
  const std::size_t size = (digits.size() + kLimbDigits - 1) / kLimbDigits;
  Limbs positive(size), negative(size);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const std::int16_t d = digits[i];
    const std::uint64_t power = kPowersOfTen[i % kLimbDigits];
    if (d > 0) positive[i / kLimbDigits] += static_cast<std::uint64_t>(d) * power;
    if (d < 0) negative[i / kLimbDigits] += static_cast<std::uint64_t>(-d) * power;
  }
  TrimTop(positive);
  TrimTop(negative);
  Decimal value;
  value.exponent = small_digits.low();
  value.negative = CompareLimbs(negative, positive) > 0;
  value.coefficient =
      value.negative ? Difference(negative, positive)
                     : (negative.empty() ? std::move(positive) : Difference(positive, negative));
  return value;
}

Limbs ShiftedUp(const Limbs& n, std::int64_t places) {
  if (n.empty()) return n;
  const auto whole = static_cast<std::size_t>(places / kLimbDigits);
  const std::uint64_t factor = kPowersOfTen[places % kLimbDigits];
  Limbs result(whole, 0);
  if (factor == 1) {  // whole limbs: no digit moves within a limb
    result.insert(result.end(), n.begin(), n.end());
    return result;
  }
  result.reserve(whole + n.size() + 1);
  Wide carry = 0;
  for (std::uint64_t limb : n) {
    carry += Wide{limb} * factor;
    result.push_back(TakeLimb(carry));
  }
  if (carry != 0) result.push_back(static_cast<std::uint64_t>(carry));
  return result;
}

Limbs ShiftedDown(const Limbs& n, std::int64_t places) {
  const auto whole = static_cast<std::size_t>(places / kLimbDigits);
  if (whole >= n.size()) return {};
  Limbs result(n.begin() + static_cast<std::ptrdiff_t>(whole), n.end());
  if (places % kLimbDigits != 0) DivideInPlace(result, kPowersOfTen[places % kLimbDigits]);
  return result;
}

void Increment(Limbs& n) {
  for (std::uint64_t& limb : n) {
    if (++limb < kBase) return;
    limb = 0;
  }
  n.push_back(1);
}

int CompareLimbs(const Limbs& a, const Limbs& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

Limbs Difference(const Limbs& a, const Limbs& b) {
  Limbs result(a.size());
  std::uint64_t borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::uint64_t subtrahend = (i < b.size() ? b[i] : 0) + borrow;
    borrow = a[i] < subtrahend;
    result[i] = a[i] + (borrow ? kBase : 0) - subtrahend;
  }
  TrimTop(result);
  return result;
}

std::string TextOf(const Decimal& value) {
  if (value.coefficient.empty()) return "0";
  // The places the array of the same number holds, then the digits without the zeros after
  // the point, whose places the array does not hold.
  const std::int64_t zeros = TrailingZeroDigits(value.coefficient);
  const std::int64_t top = value.exponent + DigitCount(value.coefficient) - 1;
  CheckPlaces(std::min<std::int64_t>(value.exponent + zeros, 0), std::max<std::int64_t>(top, 0));
  const std::int64_t dropped = std::clamp<std::int64_t>(-value.exponent, 0, zeros);
  return TextOfDigits(
      DigitsOf(dropped > 0 ? ShiftedDown(value.coefficient, dropped) : value.coefficient),
      value.negative, value.exponent + dropped);
}

std::string TextOfDigits(std::string digits, bool negative, std::int64_t exponent) {
  if (digits == "0") return digits;
  std::string text = negative ? "-" : "";
  if (exponent >= 0) {
    CheckPlaces(0, static_cast<std::int64_t>(digits.size()) + exponent - 1);
    if (!negative && exponent == 0) return digits;
    text.append(digits).append(static_cast<std::size_t>(exponent), '0');
    return text;
  }
  const auto fraction = static_cast<std::size_t>(-exponent);
  if (digits.size() <= fraction) {
    CheckPlaces(exponent, 0);
    digits.insert(0, fraction - digits.size() + 1, '0');
  }
  const std::size_t point = digits.size() - fraction;
  const std::size_t end = std::max(digits.find_last_not_of('0') + 1, point);
  text.append(digits, 0, point);
  if (end > point) text.append(".").append(digits, point, end - point);
  return text;
}

HugeNumber NormalOf(const Decimal& value) {
  if (value.coefficient.empty()) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  return NormalOfDigits(DigitsOf(value.coefficient), value.negative, value.exponent);
}

HugeNumber NormalOfDigits(std::string_view digits, bool negative, std::int64_t exponent) {
  const std::size_t last = digits.find_last_not_of('0');
  if (last == std::string_view::npos) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  const auto length = static_cast<std::int64_t>(digits.size());
  const std::int64_t top = exponent + length - 1;
  const std::int64_t bottom = exponent + (length - 1 - static_cast<std::int64_t>(last));
  HugeNumber result =
      HugeNumber::Zeros(std::min<std::int64_t>(bottom, 0), std::max<std::int64_t>(top, 0));
  std::int16_t* place = result.digits().data() + (top - result.low());  // digit k at top - k
  const int sign = negative ? -1 : 1;
  for (std::size_t k = 0; k <= last; ++k) {
    *(place - k) = static_cast<std::int16_t>(sign * (digits[k] - '0'));
  }
  return result;
}

}  // namespace numeron::engine
