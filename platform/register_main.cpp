// numeron-register: registers or unregisters a component library by calling its own
// DllRegisterServer or DllUnregisterServer. The library is loaded by its absolute path, because
// a component registers the path it finds itself loaded from.
// Exit status: 0 done, 1 the library or its entry point failed, 2 wrong usage.
#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/dispatch.h"
#include "platform/registry.h"

namespace {

using numeron::platform::DescribeStatus;
using numeron::platform::HResult;

constexpr std::string_view kUsage =
    "Usage: numeron-register [--unregister|-u] LIBRARY\n"
    "Registers the component library LIBRARY (or with --unregister removes its registration)\n"
    "in the registration file: $NUMERON_REGISTRY, else $XDG_DATA_HOME/numeron/registry,\n"
    "else ~/.local/share/numeron/registry.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "numeron-register: %s\n", message.c_str());
  return 1;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "numeron-register: %s\n%.*s", message.c_str(),
               static_cast<int>(kUsage.size()), kUsage.data());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false;
  std::string library;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
      return 0;
    }
    if (arg == "--unregister" || arg == "-u") {
      unregister = true;
    } else if (arg.starts_with('-') && arg.size() > 1) {
      return UsageError("unknown option " + std::string(arg));
    } else if (!library.empty()) {
      return UsageError("only one LIBRARY may be given");
    } else {
      library = arg;
    }
  }
  if (library.empty()) return UsageError("no LIBRARY given");

  std::error_code ec;
  if (!std::filesystem::is_regular_file(library, ec)) return Fail("no such library: " + library);
  const std::string path = std::filesystem::absolute(library, ec).lexically_normal().string();

  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return Fail(std::string("cannot load the library: ") + ::dlerror());

  const char* entry_name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  // Both entry points have the same signature.
  auto entry =
      reinterpret_cast<numeron::platform::DllRegisterServerFn>(::dlsym(handle, entry_name));
  if (!entry) return Fail(path + " has no " + entry_name + " entry point");

  const HResult status = entry();
  if (status < 0) {
    // The entry point reports only a status; the registration file usually tells why.
    std::string why;
    if (numeron::platform::CheckRegistry(&why)) why = DescribeStatus(status);
    return Fail(std::string(entry_name) + " of " + path + " failed: " + why);
  }
  std::printf("%s %s in %s\n", unregister ? "Unregistered" : "Registered", path.c_str(),
              numeron::platform::RegistryPath().c_str());
  return 0;
}
