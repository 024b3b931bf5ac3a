// The advanced math page: the layout of Combo1's seven functions, their calls, the help boxes and
// the error report.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "demo/component_client.h"
#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

namespace {

constexpr int kPage = 1;
const char* const kLaidOut[] = {"Label11",  "Text4",   "Command3", "Label12", "Text5",
                                "Command4", "Label13", "Text6",    "Label14", "Text7"};

QStringList VisibleFields(DemoWindow& demo) {
  QStringList visible;
  for (const char* name : kLaidOut) {
    if (demo.Find<QWidget>(name)->isVisible()) visible << QString::fromLatin1(name);
  }
  return visible;
}

}  // namespace

class AdvancedMathPageTest : public QObject {
  Q_OBJECT

 private slots:
  void layout_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QString>("number_caption");
    QTest::addColumn<QString>("base_caption");
    const QStringList precision{"Label11", "Text4", "Command3"};
    const QStringList series{"Label12", "Text5", "Command4"};
    const QStringList number{"Label13", "Text6"};
    const QStringList base{"Label14", "Text7"};
    QTest::newRow("Pi") << 0 << precision << "Number:"
                        << "Base:";
    QTest::newRow("e") << 1 << precision << "Number:"
                       << "Base:";
    QTest::newRow("Log_e") << 2 << precision + series + number << "Number:"
                           << "Base:";
    QTest::newRow("Logarithm") << 3 << precision + series + number + base << "Number:"
                               << "Base:";
    QTest::newRow("Exponential") << 4 << precision + series + number + base << "Number:"
                                 << "Exponent:";
    QTest::newRow("Calculate_e") << 5 << precision + series << "Number:"
                                 << "Base:";
    QTest::newRow("eToExponent") << 6 << precision + series + number << "Exponent:"
                                 << "Base:";
  }

  void layout() {
    QFETCH(int, index);
    QFETCH(QStringList, visible);
    QFETCH(QString, number_caption);
    QFETCH(QString, base_caption);
    DemoWindow demo;
    demo.ShowPage(kPage);
    // From the layout that shows and renames the most, so that every hide and caption counts.
    QComboBox* combo1 = demo.Find<QComboBox>("Combo1");
    combo1->setCurrentIndex(4);
    combo1->setCurrentIndex(6);
    combo1->setCurrentIndex(index);
    QStringList expected;
    for (const char* name : kLaidOut) {
      if (visible.contains(QLatin1String(name))) expected << QString::fromLatin1(name);
    }
    QCOMPARE(VisibleFields(demo), expected);
    QCOMPARE(demo.Find<QLabel>("Label13")->text(), number_caption);
    QCOMPARE(demo.Find<QLabel>("Label14")->text(), base_caption);
  }

  void keyboardGivesTheSameLayout() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    QComboBox* combo1 = demo.Find<QComboBox>("Combo1");
    combo1->setFocus();
    QTest::keyClick(combo1, Qt::Key_Down);
    QTest::keyClick(combo1, Qt::Key_Down);
    QCOMPARE(combo1->currentIndex(), 2);
    QCOMPARE(VisibleFields(demo), (QStringList{"Label11", "Text4", "Command3", "Label12", "Text5",
                                               "Command4", "Label13", "Text6"}));
    // A key release alone lays the page out again, as a selection change does.
    demo.Find<QPushButton>("Command4")->hide();
    QTest::keyRelease(combo1, Qt::Key_Shift);
    QVERIFY(demo.Find<QPushButton>("Command4")->isVisible());
  }

  // Each function passes exactly the fields it shows, texts as texts and settings as Val doubles.
  void calculate_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("call");
    QTest::newRow("Pi") << 0 << R"(Pi(d:12, i4:1))";
    QTest::newRow("e") << 1 << R"(e(d:12, i4:1))";
    QTest::newRow("Log_e") << 2 << R"(Log_e(text:"1.5", d:20, d:12, i4:1))";
    QTest::newRow("Logarithm") << 3 << R"(Logarithm(text:"1.5", text:"2", d:20, d:12, i4:1))";
    QTest::newRow("Exponential") << 4 << R"(Exponential(text:"1.5", text:"2", d:20, d:12, i4:1))";
    QTest::newRow("Calculate_e") << 5 << R"(Calculate_e(d:20, d:12, i4:1))";
    QTest::newRow("eToExponent") << 6 << R"(eToExponent(text:"1.5", d:20, d:12, i4:1))";
  }

  void calculate() {
    QFETCH(int, index);
    QFETCH(QString, call);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Find<QComboBox>("Combo1")->setCurrentIndex(index);
    demo.SetText("Text4", "12 places");
    demo.SetText("Text5", " 2 0");
    demo.SetText("Text6", "1.5");
    demo.SetText("Text7", "2");
    demo.Click("Command2");
    QCOMPARE(demo.LastCall(), call);
    QVERIFY(demo.messages().empty());
    QVERIFY(!demo.LastResult().isEmpty());
    QCOMPARE(demo.Find<QPlainTextEdit>("Text8")->toPlainText(), demo.LastResult());
  }

  void piAtStart() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Click("Command2");
    QCOMPARE(demo.LastCall(), QStringLiteral("Pi(d:10, i4:1)"));
    QCOMPARE(demo.Find<QPlainTextEdit>("Text8")->toPlainText(), QStringLiteral("3.1415926535"));
  }

  void errorsKeepTheResult_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("series_length");
    QTest::addColumn<QString>("text");
    QTest::newRow("log of a negative number")
        << 2 << "-5"
        << "10"
        << "You cannot find the log of a negative number or of zero., error number -2147220501 "
           "was generated.";
    QTest::newRow("empty series length is 0")
        << 5 << "50"
        << ""
        << "The series length must be a positive integer., error number -2147220503 was "
           "generated.";
    QTest::newRow("number that is no number") << 6 << "two"
                                              << "10"
                                              << "Type mismatch, error number 13 was generated.";
  }

  void errorsKeepTheResult() {
    QFETCH(int, index);
    QFETCH(QString, number);
    QFETCH(QString, series_length);
    QFETCH(QString, text);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Click("Command2");  // pi, the result a failed click must leave
    demo.Find<QComboBox>("Combo1")->setCurrentIndex(index);
    demo.SetText("Text6", number);
    demo.SetText("Text5", series_length);
    demo.Click("Command2");
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QCOMPARE(demo.messages()[0].text, text);
    QCOMPARE(demo.messages()[0].title, QStringLiteral("An error has occured."));
    QCOMPARE(demo.Find<QPlainTextEdit>("Text8")->toPlainText(), QStringLiteral("3.1415926535"));
  }

  // The trigonometry page's "?" buttons show the same two boxes as this page's.
  void helpBoxes_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("trig_button");
    QTest::addColumn<QString>("title");
    QTest::newRow("precision") << "Command3"
                               << "TrigButton1"
                               << "Precision";
    QTest::newRow("series length") << "Command4"
                                   << "TrigButton2"
                                   << "Series length";
  }

  void helpBoxes() {
    QFETCH(QString, button);
    QFETCH(QString, trig_button);
    QFETCH(QString, title);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Find<QComboBox>("Combo1")->setCurrentIndex(2);  // so that Command4 is shown
    demo.Click(button.toLatin1().constData());
    demo.ShowPage(4);
    demo.Click(trig_button.toLatin1().constData());
    QCOMPARE(demo.messages().size(), std::size_t{2});
    QCOMPARE(demo.messages()[0].title, title);
    QCOMPARE(demo.messages()[0].icon, MessageIcon::Information);
    QCOMPARE(demo.messages()[1].title, title);
    QCOMPARE(demo.messages()[1].text, demo.messages()[0].text);
  }
};

QTEST_MAIN(AdvancedMathPageTest)
#include "advanced_math_page_test.moc"
