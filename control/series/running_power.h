// The running power of the sine, cosine, arcsine and arctangent series: each step multiplies it
// by x twice with MultiplyDigits and cuts it below place -Precision when it reaches there.
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <optional>

#include "control/number/huge_number.h"

namespace numeron {

// The quotients read only the power's value; the cut reads its digits, which products leave
// unnormalised near their top. Where every cut provably falls among the digits the product's
// value fixes (see the .cpp), only the value is kept, one short multiplication a factor; else
// the digit array is carried step by step as the series defines it.
class RunningPower {
 public:
  enum class Path { kFastest, kDigits };
  // `power` and x as the series starts them (x in normal form); at most `steps` steps follow.
  RunningPower(HugeNumber power, const HugeNumber& x, std::int32_t precision, std::int64_t steps,
               Path path = Path::kFastest);

  void Step();

  // The value is value() * 10^exponent().
  const mpz_class& value() const { return value_; }
  std::int64_t exponent() const { return exponent_; }
  bool IsZero() const { return value_ == 0; }
  // The lower of -Precision and the array's lowest place: where the next products start.
  std::int64_t LowestReach() const { return lowest_reach_; }
  // An upper bound of the array's highest place (the place itself while digits are carried).
  std::int64_t HighBound() const;
  bool CarriesDigits() const { return digits_.has_value(); }
  // What the last step's cut took off the power's magnitude, as a fraction of 10^-Precision,
  // while the value alone is kept and that fraction is exact as a double.
  std::optional<double> CutFraction() const { return cut_fraction_; }

 private:
  void ValueFromDigits();

  std::optional<HugeNumber> digits_;
  HugeNumber x_;
  mpz_class x_value_;
  std::int64_t x_exponent_ = 0;
  std::int64_t places_ = 0;
  mpz_class value_;
  std::int64_t exponent_ = 0;
  std::int64_t lowest_reach_ = 0;
  std::optional<double> cut_fraction_;
};

}  // namespace numeron
