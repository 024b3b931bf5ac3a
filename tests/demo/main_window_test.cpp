// The main window as a whole: start-up state of every page, creation failure, the error report
// and the notes window's lifecycle.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "demo/error_report.h"
#include "demo/notes_window.h"
#include "demo/start_up.h"
#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

namespace {

QList<QWidget*> OpenNotesWindows() {
  QList<QWidget*> open;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String("Form2") && widget->isVisible()) open.append(widget);
  }
  return open;
}

// Open or closed but not yet discarded.
int NotesWindowsAlive() {
  const QWidgetList windows = QApplication::topLevelWidgets();
  return static_cast<int>(std::count_if(windows.cbegin(), windows.cend(), [](QWidget* widget) {
    return widget->objectName() == QLatin1String("Form2");
  }));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // A notes window outlives the test's main window; none may leak into the next test.
  void cleanup() {
    for (QWidget* notes : OpenNotesWindows()) notes->close();
    QTRY_COMPARE(NotesWindowsAlive(), 0);
  }

  void captionAndPages() {
    DemoWindow demo;
    QCOMPARE(demo.window().windowTitle(),
             QStringLiteral("Testing the Numeron Control From Orrindale"));
    QTabWidget* tabs = demo.Find<QTabWidget>("SSTab1");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Simple Arithmitic", "Advanced Math", "Numeron Data Types",
                                    "Conversion Functions", "Trig Functions",
                                    "Comparison Functions", "The Pitch"}));
    QCOMPARE(tabs->currentIndex(), 0);
  }

  void startUpState() {
    DemoWindow demo;
    QStringList selected;
    for (const char* name :
         {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Option7"}) {
      if (demo.Find<QRadioButton>(name)->isChecked()) selected << QString::fromLatin1(name);
    }
    QCOMPARE(selected, (QStringList{"Option2", "Option4"}));
    QVERIFY(demo.Find<QLineEdit>("Text1")->isEnabled());
    QCOMPARE(demo.Find<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(demo.Find<QComboBox>("Combo2")->currentText(), QStringLiteral("Sine"));
    // Val keeps 15 significant digits of the text, after a blank for a value that is not negative.
    QCOMPARE(demo.Find<QLabel>("Label35")->text(),
             QStringLiteral("Val(Number) = 6.12345678900988"));
  }

  // The pictures are resources of a static library; a link that drops them shows empty labels.
  void pitchPictures() {
    DemoWindow demo;
    demo.ShowPage(6);
    const QPixmap image2 = demo.Find<QLabel>("Image2")->pixmap();
    const QPixmap image1 = demo.Find<QLabel>("Image1")->pixmap();
    QCOMPARE(image2.size(), QSize(197, 47));
    QCOMPARE(image1.size(), QSize(127, 41));
  }

  void creationFailure_data() {
    QTest::addColumn<QByteArray>("registry");  // contents; null: no file at all
    QTest::addColumn<QString>("cause");
    QTest::newRow("no registration file") << QByteArray() << "No registration file";
    QTest::newRow("class not registered")
        << QByteArray("Other.Thing\t{1}\t/lib/x.so\n") << "is not registered";
    QTest::newRow("library missing")
        << QByteArray("NumeronControl.Numeron\t{2}\t/nonexistent/libNumeronCtl.so\n")
        << "Cannot load /nonexistent/libNumeronCtl.so";
  }

  void creationFailure() {
    QFETCH(QByteArray, registry);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString path = dir.filePath("registry");
    if (!registry.isNull()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(registry);
    }
    const QByteArray saved = qgetenv("NUMERON_REGISTRY");
    qputenv("NUMERON_REGISTRY", path.toLocal8Bit());
    RecordingSink messages;
    MainWindow* window = OpenMainWindow(messages);
    qputenv("NUMERON_REGISTRY", saved);

    QVERIFY(window == nullptr);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    const Message& box = messages.shown.front();
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY2(box.text.contains(cause), qPrintable(box.text));
    QVERIFY2(box.text.contains("NumeronControl.Numeron"), qPrintable(box.text));
    QVERIFY2(box.text.contains("numeron-register"), qPrintable(box.text));  // how to register
  }

  void errorReport_data() {
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("text");
    QTest::newRow("component's own number, signed")
        << qint32(0x800403ED) << "You cannot divide a number by zero.  [Division by zero]"
        << "You cannot divide a number by zero.  [Division by zero], error number -2147220499 "
           "was generated.";
    QTest::newRow("platform's number, short") << qint32(0x800A000D) << "Type mismatch"
                                              << "Type mismatch, error number 13 was generated.";
    QTest::newRow("overflow") << qint32(0x800A0006) << "Overflow"
                              << "Overflow, error number 6 was generated.";
    QTest::newRow("dispatch status, signed")
        << qint32(0x8002000F) << "Argument not optional"
        << "Argument not optional, error number -2147352561 was generated.";
  }

  void errorReport() {
    QFETCH(qint32, number);
    QFETCH(QString, description);
    QFETCH(QString, text);
    RecordingSink messages;
    RunWithErrorReport(messages, [&] { throw HandlerError(number, description.toStdString()); });
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].text, text);
    QCOMPARE(messages.shown[0].title, QStringLiteral("An error has occured."));
    QCOMPARE(messages.shown[0].icon, MessageIcon::Critical);
  }

  void notesWindowOpensOnce() {
    DemoWindow demo;
    demo.ShowPage(1);
    demo.Click("Command5");
    demo.Click("Command5");
    const QList<QWidget*> open = OpenNotesWindows();
    QCOMPARE(open.size(), 1);
    QWidget* notes = open.front();
    QCOMPARE(notes->windowTitle(), QStringLiteral("More about performance issues"));
    QVERIFY(notes->isVisible());
    QVERIFY(notes->parentWidget() == nullptr);  // its own window, not part of the main one
    // Modeless: the main window's pages still work while the notes are open.
    demo.ShowPage(0);
    demo.Click("Command1");
    QCOMPARE(demo.Find<QLabel>("Label8")->text(), QStringLiteral("0.3333333333"));
  }

  void notesWindowIsRecreatedAfterClosing_data() {
    QTest::addColumn<bool>("by_button");
    QTest::newRow("Enough already!") << true;
    QTest::newRow("close box") << false;
  }

  void notesWindowIsRecreatedAfterClosing() {
    QFETCH(bool, by_button);
    DemoWindow demo;
    demo.ShowPage(1);
    demo.Click("Command5");
    QPointer<QWidget> first = OpenNotesWindows().value(0);
    QVERIFY(first);
    const QString tip = first->findChild<QLabel*>("Label2")->text();
    if (by_button) {
      QPushButton* enough = first->findChild<QPushButton*>("Command1");
      QCOMPARE(enough->text(), QStringLiteral("Enough already!"));
      QTest::mouseClick(enough, Qt::LeftButton);
    } else {
      first->close();
    }
    QVERIFY(OpenNotesWindows().isEmpty());
    QTRY_VERIFY(first.isNull());  // discarded, not merely hidden

    demo.Click("Command5");
    const QList<QWidget*> reopened = OpenNotesWindows();
    QCOMPARE(reopened.size(), 1);
    QVERIFY(reopened.front()->isVisible());
    QCOMPARE(reopened.front()->findChild<QLabel*>("Label2")->text(), tip);
  }

  void notesOutliveTheMainWindow() {
    QPointer<QWidget> notes;
    {
      DemoWindow demo;
      demo.ShowPage(1);
      demo.Click("Command5");
      notes = OpenNotesWindows().value(0);
    }
    QTest::qWait(0);
    QVERIFY(notes);
    QVERIFY(notes->isVisible());
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
