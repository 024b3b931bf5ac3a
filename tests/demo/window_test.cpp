// The main window as a whole: its tabs and start-up state, what no page may do to its size, the
// keyboard, start-up failure, the error report, the notes window, and calls that take long.
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTemporaryDir>
#include <QTest>

#include "demo/error_report.h"
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

QStringList Visible(DemoWindow& demo, const QStringList& names) {
  QStringList visible;
  for (const QString& name : names) {
    if (demo.Find(name)->isVisible()) visible << name;
  }
  return visible;
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
    QStringList selected;
    for (const QRadioButton* option : demo.window().findChildren<QRadioButton*>()) {
      if (option->isChecked()) selected << option->objectName();
    }
    QCOMPARE(selected, (QStringList{"Option2", "Option4"}));
    QCOMPARE(demo.Find<QComboBox>("Combo2")->currentText(), QStringLiteral("Sine"));
    for (const char* picture : {"Image1", "Image2"}) {
      QVERIFY(demo.Find<QSvgWidget>(picture)->renderer()->isValid());
    }
  }

  // The precision field is for the component's division alone.
  void precisionField_data() {
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("sign");
    QTest::newRow("component divide") << "Option7|Option4" << true << "/";
    QTest::newRow("component modulus") << "Option7" << false << "mod";
    QTest::newRow("built-in divide") << "Option1" << false << "/";
    QTest::newRow("back to the component") << "Option1|Option3|Option2|Option4" << true << "/";
  }

  void precisionField() {
    QFETCH(QString, inputs);
    QFETCH(bool, enabled);
    QFETCH(QString, sign);
    DemoWindow demo;
    for (const QString& input : inputs.split(QLatin1Char('|'))) demo.Set(input);
    QCOMPARE(demo.Find("Text1")->isEnabled(), enabled);
    QCOMPARE(demo.Find("Label3")->isEnabled(), enabled);
    QCOMPARE(ShownText(demo.Find("Label6")), sign);
  }

  // The advanced math page shows the fields each function's call takes, and names them.
  void advancedFields_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QString>("captions");
    QTest::newRow("Pi") << 0 << QStringList{"Text4"} << "&Number: &Base:";
    QTest::newRow("Log_e") << 2 << QStringList{"Text4", "Text5", "Text6"} << "&Number: &Base:";
    QTest::newRow("Exponential") << 4 << QStringList{"Text4", "Text5", "Text6", "Text7"}
                                 << "&Number: E&xponent:";
    QTest::newRow("Calculate_e") << 5 << QStringList{"Text4", "Text5"} << "&Number: &Base:";
    QTest::newRow("eToExponent") << 6 << QStringList{"Text4", "Text5", "Text6"}
                                 << "&Exponent: &Base:";
  }

  void advancedFields() {
    QFETCH(int, index);
    QFETCH(QStringList, visible);
    QFETCH(QString, captions);
    DemoWindow demo;
    demo.ShowPage(1);
    // From the layout that shows and renames the most, so that every hide and caption counts.
    for (const int from : {4, 6, index}) demo.Set(QStringLiteral("Combo1=%1").arg(from));
    QCOMPARE(Visible(demo, {"Text4", "Text5", "Text6", "Text7"}), visible);
    QCOMPARE(Visible(demo, {"Command3", "Command4"}).size(), visible.size() > 1 ? 2 : 1);
    QCOMPARE(ShownText(demo.Find("Label13")) + ' ' + ShownText(demo.Find("Label14")), captions);
    // Stepping through the list with the keys lays the page out as a selection does.
    demo.Find("Text7")->hide();
    QTest::keyRelease(demo.Find("Combo1"), Qt::Key_Shift);
    QCOMPARE(demo.Find("Text7")->isVisible(), visible.contains("Text7"));
  }

  // The "?" buttons of both pages show the same two help boxes.
  void helpBoxes() {
    DemoWindow demo;
    demo.ShowPage(1);
    demo.Set("Combo1=2");
    for (const char* button : {"Command3", "Command4"}) demo.Click(button);
    demo.ShowPage(4);
    for (const char* button : {"TrigButton1", "TrigButton2"}) demo.Click(button);
    QCOMPARE(demo.messages().size(), std::size_t{4});
    QCOMPARE(demo.messages()[0].title, QStringLiteral("Precision"));
    QCOMPARE(demo.messages()[1].title, QStringLiteral("Series length"));
    QCOMPARE(demo.messages()[2].text, demo.messages()[0].text);
    QCOMPARE(demo.messages()[3].text, demo.messages()[1].text);
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
    QTest::newRow("Round") << 3 << "Text10"
                           << "Round";
    QTest::newRow("GetDigit") << 3 << "Text12"
                              << "GetDigit";
    QTest::newRow("LineUpStringValues") << 3 << "Text16"
                                        << "LineUpStringValues";
    QTest::newRow("trigonometry") << 4 << "Trig3"
                                  << "Sine";
    QTest::newRow("IsNumericEx") << 5 << "Text18"
                                 << "IsNumericEx";
    QTest::newRow("IsValueOverflow") << 5 << "Text19"
                                     << "IsValueOverflow";
  }

  void enterPressesTheButton() {
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QString, member);
    DemoWindow demo;
    demo.ShowPage(page);
    demo.window().activateWindow();
    demo.Find(field)->setFocus();
    QTest::keyClick(demo.Find(field), Qt::Key_Return);
    demo.WaitIdle();
    QCOMPARE(demo.calls().size(), std::size_t{1});
    QVERIFY2(demo.calls()[0].startsWith(member + '('), qPrintable(demo.calls()[0]));
  }

  void quitAndAbout() {
    DemoWindow demo;
    demo.Find<QPushButton>("Command1")->setFocus();
    QTest::keyClick(&demo.window(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!demo.window().isVisible());
    demo.window().ShowAbout();
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QVERIFY(demo.messages()[0].text.contains(QStringLiteral(NUMERON_VERSION)));
    QVERIFY(demo.messages()[0].text.contains(QStringLiteral("libNumeronCtl.so")));
  }

  // However long a result, the window asks for no more width: 1/7 to 500 places.
  void longResultKeepsTheWidth() {
    DemoWindow demo;
    const int width = demo.window().minimumSizeHint().width();
    const int page_width = demo.window().tabs()->page(0)->minimumSizeHint().width();
    demo.Set("Text2=1");
    demo.Set("Text3=7");
    demo.Set("Text1=500");
    demo.Click("Command1");
    QCOMPARE(ShownText(demo.Find("Label8")).size(), 502);
    QCOMPARE(ShownText(demo.Find("Label8Count")), QStringLiteral("501 digits, 500 places"));
    QCOMPARE(demo.window().minimumSizeHint().width(), width);
    QCOMPARE(demo.window().tabs()->page(0)->minimumSizeHint().width(), page_width);
  }

  // At 150% on a 1280x800 screen, less a title bar and a panel, the window and every page fit.
  void fitsAScaledSmallScreen() {
    DemoWindow demo;
    const QSize screen = QSize(1280, 800 - 80) / 1.5;
    QVERIFY2(demo.window().minimumSizeHint().boundedTo(screen) == demo.window().minimumSizeHint(),
             "the window does not fit");
    for (int i = 0; i < demo.window().tabs()->count(); ++i) {
      const QSize page = demo.window().tabs()->page(i)->minimumSizeHint();
      QVERIFY2(page.width() <= screen.width() - 40, qPrintable(QString::number(i)));
    }
  }

  // The digits, point, sign and blank take one width, so lined-up points stand in one column
  // (whichever font the machine gives for a fixed pitch).
  void resultsInFixedPitch() {
    DemoWindow demo;
    for (const char* box : {"Text17", "Label8", "Text8"}) {
      const QFontMetrics metrics(demo.Find(box)->font());
      for (const QChar c : QStringLiteral("123456789.- ")) {
        QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char('0')));
      }
    }
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
    QFile file(path);
    if (!registry.isNull()) QVERIFY(file.open(QIODevice::WriteOnly) && file.write(registry) > 0);
    file.close();
    const QByteArray saved = qgetenv("NUMERON_REGISTRY");
    qputenv("NUMERON_REGISTRY", path.toLocal8Bit());
    RecordingSink messages;
    MainWindow* window = OpenMainWindow(messages);
    qputenv("NUMERON_REGISTRY", saved);
    QVERIFY(window == nullptr);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].icon, MessageIcon::Critical);
    for (const QString& part :
         {cause, QStringLiteral("NumeronControl.Numeron"), QStringLiteral("numeron-register")}) {
      QVERIFY2(messages.shown[0].text.contains(part), qPrintable(messages.shown[0].text));
    }
  }

  void errorReport_data() {
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("component's own number, signed")
        << qint32(0x800403ED) << "E, error number -2147220499 was generated.";
    QTest::newRow("platform's number, short")
        << qint32(0x800A000D) << "E, error number 13 was generated.";
    QTest::newRow("dispatch status, signed")
        << qint32(0x8002000F) << "E, error number -2147352561 was generated.";
  }

  void errorReport() {
    QFETCH(qint32, number);
    QFETCH(QString, text);
    RecordingSink messages;
    RunWithErrorReport(messages, [&] { throw HandlerError(number, "E"); });
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].text, text);
    QCOMPARE(messages.shown[0].title, QStringLiteral("An error has occured."));
    QCOMPARE(messages.shown[0].icon, MessageIcon::Critical);
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
      demo.ShowPage(0);
      demo.Click("Command1");  // the main window still works beside it
      QCOMPARE(ShownText(demo.Find("Label8")), QStringLiteral("0.3333333333"));
    }
    QTest::qWait(0);
    QVERIFY(notes && notes->isVisible());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
