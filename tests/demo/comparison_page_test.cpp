// The comparison page: the live Val label and the three Boolean boxes.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

namespace {

constexpr int kPage = 5;

}  // namespace

class ComparisonPageTest : public QObject {
  Q_OBJECT

 private slots:
  void valLabel_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::newRow("padded before a positive value") << "6.125"
                                                    << "Val(Number) = 6.125";
    QTest::newRow("no pad before a negative value") << "-2.5"
                                                    << "Val(Number) =-2.5";
    QTest::newRow("empty") << ""
                           << "Val(Number) = 0";
    QTest::newRow("no leading number") << "abc"
                                       << "Val(Number) = 0";
    QTest::newRow("comma ends the number") << "1,5"
                                           << "Val(Number) = 1";
    QTest::newRow("blanks ignored") << "1 2.5"
                                    << "Val(Number) = 12.5";
    QTest::newRow("exponent form") << "1E20"
                                   << "Val(Number) = 1E+20";
    // Beyond a double: the conversion fails and the caption stays as it was.
    QTest::newRow("overflow keeps caption") << "1E400"
                                            << "Val(Number) = 6.12345678900988";
  }

  void valLabel() {
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.SetText("Text18", typed);
    QCOMPARE(demo.Find<QLabel>("Label35")->text(), caption);
  }

  void valLabelFollowsEveryKey() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    QLineEdit* text18 = demo.Find<QLineEdit>("Text18");
    text18->clear();
    QTest::keyClicks(text18, "-3");
    QCOMPARE(demo.Find<QLabel>("Label35")->text(), QStringLiteral("Val(Number) =-3"));
    QTest::keyClick(text18, Qt::Key_Backspace);
    QCOMPARE(demo.Find<QLabel>("Label35")->text(), QStringLiteral("Val(Number) = 0"));
  }

  void answers_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("call");  // empty: the component is not asked
    const QString initial = "6.12345678900987654321";
    // The platform reads the long text as a number; it has more digits than its general text.
    QTest::newRow("IsNumeric, long") << "Text18" << initial << "Command10"
                                     << "True"
                                     << "";
    QTest::newRow("IsNumericEx, long") << "Text18" << initial << "Command11"
                                       << "False"
                                       << R"(IsNumericEx(text:"6.12345678900987654321"))";
    QTest::newRow("IsNumeric, short") << "Text18"
                                      << "6.125"
                                      << "Command10"
                                      << "True"
                                      << "";
    QTest::newRow("IsNumericEx, short") << "Text18"
                                        << "6.125"
                                        << "Command11"
                                        << "True"
                                        << R"(IsNumericEx(text:"6.125"))";
    QTest::newRow("IsNumeric, blanks around") << "Text18"
                                              << " 7 "
                                              << "Command10"
                                              << "True"
                                              << "";
    QTest::newRow("IsNumeric, not a number") << "Text18"
                                             << "1,5"
                                             << "Command10"
                                             << "False"
                                             << "";
    QTest::newRow("IsNumeric, empty") << "Text18"
                                      << ""
                                      << "Command10"
                                      << "False"
                                      << "";
    QTest::newRow("IsValueOverflow, at start") << "Text19"
                                               << "3.68E400"
                                               << "Command12"
                                               << "True"
                                               << R"(IsValueOverflow(text:"3.68E400"))";
    QTest::newRow("IsValueOverflow, fits") << "Text19"
                                           << "1.5"
                                           << "Command12"
                                           << "False"
                                           << R"(IsValueOverflow(text:"1.5"))";
  }

  void answers() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, button);
    QFETCH(QString, answer);
    QFETCH(QString, call);
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.SetText(field.toLatin1().constData(), text);
    demo.Click(button.toLatin1().constData());
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QCOMPARE(demo.messages()[0].text, answer);
    QCOMPARE(demo.messages()[0].title, QStringLiteral("NumeronTest"));
    QCOMPARE(demo.messages()[0].icon, MessageIcon::None);
    QCOMPARE(demo.LastCall(), call);
  }
};

QTEST_MAIN(ComparisonPageTest)
#include "comparison_page_test.moc"
