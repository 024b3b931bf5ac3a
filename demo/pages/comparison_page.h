// The comparison page: the platform's numeric test against IsNumericEx, with a live view of what
// Val makes of the same text, and IsValueOverflow.
#pragma once

#include <QWidget>

#include "platform/dispatch.h"

class QLabel;
class QLineEdit;

namespace numeron::demo {

class ComponentClient;
class MessageSink;

class ComparisonPage : public QWidget {
 public:
  ComparisonPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent = nullptr);

 private:
  void ShowValOfNumber();
  // Calls a member that answers True or False about the field's text.
  void Ask(platform::DispId member, const QLineEdit* field);
  void ShowAnswer(bool answer);

  ComponentClient& numeron9_;
  MessageSink& messages_;
  QLineEdit* text18_;
  QLabel* label35_;
  QLineEdit* text19_;
};

}  // namespace numeron::demo
