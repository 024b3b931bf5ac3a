// Every button of every page in one table: what is typed and chosen, the button, the call on
// Numeron9 it makes (its arguments as passed), and what the page then shows (a result, the
// cleared result beside an error box, or an answer box).
#include <QTest>

#include "tests/demo/demo_fixture.h"

using namespace numeron::demo::testing;

// One row of the table.
struct Row {
  QString name;
  int page;
  QString inputs;   // "|"-separated, see DemoWindow::Set
  QString button;   // "" : none, the inputs alone change what is shown
  QString call;     // the click's first call on Numeron9; "" : none
  QString control;  // where the result shows; "" : nothing to check
  QString shown;
  QString box;  // the message boxes' texts; "" : none
};
Q_DECLARE_METATYPE(Row)

namespace {

const char* const kZeroDivisor =
    "You cannot divide a number by zero.  [Division by zero], error number -2147220499 was "
    "generated.";

std::vector<Row> Rows() {
  std::vector<Row> rows{
      // The arithmetic page, by the component: texts as typed, Precision by Val.
      {"divide at start", 0, "", "Command1", R"(Divide(text:"1", text:"3", d:10, i4:1))", "Label8",
       "0.3333333333", ""},
      {"precision by Val", 0, "Text2=10|Text3=3|Text1=4 places", "Command1",
       R"(Divide(text:"10", text:"3", d:4, i4:1))", "Label8", "3.3333", ""},
      {"add beyond a double", 0, "Option3|Text2=123456789012345678901234567890|Text3=0.1",
       "Command1", R"(Add(text:"123456789012345678901234567890", text:"0.1", i4:1))", "Label8",
       "123456789012345678901234567890.1", ""},
      {"multiply", 0, "Option5|Text2=12|Text3=-12", "Command1",
       R"(Multiply(text:"12", text:"-12", i4:1))", "Label8", "-144", ""},
      {"modulus of fractions", 0, "Option7|Text2=-7.5|Text3=2|Text1=x", "Command1",
       R"(Modulus(text:"-7.5", text:"2", i4:1))", "Label8", "-1.5", ""},
      {"sign follows the operation", 0, "Option7", "", "", "Label6", "mod", ""},
      {"component error clears", 0, "Text3=0", "Command1",
       R"(Divide(text:"1", text:"0", d:10, i4:1))", "Label8", "", kZeroDivisor},
      {"first field refused", 0, "Option3|Text2=abc", "Command1",
       R"(Add(text:"abc", text:"3", i4:1))", "Label8", "",
       "Type mismatch, error number 13 was generated.\n\nRefused field: Variable1"},
      {"second field refused", 0, "Option3|Text3=1,5", "Command1",
       R"(Add(text:"1", text:"1,5", i4:1))", "Label8", "",
       "Type mismatch, error number 13 was generated.\n\nRefused field: Variable2"},
      // By the built-in arithmetic: Val of the fields, doubles in their general text.
      {"built-in divide", 0, "Option1", "Command1", "", "Label8", "0.333333333333333", ""},
      {"built-in exact double", 0, "Option1|Option3|Text2=0.1|Text3=0.2", "Command1", "",
       "ExactValue", "0.3000000000000000444089209850062616169452667236328125", ""},
      {"mod: halves to even", 0, "Option1|Option7|Text2=7.5|Text3=2", "Command1", "", "Label8", "0",
       ""},
      {"mod: smallest by -1", 0, "Option1|Option7|Text2=-2147483648|Text3=-1", "Command1", "",
       "Label8", "0", ""},
      {"built-in divide by zero", 0, "Option1|Text3=0", "Command1", "", "Label8", "",
       "Division by zero, error number 11 was generated."},
      {"zero by zero", 0, "Option1|Text2=0|Text3=0", "Command1", "", "Label8", "",
       "Overflow, error number 6 was generated."},
      {"mod beyond 32 bits", 0, "Option1|Option7|Text2=2147483648", "Command1", "", "Label8", "",
       "Overflow, error number 6 was generated."},
      {"product beyond a double", 0, "Option1|Option5|Text2=1E200|Text3=1E200", "Command1", "",
       "ExactValue", "", "Overflow, error number 6 was generated."},
      {"operand beyond a double", 0, "Option1|Text3=1E400", "Command1", "", "Label8", "",
       "Overflow, error number 6 was generated.\n\nRefused field: Variable2"},
      // The advanced math page: each function passes exactly the fields it shows.
      {"Pi at start", 1, "", "Command2", "Pi(d:10, i4:1)", "Text8", "3.1415926535", ""},
      {"e", 1, "Combo1=1|Text4=12", "Command2", "e(d:12, i4:1)", "Text8", "2.718281828459", ""},
      {"Log_e", 1, "Combo1=2|Text6=1|Text5= 2 0", "Command2",
       R"(Log_e(text:"1", d:20, d:10, i4:1))", "Text8", "0", ""},
      {"Exponential", 1, "Combo1=4|Text6=1.5|Text7=2", "Command2",
       R"(Exponential(text:"1.5", text:"2", d:10, d:10, i4:1))", "Text8", "2.25", ""},
      {"eToExponent", 1, "Combo1=6|Text6=0", "Command2",
       R"(eToExponent(text:"0", d:10, d:10, i4:1))", "Text8", "1", ""},
      {"log of a negative number", 1, "Combo1=2|Text6=-5", "Command2",
       R"(Log_e(text:"-5", d:10, d:10, i4:1))", "Text8", "",
       "You cannot find the log of a negative number or of zero., error number -2147220501 was "
       "generated."},
      {"exponent refused", 1, "Combo1=6|Text6=two", "Command2",
       R"(eToExponent(text:"two", d:10, d:10, i4:1))", "Text8", "",
       "Type mismatch, error number 13 was generated.\n\nRefused field: Exponent"},
      // The conversion page. Round's place goes by value: Text10 keeps what was typed.
      {"Round at start", 3, "", "Command6", R"(Round(text:"57.123835627289464", d:5))", "Text11",
       "57.12384", ""},
      {"Round refused", 3, "Text9=abc", "Command6", R"(Round(text:"abc", d:5))", "Text11", "",
       "Type mismatch, error number 13 was generated.\n\nRefused field: Number"},
      {"GetDigit at start", 3, "", "Command7", R"(GetDigit(text:"1234567890.0123456789", d:7))",
       "Text14", "3", ""},
      {"LineUpStringValues", 3, "", "Command8",
       R"(LineUpStringValues(text:"91670.56", text:"-6.008", i4:0))", "Text17",
       " 91670.560\n-    6.008", ""},
      // The trigonometry page: Number as text, then Val of SeriesLength and of Precision.
      {"Sine at start", 4, "", "Command9", R"(Sine(text:"2", d:10, d:10, i4:1))", "Label31",
       "0.9092974269", ""},
      {"settings without a number", 4, "Trig1=abc|Trig2=20", "Command9",
       R"(Sine(text:"2", d:20, d:0, i4:1))", "Label31", "1", ""},
      {"ArcSine outside its domain", 4, "Combo2=4", "Command9",
       R"(ArcSine(text:"2", d:10, d:10, i4:1))", "Label31", "",
       "For 'arc' (inverse) trigonometric functions, (numeric_expression ^ 2) must be less than "
       "1., error number -2147220497 was generated."},
      // The comparison page: Val as typed, and the answers in boxes of their own.
      {"Val: no pad before a negative", 5, "Text18=-2.5", "", "", "Label35", "Val(Number) =-2.5",
       ""},
      {"Val: beyond a double keeps", 5, "Text18=1E400", "", "", "Label35",
       "Val(Number) = 6.12345678900988", ""},
      {"IsNumeric, long", 5, "", "Command10", "", "Label35", "Val(Number) = 6.12345678900988",
       "True"},
      {"IsNumericEx, long", 5, "", "Command11", R"(IsNumericEx(text:"6.12345678900987654321"))",
       "Text18", "6.12345678900987654321", "False"},
      {"IsValueOverflow", 5, "", "Command12", R"(IsValueOverflow(text:"3.68E400"))", "Text19",
       "3.68E400", "True"},
  };

  // Combo2's entries in their order: each calls the member it names. The inverse cosecant,
  // cotangent and secant take numbers of magnitude 1 or more.
  int i = 0;
  for (const char* function :
       {"ArcCosecant", "ArcCosine", "ArcCotangent", "ArcSecant", "ArcSine", "ArcTangent",
        "Cosecant", "Cosine", "Cotangent", "Secant", "Sine", "Tangent"}) {
    const QString number = i == 0 || i == 2 || i == 3 ? "2" : "0.5";
    rows.push_back({function,
                    4,
                    QStringLiteral("Combo2=%1|Trig3=%2").arg(i++).arg(number),
                    "Command9",
                    QStringLiteral(R"(%1(text:"%2", d:10, d:10, i4:1))").arg(function, number),
                    {},
                    {},
                    {}});
  }
  return rows;
}

}  // namespace

class PagesTest : public QObject {
  Q_OBJECT

 private slots:
  void pages_data() {
    QTest::addColumn<Row>("row");
    for (const Row& row : Rows()) QTest::newRow(qPrintable(row.name)) << row;
  }

  void pages() {
    QFETCH(Row, row);
    DemoWindow demo;
    demo.ShowPage(row.page);
    for (const QString& input : row.inputs.split('|', Qt::SkipEmptyParts)) demo.Set(input);
    const std::size_t before = demo.calls().size();
    if (!row.button.isEmpty()) demo.Click(row.button);
    QCOMPARE(demo.calls().size() > before ? demo.calls()[before] : QString(), row.call);
    QStringList boxes;
    for (const auto& message : demo.messages()) boxes << message.text;
    QCOMPARE(boxes.join('\n'), row.box);
    if (row.box.contains("was generated")) {
      QCOMPARE(demo.messages()[0].title, QStringLiteral("An error has occured."));
    }
    if (!row.control.isEmpty()) QCOMPARE(ShownText(demo.Find(row.control)), row.shown);
  }
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
