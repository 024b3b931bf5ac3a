// The window's one component instance, reached only through the dispatch interface: members by
// the dispatch identifiers the generated client header publishes, arguments by position. Calls
// run on a worker thread, one at a time, so the window keeps painting and answering while a long
// series runs; the component's call-control interface reports progress and stops a call.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "client/numeron.h"
#include "demo/error_report.h"
#include "platform/dispatch.h"

class QWidget;

namespace numeron::demo {

namespace dispid = client::dispid;

// Return_Type where a member has one: results come back as text.
inline constexpr std::int32_t kStringValue =
    static_cast<std::int32_t>(client::TypeOfValue::String_Value);

// One call. `fields` names, for each argument taken from a field, the field it came from, so that
// a refused text can be named; arguments that come from no field have an empty name.
struct CallRequest {
  platform::DispId member;
  std::vector<platform::Variant> args;
  std::vector<QString> fields;
  std::size_t by_reference = 0;  // the first this many go by reference and come back written
};

struct CallOutcome {
  platform::Variant result;
  std::vector<platform::Variant> args;  // as the call left them (written back by reference)
  std::optional<HandlerError> error;
  bool cancelled = false;  // stopped by Cancel: no result, nothing written back
};

class ComponentClient {
 public:
  // Creates the registered class by its program identifier; nullptr and why when it cannot.
  static std::unique_ptr<ComponentClient> Create(std::string* why);

  explicit ComponentClient(platform::Ref<platform::Dispatch> object);
  // Stops a running call and waits for it, so the component never outlives a call into it.
  ~ComponentClient();
  ComponentClient(const ComponentClient&) = delete;
  ComponentClient& operator=(const ComponentClient&) = delete;

  // Runs the call on the worker thread; `done` runs on the window's thread when it has ended.
  // Refused (returns false) while another call runs: the object serves one call at a time.
  bool Start(CallRequest request, std::function<void(CallOutcome)> done);
  bool busy() const { return busy_; }
  const platform::TypeLibrary& type_library() const { return object_->GetTypeInfo(); }
  // The name of the running member and the fraction done; nullopt when the component does not
  // report progress.
  QString RunningMember() const;
  std::optional<double> Progress() const;
  void Cancel();
  // Whether the last call that ended was stopped by Cancel.
  bool last_cancelled() const { return last_cancelled_; }

  // The control is enabled while no call runs (buttons that would start one).
  void DisableWhileBusy(QWidget* control);
  // Runs on the window's thread when a call starts (true) and when it ends (false).
  void OnBusyChanged(std::function<void(bool)> listener);

 private:
  void SetBusy(bool busy);
  // Asks the component to stop its running call; false when it had none running (or cannot).
  bool AskToStop();

  platform::Ref<platform::Dispatch> object_;
  std::optional<client::CallControl> control_;  // when the component has the interface
  QString running_;
  bool busy_ = false;
  bool last_cancelled_ = false;
  std::thread worker_;
  std::atomic<bool> worker_done_{true};  // set by the worker when it has left the call
  QObject context_;                      // delivers outcomes on the window's thread
  std::vector<QPointer<QWidget>> controls_;
  std::vector<std::function<void(bool)>> listeners_;
};

}  // namespace numeron::demo
