// The trigonometry page: the component's twelve trigonometric functions, in radians.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace numeron::demo {

class ComponentClient;
class MessageSink;
class ResultView;

class TrigPage : public QWidget {
 public:
  TrigPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent = nullptr);

 private:
  void CalculateClicked();

  ComponentClient& numeron9_;
  MessageSink& messages_;
  QComboBox* combo2_;
  QLineEdit* trig1_;
  QLineEdit* trig2_;
  QLineEdit* trig3_;
  ResultView* label31_;
};

}  // namespace numeron::demo
