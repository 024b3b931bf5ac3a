// The Numeron object: reference counted, answering _Numeron by dispatch identifier and
// _NumeronCallControl beside it, sized as a control, and holding the two constants it builds
// when it is created.
#pragma once

#include <atomic>

#include "control/number/call_context.h"
#include "control/number/huge_number.h"
#include "control/object/call_control_interface.h"
#include "platform/dispatch.h"

namespace numeron {

class NumeronObject final : public platform::Dispatch, public platform::Control {
 public:
  // The extent a host gets back whatever it asks for, in twips.
  static constexpr std::int32_t kExtent = 480;

  NumeronObject();
  NumeronObject(const NumeronObject&) = delete;
  NumeronObject& operator=(const NumeronObject&) = delete;

  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  platform::HResult QueryInterface(std::string_view interface_name,
                                   platform::Dispatch** other) override;
  platform::HResult GetIDsOfNames(std::string_view name, platform::DispId* id) override;
  const platform::TypeLibrary& GetTypeInfo() override;
  platform::HResult Invoke(platform::DispId id, std::span<platform::Argument> args,
                           platform::Variant* result, platform::ErrorInfo* error) override;
  platform::Control* AsControl() override { return this; }

  void SetExtent(std::int32_t width, std::int32_t height) override;
  void GetExtent(std::int32_t* width, std::int32_t* height) const override;

  const HugeNumber& pi() const { return pi_; }
  const HugeNumber& e() const { return e_; }

 private:
  ~NumeronObject() override;

  std::atomic<std::uint32_t> references_{1};
  HugeNumber pi_;
  HugeNumber e_;
  CallControl control_;
  CallControlInterface control_interface_{*this, control_};
};

}  // namespace numeron
