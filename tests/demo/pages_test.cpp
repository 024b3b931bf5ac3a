// Every button of every page in one table: what is typed and chosen, the button, the call on
// Numeron9 it makes (its arguments as passed), and what the page then shows (a result, the
// cleared result beside an error box, or an answer box).
#include <QTest>

#include "tests/demo/demo_fixture.h"

using namespace numeron::demo::testing;

namespace {

struct Row {
  const char* name;
  int page;
  const char* inputs;   // "|"-separated, see DemoWindow::Set
  const char* button;   // "" : none, the inputs alone change what is shown
  const char* call;     // the click's first call on Numeron9; "" : none
  const char* control;  // where the result shows
  const char* shown;
  const char* box;  // the message box's text; "" : none
};

const char* const kRefusedNumber = "Type mismatch, error number 13 was generated.";
const char* const kZeroDivisor =
    "You cannot divide a number by zero.  [Division by zero], error number -2147220499 was "
    "generated.";

const Row kRows[] = {
    // The arithmetic page, by the component: texts as typed, Precision by Val.
    {"divide at start", 0, "", "Command1", R"(Divide(text:"1", text:"3", d:10, i4:1))", "Label8",
     "0.3333333333", ""},
    {"precision by Val", 0, "Text2=10|Text3=3|Text1=4 places", "Command1",
     R"(Divide(text:"10", text:"3", d:4, i4:1))", "Label8", "3.3333", ""},
    {"add beyond a double", 0, "Option3|Text2=123456789012345678901234567890|Text3=0.1", "Command1",
     R"(Add(text:"123456789012345678901234567890", text:"0.1", i4:1))", "Label8",
     "123456789012345678901234567890.1", ""},
    {"multiply", 0, "Option5|Text2=12|Text3=-12", "Command1",
     R"(Multiply(text:"12", text:"-12", i4:1))", "Label8", "-144", ""},
    {"subtract", 0, "Option6|Text3=0.001", "Command1", R"(Subtract(text:"1", text:"0.001", i4:1))",
     "Label8", "0.999", ""},
    {"modulus of fractions", 0, "Option7|Text2=-7.5|Text3=2|Text1=x", "Command1",
     R"(Modulus(text:"-7.5", text:"2", i4:1))", "Label8", "-1.5", ""},
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
    {"built-in exponent form", 0, "Option1|Option5|Text2=1E10|Text3=1E10", "Command1", "", "Label8",
     "1E+20", ""},
    {"Val stops at a comma", 0, "Option1|Option3|Text2=1,5|Text3=0", "Command1", "", "Label8", "1",
     ""},
    {"mod: halves to even", 0, "Option1|Option7|Text2=7.5|Text3=2", "Command1", "", "Label8", "0",
     ""},
    {"mod: sign of the first", 0, "Option1|Option7|Text2=-7", "Command1", "", "Label8", "-1", ""},
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
    {"Log_e", 1, "Combo1=2|Text6=1|Text5= 2 0", "Command2", R"(Log_e(text:"1", d:20, d:10, i4:1))",
     "Text8", "0", ""},
    {"Logarithm", 1, "Combo1=3|Text6=8|Text7=2", "Command2",
     R"(Logarithm(text:"8", text:"2", d:10, d:10, i4:1))", "", "", ""},
    {"Exponential", 1, "Combo1=4|Text6=1.5|Text7=2", "Command2",
     R"(Exponential(text:"1.5", text:"2", d:10, d:10, i4:1))", "Text8", "2.25", ""},
    {"Calculate_e", 1, "Combo1=5|Text5=20", "Command2", "Calculate_e(d:20, d:10, i4:1)", "", "",
     ""},
    {"eToExponent", 1, "Combo1=6|Text6=0", "Command2", R"(eToExponent(text:"0", d:10, d:10, i4:1))",
     "Text8", "1", ""},
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
    {"Round's place as typed", 3, "Text9=1.26|Text10=-1", "Command6", R"(Round(text:"1.26", d:-1))",
     "Text10", "-1", ""},
    {"Round refused", 3, "Text9=abc", "Command6", R"(Round(text:"abc", d:5))", "Text11", "",
     "Type mismatch, error number 13 was generated.\n\nRefused field: Number"},
    {"GetDigit at start", 3, "", "Command7", R"(GetDigit(text:"1234567890.0123456789", d:7))",
     "Text14", "3", ""},
    {"GetDigit of a negative", 3, "Text12=-45.6|Text13=0", "Command7",
     R"(GetDigit(text:"-45.6", d:0))", "Text14", "-5", ""},
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
     "For 'arc' (inverse) trigonometric functions, (numeric_expression ^ 2) must be less than 1., "
     "error number -2147220497 was generated."},
    // The comparison page: Val as typed, and the answers in boxes of their own.
    {"Val at start", 5, "", "", "", "Label35", "Val(Number) = 6.12345678900988", ""},
    {"Val: no pad before a negative", 5, "Text18=-2.5", "", "", "Label35", "Val(Number) =-2.5", ""},
    {"Val: blanks ignored", 5, "Text18=1 2.5", "", "", "Label35", "Val(Number) = 12.5", ""},
    {"Val: beyond a double keeps", 5, "Text18=1E400", "", "", "Label35",
     "Val(Number) = 6.12345678900988", ""},
    {"IsNumeric, long", 5, "", "Command10", "", "Label35", "Val(Number) = 6.12345678900988",
     "True"},
    {"IsNumeric, comma", 5, "Text18=1,5", "Command10", "", "Text18", "1,5", "False"},
    {"IsNumericEx, long", 5, "", "Command11", R"(IsNumericEx(text:"6.12345678900987654321"))",
     "Text18", "6.12345678900987654321", "False"},
    {"IsNumericEx, short", 5, "Text18=6.125", "Command11", R"(IsNumericEx(text:"6.125"))", "Text18",
     "6.125", "True"},
    {"IsValueOverflow", 5, "", "Command12", R"(IsValueOverflow(text:"3.68E400"))", "Text19",
     "3.68E400", "True"},
};

// Combo2's entries in their order; each must call the member it names.
const char* const kTrigFunctions[] = {"ArcCosecant", "ArcCosine",  "ArcCotangent", "ArcSecant",
                                      "ArcSine",     "ArcTangent", "Cosecant",     "Cosine",
                                      "Cotangent",   "Secant",     "Sine",         "Tangent"};

}  // namespace

class PagesTest : public QObject {
  Q_OBJECT

 private slots:
  void pages_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("box");
    for (const Row& row : kRows) {
      QTest::newRow(row.name) << row.page << row.inputs << row.button << row.call << row.control
                              << row.shown << row.box;
    }
    for (int i = 0; i < 12; ++i) {
      // The inverse cosecant, cotangent and secant take numbers of magnitude 1 or more.
      const QString number = i == 0 || i == 2 || i == 3 ? "2" : "0.5";
      QTest::newRow(kTrigFunctions[i])
          << 4 << QStringLiteral("Combo2=%1|Trig3=%2").arg(i).arg(number) << "Command9"
          << QStringLiteral(R"(%1(text:"%2", d:10, d:10, i4:1))").arg(kTrigFunctions[i], number)
          << ""
          << ""
          << "";
    }
  }

  void pages() {
    QFETCH(int, page);
    QFETCH(QString, inputs);
    QFETCH(QString, button);
    QFETCH(QString, call);
    QFETCH(QString, control);
    QFETCH(QString, shown);
    QFETCH(QString, box);
    DemoWindow demo;
    demo.ShowPage(page);
    for (const QString& input : inputs.split(QLatin1Char('|'), Qt::SkipEmptyParts)) demo.Set(input);
    const std::size_t before = demo.calls().size();
    if (!button.isEmpty()) demo.Click(button);
    QCOMPARE(demo.calls().size() > before ? demo.calls()[before] : QString(), call);
    QStringList boxes;
    for (const auto& message : demo.messages()) boxes << message.text;
    QCOMPARE(boxes.join(QLatin1Char('\n')), box);
    if (!control.isEmpty()) QCOMPARE(ShownText(demo.Find(control)), shown);
  }
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
