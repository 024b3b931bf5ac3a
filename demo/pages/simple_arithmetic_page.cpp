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
#include "demo/page_call.h"
#include "demo/result_view.h"
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
  option1_ = MakeOption(frame1, "Option1", QStringLiteral("&Built-in operations"));
  option2_ = MakeOption(frame1, "Option2", QStringLiteral("&Numeron operations"));
  option2_->setChecked(true);
  auto* using_row = new QHBoxLayout(frame1);
  using_row->addWidget(option1_);
  using_row->addWidget(option2_);
  using_row->addStretch();

  QGroupBox* frame2 = MakeFrame(this, "Frame2", QStringLiteral("Please select an operation:"));
  QRadioButton* option3 = MakeOption(frame2, "Option3", QStringLiteral("&Add"));
  QRadioButton* option4 = MakeOption(frame2, "Option4", QStringLiteral("&Divide"));
  QRadioButton* option5 = MakeOption(frame2, "Option5", QStringLiteral("&Multiply"));
  QRadioButton* option6 = MakeOption(frame2, "Option6", QStringLiteral("&Subtract"));
  QRadioButton* option7 = MakeOption(frame2, "Option7", QStringLiteral("Mod&ulus"));
  option4->setChecked(true);
  text1_ = MakeLineEdit(frame2, "Text1", QStringLiteral("10"));
  text1_->setMaximumWidth(80);
  label3_ = MakeCaption(frame2, "Label3", QStringLiteral("&Precision:"), text1_);
  // Five operations in one row: the frame takes one line of the page's height, not two.
  auto* operation_row = new QHBoxLayout(frame2);
  for (QWidget* control : {static_cast<QWidget*>(option3), static_cast<QWidget*>(option4),
                           static_cast<QWidget*>(option5), static_cast<QWidget*>(option6),
                           static_cast<QWidget*>(option7)}) {
    operation_row->addWidget(control);
  }
  operation_row->addSpacing(12);
  operation_row->addWidget(label3_);
  operation_row->addWidget(text1_);
  operation_row->addStretch();

  operations_ = {{
      {option3, Operation::Add, "+", dispid::Add},
      {option4, Operation::Divide, "/", dispid::Divide},
      {option5, Operation::Multiply, "*", dispid::Multiply},
      {option6, Operation::Subtract, "-", dispid::Subtract},
      {option7, Operation::Modulus, "mod", dispid::Modulus},
  }};

  text2_ = MakeLineEdit(this, "Text2", QStringLiteral("1"));
  QLabel* label4 = MakeCaption(this, "Label4", QStringLiteral("Variable&1:"), text2_);
  label6_ = MakeLabel(this, "Label6", QStringLiteral("/"));
  SetPointSize(label6_, kSignPoints);
  label6_->setMinimumWidth(40);
  text3_ = MakeLineEdit(this, "Text3", QStringLiteral("3"));
  QLabel* label5 = MakeCaption(this, "Label5", QStringLiteral("Variable&2:"), text3_);
  QLabel* label7 = MakeLabel(this, "Label7", QStringLiteral("="));
  SetPointSize(label7, kSignPoints);
  QPushButton* command1 = MakeButton(this, "Command1", QStringLiteral("&Calculate"));
  SetPointSize(command1, kSignPoints);
  auto* operand_grid = new QGridLayout;
  operand_grid->addWidget(label4, 0, 0);
  operand_grid->addWidget(text2_, 0, 1);
  operand_grid->addWidget(label6_, 0, 2);
  operand_grid->addWidget(label5, 1, 0);
  operand_grid->addWidget(text3_, 1, 1);
  operand_grid->addWidget(label7, 1, 2);
  operand_grid->addWidget(command1, 1, 3);
  operand_grid->setColumnStretch(1, 1);
  for (QLineEdit* operand : {text2_, text3_}) operand->setMinimumWidth(200);

  label8_ = new ResultView(this, "Label8", QStringLiteral("(Please press Calculate)"), 3);
  exact_ = new ResultView(this, "ExactValue", QString(), 2);
  QLabel* exact_caption =
      MakeLabel(this, "ExactCaption",
                QStringLiteral("What the double holds, exactly (most decimals have no double of "
                               "exactly their value):"));
  exact_caption->setWordWrap(true);
  SetPointSize(exact_caption, kSmallPoints);

  auto* page = new QVBoxLayout(this);
  page->addWidget(label1);
  page->addWidget(label2);
  page->addWidget(frame1);
  page->addWidget(frame2);
  page->addLayout(operand_grid);
  page->addWidget(label8_);
  page->addWidget(exact_caption);
  page->addWidget(exact_);
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
  MakeDefaultButton(this, command1);
  numeron9_.DisableWhileBusy(command1);
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
  const OperationChoice& choice = SelectedOperation();
  const auto replace = [this](const QString& text) { ShowResult(text, QString()); };
  RunWithErrorReport(
      messages_,
      [&] {
        if (option1_->isChecked()) {
          const double first = FieldVal(text2_);
          const BuiltInResult result = Calculate(choice.operation, first, FieldVal(text3_));
          ShowResult(QString::fromStdString(result.plain), QString::fromStdString(result.exact));
          return;
        }
        CallRequest request{choice.member,
                            {FieldText(text2_), FieldText(text3_)},
                            {FieldName(text2_), FieldName(text3_)}};
        if (choice.operation == Operation::Divide) request.args.emplace_back(FieldVal(text1_));
        request.args.emplace_back(kStringValue);
        CallComponent(
            numeron9_, messages_, std::move(request),
            [this](const CallOutcome& outcome) { ShowResult(DisplayText(outcome.result), {}); },
            replace);
      },
      [&] { replace(QString()); });
}

void SimpleArithmeticPage::ShowResult(const QString& result, const QString& exact) {
  label8_->SetText(result);
  exact_->SetText(exact);
}

}  // namespace numeron::demo
