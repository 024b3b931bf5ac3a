// MultiplyDigits for long operands without adding the rows one by one.
//
// MultiplyDigits adds rows j = 0..n-1 (row j is a(j) * b laid out with one-place carries) into
// a total that starts at zero, each addition setting place q to s(q) rem 10 + s(q - 1) quo 10.
// When each operand's digits share one sign, so does every sum, and the mirror image of the
// non-negative case gives the rest; so take the digits non-negative. Let U(k, q) be all that
// place q has received in the first k additions (row digits and carries). Then
//   U(k, q) = floor(U(k - 1, q - 1) / 10) + (rows 0..k-1 at q),
// place q is left holding U(n, q) mod 10 plus the carry of the last addition from q - 1, and
// unrolling the floors along the diagonal gives, with e the digits of the product's value in
// normal form,
//   U(n, q) = e(q) + f(q)  (mod 10),   f(q) = floor(F(q) - Z(q)),
//   F(q) = 0.e(q-1) e(q-2) ...,   Z(q) = sum over t >= 1 of 10^-t * (rows n-t..n-1 at q - t).
// Z holds the carries the last rows had no time to pass up; the last carry from q - 1 is the
// same expression taken without the last row (rows n-1-t..n-1 in Z, giving g). The terms fall
// off as 10^-t, so a fixed few settle f and g almost everywhere. Where they leave it open (the
// sum lies within the tail's reach of a whole number) a few more terms are taken, and failing
// that the closed form: Z(p) * 10^p = A * B(below k) - 10^k * sum_j 10^j quo(a(j) * b(k - 1)) with
// k = p - n + 1, which turns F(p) - Z(p) into
//   (A * B(from k) + Q(b(k - 1))) / 10^(n-1) - floor(V / 10^p),
// A and B the operands' values, B(from k) the value of b's digits from offset k up, V = A * B.
// The places left open are few (the top, where that sum is exactly whole, and chance); too many
// and the rows are cheaper after all. The cost is one product of values and a few rows, instead
// of n rows of m places.
#include "control/arithmetic/product_from_value.h"

#include <gmpxx.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "control/number/call_context.h"

namespace numeron {
namespace {

constexpr int kTerms = 8;                     // terms of Z taken at every place
constexpr std::int64_t kScale = 100'000'000;  // 10^kTerms
constexpr int kMoreTerms = 32;                // further terms where those leave a place open
constexpr int kClosedFormLimit = 256;         // places worked in closed form before giving up
// Digits this large keep every row place and sum far inside 16 bits, so no addition of the
// row-by-row product could have overflowed either.
constexpr int kLargestDigitProduct = 900;

// An operand's digit magnitudes from its lowest to its highest non-zero place. Zero digits below
// the lowest change nothing: rows of a that add nothing to a zero total, places of b whose row
// places hold nothing. Zero digits of b above its highest hold nothing either; those of a are
// rows that add nothing but still pass every carry up one place (`zero_rows_on_top`).
struct Magnitudes {
  std::vector<int> digits;
  std::int64_t low = 0;  // the place of digits[0]
  std::int64_t zero_rows_on_top = 0;
  int sign = 0;
  int largest = 0;
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
    if (magnitude < 0) return std::nullopt;
    m.digits.push_back(magnitude);
    m.largest = std::max(m.largest, magnitude);
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

// The whole number sum of digit(i) * 10^i for non-negative digits, some of which may be 10 or more.
mpz_class ValueOf(const std::vector<int>& digits) {
  std::string text;
  text.reserve(digits.size() + 8);
  int carry = 0;
  for (int d : digits) {
    const int v = d + carry;
    text.push_back(static_cast<char>('0' + v % 10));
    carry = v / 10;
  }
  for (; carry > 0; carry /= 10) text.push_back(static_cast<char>('0' + carry % 10));
  std::reverse(text.begin(), text.end());
  return mpz_class(text, 10);
}

std::int64_t FloorDiv(std::int64_t x, std::int64_t d) { return x / d - (x % d < 0); }

class Settler {
 public:
  Settler(const Magnitudes& a, const Magnitudes& b)
      : a_(a.digits),
        b_(b.digits),
        n_(static_cast<std::int64_t>(a_.size())),
        m_(static_cast<std::int64_t>(b_.size())),
        row_bound_(9 + a.largest * b.largest / 10) {
    value_a_ = ValueOf(a_);
    const std::string value = mpz_class(value_a_ * ValueOf(b_)).get_str();
    span_ = std::max<std::int64_t>(static_cast<std::int64_t>(value.size()), n_ + m_) + 2;
    e_.assign(static_cast<std::size_t>(span_), 0);
    for (std::size_t i = 0; i < value.size(); ++i)
      e_[i] = static_cast<std::int8_t>(value[value.size() - 1 - i] - '0');
    // last_rows_[t - 1][x - window_]: rows n-t..n-1 at offset x, for t up to one more than the
    // terms taken; those rows reach no lower than the window's start.
    window_ = std::max<std::int64_t>(0, n_ - kTerms - 1);
    const std::int64_t width = std::max<std::int64_t>(0, n_ + m_ - window_);
    std::vector<std::int32_t> sum(static_cast<std::size_t>(width), 0);
    for (int t = 1; t <= kTerms + 1; ++t) {
      const std::int64_t j = n_ - t;
      if (j >= 0) {
        for (std::int64_t x = j; x <= j + m_; ++x)
          sum[static_cast<std::size_t>(x - window_)] += Row(j, x);
      }
      last_rows_.push_back(sum);
    }
  }

  // The digits of the total from offset 0 up, or nothing when too many places needed the
  // closed form.
  std::optional<std::vector<std::int16_t>> Digits() {
    std::vector<std::int8_t> f(static_cast<std::size_t>(span_)), g(static_cast<std::size_t>(span_));
    for (std::int64_t p = 0; p < span_; ++p) {
      if (p % kPlacesPerCheck == 0) CheckPoint();
      const std::optional<int> fp = Settle(p, 0), gp = Settle(p, 1);
      if (!fp || !gp) return std::nullopt;
      f[static_cast<std::size_t>(p)] = static_cast<std::int8_t>(*fp);
      g[static_cast<std::size_t>(p)] = static_cast<std::int8_t>(*gp);
    }
    std::vector<std::int16_t> total(static_cast<std::size_t>(span_));
    for (std::int64_t q = 0; q < span_; ++q) {
      const std::size_t i = static_cast<std::size_t>(q);
      const std::int64_t low = e_[i] + f[i];
      std::int64_t digit = low - 10 * FloorDiv(low, 10);
      if (q > 0) {
        const std::int64_t below = e_[i - 1] + f[i - 1];
        const std::int64_t without_last = e_[i - 1] - Row(n_ - 1, q - 1) + g[i - 1];
        digit += FloorDiv(below, 10) - FloorDiv(without_last, 10);
      }
      total[i] = static_cast<std::int16_t>(digit);
    }
    return total;
  }

 private:
  // Row j at offset x: rem(a(j) * b(l)) + quo(a(j) * b(l - 1)) with l = x - j.
  std::int32_t Row(std::int64_t j, std::int64_t x) const {
    const std::int64_t l = x - j;
    if (j < 0 || l < 0 || l > m_) return 0;
    const int digit = a_[static_cast<std::size_t>(j)];
    const int here = l < m_ ? digit * b_[static_cast<std::size_t>(l)] : 0;
    const int below = l > 0 ? digit * b_[static_cast<std::size_t>(l - 1)] : 0;
    return here % 10 + below / 10;
  }

  int E(std::int64_t x) const { return x < 0 || x >= span_ ? 0 : e_[static_cast<std::size_t>(x)]; }

  // Rows n-t-extra..n-1 at offset x.
  std::int64_t LateRows(std::int64_t t, int extra, std::int64_t x) {
    if (t + extra <= kTerms + 1) {
      const std::vector<std::int32_t>& rows = last_rows_[static_cast<std::size_t>(t + extra - 1)];
      const std::int64_t i = x - window_;
      return i < 0 || i >= static_cast<std::int64_t>(rows.size())
                 ? 0
                 : rows[static_cast<std::size_t>(i)];
    }
    const std::int64_t first = std::max({std::int64_t{0}, n_ - t - extra, x - m_});
    const std::int64_t last = std::min(n_ - 1, x);
    std::int64_t sum = 0;
    for (std::int64_t j = first; j <= last; ++j) sum += Row(j, x);
    return sum;
  }

  // An upper bound of 10^t times the terms of Z beyond the t-th: the term at depth u sums at
  // most u + extra rows of at most row_bound_ each.
  std::int64_t TailBound(std::int64_t t, int extra) const {
    return (row_bound_ * ((t + extra) * 9 + 10)) / 81 + 1;
  }

  // floor(F(p) - Z(p)) with extra = 0 (f), or with one more row in each term (g).
  std::optional<int> Settle(std::int64_t p, int extra) {
    // No late row reaches below offset n - extra, so there Z is 0 and F alone lies in [0, 1).
    if (p < n_ - extra) return 0;
    std::int64_t sum = 0;
    const std::int64_t width = static_cast<std::int64_t>(last_rows_[0].size());
    if (p - kTerms >= window_ && p - 1 - window_ < width) {
      // Every place the terms read lies inside the digits and the late rows' window.
      const std::int8_t* e = e_.data() + p;
      const std::int64_t i = p - window_;
      for (int t = 1; t <= kTerms; ++t) {
        sum = 10 * sum + e[-t] -
              last_rows_[static_cast<std::size_t>(t + extra - 1)][static_cast<std::size_t>(i - t)];
      }
    } else {
      for (int t = 1; t <= kTerms; ++t) sum = 10 * sum + E(p - t) - LateRows(t, extra, p - t);
    }
    const std::int64_t whole = FloorDiv(sum, kScale);
    std::int64_t rest = sum - whole * kScale;  // what lies above the whole number, times 10^kTerms
    if (rest >= TailBound(kTerms, extra)) return static_cast<int>(whole);
    for (std::int64_t t = kTerms + 1; t <= kTerms + kMoreTerms; ++t) {
      // Below offset 0 every digit and row is 0: the sum is exact.
      if (p - t < 0) return static_cast<int>(rest >= 0 ? whole : whole - 1);
      rest = 10 * rest + E(p - t) - LateRows(t, extra, p - t);
      if (rest < 0) return static_cast<int>(whole - 1);
      if (rest >= TailBound(t, extra)) return static_cast<int>(whole);
    }
    if (++closed_forms_ > kClosedFormLimit) return std::nullopt;
    const bool at_or_above = extra == 0 ? ClosedFormAtOrAbove(p - n_ + 1, n_ - 1)
                                        : ClosedFormAtOrAbove(p - n_ + 2, n_ - 2);
    return static_cast<int>(at_or_above ? whole : whole - 1);
  }

  // Whether the sum lies at or above the whole number it is known to lie within 10^-30 of. In
  // closed form the sum is (A * B(from k) + Q(b(k - 1))) / 10^scale less a whole number, so it
  // lies at or above the nearest whole number when that numerator's remainder by 10^scale is
  // below half of 10^scale. (For g, k is one higher and the scale one lower: Z with one more row
  // in each term is 10 Z(p + 1) less the last row's digit at p, a whole number.)
  bool ClosedFormAtOrAbove(std::int64_t k, std::int64_t scale) {
    mpz_class numerator;
    if (k < m_) {
      const std::int64_t from = std::max<std::int64_t>(k, 0);
      numerator = ValueOf(std::vector<int>(b_.begin() + from, b_.end())) * PowerOf10(from - k);
      numerator *= value_a_;
    }
    numerator += QuotientRow(k - 1 >= 0 && k - 1 < m_ ? b_[static_cast<std::size_t>(k - 1)] : 0);
    const mpz_class& modulus = PowerOf10(scale);
    mpz_fdiv_r(numerator.get_mpz_t(), numerator.get_mpz_t(), modulus.get_mpz_t());
    return 2 * numerator < modulus;
  }

  // Q(w): the sum of 10^j * quo(a(j) * w), kept per digit value w.
  const mpz_class& QuotientRow(int w) {
    auto [it, added] = quotient_rows_.try_emplace(w);
    if (added) {
      std::vector<int> quotients(a_.size());
      for (std::size_t j = 0; j < a_.size(); ++j) quotients[j] = a_[j] * w / 10;
      it->second = ValueOf(quotients);
    }
    return it->second;
  }

  const mpz_class& PowerOf10(std::int64_t n) {
    auto [it, added] = powers_.try_emplace(n);
    if (added) mpz_ui_pow_ui(it->second.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return it->second;
  }

  const std::vector<int>& a_;
  const std::vector<int>& b_;
  const std::int64_t n_, m_;
  const std::int64_t row_bound_;
  std::int64_t span_ = 0;
  std::vector<std::int8_t> e_;
  std::int64_t window_ = 0;
  std::vector<std::vector<std::int32_t>> last_rows_;
  mpz_class value_a_;
  std::map<int, mpz_class> quotient_rows_;
  std::map<std::int64_t, mpz_class> powers_;
  int closed_forms_ = 0;
};

}  // namespace

std::optional<HugeNumber> ProductFromValue(const HugeNumber& a, const HugeNumber& b) {
  const std::optional<Magnitudes> x = OneSigned(a), y = OneSigned(b);
  // The closed form needs a modulus of 10^(rows - 2) at least 10; fewer rows are cheap anyway.
  if (!x || !y || x->digits.size() < 3 || x->largest * y->largest > kLargestDigitProduct) {
    return std::nullopt;
  }
  Settler settler(*x, *y);
  std::optional<std::vector<std::int16_t>> digits = settler.Digits();
  if (!digits) return std::nullopt;
  AddZeroRows(*digits, x->zero_rows_on_top);
  if (x->sign * y->sign < 0) {
    for (std::int16_t& d : *digits) d = static_cast<std::int16_t>(-d);
  }
  // The total's array reaches from the rows' lowest place and place 0 up to its top carry.
  const std::int64_t base = x->low + y->low;
  const std::int64_t lo = std::min<std::int64_t>({0, base, std::int64_t{a.low()} + b.low() - 1});
  const std::int64_t hi = std::max<std::int64_t>(
      {0, base + static_cast<std::int64_t>(digits->size()) - 1, a.high() + b.high() + 1});
  HugeNumber total = HugeNumber::Zeros(lo, hi);
  std::copy(digits->begin(), digits->end(), total.digits().begin() + (base - lo));
  TrimZeroPlaces(total);
  return total;
}

}  // namespace numeron
