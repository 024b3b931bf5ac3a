#include "demo/result_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "demo/widgets.h"

namespace numeron::demo {

namespace {

constexpr double kResultPoints = 9;

QString Counted(qsizetype count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

}  // namespace

QString DigitCount(const QString& text) {
  const QString mantissa = text.section(QRegularExpression(QStringLiteral("[Ee]")), 0, 0);
  const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
  qsizetype digits = 0;
  qsizetype places = 0;
  for (qsizetype i = 0; i < mantissa.size(); ++i) {
    if (!mantissa[i].isDigit()) continue;
    ++digits;
    if (point >= 0 && i > point) ++places;
  }
  if (digits == 0) return {};
  return Counted(digits, "digit", "digits") + QStringLiteral(", ") +
         Counted(places, "place", "places");
}

ResultView::ResultView(QWidget* parent, const char* name, const QString& text, int lines)
    : QWidget(parent) {
  box_ = new QPlainTextEdit(this);
  box_->setObjectName(QString::fromLatin1(name));
  box_->setReadOnly(true);
  box_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box_->setFont(FixedPitchFont(kResultPoints));
  box_->setWordWrapMode(QTextOption::WrapAnywhere);  // a digit string has no word breaks
  box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box_->setSizePolicy(QSizePolicy::Expanding,
                      lines > 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding);
  const QMargins frame = box_->contentsMargins();
  const int line = box_->fontMetrics().lineSpacing();
  const int height = std::max(lines, 2) * line + frame.top() + frame.bottom() +
                     2 * static_cast<int>(box_->document()->documentMargin());
  if (lines > 0) box_->setFixedHeight(height);
  box_->setMinimumHeight(height);
  count_ = MakeLabel(this, (std::string(name) + "Count").c_str(), QString());
  QPushButton* copy =
      MakeButton(this, (std::string(name) + "Copy").c_str(), QStringLiteral("Copy"));
  copy->setToolTip(QStringLiteral("Copy the whole result"));

  // The count and the button stand beside the box, not under it, to save the page's height.
  count_->setWordWrap(true);
  auto* side = new QVBoxLayout;
  side->addWidget(copy);
  side->addWidget(count_);
  side->addStretch();
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(box_, 1, lines > 0 ? Qt::AlignTop : Qt::Alignment());
  row->addLayout(side);
  setSizePolicy(QSizePolicy::Preferred, lines > 0 ? QSizePolicy::Maximum : QSizePolicy::Expanding);
  const int side_width = copy->fontMetrics().horizontalAdvance(QStringLiteral("0000 places,")) + 8;
  copy->setFixedWidth(side_width);
  count_->setFixedWidth(side_width);

  connect(copy, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(box_->toPlainText()); });
  SetText(text);
}

QString ResultView::text() const { return box_->toPlainText(); }

void ResultView::SetText(const QString& text) {
  box_->setPlainText(text);
  count_->setText(DigitCount(text));
}

}  // namespace numeron::demo
