#include "demo/widgets.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "demo/error_report.h"
#include "demo/value_text.h"

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

QLabel* MakeCaption(QWidget* parent, const char* name, const QString& caption, QWidget* field) {
  QLabel* label = MakeLabel(parent, name, caption);
  label->setBuddy(field);
  return label;
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

QFont FixedPitchFont(double points) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(points);
  return font;
}

void MakeDefaultButton(QWidget* scope, QPushButton* button) {
  button->setDefault(true);
  for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* enter = new QShortcut(QKeySequence(key), scope);
    enter->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(enter, &QShortcut::activated, button, &QPushButton::click);
  }
}

QString FieldName(const QLineEdit* field) {
  for (const QLabel* label : field->parentWidget()->findChildren<QLabel*>()) {
    if (label->buddy() != field) continue;
    QString name = label->text().remove(QLatin1Char('&')).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name;
  }
  return {};
}

double FieldVal(const QLineEdit* field) {
  try {
    return CheckedVal(field->text());
  } catch (HandlerError& error) {
    error.set_field(FieldName(field).toStdString());
    throw;
  }
}

platform::Variant FieldText(const QLineEdit* field) { return TextArgument(field->text()); }

}  // namespace numeron::demo
