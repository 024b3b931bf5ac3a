#include "demo/notes_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/widgets.h"

namespace numeron::demo {

namespace {

constexpr int kBulletSize = 8;

QFrame* MakeBullet(QWidget* parent, const char* name) {
  auto* bullet = new QFrame(parent);
  bullet->setObjectName(QString::fromLatin1(name));
  bullet->setFixedSize(kBulletSize, kBulletSize);
  bullet->setStyleSheet(QStringLiteral("background: palette(window-text); border-radius: %1px;")
                            .arg(kBulletSize / 2));
  return bullet;
}

}  // namespace

NotesWindow::NotesWindow() {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("More about performance issues"));
  setAttribute(Qt::WA_DeleteOnClose);

  QLabel* label1 = MakeExplanation(
      this, "Label1",
      QStringLiteral(
          "Because of the calculations involved, some Numeron functions can take a while. Most "
          "delays disappear when you pass a sensible series length and precision: beyond a "
          "certain series length, higher values give no more correct digits and only cost "
          "time. Here are a few more ways to speed things up:"));
  struct Tip {
    const char* shape;
    const char* label;
    const char* text;
  };
  const Tip tips[] = {
      {"Shape1", "Label2",
       "Where you do not need Numeron's advanced functions, convert a huge number to a built-in "
       "type with one of Numeron's conversion functions and use the built-in arithmetic."},
      {"Shape2", "Label3",
       "Do not calculate to more precision than you need; choosing the precision argument well "
       "cuts the delays."},
      {"Shape3", "Label4",
       "Using integral exponents will result in greatly increased calculation speed in the "
       "exponential function."},
  };
  auto* tip_grid = new QGridLayout;
  int row = 0;
  for (const Tip& tip : tips) {
    QLabel* text = MakeLabel(this, tip.label, QString::fromLatin1(tip.text));
    text->setWordWrap(true);
    // The bullet stands beside the middle of the tip's first line.
    auto* bullet = new QVBoxLayout;
    bullet->addSpacing((text->fontMetrics().height() - kBulletSize) / 2);
    bullet->addWidget(MakeBullet(this, tip.shape), 0, Qt::AlignHCenter);
    bullet->addStretch();
    tip_grid->addLayout(bullet, row, 0);
    tip_grid->addWidget(text, row, 1);
    ++row;
  }
  tip_grid->setColumnMinimumWidth(0, 24);
  tip_grid->setColumnStretch(1, 1);
  QLabel* label5 = MakeExplanation(
      this, "Label5",
      QStringLiteral("Most advanced functions are quick, and the slow ones can be sped up where "
                     "performance matters. In most cases you will not need these tips at all."));
  QPushButton* command1 = MakeButton(this, "Command1", QStringLiteral("Enough already!"));

  auto* button_row = new QHBoxLayout;
  button_row->addStretch();
  button_row->addWidget(command1);
  auto* column = new QVBoxLayout(this);
  column->addWidget(label1);
  column->addLayout(tip_grid);
  column->addWidget(label5);
  column->addStretch();
  column->addLayout(button_row);

  connect(command1, &QPushButton::clicked, this, &QWidget::close);
  resize(480, 360);
}

}  // namespace numeron::demo
