// The engine against the reference model on small inputs the fuzzer steers: any member of the
// interface, or one of the private digit-array routines of the series code, with every
// parameter given (32-bit parameters as 32-bit integers, as the model takes them). Status,
// result (doubles by their bits, arrays by bounds, element kind and elements), error number and
// description, and every argument as the call leaves it must agree; any difference aborts.
//
// Sizes stay small because the model is literal and slow: at most 12 places in an array, about
// 40 digits in a text with exponents up to 30; series of at most 20 terms to at most 25 places,
// with arguments of two whole digits at most (and their reciprocals); whole exponents of at most
// 64. The 32-bit extremes still come up.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "control/arithmetic/arithmetic.h"
#include "control/arithmetic/product.h"
#include "control/number/digit_arithmetic.h"
#include "control/number/number.h"
#include "control/object/numeron.h"
#include "fuzz/fuzz_support.h"
#include "tests/reference/model.h"

namespace numeron::fuzz {
namespace {

using platform::Argument;
using platform::MemberDesc;
using platform::ParamType;

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

class Maker {
 public:
  Maker(FuzzedDataProvider& in, bool series) : in_(in), series_(series) {}

  std::string Digits(std::size_t max) {
    std::string s;
    for (std::size_t n = in_.ConsumeIntegralInRange<std::size_t>(0, max); n > 0; --n) {
      s += static_cast<char>('0' + in_.ConsumeIntegralInRange(0, 9));
    }
    return s;
  }

  std::string NumberText() {
    std::string s = in_.PickValueInArray({"", "", "-", "+", " ", " -", "--"});
    s += Digits(series_ ? 2 : 20);
    if (in_.ConsumeBool()) s += "." + Digits(series_ ? 4 : 20);
    if (!series_ && in_.ConsumeIntegralInRange(0, 3) == 0) {
      s += in_.PickValueInArray({"E", "e", "E+", "e-"});
      s += in_.ConsumeIntegralInRange(0, 15) == 0
               ? "999999999"
               : std::to_string(in_.ConsumeIntegralInRange(0, 30));
    }
    if (in_.ConsumeIntegralInRange(0, 7) == 0) s += in_.PickValueInArray({" ", "x", ".", "E"});
    return s;
  }

  std::int32_t LowerBound(std::size_t length) {
    if (series_ || in_.ConsumeIntegralInRange(0, 15) != 0) {
      return in_.ConsumeIntegralInRange(series_ ? -4 : -12, series_ ? -1 : 12);
    }
    const std::int64_t top_at_end = std::int64_t{kInt32Max} - std::max<std::int64_t>(length, 1) + 1;
    return in_.ConsumeBool()
               ? static_cast<std::int32_t>(top_at_end - in_.ConsumeIntegralInRange(0, 2))
               : kInt32Min + in_.ConsumeIntegralInRange(0, 2);
  }

  std::int16_t Digit(int mode) {
    switch (mode) {
      case 0:
        return in_.ConsumeIntegralInRange<std::int16_t>(0, 9);
      case 1:
        return in_.ConsumeIntegralInRange<std::int16_t>(-9, 0);
      case 2:
        return in_.ConsumeIntegralInRange<std::int16_t>(-9, 9);
      case 3:
        return in_.ConsumeIntegralInRange<std::int16_t>(-17, 17);
      default:
        return in_.PickValueInArray<std::int16_t>({32767, -32768, 9999, -10, 10});
    }
  }

  Variant DigitArray() {
    const std::size_t length = in_.ConsumeIntegralInRange<std::size_t>(0, series_ ? 3 : 12);
    const int mode = in_.ConsumeIntegralInRange(0, series_ ? 3 : 4);
    std::vector<std::int16_t> digits;
    for (std::size_t i = 0; i < length; ++i) digits.push_back(Digit(mode));
    const std::int32_t lower = LowerBound(length);
    return Variant(VariantArray{lower, VariantArray::ElementKind::Int16, std::move(digits), {}});
  }

  Variant Element() {
    switch (in_.ConsumeIntegralInRange(0, 6)) {
      case 0:
        return Variant();
      case 1:
        return Variant(in_.ConsumeIntegralInRange<std::int16_t>(-12, 12));
      case 2:
        return Variant(in_.PickValueInArray<std::int32_t>({0, 5, -7, 32768, -32769}));
      case 3:
        return Variant(static_cast<double>(in_.ConsumeIntegralInRange(-25, 25)) / 2.0);
      case 4:
        return Variant(in_.ConsumeBool());
      case 5:
        return Variant(in_.PickValueInArray({"5", " -3 ", "2.5", "", "abc", "40000", "+7"}));
      default:
        return Variant::Missing();
    }
  }

  Variant ElementArray() {
    std::vector<Variant> elements(in_.ConsumeIntegralInRange<std::size_t>(0, series_ ? 3 : 6));
    for (Variant& element : elements) element = Element();
    const std::int32_t lower = in_.ConsumeIntegralInRange(-4, 4);
    return Variant(
        VariantArray{lower, VariantArray::ElementKind::Variant, {}, std::move(elements)});
  }

  Variant Real() {
    switch (in_.ConsumeIntegralInRange(0, 3)) {
      case 0:
        return Variant(static_cast<double>(in_.ConsumeIntegralInRange(-99999, 99999)) /
                       in_.PickValueInArray({1.0, 10.0, 100.0, 1000.0, 3.0}));
      case 1:
        if (series_)
          return Variant(in_.PickValueInArray({0.5, -0.5, 1.5, -0.0, 1e-5, 1.0 / 3.0, 12.25}));
        return Variant(in_.PickValueInArray({0.5, -0.5, 1.5, 2.5, -0.0, 32767.5, -32768.5, 1e15,
                                             1e-5, 1.0 / 3.0, 1.79769313486231E+308, 1e308, 5e-324,
                                             std::numeric_limits<double>::infinity(),
                                             std::numeric_limits<double>::quiet_NaN()}));
      case 2:
        return Variant(in_.ConsumeFloatingPointInRange<double>(-100, 100));
      default:
        return Variant(series_ ? in_.ConsumeFloatingPointInRange<double>(-30, 30)
                               : in_.ConsumeFloatingPoint<double>());
    }
  }

  Variant Operand() {
    switch (in_.ConsumeIntegralInRange(0, 9)) {
      case 0:
      case 1:
      case 2:
        return Variant(NumberText());
      case 3:
        return Real();
      case 4:
        return Variant(
            in_.ConsumeIntegralInRange<std::int16_t>(series_ ? -20 : -32768, series_ ? 20 : 32767));
      case 5:
        return Variant(in_.ConsumeIntegralInRange<std::int32_t>(series_ ? -20 : kInt32Min,
                                                                series_ ? 20 : kInt32Max));
      case 6:
        return in_.ConsumeBool() ? Variant(in_.ConsumeBool()) : Variant();
      case 7:
        return ElementArray();
      default:
        return DigitArray();
    }
  }

  std::int32_t Int32(std::string_view param) {
    const bool extreme = in_.ConsumeIntegralInRange(0, 31) == 0;
    if (param == "SeriesLength") return in_.ConsumeIntegralInRange(-3, 20);
    if (param == "Precision" && series_) {
      return extreme ? kInt32Min : in_.ConsumeIntegralInRange(-25, 25);
    }
    if (extreme) return in_.PickValueInArray({kInt32Min, kInt32Max, -kInt32Max});
    if (param == "DecimalPlaceShift") {
      return in_.ConsumeBool() ? in_.ConsumeIntegralInRange(-30, 30)
                               : in_.PickValueInArray({308, 309, -324, -325, 400, -400});
    }
    if (param == "Precision" || param == "DecimalPlace") return in_.ConsumeIntegralInRange(-60, 60);
    return in_.ConsumeIntegralInRange(-1, 6);  // Return_Type, Operation, Append_Trailing_Zeros
  }

  double Place() {
    if (in_.ConsumeIntegralInRange(0, 15) == 0) {
      return in_.PickValueInArray({std::numeric_limits<double>::quiet_NaN(), 1e10, -1e10,
                                   2147483647.5, 32767.5, -32768.5, -0.0});
    }
    return static_cast<double>(in_.ConsumeIntegralInRange(-80, 80)) / 2.0;
  }

 private:
  FuzzedDataProvider& in_;
  const bool series_;
};

struct Outcome {
  platform::HResult status = platform::kOk;
  Variant result;
  std::int32_t number = 0;
  std::string description;
  std::vector<Variant> after;
};

platform::Dispatch& Engine() {
  static platform::Dispatch* object = NewNumeron();
  return *object;
}

Outcome CallEngine(const MemberDesc& member, const std::vector<Variant>& args) {
  Outcome out;
  out.after = args;
  std::vector<Argument> arguments;
  for (Variant& v : out.after) arguments.push_back(Argument::ByRef(v));
  platform::ErrorInfo error;
  out.status = Engine().Invoke(member.id, arguments, &out.result, &error);
  out.number = error.number;
  out.description = error.description;
  return out;
}

// The private routines are called as the series code calls them, on arrays read as they stand.
Outcome CallPrimitive(std::string_view name, const std::vector<Variant>& args) {
  Outcome out;
  out.after = args;
  try {
    const HugeNumber a = ReadDigitArray(args[0].array());
    if (name == "IncrementDigits") {
      HugeNumber incremented = a;
      IncrementDigits(incremented);
      out.result = ToVariant(std::move(incremented));
    } else {
      const HugeNumber b = ReadDigitArray(args[1].array());
      if (name == "AddDigits") out.result = ToVariant(AddDigits(a, b));
      if (name == "MultiplyDigits") out.result = ToVariant(MultiplyDigits(a, b));
      if (name == "InternalDivide") out.result = ToVariant(InternalDivide(a, b, args[2].int32()));
    }
  } catch (const platform::RaisedError& raised) {
    out.status = platform::kException;
    out.result = Variant();
    out.number = raised.error().number;
    out.description = std::string(raised.error().description);
  }
  return out;
}

Outcome CallModel(std::string_view name, const std::vector<Variant>& args) {
  Outcome out;
  out.after = args;
  const reference::Outcome model = reference::Call(name, out.after);
  out.status = model.ok ? platform::kOk : platform::kException;
  out.result = model.result;
  out.number = model.error.number;
  out.description = model.error.description;
  return out;
}

bool Agree(const Outcome& a, const Outcome& b) {
  if (a.status != b.status || a.after != b.after) return false;
  if (a.status != platform::kOk) return a.number == b.number && a.description == b.description;
  return a.result == b.result;
}

std::string Show(const Outcome& o) {
  std::string s = o.status == platform::kOk
                      ? platform::Describe(o.result)
                      : "error " + std::to_string(o.number) + " " + o.description;
  if (o.result.is(VariantKind::Double)) {
    char bits[40];
    std::snprintf(bits, sizeof bits, " (%a)", o.result.real());
    s += bits;
  }
  for (const Variant& v : o.after) s += "\n      leaves " + platform::Describe(v);
  return s;
}

void CallOnce(FuzzedDataProvider& in) {
  static constexpr std::string_view kPrimitives[] = {"AddDigits", "MultiplyDigits",
                                                     "IncrementDigits", "InternalDivide"};
  const platform::TypeLibrary& library = NumeronTypeLibrary();
  const std::size_t pick = in.ConsumeIntegralInRange<std::size_t>(
      0, library.members.size() + std::size(kPrimitives) - 1);
  std::vector<Variant> args;
  std::string_view name;
  Outcome engine;
  if (pick < library.members.size()) {
    const MemberDesc& member = library.members[pick];
    name = member.name;
    const bool series =
        member.params.size() >= 3 && member.params[member.params.size() - 3].name == "SeriesLength";
    Maker make(in, series || name == "Factorial" || name == "Calculate_e");
    for (const platform::ParamDesc& param : member.params) {
      switch (param.type) {
        case ParamType::Int32:
          args.emplace_back(make.Int32(param.name));
          break;
        case ParamType::Double:
          args.emplace_back(make.Place());
          break;
        default:
          args.push_back(make.Operand());
          break;
      }
    }
    engine = CallEngine(member, args);
  } else {
    name = kPrimitives[pick - library.members.size()];
    Maker make(in, name == "InternalDivide");
    args.push_back(make.DigitArray());
    if (name != "IncrementDigits") args.push_back(make.DigitArray());
    if (name == "InternalDivide") args.emplace_back(make.Int32("Precision"));
    engine = CallPrimitive(name, args);
  }
  // A whole exponent is multiplied out term by term in the model: past a few dozen factors a
  // large base outgrows the time a call may take, so such powers are left to the other tests.
  if (name == "Exponential") {
    double exponent = 0;
    try {
      exponent = HugeNumberToDouble(ToNormalHugeNumber(args[1]));
    } catch (...) {
    }
    if (std::abs(exponent) > 64) return;
  }
  // NUMERON_FUZZ_SHOW=1 prints each call before the model runs it, to see what a slow input asks.
  static const bool show = std::getenv("NUMERON_FUZZ_SHOW") != nullptr;
  if (show) {
    std::fprintf(stderr, "call %s", std::string(name).c_str());
    for (const Variant& v : args) std::fprintf(stderr, " %s", platform::Describe(v).c_str());
    std::fprintf(stderr, "\n");
  }
  const Outcome model = CallModel(name, args);
  if (!Agree(engine, model)) {
    Die(std::string(name) + ": engine and model disagree\n  engine: " + Show(engine) +
            "\n  model:  " + Show(model),
        args);
  }
}

}  // namespace
}  // namespace numeron::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  numeron::fuzz::CallOnce(in);
  return 0;
}
