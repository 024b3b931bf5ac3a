#include "demo/pages/conversion_page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "demo/component_client.h"
#include "demo/error_report.h"
#include "demo/value_text.h"
#include "demo/widgets.h"

namespace numeron::demo {

namespace {

constexpr int kLinedUpPoints = 9;
// LineUpStringValues' Append_Trailing_Zeros: Yes.
constexpr std::int32_t kAppendTrailingZeros = 0;

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
  QPushButton* command6 = MakeButton(frame3, "Command6", QStringLiteral("Go!"));
  text11_ = MakeResultField(frame3, "Text11", QStringLiteral("(Please press go)"));
  auto* round_grid = new QGridLayout(frame3);
  round_grid->addWidget(MakeLabel(frame3, "Label19", QStringLiteral("Number:")), 0, 0);
  round_grid->addWidget(text9_, 0, 1, 1, 2);
  round_grid->addWidget(MakeLabel(frame3, "Label20", QStringLiteral("Round this number to:")), 1,
                        0);
  round_grid->addWidget(text10_, 1, 1);
  round_grid->addWidget(MakeLabel(frame3, "Label21", QStringLiteral("Decimal places")), 1, 2);
  round_grid->addWidget(command6, 2, 0);
  round_grid->addWidget(text11_, 2, 1, 1, 2);
  round_grid->setColumnStretch(2, 1);

  QGroupBox* frame4 =
      MakeFrame(this, "Frame4", QStringLiteral("GetDigit (Retrieves a decimal digit in a number)"));
  text12_ = MakeLineEdit(frame4, "Text12", QStringLiteral("1234567890.0123456789"));
  text13_ = MakeLineEdit(frame4, "Text13", QStringLiteral("7"));
  text13_->setMaximumWidth(60);
  QPushButton* command7 = MakeButton(frame4, "Command7", QStringLiteral("Go!"));
  text14_ = MakeResultField(frame4, "Text14", QStringLiteral("(Please press go)"));
  auto* digit_grid = new QGridLayout(frame4);
  digit_grid->addWidget(MakeLabel(frame4, "Label23", QStringLiteral("Number:")), 0, 0);
  digit_grid->addWidget(text12_, 0, 1, 1, 2);
  digit_grid->addWidget(
      MakeLabel(frame4, "Label24", QStringLiteral("Retrieve the digit in the 10 ^")), 1, 0);
  digit_grid->addWidget(text13_, 1, 1);
  digit_grid->addWidget(MakeLabel(frame4, "Label25", QStringLiteral("place.")), 1, 2);
  digit_grid->addWidget(command7, 2, 0);
  digit_grid->addWidget(text14_, 2, 1, 1, 2);
  digit_grid->setColumnStretch(2, 1);

  QGroupBox* frame5 = MakeFrame(this, "Frame5", QStringLiteral("LineUpStringValues"));
  text15_ = MakeLineEdit(frame5, "Text15", QStringLiteral("91670.56"));
  text16_ = MakeLineEdit(frame5, "Text16", QStringLiteral("-6.008"));
  QPushButton* command8 = MakeButton(frame5, "Command8", QStringLiteral("Go!"));
  text17_ = MakeResultBox(frame5, "Text17", QStringLiteral("(Please press go)\n"));
  // A fixed-pitch font is what makes the lined-up decimal points stand in one column.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(kLinedUpPoints);
  text17_->setFont(fixed);
  text17_->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* line_up_grid = new QGridLayout(frame5);
  line_up_grid->addWidget(MakeLabel(frame5, "Label26", QStringLiteral("Line up:")), 0, 0);
  line_up_grid->addWidget(text15_, 0, 1);
  line_up_grid->addWidget(MakeLabel(frame5, "Label27", QStringLiteral("with:")), 1, 0);
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
}

void ConversionPage::RoundClicked() {
  RunWithErrorReport(messages_, [this] {
    // Round writes its normalised decimal place back; the argument is a temporary, so Text10
    // keeps what the user typed.
    text11_->setText(DisplayText(numeron9_.Call(
        member::kRound, {TextArgument(text9_->text()), CheckedVal(text10_->text())})));
  });
}

void ConversionPage::GetDigitClicked() {
  RunWithErrorReport(messages_, [this] {
    const platform::Variant digit = numeron9_.Call(
        member::kGetDigit, {TextArgument(text12_->text()), CheckedVal(text13_->text())});
    text14_->setText(QString::number(AsInt16(digit)));
  });
}

void ConversionPage::LineUpClicked() {
  RunWithErrorReport(messages_, [this] {
    // The member rewrites its first two arguments in place into their lined-up forms; the
    // length it returns is not needed.
    platform::Variant first = TextArgument(text15_->text());
    platform::Variant second = TextArgument(text16_->text());
    std::array<platform::Argument, 3> args{platform::Argument::ByRef(first),
                                           platform::Argument::ByRef(second),
                                           platform::Argument::ByValue(kAppendTrailingZeros)};
    numeron9_.Call(member::kLineUpStringValues, args);
    text17_->setPlainText(DisplayText(first) + QLatin1Char('\n') + DisplayText(second));
  });
}

}  // namespace numeron::demo
