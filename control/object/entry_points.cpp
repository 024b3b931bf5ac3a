// The four in-process server entry points, the only symbols the library exports. Nothing
// thrown inside may cross them.
#include <dlfcn.h>

#include <cstring>
#include <string>

#include "control/object/class_factory.h"
#include "control/object/numeron.h"
#include "platform/registry.h"

#define NUMERON_EXPORT extern "C" __attribute__((visibility("default")))

using numeron::platform::HResult;

namespace {

// The path this library was loaded from, so the registration points at this very file.
std::string OwnLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnLibraryPath), &info) == 0 || !info.dli_fname) return {};
  return info.dli_fname;
}

}  // namespace

NUMERON_EXPORT HResult DllGetClassObject(const char* class_id,
                                         numeron::platform::ClassFactory** factory) {
  if (!factory) return numeron::platform::kFailed;
  *factory = nullptr;
  if (!class_id || std::strcmp(class_id, numeron::kClassId) != 0) {
    return numeron::platform::kClassNotAvailable;
  }
  *factory = numeron::AcquireClassFactory();
  return numeron::platform::kOk;
}

NUMERON_EXPORT HResult DllCanUnloadNow() {
  return numeron::CanUnloadLibrary() ? numeron::platform::kOk : numeron::platform::kFalse;
}

NUMERON_EXPORT HResult DllRegisterServer() {
  try {
    const std::string path = OwnLibraryPath();
    if (path.empty()) return numeron::platform::kFailed;
    std::string why;
    return numeron::platform::RegisterClass({numeron::kProgId, numeron::kClassId, path}, &why)
               ? numeron::platform::kOk
               : numeron::platform::kFailed;
  } catch (...) {
    return numeron::platform::kFailed;
  }
}

NUMERON_EXPORT HResult DllUnregisterServer() {
  try {
    std::string why;
    return numeron::platform::UnregisterClass(numeron::kProgId, &why) ? numeron::platform::kOk
                                                                      : numeron::platform::kFailed;
  } catch (...) {
    return numeron::platform::kFailed;
  }
}
