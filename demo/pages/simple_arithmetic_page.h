// The arithmetic page: five operations on two typed values, by the built-in double arithmetic or
// by the component, so the user can set the two results side by side.
#pragma once

#include <QWidget>
#include <array>

#include "demo/builtin_arithmetic.h"
#include "platform/dispatch.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace numeron::demo {

class ComponentClient;
class MessageSink;
class ResultView;

class SimpleArithmeticPage : public QWidget {
 public:
  SimpleArithmeticPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent = nullptr);

 private:
  struct OperationChoice {
    QRadioButton* option;
    Operation operation;
    const char* sign;
    platform::DispId member;
  };

  // The precision field matters only to the component's division.
  void PrecisionAllowed();
  const OperationChoice& SelectedOperation() const;
  void CalculateClicked();
  // The result, and beside a built-in one every digit of the double it is.
  void ShowResult(const QString& result, const QString& exact);

  ComponentClient& numeron9_;
  MessageSink& messages_;
  QRadioButton* option1_;                      // built-in operations
  QRadioButton* option2_;                      // component operations
  std::array<OperationChoice, 5> operations_;  // in the order the buttons are tested
  QLabel* label3_;
  QLineEdit* text1_;
  QLineEdit* text2_;
  QLineEdit* text3_;
  QLabel* label6_;
  ResultView* label8_;
  ResultView* exact_;
};

}  // namespace numeron::demo
