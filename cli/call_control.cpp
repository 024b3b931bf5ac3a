#include "cli/call_control.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <ostream>

#include "client/numeron.h"

namespace numeron::cli {

using platform::Variant;

namespace {

sigset_t WatchedSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGUSR1);
  return set;
}

void WriteToStderr(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(STDERR_FILENO, text.data(), text.size());
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::unique_ptr<client::CallControl> ControlOf(platform::Dispatch& object) {
  object.AddRef();
  try {
    return std::make_unique<client::CallControl>(
        client::Numeron(platform::Ref<platform::Dispatch>(&object)).call_control());
  } catch (const client::CallError&) {
    return nullptr;  // a component without call control: calls cannot be cancelled or limited
  }
}

}  // namespace

void CallControl::BlockSignals() {
  const sigset_t set = WatchedSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
}

CallControl::CallControl(platform::Dispatch& object, bool progress)
    : control_(ControlOf(object)), progress_(progress && control_ && isatty(STDERR_FILENO)) {
  watcher_ = std::thread([this] { Watch(); });
}

CallControl::~CallControl() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  pthread_kill(watcher_.native_handle(), SIGUSR1);
  watcher_.join();
}

const platform::TypeLibrary* CallControl::library() {
  return control_ ? &control_->dispatch().GetTypeInfo() : nullptr;
}

bool CallControl::SetTimeLimit(std::int32_t ms) {
  if (ms == time_limit_) return true;
  if (!control_) return false;
  try {
    control_->TimeLimit(Variant(ms));
  } catch (const client::CallError&) {
    return false;
  }
  time_limit_ = ms;
  return true;
}

void CallControl::Begin(std::string_view member) {
  std::lock_guard lock(mutex_);
  in_call_ = true;
  flushed_ = false;
  member_ = member;
  call_start_ = std::chrono::steady_clock::now();
}

void CallControl::End() {
  std::lock_guard lock(mutex_);
  in_call_ = false;
  EraseProgress();
}

void CallControl::SetReading(bool reading) {
  std::lock_guard lock(mutex_);
  reading_ = reading;
  if (reading && signal_) Exit();
}

void CallControl::SetOutput(std::ostream* out) {
  std::lock_guard lock(mutex_);
  out_ = out;
}

int CallControl::signal() {
  std::lock_guard lock(mutex_);
  return signal_;
}

// With the answers written (when there is an output), says so and ends the program.
void CallControl::Exit() {
  if (out_) out_->flush();
  EraseProgress();
  WriteToStderr("numeron: cancelled\n");
  _exit(128 + signal_);
}

// Waits for a signal, waking every 100 ms to update the progress line (every 10 ms while there
// is an output to flush, and at first, so that a batch's first long call is seen in time). After
// SIGINT or SIGTERM it cancels the running call every 5 ms (a Cancel that comes just before the
// call starts is not remembered), and ends the program itself when there is nothing to wait for: no
// call and no answer in hand, or a call it cannot cancel.
void CallControl::Watch() {
  const sigset_t set = WatchedSignals();
  for (timespec tick{0, 10'000'000};;) {
    const int received = sigtimedwait(&set, nullptr, &tick);
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    if ((received == SIGINT || received == SIGTERM) && !signal_) signal_ = received;
    if (signal_ && (reading_ || (in_call_ && !control_))) Exit();
    const auto running = std::chrono::steady_clock::now() - call_start_;
    if (in_call_ && out_ && !flushed_ && running >= std::chrono::milliseconds(10)) {
      out_->flush();
      flushed_ = true;
    }
    try {
      if (signal_ && in_call_) control_->Cancel();
      if (in_call_ && progress_ && !signal_) DrawProgress();
    } catch (const client::CallError&) {
      // Neither fails while the object lives; the next tick tries again.
    }
    tick.tv_nsec = signal_ ? 5'000'000 : out_ ? 10'000'000 : 100'000'000;
  }
}

// "Multiply 42% 3.1 s" on one line of the terminal, for calls longer than half a second.
void CallControl::DrawProgress() {
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - call_start_).count();
  if (elapsed < 0.5) return;
  char line[160];
  std::snprintf(line, sizeof line, "\r%.100s %d%% %.1f s\x1b[K", member_.c_str(),
                static_cast<int>(std::floor(control_->Progress() * 100)), elapsed);
  WriteToStderr(line);
  drawn_ = true;
}

void CallControl::EraseProgress() {
  if (drawn_) WriteToStderr("\r\x1b[K");
  drawn_ = false;
}

}  // namespace numeron::cli
