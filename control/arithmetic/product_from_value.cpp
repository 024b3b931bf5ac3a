// Row-by-row products of long operands without adding the rows one by one.
//
// The rows: row j is a(j) * b laid out with one-place carries (offset j + l holds
// rem(a(j) b(l)) + quo(a(j) b(l - 1))). Each addition into the total sets every place q to
//   s(q) rem 10 + s(q - 1) quo 10,   s = total + row,
// the "carry step" C. The series code (AddDigits, total starting at zero) applies it once per
// row, zero rows included. The public adder skips a zero row and takes the first non-zero row as
// the total without a carry step, so with non-zero rows r1, r2, ..., rN it leaves
//   C(...C(C(r1 + r2) + r3)... + rN),
// which is the series process run on the pseudo-rows r1 + r2, r3, ..., rN. Both are therefore
// one process: a list of additions, each holding one or more rows. Give every row its depth,
// how many additions from the last one it enters (1 for the last addition): for the series
// code row j of n has depth n - j; for the public adder row k of N has depth N - k + 1, and
// r1 shares r2's depth N - 1.
//
// When each operand's digits share one sign, so does every sum, and the mirror image of the
// non-negative case gives the rest; so take the digits non-negative. Let W(k, q) be all that place
// q has received in the first k additions (row digits and carries in). A place passes on the
// floor of a tenth of what it has received, so
//   W(k, q) = floor(W(k - 1, q - 1) / 10) + (rows of additions 1..k at q),
// and the last addition leaves place q holding W(last, q) mod 10 plus its carry from q - 1,
// floor(W(last, q - 1) / 10) - floor(W(last - 1, q - 1) / 10). Unrolling the floors along the
// diagonal, with e the digits of the product's value V = A * B in normal form:
//   W(last, q) = e(q) + f(q)  (mod 10),   f(q) = floor(F(q) - Z(q)),
//   F(q) = 0.e(q-1) e(q-2) ...,   Z(q) = sum over t >= 1 of 10^-t * L(t, q - t),
// L(t, x) being the rows of depth t or less at x: the carries the last additions had no time to
// pass up. W(last - 1, q - 1) is the same expression with each row one depth shallower (g), less
// the last addition's rows at q - 1. The terms fall off as 10^-t, so kTerms of them settle f and
// g almost everywhere; where they leave it open (the sum lies within the tail's reach of a whole
// number) kMoreTerms more are taken, and failing that the closed form. Z(p) * 10^p takes each
// row's places up to offset p - depth, so rows whose offset + depth (their reach) agree form a
// group with one cut, and
//   V - Z(p) * 10^p = sum over groups of 10^s * (A_G * B(from s) + Q_G(b(s - 1))),
// s = p - reach + 1 (one more for g), A_G = sum a(j) 10^j over the group, Q_G(w) = sum
// quo(a(j) w) 10^j, B(from s) = sum b(l) 10^(l - s) over l >= s (b's digits may be 10 or more,
// so not floor(B / 10^s)); a group with s <= 0 gives A_G * B. F - Z lies within 10^-40 of a whole
// number, so it lies at or above it exactly when that sum mod 10^p is below half of 10^p. The
// series code's rows all share the reach n, one group; the public adder's split where a has
// zero digits (r1 has a group of its own).
//
// A worked example, 115 * 789 = 90735 with the public adder (offsets from the lowest digit):
//   r1 = 5 * 789 at offsets 0..3: 5 4 9 3 (45 -> 5, 40 -> 0 + 4, 35 -> 5 + 4, carry 3);
//   r2 = 1 * 789 at offsets 1..4 and r3 the same at 2..5: 9 8 7 0. Depths 2, 2, 1.
//   The adder: r1, then C(r1 + r2) = C(5 13 17 10 0) = 5 3 8 1 1, then
//   C(5 3 8 1 1 + r3) = C(5 3 17 9 8 0) = 5 3 7 10 8, the array to reach.
// From the value, e = 5 3 7 0 9. At q = 3, F(3) = 0.735 and
//   Z(3) = L(1, 2) / 10 + L(2, 1) / 100 + L(3, 0) / 1000 = 9/10 + (4 + 9)/100 + 5/1000 = 1.035
// (depth 1 is r3 alone; depths 2 and 3 take all three rows), so f(3) = floor(-0.3) = -1 and
// place 3 keeps (e(3) + f(3)) mod 10 = 9. Its carry from place 2: f(2) = floor(0.35 - 5/100) =
// 0, and g(2), every row one depth shallower, = floor(0.35 - (13/10 + 5/100)) = -1, so the carry
// is floor((7 + 0) / 10) - floor((7 - r3(2) - 1) / 10) = 0 - floor(-3 / 10) = 1, and place 3
// holds 9 + 1 = 10, as the rows leave it.
//
// The constants:
// kTerms = 8 terms at every place keep the running sum far inside 64 bits and leave a place
// open only when F - Z lies within the tail bound, about 25 units of 10^-8, of a whole number:
// a chance of a few in 10^7 per place. Fewer terms would send thousands of places of a
// 1,000,000-digit product to the slower loop of more terms; more would cost every place more
// reads and grow the late-row table, which holds kTerms + 1 rows of 16 bits per place of b.
// kMoreTerms = 32 further terms, each summing up to t rows outside the table, settle what
// chance leaves open: after 40 terms a place still open lies within 10^-38 of a whole number,
// which only structure does (exact whole numbers, long stretches where the digits and the late
// rows cancel), and there more terms rarely help. Fewer would send chance places to the closed
// form, which costs a product; more would waste time on the structured ones.
// kClosedFormLimit = 16 whole products' worth of digits for the closed forms together: sparse
// operands leave a few thousand places open near the top, each needing only a short product
// (a few thousandths of the budget at 200,000 digits), and all nines need three; operands such
// as all ones leave a fixed fraction of all places open, each needing a long product, which no
// budget makes cheaper than the rows. Smaller would lose the structured ones that now fit;
// larger would spend longer before falling back on the ones that need the rows.
// kLargestDigitProduct = 900 (digits up to 30 times 30) keeps a row place within 9 + 90, the
// late-row sums of up to kTerms + 2 rows within 16 bits, and every sum of the rows far from a
// 16-bit overflow, which the rows would raise and this path could not see. Larger digits come
// only from callers' arrays; they are left to the rows.

#include "control/arithmetic/product_from_value.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "control/engine/limbs.h"
#include "control/number/call_context.h"

namespace numeron {
namespace {

// See the comment at the top of the file for why these values.
constexpr int kTerms = 8;                     // terms of Z taken at every place
constexpr std::int64_t kScale = 100'000'000;  // 10^kTerms
constexpr int kMoreTerms = 32;                // further terms where those leave a place open
constexpr int kClosedFormLimit = 16;          // whole products' worth the closed forms may take
constexpr int kLargestDigitProduct = 900;     // the largest digit product this path takes

// An operand's digit magnitudes from its lowest to its highest non-zero place. Zero digits below
// the lowest change nothing: rows of a that add nothing to a zero total, places of b whose row
// places hold nothing. Zero digits of b above its highest hold nothing either; those of a are
// rows that add nothing, but the series code still passes every carry up one place for each
// (`zero_rows_on_top`).
struct Magnitudes {
  std::vector<std::int16_t> digits;
  std::int64_t low = 0;  // the place of digits[0]
  std::int64_t zero_rows_on_top = 0;
  int sign = 0;
  int largest = 0;
  std::int64_t nonzero = 0;
};

std::optional<Magnitudes> OneSigned(const HugeNumber& x) {
  const std::vector<std::int16_t>& d = x.digits();
  const auto nonzero = [](std::int16_t v) { return v != 0; };
  const auto first = std::find_if(d.begin(), d.end(), nonzero);
  if (first == d.end()) return std::nullopt;
  const auto last = std::find_if(d.rbegin(), d.rend(), nonzero).base();
  Magnitudes m;
  m.low = x.low() + (first - d.begin());
  m.zero_rows_on_top = d.end() - last;
  m.sign = *first > 0 ? 1 : -1;
  m.digits.reserve(static_cast<std::size_t>(last - first));
  for (auto it = first; it != last; ++it) {
    const int magnitude = *it * m.sign;
    // A digit beyond the largest product makes one with any non-zero digit of the other.
    if (magnitude < 0 || magnitude > kLargestDigitProduct) return std::nullopt;
    m.digits.push_back(static_cast<std::int16_t>(magnitude));
    m.largest = std::max(m.largest, magnitude);
    m.nonzero += magnitude != 0;
  }
  return m;
}

// Rows of zeros added after the last row: each sets every place to its own digit rem 10 plus
// the carry from below, so only places holding 10 or more, and the place above each, change.
void AddZeroRows(std::vector<std::int16_t>& total, std::int64_t rows) {
  std::vector<std::size_t> hot, next;
  for (std::size_t q = 0; q < total.size(); ++q) {
    if (total[q] >= 10) hot.push_back(q);
  }
  std::vector<std::int16_t> carries;
  for (std::int64_t row = 0; row < rows && !hot.empty(); ++row) {
    if (total.size() < hot.back() + 2) total.resize(hot.back() + 2, 0);
    carries.clear();
    for (std::size_t q : hot) carries.push_back(static_cast<std::int16_t>(total[q] / 10));
    for (std::size_t q : hot) total[q] = static_cast<std::int16_t>(total[q] % 10);
    next.clear();
    for (std::size_t i = 0; i < hot.size(); ++i) {
      const std::size_t q = hot[i];
      total[q + 1] = static_cast<std::int16_t>(total[q + 1] + carries[i]);
      if (total[q] >= 10 && (next.empty() || next.back() != q)) next.push_back(q);
      if (total[q + 1] >= 10) next.push_back(q + 1);
    }
    hot.swap(next);
  }
}

// The whole number sum of value(i) * 10^(i - from) over from <= i < to, for small non-negative
// values (some may be 10 or more).
template <typename Value>
engine::Limbs LimbsOf(std::size_t from, std::size_t to, Value value) {
  engine::Limbs limbs((to - from) / engine::kLimbDigits + 2, 0);
  std::uint64_t carry = 0;
  for (std::size_t k = 0; k < limbs.size(); ++k) {
    std::uint64_t limb = carry, power = 1;
    for (int r = 0; r < engine::kLimbDigits; ++r, power *= 10) {
      const std::size_t i = from + k * engine::kLimbDigits + static_cast<std::size_t>(r);
      if (i < to) limb += static_cast<std::uint64_t>(value(i)) * power;
    }
    limbs[k] = limb % engine::kBase;
    carry = limb / engine::kBase;
  }
  while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
  return limbs;
}

// n mod 10^places.
engine::Limbs LowDigits(engine::Limbs n, std::int64_t places) {
  const auto whole = static_cast<std::size_t>(places / engine::kLimbDigits);
  if (whole >= n.size()) return n;
  const int rest = static_cast<int>(places % engine::kLimbDigits);
  n.resize(whole + 1);
  std::uint64_t power = 1;
  for (int r = 0; r < rest; ++r) power *= 10;
  n[whole] %= power;
  while (!n.empty() && n.back() == 0) n.pop_back();
  return n;
}

void AddTo(engine::Limbs& sum, const engine::Limbs& term) {
  if (sum.size() < term.size()) sum.resize(term.size(), 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < sum.size() && (i < term.size() || carry != 0); ++i) {
    const std::uint64_t v = sum[i] + (i < term.size() ? term[i] : 0) + carry;
    carry = v >= engine::kBase;
    sum[i] = carry != 0 ? v - engine::kBase : v;
  }
  if (carry != 0) sum.push_back(carry);
}

std::int64_t FloorDiv(std::int64_t x, std::int64_t d) { return x / d - (x % d < 0); }

// One non-zero row of a: its digit, its offset and how many additions from the last it enters.
// Offsets and depths lie within the place limit, so 32 bits hold them (12 bytes a row).
struct Row {
  std::int32_t offset;
  std::int32_t depth;
  std::int16_t digit;
  std::int64_t reach() const { return std::int64_t{offset} + depth; }
};

class Settler {
 public:
  Settler(const Magnitudes& a, const Magnitudes& b, bool with_zero_shortcuts)
      : a_(a.digits),
        b_(b.digits),
        n_(static_cast<std::int64_t>(a_.size())),
        m_(static_cast<std::int64_t>(b_.size())),
        row_bound_(9 + a.largest * b.largest / 10),
        budget_(kClosedFormLimit * (n_ + m_)) {
    for (std::int64_t j = 0; j < n_; ++j) {
      if (a_[static_cast<std::size_t>(j)] != 0) {
        rows_.push_back({static_cast<std::int32_t>(j), static_cast<std::int32_t>(n_ - j),
                         a_[static_cast<std::size_t>(j)]});
      }
    }
    if (with_zero_shortcuts) {
      const auto count = static_cast<std::int64_t>(rows_.size());
      for (std::int64_t k = 0; k < count; ++k)
        rows_[k].depth = static_cast<std::int32_t>(count - std::max<std::int64_t>(k, 1));
    }
    // Reaches never fall from row to row, so the groups are runs of the list.
    for (std::size_t k = 0; k < rows_.size(); ++k) {
      if (k == 0 || rows_[k].reach() != rows_[k - 1].reach()) group_starts_.push_back(k);
    }
    value_b_ = LimbsOf(0, b_.size(), [&](std::size_t l) { return b_[l]; });
    const engine::Limbs value_a = LimbsOf(0, a_.size(), [&](std::size_t j) { return a_[j]; });
    CheckPoint();  // around the product, which cannot stop halfway
    const std::string value = engine::DigitsOf(engine::Multiply(value_a, value_b_));
    CheckPoint();
    e_top_ = static_cast<std::int64_t>(value.size()) - 1;
    span_ = std::max<std::int64_t>(static_cast<std::int64_t>(value.size()), n_ + m_) + 2;
    e_.assign(static_cast<std::size_t>(span_), 0);
    for (std::size_t i = 0; i < value.size(); ++i)
      e_[i] = static_cast<std::int8_t>(value[value.size() - 1 - i] - '0');
    // late_[d - 1][x - window_]: the rows of depth d or less at offset x, for d up to one more
    // than the terms taken. Depths never rise from row to row, so those rows end the list.
    std::size_t first_late = rows_.size();
    while (first_late > 0 && rows_[first_late - 1].depth <= kTerms + 1) --first_late;
    window_ = rows_[first_late].offset;
    const std::int64_t width = rows_.back().offset + m_ + 1 - window_;
    std::vector<std::int16_t> sum(static_cast<std::size_t>(width), 0);
    std::size_t k = rows_.size();
    for (int d = 1; d <= kTerms + 1; ++d) {
      CheckPoint();  // each depth adds a row or two as long as b
      for (; k > first_late && rows_[k - 1].depth == d; --k) {
        for (std::int64_t x = rows_[k - 1].offset; x <= rows_[k - 1].offset + m_; ++x) {
          sum[static_cast<std::size_t>(x - window_)] = static_cast<std::int16_t>(
              sum[static_cast<std::size_t>(x - window_)] + RowAt(rows_[k - 1], x));
        }
      }
      late_.push_back(sum);
    }
  }

  // The digits of the total from offset 0 up, or nothing when the closed forms would cost too
  // much.
  std::optional<std::vector<std::int16_t>> Digits() {
    std::vector<std::int16_t> total(static_cast<std::size_t>(span_));
    int f_below = 0, g_below = 0;  // f and g one place down
    for (std::int64_t q = 0; q < span_; ++q) {
      if (q % kPlacesPerCheck == 0) CheckPoint();
      const std::optional<int> f = Settle(q, 0), g = Settle(q, 1);
      if (!f || !g) return std::nullopt;
      const std::int64_t low = E(q) + *f;
      std::int64_t digit = low - 10 * FloorDiv(low, 10);
      if (q > 0) {
        const std::int64_t below = E(q - 1) + f_below;
        const std::int64_t without_last = E(q - 1) - Late(1, q - 1) + g_below;
        digit += FloorDiv(below, 10) - FloorDiv(without_last, 10);
      }
      total[static_cast<std::size_t>(q)] = static_cast<std::int16_t>(digit);
      f_below = *f;
      g_below = *g;
    }
    return total;
  }

 private:
  // The row at offset x: rem(a(j) * b(l)) + quo(a(j) * b(l - 1)) with l = x - j.
  std::int32_t RowAt(const Row& row, std::int64_t x) const {
    const std::int64_t l = x - row.offset;
    if (l < 0 || l > m_) return 0;
    const int here = l < m_ ? row.digit * b_[static_cast<std::size_t>(l)] : 0;
    const int below = l > 0 ? row.digit * b_[static_cast<std::size_t>(l - 1)] : 0;
    return here % 10 + below / 10;
  }

  int E(std::int64_t x) const { return x < 0 || x >= span_ ? 0 : e_[static_cast<std::size_t>(x)]; }

  // L(depth, x) from the table, for depth 1..kTerms + 1.
  std::int32_t Late(std::int64_t depth, std::int64_t x) const {
    const std::vector<std::int16_t>& rows = late_[static_cast<std::size_t>(depth - 1)];
    const std::int64_t i = x - window_;
    return i < 0 || i >= static_cast<std::int64_t>(rows.size()) ? 0
                                                                : rows[static_cast<std::size_t>(i)];
  }

  // L(depth, x) at any depth: the rows of that depth or less whose places reach x.
  std::int64_t LateRows(std::int64_t depth, std::int64_t x) const {
    if (depth <= kTerms + 1) return Late(depth, x);
    auto first = std::partition_point(rows_.begin(), rows_.end(),
                                      [&](const Row& r) { return r.depth > depth; });
    first =
        std::partition_point(first, rows_.end(), [&](const Row& r) { return r.offset < x - m_; });
    std::int64_t sum = 0;
    for (auto it = first; it != rows_.end() && it->offset <= x; ++it) sum += RowAt(*it, x);
    return sum;
  }

  // An upper bound of 10^t times the terms of Z beyond the t-th: the term at depth u sums at
  // most u + extra + 1 rows (the first addition of the public adder holds two) of at most
  // row_bound_ each.
  std::int64_t TailBound(std::int64_t t, int extra) const {
    return (row_bound_ * ((t + extra + 1) * 9 + 10)) / 81 + 1;
  }

  // floor(F(p) - Z(p)) with extra = 0 (f), or with every row one depth shallower (g).
  std::optional<int> Settle(std::int64_t p, int extra) {
    // Below the lowest reach no row enters Z, and F alone lies in [0, 1).
    if (p < rows_.front().reach() - extra) return 0;
    // Above the highest reach every row lies wholly in Z, so F - Z = -floor(V / 10^p): 0 above e.
    if (p > e_top_ && p >= rows_.back().reach() + m_ - extra) return 0;
    std::int64_t sum = 0;
    const std::int64_t width = static_cast<std::int64_t>(late_[0].size());
    if (p - kTerms >= window_ && p - 1 - window_ < width) {
      // Every place the terms read lies inside the digits and the late rows' window.
      const std::int8_t* e = e_.data() + p;
      const std::int64_t i = p - window_;
      for (int t = 1; t <= kTerms; ++t) {
        sum = 10 * sum + e[-t] -
              late_[static_cast<std::size_t>(t + extra - 1)][static_cast<std::size_t>(i - t)];
      }
    } else {
      for (int t = 1; t <= kTerms; ++t) sum = 10 * sum + E(p - t) - LateRows(t + extra, p - t);
    }
    const std::int64_t whole = FloorDiv(sum, kScale);
    std::int64_t rest = sum - whole * kScale;  // what lies above the whole number, times 10^kTerms
    if (rest >= TailBound(kTerms, extra)) return static_cast<int>(whole);
    for (std::int64_t t = kTerms + 1; t <= kTerms + kMoreTerms; ++t) {
      // Below offset 0 every digit and row is 0: the sum is exact.
      if (p - t < 0) return static_cast<int>(rest >= 0 ? whole : whole - 1);
      rest = 10 * rest + E(p - t) - LateRows(t + extra, p - t);
      if (rest < 0) return static_cast<int>(whole - 1);
      if (rest >= TailBound(t, extra)) return static_cast<int>(whole);
    }
    const std::optional<bool> at_or_above = ClosedFormAtOrAbove(p, extra);
    if (!at_or_above) return std::nullopt;
    return static_cast<int>(*at_or_above ? whole : whole - 1);
  }

  // Whether F(p) - Z(p), known to lie within 10^-40 of a whole number, lies at or above it: the
  // groups' sum V - Z(p) * 10^p taken mod 10^p lies below half of 10^p. Nothing when the
  // partial products would pass the limit.
  std::optional<bool> ClosedFormAtOrAbove(std::int64_t p, int extra) {
    engine::Limbs sum;
    // Groups of a reach below p + extra + 1 - m lie wholly in Z (s > m): they add nothing.
    auto g = std::partition_point(group_starts_.begin(), group_starts_.end(), [&](std::size_t k) {
      return p + extra - rows_[k].reach() + 1 > m_;
    });
    for (; g != group_starts_.end(); ++g) {
      CheckPoint();  // each group may take a product as long as the operands
      const std::size_t end = g + 1 != group_starts_.end() ? *(g + 1) : rows_.size();
      const std::int64_t low = rows_[*g].offset;
      const std::int64_t s = p + extra - rows_[*g].reach() + 1;
      // What is left of this group lies above p, and so does that of every later group.
      if (std::max<std::int64_t>(s, 0) + low >= p) break;
      const auto from = static_cast<std::size_t>(low);
      if (s <= 0) {
        // This group and every later one lie wholly outside Z: A from here on, times B.
        if (!Spend(n_ - low + m_)) return std::nullopt;
        const engine::Limbs rest = LimbsOf(from, a_.size(), [&](std::size_t j) { return a_[j]; });
        AddTo(sum, engine::ShiftedUp(LowDigits(engine::Multiply(rest, value_b_), p - low), low));
        break;
      }
      // Only the lowest `keep` digits of the group's sum stay below p.
      const std::int64_t keep = p - s - low;
      const auto top =
          static_cast<std::size_t>(std::min<std::int64_t>(rows_[end - 1].offset + 1, low + keep));
      const auto b_to = static_cast<std::size_t>(std::min(m_, s + keep));
      if (!Spend(static_cast<std::int64_t>(top - from + b_to) - s)) return std::nullopt;
      // b's digits from s up (no floor of B / 10^s: digits of 10 or more would carry into it).
      engine::Limbs term = engine::Multiply(
          LimbsOf(from, top, [&](std::size_t j) { return a_[j]; }),
          LimbsOf(static_cast<std::size_t>(s), b_to, [&](std::size_t l) { return b_[l]; }));
      const int w = b_[static_cast<std::size_t>(s - 1)];
      AddTo(term, LimbsOf(from, top, [&](std::size_t j) { return a_[j] * w / 10; }));
      AddTo(sum, engine::ShiftedUp(LowDigits(term, keep), s + low));
    }
    sum = LowDigits(sum, p);
    return engine::CompareLimbs(sum, engine::ShiftedUp({5}, p - 1)) < 0;
  }

  // Takes digits from the closed forms' budget; false once it is spent.
  bool Spend(std::int64_t digits) {
    budget_ -= digits;
    return budget_ >= 0;
  }

  const std::vector<std::int16_t>& a_;
  const std::vector<std::int16_t>& b_;
  const std::int64_t n_, m_;
  const std::int64_t row_bound_;
  std::vector<Row> rows_;                  // a's non-zero rows, lowest first
  std::vector<std::size_t> group_starts_;  // where each run of rows of one reach begins
  engine::Limbs value_b_;
  std::int64_t span_ = 0, e_top_ = 0;
  std::vector<std::int8_t> e_;
  std::int64_t window_ = 0;
  std::vector<std::vector<std::int16_t>> late_;
  // Digits the closed forms' products may take: kClosedFormLimit products of the whole operands.
  std::int64_t budget_ = 0;
};

}  // namespace

std::optional<HugeNumber> ProductFromValue(const HugeNumber& a, const HugeNumber& b,
                                           bool with_zero_shortcuts) {
  const std::optional<Magnitudes> x = OneSigned(a), y = OneSigned(b);
  if (!x || !y || x->largest * y->largest > kLargestDigitProduct) return std::nullopt;
  // A single non-zero row is the total as it is (or carried once more); few rows are cheap.
  if (with_zero_shortcuts ? x->nonzero < 2 : x->digits.size() < 3) return std::nullopt;
  Settler settler(*x, *y, with_zero_shortcuts);
  std::optional<std::vector<std::int16_t>> digits = settler.Digits();
  if (!digits) return std::nullopt;
  if (!with_zero_shortcuts) AddZeroRows(*digits, x->zero_rows_on_top);
  if (x->sign * y->sign < 0) {
    for (std::int16_t& d : *digits) d = static_cast<std::int16_t>(-d);
  }
  const std::int64_t base = x->low + y->low;
  const std::int64_t row_lo = std::int64_t{a.low()} + b.low() - 1;
  const std::int64_t row_hi = a.high() + b.high() + 1;
  std::int64_t lo = 0, hi = 0;
  if (with_zero_shortcuts) {
    // The total keeps the row array's places while no place above it ever holds a digit; the
    // highest non-zero place never falls, so the last total shows whether one did.
    const auto top =
        std::find_if(digits->rbegin(), digits->rend(), [](std::int16_t d) { return d != 0; });
    if (base + (digits->rend() - top) - 1 > row_hi) return std::nullopt;
    digits->resize(static_cast<std::size_t>(row_hi - base + 1));
    lo = row_lo;
    hi = row_hi;
  } else {
    // The total's array reaches from the rows' lowest place and place 0 up to its top carry.
    lo = std::min<std::int64_t>({0, base, row_lo});
    hi = std::max<std::int64_t>({0, base + static_cast<std::int64_t>(digits->size()) - 1, row_hi});
  }
  HugeNumber total = HugeNumber::Zeros(lo, hi);
  std::copy(digits->begin(), digits->end(), total.digits().begin() + (base - lo));
  TrimZeroPlaces(total);
  return total;
}

}  // namespace numeron
