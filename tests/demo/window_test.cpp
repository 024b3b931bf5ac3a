// The main window as a whole: its tabs and start-up state, what no page may do to its size, the
// keyboard, start-up failure, the notes window, and calls that take long.
#include <QApplication>
#include <QFontMetrics>
#include <QProgressBar>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTemporaryDir>
#include <QTest>

#include "demo/page_tabs.h"
#include "demo/start_up.h"
#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

namespace {

QList<QWidget*> NotesWindows() {
  QList<QWidget*> notes;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String("Form2")) notes.append(widget);
  }
  return notes;
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  // A notes window outlives the test's main window; none may leak into the next test.
  void cleanup() {
    for (QWidget* notes : NotesWindows()) notes->close();
    QTRY_VERIFY(NotesWindows().isEmpty());
  }

  void tabsAndStartUp() {
    DemoWindow demo;
    QCOMPARE(demo.window().windowTitle(),
             QStringLiteral("Testing the Numeron Control From Orrindale"));
    QVERIFY(!demo.window().windowIcon().isNull());
    PageTabs* tabs = demo.window().tabs();
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Simple Arithmitic", "Advanced Math", "Numeron Data Types",
                                    "Conversion Functions", "Trig Functions",
                                    "Comparison Functions", "The Pitch"}));
    QCOMPARE(tabs->currentIndex(), 0);
    for (const char* picture : {"Image1", "Image2"}) {
      QVERIFY(demo.Find<QSvgWidget>(picture)->renderer()->isValid());
    }
    // The precision field is for the component's division alone.
    for (const auto& [option, enabled] :
         {std::pair{"Option7", false}, {"Option4", true}, {"Option1", false}, {"Option2", true}}) {
      demo.Set(option);
      QCOMPARE(demo.Find("Text1")->isEnabled(), enabled);
    }
    QTest::keyClick(demo.Find("Text2"), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
  }

  // The advanced math page shows the fields each function's call takes, under their names.
  void advancedFields_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Pi") << 0 << "Text4";
    QTest::newRow("Exponential") << 4 << "Text4 Text5 Text6 &Number: Text7 E&xponent:";
    QTest::newRow("eToExponent") << 6 << "Text4 Text5 Text6 &Exponent:";
  }

  void advancedFields() {
    QFETCH(int, index);
    QFETCH(QString, shown);
    DemoWindow demo;
    demo.ShowPage(1);
    // From the layout that shows and renames the most, so that every hide and caption counts.
    for (const int from : {4, 6, index}) demo.Set(QStringLiteral("Combo1=%1").arg(from));
    QStringList visible;
    for (const char* field : {"Text4", "Text5", "Text6", "Label13", "Text7", "Label14"}) {
      if (!demo.Find(field)->isVisible()) continue;
      visible << (field[0] == 'L' ? ShownText(demo.Find(field)) : QString::fromLatin1(field));
    }
    QCOMPARE(visible.join(' '), shown);
    QCOMPARE(demo.Find("Command4")->isVisible(), demo.Find("Text5")->isVisible());
    // Stepping through the list with the keys lays the page out as a selection does.
    demo.Find("Text4")->hide();
    QTest::keyRelease(demo.Find("Combo1"), Qt::Key_Shift);
    QVERIFY(demo.Find("Text4")->isVisible());
  }

  // Enter in a field presses the Calculate (or Go!) button of its page or frame.
  void enterPressesTheButton_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("member");
    QTest::newRow("arithmetic") << 0 << "Text2"
                                << "Divide";
    QTest::newRow("advanced math") << 1 << "Text4"
                                   << "Pi";
    QTest::newRow("GetDigit") << 3 << "Text12"
                              << "GetDigit";
    QTest::newRow("LineUp") << 3 << "Text16"
                            << "LineUpStringValues";
    QTest::newRow("IsValueOverflow") << 5 << "Text19"
                                     << "IsValueOverflow";
  }

  void enterPressesTheButton() {
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QString, member);
    DemoWindow demo;
    demo.ShowPage(page);
    demo.Find(field)->setFocus();
    QTest::keyClick(demo.Find(field), Qt::Key_Return);
    demo.WaitIdle();
    QCOMPARE(demo.calls().size(), std::size_t{1});
    QVERIFY2(demo.calls()[0].startsWith(member + '('), qPrintable(demo.calls()[0]));
  }

  void quitAndAbout() {
    DemoWindow demo;
    demo.window().ShowAbout();
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QVERIFY(demo.messages()[0].text.contains(QStringLiteral(NUMERON_VERSION)));
    QVERIFY(demo.messages()[0].text.contains(QStringLiteral("/libNumeronCtl.so")));
    QTest::keyClick(demo.Find("Text2"), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!demo.window().isVisible());
  }

  // However long a result, the window asks for no more width: 1/7 to 500 places.
  void longResultKeepsTheWidth() {
    DemoWindow demo;
    const QSize before(demo.window().minimumSizeHint().width(),
                       demo.window().tabs()->page(0)->minimumSizeHint().width());
    for (const char* input : {"Text3=7", "Text1=500"}) demo.Set(input);
    demo.Click("Command1");
    QCOMPARE(ShownText(demo.Find("Label8Count")), QStringLiteral("501 digits, 500 places"));
    QCOMPARE(QSize(demo.window().minimumSizeHint().width(),
                   demo.window().tabs()->page(0)->minimumSizeHint().width()),
             before);
  }

  // At 150% on a 1280x800 screen, less a title bar and a panel, the window and every page fit.
  void fitsAScaledSmallScreen() {
    DemoWindow demo;
    const QSize screen = QSize(1280, 800 - 80) / 1.5;
    QCOMPARE(demo.window().minimumSizeHint().boundedTo(screen), demo.window().minimumSizeHint());
    for (int i = 0; i < demo.window().tabs()->count(); ++i) {
      QVERIFY(demo.window().tabs()->page(i)->minimumSizeHint().width() <= screen.width() - 40);
    }
  }

  // The digits, point, sign and blank take one width, so lined-up points stand in one column,
  // whichever font the machine gives for a fixed pitch.
  void resultsInFixedPitch() {
    DemoWindow demo;
    for (const char* box : {"Text17", "Label8", "Text8"}) {
      const QFontMetrics metrics(demo.Find(box)->font());
      for (const QChar c : QStringLiteral("123456789.- ")) {
        QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char('0')));
      }
    }
  }

  // A long series: the window keeps answering and shows the progress, Calculate waits, Cancel
  // stops the call and the fields stay as they were.
  void cancelALongCall() {
    DemoWindow demo;
    demo.ShowPage(1);
    for (const char* input : {"Combo1=2", "Text4=5000", "Text5=2000"}) demo.Set(input);
    QTest::mouseClick(demo.Find<QPushButton>("Command2"), Qt::LeftButton);
    // The window's own timer shows the progress: its events are handled while the call runs.
    QTRY_VERIFY(demo.Find<QProgressBar>("Progress")->value() > 0);
    QVERIFY(demo.window().numeron9().busy() && !demo.Find("Command2")->isEnabled());
    QTest::keyClick(demo.Find("Text4"), Qt::Key_Return);  // refused while the call runs
    QTest::mouseClick(demo.Find<QPushButton>("Cancel"), Qt::LeftButton);
    demo.WaitIdle();
    QCOMPARE(ShownText(demo.Find("Text8")) + ShownText(demo.Find("CallState")),
             QStringLiteral("CancelledCancelled"));
    QCOMPARE(ShownText(demo.Find("Text4")), QStringLiteral("5000"));
    QCOMPARE(demo.calls().size(), std::size_t{1});
    QVERIFY(demo.Find("Command2")->isEnabled() && demo.messages().empty());
  }

  void creationFailure() {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("NUMERON_REGISTRY");
    qputenv("NUMERON_REGISTRY", dir.filePath("registry").toLocal8Bit());
    RecordingSink messages;
    MainWindow* window = OpenMainWindow(messages);
    qputenv("NUMERON_REGISTRY", saved);
    QVERIFY(window == nullptr);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].icon, MessageIcon::Critical);
    for (const char* part :
         {"No registration file", "NumeronControl.Numeron", "numeron-register"}) {
      QVERIFY2(messages.shown[0].text.contains(part), qPrintable(messages.shown[0].text));
    }
  }

  // One notes window at a time, modeless, discarded when closed, and outliving the main window.
  void notesWindow() {
    QPointer<QWidget> notes;
    {
      DemoWindow demo;
      demo.ShowPage(1);
      demo.Click("Command5");
      demo.Click("Command5");
      QCOMPARE(NotesWindows().size(), 1);
      QPointer<QWidget> first = NotesWindows()[0];
      QVERIFY(first->isVisible() && first->parentWidget() == nullptr);
      QTest::mouseClick(first->findChild<QPushButton*>("Command1"), Qt::LeftButton);
      QTRY_VERIFY(first.isNull());
      demo.Click("Command5");
      notes = NotesWindows().value(0);
    }
    QTest::qWait(0);
    QVERIFY(notes && notes->isVisible());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
