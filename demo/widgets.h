// Small constructors for the window's controls. Each control carries its name as its object
// name, so that the names, captions and initial texts stay visible in one line each.
#pragma once

#include <QString>

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

}  // namespace numeron::demo
