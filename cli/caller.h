// Calling the component's members for both forms of the command line: the name looked up
// once, the arguments passed by reference, every way a call can fail brought to one number
// and description.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/call_control.h"
#include "platform/dispatch.h"
#include "platform/variant.h"

namespace numeron::cli {

// How a call ended. A failure of the dispatch layer carries its status as the number and a
// short text; what the component raised, its own number and description.
struct Outcome {
  bool ok = false;
  platform::Variant result;
  std::int32_t number = 0;
  std::string description;
};

class Caller {
 public:
  // control: cancels calls on a signal and limits their time; may be null (no time limits).
  explicit Caller(platform::Dispatch& object, CallControl* control = nullptr)
      : object_(object), control_(control) {}

  platform::Dispatch& object() { return object_; }
  CallControl* control() { return control_; }
  // The member's dispatch identifier (names match without regard to case); the status when
  // there is no such member.
  platform::HResult LookUp(const std::string& name, platform::DispId* id);
  // Calls member id with args, each by reference, so that they show what the member stored,
  // within time_limit_ms (0: no limit).
  Outcome Call(platform::DispId id, std::vector<platform::Variant>& args,
               std::int32_t time_limit_ms = 0);

 private:
  platform::Dispatch& object_;
  CallControl* control_;
  std::unordered_map<std::string, platform::DispId> ids_;  // as the caller spelled the name
};

}  // namespace numeron::cli
