// A result of any length: a read-only, selectable box in a fixed-pitch font that breaks digit
// strings anywhere, so that no result can make the window wider, with a count of the result's
// digits and places and a Copy button beside it.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace numeron::demo {

class ResultView : public QWidget {
 public:
  // The box carries the object name, its count name + "Count", its button name + "Copy". It is
  // `lines` lines high, or stretches with the page when lines is 0.
  ResultView(QWidget* parent, const char* name, const QString& text, int lines);

  QString text() const;
  void SetText(const QString& text);

 private:
  QPlainTextEdit* box_;
  QLabel* count_;
};

// "12 digits, 10 places" for 12.3456789012 (the digits before any exponent; places are those
// after the point); "" for a text without digits.
QString DigitCount(const QString& text);

}  // namespace numeron::demo
