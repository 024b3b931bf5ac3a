#include "demo/pages/pitch_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSvgWidget>
#include <QVBoxLayout>

#include "demo/widgets.h"

namespace numeron::demo {

namespace {

// Drawn from its vector form at whatever scale the screen has, so it stays sharp at 150% or 200%.
QSvgWidget* MakePicture(QWidget* parent, const char* name, const QString& resource, QSize size) {
  auto* picture = new QSvgWidget(resource, parent);
  picture->setObjectName(QString::fromLatin1(name));
  picture->setFixedSize(size);
  return picture;
}

}  // namespace

PitchPage::PitchPage(QWidget* parent) : QWidget(parent) {
  QLabel* label38 = MakeExplanation(
      this, "Label38",
      QStringLiteral(
          "That is a first look. Numeron has 44 functions in all, and not every one of them "
          "appears on these pages. Each has a help text that describes its arguments and what "
          "it returns; the command numeron --list prints them all.\n\n"
          "The functions follow one naming scheme: a name says what the function does "
          "(Add, Divide, ConvertToString, GetDigit), its arguments are named Numeric_Expression, "
          "Precision, SeriesLength and Return_Type wherever they mean the same thing, and the "
          "result comes back in the kind you ask for.\n\n"
          "Numeron is built from its sources with this program, and the build registers it, so "
          "any program on the machine can create it by its name, NumeronControl.Numeron, and "
          "call it at once."));
  QSvgWidget* image2 =
      MakePicture(this, "Image2", QStringLiteral(":/pictures/digits.svg"), {197, 47});
  QSvgWidget* image1 =
      MakePicture(this, "Image1", QStringLiteral(":/pictures/quotient.svg"), {127, 41});

  auto* pictures = new QVBoxLayout;
  pictures->addWidget(image2, 0, Qt::AlignHCenter);
  pictures->addSpacing(12);
  pictures->addWidget(image1, 0, Qt::AlignHCenter);
  pictures->addStretch();
  auto* page = new QHBoxLayout(this);
  page->addWidget(label38, 1, Qt::AlignTop);
  page->addSpacing(12);
  page->addLayout(pictures);
}

}  // namespace numeron::demo
