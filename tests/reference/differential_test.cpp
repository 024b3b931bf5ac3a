// Holds the engine to the reference model: random calls of every member go to both, and
// everything that comes back must agree (tests/reference/differential.h says what is compared,
// and draws the arguments each function is called with; the differential fuzz target shares it).
//
// The seed is GoogleTest's random seed, printed by every test; --gtest_random_seed=N replays a
// run. NUMERON_DIFF_ITERATIONS sets the calls per function.
// A disagreement is printed as a row for RegressionRows below, so it can be pasted there and
// replayed on every run once the faulty side is fixed.
#include "tests/reference/differential.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "control/arithmetic/big_integer.h"
#include "control/arithmetic/product.h"
#include "control/arithmetic/product_from_value.h"
#include "control/object/numeron.h"
#include "control/series/quotient_bounds.h"
#include "control/series/running_power.h"

namespace numeron {
namespace {

using namespace differential;

// Replayed first on every run: disagreements found earlier, and the edges of the size limit,
// which random calls are kept away from because arrays at the limit are slow to build.
const std::vector<Row>& RegressionRows() {
  static const std::vector<Row> rows = {
      // Just beyond the limit of 100,000,000 places (a number at the limit takes seconds to
      // build, so none is here): a text, a sum whose carry place is one too many, a sum whose
      // carry place would lie beyond 32 bits.
      {"CreateHugeNumber", {Text("1E-100000000")}},
      {"CreateHugeNumber", {Text("1E100000000")}},
      {"ConvertToString", {Text("1E100000000")}},
      {"Add", {Digits16(99999999, {1}), Digits16(0, {1}), I4(0)}},
      {"Add", {Digits16(2147483647, {5}), Digits16(2147483647, {5}), I4(0)}},
      // Log 1: the power is 0 from the first pass, yet that pass makes its cut, which at
      // Precision -2^31 asks for more places than a number may hold.
      {"Log_e", {Text("1"), I4(5), I4(-2147483648), I4(1)}},
      // A zero mantissa is zero whatever its exponent.
      {"CreateHugeNumber", {Text("0E999999999")}},
      {"CreateHugeNumber", {Text("-.0E+100000001")}},
      {"CreateHugeNumber", {Text("0e-99999999999999999999")}},
      {"Subtract", {Text("00.00e+4294967296"), Text("-6228.623"), I4(2)}},
      {"Compare", {Text("000E-999999999"), I4(2147483647), I4(5)}},
      // A zero needs its one place, however far above place 0 its digits lie.
      {"ConvertToString", {Digits16(2147483642, {0, 0, 10, -1})}},
      {"Compare", {Digits16(2147483642, {0, 0, 10, -1}), Text("0"), I4(0)}},
      // The argument used first reports its error first.
      {"Add", {Text("abc"), Elements(0, {Real(32767.5)}), I4(0)}},
      {"Add", {Elements(0, {Real(32767.5)}), Text("abc"), I4(0)}},
      {"Subtract", {Elements(0, {Real(32767.5)}), Text("abc"), I4(0)}},
      // A double that does not read back from its general text is negated as that text.
      {"Negate", {Real(0x1.c1011302327bep-11)}},
      {"Negate", {Real(-0x1.008ed0ae2f331p+65)}},
      {"Negate", {RealBits(0x7ff8000000000000)}},  // no general text at all
      // Products of far places fail by their size, whichever kind of result is asked for: the
      // total, trimmed, would span from place 0 down to place -200000000.
      {"Multiply", {Text("34.7"), Digits16(-200000000, {7}), I4(-1)}},
      // A row place that cannot hold its value raises Overflow, whichever kind of result is
      // asked for (15 * -32768 leaves -49152 as the carry).
      {"Multiply", {Digits16(0, {15}), Digits16(0, {-32768}), I4(1)}},
      {"Multiply", {Digits16(0, {15}), Digits16(0, {-32768}), I4(3)}},
      // ... and a product whose every row place and total place fits raises nothing (the top
      // place of this total holds 474).
      {"Multiply", {Text("1448582"), Digits16(-8, {3, 11, 32767}), I4(1)}},
      // A carry is stored in its row place before the next remainder is added to it: 32768
      // does not fit, though 32768 - 4 would.
      {"Multiply", {Digits16(6, {-32768, 5, 10}), Digits16(5, {0, -10, 8, 0}), I4(0)}},
      {"MultiplyDigits", {Digits16(6, {-32768, 5, 10}), Digits16(5, {0, -10, 8, 0})}},
      // An array without elements is moved like any other: places min(lo + n, 0) .. lo - 1 + n.
      {"Slide", {Digits16(34, {}), I4(308)}},
      {"Slide", {Digits16(-20, {}), I4(0)}},
      // Long divisions; a quotient of more digits than a number may hold fails before the loop,
      // unless the dividend is zero.
      {"Divide",
       {Text("123456789012345678901234567890123456789012345678901234567890.5"),
        Text("-98765432109876543210.123"), I4(60), I4(1)}},
      {"Divide", {Text("1"), Text("7"), I4(-300), I4(0)}},
      {"Divide", {Text("1"), Text("3"), I4(99999999), I4(1)}},
      {"Divide", {Text("0"), Text("3"), I4(-2147483648), I4(1)}},
      {"InternalDivide",
       {Digits16(-40, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}),
        Digits16(0, {-7, 1, 0, 1}), I4(45)}},
      // A dividend worth 0 whose digits are not all 0 passes the zero test and is divided.
      {"InternalDivide", {Digits16(0, {10, -1}), Digits16(0, {5}), I4(2)}},
      // So is a divisor worth 0: normalised, it is the zero place, and every trial subtraction
      // leaves the dividend non-negative, so every digit is 9. The engine stops the process on
      // this one, so it stands last.
      {"InternalDivide", {Digits16(0, {5}), Digits16(0, {10, -1}), I4(2)}},
  };
  return rows;
}

// ---------------------------------------------------------------------------------------------
// The two sides

class DifferentialTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { engine_ = new platform::Ref<platform::Dispatch>(NewNumeron()); }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
  }

  // One call on both sides; false (and a report) when they disagree.
  static bool Agree(const Row& row, const std::string& where) {
    const Result engine = CallEngine(*engine_->get(), row.function, row.args);
    const Result model = CallModel(row.function, row.args);
    if (Same(engine, model)) return true;
    std::string after;
    if (engine.after != model.after) {
      after = "\n  engine leaves: " + DescribeArgs(engine.after) +
              "\n  model leaves:  " + DescribeArgs(model.after);
    }
    ADD_FAILURE() << "engine and model disagree (" << where << ")\n"
                  << "  " << RowText(row) << "\n"
                  << "  engine: " << Describe(engine) << "\n"
                  << "  model:  " << Describe(model) << after;
    return false;
  }

  static std::uint64_t Seed(std::string_view function) {
    const auto base = static_cast<std::uint64_t>(testing::UnitTest::GetInstance()->random_seed());
    return base * 0x9E3779B97F4A7C15ULL + std::hash<std::string_view>{}(function);
  }

  static int Iterations() {
    const char* env = std::getenv("NUMERON_DIFF_ITERATIONS");
    if (env != nullptr && *env != '\0') return std::atoi(env);
    return 20000;
  }

  // Runs `make_args` many times; stops after kMaxMismatches disagreements.
  // The series functions are slow in the model: fewer calls, NUMERON_DIFF_SERIES_ITERATIONS.
  static int SeriesIterations(int calls) {
    const char* env = std::getenv("NUMERON_DIFF_SERIES_ITERATIONS");
    if (env != nullptr && *env != '\0') return std::atoi(env);
    return calls;
  }

  template <typename MakeArgs>
  static void Run(std::string_view function, MakeArgs make_args, int iterations = Iterations()) {
    constexpr int kMaxMismatches = 10;
    const int seed = testing::UnitTest::GetInstance()->random_seed();
    std::printf("[ seed %d ] %s: %d calls\n", seed, std::string(function).c_str(), iterations);
    SeededChoices choices(Seed(function));
    Generator gen(choices);
    int mismatches = 0;
    for (int i = 0; i < iterations && mismatches < kMaxMismatches; ++i) {
      const Row row{function, make_args(gen)};
      if (!Agree(row, "seed " + std::to_string(seed) + ", call " + std::to_string(i))) ++mismatches;
    }
  }

  static platform::Ref<platform::Dispatch>* engine_;
};

platform::Ref<platform::Dispatch>* DifferentialTest::engine_ = nullptr;

TEST_F(DifferentialTest, RegressionRows) {
  for (const Row& row : RegressionRows()) Agree(row, "regression row");
}

class RandomCallsTest : public DifferentialTest, public testing::WithParamInterface<RandomCalls> {};

TEST_P(RandomCallsTest, AgreeWithTheModel) {
  const RandomCalls& calls = GetParam();
  Run(calls.function, calls.args,
      calls.series_calls ? SeriesIterations(calls.series_calls) : Iterations());
}

INSTANTIATE_TEST_SUITE_P(Members, RandomCallsTest, testing::ValuesIn(kRandomCalls),
                         [](const testing::TestParamInfo<RandomCalls>& info) {
                           return std::string(info.param.label ? info.param.label
                                                               : info.param.function);
                         });

// Around the pass from which every term rounds to zero, where the engine stops summing: for
// Precision 1 to 60 (every fourth for each argument, together all of them), series lengths
// just below, at and beyond that pass (the arguments' own pass, estimated from the size of |t|^e /
// e! for a term t^e / e!, pass j ending on the term of exponent per_pass * j + offset).
TEST_F(DifferentialTest, SeriesAroundTheirLastChangingPass) {
  struct Series {
    std::string_view function;
    std::vector<Variant> leading;  // the arguments before SeriesLength
    double t;
    int per_pass, offset;
  };
  const Series kSeries[] = {
      {"Calculate_e", {}, 1, 1, 0},
      {"eToExponent", {Text("0.5")}, 0.5, 1, 0},
      {"eToExponent", {Text("-3.25")}, 3.25, 1, 0},
      {"eToExponent", {Text("2.5")}, 2.5, 1, 0},
      {"eToExponent", {Text("1E-30")}, 1e-30, 1, 0},
      {"Exponential", {Text("2"), Text("0.5")}, 0.35, 1, 0},
      {"Exponential", {Text("3"), Text("-1.5")}, 1.65, 1, 0},
      {"Sine", {Text("0.5")}, 0.5, 4, 1},
      {"Sine", {Text("-2.5")}, 2.5, 4, 1},
      {"Cosine", {Text("0.75")}, 0.75, 4, 0},
      {"Cosine", {Text("6.5")}, 6.5, 4, 0},
      {"ArcSine", {Text("0.01")}, 0.01, 2, 1},
      {"ArcSine", {Text("-0.125")}, 0.125, 2, 1},
  };
  int call = 0;
  for (const Series& series : kSeries) {
    for (int p = 1 + call % 4; p <= 60; p += 4) {
      int last = 1;
      while ((series.per_pass * last + series.offset) * std::log10(series.t) -
                 std::lgamma(series.per_pass * last + series.offset + 1.0) / std::log(10.0) >
             -p - 0.31) {
        ++last;
      }
      for (int length : {last - 1, last, last + 2}) {
        if (length < 1) continue;
        std::vector<Variant> args = series.leading;
        args.push_back(I4(length));
        args.push_back(I4(p));
        args.push_back(I4(call++ % 3));
        Agree({series.function, args}, "precision " + std::to_string(p));
      }
    }
  }
}

// Longer operands than the random calls reach, the arctangent and logarithm quotients among them
// (divided by their odd counters digit by digit).
TEST_F(DifferentialTest, SeriesAtLongerPrecisions) {
  const Row rows[] = {
      {"ArcTangent", {Text("0.5"), I4(40), I4(400), I4(1)}},
      {"ArcTangent", {Text("-0.0123456789"), I4(25), I4(-300), I4(0)}},
      {"Log_e", {Text("2"), I4(30), I4(300), I4(1)}},
      {"Log_e", {Text("0.0625"), I4(12), I4(250), I4(0)}},
      {"Sine", {Text("1.25"), I4(30), I4(300), I4(1)}},
      {"eToExponent", {Text("-0.75"), I4(60), I4(300), I4(0)}},
      {"Calculate_e", {I4(60), I4(350), I4(1)}},
  };
  for (const Row& row : rows) Agree(row, "longer precision");
}

// Array products of operands around the switch to the product's value (64 non-zero digits of a,
// 64 places of b): a's non-zero digits spread among zeros (each run of rows its own group), b
// with a single non-zero digit, digits of either sign, digits up to the largest product the
// value path takes (30 x 30) and beyond, and sums that outgrow the row array's top.
TEST_F(DifferentialTest, ArrayProductsAroundTheValueSwitch) {
  auto operand = [](Generator& g, std::int64_t nonzero, std::int64_t size, int largest) {
    const int sign = g.Chance(30) ? -1 : 1;
    std::vector<std::int16_t> digits(static_cast<std::size_t>(size), 0);
    for (std::int64_t k = 0; k < nonzero; ++k) {
      digits[static_cast<std::size_t>(g.Int(0, size - 1))] =
          static_cast<std::int16_t>(sign * g.Int(1, largest));
    }
    digits.back() = static_cast<std::int16_t>(sign * g.Int(1, largest));
    if (g.Chance(5)) digits.front() = static_cast<std::int16_t>(-digits.front());  // mixed signs
    return Digits16(static_cast<std::int32_t>(g.Int(-120, 10)), std::move(digits));
  };
  Run(
      "Multiply",
      [&](Generator& g) {
        const std::int64_t rows = g.Int(62, 66);
        const int largest = g.Chance(80) ? 9 : static_cast<int>(g.Int(29, 31));
        const Variant a = operand(g, rows, rows + (g.Chance(50) ? 0 : g.Int(1, 200)), largest);
        const Variant b = g.Chance(20) ? operand(g, 1, g.Int(63, 66), 9)
                                       : operand(g, g.Int(63, 66), g.Int(63, 200), largest);
        return std::vector<Variant>{a, b, I4(0)};
      },
      SeriesIterations(300));
}

// Long array products held to the rows added one by one (the model is too slow for them), which
// the model holds to at the sizes above.
TEST_F(DifferentialTest, LongArrayProductsAgreeWithTheRows) {
  std::mt19937_64 random(20261207);
  // n digits, each zero with the given chance in percent, in runs of up to `run` zeros.
  auto digits = [&](std::size_t n, int zeros, std::size_t run, int sign) {
    std::vector<std::int16_t> d;
    while (d.size() < n) {
      if (static_cast<int>(random() % 100) < zeros) {
        d.resize(std::min(n, d.size() + 1 + random() % run), 0);
      } else {
        d.push_back(static_cast<std::int16_t>(sign * static_cast<int>(1 + random() % 9)));
      }
    }
    d.back() = static_cast<std::int16_t>(sign * 7);
    return d;
  };
  struct Case {
    HugeNumber a, b;
  };
  const Case cases[] = {
      {HugeNumber(0, digits(20000, 10, 1, 1)), HugeNumber(-3, digits(20000, 10, 1, 1))},
      // Few long runs of non-zero digits spread over 200,000 places: many groups.
      {HugeNumber(-5, digits(200000, 40, 2000, 1)), HugeNumber(0, digits(200000, 10, 1, -1))},
      {HugeNumber(0, digits(100000, 10, 1, -1)), HugeNumber(-70, digits(71, 100, 1, 1))},
      {HugeNumber(2, digits(10000, 30, 40, -1)), HugeNumber(-9, digits(50000, 30, 3, -1))},
      {HugeNumber(0, std::vector<std::int16_t>(10000, 9)),
       HugeNumber(0, std::vector<std::int16_t>(12000, 9))},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(ProductFromValue(c.a, c.b, true).has_value()) << c.a.size();
    EXPECT_EQ(ProductOf(c.a, c.b), AddRowsOneByOne(c.a, c.b, true)) << c.a.size();
    // The series code adds every row, zero or not: only where a spans few enough places.
    if (c.a.size() * c.b.size() <= 500'000'000) {
      EXPECT_EQ(MultiplyDigits(c.a, c.b), AddRowsOneByOne(c.a, c.b, false)) << c.a.size();
    }
  }
}

// The running power of the sine, cosine, arcsine and arctangent series, kept as a value where
// every cut provably falls among the digits the value fixes, against the digit arrays carried
// step by step: around the Precision where the value is first trusted, and at long Precisions
// the reference model is too slow for. Arguments of both signs, short and long, below and above
// 1, and a first power that is x^2 (cosine).
TEST_F(DifferentialTest, RunningPowersAgreeWithTheirDigits) {
  // Each case is checked around its threshold with `steps` steps, then at a long Precision
  // where the power is cut in most of its steps.
  struct Case {
    std::string x;
    bool square;
    std::int64_t steps;
    std::int32_t long_precision;
    std::int64_t long_steps;
  };
  std::string long_x = "-0.";
  for (int i = 0; i < 25; ++i) long_x += "9876543210";
  const Case kCases[] = {{"0.5", false, 6, 2000, 2000},   {"-0.5", true, 9, 1500, 1800},
                         {"0.75", true, 12, 900, 1200},   {"-2.5", false, 7, 2000, 1200},
                         {"1.5", false, 5, 1000, 1100},   {"0.123456789", false, 6, 3000, 700},
                         {"-0.0625", true, 8, 1200, 400}, {"0.9", false, 40, 600, 700},
                         {long_x, false, 5, 12'000, 60}};
  const auto run = [](const HugeNumber& x, const HugeNumber& first, std::int32_t precision,
                      std::int64_t steps) {
    RunningPower fast(first, x, precision, steps);
    RunningPower digits(first, x, precision, steps, RunningPower::Path::kDigits);
    for (std::int64_t step = 0; step <= steps; ++step) {
      const auto value = [](const RunningPower& p) {
        return NormalFromScaled(abs(p.value()), p.value() < 0, p.exponent());
      };
      if (value(fast) != value(digits) || fast.LowestReach() != digits.LowestReach() ||
          fast.HighBound() < digits.HighBound()) {
        ADD_FAILURE() << "step " << step << ", precision " << precision;
        break;
      }
      if (step < steps) {
        fast.Step();
        digits.Step();
      }
    }
    return !fast.CarriesDigits();
  };
  for (const Case& c : kCases) {
    const HugeNumber x = ToNormalHugeNumber(Text(c.x));
    const HugeNumber first = c.square ? ProductOf(x, x) : ProductOf(ProductOf(x, x), x);
    std::int32_t precision = 1;
    while (RunningPower(first, x, precision, c.steps).CarriesDigits()) ++precision;
    for (std::int32_t p : {precision - 1, precision, precision + 1, -(precision + 7)}) {
      EXPECT_EQ(run(x, first, p, c.steps), std::abs(p) >= precision) << c.x << " at " << p;
    }
    EXPECT_TRUE(run(x, first, c.long_precision, c.long_steps)) << c.x;
  }
}

// The adder works its raw sums in 16-bit lanes while every digit lies within +-16383, in 32-bit
// lanes otherwise: digits at both sides of that bound, at the ends of 16 bits, in long arrays.
TEST_F(DifferentialTest, AddDigitsAcrossTheLaneWidths) {
  const std::vector<std::int16_t> kEdges[] = {
      {16383, 16383, -16383, 7}, {16384, 16383, -16384}, {32767, -32768, 9, 32767}, {-1, 10, -10}};
  for (const auto& edge : kEdges) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{10'000}}) {
      std::vector<std::int16_t> digits(length, 9);
      digits.insert(digits.end(), edge.begin(), edge.end());
      // The edge added to itself (sums up to twice 16 bits) and to the array's own end.
      const auto at = static_cast<std::int32_t>(length) - 3;
      Agree({"AddDigits", {Digits16(-3, digits), Digits16(at, edge)}}, "lane widths");
      Agree({"AddDigits", {Digits16(at - 1, edge), Digits16(-3, digits)}}, "lane widths");
    }
  }
}

// The quotients the series take from bounds carried from pass to pass, against the exact
// division of the same values, pass by pass: the exponential's exact powers over k!, and the
// sine's powers cut at place -Precision (the bounds lowered by what a cut loses), at Precisions
// from 1 to beyond what the reference model reaches.
TEST_F(DifferentialTest, QuotientBoundsGiveTheExactQuotients) {
  struct Case {
    const char* x;
    std::int32_t precision;
    int passes;
  };
  const Case kCases[] = {{"2", 1, 12},        {"-0.5", 7, 30},    {"0.75", 40, 60},
                         {"-3.25", 60, 80},   {"0.5", 3000, 700}, {"2", 10'000, 1200},
                         {"1.5", 12'000, 400}};
  for (const Case& c : kCases) {
    const HugeNumber x = ToNormalHugeNumber(Text(c.x));
    const auto x1 = QuotientBounds::ShortPower(x, 1), x2 = QuotientBounds::ShortPower(x, 2);
    mpz_class power = MagnitudeOf(x), factorial = 1;
    if (IsNegative(x)) power = -power;
    QuotientBounds exponential(c.precision), sine(c.precision);
    RunningPower cut(ProductOf(ProductOf(x, x), x), x, c.precision, c.passes);
    mpz_class sine_factorial = 6;
    double log10_factorial = std::log10(6.0);
    for (int k = 1; k <= c.passes; ++k) {
      const std::int64_t exponent = std::int64_t{x.low()} * k;
      const HugeNumber expected = InternalDivideScaled(power, exponent, factorial, c.precision);
      const HugeNumber got = exponential.Term(
          power < 0, [&] { return std::pair(power, exponent); }, factorial);
      ASSERT_EQ(got, expected) << c.x << " exponential pass " << k << " at " << c.precision;
      const HugeNumber sine_expected =
          InternalDivideScaled(cut.value(), cut.exponent(), sine_factorial, c.precision);
      const HugeNumber sine_got = sine.Term(
          cut.value() < 0, [&] { return std::pair(cut.value(), cut.exponent()); }, sine_factorial);
      ASSERT_EQ(sine_got, sine_expected) << c.x << " sine pass " << k << " at " << c.precision;
      power *= MagnitudeOf(x) * (IsNegative(x) ? -1 : 1);
      factorial *= k + 1;
      exponential.Scale(x1->numerator, x1->denominator * (k + 1u), {});
      const unsigned long n = 2 * k + 1;
      cut.Step();
      sine_factorial *= (n + 1) * (n + 2);
      log10_factorial += std::log10((n + 1.0) * (n + 2.0));
      if (cut.CarriesDigits()) {
        sine.Forget();
      } else {
        sine.Scale(
            x2->numerator, x2->denominator * (n + 1) * (n + 2),
            QuotientBounds::CutLoss(cut.CutFraction(), std::pow(10.0, 17 - log10_factorial)));
      }
    }
  }
  // Quotients that end within the bounds' places are carried exactly (1 / 2^k ends on its k-th
  // place; Precision 30 keeps 47 places), then by bounds once they no longer end there.
  QuotientBounds halves(30);
  mpz_class power_of_two = 1;
  for (int k = 0; k <= 60; ++k, power_of_two *= 2) {
    const HugeNumber got = halves.Term(
        false, [] { return std::pair(mpz_class(1), std::int64_t{0}); }, power_of_two);
    ASSERT_EQ(got, InternalDivideScaled(1, 0, power_of_two, 30)) << "1 / 2^" << k;
    halves.Scale(1, 2, {});
  }
}

// Quotients that end exactly on the guard place (x^k over factors of 2 and 5 and the counters'
// own factors), where the bounds sit exactly on a whole number of the guard place and what a cut
// of the power loses must be taken neither too large nor too small; the first row is the one a
// random call found.
TEST_F(DifferentialTest, SeriesWhoseQuotientsEndOnTheGuardPlace) {
  Agree({"ArcCosine", {Digits16(-4, {-1, -6, -17, 11, -1, 0}), I4(2), I4(19), I4(1)}}, "found");
  for (const char* x : {"-0.0761", "0.5", "0.25", "-0.125", "0.2", "0.75"}) {
    for (const int p : {9, 19, 33}) {
      for (const std::string_view function : {"ArcSine", "ArcTangent", "Sine", "Cosine"}) {
        Agree({function, {Text(x), I4(p / 3), I4(p), I4(1)}}, "ending quotients");
      }
    }
  }
}

}  // namespace
}  // namespace numeron
