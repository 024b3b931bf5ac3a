// _NumeronCallControl: the second dispatch interface of a Numeron object, through which a host
// cancels the object's running call from another thread, sets the time limit of its calls and
// reads their progress. It shares the object's reference count; a host reaches it with
// QueryInterface and comes back with QueryInterface("_Numeron").
#pragma once

#include "control/number/call_context.h"
#include "platform/dispatch.h"

namespace numeron {

class CallControlInterface final : public platform::Dispatch {
 public:
  CallControlInterface(platform::Dispatch& object, CallControl& control)
      : object_(object), control_(control) {}

  std::uint32_t AddRef() override { return object_.AddRef(); }
  std::uint32_t Release() override { return object_.Release(); }
  platform::HResult QueryInterface(std::string_view interface_name,
                                   platform::Dispatch** other) override {
    return object_.QueryInterface(interface_name, other);
  }
  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override;
  const platform::TypeLibrary& GetTypeInfo() override;
  // Touches nothing but the call control's atomics, so it may run beside a call of the object.
  platform::HResult Invoke(platform::DispId id, std::span<platform::Argument> args,
                           platform::Variant* result, platform::ErrorInfo* error) override;

 private:
  platform::Dispatch& object_;
  CallControl& control_;
};

}  // namespace numeron
