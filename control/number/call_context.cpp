#include "control/number/call_context.h"

namespace numeron {
namespace detail {

constinit thread_local CurrentCall current_call;

void RaiseCancelled() { Raise(kCancelled); }

void CheckClock(CurrentCall& call) {
  call.until_clock = kClockInterval;
  if (std::chrono::steady_clock::now() > call.deadline) Raise(kTimeLimitExceeded);
}

}  // namespace detail

namespace {

// Call numbers are unique in the process; 0 stands for no call.
std::atomic<std::uint64_t> last_call_number{0};

}  // namespace

bool CallControl::Cancel() {
  const std::uint64_t running = running_.load();
  cancelled_.store(running);
  return running != 0;
}

std::string_view CallControl::Member() const {
  const std::string_view* member = member_.load();
  return member ? *member : std::string_view();
}

CallScope::CallScope(CallControl& control, const std::string_view& member) : control_(control) {
  detail::CurrentCall& call = detail::current_call;
  call.control = &control;
  call.number = ++last_call_number;
  call.until_clock = detail::kClockInterval;
  const std::int32_t limit = control.TimeLimit();
  call.deadline = limit > 0 ? std::chrono::steady_clock::now() + std::chrono::milliseconds(limit)
                            : std::chrono::steady_clock::time_point::max();
  control.progress_.store(0, std::memory_order_relaxed);
  control.member_.store(&member);
  control.running_.store(call.number);
}

CallScope::~CallScope() {
  control_.running_.store(0);
  control_.member_.store(nullptr);
  control_.progress_.store(0, std::memory_order_relaxed);
  detail::current_call.control = nullptr;
}

void ReportProgress(std::uint64_t done, std::uint64_t total) {
  CheckPoint();
  CallControl* control = detail::current_call.control;
  if (!control || total == 0) return;
  const double fraction = done >= total ? 1.0 : static_cast<double>(done) / total;
  control->progress_.store(fraction, std::memory_order_relaxed);
}

}  // namespace numeron
