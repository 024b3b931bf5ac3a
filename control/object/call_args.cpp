#include "control/object/call_args.h"

#include <algorithm>

#include "control/number/errors.h"
#include "control/number/number.h"
#include "platform/number_text.h"

namespace numeron {

using platform::VariantKind;

double ToDoubleArgument(const Variant& value) {
  switch (value.kind()) {
    case VariantKind::Empty:
      return 0;
    case VariantKind::Boolean:
      return value.boolean() ? -1 : 0;
    case VariantKind::Int16:
      return value.int16();
    case VariantKind::Int32:
      return value.int32();
    case VariantKind::Double:
      return value.real();
    case VariantKind::Text: {
      const std::string_view text = TrimSpaces(value.text());
      if (text.empty()) return 0;
      if (!SplitNumberText(text)) Raise(platform::kTypeMismatch);
      const std::optional<double> read = platform::ReadDouble(text);
      if (!read) Raise(platform::kOverflow);
      return *read;
    }
    case VariantKind::Missing:
    case VariantKind::Array:
      break;
  }
  Raise(platform::kTypeMismatch);
}

std::int32_t ToInt32Argument(const Variant& value) {
  if (value.is(VariantKind::Int16)) return value.int16();
  if (value.is(VariantKind::Int32)) return value.int32();
  const std::optional<std::int32_t> converted = platform::DoubleToInt32(ToDoubleArgument(value));
  if (!converted) Raise(platform::kOverflow);
  return *converted;
}

std::string ToTextArgument(const Variant& value) {
  if (value.is(VariantKind::Text)) return value.text();
  return GeneralTextOf(value);
}

platform::HResult CheckArguments(const platform::MemberDesc& member,
                                 std::span<const platform::Argument> args) {
  const std::vector<platform::ParamDesc>& params = member.params;
  if (args.size() > params.size()) return platform::kWrongArgumentCount;
  for (std::size_t i = 0; i < params.size(); ++i) {
    const bool missing = i >= args.size() || args[i].value().is(VariantKind::Missing);
    if (missing && !params[i].optional) return platform::kArgumentNotOptional;
  }
  return platform::kOk;
}

platform::HResult ReturnError(const platform::Error& raised, platform::ErrorInfo* error) {
  if (error) {
    error->number = raised.number;
    error->description = std::string(raised.description);
  }
  return platform::kException;
}

CallArgs::CallArgs(const platform::MemberDesc& member, std::span<platform::Argument> args)
    : args_(args) {
  // A missing optional argument without a default reads as the empty value (0).
  static const Variant kNothing;
  values_.reserve(member.params.size());
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    const platform::ParamDesc& param = member.params[i];
    const bool given = i < args.size() && !args[i].value().is(VariantKind::Missing);
    const Variant& value = given                                          ? args[i].value()
                           : param.default_value.is(VariantKind::Missing) ? kNothing
                                                                          : param.default_value;
    switch (param.type) {
      case platform::ParamType::Variant:
        values_.push_back(value);
        break;
      case platform::ParamType::Int32:
        values_.emplace_back(ToInt32Argument(value));
        break;
      case platform::ParamType::Double:
        values_.emplace_back(ToDoubleArgument(value));
        break;
      case platform::ParamType::Text:
        values_.emplace_back(ToTextArgument(value));
        break;
    }
  }
}

void CallArgs::WriteBack(std::size_t i, Variant value) {
  const bool given = i < args_.size() && !args_[i].value().is(VariantKind::Missing);
  if (given && std::ranges::find(written_, i) == written_.end()) written_.push_back(i);
  values_[i] = std::move(value);
}

void CallArgs::Commit() noexcept {
  // Moved, not copied, so that committing cannot fail; the call reads nothing after it.
  for (const std::size_t i : written_) args_[i].value() = std::move(values_[i]);
  written_.clear();
}

}  // namespace numeron
