#include "tests/demo/demo_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include "demo/component_client.h"
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
  RecordedCall call{id, {}, {}};
  for (const platform::Argument& arg : args) call.args.push_back(arg.value());
  const platform::HResult status = real_->Invoke(id, args, result, error);
  if (status == platform::kOk && result) call.result = *result;
  calls.push_back(std::move(call));
  return status;
}

namespace {

platform::Ref<platform::Dispatch> CreateComponent() {
  platform::Ref<platform::Dispatch> object;
  std::string why;
  if (platform::CreateObject(kComponentProgId, &object, &why) != platform::kOk) {
    qFatal("cannot create the component: %s", why.c_str());
  }
  return object;
}

}  // namespace

DemoWindow::DemoWindow() {
  spy_ = new RecordingDispatch(CreateComponent(), &released_);
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

void DemoWindow::Click(const char* button_name) {
  QTest::mouseClick(Find<QAbstractButton>(button_name), Qt::LeftButton);
}

void DemoWindow::SetText(const char* field_name, const QString& text) {
  Find<QLineEdit>(field_name)->setText(text);
}

QString DemoWindow::LastCall() {
  if (spy_->calls.empty()) return {};
  const RecordedCall& call = spy_->calls.back();
  const platform::MemberDesc* member = spy_->GetTypeInfo().Find(call.id);
  QString text = member ? QString::fromLatin1(member->name.data(), member->name.size())
                        : QString::number(call.id, 16);
  text += QLatin1Char('(');
  for (std::size_t i = 0; i < call.args.size(); ++i) {
    if (i) text += QStringLiteral(", ");
    text += QString::fromStdString(platform::Describe(call.args[i]));
  }
  return text + QLatin1Char(')');
}

QString DemoWindow::LastResult() {
  if (spy_->calls.empty() || !spy_->calls.back().result.is(platform::VariantKind::Text)) return {};
  return QString::fromStdString(spy_->calls.back().result.text());
}

void DemoWindow::FailMissing(const char* name) { qFatal("the window has no control %s", name); }

QString ShownText(QWidget* control) {
  if (auto* field = qobject_cast<QLineEdit*>(control)) return field->text();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  if (auto* frame = qobject_cast<QGroupBox*>(control)) return frame->title();
  if (auto* box = qobject_cast<QPlainTextEdit*>(control)) return box->toPlainText();
  return {};
}

}  // namespace numeron::demo::testing
