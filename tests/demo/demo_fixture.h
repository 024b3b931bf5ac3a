// Shared by the window tests: the real main window around the real registered component, with
// the component's calls and the message boxes recorded instead of shown.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "demo/component_client.h"
#include "demo/main_window.h"
#include "demo/message_sink.h"
#include "demo/page_tabs.h"
#include "platform/registry.h"

namespace numeron::demo::testing {

class RecordingSink final : public MessageSink {
 public:
  void Show(const Message& message) override { shown.push_back(message); }
  std::vector<Message> shown;
};

// Passes every call on to the real component and keeps each as text, with its arguments as
// passed: Divide(text:"1", text:"3", d:10, i4:1). Says when it is released.
class RecordingDispatch final : public platform::Dispatch {
 public:
  RecordingDispatch(platform::Ref<platform::Dispatch> real, bool* released)
      : real_(std::move(real)), released_(released) {}
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    if (--references_ == 0) *released_ = true;
    return references_;  // the fixture deletes it
  }
  platform::HResult QueryInterface(std::string_view name, platform::Dispatch** other) override {
    return real_->QueryInterface(name, other);
  }
  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override {
    return real_->GetIDsOfNames(name, id);
  }
  const platform::TypeLibrary& GetTypeInfo() override { return real_->GetTypeInfo(); }
  platform::HResult Invoke(platform::DispId id, std::span<platform::Argument> args,
                           platform::Variant* result, platform::ErrorInfo* error) override {
    QStringList texts;
    for (const platform::Argument& arg : args) {
      texts << QString::fromStdString(platform::Describe(arg.value()));
    }
    const std::string_view name = real_->GetTypeInfo().Find(id)->name;
    calls.push_back(QString::fromLatin1(name.data(), name.size()) + '(' + texts.join(", ") + ')');
    return real_->Invoke(id, args, result, error);
  }

  std::vector<QString> calls;

 private:
  platform::Ref<platform::Dispatch> real_;
  bool* released_;
  std::uint32_t references_ = 1;
};

// A shown main window whose Numeron9 is the real component behind a RecordingDispatch.
class DemoWindow {
 public:
  DemoWindow() {
    platform::Ref<platform::Dispatch> real;
    std::string why;
    if (platform::CreateObject(client::kProgId, &real, &why) != platform::kOk)
      qFatal("%s", why.c_str());
    spy_ = std::make_unique<RecordingDispatch>(std::move(real), &released_);
    window_ = std::make_unique<MainWindow>(
        std::make_unique<ComponentClient>(platform::Ref<platform::Dispatch>(spy_.get())), sink_);
    window_->setAttribute(Qt::WA_DeleteOnClose, false);  // the fixture owns it
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("the main window was not shown");
  }
  ~DemoWindow() {
    window_.reset();
    if (!released_) qFatal("the component outlived its window");  // Numeron9 goes with it
  }

  MainWindow& window() { return *window_; }
  std::vector<QString>& calls() { return spy_->calls; }
  std::vector<Message>& messages() { return sink_.shown; }
  void ShowPage(int index) { window_->tabs()->setCurrentIndex(index); }

  // The window's control of this object name; aborts the test run when there is none.
  template <typename W = QWidget>
  W* Find(const QString& name) {
    W* widget = window_->findChild<W*>(name);
    if (!widget) qFatal("the window has no control %s", qPrintable(name));
    return widget;
  }
  // "Name=text" types into a field (as if typed), "Combo1=3" selects an entry, "Option1" clicks.
  void Set(const QString& input) {
    const QString name = input.section('=', 0, 0);
    if (!input.contains('=')) {
      Click(name);
    } else if (auto* list = qobject_cast<QComboBox*>(Find(name))) {
      list->setCurrentIndex(input.section('=', 1).toInt());
    } else {
      Find<QLineEdit>(name)->setText(input.section('=', 1));
    }
  }
  // Clicks, then waits until the call it started (if any) has ended and been shown.
  void Click(const QString& button) {
    QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton);
    WaitIdle();
  }
  void WaitIdle() {
    if (!QTest::qWaitFor([this] { return !window_->numeron9().busy(); }, 60000)) qFatal("hung");
  }

 private:
  RecordingSink sink_;
  bool released_ = false;
  std::unique_ptr<RecordingDispatch> spy_;
  std::unique_ptr<MainWindow> window_;
};

// The text a control shows: a field's or box's text, a label's caption.
inline QString ShownText(QWidget* control) {
  if (auto* field = qobject_cast<QLineEdit*>(control)) return field->text();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* box = qobject_cast<QPlainTextEdit*>(control)) return box->toPlainText();
  return {};
}

}  // namespace numeron::demo::testing
