#include "control/object/class_factory.h"

#include <atomic>
#include <new>

#include "control/object/numeron.h"

namespace numeron {
namespace {

std::atomic<int> server_locks{0};
std::atomic<int> factory_references{0};

class NumeronFactory final : public platform::ClassFactory {
 public:
  std::uint32_t AddRef() override { return static_cast<std::uint32_t>(++factory_references); }
  std::uint32_t Release() override { return static_cast<std::uint32_t>(--factory_references); }

  platform::HResult CreateInstance(platform::Dispatch** object) override {
    try {
      *object = NewNumeron();
      return platform::kOk;
    } catch (const std::bad_alloc&) {
      *object = nullptr;
      return platform::kOutOfMemoryStatus;
    }
  }

  platform::HResult LockServer(bool lock) override {
    server_locks += lock ? 1 : -1;
    return platform::kOk;
  }
};

NumeronFactory the_factory;

}  // namespace

platform::ClassFactory* AcquireClassFactory() {
  the_factory.AddRef();
  return &the_factory;
}

bool CanUnloadLibrary() {
  return LiveObjectCount() == 0 && server_locks == 0 && factory_references == 0;
}

}  // namespace numeron
