// The registration file and object creation. Lines that do not parse as three tab-separated
// fields are ignored on lookup but written back untouched, so a damaged or hand-edited file
// never crashes a host and never loses lines. Every rewrite goes to a temporary file in the same
// folder and is renamed over the old one, so readers see the old or the new file, never half.
#include "platform/registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

namespace numeron::platform {

namespace fs = std::filesystem;

namespace {

bool SameProgId(std::string_view a, std::string_view b) {
  // Hosts spell program identifiers in any case; compare ASCII letters without it.
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<Registration> ParseLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t first_tab = line.find('\t');
  if (first_tab == std::string_view::npos) return std::nullopt;
  const std::size_t second_tab = line.find('\t', first_tab + 1);
  if (second_tab == std::string_view::npos) return std::nullopt;
  Registration entry{std::string(line.substr(0, first_tab)),
                     std::string(line.substr(first_tab + 1, second_tab - first_tab - 1)),
                     std::string(line.substr(second_tab + 1))};
  if (entry.prog_id.empty() || entry.class_id.empty() || entry.library_path.empty() ||
      entry.library_path.find('\t') != std::string::npos) {
    return std::nullopt;
  }
  return entry;
}

bool IsEntryOf(std::string_view line, std::string_view prog_id) {
  const std::optional<Registration> entry = ParseLine(line);
  return entry && SameProgId(entry->prog_id, prog_id);
}

// The file's lines; a missing file has none. nullopt (and why) when it exists but can't be read.
std::optional<std::vector<std::string>> ReadLines(const fs::path& path, std::string* why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return std::vector<std::string>{};
    *why = "Cannot read " + path.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
  if (in.bad()) {
    *why = "Cannot read " + path.string();
    return std::nullopt;
  }
  return lines;
}

bool WriteAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Replaces the file with lines: written to a temporary file beside it, then renamed over it.
bool WriteLines(const fs::path& path, const std::vector<std::string>& lines, std::string* why) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (ec) {
    *why = "Cannot create " + path.parent_path().string() + ": " + ec.message();
    return false;
  }
  std::string text;
  for (const std::string& line : lines) text += line + '\n';

  std::string temp = path.string() + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    *why = "Cannot write beside " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  const fs::perms mode =
      fs::exists(path, ec) ? fs::status(path, ec).permissions() : fs::perms(0644);
  const bool written =
      ::fchmod(fd, static_cast<mode_t>(mode)) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  const int write_errno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
    *why = "Cannot write " + path.string() + ": " + std::strerror(written ? errno : write_errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool CheckField(std::string_view field, std::string_view what, std::string* why) {
  if (field.empty() || field.find_first_of("\t\r\n") != std::string_view::npos) {
    *why = std::string(what) + " must be non-empty and free of tabs and line breaks";
    return false;
  }
  return true;
}

// Libraries CreateObject loaded, kept until FreeUnusedLibraries finds them unused. The mutex
// also covers object creation so a library is never unloaded between loading and creating.
struct LoadedLibrary {
  std::string path;
  void* handle;
};
std::mutex loaded_mutex;
std::vector<LoadedLibrary> loaded_libraries;

std::string RegisterHint() { return "register the component with: numeron-register LIBRARY"; }

}  // namespace

std::string RegistryPath() {
  if (const char* path = std::getenv("NUMERON_REGISTRY"); path && *path) return path;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
    return (fs::path(data) / "numeron" / "registry").string();
  }
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = ::getpwuid(::getuid());
    home = user ? user->pw_dir : "";
  }
  return (fs::path(home) / ".local/share/numeron/registry").string();
}

bool RegisterClass(const Registration& entry, std::string* why) {
  if (!CheckField(entry.prog_id, "The program identifier", why) ||
      !CheckField(entry.class_id, "The class identifier", why) ||
      !CheckField(entry.library_path, "The library path", why)) {
    return false;
  }
  const fs::path path = RegistryPath();
  std::optional<std::vector<std::string>> lines = ReadLines(path, why);
  if (!lines) return false;
  std::erase_if(*lines, [&](const std::string& line) { return IsEntryOf(line, entry.prog_id); });
  lines->push_back(entry.prog_id + '\t' + entry.class_id + '\t' + entry.library_path);
  return WriteLines(path, *lines, why);
}

bool UnregisterClass(std::string_view prog_id, std::string* why) {
  const fs::path path = RegistryPath();
  std::optional<std::vector<std::string>> lines = ReadLines(path, why);
  if (!lines) return false;
  const auto removed =
      std::erase_if(*lines, [&](const std::string& line) { return IsEntryOf(line, prog_id); });
  if (removed == 0) return true;  // leave the file (or its absence) as it is
  return WriteLines(path, *lines, why);
}

std::optional<Registration> LookUpClass(std::string_view prog_id, std::string* why) {
  const fs::path path = RegistryPath();
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    *why = "No registration file at " + path.string() + "; " + RegisterHint();
    return std::nullopt;
  }
  const std::optional<std::vector<std::string>> lines = ReadLines(path, why);
  if (!lines) return std::nullopt;
  for (const std::string& line : *lines) {
    std::optional<Registration> entry = ParseLine(line);
    if (entry && SameProgId(entry->prog_id, prog_id)) return entry;
  }
  *why = std::string(prog_id) + " is not registered in " + path.string() + "; " + RegisterHint();
  return std::nullopt;
}

HResult CreateObject(std::string_view prog_id, Ref<Dispatch>* object, std::string* why) {
  *object = Ref<Dispatch>();
  const std::optional<Registration> entry = LookUpClass(prog_id, why);
  if (!entry) return kClassNotRegistered;
  const std::string& library = entry->library_path;

  std::lock_guard lock(loaded_mutex);
  auto loaded = std::ranges::find(loaded_libraries, library, &LoadedLibrary::path);
  void* handle = loaded != loaded_libraries.end() ? loaded->handle : nullptr;
  const bool newly_loaded = handle == nullptr;
  if (newly_loaded) {
    handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* error = ::dlerror();
      *why = "Cannot load " + library + ", registered for " + std::string(prog_id) + " in " +
             RegistryPath() + ": " + (error ? error : "unknown error") + "; " + RegisterHint();
      return kClassNotAvailable;
    }
  }
  auto get_class_object =
      reinterpret_cast<DllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
  if (!get_class_object) {
    *why = library + " has no DllGetClassObject entry point; it is not a component library";
    if (newly_loaded) ::dlclose(handle);
    return kClassNotAvailable;
  }
  if (newly_loaded) loaded_libraries.push_back({library, handle});

  Ref<ClassFactory> factory;
  HResult status = get_class_object(entry->class_id.c_str(), factory.put());
  if (status == kOk && !factory) status = kFailed;
  if (status != kOk) {
    *why = library + " has no class factory for " + entry->class_id + ": " +
           std::string(DescribeStatus(status));
    return status;
  }
  status = factory->CreateInstance(object->put());
  if (status == kOk && !*object) status = kFailed;
  if (status != kOk) {
    *object = Ref<Dispatch>();
    *why = "The class factory of " + std::string(prog_id) +
           " failed to create an object: " + std::string(DescribeStatus(status));
  }
  return status;
}

void FreeUnusedLibraries() {
  std::lock_guard lock(loaded_mutex);
  std::erase_if(loaded_libraries, [](const LoadedLibrary& library) {
    auto can_unload =
        reinterpret_cast<DllCanUnloadNowFn>(::dlsym(library.handle, "DllCanUnloadNow"));
    if (!can_unload || can_unload() != kOk) return false;
    ::dlclose(library.handle);
    return true;
  });
}

}  // namespace numeron::platform
