// NumeronTest: a window for trying the Numeron component, page by page.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include "demo/main_window.h"
#include "demo/message_sink.h"
#include "demo/screenshot_tour.h"
#include "demo/start_up.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(numeron::demo::kApplicationTitle));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Try the Numeron component, page by page."));
  parser.addHelpOption();
  const QCommandLineOption screenshots(
      QStringLiteral("screenshots"),
      QStringLiteral("Show every page and the notes window in turn, save each as a PNG in "
                     "<folder>, and quit."),
      QStringLiteral("folder"));
  parser.addOption(screenshots);
  parser.process(app);

  numeron::demo::MessageBoxSink boxes;
  numeron::demo::MainWindow* window = numeron::demo::OpenMainWindow(boxes);
  if (!window) return 1;
  if (parser.isSet(screenshots)) {
    return numeron::demo::RunScreenshotTour(*window, parser.value(screenshots));
  }
  window->show();
  return app.exec();
}
