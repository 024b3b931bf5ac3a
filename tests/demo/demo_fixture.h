// Shared by the window tests: the real main window around the real registered component, with
// the component's calls and the message boxes recorded instead of shown.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "demo/main_window.h"
#include "demo/message_sink.h"
#include "platform/dispatch.h"

namespace numeron::demo::testing {

class RecordingSink final : public MessageSink {
 public:
  void Show(const Message& message) override { shown.push_back(message); }
  std::vector<Message> shown;
};

// Passes every call on to the real component and keeps each as text, e.g.
// Divide(text:"1", text:"3", d:10, i4:1), with its arguments as passed.
class RecordingDispatch final : public platform::Dispatch {
 public:
  RecordingDispatch(platform::Ref<platform::Dispatch> real, bool* released)
      : real_(std::move(real)), released_(released) {}

  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override;
  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override {
    return real_->GetIDsOfNames(name, id);
  }
  const platform::TypeLibrary& GetTypeInfo() override { return real_->GetTypeInfo(); }
  platform::HResult Invoke(platform::DispId id, std::span<platform::Argument> args,
                           platform::Variant* result, platform::ErrorInfo* error) override;

  std::vector<QString> calls;

 private:
  platform::Ref<platform::Dispatch> real_;
  bool* released_;
  std::uint32_t references_ = 1;
};

// A shown main window whose Numeron9 is the real component behind a RecordingDispatch.
class DemoWindow {
 public:
  DemoWindow();
  ~DemoWindow();

  MainWindow& window() { return *window_; }
  std::vector<QString>& calls() { return spy_->calls; }
  std::vector<Message>& messages() { return sink_.shown; }
  void ShowPage(int index);

  // The window's control of this object name; aborts the test run when there is none.
  template <typename W = QWidget>
  W* Find(const QString& name) {
    W* widget = window_->findChild<W*>(name);
    if (!widget) qFatal("the window has no control %s", qPrintable(name));
    return widget;
  }
  // "Name=text" types into a field (as if typed), "Combo1=3" selects an entry, "Option1" clicks.
  void Set(const QString& input);
  // Clicks, then waits until the call it started (if any) has ended and been shown.
  void Click(const QString& button_name);
  void WaitIdle();

 private:
  RecordingSink sink_;
  RecordingDispatch* spy_ = nullptr;
  std::unique_ptr<MainWindow> window_;
  bool released_ = false;
};

// The text a control shows: a field's or box's text, a label's or button's caption.
QString ShownText(QWidget* control);

}  // namespace numeron::demo::testing
