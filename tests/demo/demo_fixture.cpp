#include "tests/demo/demo_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "demo/component_client.h"
#include "demo/page_tabs.h"
#include "platform/registry.h"

namespace numeron::demo::testing {

std::uint32_t RecordingDispatch::Release() {
  const std::uint32_t left = --references_;
  if (left == 0) {
    *released_ = true;
    delete this;
  }
  return left;
}

platform::HResult RecordingDispatch::Invoke(platform::DispId id, std::span<platform::Argument> args,
                                            platform::Variant* result, platform::ErrorInfo* error) {
  const platform::MemberDesc* member = real_->GetTypeInfo().Find(id);
  QString call = member ? QString::fromLatin1(member->name.data(), member->name.size())
                        : QString::number(id, 16);
  QStringList texts;
  for (const platform::Argument& arg : args) {
    texts << QString::fromStdString(platform::Describe(arg.value()));
  }
  calls.push_back(call + QLatin1Char('(') + texts.join(QStringLiteral(", ")) + QLatin1Char(')'));
  return real_->Invoke(id, args, result, error);
}

DemoWindow::DemoWindow() {
  platform::Ref<platform::Dispatch> real;
  std::string why;
  if (platform::CreateObject(client::kProgId, &real, &why) != platform::kOk) {
    qFatal("cannot create the component: %s", why.c_str());
  }
  spy_ = new RecordingDispatch(std::move(real), &released_);
  window_ = std::make_unique<MainWindow>(
      std::make_unique<ComponentClient>(platform::Ref<platform::Dispatch>(spy_)), sink_);
  window_->setAttribute(Qt::WA_DeleteOnClose, false);  // the fixture owns it
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("the main window was not shown");
}

DemoWindow::~DemoWindow() {
  window_.reset();
  // Numeron9 goes with its window.
  if (!released_) qFatal("the component outlived its window");
}

void DemoWindow::ShowPage(int index) {
  window_->tabs()->setCurrentIndex(index);
  QCoreApplication::processEvents();
}

void DemoWindow::Set(const QString& input) {
  const QString name = input.section(QLatin1Char('='), 0, 0);
  const QString value = input.section(QLatin1Char('='), 1);
  if (!input.contains(QLatin1Char('='))) {
    Click(name);
  } else if (auto* list = qobject_cast<QComboBox*>(Find(name))) {
    list->setCurrentIndex(value.toInt());
  } else {
    Find<QLineEdit>(name)->setText(value);
  }
}

void DemoWindow::Click(const QString& button_name) {
  QTest::mouseClick(Find<QAbstractButton>(button_name), Qt::LeftButton);
  WaitIdle();
}

void DemoWindow::WaitIdle() {
  if (!QTest::qWaitFor([this] { return !window_->numeron9().busy(); }, 30000)) {
    qFatal("the call did not end");
  }
}

QString ShownText(QWidget* control) {
  if (auto* field = qobject_cast<QLineEdit*>(control)) return field->text();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  if (auto* box = qobject_cast<QPlainTextEdit*>(control)) return box->toPlainText();
  return {};
}

}  // namespace numeron::demo::testing
