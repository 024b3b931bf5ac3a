// The dispatch interface as any host could use it, hostile ones included: typed parameters and
// defaults, write-backs, sizes at and beyond the limits, 32-bit extremes, digits that overflow
// 16 bits, wrong kinds and counts, unknown members. Every call must come back quickly with a
// clear status, a table error or the right result, and must leave the caller's variables as they
// were, except a value the member writes back.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "control/object/numeron.h"
#include "platform/dispatch.h"
#include "platform/error.h"
#include "tests/test_values.h"

namespace numeron {
namespace {

using platform::HResult;
using platform::ParamType;
using platform::Variant;
using platform::VariantKind;
using test::Elements;
using test::Shorts;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kOverflow = -2146828282;
constexpr std::int32_t kTypeMismatch = -2146828275;
constexpr std::int32_t kOutOfMemory = -2146828281;
constexpr std::int32_t kSeriesLength = -2147220503;

Variant I4(std::int32_t v) { return Variant(v); }

using test::Outcome;

class HostileTest : public testing::Test {
 protected:
  template <typename Member>
  Outcome Call(Member member, std::vector<Variant> variables) {
    return test::Call(*object_.get(), member, std::move(variables));
  }

  platform::Ref<platform::Dispatch> object_{NewNumeron()};
};

// A row: the call, the error it raises (0: none), its result (kAny: not checked), and the
// argument a member writes back (index and value), if any.
const Variant kAny = Variant::Missing();
struct Row {
  const char* name;
  std::vector<Variant> args;
  std::int32_t error;
  Variant result = kAny;
  std::optional<std::pair<std::size_t, Variant>> written = std::nullopt;
};

void Check(const Row& row, const Outcome& out) {
  if (row.error == 0) {
    EXPECT_EQ(out.status, platform::kOk);
    if (row.result != kAny) {
      EXPECT_EQ(out.result, row.result);
    }
  } else {
    EXPECT_EQ(out.status, platform::kException) << out.result;
    EXPECT_EQ(out.error, row.error);
  }
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    SCOPED_TRACE(i);
    if (row.written && row.written->first == i) {
      EXPECT_EQ(out.after[i], row.written->second);
    } else {
      EXPECT_EQ(out.after[i], row.args[i]);  // untouched
    }
  }
}

TEST_F(HostileTest, TypedParametersDefaultsAndWriteBacks) {
  const Variant quarter = Shorts(-1, {5, 2});  // 2.5, as Add(1.5, 1) gives it as an array
  const Row rows[] = {
      // Return_Type converted as a Long: texts read, doubles rounded half to even, empty is 0.
      {"Add", {Variant("1.5"), Variant("1"), Variant(" 2 ")}, 0, Variant(2.5)},
      {"Add", {Variant("1.5"), Variant("1"), Variant(1.5)}, 0, Variant(2.5)},
      {"Add", {Variant("1.5"), Variant("1"), Variant(0.5)}, 0, quarter},
      {"Add", {Variant("1.5"), Variant("1"), Variant(true)}, 0, Variant()},  // -1: no result
      {"Add", {Variant("1.5"), Variant("1"), Variant()}, 0, quarter},
      {"Add", {Variant("1.5"), Variant("1"), Variant("x")}, kTypeMismatch},
      {"Add", {Variant("1.5"), Variant("1"), Variant(3e9)}, kOverflow},
      {"Add", {Variant("1.5"), Variant("1"), Shorts(0, {})}, kTypeMismatch},
      // Defaults of missing optional arguments.
      {"Add", {Variant("1.5"), Variant("1")}, 0, quarter},
      {"Compare", {Variant("1"), Variant("1.0")}, 0, Variant(true)},
      {"Pi", {Variant::Missing(), I4(1)}, 0, Variant("3.1415926535")},
      {"eToExponent", {Variant::Missing(), I4(30), I4(10), I4(1)}, 0, Variant("7.3890560988")},
      {"Pi", {I4(2), I4(0)}, 0, Shorts(-2, {4, 1, 3, 0})},  // the place above the ones stays
      // Pi and e write back the places they used, at most 999.
      {"Pi", {I4(-20), I4(1)}, 0, Variant("3.14159265358979323846"), {{0, I4(20)}}},
      {"Pi", {Variant(-5.0), I4(1)}, 0, Variant("3.14159"), {{0, I4(5)}}},
      {"e", {I4(-3), I4(7)}, 0, Variant("2.718"), {{0, I4(3)}}},  // other kinds are text
      // Unnormalised and padded arguments are read, never changed.
      {"Subtract", {Shorts(0, {0, 10, 1}), Variant("  1.50 ")}, 0, kAny},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.name << "(" << row.args[0] << ", ...)");
    Check(row, Call(row.name, row.args));
  }
}

TEST_F(HostileTest, TheInterfaceAndTheControlArePublished) {
  const platform::TypeLibrary& lib = object_->GetTypeInfo();
  EXPECT_EQ(lib.members.size(), 44u);
  EXPECT_EQ(lib.name, "NumeronControl");
  platform::DispId id = 0;
  EXPECT_EQ(object_->GetIDsOfNames("divide", &id), platform::kOk);  // names ignore case
  EXPECT_EQ(id, 0x60030027);
  EXPECT_NE(lib.Find("Slide")->help.find("(numeric_expression)*(10^decimalplaceshift)."),
            std::string::npos);
  EXPECT_EQ(lib.Find(0x60030039)->params[1].default_value, Variant(std::int16_t{10}));
  EXPECT_EQ(lib.Find("LineUpStringValues")->params[2].type_name, "Flag");
  // The control keeps its own extent whatever the host proposes.
  platform::Control* control = object_->AsControl();
  control->SetExtent(9000, 15);
  std::int32_t width = 0, height = 0;
  control->GetExtent(&width, &height);
  EXPECT_EQ(width, 480);
  EXPECT_EQ(height, 480);
}

TEST_F(HostileTest, SizesBeyondTheLimitsFailFastWithOverflow) {
  const Variant far_digit = Shorts(kMax, {5});
  const Row rows[] = {
      {"CreateHugeNumber", {Variant("1E999999999")}, kOverflow},
      {"Add", {Variant("-1E-999999999"), Variant("1"), I4(1)}, kOverflow},
      {"Compare", {Variant("1E999999999"), Variant("1"), I4(0)}, kOverflow},
      {"CreateHugeNumber",
       {Variant("0E999999999")},
       0},  // zero needs one place, whatever its exponent
      // Moving a number by 2^31-1 places: a canonical number as a double (its shift limited to
      // what a double reaches and written back), an array by its bounds, other text not at all.
      {"Slide", {Variant("1"), I4(kMax)}, 0, kAny, {{1, I4(308)}}},
      {"Slide", {Variant("-1.50"), I4(kMax)}, kOverflow},
      {"Slide", {Shorts(0, {5, 2}), I4(kMax)}, kOverflow},
      {"Slide", {Shorts(0, {5}), I4(kMin)}, 0},  // one place, at -2^31
      // Decimal places of 2^31-1 and -2^31 (which counts as 2^31-1).
      {"Divide", {Variant("1"), Variant("3"), I4(kMax), I4(1)}, kOverflow},
      {"Divide", {Variant("1"), Variant("3"), I4(kMin), I4(1)}, kOverflow},
      {"Divide", {Variant("0"), Variant("3"), I4(kMin), I4(1)}, 0, "0"},
      {"Round", {Variant("2.5"), I4(kMin)}, 0, kAny, {{1, I4(kMax)}}},
      {"Round", {Variant("2.50"), I4(kMin)}, 0, "2.5", {{1, I4(kMax)}}},
      {"Pi", {I4(kMax), I4(1)}, 0, kAny, {{0, I4(999)}}},
      {"e", {I4(kMin), I4(1)}, 0, kAny, {{0, I4(999)}}},
      {"Sine", {Variant("1"), I4(30), I4(kMax), I4(1)}, kOverflow},
      {"Log_e", {Variant("2"), I4(30), I4(kMax), I4(1)}, kOverflow},
      {"ArcTangent", {Variant("0.5"), I4(30), I4(kMax), I4(1)}, kOverflow},
      // Exponential writes |SeriesLength| and |Precision| back before it works.
      {"Exponential",
       {Variant("2"), Variant("0.5"), I4(30), I4(kMin), I4(1)},
       kOverflow,
       kAny,
       {{3, I4(kMax)}}},
      // A SeriesLength of -2^31 is refused before any term.
      {"Sine", {Variant("1"), I4(kMin), I4(10), I4(1)}, kSeriesLength},
      // Whole exponents beyond 32 bits, and factorials whose result could not be held.
      {"Exponential", {Variant("2"), Variant("2147483648"), I4(30), I4(10), I4(1)}, kOverflow},
      {"Factorial", {Variant("1E30"), I4(1)}, kOverflow},
      {"Factorial", {I4(kMax), I4(1)}, kOverflow},
      // Places at the ends of 32 bits: an array that normalises down to place 0 from there needs
      // 2^31 places; a bound beyond 32 bits is none at all.
      {"ConvertToString", {far_digit}, kOverflow},
      {"Add", {far_digit, far_digit, I4(0)}, kOverflow},
      {"ConvertToString", {Shorts(kMin, {5})}, kOverflow},
      {"Negate", {Shorts(kMin + 1, {0, 0, 7})}, 0},  // an array is negated where it stands
      {"GetLowestPlace", {Shorts(kMin, {1, 0})}, kOverflow},
      {"GetDigit", {Shorts(kMin, {1}), Variant(0.0)}, 0},  // never raises
      {"Increment", {Shorts(kMin, {1})}, kOverflow},
      {"CreateHugeNumber", {Shorts(kMin, {})}, 0},      // no elements: zero
      {"CreateHugeNumber", {Shorts(kMin, {0, 0})}, 0},  // only zeros: zero
      // 16-bit digits whose sums and products leave 16 bits: carried, they are exact; a place
      // that must hold more than 16 bits before its carry can leave is an Overflow.
      {"Add", {Shorts(0, {32767}), Shorts(0, {1}), I4(1)}, 0, "32768"},
      {"Add", {Shorts(0, {32767, 32767}), Shorts(0, {32767, 32767}), I4(1)}, 0, "720874"},
      {"Multiply", {Shorts(0, {32767}), Shorts(0, {2}), I4(1)}, 0, "65534"},
      {"Multiply", {Shorts(0, {15}), Shorts(0, {-32768}), I4(1)}, kOverflow},
      {"ConvertToString", {Shorts(0, {32767, 32767})}, kOverflow},
      {"Increment", {Shorts(0, {32767})}, kOverflow},
      {"Add", {Elements(0, {Variant(32767.5)}), Variant("1"), I4(1)}, kOverflow},
      {"Compare", {Shorts(0, {32767, 1}), Variant("32777"), I4(0)}, 0},  // carried once, it fits
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << row.name << "(" << (row.args.empty() ? Variant() : row.args[0]) << ", ...)");
    Check(row, Call(row.name, row.args));
  }
}

// Series asked for 2^31-1 terms, and whole powers of 2^31-1. Each must fail fast with Overflow
// (a factorial, a coefficient or a power that would outgrow the place limit long before the last
// term) or give the sum that a shorter series already settles on (the terms of Log_e and
// ArcTangent vanish below Precision).
TEST_F(HostileTest, SeriesOfAnyLengthEndQuickly) {
  const Row rows[] = {
      {"Calculate_e", {I4(kMax), I4(10), I4(1)}, kOverflow},
      {"eToExponent", {Variant("1"), I4(kMax), I4(10), I4(1)}, kOverflow},
      {"Sine", {Variant("1"), I4(kMax), I4(10), I4(1)}, kOverflow},
      {"ArcSine", {Variant("0.5"), I4(kMax), I4(10), I4(1)}, kOverflow},
      {"Exponential", {Variant("2"), Variant("0.5"), I4(kMax), I4(10), I4(1)}, kOverflow},
      {"Exponential", {Variant("2"), Variant("2147483647"), I4(30), I4(10), I4(1)}, kOverflow},
      {"Exponential", {Variant("2"), Variant("-2147483648"), I4(30), I4(10), I4(1)}, kOverflow},
      {"Exponential", {Variant("1"), Variant("2147483647"), I4(30), I4(10), I4(1)}, 0, "1"},
      // A factorial handed back as an array is multiplied out factor by factor.
      {"Factorial", {Variant("1E30"), I4(0)}, kOverflow},
      {"Factorial", {I4(kMax), I4(0)}, kOverflow},
      {"Log_e", {Variant("2"), I4(kMax), I4(10), I4(1)}, 0, "0.6931471802"},
      {"ArcTangent", {Variant("0.5"), I4(kMax), I4(10), I4(1)}, 0, "0.463647609"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Check(row, Call(row.name, row.args));
  }
}

TEST_F(HostileTest, TenMillionDigitsAreExact) {
  std::string digits(10'000'000, '7');
  const Outcome made = Call("CreateHugeNumber", {Variant(digits)});
  ASSERT_EQ(made.status, platform::kOk);
  EXPECT_EQ(made.result.array().lower_bound, 0);
  EXPECT_EQ(made.result.array().size(), 10'000'000);
  const Outcome sum = Call("Add", {Variant(digits), Variant("0.3"), I4(1)});
  ASSERT_EQ(sum.status, platform::kOk);
  EXPECT_EQ(sum.result, Variant(digits + ".3"));
  EXPECT_EQ(sum.after[0], Variant(digits));
  const Outcome compare = Call("Compare", {Variant(digits), made.result, I4(0)});
  EXPECT_EQ(compare.result, Variant(true));
}

// An allocation that fails inside GMP (under an address-space limit, in a child process) ends
// that call with Out of memory, and the process goes on to answer the next call. Sanitizers
// reserve far more address space than any such limit leaves.
TEST_F(HostileTest, AllocationFailuresInsideGmpAreOutOfMemory) {
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  GTEST_SKIP() << "no address-space limit under a sanitizer";
#endif
#endif
  struct Case {
    const char* name;
    std::vector<Variant> args;
    long megabytes;  // above what the process holds already
  };
  const Case cases[] = {{"Divide", {Variant("1"), Variant("3"), I4(10'000'000), I4(1)}, 40},
                        {"Factorial", {Variant("1000000"), I4(1)}, 30}};
  for (const Case& c : cases) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      long pages = 0;
      std::FILE* statm = std::fopen("/proc/self/statm", "r");
      if (!statm || std::fscanf(statm, "%ld", &pages) != 1) _exit(2);
      const auto bytes = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + (c.megabytes << 20));
      const rlimit limit{bytes, bytes};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(3);
      const Outcome out = Call(c.name, c.args);
      const bool next = Call("Add", {Variant("1"), Variant("1"), I4(1)}).result == Variant("2");
      _exit(out.status == platform::kException && out.error == kOutOfMemory && next ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.name << ": " << status;
  }
}

// Every parameter of every member, given a value of a kind it cannot take, while the others are
// fine: Type mismatch, and nothing changed. Members that classify any value or promise never to
// raise take any value in their Variant parameters.
TEST_F(HostileTest, WrongKindsAreTypeMismatches) {
  const Variant nested = Elements(0, {Shorts(0, {1})});  // an array holding an array
  const Variant wrong_numbers[] = {Variant("abc"), Variant("1,000"), nested};
  const Variant wrong_integers[] = {Variant("abc"), Shorts(0, {1}), Variant("1.2.3")};
  for (const platform::MemberDesc& member : object_->GetTypeInfo().members) {
    const bool takes_anything = member.name == "IsNumericEx" || member.name == "GetType" ||
                                member.name == "GetDigit" || member.name == "LineUpStringValues";
    // Fine arguments: a number every member accepts, 2 for the reciprocal inverse functions
    // (whose reciprocal must lie within 1).
    const bool reciprocal =
        member.name == "ArcCotangent" || member.name == "ArcSecant" || member.name == "ArcCosecant";
    std::vector<Variant> fine;
    for (const platform::ParamDesc& param : member.params) {
      fine.push_back(param.type == ParamType::Int32 ? I4(1) : Variant(reciprocal ? "2" : "0.5"));
    }
    for (std::size_t i = 0; i < member.params.size(); ++i) {
      const bool typed = member.params[i].type != ParamType::Variant;
      if (!typed && takes_anything) continue;
      for (const Variant& wrong : typed ? wrong_integers : wrong_numbers) {
        SCOPED_TRACE(testing::Message() << member.name << " parameter " << i << " = " << wrong);
        std::vector<Variant> args = fine;
        args[i] = wrong;
        const Outcome out = Call(member.id, args);
        EXPECT_EQ(out.status, platform::kException);
        EXPECT_EQ(out.error, kTypeMismatch);
        EXPECT_EQ(out.after[i], wrong);
      }
    }
  }
}

TEST_F(HostileTest, CountsAndIdentifiersComeBackAsStatusCodes) {
  for (const platform::MemberDesc& member : object_->GetTypeInfo().members) {
    SCOPED_TRACE(member.name);
    std::vector<Variant> args(member.params.size() + 1, Variant("1"));
    EXPECT_EQ(Call(member.id, args).status, platform::kWrongArgumentCount);
    for (std::size_t i = 0; i < member.params.size(); ++i) {
      if (member.params[i].optional) continue;
      std::vector<Variant> missing(member.params.size(), Variant("1"));
      missing[i] = Variant::Missing();
      EXPECT_EQ(Call(member.id, missing).status, platform::kArgumentNotOptional) << i;
      missing.resize(i);
      EXPECT_EQ(Call(member.id, missing).status, platform::kArgumentNotOptional) << i;
    }
  }
  for (const platform::DispId id : {0, -1, 0x60030001, 0x60030046, kMin, kMax}) {
    const Outcome out = Call(id, {Variant("1"), Variant("2")});
    EXPECT_EQ(out.status, platform::kUnknownMember) << id;
    EXPECT_EQ(out.after[0], Variant("1"));
  }
}

}  // namespace
}  // namespace numeron
