// The conversion page: Round, GetDigit and LineUpStringValues from the fields to the result boxes.
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

namespace {

constexpr int kPage = 3;

}  // namespace

class ConversionPageTest : public QObject {
  Q_OBJECT

 private slots:
  void round_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("places");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("shown");
    QTest::newRow("at start") << "57.123835627289464"
                              << "5"
                              << R"(Round(text:"57.123835627289464", d:5))"
                              << "57.12384";
    QTest::newRow("first dropped digit decides") << "0.445"
                                                 << "1"
                                                 << R"(Round(text:"0.445", d:1))"
                                                 << "0.4";
    QTest::newRow("negative places as typed") << "1.26"
                                              << "-1"
                                              << R"(Round(text:"1.26", d:-1))"
                                              << "1.3";
  }

  void round() {
    QFETCH(QString, number);
    QFETCH(QString, places);
    QFETCH(QString, call);
    QFETCH(QString, shown);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.SetText("Text9", number);
    demo.SetText("Text10", places);
    demo.Click("Command6");
    QCOMPARE(demo.LastCall(), call);
    QCOMPARE(demo.Find<QLineEdit>("Text11")->text(), shown);
    // Round writes its decimal place back into a temporary, not into the field.
    QCOMPARE(demo.Find<QLineEdit>("Text10")->text(), places);
  }

  void getDigit_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("shown");
    QTest::newRow("at start: ten millions") << "1234567890.0123456789"
                                            << "7"
                                            << "3";
    QTest::newRow("tenths") << "1234567890.0123456789"
                            << "-2"
                            << "1";
    QTest::newRow("negative number") << "-45.6"
                                     << "0"
                                     << "-5";
    QTest::newRow("beyond the number") << "12"
                                       << "9"
                                       << "0";
  }

  void getDigit() {
    QFETCH(QString, number);
    QFETCH(QString, place);
    QFETCH(QString, shown);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.SetText("Text12", number);
    demo.SetText("Text13", place);
    demo.Click("Command7");
    QCOMPARE(demo.LastCall(), QStringLiteral(R"(GetDigit(text:"%1", d:%2))").arg(number, place));
    QCOMPARE(demo.Find<QLineEdit>("Text14")->text(), shown);
  }

  void lineUp() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Click("Command8");
    QCOMPARE(demo.LastCall(),
             QStringLiteral(R"(LineUpStringValues(text:"91670.56", text:"-6.008", i4:0))"));
    QPlainTextEdit* text17 = demo.Find<QPlainTextEdit>("Text17");
    const QStringList lines = text17->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    // Trailing zeros are asked for (Append_Trailing_Zeros is Yes).
    QCOMPARE(lines[0].trimmed(), QStringLiteral("91670.560"));
    QVERIFY(lines[1].startsWith(QLatin1Char('-')) && lines[1].endsWith(QLatin1String("6.008")));
    QCOMPARE(lines[0].size(), lines[1].size());
    QCOMPARE(lines[0].indexOf(QLatin1Char('.')), lines[1].indexOf(QLatin1Char('.')));
    QVERIFY(QFontInfo(text17->font()).fixedPitch());  // so the points stand in one column
    QCOMPARE(demo.Find<QLineEdit>("Text15")->text(), QStringLiteral("91670.56"));
    QCOMPARE(demo.Find<QLineEdit>("Text16")->text(), QStringLiteral("-6.008"));
  }

  // These buttons report a refused input with the same box as the Calculate buttons.
  void refusedInputIsReported() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.SetText("Text9", "abc");
    demo.Click("Command6");
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QCOMPARE(demo.messages()[0].text,
             QStringLiteral("Type mismatch, error number 13 was generated."));
    QCOMPARE(demo.messages()[0].title, QStringLiteral("An error has occured."));
    QCOMPARE(demo.Find<QLineEdit>("Text11")->text(), QStringLiteral("(Please press go)"));
  }
};

QTEST_MAIN(ConversionPageTest)
#include "conversion_page_test.moc"
