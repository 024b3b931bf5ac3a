#include "demo/widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace numeron::demo {

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

void SetPointSize(QWidget* widget, double points) {
  QFont font = widget->font();
  font.setPointSizeF(points);
  widget->setFont(font);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QLabel(caption, parent), name);
}

QLabel* MakeExplanation(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = MakeLabel(parent, name, text);
  label->setWordWrap(true);
  SetPointSize(label, kExplanationPoints);
  return label;
}

QLineEdit* MakeLineEdit(QWidget* parent, const char* name, const QString& text) {
  return Named(new QLineEdit(text, parent), name);
}

QLineEdit* MakeResultField(QWidget* parent, const char* name, const QString& text) {
  QLineEdit* field = MakeLineEdit(parent, name, text);
  field->setReadOnly(true);
  return field;
}

QPlainTextEdit* MakeResultBox(QWidget* parent, const char* name, const QString& text) {
  auto* box = Named(new QPlainTextEdit(text, parent), name);
  box->setReadOnly(true);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QPushButton(caption, parent), name);
}

QPushButton* MakeBoldButton(QWidget* parent, const char* name, const QString& caption) {
  QPushButton* button = MakeButton(parent, name, caption);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  return button;
}

QRadioButton* MakeOption(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QRadioButton(caption, parent), name);
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QGroupBox(caption, parent), name);
}

QComboBox* MakeList(QWidget* parent, const char* name) {
  // Selection only: the user picks an entry and cannot type one.
  auto* list = Named(new QComboBox(parent), name);
  list->setEditable(false);
  return list;
}

}  // namespace numeron::demo
