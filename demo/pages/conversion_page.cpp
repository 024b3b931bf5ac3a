#include "demo/pages/conversion_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/component_client.h"
#include "demo/error_report.h"
#include "demo/page_call.h"
#include "demo/result_view.h"
#include "demo/value_text.h"
#include "demo/widgets.h"

namespace numeron::demo {

namespace {

constexpr int kLinedUpPoints = 9;
// LineUpStringValues' Append_Trailing_Zeros.
constexpr auto kAppendTrailingZeros = static_cast<std::int32_t>(client::Flag::Yes);

}  // namespace

ConversionPage::ConversionPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent)
    : QWidget(parent), numeron9_(numeron9), messages_(messages) {
  QLabel* label18 = MakeExplanation(
      this, "Label18",
      QStringLiteral("Numeron's conversion and formatting functions are handy for display, even "
                     "in programs that never use Numeron's own number kinds. A few of them are "
                     "shown here; every function's help text (numeron --list prints them all) "
                     "gives the details."));

  QGroupBox* frame3 =
      MakeFrame(this, "Frame3", QStringLiteral("Round (Rounds a value to a given precision)"));
  text9_ = MakeLineEdit(frame3, "Text9", QStringLiteral("57.123835627289464"));
  text10_ = MakeLineEdit(frame3, "Text10", QStringLiteral("5"));
  text10_->setMaximumWidth(60);
  QPushButton* command6 = MakeButton(frame3, "Command6", QStringLiteral("&Go!"));
  text11_ = new ResultView(frame3, "Text11", QStringLiteral("(Please press go)"), 1);
  auto* round_grid = new QGridLayout(frame3);
  round_grid->addWidget(MakeCaption(frame3, "Label19", QStringLiteral("&Number:"), text9_), 0, 0);
  round_grid->addWidget(text9_, 0, 1, 1, 2);
  round_grid->addWidget(
      MakeCaption(frame3, "Label20", QStringLiteral("&Round this number to:"), text10_), 1, 0);
  round_grid->addWidget(text10_, 1, 1);
  round_grid->addWidget(MakeLabel(frame3, "Label21", QStringLiteral("Decimal places")), 1, 2);
  round_grid->addWidget(command6, 2, 0, Qt::AlignTop);
  round_grid->addWidget(text11_, 2, 1, 1, 2);
  round_grid->setColumnStretch(2, 1);

  QGroupBox* frame4 =
      MakeFrame(this, "Frame4", QStringLiteral("GetDigit (Retrieves a decimal digit in a number)"));
  text12_ = MakeLineEdit(frame4, "Text12", QStringLiteral("1234567890.0123456789"));
  text13_ = MakeLineEdit(frame4, "Text13", QStringLiteral("7"));
  text13_->setMaximumWidth(60);
  QPushButton* command7 = MakeButton(frame4, "Command7", QStringLiteral("G&o!"));
  text14_ = MakeResultField(frame4, "Text14", QStringLiteral("(Please press go)"));
  auto* digit_grid = new QGridLayout(frame4);
  digit_grid->addWidget(MakeCaption(frame4, "Label23", QStringLiteral("N&umber:"), text12_), 0, 0);
  digit_grid->addWidget(text12_, 0, 1, 1, 2);
  digit_grid->addWidget(
      MakeCaption(frame4, "Label24", QStringLiteral("Retrieve the &digit in the 10 ^"), text13_), 1,
      0);
  digit_grid->addWidget(text13_, 1, 1);
  digit_grid->addWidget(MakeLabel(frame4, "Label25", QStringLiteral("place.")), 1, 2);
  digit_grid->addWidget(command7, 2, 0);
  digit_grid->addWidget(text14_, 2, 1, 1, 2);
  digit_grid->setColumnStretch(2, 1);

  QGroupBox* frame5 = MakeFrame(this, "Frame5", QStringLiteral("LineUpStringValues"));
  text15_ = MakeLineEdit(frame5, "Text15", QStringLiteral("91670.56"));
  text16_ = MakeLineEdit(frame5, "Text16", QStringLiteral("-6.008"));
  QPushButton* command8 = MakeButton(frame5, "Command8", QStringLiteral("Go&!"));
  text17_ = MakeResultBox(frame5, "Text17", QStringLiteral("(Please press go)\n"));
  // A fixed-pitch font is what makes the lined-up decimal points stand in one column; the lines
  // scroll rather than wrap, so that each stays whole.
  text17_->setFont(FixedPitchFont(kLinedUpPoints));
  text17_->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* line_up_grid = new QGridLayout(frame5);
  line_up_grid->addWidget(MakeCaption(frame5, "Label26", QStringLiteral("&Line up:"), text15_), 0,
                          0);
  line_up_grid->addWidget(text15_, 0, 1);
  line_up_grid->addWidget(MakeCaption(frame5, "Label27", QStringLiteral("&with:"), text16_), 1, 0);
  line_up_grid->addWidget(text16_, 1, 1);
  line_up_grid->addWidget(command8, 2, 0);
  line_up_grid->addWidget(text17_, 3, 0, 1, 2);
  line_up_grid->setRowStretch(3, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(frame3);
  left->addWidget(frame4);
  left->addStretch();
  auto* frames = new QHBoxLayout;
  frames->addLayout(left, 3);
  frames->addWidget(frame5, 2);

  auto* page = new QVBoxLayout(this);
  page->addWidget(label18);
  page->addLayout(frames, 1);

  connect(command6, &QPushButton::clicked, this, [this] { RoundClicked(); });
  connect(command7, &QPushButton::clicked, this, [this] { GetDigitClicked(); });
  connect(command8, &QPushButton::clicked, this, [this] { LineUpClicked(); });
  // Enter within a frame presses that frame's button.
  for (auto [frame, go] : {std::pair{frame3, command6}, {frame4, command7}, {frame5, command8}}) {
    MakeDefaultButton(frame, go);
    numeron9_.DisableWhileBusy(go);
  }
}

void ConversionPage::RoundClicked() {
  const auto replace = [this](const QString& text) { text11_->SetText(text); };
  RunWithErrorReport(
      messages_,
      [&] {
        // Round writes its normalised decimal place back; the argument goes by value, so Text10
        // keeps what the user typed.
        CallComponent(
            numeron9_, messages_,
            {dispid::Round, {FieldText(text9_), FieldVal(text10_)}, {FieldName(text9_)}},
            [this](const CallOutcome& outcome) { text11_->SetText(DisplayText(outcome.result)); },
            replace);
      },
      [&] { replace(QString()); });
}

void ConversionPage::GetDigitClicked() {
  const auto replace = [this](const QString& text) { text14_->setText(text); };
  RunWithErrorReport(
      messages_,
      [&] {
        CallComponent(
            numeron9_, messages_,
            {dispid::GetDigit, {FieldText(text12_), FieldVal(text13_)}, {FieldName(text12_)}},
            [this](const CallOutcome& outcome) {
              text14_->setText(QString::number(AsInt16(outcome.result)));
            },
            replace);
      },
      [&] { replace(QString()); });
}

void ConversionPage::LineUpClicked() {
  // The member rewrites its first two arguments in place into their lined-up forms; the length
  // it returns is not needed.
  CallComponent(
      numeron9_, messages_,
      {dispid::LineUpStringValues,
       {FieldText(text15_), FieldText(text16_), kAppendTrailingZeros},
       {FieldName(text15_), FieldName(text16_)},
       2},
      [this](const CallOutcome& outcome) {
        text17_->setPlainText(DisplayText(outcome.args[0]) + QLatin1Char('\n') +
                              DisplayText(outcome.args[1]));
      },
      [this](const QString& text) { text17_->setPlainText(text); });
}

}  // namespace numeron::demo
