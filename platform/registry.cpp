// The registration file and object creation. Lines that do not parse as three tab-separated
// fields are ignored on lookup but written back untouched, so a damaged or hand-edited file
// never crashes a host and never loses lines. Every rewrite goes to a temporary file in the same
// folder and is renamed over the old one, so readers see the old or the new file, never half,
// and every read-modify-write holds an exclusive lock, so concurrent registrations keep every
// entry (see RegistryLock).
#include "platform/registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

// Closes a file descriptor when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// A registration file holds a line per class; anything this large is something else.
constexpr off_t kMaxRegistryBytes = off_t{1} << 20;

// The file's lines; a missing file has none. nullopt (and why) when it exists but can't be read
// or is no regular file of at most kMaxRegistryBytes (a FIFO, a device, a folder): opened
// without blocking and checked before a byte is read, so none of those can hang a host.
std::optional<std::vector<std::string>> ReadLines(const fs::path& path, std::string* why) {
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0) {
    if (errno == ENOENT) return std::vector<std::string>{};
    *why = "Cannot read " + path.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    *why = "Cannot read " + path.string() + ": not a regular file";
    return std::nullopt;
  }
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *why = "Cannot read " + path.string() + ": " + std::strerror(errno);
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > static_cast<std::size_t>(kMaxRegistryBytes)) {
      *why = "Cannot read " + path.string() + ": larger than a registration file can be (1 MiB)";
      return std::nullopt;
    }
  }
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text, start, end - start);
    start = end + 1;
  }
  return lines;
}

// A lock on the file beside the registration file (its path and ".lock"), held while the object
// lives: exclusive around every read-modify-write, so two registrations never lose each other's
// entry; shared for reading. The registration file itself cannot carry the lock, since every
// rewrite replaces it. A reader that cannot open the lock file (a read-only folder) reads
// without it: a rewrite is a rename, so it sees the old file or the new one.
class RegistryLock {
 public:
  RegistryLock(const fs::path& registry, bool exclusive)
      : path_(registry.string() + ".lock"),
        fd_(::open(path_.c_str(), (exclusive ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC, 0644)),
        exclusive_(exclusive) {}

  // Waits up to about ten seconds for the lock; false and why when it cannot be had.
  bool Acquire(std::string* why) {
    if (fd_.get() < 0) {
      if (!exclusive_) return true;
      *why = "Cannot lock " + path_ + ": " + std::strerror(errno);
      return false;
    }
    for (int attempt = 0; attempt < 1000; ++attempt) {
      if (::flock(fd_.get(), (exclusive_ ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return true;
      if (errno != EWOULDBLOCK && errno != EINTR) break;
      ::usleep(10'000);
    }
    *why = "Cannot lock " + path_ + ": " +
           (errno == EWOULDBLOCK ? "another process holds it" : std::strerror(errno));
    return false;
  }

 private:
  std::string path_;
  FileDescriptor fd_;
  bool exclusive_;
};

// Makes the folder, takes the exclusive lock and reads the lines: the first half of every
// read-modify-write.
std::optional<std::vector<std::string>> LockAndRead(const fs::path& path,
                                                    std::optional<RegistryLock>& lock,
                                                    std::string* why) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (ec) {
    *why = "Cannot make the folder of " + path.string() + ": " + ec.message();
    return std::nullopt;
  }
  lock.emplace(path, true);
  if (!lock->Acquire(why)) return std::nullopt;
  return ReadLines(path, why);
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
// The caller holds the exclusive lock.
bool WriteLines(const fs::path& path, const std::vector<std::string>& lines, std::string* why) {
  std::error_code ec;
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
  std::optional<RegistryLock> lock;
  std::optional<std::vector<std::string>> lines = LockAndRead(path, lock, why);
  if (!lines) return false;
  std::erase_if(*lines, [&](const std::string& line) { return IsEntryOf(line, entry.prog_id); });
  lines->push_back(entry.prog_id + '\t' + entry.class_id + '\t' + entry.library_path);
  return WriteLines(path, *lines, why);
}

bool UnregisterClass(std::string_view prog_id, std::string* why) {
  const fs::path path = RegistryPath();
  std::optional<RegistryLock> lock;
  std::optional<std::vector<std::string>> lines = LockAndRead(path, lock, why);
  if (!lines) return false;
  const auto removed =
      std::erase_if(*lines, [&](const std::string& line) { return IsEntryOf(line, prog_id); });
  if (removed == 0) return true;  // leave the file (or its absence) as it is
  return WriteLines(path, *lines, why);
}

bool CheckRegistry(std::string* why) {
  const fs::path path = RegistryPath();
  std::optional<RegistryLock> lock;
  if (!LockAndRead(path, lock, why)) return false;
  if (::access(path.parent_path().c_str(), W_OK | X_OK) != 0) {
    *why = "Cannot write in " + path.parent_path().string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

std::optional<Registration> LookUpClass(std::string_view prog_id, std::string* why) {
  const fs::path path = RegistryPath();
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    *why = "No registration file at " + path.string() + "; " + RegisterHint();
    return std::nullopt;
  }
  RegistryLock lock(path, false);
  if (!lock.Acquire(why)) return std::nullopt;
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
