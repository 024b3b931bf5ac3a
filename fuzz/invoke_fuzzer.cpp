// The dispatch interface with anything a host could pass: any dispatch identifier, any number
// of arguments, each a Variant of any kind (texts of numbers and of bytes, doubles with any
// bits, unnormalised and empty digit arrays, arrays of Variant elements, bounds at the ends of
// 32 bits), by value or by reference. Checked for every call:
//   - the status is the one the member's description calls for (unknown member, wrong count,
//     a missing non-optional argument), else success or a raised error of the table;
//   - a result has the published kind;
//   - a by-reference argument keeps its value unless the member writes that parameter back,
//     and a call that fails before its write-back leaves even that one alone.
//
// Time budget: every call is meant to finish well under a second, so the sizes the fuzzer may
// ask for are clamped (calls beyond them are skipped, not run):
//   - numbers span at most kReach places around place 0 (kSeriesReach for the series, whose
//     running powers grow with SeriesLength), or lie far beyond the place limit, where they
//     fail at once with Overflow;
//   - SeriesLength at most kMaxSeriesLength (a series runs every term it is asked for);
//   - Precision and DecimalPlace at most kMaxPlacesAsked in magnitude (kMaxSeriesPlaces for the
//     series), or beyond the place limit; a shift at most kMaxShift, or within kFarShift of the
//     32-bit ends;
//   - whole exponents and factorial arguments at most kMaxWholeArgument.
// Sizes between these and the limits are the hostile-input tests' business, not the fuzzer's.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "control/arithmetic/arithmetic.h"
#include "control/number/number.h"
#include "control/object/call_args.h"
#include "control/object/numeron.h"
#include "fuzz/fuzz_support.h"

namespace numeron::fuzz {
namespace {

using platform::Argument;
using platform::HResult;
using platform::MemberDesc;
using platform::ParamType;
using platform::ResultType;

constexpr std::int64_t kReach = 2000;
constexpr std::int64_t kSeriesReach = 12;
constexpr std::int32_t kMaxSeriesLength = 40;
constexpr std::int64_t kMaxPlacesAsked = 400;
constexpr std::int64_t kMaxSeriesPlaces = 100;
constexpr std::int64_t kMaxShift = 400;
constexpr std::int64_t kFarShift = 1000;
constexpr double kMaxWholeArgument = 300;
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// ---- Making values

std::string NumberLikeText(FuzzedDataProvider& in) {
  std::string s;
  if (in.ConsumeBool()) s += in.PickValueInArray({"", " ", "-", "+", " -", "--", "+-"});
  s += std::string(in.ConsumeIntegralInRange<std::size_t>(0, 40), '0');
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 40); n > 0; --n) {
    s += static_cast<char>('0' + in.ConsumeIntegralInRange(0, 9));
  }
  if (in.ConsumeBool()) {
    s += '.';
    for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 30); n > 0; --n) {
      s += static_cast<char>('0' + in.ConsumeIntegralInRange(0, 9));
    }
  }
  if (in.ConsumeBool()) {
    s += in.PickValueInArray({"E", "e", "E+", "E-", "e-", "E--"});
    s += in.ConsumeBool() ? std::to_string(in.ConsumeIntegralInRange(0, 400))
                          : in.PickValueInArray({"999999999", "2147483648", "0000999999999",
                                                 "99999999999999999999", "4294967296"});
  }
  if (in.ConsumeBool()) s += in.PickValueInArray({"", " ", "  ", "x", ".", "\t", "E"});
  return s;
}

std::int32_t LowerBound(FuzzedDataProvider& in, std::size_t length) {
  // The top place at (or just below) the 32-bit end; an array without elements has none.
  const std::int64_t top_at_end = std::int64_t{kInt32Max} - std::max<std::int64_t>(length, 1) + 1;
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0:
      return static_cast<std::int32_t>(top_at_end - in.ConsumeIntegralInRange(0, 3));
    case 1:
      return kInt32Min + in.ConsumeIntegralInRange(0, 3);
    default:
      return in.ConsumeIntegralInRange(-40, 40);
  }
}

std::vector<std::int16_t> Digits(FuzzedDataProvider& in, std::size_t length) {
  const int mode = in.ConsumeIntegralInRange(0, 3);
  std::vector<std::int16_t> digits;
  for (std::size_t i = 0; i < length; ++i) {
    switch (mode) {
      case 0:
        digits.push_back(in.ConsumeIntegralInRange<std::int16_t>(0, 9));
        break;
      case 1:
        digits.push_back(in.ConsumeIntegralInRange<std::int16_t>(-9, 9));
        break;
      case 2:
        digits.push_back(in.ConsumeIntegralInRange<std::int16_t>(-17, 17));
        break;
      default:
        digits.push_back(in.ConsumeIntegral<std::int16_t>());
        break;  // 16-bit overflow
    }
  }
  return digits;
}

Variant AnyValue(FuzzedDataProvider& in, int depth);

Variant Element(FuzzedDataProvider& in, int depth) {
  if (depth > 0 && in.ConsumeIntegralInRange(0, 15) == 0) return AnyValue(in, depth - 1);
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
      return Variant();
    case 1:
      return Variant(in.ConsumeIntegral<std::int16_t>());
    case 2:
      return Variant(in.ConsumeIntegralInRange<std::int32_t>(-40000, 40000));
    case 3:
      return Variant(in.ConsumeFloatingPointInRange<double>(-40000, 40000));
    case 4:
      return Variant(in.ConsumeBool());
    case 5:
      return Variant(NumberLikeText(in));
    default:
      return Variant::Missing();
  }
}

Variant Special(FuzzedDataProvider& in) {
  static const Variant kSpecial[] = {Variant(kInt32Max),
                                     Variant(kInt32Min),
                                     Variant(2147483647.5),
                                     Variant(-2147483648.5),
                                     Variant(2147483648.0),
                                     Variant(std::int16_t{-32768}),
                                     Variant(32767.5),
                                     Variant(-0.0),
                                     Variant(std::numeric_limits<double>::quiet_NaN()),
                                     Variant(std::numeric_limits<double>::infinity()),
                                     Variant(std::numeric_limits<double>::denorm_min()),
                                     Variant(1.79769313486231E+308),
                                     Variant("1E999999999"),
                                     Variant("-1E-999999999"),
                                     Variant("2147483647"),
                                     Variant("-2147483648"),
                                     Variant(" "),
                                     Variant("")};
  return in.PickValueInArray(kSpecial);
}

Variant AnyValue(FuzzedDataProvider& in, int depth) {
  switch (in.ConsumeIntegralInRange(0, 12)) {
    case 0:
      return Variant();
    case 1:
      return Variant::Missing();
    case 2:
      return Variant(in.ConsumeBool());
    case 3:
      return Variant(in.ConsumeIntegral<std::int16_t>());
    case 4:
      return Variant(in.ConsumeIntegral<std::int32_t>());
    case 5:
      return Variant(in.ConsumeFloatingPoint<double>());
    case 6:
      return Variant(std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>()));
    case 7:
      return Variant(in.ConsumeRandomLengthString(64));
    case 8:
    case 9:
      return Variant(NumberLikeText(in));
    case 10: {
      const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 24);
      const std::int32_t lower = LowerBound(in, length);
      return Variant(VariantArray{lower, VariantArray::ElementKind::Int16, Digits(in, length), {}});
    }
    case 11: {
      std::vector<Variant> elements(in.ConsumeIntegralInRange<std::size_t>(0, 8));
      for (Variant& element : elements) element = Element(in, depth);
      const std::int32_t lower = LowerBound(in, elements.size());
      return Variant(
          VariantArray{lower, VariantArray::ElementKind::Variant, {}, std::move(elements)});
    }
    default:
      return Special(in);
  }
}

// ---- The time budget

// How far from place 0 a value's places may reach; nullopt when it reaches beyond the place
// limit (such values fail at once).
std::optional<std::int64_t> Reach(const Variant& value) {
  switch (value.kind()) {
    case VariantKind::Double: {
      const double magnitude = std::fabs(value.real());
      if (!std::isfinite(magnitude) || magnitude == 0) return 0;
      return static_cast<std::int64_t>(std::fabs(std::log10(magnitude))) + 16;
    }
    case VariantKind::Text: {
      const std::optional<NumberText> parts = SplitNumberText(TrimSpaces(value.text()));
      if (!parts) return 0;
      const std::int64_t reach =
          (parts->exponent < 0 ? -parts->exponent : parts->exponent) +
          static_cast<std::int64_t>(parts->int_digits.size() + parts->frac_digits.size());
      if (reach > 2 * kMaxPlaces) return std::nullopt;
      return reach;
    }
    case VariantKind::Array: {
      const VariantArray& array = value.array();
      const std::int64_t far =
          std::max(std::abs(std::int64_t{array.lower_bound}), std::abs(array.upper_bound()));
      if (far > kMaxPlaces) return std::nullopt;
      std::int64_t reach = far;
      for (const Variant& element : array.elements)
        reach = std::max(reach, Reach(element).value_or(0));
      return reach;
    }
    default:
      return 10;
  }
}

// The value as a double when it reads as a number.
std::optional<double> ValueOf(const Variant& value) {
  try {
    return HugeNumberToDouble(ToNormalHugeNumber(value));
  } catch (const platform::RaisedError&) {
    return std::nullopt;
  }
}

bool IsSeries(std::string_view name) {
  static constexpr std::string_view kSeries[] = {
      "Exponential", "Calculate_e", "eToExponent",  "Log_e",     "Logarithm",   "Sine",
      "Cosine",      "Tangent",     "Secant",       "Cosecant",  "Cotangent",   "ArcSine",
      "ArcCosine",   "ArcTangent",  "ArcCotangent", "ArcSecant", "ArcCosecant", "Factorial"};
  for (std::string_view s : kSeries) {
    if (s == name) return true;
  }
  return false;
}

bool WithinBudget(const MemberDesc& member, std::span<Argument> args) {
  const bool series = IsSeries(member.name);
  for (std::size_t i = 0; i < args.size() && i < member.params.size(); ++i) {
    const Variant& value = args[i].value();
    const std::string_view param = member.params[i].name;
    if (member.params[i].type == ParamType::Int32) {
      std::int32_t v = 0;
      try {
        v = ToInt32Argument(value);
      } catch (const platform::RaisedError&) {
        continue;  // refused before any work
      }
      const std::int64_t places = AbsolutePlaces(v);
      if (param == "SeriesLength" && v > kMaxSeriesLength) return false;
      if ((param == "Precision" || param == "DecimalPlace") &&
          places > (series ? kMaxSeriesPlaces : kMaxPlacesAsked) && places <= 2 * kMaxPlaces) {
        return false;
      }
      if (param == "DecimalPlaceShift" && places > kMaxShift && places < kInt32Max - kFarShift) {
        return false;
      }
      continue;
    }
    if (member.params[i].type != ParamType::Variant) continue;
    const std::optional<std::int64_t> reach = Reach(value);
    if (reach && *reach > (series ? kSeriesReach : kReach)) return false;
    // A whole exponent beyond 32 bits is refused at once; a factorial's array is multiplied
    // out factor by factor, however large.
    if ((member.name == "Factorial" && i == 0) || (member.name == "Exponential" && i == 1)) {
      const std::optional<double> v = ValueOf(value);
      const double refused = member.name == "Factorial" ? HUGE_VAL : 2147483648.0;
      if (v && std::fabs(*v) > kMaxWholeArgument && std::fabs(*v) <= refused) return false;
    }
  }
  return true;
}

// ---- The checks

// Parameters a member stores back into a caller's variable, and whether it does so before the
// work that may fail (so a failed call may have changed them) or only once it succeeded.
struct WriteBack {
  std::string_view member;
  std::vector<std::size_t> params;
  bool before_work;
};
const WriteBack* WriteBackOf(std::string_view member) {
  static const WriteBack kWriteBacks[] = {
      {"Round", {1}, true},
      {"Pi", {0}, true},
      {"e", {0}, true},
      {"Exponential", {2, 3}, true},
      {"ArcCosine", {2}, true},
      {"ArcSecant", {2}, true},
      {"Slide", {1}, false},
      {"Increment", {0}, false},
      {"LineUpStringValues", {0, 1}, false},
  };
  for (const WriteBack& w : kWriteBacks) {
    if (w.member == member) return &w;
  }
  return nullptr;
}

bool HasKind(const Variant& result, ResultType type) {
  switch (type) {
    case ResultType::Variant:
      return true;
    case ResultType::Boolean:
      return result.is(VariantKind::Boolean);
    case ResultType::Int16:
      return result.is(VariantKind::Int16);
    case ResultType::Int32:
      return result.is(VariantKind::Int32);
    case ResultType::Double:
      return result.is(VariantKind::Double);
    case ResultType::Text:
      return result.is(VariantKind::Text);
  }
  return false;
}

platform::Dispatch& Object() {
  static platform::Dispatch* object = NewNumeron();
  return *object;
}

void CallOnce(FuzzedDataProvider& in) {
  const platform::TypeLibrary& library = NumeronTypeLibrary();
  platform::DispId id = 0;
  const MemberDesc* member = nullptr;
  if (in.ConsumeIntegralInRange(0, 31) == 0) {
    id = in.ConsumeIntegral<platform::DispId>();
    member = library.Find(id);
  } else {
    member =
        &library.members[in.ConsumeIntegralInRange<std::size_t>(0, library.members.size() - 1)];
    id = member->id;
  }
  const std::size_t declared = member ? member->params.size() : 3;
  const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(0, declared + 1);
  std::vector<Variant> variables(count);
  std::vector<Argument> args;
  for (Variant& variable : variables) {
    variable = AnyValue(in, 1);
    args.push_back(in.ConsumeIntegralInRange(0, 3) == 0 ? Argument::ByValue(variable)
                                                        : Argument::ByRef(variable));
  }
  if (member && !WithinBudget(*member, args)) return;
  const std::vector<Variant> before = variables;
  // NUMERON_FUZZ_SHOW=1 prints each call before it runs, to see what a slow input asks for.
  static const bool show = std::getenv("NUMERON_FUZZ_SHOW") != nullptr;
  if (show) {
    std::fprintf(stderr, "call %s", member ? std::string(member->name).c_str() : "unknown");
    for (const Variant& v : variables) std::fprintf(stderr, " %s", platform::Describe(v).c_str());
    std::fprintf(stderr, "\n");
  }

  Variant result;
  platform::ErrorInfo error;
  const HResult status = Object().Invoke(id, args, &result, &error);

  HResult expected = platform::kOk;
  if (!member) {
    expected = platform::kUnknownMember;
  } else if (count > declared) {
    expected = platform::kWrongArgumentCount;
  } else {
    for (std::size_t i = 0; i < declared; ++i) {
      const bool missing = i >= count || variables[i].is(VariantKind::Missing);
      if (missing && !member->params[i].optional) expected = platform::kArgumentNotOptional;
    }
  }
  const std::string call =
      "id " + std::to_string(id) + " (" + std::string(member ? member->name : "unknown") + ")";
  if (expected != platform::kOk) {
    if (status != expected) {
      Die(call + ": status " + std::string(platform::DescribeStatus(status)) + ", expected " +
              std::string(platform::DescribeStatus(expected)),
          before);
    }
  } else if (status == platform::kException) {
    if (!IsTableError(error.number, error.description)) {
      Die(call + ": raised " + std::to_string(error.number) + " " + error.description, before);
    }
  } else if (status != platform::kOk) {
    Die(call + ": status " + std::string(platform::DescribeStatus(status)), before);
  } else if (!HasKind(result, member->result)) {
    Die(call + ": result of the wrong kind: " + platform::Describe(result), before);
  }

  const WriteBack* write_back = member ? WriteBackOf(member->name) : nullptr;
  for (std::size_t i = 0; i < count; ++i) {
    if (variables[i] == before[i]) continue;
    bool may_change = false;
    if (write_back &&
        (status == platform::kOk || (status == platform::kException && write_back->before_work))) {
      for (std::size_t p : write_back->params) may_change = may_change || p == i;
    }
    if (!may_change) {
      Die(call + ": argument " + std::to_string(i) + " changed to " +
              platform::Describe(variables[i]) + " (status " +
              std::string(platform::DescribeStatus(status)) + ")",
          before);
    }
  }
}

}  // namespace
}  // namespace numeron::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  numeron::fuzz::CallOnce(in);
  return 0;
}
