// The conversions between field texts and values that every page shares: Val for settings and
// built-in operands, the plain and padded text forms of a double, and the display of results.
// Failures throw HandlerError with the platform's own error, as the built-in conversions raise it.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "platform/variant.h"

namespace numeron::demo {

// Val of a field's text. The platform's Val saturates at the largest double when the text lies
// beyond a double's range; computing on with that stand-in would show a made-up result, so the
// window treats it as the Overflow it stands for.
double CheckedVal(const QString& text);

// The general text of a double (15 significant digits); Overflow for infinities and NaN.
std::string PlainForm(double value);
// The plain form with one leading blank before a value that is not negative.
std::string PaddedForm(double value);

// A field's text as the component receives it: a string Variant, unchanged.
platform::Variant TextArgument(const QString& text);

// A returned value as text: a string as it comes, a double in its plain form, integers in
// decimal, Booleans as True or False. Other kinds raise Type mismatch.
QString DisplayText(const platform::Variant& value);
// A returned value as a Boolean (numbers: non-zero is true); other kinds raise Type mismatch.
bool AsBoolean(const platform::Variant& value);
// A returned number as a 16-bit integer, halves to even; Overflow outside its range.
std::int16_t AsInt16(const platform::Variant& value);
QString BooleanText(bool value);

// The platform's own test of whether a text reads as a number (blanks at either end allowed).
bool IsPlatformNumeric(const QString& text);

}  // namespace numeron::demo
