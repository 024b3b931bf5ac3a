#include "demo/screenshot_tour.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "demo/component_client.h"
#include "demo/main_window.h"
#include "demo/notes_window.h"
#include "demo/page_tabs.h"

namespace numeron::demo {

namespace {

// Long enough for the window system to map, lay out and paint a window or a page.
constexpr int kSettleMilliseconds = 400;

void Settle() {
  QEventLoop loop;
  QTimer::singleShot(kSettleMilliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// Takes the window's area from the screen itself, so the picture is what a user would see.
bool SaveWindowPicture(QWidget& window, const QString& path) {
  Settle();
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QRect area = window.frameGeometry();
  const QPixmap picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  const bool saved = !picture.isNull() && picture.save(path, "PNG");
  std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

QString FileName(int index, const QString& caption) {
  return QStringLiteral("%1-%2.png")
      .arg(index)
      .arg(caption.toLower().replace(QLatin1Char(' '), QLatin1Char('-')));
}

// Types into the window's fields and presses its button, as a user would.
void Enter(MainWindow& window, std::initializer_list<std::pair<const char*, const char*>> fields,
           const char* button) {
  for (const auto& [name, text] : fields) {
    window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
  }
  window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

void WaitIdle(MainWindow& window) {
  while (window.numeron9().busy()) Settle();
}

}  // namespace

int RunScreenshotTour(MainWindow& window, const QString& folder) {
  QDir dir;
  if (!dir.mkpath(folder)) return 1;
  window.move(0, 0);
  window.show();
  bool all_saved = true;
  PageTabs* tabs = window.tabs();
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    all_saved &= SaveWindowPicture(window, QDir(folder).filePath(FileName(i, tabs->tabText(i))));
  }
  // A result far longer than a line: 1 / 7 to 500 places.
  tabs->setCurrentIndex(0);
  Enter(window, {{"Text2", "1"}, {"Text3", "7"}, {"Text1", "500"}}, "Command1");
  WaitIdle(window);
  all_saved &=
      SaveWindowPicture(window, QDir(folder).filePath(QStringLiteral("7-long-result.png")));
  // A long series while it runs, then cancelled.
  tabs->setCurrentIndex(1);
  window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);
  Enter(window, {{"Text4", "5000"}, {"Text5", "2000"}}, "Command2");
  all_saved &=
      SaveWindowPicture(window, QDir(folder).filePath(QStringLiteral("8-in-progress.png")));
  window.numeron9().Cancel();
  WaitIdle(window);
  tabs->setCurrentIndex(0);
  window.ShowNotes();
  NotesWindow* notes = window.notes();
  notes->move(0, 0);
  all_saved &= SaveWindowPicture(*notes, QDir(folder).filePath(QStringLiteral("notes.png")));
  notes->close();
  window.close();
  return all_saved ? 0 : 1;
}

}  // namespace numeron::demo
