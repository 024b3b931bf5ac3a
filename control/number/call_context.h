// The control of one object's calls, and the cancellation points the computation passes.
//
// A host may stop the call an object is running (Cancel), bound how long its calls run (a time
// limit) and watch how far the running call has got (its progress and member name), all from
// another thread. The calling thread never waits for any of that: long loops call CheckPoint(),
// which raises the cancel or time-limit error when one applies, and ReportProgress() where the
// size of the work is known. Outside a call (a test calling the arithmetic directly) both do
// nothing.
//
// Cancel is meant for the call running when it is asked: every call gets a new number, and
// Cancel records the number of the call running at that moment (0 when idle, which no call
// has), so a Cancel that finds no call, or one that races with the end of a call, never reaches
// the next call.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "control/number/errors.h"

namespace numeron {

class CallControl {
 public:
  // Asks the running call to stop at its next cancellation point; true when a call was running.
  // Safe from any thread.
  bool Cancel();
  // In milliseconds, 0 for none; a change applies to the calls that start after it.
  std::int32_t TimeLimit() const { return time_limit_ms_.load(); }
  void SetTimeLimit(std::int32_t milliseconds) { time_limit_ms_.store(milliseconds); }
  // The fraction of the running call done, in [0, 1] (0 when idle).
  double Progress() const { return progress_.load(std::memory_order_relaxed); }
  // The name of the running member ("" when idle).
  std::string_view Member() const;

 private:
  friend class CallScope;
  friend void ReportProgress(std::uint64_t done, std::uint64_t total);
  friend void CheckPoint();

  std::atomic<std::uint64_t> running_{0};    // the number of the running call, 0 when idle
  std::atomic<std::uint64_t> cancelled_{0};  // the number of the call Cancel last asked to stop
  std::atomic<std::int32_t> time_limit_ms_{0};
  std::atomic<double> progress_{0};
  std::atomic<const std::string_view*> member_{nullptr};
};

// One call of an object on the calling thread, from its start to its end: the cancellation
// points and progress reports of this thread go to it. member must outlive every call (it is
// the member's published name).
class CallScope {
 public:
  CallScope(CallControl& control, const std::string_view& member);
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  ~CallScope();

 private:
  CallControl& control_;
};

// Raises the cancel error when the running call was cancelled, or the time-limit error when it
// has run past its limit. Costs one atomic load, and a clock read every kClockInterval calls, so
// call it in loops at a step of about a microsecond of work or more.
void CheckPoint();

// The places a per-place loop (parsing, writing, carrying) passes between two CheckPoint calls:
// about a tenth of a millisecond of work.
inline constexpr std::size_t kPlacesPerCheck = std::size_t{1} << 16;

// Records done out of total as the running call's progress (total 0 counts as nothing done);
// a cancellation point as well. Only the loops whose size is the call's own report (the series
// passes, the factors of a factorial or a power), so nested work never rewinds the figure.
void ReportProgress(std::uint64_t done, std::uint64_t total);

// Implementation details follow.

namespace detail {

inline constexpr std::uint32_t kClockInterval = 16;

struct CurrentCall {
  CallControl* control = nullptr;
  std::uint64_t number = 0;
  std::chrono::steady_clock::time_point deadline{};  // max() when there is no limit
  std::uint32_t until_clock = kClockInterval;
};
extern constinit thread_local CurrentCall current_call;

[[noreturn]] void RaiseCancelled();
void CheckClock(CurrentCall& call);

}  // namespace detail

inline void CheckPoint() {
  detail::CurrentCall& call = detail::current_call;
  if (!call.control) return;
  if (call.control->cancelled_.load(std::memory_order_relaxed) == call.number) {
    detail::RaiseCancelled();
  }
  if (--call.until_clock == 0) detail::CheckClock(call);
}

}  // namespace numeron
