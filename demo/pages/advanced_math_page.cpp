#include "demo/pages/advanced_math_page.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <initializer_list>

#include "demo/component_client.h"
#include "demo/error_report.h"
#include "demo/page_call.h"
#include "demo/pages/help_boxes.h"
#include "demo/result_view.h"
#include "demo/value_text.h"
#include "demo/widgets.h"

namespace numeron::demo {

namespace {

// One entry of Combo1. Every function takes the precision; the others take, in this order, the
// number, the base (or exponent) and the series length where they are shown, so the fields a
// function shows are exactly the arguments its call passes before Precision and Return_Type.
struct FunctionEntry {
  const char* text;
  platform::DispId member;
  bool takes_number;
  bool takes_base;
  bool takes_series;
  const char* number_caption;
  const char* base_caption;
};

constexpr std::array<FunctionEntry, 7> kFunctions{{
    {"Pi (Returns pi to n digits)", dispid::Pi, false, false, false, "&Number:", "&Base:"},
    {"e (Returns e to n digits)", dispid::e, false, false, false, "&Number:", "&Base:"},
    {"Log_e (Returns the logarthim of a number, base e)", dispid::Log_e, true, false, true,
     "&Number:", "&Base:"},
    {"Logarithm (Returns the logarithm of a number using a specified base)", dispid::Logarithm,
     true, true, true, "&Number:", "&Base:"},
    {"Exponential (Returns Number1 ^ Number2)", dispid::Exponential, true, true, true,
     "&Number:", "E&xponent:"},
    {"Calculate_e (Dynamically calculate e)", dispid::Calculate_e, false, false, true,
     "&Number:", "&Base:"},
    {"eToExponent (Returns e ^ number, calculated dynamically)", dispid::eToExponent, true, false,
     true, "&Exponent:", "&Base:"},
}};

}  // namespace

AdvancedMathPage::AdvancedMathPage(ComponentClient& numeron9, MessageSink& messages,
                                   std::function<void()> show_notes, QWidget* parent)
    : QWidget(parent), numeron9_(numeron9), messages_(messages) {
  QLabel* label9 = MakeExplanation(
      this, "Label9",
      QStringLiteral(
          "Beyond arithmetic, Numeron calculates logarithms, exponentials, pi, e and more, and "
          "each function lets you control how it calculates (precision and series length) and "
          "what kind of value it returns. Pick a function from the list below and try it."));
  QPushButton* command5 =
      MakeBoldButton(this, "Command5", QStringLiteral("&Tell me about performance issues"));
  combo1_ = MakeList(this, "Combo1");
  QLabel* label10 =
      MakeCaption(this, "Label10", QStringLiteral("Please select a f&unction:"), combo1_);
  QPushButton* command2 = MakeBoldButton(this, "Command2", QStringLiteral("&Calculate"));

  text4_ = MakeLineEdit(this, "Text4", QStringLiteral("10"));
  label11_ = MakeCaption(this, "Label11", QStringLiteral("&Precision:"), text4_);
  command3_ = MakeBoldButton(this, "Command3", QStringLiteral("?"));
  text5_ = MakeLineEdit(this, "Text5", QStringLiteral("10"));
  label12_ = MakeCaption(this, "Label12", QStringLiteral("&Series length:"), text5_);
  command4_ = MakeBoldButton(this, "Command4", QStringLiteral("?"));
  text6_ = MakeLineEdit(this, "Text6", QStringLiteral("50"));
  label13_ = MakeCaption(this, "Label13", QStringLiteral("&Number:"), text6_);
  text7_ = MakeLineEdit(this, "Text7", QStringLiteral("10"));
  label14_ = MakeCaption(this, "Label14", QStringLiteral("&Base:"), text7_);
  QLabel* label15 = MakeLabel(this, "Label15", QStringLiteral("Result:"));
  text8_ = new ResultView(this, "Text8", QStringLiteral("(Please press Calculate)"), 0);
  QLabel* label16 =
      MakeLabel(this, "Label16",
                QStringLiteral("If you need help about what a field is (or does), click the "
                               "question mark next to it for more information."));
  label16->setWordWrap(true);

  for (QPushButton* help : {command3_, command4_}) help->setFixedWidth(32);

  auto* choice_row = new QHBoxLayout;
  choice_row->addWidget(label10);
  choice_row->addWidget(combo1_, 1);
  // The entries are long sentences; the list may be narrower than its longest one.
  combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo1_->setMinimumContentsLength(24);
  choice_row->addWidget(command2);

  // The fields stand in a fixed grid; hidden ones leave their cells empty rather than letting
  // the rows below jump up and down as the selection changes.
  auto* fields = new QGridLayout;
  fields->addWidget(label11_, 0, 0);
  fields->addWidget(text4_, 0, 1);
  fields->addWidget(command3_, 0, 2);
  fields->addWidget(label12_, 1, 0);
  fields->addWidget(text5_, 1, 1);
  fields->addWidget(command4_, 1, 2);
  fields->addWidget(label13_, 2, 0);
  fields->addWidget(text6_, 2, 1);
  fields->addWidget(label14_, 3, 0);
  fields->addWidget(text7_, 3, 1);
  fields->setColumnMinimumWidth(1, 160);
  for (int row = 0; row < 4; ++row) fields->setRowMinimumHeight(row, text4_->sizeHint().height());
  auto* fields_and_hint = new QHBoxLayout;
  fields_and_hint->addLayout(fields);
  fields_and_hint->addSpacing(16);
  fields_and_hint->addWidget(label16, 1, Qt::AlignTop);

  auto* top_row = new QHBoxLayout;
  top_row->addWidget(label9, 1);
  top_row->addWidget(command5, 0, Qt::AlignTop);

  auto* page = new QVBoxLayout(this);
  page->addLayout(top_row);
  page->addLayout(choice_row);
  page->addLayout(fields_and_hint);
  page->addWidget(label15);
  page->addWidget(text8_, 1);

  for (const FunctionEntry& entry : kFunctions) combo1_->addItem(QString::fromLatin1(entry.text));
  combo1_->installEventFilter(this);
  connect(combo1_, &QComboBox::currentIndexChanged, this, [this] { LayOutFields(); });
  connect(command2, &QPushButton::clicked, this, [this] { CalculateClicked(); });
  MakeDefaultButton(this, command2);
  numeron9_.DisableWhileBusy(command2);
  connect(command3_, &QPushButton::clicked, this, [this] { ShowPrecisionHelp(messages_); });
  connect(command4_, &QPushButton::clicked, this, [this] { ShowSeriesLengthHelp(messages_); });
  connect(command5, &QPushButton::clicked, this, [show_notes = std::move(show_notes)] {
    if (show_notes) show_notes();
  });
  combo1_->setCurrentIndex(0);
  LayOutFields();
}

bool AdvancedMathPage::eventFilter(QObject* watched, QEvent* event) {
  // Stepping through the list with the keys lays the page out again on every key release.
  if (watched == combo1_ && event->type() == QEvent::KeyRelease) LayOutFields();
  return QWidget::eventFilter(watched, event);
}

void AdvancedMathPage::LayOutFields() {
  for (QWidget* field :
       std::initializer_list<QWidget*>{text4_, text5_, text6_, text7_, label11_, label12_, label13_,
                                       label14_, command3_, command4_}) {
    field->hide();
  }
  const int index = combo1_->currentIndex();
  if (index < 0 || index >= static_cast<int>(kFunctions.size())) return;
  const FunctionEntry& entry = kFunctions[static_cast<std::size_t>(index)];
  for (QWidget* field : std::initializer_list<QWidget*>{label11_, text4_, command3_}) field->show();
  for (QWidget* field : std::initializer_list<QWidget*>{label12_, text5_, command4_}) {
    field->setVisible(entry.takes_series);
  }
  label13_->setVisible(entry.takes_number);
  text6_->setVisible(entry.takes_number);
  label14_->setVisible(entry.takes_base);
  text7_->setVisible(entry.takes_base);
  label13_->setText(QString::fromLatin1(entry.number_caption));
  label14_->setText(QString::fromLatin1(entry.base_caption));
}

void AdvancedMathPage::CalculateClicked() {
  const int index = combo1_->currentIndex();
  if (index < 0 || index >= static_cast<int>(kFunctions.size())) return;
  const FunctionEntry& entry = kFunctions[static_cast<std::size_t>(index)];
  const auto replace = [this](const QString& text) { text8_->SetText(text); };
  RunWithErrorReport(
      messages_,
      [&] {
        CallRequest request{entry.member, {}, {}};
        const auto add_text = [&request](const QLineEdit* field) {
          request.args.push_back(FieldText(field));
          request.fields.push_back(FieldName(field));
        };
        if (entry.takes_number) add_text(text6_);
        if (entry.takes_base) add_text(text7_);
        if (entry.takes_series) request.args.emplace_back(FieldVal(text5_));
        request.args.emplace_back(FieldVal(text4_));
        request.args.emplace_back(kStringValue);
        CallComponent(
            numeron9_, messages_, std::move(request),
            [this](const CallOutcome& outcome) { text8_->SetText(DisplayText(outcome.result)); },
            replace);
      },
      [&] { replace(QString()); });
}

}  // namespace numeron::demo
