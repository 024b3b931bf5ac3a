#include "demo/pages/simple_arithmetic_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "demo/component_client.h"
#include "demo/error_report.h"
#include "demo/value_text.h"
#include "demo/widgets.h"

namespace numeron::demo {

SimpleArithmeticPage::SimpleArithmeticPage(ComponentClient& numeron9, MessageSink& messages,
                                           QWidget* parent)
    : QWidget(parent), numeron9_(numeron9), messages_(messages) {
  QLabel* label1 = MakeExplanation(
      this, "Label1",
      QStringLiteral(
          "Numeron has a complete set of arithmetic functions, and in some ways they go beyond the "
          "built-in ones: division takes the number of decimal places you want, and modulus "
          "accepts fractions and returns fractional values. All of them work on Numeron's own "
          "number kinds as well as on ordinary numbers and text."));
  QLabel* label2 =
      MakeLabel(this, "Label2",
                QStringLiteral("Try experimenting with a few arithmetic manipulations to compare "
                               "built-in operations to their Numeron counterparts:"));
  label2->setWordWrap(true);

  QGroupBox* frame1 = MakeFrame(this, "Frame1", QStringLiteral("Using:"));
  option1_ = MakeOption(frame1, "Option1", QStringLiteral("Built-in operations"));
  option2_ = MakeOption(frame1, "Option2", QStringLiteral("Numeron operations"));
  option2_->setChecked(true);
  auto* using_row = new QHBoxLayout(frame1);
  using_row->addWidget(option1_);
  using_row->addWidget(option2_);
  using_row->addStretch();

  QGroupBox* frame2 = MakeFrame(this, "Frame2", QStringLiteral("Please select an operation:"));
  QRadioButton* option3 = MakeOption(frame2, "Option3", QStringLiteral("Add"));
  QRadioButton* option4 = MakeOption(frame2, "Option4", QStringLiteral("Divide"));
  QRadioButton* option5 = MakeOption(frame2, "Option5", QStringLiteral("Multiply"));
  QRadioButton* option6 = MakeOption(frame2, "Option6", QStringLiteral("Subtract"));
  QRadioButton* option7 = MakeOption(frame2, "Option7", QStringLiteral("Modulus"));
  option4->setChecked(true);
  label3_ = MakeLabel(frame2, "Label3", QStringLiteral("Precision:"));
  text1_ = MakeLineEdit(frame2, "Text1", QStringLiteral("10"));
  text1_->setMaximumWidth(80);
  auto* operation_grid = new QGridLayout(frame2);
  operation_grid->addWidget(option3, 0, 0);
  operation_grid->addWidget(option5, 0, 1);
  operation_grid->addWidget(option7, 0, 2);
  operation_grid->addWidget(option4, 1, 0);
  operation_grid->addWidget(option6, 1, 1);
  operation_grid->addWidget(label3_, 1, 2, Qt::AlignRight);
  operation_grid->addWidget(text1_, 1, 3);
  operation_grid->setColumnStretch(4, 1);

  operations_ = {{
      {option3, Operation::Add, "+", member::kAdd},
      {option4, Operation::Divide, "/", member::kDivide},
      {option5, Operation::Multiply, "*", member::kMultiply},
      {option6, Operation::Subtract, "-", member::kSubtract},
      {option7, Operation::Modulus, "mod", member::kModulus},
  }};

  QLabel* label4 = MakeLabel(this, "Label4", QStringLiteral("Variable1:"));
  text2_ = MakeLineEdit(this, "Text2", QStringLiteral("1"));
  label6_ = MakeLabel(this, "Label6", QStringLiteral("/"));
  SetPointSize(label6_, kSignPoints);
  label6_->setMinimumWidth(40);
  QLabel* label5 = MakeLabel(this, "Label5", QStringLiteral("Variable2:"));
  text3_ = MakeLineEdit(this, "Text3", QStringLiteral("3"));
  QLabel* label7 = MakeLabel(this, "Label7", QStringLiteral("="));
  SetPointSize(label7, kSignPoints);
  QPushButton* command1 = MakeButton(this, "Command1", QStringLiteral("Calculate"));
  SetPointSize(command1, kSignPoints);
  auto* operand_grid = new QGridLayout;
  operand_grid->addWidget(label4, 0, 0);
  operand_grid->addWidget(text2_, 0, 1);
  operand_grid->addWidget(label6_, 0, 2);
  operand_grid->addWidget(label5, 1, 0);
  operand_grid->addWidget(text3_, 1, 1);
  operand_grid->addWidget(label7, 1, 2);
  operand_grid->addWidget(command1, 1, 3);
  operand_grid->setColumnStretch(4, 1);
  for (QLineEdit* operand : {text2_, text3_}) operand->setMinimumWidth(260);

  label8_ = MakeLabel(this, "Label8", QStringLiteral("(Please press Calculate)"));
  SetPointSize(label8_, kSmallPoints);
  label8_->setWordWrap(true);
  label8_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* page = new QVBoxLayout(this);
  page->addWidget(label1);
  page->addWidget(label2);
  page->addWidget(frame1);
  page->addWidget(frame2);
  page->addLayout(operand_grid);
  page->addWidget(label8_);
  page->addStretch();

  for (QRadioButton* option : {option1_, option2_}) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) PrecisionAllowed();
    });
  }
  for (const OperationChoice& choice : operations_) {
    connect(choice.option, &QRadioButton::toggled, this, [this, &choice](bool on) {
      if (!on) return;
      PrecisionAllowed();
      label6_->setText(QString::fromLatin1(choice.sign));
    });
  }
  connect(command1, &QPushButton::clicked, this, [this] { CalculateClicked(); });
  PrecisionAllowed();
}

void SimpleArithmeticPage::PrecisionAllowed() {
  const bool allowed = operations_[1].option->isChecked() && option2_->isChecked();
  label3_->setEnabled(allowed);
  text1_->setEnabled(allowed);
}

const SimpleArithmeticPage::OperationChoice& SimpleArithmeticPage::SelectedOperation() const {
  for (const OperationChoice& choice : operations_) {
    if (choice.option->isChecked()) return choice;
  }
  return operations_.front();  // the group always holds one selected button
}

void SimpleArithmeticPage::CalculateClicked() {
  RunWithErrorReport(messages_, [this] {
    const OperationChoice& choice = SelectedOperation();
    QString result;
    if (option1_->isChecked()) {
      result = QString::fromStdString(
          BuiltInResult(choice.operation, CheckedVal(text2_->text()), CheckedVal(text3_->text())));
    } else if (choice.operation == Operation::Divide) {
      result = DisplayText(
          numeron9_.Call(choice.member, {TextArgument(text2_->text()), TextArgument(text3_->text()),
                                         CheckedVal(text1_->text()), kStringValue}));
    } else {
      result =
          DisplayText(numeron9_.Call(choice.member, {TextArgument(text2_->text()),
                                                     TextArgument(text3_->text()), kStringValue}));
    }
    label8_->setText(result);
  });
}

}  // namespace numeron::demo
