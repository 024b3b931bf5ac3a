#include "demo/component_client.h"

#include <QTimer>
#include <QWidget>
#include <chrono>

#include "platform/error.h"
#include "platform/registry.h"

namespace numeron::demo {

namespace {

// What the call-control interface raises in a call that Cancel stopped.
constexpr std::int32_t kCancelledNumber = -2147220496;

HandlerError FailureOf(platform::HResult status, const platform::ErrorInfo& error) {
  // A dispatch failure (a member or argument the object refuses) is reported like a raised error.
  if (status == platform::kException) return HandlerError(error.number, error.description);
  return HandlerError(status, std::string(platform::DescribeStatus(status)));
}

// The first field whose text the component refuses as a number, asked of the component itself
// (GetHighestPlace reads its argument as every member does and does little else), so that the
// rule of what is a number stays the component's alone.
QString RefusedField(platform::Dispatch& object, const CallRequest& request,
                     const std::vector<platform::Variant>& args) {
  for (std::size_t i = 0; i < args.size() && i < request.fields.size(); ++i) {
    if (request.fields[i].isEmpty() || !args[i].is(platform::VariantKind::Text)) continue;
    platform::Argument probe[] = {platform::Argument::ByValue(args[i])};
    platform::Variant ignored;
    platform::ErrorInfo error;
    if (object.Invoke(dispid::GetHighestPlace, probe, &ignored, &error) == platform::kException &&
        error.number == platform::kTypeMismatch.number) {
      return request.fields[i];
    }
  }
  return {};
}

// On the worker thread.
CallOutcome RunCall(platform::Dispatch& object, const CallRequest& request) {
  CallOutcome outcome;
  outcome.args = request.args;
  std::vector<platform::Argument> args;
  args.reserve(outcome.args.size());
  for (std::size_t i = 0; i < outcome.args.size(); ++i) {
    args.push_back(i < request.by_reference ? platform::Argument::ByRef(outcome.args[i])
                                            : platform::Argument::ByValue(outcome.args[i]));
  }
  platform::ErrorInfo error;
  const platform::HResult status = object.Invoke(request.member, args, &outcome.result, &error);
  if (status == platform::kOk) return outcome;
  if (status == platform::kException && error.number == kCancelledNumber) {
    outcome.cancelled = true;
    return outcome;
  }
  outcome.error = FailureOf(status, error);
  if (outcome.error->number() == platform::kTypeMismatch.number) {
    outcome.error->set_field(RefusedField(object, request, request.args).toStdString());
  }
  return outcome;
}

}  // namespace

std::unique_ptr<ComponentClient> ComponentClient::Create(std::string* why) {
  platform::Ref<platform::Dispatch> object;
  if (platform::CreateObject(client::kProgId, &object, why) != platform::kOk || !object) {
    return nullptr;
  }
  return std::make_unique<ComponentClient>(std::move(object));
}

ComponentClient::ComponentClient(platform::Ref<platform::Dispatch> object)
    : object_(std::move(object)) {
  // A component without the call-control interface still serves every call; its calls then run
  // to their end, without progress.
  try {
    control_.emplace(client::Numeron(object_).call_control());
  } catch (const client::CallError&) {
  }
}

ComponentClient::~ComponentClient() {
  if (!worker_.joinable()) return;
  // A Cancel that comes before the worker has entered the call finds nothing to stop and is not
  // remembered, so it is repeated until the worker has left the call.
  while (!worker_done_.load()) {
    AskToStop();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  worker_.join();
}

bool ComponentClient::Start(CallRequest request, std::function<void(CallOutcome)> done) {
  if (busy_) return false;
  if (worker_.joinable()) worker_.join();  // the last call has ended; its thread is finishing
  const platform::MemberDesc* member = object_->GetTypeInfo().Find(request.member);
  running_ = member ? QString::fromLatin1(member->name.data(), member->name.size()) : QString();
  SetBusy(true);
  worker_done_ = false;
  worker_ = std::thread([this, request = std::move(request), done = std::move(done)]() mutable {
    CallOutcome outcome = RunCall(*object_.get(), request);
    worker_done_ = true;
    QMetaObject::invokeMethod(
        &context_,
        [this, outcome = std::move(outcome), done = std::move(done)]() mutable {
          last_cancelled_ = outcome.cancelled;
          SetBusy(false);
          done(std::move(outcome));
        },
        Qt::QueuedConnection);
  });
  return true;
}

QString ComponentClient::RunningMember() const { return busy_ ? running_ : QString(); }

std::optional<double> ComponentClient::Progress() const {
  try {
    if (control_) return control_->Progress();
  } catch (const client::CallError&) {
  }
  return std::nullopt;
}

void ComponentClient::Cancel() {
  // Pressed just after the start, the call may not have begun yet: ask again shortly, until it
  // stops or ends.
  if (busy_ && control_ && !AskToStop()) {
    QTimer::singleShot(10, &context_, [this] { Cancel(); });
  }
}

bool ComponentClient::AskToStop() {
  try {
    return control_ && control_->Cancel();
  } catch (const client::CallError&) {
    return false;
  }
}

void ComponentClient::DisableWhileBusy(QWidget* control) {
  controls_.emplace_back(control);
  control->setEnabled(!busy_);
}

void ComponentClient::OnBusyChanged(std::function<void(bool)> listener) {
  listeners_.push_back(std::move(listener));
}

void ComponentClient::SetBusy(bool busy) {
  busy_ = busy;
  for (const QPointer<QWidget>& control : controls_) {
    if (control) control->setEnabled(!busy);
  }
  for (const auto& listener : listeners_) listener(busy);
}

}  // namespace numeron::demo
