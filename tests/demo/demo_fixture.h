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

struct RecordedCall {
  platform::DispId id;
  std::vector<platform::Variant> args;  // as passed, before any write-back
  platform::Variant result;             // empty when the call failed
};

// Passes every call on to the real component and keeps a record of it.
class RecordingDispatch final : public platform::Dispatch {
 public:
  explicit RecordingDispatch(platform::Ref<platform::Dispatch> real, bool* released)
      : real_(std::move(real)), released_(released) {}

  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override;
  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override {
    return real_->GetIDsOfNames(name, id);
  }
  const platform::TypeLibrary& GetTypeInfo() override { return real_->GetTypeInfo(); }
  platform::HResult Invoke(platform::DispId id, std::span<platform::Argument> args,
                           platform::Variant* result, platform::ErrorInfo* error) override;

  std::vector<RecordedCall> calls;

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
  RecordingDispatch& numeron9() { return *spy_; }
  std::vector<Message>& messages() { return sink_.shown; }
  // The last call on Numeron9 by member name, e.g. Divide(text:"1", text:"3", d:10, i4:1);
  // empty when nothing was called.
  QString LastCall();
  // The text the last call returned.
  QString LastResult();
  // Shows the page whose tab has this index, so that its widgets are visible.
  void ShowPage(int index);

  // The window's control of this object name; aborts the test run when there is none.
  template <typename W>
  W* Find(const char* name) {
    return CheckFound(window_->findChild<W*>(QString::fromLatin1(name)), name);
  }
  void Click(const char* button_name);
  // As if typed: the field's change handler runs. Works on disabled fields too.
  void SetText(const char* field_name, const QString& text);

 private:
  template <typename W>
  static W* CheckFound(W* widget, const char* name) {
    if (!widget) FailMissing(name);
    return widget;
  }
  [[noreturn]] static void FailMissing(const char* name);

  RecordingSink sink_;
  RecordingDispatch* spy_ = nullptr;
  std::unique_ptr<MainWindow> window_;
  bool released_ = false;
};

// The text a control shows: a field's text, a label's or button's caption, a frame's title.
QString ShownText(QWidget* control);

}  // namespace numeron::demo::testing
