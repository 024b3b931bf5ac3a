#include "demo/pages/data_types_page.h"

#include <QLabel>
#include <QVBoxLayout>

#include "demo/widgets.h"

namespace numeron::demo {

DataTypesPage::DataTypesPage(QWidget* parent) : QWidget(parent) {
  QLabel* label17 = MakeExplanation(
      this, "Label17",
      QStringLiteral(
          "Numeron has two number kinds of its own. A huge number is held in a Variant, as an "
          "array with one decimal digit per place; a string value is held in an ordinary "
          "string. Both reach from 1.0E-2,147,483,648 up to 9.999...E2,147,483,647, positive "
          "or negative; the larger or more precise a value, the more memory it takes.\n\n"
          "Every Numeron function accepts the built-in number kinds and Numeron's own kinds "
          "alike, so you can mix them freely. Most functions also let you choose the kind of "
          "their result: a double, a string value or a Huge_Number."));
  auto* page = new QVBoxLayout(this);
  page->addWidget(label17);
  page->addStretch();
}

}  // namespace numeron::demo
