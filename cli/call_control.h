// The command line's use of the component's call-control interface: SIGINT and SIGTERM cancel
// the running call, a time limit bounds each call, and a progress line shows on a terminal.
// The signals are blocked in every thread and taken by one watching thread, which calls into
// the component (Cancel, Progress) as any other thread may while a call runs; nothing is done
// in a signal handler.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/dispatch.h"

namespace numeron::client {
class CallControl;
}

namespace numeron::cli {

class CallControl {
 public:
  // Blocks SIGINT, SIGTERM (and SIGUSR1, which wakes the watcher) for the threads to come, and
  // ignores SIGPIPE so that a closed pipe is a write error. Call first thing in main.
  static void BlockSignals();

  // progress: draw the progress line (only when standard error is a terminal).
  CallControl(platform::Dispatch& object, bool progress);
  ~CallControl();
  CallControl(const CallControl&) = delete;
  CallControl& operator=(const CallControl&) = delete;

  // The members of the call-control interface, for the listing; nullptr without one.
  const platform::TypeLibrary* library();
  // Sets the component's limit for the next calls (0: none). False when it cannot limit them.
  bool SetTimeLimit(std::int32_t ms);
  // Around each call, for cancelling and showing it.
  void Begin(std::string_view member);
  void End();
  // While the program waits for input a signal ends it at once, after `out` (when set) is
  // flushed.
  void SetReading(bool reading);
  // The stream of answers, which the program leaves alone while reading or in a call: the
  // watcher flushes it once a call has run 10 ms, so no answer waits behind a long call, and
  // before a signal ends the program. nullptr: none.
  void SetOutput(std::ostream* out);
  // The signal that came (SIGINT or SIGTERM), or 0.
  int signal();

 private:
  void Watch();
  [[noreturn]] void Exit();
  void DrawProgress();
  void EraseProgress();

  std::unique_ptr<client::CallControl> control_;  // null when the component has none
  bool progress_;
  std::int32_t time_limit_ = 0;

  std::mutex mutex_;  // guards what follows, shared with the watcher
  bool stopping_ = false;
  bool reading_ = false;
  bool in_call_ = false;
  bool flushed_ = false;  // the output, during this call
  std::ostream* out_ = nullptr;
  bool drawn_ = false;
  int signal_ = 0;
  std::string member_;
  std::chrono::steady_clock::time_point call_start_;
  std::thread watcher_;
};

}  // namespace numeron::cli
