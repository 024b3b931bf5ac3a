// The window's pages behind tabs that stand four to a row, so that the window is no wider than
// four captions; Ctrl+Tab and Ctrl+Shift+Tab step through them. Each page sits in a scroll area:
// at any window size every control stays reachable and none overlaps another.
#pragma once

#include <QString>
#include <QWidget>

class QButtonGroup;
class QGridLayout;
class QStackedWidget;

namespace numeron::demo {

class PageTabs : public QWidget {
 public:
  explicit PageTabs(QWidget* parent);

  void AddPage(QWidget* page, const QString& caption);
  int count() const;
  int currentIndex() const;
  void setCurrentIndex(int index);
  QString tabText(int index) const;
  // The page itself (not its scroll area).
  QWidget* page(int index) const;

 private:
  QButtonGroup* buttons_;
  QGridLayout* rows_;
  QStackedWidget* stack_;
};

}  // namespace numeron::demo
