#include "cli/caller.h"

#include <exception>
#include <new>

#include "platform/error.h"

namespace numeron::cli {

using platform::Variant;

platform::HResult Caller::LookUp(const std::string& name, platform::DispId* id) {
  if (const auto it = ids_.find(name); it != ids_.end()) {
    *id = it->second;
    return platform::kOk;
  }
  const platform::HResult status = object_.GetIDsOfNames(name, id);
  if (status == platform::kOk) ids_.emplace(name, *id);
  return status;
}

Outcome Caller::Call(platform::DispId id, std::vector<Variant>& args, std::int32_t time_limit_ms) {
  Outcome outcome;
  platform::ErrorInfo error;
  platform::HResult status = platform::kException;
  if (control_ ? !control_->SetTimeLimit(time_limit_ms) : time_limit_ms != 0) {
    outcome.number = platform::kNoInterface;  // the component has no call control
    outcome.description = "this component cannot limit the time of a call";
    return outcome;
  }
  const platform::MemberDesc* member = object_.GetTypeInfo().Find(id);
  if (control_) control_->Begin(member ? member->name : "");
  try {
    std::vector<platform::Argument> refs;
    refs.reserve(args.size());
    for (Variant& arg : args) refs.push_back(platform::Argument::ByRef(arg));
    status = object_.Invoke(id, refs, &outcome.result, &error);
  } catch (const std::bad_alloc&) {
    error = {platform::kOutOfMemory.number, std::string(platform::kOutOfMemory.description)};
  } catch (const std::exception& e) {
    // A component should never let one escape; report it rather than stop.
    error = {platform::kFailed, std::string("unexpected failure: ") + e.what()};
  }
  if (control_) control_->End();
  outcome.ok = status >= 0;
  if (status == platform::kException) {
    outcome.number = error.number;
    outcome.description = std::move(error.description);
  } else if (!outcome.ok) {
    outcome.number = status;
    outcome.description = platform::DescribeStatus(status);
  }
  return outcome;
}

}  // namespace numeron::cli
