// Any bytes as a number text: every reader of texts must agree on what is a number, refuse the
// rest with Type mismatch, and keep the value through a round trip to text.
//   - IsNumericEx and GetType never raise, and agree with each other;
//   - CreateHugeNumber refuses exactly what SplitNumberText refuses (a blank text is zero),
//     otherwise it gives a number in normal form or Overflow;
//   - that number's text reads back to the same array, and ConvertToString and TrimStringValue
//     keep the value;
//   - argument conversion to a double or a 32-bit integer raises only table errors.
// Time budget: a text whose plain form would need more than kPlainPlacesCap places, yet could
// fit the place limit, is only classified, not spelled out (a number at the limit takes about
// a second to build, and all the fuzzer would learn from it is that it is slow).
#include <cstddef>
#include <cstdint>
#include <string>

#include "control/conversion/conversion.h"
#include "control/number/number.h"
#include "control/object/call_args.h"
#include "fuzz/fuzz_support.h"

namespace numeron::fuzz {
namespace {

constexpr std::int64_t kPlainPlacesCap = 100'000;

// The error a call raised, or 0; anything raised outside the table stops the run.
template <typename F>
std::int32_t Raised(const std::string& text, const char* what, F f) {
  try {
    f();
  } catch (const platform::RaisedError& raised) {
    if (raised.error().number != platform::kOverflow.number &&
        raised.error().number != platform::kTypeMismatch.number) {
      const Variant arg(text);
      Die(std::string(what) + " raised " + std::string(raised.error().description), {&arg, 1});
    }
    return raised.error().number;
  }
  return 0;
}

void CheckText(const std::string& text) {
  const Variant value(text);
  const Variant args[] = {value};
  const bool numeric = IsNumericEx(value);
  if (GetType(value) != (numeric ? double_value : String_Value))
    Die("GetType != IsNumericEx", args);

  const std::string_view trimmed = TrimSpaces(text);
  const std::optional<NumberText> parts = SplitNumberText(trimmed);
  const bool is_number = trimmed.empty() || parts;
  if (numeric && !is_number) Die("IsNumericEx accepts a text that is no number", args);
  if (parts) {
    const std::int64_t digits =
        static_cast<std::int64_t>(parts->int_digits.size() + parts->frac_digits.size());
    const std::int64_t reach = (parts->exponent < 0 ? -parts->exponent : parts->exponent) + digits;
    if (reach > kPlainPlacesCap && reach <= 2 * kMaxPlaces) return;
  }

  HugeNumber number;
  const std::int32_t create =
      Raised(text, "CreateHugeNumber", [&] { number = CreateHugeNumber(value); });
  if (!is_number && create != platform::kTypeMismatch.number)
    Die("a text that is no number was read", args);
  if (is_number && create == platform::kTypeMismatch.number) Die("a number text was refused", args);
  const bool made = create == 0;
  if (made) {
    if (!IsSameDigits(number, Normalized(number)))
      Die("CreateHugeNumber left digits unnormalised", args);
    if (!(CreateHugeNumber(Variant(HugeNumberToText(number))) == number)) {
      Die("the text form of a parsed number does not read back to it", args);
    }
  }

  std::string converted;
  if (Raised(text, "ConvertToString", [&] { converted = ConvertToString(value); }) == 0 && made) {
    if (!IsSameDigits(Normalized(CreateHugeNumber(Variant(converted))), number)) {
      Die("ConvertToString changed the value: " + converted, args);
    }
  }
  std::string trimmed_text;
  if (Raised(text, "TrimStringValue", [&] { trimmed_text = TrimStringValue(text); }) == 0 && made) {
    if (!IsSameDigits(Normalized(CreateHugeNumber(Variant(trimmed_text))), number)) {
      Die("TrimStringValue changed the value: " + trimmed_text, args);
    }
  }
  Raised(text, "ConvertToScientific", [&] { ConvertToScientific(value); });
  Raised(text, "ToDoubleArgument", [&] { ToDoubleArgument(value); });
  Raised(text, "ToInt32Argument", [&] { ToInt32Argument(value); });
}

}  // namespace
}  // namespace numeron::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  numeron::fuzz::CheckText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
