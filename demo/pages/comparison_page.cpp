#include "demo/pages/comparison_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/component_client.h"
#include "demo/error_report.h"
#include "demo/message_sink.h"
#include "demo/page_call.h"
#include "demo/value_text.h"
#include "demo/widgets.h"

namespace numeron::demo {

ComparisonPage::ComparisonPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent)
    : QWidget(parent), numeron9_(numeron9), messages_(messages) {
  QLabel* label32 = MakeExplanation(
      this, "Label32",
      QStringLiteral("Numeron's comparison operators and functions all return a Boolean (True "
                     "or False). Try a sampling of them below."));

  QGroupBox* frame6 = MakeFrame(this, "Frame6", QStringLiteral("IsNumericEx()"));
  QLabel* label33 = MakeLabel(
      frame6, "Label33",
      QStringLiteral("This function will test whether or not a string is a double value and can "
                     "be converted using the val() function without a loss of precision."));
  label33->setWordWrap(true);
  text18_ = MakeLineEdit(frame6, "Text18", QStringLiteral("6.12345678900987654321"));
  label35_ = MakeLabel(frame6, "Label35", QStringLiteral("Val(Number) ="));
  QPushButton* command10 = MakeButton(frame6, "Command10", QStringLiteral("Is&Numeric"));
  QPushButton* command11 = MakeButton(frame6, "Command11", QStringLiteral("IsNumeric&Ex"));
  auto* number_row = new QHBoxLayout;
  number_row->addWidget(MakeCaption(frame6, "Label34", QStringLiteral("N&umber:"), text18_));
  number_row->addWidget(text18_, 1);
  number_row->addWidget(label35_, 1);
  for (QPushButton* test : {command10, command11}) test->setMinimumWidth(120);
  auto* test_row = new QHBoxLayout;
  test_row->addWidget(command10);
  test_row->addWidget(command11);
  test_row->addStretch();
  auto* frame6_column = new QVBoxLayout(frame6);
  frame6_column->addWidget(label33);
  frame6_column->addLayout(number_row);
  frame6_column->addLayout(test_row);

  QGroupBox* frame7 = MakeFrame(this, "Frame7", QStringLiteral("IsValueOverflow()"));
  QLabel* label36 = MakeLabel(
      frame7, "Label36",
      QStringLiteral("This function will test whether or not a value (one of the Numeron data "
                     "types or a string) will \"fit\" into a double data type without causing "
                     "an error."));
  label36->setWordWrap(true);
  text19_ = MakeLineEdit(frame7, "Text19", QStringLiteral("3.68E400"));
  QPushButton* command12 = MakeButton(frame7, "Command12", QStringLiteral("Is&ValueOverflow"));
  command12->setMinimumWidth(120);
  auto* overflow_row = new QHBoxLayout;
  overflow_row->addWidget(MakeCaption(frame7, "Label37", QStringLiteral("Nu&mber:"), text19_));
  overflow_row->addWidget(text19_, 1);
  overflow_row->addWidget(command12);
  overflow_row->addStretch(1);
  auto* frame7_column = new QVBoxLayout(frame7);
  frame7_column->addWidget(label36);
  frame7_column->addLayout(overflow_row);

  auto* page = new QVBoxLayout(this);
  page->addWidget(label32);
  page->addWidget(frame6);
  page->addWidget(frame7);
  page->addStretch();

  connect(text18_, &QLineEdit::textChanged, this, [this] { ShowValOfNumber(); });
  connect(command10, &QPushButton::clicked, this,
          [this] { ShowAnswer(IsPlatformNumeric(text18_->text())); });
  connect(command11, &QPushButton::clicked, this, [this] { Ask(dispid::IsNumericEx, text18_); });
  connect(command12, &QPushButton::clicked, this,
          [this] { Ask(dispid::IsValueOverflow, text19_); });
  MakeDefaultButton(frame6, command11);
  MakeDefaultButton(frame7, command12);
  for (QPushButton* ask : {command11, command12}) numeron9_.DisableWhileBusy(ask);
  ShowValOfNumber();
}

void ComparisonPage::ShowValOfNumber() {
  // A text that Val cannot hold in a double leaves the label as it was.
  try {
    label35_->setText(QStringLiteral("Val(Number) =") +
                      QString::fromStdString(PaddedForm(CheckedVal(text18_->text()))));
  } catch (const HandlerError&) {
  }
}

void ComparisonPage::Ask(platform::DispId member, const QLineEdit* field) {
  // The answer comes in a box of its own; there is no result on the page to clear.
  CallComponent(
      numeron9_, messages_, {member, {FieldText(field)}, {FieldName(field)}},
      [this](const CallOutcome& outcome) { ShowAnswer(AsBoolean(outcome.result)); },
      [](const QString&) {});
}

void ComparisonPage::ShowAnswer(bool answer) {
  messages_.Show({BooleanText(answer), QString::fromLatin1(kApplicationTitle), MessageIcon::None});
}

}  // namespace numeron::demo
