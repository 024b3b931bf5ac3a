#include "control/arithmetic/big_integer.h"

#include <algorithm>

#include "control/number/call_context.h"
#include "control/number/errors.h"

namespace numeron {

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
  if (magnitude == 0) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  const std::string text = magnitude.get_str();
  const auto length = static_cast<std::int64_t>(text.size());
  const std::size_t last = text.find_last_not_of('0');
  const std::int64_t top = exponent + length - 1;
  const std::int64_t bottom = exponent + (length - 1 - static_cast<std::int64_t>(last));
  HugeNumber result =
      HugeNumber::Zeros(std::min<std::int64_t>(bottom, 0), std::max<std::int64_t>(top, 0));
  const int sign = negative ? -1 : 1;
  for (std::int64_t k = 0; k <= static_cast<std::int64_t>(last); ++k) {
    if (k % kPlacesPerCheck == 0) CheckPoint();
    result.at(top - k) =
        static_cast<std::int16_t>(sign * (text[static_cast<std::size_t>(k)] - '0'));
  }
  return result;
}

std::string TextOfScaled(const mpz_class& magnitude, bool negative, std::int64_t exponent) {
  if (magnitude == 0) return "0";
  std::string digits = magnitude.get_str();
  std::string text = negative ? "-" : "";
  if (exponent >= 0) {
    CheckPlaces(0, static_cast<std::int64_t>(digits.size()) + exponent - 1);
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

}  // namespace numeron
