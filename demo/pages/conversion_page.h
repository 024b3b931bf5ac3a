// The conversion page: Round, GetDigit and LineUpStringValues, each in its own frame.
#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace numeron::demo {

class ComponentClient;
class MessageSink;
class ResultView;

class ConversionPage : public QWidget {
 public:
  ConversionPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent = nullptr);

 private:
  void RoundClicked();
  void GetDigitClicked();
  void LineUpClicked();

  ComponentClient& numeron9_;
  MessageSink& messages_;
  QLineEdit* text9_;
  QLineEdit* text10_;
  ResultView* text11_;
  QLineEdit* text12_;
  QLineEdit* text13_;
  QLineEdit* text14_;
  QLineEdit* text15_;
  QLineEdit* text16_;
  QPlainTextEdit* text17_;
};

}  // namespace numeron::demo
