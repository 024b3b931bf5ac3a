// The advanced math page: pi, e, logarithms and powers from the component, each showing only
// the fields its call takes.
#pragma once

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace numeron::demo {

class ComponentClient;
class MessageSink;
class ResultView;

class AdvancedMathPage : public QWidget {
 public:
  // show_notes opens the performance notes window.
  AdvancedMathPage(ComponentClient& numeron9, MessageSink& messages,
                   std::function<void()> show_notes, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOutFields();
  void CalculateClicked();

  ComponentClient& numeron9_;
  MessageSink& messages_;
  QComboBox* combo1_;
  QLabel* label11_;
  QLineEdit* text4_;
  QPushButton* command3_;
  QLabel* label12_;
  QLineEdit* text5_;
  QPushButton* command4_;
  QLabel* label13_;
  QLineEdit* text6_;
  QLabel* label14_;
  QLineEdit* text7_;
  ResultView* text8_;
};

}  // namespace numeron::demo
