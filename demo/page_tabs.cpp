#include "demo/page_tabs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace numeron::demo {

namespace {

constexpr int kTabsPerRow = 4;

}  // namespace

PageTabs::PageTabs(QWidget* parent) : QWidget(parent) {
  buttons_ = new QButtonGroup(this);
  buttons_->setExclusive(true);
  stack_ = new QStackedWidget(this);
  rows_ = new QGridLayout;
  rows_->setSpacing(2);
  for (int column = 0; column < kTabsPerRow; ++column) rows_->setColumnStretch(column, 1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(rows_);
  column->addWidget(stack_, 1);

  connect(buttons_, &QButtonGroup::idClicked, stack_, &QStackedWidget::setCurrentIndex);
  const auto step = [this](int by) {
    if (count() > 0) setCurrentIndex((currentIndex() + by + count()) % count());
  };
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [step] { step(1); });
  auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
  connect(previous, &QShortcut::activated, this, [step] { step(-1); });
}

void PageTabs::AddPage(QWidget* page, const QString& caption) {
  const int index = count();
  auto* tab = new QPushButton(caption, this);
  tab->setCheckable(true);
  tab->setFocusPolicy(Qt::TabFocus);
  buttons_->addButton(tab, index);
  rows_->addWidget(tab, index / kTabsPerRow, index % kTabsPerRow);
  auto* scroll = new QScrollArea(stack_);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(page);
  stack_->addWidget(scroll);
  if (index == 0) setCurrentIndex(0);
}

int PageTabs::count() const { return stack_->count(); }

int PageTabs::currentIndex() const { return stack_->currentIndex(); }

void PageTabs::setCurrentIndex(int index) {
  if (QAbstractButton* tab = buttons_->button(index)) tab->setChecked(true);
  stack_->setCurrentIndex(index);
}

QString PageTabs::tabText(int index) const {
  QAbstractButton* tab = buttons_->button(index);
  return tab ? tab->text() : QString();
}

QWidget* PageTabs::page(int index) const {
  auto* scroll = static_cast<QScrollArea*>(stack_->widget(index));
  return scroll ? scroll->widget() : nullptr;
}

}  // namespace numeron::demo
