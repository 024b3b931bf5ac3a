#include "demo/value_text.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "demo/error_report.h"
#include "platform/error.h"
#include "platform/number_text.h"

namespace numeron::demo {

double CheckedVal(const QString& text) {
  const double value = platform::Val(text.toStdString());
  if (std::fabs(value) == std::numeric_limits<double>::max())
    throw HandlerError(platform::kOverflow);
  return value;
}

std::string PlainForm(double value) {
  std::optional<std::string> text = platform::GeneralText(value);
  if (!text) throw HandlerError(platform::kOverflow);
  return *text;
}

std::string PaddedForm(double value) {
  std::string text = PlainForm(value);
  return value >= 0 ? " " + text : text;
}

platform::Variant TextArgument(const QString& text) {
  return platform::Variant(text.toStdString());
}

QString DisplayText(const platform::Variant& value) {
  using platform::VariantKind;
  switch (value.kind()) {
    case VariantKind::Text:
      return QString::fromStdString(value.text());
    case VariantKind::Double:
      return QString::fromStdString(PlainForm(value.real()));
    case VariantKind::Int16:
      return QString::number(value.int16());
    case VariantKind::Int32:
      return QString::number(value.int32());
    case VariantKind::Boolean:
      return BooleanText(value.boolean());
    case VariantKind::Empty:
      return QString();
    case VariantKind::Missing:
    case VariantKind::Array:
      break;
  }
  throw HandlerError(platform::kTypeMismatch);
}

bool AsBoolean(const platform::Variant& value) {
  using platform::VariantKind;
  switch (value.kind()) {
    case VariantKind::Boolean:
      return value.boolean();
    case VariantKind::Int16:
      return value.int16() != 0;
    case VariantKind::Int32:
      return value.int32() != 0;
    case VariantKind::Double:
      return value.real() != 0;
    default:
      break;
  }
  throw HandlerError(platform::kTypeMismatch);
}

std::int16_t AsInt16(const platform::Variant& value) {
  using platform::VariantKind;
  std::optional<std::int16_t> whole;
  switch (value.kind()) {
    case VariantKind::Int16:
      return value.int16();
    case VariantKind::Int32:
      whole = platform::DoubleToInt16(value.int32());
      break;
    case VariantKind::Double:
      whole = platform::DoubleToInt16(value.real());
      break;
    default:
      throw HandlerError(platform::kTypeMismatch);
  }
  if (!whole) throw HandlerError(platform::kOverflow);
  return *whole;
}

QString BooleanText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

bool IsPlatformNumeric(const QString& text) {
  const std::string bytes = text.toStdString();
  std::string_view view = bytes;
  const std::size_t first = view.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  view = view.substr(first, view.find_last_not_of(' ') - first + 1);
  return platform::ReadDouble(view).has_value();
}

}  // namespace numeron::demo
