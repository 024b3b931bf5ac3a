// The trigonometry page: list order and call table in step, the arguments, and the error report.
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

namespace {

constexpr int kPage = 4;

}  // namespace

class TrigPageTest : public QObject {
  Q_OBJECT

 private slots:
  void sineAtStart() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Click("Command9");
    QCOMPARE(demo.LastCall(), QStringLiteral(R"(Sine(text:"2", d:10, d:10, i4:1))"));
    QVERIFY(!demo.LastResult().isEmpty());
    QCOMPARE(demo.Find<QLabel>("Label31")->text(), demo.LastResult());
  }

  // The entry's text names the member its call reaches, whatever the index.
  void eachEntryCallsItsFunction_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("number");
    // The inverse cosecant, cotangent and secant take numbers of magnitude 1 or more.
    for (int i = 0; i < 12; ++i) {
      QTest::addRow("%d", i) << i << (i == 0 || i == 2 || i == 3 ? "2" : "0.5");
    }
  }

  void eachEntryCallsItsFunction() {
    QFETCH(int, index);
    QFETCH(QString, number);
    DemoWindow demo;
    demo.ShowPage(kPage);
    QComboBox* combo2 = demo.Find<QComboBox>("Combo2");
    combo2->setCurrentIndex(index);
    demo.SetText("Trig3", number);
    demo.SetText("Trig1", "8");
    demo.SetText("Trig2", "12");
    demo.Click("Command9");
    QVERIFY2(demo.messages().empty(),
             qPrintable(demo.messages().empty() ? QString() : demo.messages()[0].text));
    QCOMPARE(demo.LastCall(),
             combo2->currentText() + QStringLiteral(R"((text:"%1", d:12, d:8, i4:1))").arg(number));
    QCOMPARE(demo.Find<QLabel>("Label31")->text(), demo.LastResult());
  }

  void settingsWithoutANumberPassZero() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.SetText("Trig1", "abc");
    demo.SetText("Trig2", "20");
    demo.Click("Command9");
    QCOMPARE(demo.LastCall(), QStringLiteral(R"(Sine(text:"2", d:20, d:0, i4:1))"));
  }

  void arcSineOutsideItsDomain() {
    DemoWindow demo;
    demo.ShowPage(kPage);
    demo.Click("Command9");
    const QString sine = demo.Find<QLabel>("Label31")->text();
    demo.Find<QComboBox>("Combo2")->setCurrentText("ArcSine");
    demo.Click("Command9");
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QCOMPARE(demo.messages()[0].text,
             QStringLiteral("For 'arc' (inverse) trigonometric functions, (numeric_expression ^ 2) "
                            "must be less than 1., error number -2147220497 was generated."));
    QCOMPARE(demo.messages()[0].title, QStringLiteral("An error has occured."));
    QCOMPARE(demo.Find<QLabel>("Label31")->text(), sine);
  }
};

QTEST_MAIN(TrigPageTest)
#include "trig_page_test.moc"
