// Small constructors for the window's controls. Each control carries its name as its object
// name, so that the names, captions and initial texts stay visible in one line each.
#pragma once

#include <QFont>
#include <QString>

#include "platform/variant.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace numeron::demo {

// Type sizes the pages name; the rest use the application's default.
inline constexpr double kExplanationPoints = 9.75;
inline constexpr double kSignPoints = 12;
inline constexpr double kSmallPoints = 8.25;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption);
// A field's caption; its mnemonic (the letter after "&") moves the focus to the field, and its
// text names the field in error reports.
QLabel* MakeCaption(QWidget* parent, const char* name, const QString& caption, QWidget* field);
// A word-wrapped paragraph in the explanatory type size.
QLabel* MakeExplanation(QWidget* parent, const char* name, const QString& text);
QLineEdit* MakeLineEdit(QWidget* parent, const char* name, const QString& text);
QLineEdit* MakeResultField(QWidget* parent, const char* name, const QString& text);
QPlainTextEdit* MakeResultBox(QWidget* parent, const char* name, const QString& text);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);
QPushButton* MakeBoldButton(QWidget* parent, const char* name, const QString& caption);
QRadioButton* MakeOption(QWidget* parent, const char* name, const QString& caption);
QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption);
QComboBox* MakeList(QWidget* parent, const char* name);

void SetPointSize(QWidget* widget, double points);

// A fixed-pitch font, asked for by its properties rather than by a family name, so that digits,
// points, signs and blanks take one width whatever fonts the machine has.
QFont FixedPitchFont(double points);

// Enter anywhere within scope clicks button (when it is enabled), as a dialog's default button.
void MakeDefaultButton(QWidget* scope, QPushButton* button);

// The field's name as its caption shows it ("Precision" for "&Precision:"); "" without a caption.
QString FieldName(const QLineEdit* field);
// Val of the field's text (see CheckedVal); a failure names the field.
double FieldVal(const QLineEdit* field);
// The field's text as the component receives it: a string Variant, unchanged.
platform::Variant FieldText(const QLineEdit* field);

}  // namespace numeron::demo
