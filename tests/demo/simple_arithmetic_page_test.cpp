// The arithmetic page: which fields the option buttons enable, the operator sign, and Calculate
// by the component and by the built-in arithmetic, with their errors.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/demo/demo_fixture.h"

using namespace numeron::demo;
using namespace numeron::demo::testing;

class SimpleArithmeticPageTest : public QObject {
  Q_OBJECT

 private slots:
  // The precision field is for the component's division alone.
  void optionLogic_data() {
    QTest::addColumn<QString>("arithmetic");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("precision_enabled");
    QTest::addColumn<QString>("sign");
    struct Choice {
      QString option;
      QString sign;
    };
    const Choice operations[] = {
        {"Option3", "+"}, {"Option4", "/"}, {"Option5", "*"}, {"Option6", "-"}, {"Option7", "mod"}};
    for (const QString arithmetic : {"Option2", "Option1"}) {
      for (const Choice& operation : operations) {
        const bool enabled = arithmetic == "Option2" && operation.option == "Option4";
        QTest::newRow(qPrintable(arithmetic + ' ' + operation.option))
            << arithmetic << operation.option << enabled << operation.sign;
      }
    }
  }

  void optionLogic() {
    QFETCH(QString, arithmetic);
    QFETCH(QString, operation);
    QFETCH(bool, precision_enabled);
    QFETCH(QString, sign);
    DemoWindow demo;
    // Start from the other group's choice so that each click is a real change.
    demo.Click("Option7");
    demo.Click(arithmetic == QLatin1String("Option1") ? "Option2" : "Option1");
    demo.Click(arithmetic.toLatin1().constData());
    demo.Click(operation.toLatin1().constData());
    QCOMPARE(demo.Find<QLabel>("Label3")->isEnabled(), precision_enabled);
    QCOMPARE(demo.Find<QLineEdit>("Text1")->isEnabled(), precision_enabled);
    QCOMPARE(demo.Find<QLabel>("Label6")->text(), sign);
  }

  void componentCalculate_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("precision");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("shown");
    QTest::newRow("at start") << "Option4"
                              << "1"
                              << "3"
                              << "10"
                              << R"(Divide(text:"1", text:"3", d:10, i4:1))"
                              << "0.3333333333";
    QTest::newRow("divide, precision by Val") << "Option4"
                                              << "10"
                                              << "3"
                                              << "4 places"
                                              << R"(Divide(text:"10", text:"3", d:4, i4:1))"
                                              << "3.3333";
    QTest::newRow("add beyond a double")
        << "Option3"
        << "123456789012345678901234567890"
        << "0.1"
        << "10"
        << R"(Add(text:"123456789012345678901234567890", text:"0.1", i4:1))"
        << "123456789012345678901234567890.1";
    QTest::newRow("multiply") << "Option5"
                              << "12"
                              << "-12"
                              << "10"
                              << R"(Multiply(text:"12", text:"-12", i4:1))"
                              << "-144";
    QTest::newRow("subtract") << "Option6"
                              << "1"
                              << "0.001"
                              << "10"
                              << R"(Subtract(text:"1", text:"0.001", i4:1))"
                              << "0.999";
    QTest::newRow("modulus of fractions") << "Option7"
                                          << "-7.5"
                                          << "2"
                                          << "x"
                                          << R"(Modulus(text:"-7.5", text:"2", i4:1))"
                                          << "-1.5";
    QTest::newRow("empty operand goes as empty text") << "Option3"
                                                      << ""
                                                      << "5"
                                                      << "10"
                                                      << R"(Add(text:"", text:"5", i4:1))"
                                                      << "5";
  }

  void componentCalculate() {
    QFETCH(QString, operation);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, precision);
    QFETCH(QString, call);
    QFETCH(QString, shown);
    DemoWindow demo;
    demo.Click(operation.toLatin1().constData());
    demo.SetText("Text2", first);
    demo.SetText("Text3", second);
    demo.SetText("Text1", precision);
    demo.Click("Command1");
    QCOMPARE(demo.LastCall(), call);
    QCOMPARE(demo.Find<QLabel>("Label8")->text(), shown);
    QVERIFY(demo.messages().empty());
  }

  void builtInCalculate_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("shown");  // the result, or the error box's text
    QTest::newRow("divide: 15 digits") << "Option4"
                                       << "1"
                                       << "3"
                                       << "0.333333333333333";
    QTest::newRow("add: general text") << "Option3"
                                       << "0.1"
                                       << "0.2"
                                       << "0.3";
    QTest::newRow("multiply: exponent form") << "Option5"
                                             << "1E10"
                                             << "1E10"
                                             << "1E+20";
    QTest::newRow("subtract") << "Option6"
                              << "1"
                              << "0.001"
                              << "0.999";
    QTest::newRow("Val: empty is 0") << "Option3"
                                     << ""
                                     << "5"
                                     << "5";
    QTest::newRow("Val: no number is 0") << "Option3"
                                         << "abc"
                                         << "5"
                                         << "5";
    QTest::newRow("Val: comma ends it") << "Option3"
                                        << "1,5"
                                        << "0"
                                        << "1";
    QTest::newRow("Val: blanks ignored") << "Option3"
                                         << "1 2.5"
                                         << "0"
                                         << "12.5";
    QTest::newRow("mod: 7.5 rounds to 8") << "Option7"
                                          << "7.5"
                                          << "2"
                                          << "0";
    QTest::newRow("mod: 6.5 rounds to 6") << "Option7"
                                          << "6.5"
                                          << "4"
                                          << "2";
    QTest::newRow("mod: sign of the first") << "Option7"
                                            << "-7"
                                            << "3"
                                            << "-1";
    QTest::newRow("mod: smallest by -1") << "Option7"
                                         << "-2147483648"
                                         << "-1"
                                         << "0";
    QTest::newRow("divide by zero") << "Option4"
                                    << "1"
                                    << "0"
                                    << "Division by zero, error number 11 was generated.";
    QTest::newRow("zero by zero") << "Option4"
                                  << "0"
                                  << "0"
                                  << "Overflow, error number 6 was generated.";
    QTest::newRow("mod by zero") << "Option7"
                                 << "5"
                                 << "0.4"
                                 << "Division by zero, error number 11 was generated.";
    QTest::newRow("mod beyond 32 bits") << "Option7"
                                        << "2147483648"
                                        << "3"
                                        << "Overflow, error number 6 was generated.";
    QTest::newRow("product beyond a double") << "Option5"
                                             << "1E200"
                                             << "1E200"
                                             << "Overflow, error number 6 was generated.";
    QTest::newRow("operand beyond a double") << "Option3"
                                             << "1E400"
                                             << "0"
                                             << "Overflow, error number 6 was generated.";
  }

  void builtInCalculate() {
    QFETCH(QString, operation);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, shown);
    DemoWindow demo;
    demo.Click("Option1");
    demo.Click(operation.toLatin1().constData());
    demo.SetText("Text1", "not read");
    demo.SetText("Text2", first);
    demo.SetText("Text3", second);
    demo.Click("Command1");
    QVERIFY(demo.numeron9().calls.empty());
    const QString label = demo.Find<QLabel>("Label8")->text();
    if (shown.endsWith(QLatin1String(" was generated."))) {
      QCOMPARE(demo.messages().size(), std::size_t{1});
      QCOMPARE(demo.messages()[0].text, shown);
      QCOMPARE(label, QStringLiteral("(Please press Calculate)"));
    } else {
      QVERIFY(demo.messages().empty());
      QCOMPARE(label, shown);
    }
  }

  void componentErrorKeepsResult_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("text");
    QTest::newRow("divide by zero")
        << "Option4"
        << "1"
        << "0"
        << "You cannot divide a number by zero.  [Division by zero], error number -2147220499 "
           "was generated.";
    QTest::newRow("modulus by zero")
        << "Option7"
        << "1"
        << "0"
        << "You cannot divide a number by zero.  [Division by zero], error number -2147220499 "
           "was generated.";
    QTest::newRow("not a number") << "Option3"
                                  << "abc"
                                  << "1"
                                  << "Type mismatch, error number 13 was generated.";
  }

  void componentErrorKeepsResult() {
    QFETCH(QString, operation);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, text);
    DemoWindow demo;
    demo.Click("Command1");  // a first result, which the failed click must leave in place
    QCOMPARE(demo.Find<QLabel>("Label8")->text(), QStringLiteral("0.3333333333"));
    demo.Click(operation.toLatin1().constData());
    demo.SetText("Text2", first);
    demo.SetText("Text3", second);
    demo.Click("Command1");
    QCOMPARE(demo.messages().size(), std::size_t{1});
    QCOMPARE(demo.messages()[0].text, text);
    QCOMPARE(demo.messages()[0].title, QStringLiteral("An error has occured."));
    QCOMPARE(demo.messages()[0].icon, MessageIcon::Critical);
    QCOMPARE(demo.Find<QLabel>("Label8")->text(), QStringLiteral("0.3333333333"));
  }
};

QTEST_MAIN(SimpleArithmeticPageTest)
#include "simple_arithmetic_page_test.moc"
