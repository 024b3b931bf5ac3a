#include "demo/pages/trig_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "demo/component_client.h"
#include "demo/error_report.h"
#include "demo/page_call.h"
#include "demo/pages/help_boxes.h"
#include "demo/result_view.h"
#include "demo/value_text.h"
#include "demo/widgets.h"

namespace numeron::demo {

namespace {

struct TrigFunction {
  const char* entry;
  platform::DispId member;
};

// Combo2's entries in list order; the selected index picks the call, so the two go together.
constexpr std::array<TrigFunction, 12> kTrigFunctions{{
    {"ArcCosecant", dispid::ArcCosecant},
    {"ArcCosine", dispid::ArcCosine},
    {"ArcCotangent", dispid::ArcCotangent},
    {"ArcSecant", dispid::ArcSecant},
    {"ArcSine", dispid::ArcSine},
    {"ArcTangent", dispid::ArcTangent},
    {"Cosecant", dispid::Cosecant},
    {"Cosine", dispid::Cosine},
    {"Cotangent", dispid::Cotangent},
    {"Secant", dispid::Secant},
    {"Sine", dispid::Sine},
    {"Tangent", dispid::Tangent},
}};
constexpr int kSineIndex = 10;

}  // namespace

TrigPage::TrigPage(ComponentClient& numeron9, MessageSink& messages, QWidget* parent)
    : QWidget(parent), numeron9_(numeron9), messages_(messages) {
  QLabel* label28 = MakeExplanation(
      this, "Label28",
      QStringLiteral(
          "Numeron offers the six trigonometric functions and their six inverses, each summed "
          "from its series to the precision and series length you choose.  It should be noted "
          "that the value passed to the function (the Number field) and the return value are in "
          "Radians.  To convert Radians to Degrees multiply by (180/pi)."));
  combo2_ = MakeList(this, "Combo2");
  QLabel* label29 = MakeCaption(
      this, "Label29", QStringLiteral("Please select a trigonometric f&unction:"), combo2_);
  for (const TrigFunction& function : kTrigFunctions) {
    combo2_->addItem(QString::fromLatin1(function.entry));
  }
  combo2_->setCurrentIndex(kSineIndex);

  trig1_ = MakeLineEdit(this, "Trig1", QStringLiteral("10"));
  QLabel* caption1 = MakeCaption(this, "TrigCaption1", QStringLiteral("&Precision:"), trig1_);
  QPushButton* button1 = MakeBoldButton(this, "TrigButton1", QStringLiteral("?"));
  trig2_ = MakeLineEdit(this, "Trig2", QStringLiteral("10"));
  QLabel* caption2 = MakeCaption(this, "TrigCaption2", QStringLiteral("&Series length:"), trig2_);
  QPushButton* button2 = MakeBoldButton(this, "TrigButton2", QStringLiteral("?"));
  trig3_ = MakeLineEdit(this, "Trig3", QStringLiteral("2"));
  QLabel* label30 = MakeCaption(this, "Label30", QStringLiteral("&Number:"), trig3_);
  QPushButton* command9 = MakeBoldButton(this, "Command9", QStringLiteral("&Calculate"));
  label31_ = new ResultView(this, "Label31", QStringLiteral("(Please press calculate)"), 3);
  QLabel* label16 = MakeLabel(this, "Label16",
                              QStringLiteral("If you need help about what a field is (or does), "
                                             "click the question mark next to it for more "
                                             "information."));
  label16->setWordWrap(true);
  for (QPushButton* help : {button1, button2}) help->setFixedWidth(32);

  auto* choice_row = new QHBoxLayout;
  choice_row->addWidget(label29);
  choice_row->addWidget(combo2_);
  choice_row->addStretch();

  auto* fields = new QGridLayout;
  fields->addWidget(caption1, 0, 0);
  fields->addWidget(trig1_, 0, 1);
  fields->addWidget(button1, 0, 2);
  fields->addWidget(caption2, 1, 0);
  fields->addWidget(trig2_, 1, 1);
  fields->addWidget(button2, 1, 2);
  fields->addWidget(label30, 2, 0);
  fields->addWidget(trig3_, 2, 1);
  fields->setColumnMinimumWidth(1, 160);
  auto* fields_and_hint = new QHBoxLayout;
  fields_and_hint->addLayout(fields);
  fields_and_hint->addSpacing(16);
  fields_and_hint->addWidget(label16, 1, Qt::AlignTop);

  auto* result_row = new QHBoxLayout;
  result_row->addWidget(command9, 0, Qt::AlignTop);
  result_row->addWidget(label31_, 1);

  auto* page = new QVBoxLayout(this);
  page->addWidget(label28);
  page->addLayout(choice_row);
  page->addLayout(fields_and_hint);
  page->addLayout(result_row);
  page->addStretch();

  connect(button1, &QPushButton::clicked, this, [this] { ShowPrecisionHelp(messages_); });
  connect(button2, &QPushButton::clicked, this, [this] { ShowSeriesLengthHelp(messages_); });
  connect(command9, &QPushButton::clicked, this, [this] { CalculateClicked(); });
  MakeDefaultButton(this, command9);
  numeron9_.DisableWhileBusy(command9);
}

void TrigPage::CalculateClicked() {
  const int index = combo2_->currentIndex();
  if (index < 0 || index >= static_cast<int>(kTrigFunctions.size())) return;
  const platform::DispId function = kTrigFunctions[static_cast<std::size_t>(index)].member;
  const auto replace = [this](const QString& text) { label31_->SetText(text); };
  RunWithErrorReport(
      messages_,
      [&] {
        const double series_length = FieldVal(trig2_);
        CallRequest request{function,
                            {FieldText(trig3_), series_length, FieldVal(trig1_), kStringValue},
                            {FieldName(trig3_)}};
        CallComponent(
            numeron9_, messages_, std::move(request),
            [this](const CallOutcome& outcome) { label31_->SetText(DisplayText(outcome.result)); },
            replace);
      },
      [&] { replace(QString()); });
}

}  // namespace numeron::demo
