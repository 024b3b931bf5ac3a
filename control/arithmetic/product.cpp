// Row-by-row products, simulated only where something changes.
//
// Adding a row with one-place carries sets every place q of the total to
//   s(q) rem 10 + s(q - 1) quo 10,   s = total + row.
// Outside the row's band s(q) is the total's own digit, and a digit within -9..9 contributes
// nothing to the place above, so such a place keeps its digit unless it, or the place below it,
// holds 10 or more in magnitude. Simulating the band plus those few "hot" places and the place
// above each therefore leaves exactly the array the full additions leave, in time proportional
// to the band, not to the whole total.
//
// A worked example, 506 * 789 with the public adder (places from the lowest digit):
//   row of 6: 6 * 9 = 54, 6 * 8 = 48, 6 * 7 = 42 give places 0..3 = 4, 8 + 5, 2 + 4, 4
//             = 4 13 6 4; the total is zero, so it becomes this row as it is: place 1 is hot.
//   row of 0: all zeros, skipped (no carry step at all).
//   row of 5: 45, 40, 35 give places 2..5 = 5, 0 + 4, 5 + 4, 3 = 5 4 9 3: the band is 2..5 and
//             the place above it, 6. Place 1 lies outside the band but is hot, so it and the
//             place above it (2, in the band anyway) are worked: s = 4 13 11 8 9 3 (places 0..5)
//             gives place 1 = 13 rem 10 + 4 quo 10 = 3, place 2 = 11 rem 10 + 13 quo 10 = 2,
//             then 8 + 1 = 9, 9 + 0 = 9, 3 + 0 = 3; place 0 (neither hot nor above a hot
//             place) keeps its 4 untouched.
//   The total 4 3 2 9 9 3 is 399234 = 506 * 789, every place as the full additions leave it.
// Long operands with many non-zero rows do not come here at all: product_from_value.cpp
// gives the same array from the product's value (kFromValueSize).
#include "control/arithmetic/product.h"

#include <algorithm>
#include <limits>

#include "control/arithmetic/product_from_value.h"
#include "control/number/call_context.h"
#include "control/number/errors.h"

namespace numeron {
namespace {

std::int16_t ToDigit(std::int64_t value) {
  if (value > std::numeric_limits<std::int16_t>::max() ||
      value < std::numeric_limits<std::int16_t>::min()) {
    Raise(platform::kOverflow);
  }
  return static_cast<std::int16_t>(value);
}

class RowSummer {
 public:
  // with_zero_shortcuts: the public adder (a zero operand hands back the other one);
  // otherwise AddDigits into a total that starts as the single zero place.
  RowSummer(const HugeNumber& a, const HugeNumber& b, bool with_zero_shortcuts)
      : a_(a), b_(b), shortcuts_(with_zero_shortcuts) {
    row_lo_ = std::int64_t{a.low()} + b.low() - 1;
    row_hi_ = a.high() + b.high() + 1;
    CheckPlaces(row_lo_, row_hi_);
    base_ = shortcuts_ ? row_lo_ : std::min<std::int64_t>(row_lo_, 0);
    // Without shortcuts the first addition already spans the row and place 0.
    if (!shortcuts_) CheckPlaces(base_, std::max<std::int64_t>(row_hi_, 0) + 1);
    const std::int64_t top = shortcuts_ ? row_hi_ : std::max<std::int64_t>(row_hi_, 0);
    total_.assign(static_cast<std::size_t>(top - base_ + 2), 0);
    lo_ = hi_ = 0;  // the single zero place
    row_.resize(static_cast<std::size_t>(b.size() + 1));
    narrow_scratch_.resize(static_cast<std::size_t>(b.size() + 3));
    wide_scratch_.resize(static_cast<std::size_t>(b.size() + 3));
    small_ = HasSmallDigits(a) && HasSmallDigits(b);
  }

  HugeNumber Run() {
    // A cancellation point about every 64K places added: a few rows when they are long.
    std::size_t places_added = 0;
    for (std::int64_t i = a_.low(); i <= a_.high(); ++i) {
      // A zero digit's row is all zeros, which the public adder skips.
      if (shortcuts_ && a_.at(i) == 0) continue;
      AddRow(i);
      places_added += row_.size();
      if (places_added >= kPlacesPerCheck) {
        places_added = 0;
        CheckPoint();
      }
    }
    if (nonzero_ == 0) return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
    HugeNumber result(static_cast<std::int32_t>(lo_),
                      std::vector<std::int16_t>(total_.begin() + (lo_ - base_),
                                                total_.begin() + (hi_ - base_ + 1)));
    TrimZeroPlaces(result);
    return result;
  }

 private:
  std::int16_t& At(std::int64_t place) { return total_[static_cast<std::size_t>(place - base_)]; }
  std::int32_t Total(std::int64_t place) const {
    return place < base_ || place - base_ >= static_cast<std::int64_t>(total_.size())
               ? 0
               : total_[static_cast<std::size_t>(place - base_)];
  }
  std::int32_t Row(std::int64_t place) const {
    const std::int64_t j = place - band_lo_;
    return j < 0 || j >= static_cast<std::int64_t>(row_.size()) ? 0 : row_[j];
  }

  template <typename Lane>
  Lane* Scratch() {
    if constexpr (sizeof(Lane) == sizeof(std::int16_t)) {
      return narrow_scratch_.data();
    } else {
      return wide_scratch_.data();
    }
  }

  // Row i: place i + j holds the remainder of a(i) * b(j) plus the carry of a(i) * b(j - 1),
  // each kept in a 16-bit place.
  void BuildRow(std::int64_t i) {
    band_lo_ = i + b_.low();
    if (small_ && row_.size() <= kCachedRowLimit) {
      // The row depends only on the digit: worked once per digit value, then copied.
      const int digit = a_.at(i);
      std::vector<std::int16_t>& cached = row_cache_[digit + 9];
      if (cached.empty()) {
        RowFrom<std::int16_t>(digit);
        cached = row_;
      } else {
        std::copy(cached.begin(), cached.end(), row_.begin());
      }
    } else if (small_) {
      RowFrom<std::int16_t>(a_.at(i));
    } else {
      RowFrom<std::int32_t>(a_.at(i));
    }
  }

  // Lane is the width the products are worked in: 16 bits while every digit lies in -9..9
  // (products within +-81, sums within a few tens), so the loops run eight places at a time.
  template <typename Lane>
  void RowFrom(std::int32_t digit) {
    const std::int16_t* b = b_.digits().data();
    const std::size_t m = b_.digits().size();
    Lane* products = Scratch<Lane>();  // [j + 1] = digit * b(j), 0 at the ends
    products[0] = 0;
    products[m + 1] = 0;
    for (std::size_t j = 0; j < m; ++j) products[j + 1] = static_cast<Lane>(digit * b[j]);
    if constexpr (sizeof(Lane) > sizeof(std::int16_t)) {
      // Each place first holds the carry from the place below, then that plus its remainder;
      // both must fit the 16-bit place.
      auto fits = [](std::int32_t v) {
        return v >= std::numeric_limits<std::int16_t>::min() &&
               v <= std::numeric_limits<std::int16_t>::max();
      };
      for (std::size_t j = 0; j <= m; ++j) {
        if (!fits(products[j] / 10) || !fits(products[j + 1] % 10 + products[j] / 10)) {
          Raise(platform::kOverflow);
        }
      }
    }
    std::int16_t* row = row_.data();
    for (std::size_t j = 0; j <= m; ++j) {
      row[j] = static_cast<std::int16_t>(products[j + 1] % 10 + products[j] / 10);
    }
  }

  void Write(std::int64_t place, std::int32_t value) {
    std::int16_t& cell = At(place);
    nonzero_ += (value != 0) - (cell != 0);
    cell = ToDigit(value);
  }

  void AddRow(std::int64_t i) {
    BuildRow(i);
    const bool row_zero =
        std::all_of(row_.begin(), row_.end(), [](std::int16_t d) { return d == 0; });
    if (shortcuts_ && row_zero) return;
    if (shortcuts_ && nonzero_ == 0) {
      // The total is zero (every cell already 0): it becomes the row itself.
      hot_.clear();
      pending_ = false;
      for (std::size_t j = 0; j < row_.size(); ++j) {
        Write(band_lo_ + static_cast<std::int64_t>(j), row_[j]);
        if (row_[j] >= 10 || row_[j] <= -10)
          hot_.push_back(band_lo_ + static_cast<std::int64_t>(j));
      }
      lo_ = row_lo_;
      hi_ = row_hi_;
      return;
    }
    const std::int64_t lo = std::min(lo_, row_lo_);
    const std::int64_t hi = std::max(hi_, row_hi_);
    CheckPlaces(lo, hi + 1);
    if (hi + 1 - base_ >= static_cast<std::int64_t>(total_.size())) {
      total_.resize(static_cast<std::size_t>(hi + 2 - base_), 0);
    }
    Sum(lo, hi);
    lo_ = lo;
    hi_ = At(hi + 1) != 0 ? hi + 1 : hi;
  }

  // One addition of the row into the total over places lo..hi + 1, touching only the band,
  // the hot places and the place above each, from the top down so every place still sees
  // the old digit below it.
  void Sum(std::int64_t lo, std::int64_t hi) {
    const std::int64_t band_top = band_lo_ + static_cast<std::int64_t>(row_.size());
    if (pending_) {
      // hot_ holds the hot places below the last band, then those above it. The last band's
      // own hot places go between them; only those the new band no longer covers (or whose
      // upper neighbour it does not cover) are ever read, so only those places are scanned.
      std::vector<std::int64_t>& merged = merged_;
      merged.clear();
      auto split = std::partition_point(hot_.begin(), hot_.end(),
                                        [&](std::int64_t q) { return q < pending_lo_; });
      merged.assign(hot_.begin(), split);
      auto consider = [&](std::int64_t q) {
        const std::int16_t v = At(q);
        if (v >= 10 || v <= -10) merged.push_back(q);
      };
      const std::int64_t low_end = std::min(pending_hi_, band_lo_ - 1);
      for (std::int64_t q = pending_lo_; q <= low_end; ++q) consider(q);
      for (std::int64_t q = std::max({pending_lo_, low_end + 1, band_top}); q <= pending_hi_; ++q) {
        consider(q);
      }
      merged.insert(merged.end(), split, hot_.end());
      hot_.swap(merged);
      pending_ = false;
    }
    places_.clear();
    for (std::int64_t h : hot_) {
      for (std::int64_t q : {h, h + 1}) {
        if ((q < band_lo_ || q > band_top) && (places_.empty() || places_.back() != q)) {
          places_.push_back(q);
        }
      }
    }
    auto above = std::partition_point(places_.begin(), places_.end(),
                                      [&](std::int64_t q) { return q < band_lo_; });
    hot_.clear();
    auto update = [&](std::int64_t q) {
      const std::int32_t s = q > hi ? 0 : Total(q) + Row(q);
      const std::int32_t below = q - 1 < lo ? 0 : Total(q - 1) + Row(q - 1);
      const std::int32_t value = s % 10 + below / 10;
      Write(q, value);
      if (value >= 10 || value <= -10) hot_.push_back(q);
    };
    for (auto it = places_.end(); it != above;) update(*--it);
    SumBand();
    for (auto it = above; it != places_.begin();) update(*--it);
    std::reverse(hot_.begin(), hot_.end());  // found from the top down
    pending_ = true;
    pending_lo_ = band_lo_;
    pending_hi_ = band_lo_ + static_cast<std::int64_t>(row_.size());
  }

  // The band and the place above it, in straight loops over the old sums. The place below the
  // band is still unchanged here, so its carry comes from its old digit.
  void SumBand() {
    if (small_) {
      SumBandAs<std::int16_t>();
    } else {
      SumBandAs<std::int32_t>();
    }
  }

  template <typename Lane>
  void SumBandAs() {
    const std::size_t width = row_.size() + 2;  // places band_lo_ - 1 .. band_lo_ + m + 1
    std::int16_t* t = &At(band_lo_ - 1);
    const std::int16_t* row = row_.data();
    Lane* sums = Scratch<Lane>();
    sums[0] = t[0];
    for (std::size_t k = 1; k + 1 < width; ++k) sums[k] = static_cast<Lane>(t[k] + row[k - 1]);
    sums[width - 1] = t[width - 1];
    std::int32_t changed = 0;  // |changed| < width <= the place limit
    for (std::size_t k = 1; k < width; ++k) {
      const auto value = static_cast<std::int16_t>(sums[k] % 10 + sums[k - 1] / 10);
      changed += (value != 0) - (t[k] != 0);
      t[k] = value;
    }
    nonzero_ += changed;
  }

  const HugeNumber& a_;
  const HugeNumber& b_;
  const bool shortcuts_;
  std::int64_t row_lo_ = 0, row_hi_ = 0;
  std::int64_t base_ = 0;  // the place of total_[0]
  std::vector<std::int16_t> total_;
  std::int64_t lo_ = 0, hi_ = 0;   // the total's bounds
  std::int64_t nonzero_ = 0;       // non-zero places of the total
  std::vector<std::int64_t> hot_;  // places of the total holding 10 or more, ascending
  std::vector<std::int16_t> row_;  // the current row's places band_lo_ .. band_lo_ + m
  std::int64_t band_lo_ = 0;
  bool small_ = false;                        // every digit of both operands within -9..9
  std::vector<std::int16_t> narrow_scratch_;  // products, then sums, in 16-bit lanes
  std::vector<std::int32_t> wide_scratch_;    // the same in 32-bit lanes
  std::vector<std::int64_t> places_;          // scratch: hot places outside the band
  std::vector<std::int64_t> merged_;          // scratch: hot places with the last band's added
  // Rows kept per digit value -9..9 while they are short enough for 19 of them to be cheap: at
  // 2^20 places the cache holds 40 MB at most, and a row that long costs far more to work out
  // (a product and a division per place) than to copy. Smaller would rebuild long rows per
  // digit of a; larger would hold hundreds of megabytes for the longest operands.
  static constexpr std::size_t kCachedRowLimit = std::size_t{1} << 20;
  std::vector<std::int16_t> row_cache_[19];
  bool pending_ = false;
  std::int64_t pending_lo_ = 0, pending_hi_ = 0;
};

}  // namespace

bool HasSmallDigits(const HugeNumber& digits) {
  return std::all_of(digits.digits().begin(), digits.digits().end(),
                     [](std::int16_t d) { return d >= -9 && d <= 9; });
}

HugeNumber AddRowsOneByOne(const HugeNumber& a, const HugeNumber& b, bool with_zero_shortcuts) {
  return RowSummer(a, b, with_zero_shortcuts).Run();
}

// Operands this long make rows dearer than converting the product's value to digits: 64 rows of
// 64 places are about 4,000 place steps, about what the value path's fixed costs take (its
// product, conversions and a settling pass of a few terms per place over twice as many places).
// Smaller would send short products through that overhead; larger would leave products of a few
// hundred digits to rows that cost the square of their length.
constexpr std::int64_t kFromValueSize = 64;

HugeNumber MultiplyRows(const HugeNumber& a, const HugeNumber& b) {
  // Many non-zero rows, each long: the value and the last rows give the same array far sooner.
  const std::int64_t rows =
      std::count_if(a.digits().begin(), a.digits().end(), [](std::int16_t d) { return d != 0; });
  if (rows >= kFromValueSize && b.size() >= kFromValueSize) {
    // The checks the rows make: the row array, then the second non-zero row's sum one carry
    // place wider (the from-value path declines where the total would grow beyond that).
    const std::int64_t row_lo = std::int64_t{a.low()} + b.low() - 1;
    const std::int64_t row_hi = a.high() + b.high() + 1;
    CheckPlaces(row_lo, row_hi);
    CheckPlaces(row_lo, row_hi + 1);
    if (std::optional<HugeNumber> total = ProductFromValue(a, b, true)) return std::move(*total);
  }
  return AddRowsOneByOne(a, b, true);
}

HugeNumber ProductOf(const HugeNumber& a, const HugeNumber& b) {
  if (IsZeroDigits(a) || IsZeroDigits(b))
    return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Integer);
  return MultiplyRows(a, b);
}

HugeNumber MultiplyDigits(const HugeNumber& a, const HugeNumber& b) {
  if (a.empty()) {
    // No rows: only the row array is made, and the total stays the single zero place.
    CheckPlaces(std::int64_t{a.low()} + b.low() - 1, a.high() + b.high() + 1);
    return HugeNumber::ZeroFormOf(HugeNumber::ZeroForm::Empty);
  }
  // Long rows on long operands: the value and the last rows give the same array far sooner.
  if (std::min(a.size(), b.size()) >= kFromValueSize) {
    const std::int64_t row_lo = std::int64_t{a.low()} + b.low() - 1;
    const std::int64_t row_hi = a.high() + b.high() + 1;
    CheckPlaces(row_lo, row_hi);
    CheckPlaces(std::min<std::int64_t>(row_lo, 0), std::max<std::int64_t>(row_hi, 0) + 1);
    if (std::optional<HugeNumber> total = ProductFromValue(a, b, false)) return std::move(*total);
  }
  return AddRowsOneByOne(a, b, false);
}

RowShape ShapeOf(const HugeNumber& digits) {
  return {digits.low(), digits.high(),
          std::count_if(digits.digits().begin(), digits.digits().end(),
                        [](std::int16_t d) { return d != 0; }) > 1};
}

std::string ProductText(RowShape a_shape, RowShape b_shape, const engine::Decimal& a,
                        const engine::Decimal& b) {
  // The rows reach one place below and one above the two operands' places together, and a
  // second non-zero row is added into a sum one carry place wider still. The trimmed total
  // lies within those places, so its own limit never refuses more.
  const std::int64_t row_lo = a_shape.low + b_shape.low - 1;
  const std::int64_t row_hi = a_shape.high + b_shape.high + 1;
  CheckPlaces(row_lo, row_hi + (a_shape.several ? 1 : 0));
  return engine::TextOf({a.negative != b.negative, engine::Multiply(a.coefficient, b.coefficient),
                         a.exponent + b.exponent});
}

}  // namespace numeron
