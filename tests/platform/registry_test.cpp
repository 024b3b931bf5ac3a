// The registration file and object creation, each test against its own temporary file, plus the
// registration tool run as a separate process and a small real component library.
#include "platform/registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gnu/libc-version.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/run_process.h"

namespace numeron::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr const char* kFakeLibrary = NUMERON_FAKE_COMPONENT;
constexpr const char* kFakeProgId = "NumeronFake.Echo";
constexpr const char* kFakeClassId = "{6E756D65-726F-4E00-8000-000000000001}";

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "numeron-registry-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = dir_ / "not-yet" / "registry";  // the folder is created on first write
    env_.emplace("NUMERON_REGISTRY", path_.c_str());
  }
  void TearDown() override {
    env_.reset();
    fs::remove_all(dir_);
  }

  void WriteFile(const std::string& text) {
    fs::create_directories(path_.parent_path());
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string ReadFile() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir_;
  fs::path path_;
  std::optional<ScopedEnv> env_;
};

// The C library's file. Found through a function no sanitizer runtime intercepts: an
// intercepted one (dlopen) would lead to the test program itself.
std::string LibcPath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&::gnu_get_libc_version), &info) == 0) return {};
  return info.dli_fname ? info.dli_fname : "";
}

bool IsLoaded(const char* library) {
  void* handle = ::dlopen(library, RTLD_NOW | RTLD_NOLOAD);
  if (handle) ::dlclose(handle);
  return handle != nullptr;
}

// Some loaders (those of the sanitizer runtimes) keep a library after its last dlclose; whether a
// library was unloaded can only be checked where the loader really unloads.
bool LoaderUnloads(const char* library) {
  void* handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (!handle) return false;
  ::dlclose(handle);
  return !IsLoaded(library);
}

// Asks the fake library itself, through the copy the process already has loaded.
HResult FakeCanUnloadNow() {
  void* handle = ::dlopen(kFakeLibrary, RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return kFailed;
  auto can_unload = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
  const HResult answer = can_unload ? can_unload() : kFailed;
  ::dlclose(handle);
  return answer;
}

std::int32_t CountArguments(Dispatch& object, int count) {
  DispId id = 0;
  EXPECT_EQ(object.GetIDsOfNames("count", &id), kOk);
  std::vector<Argument> args;
  for (int i = 0; i < count; ++i) args.push_back(Argument::ByValue(Variant(i)));
  Variant result;
  ErrorInfo error;
  EXPECT_EQ(object.Invoke(id, args, &result, &error), kOk);
  return result.is(VariantKind::Int32) ? result.int32() : -1;
}

// The registration tool as a separate process.
test_process::ProcessResult RunRegisterTool(std::vector<std::string> args) {
  test_process::ProcessRun run;
  run.args = std::move(args);
  return test_process::RunProcess(NUMERON_REGISTER_TOOL, run);
}

TEST(RegistryPathTest, FollowsEnvironment) {
  struct Case {
    const char* numeron_registry;
    const char* xdg_data_home;
    std::string expected;
  };
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  const Case cases[] = {
      {"/tmp/r", "/xdg", "/tmp/r"},
      {nullptr, "/xdg", "/xdg/numeron/registry"},
      {"", "/xdg", "/xdg/numeron/registry"},
      {nullptr, "relative", home + "/.local/share/numeron/registry"},
      {nullptr, "", home + "/.local/share/numeron/registry"},
      {nullptr, nullptr, home + "/.local/share/numeron/registry"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.numeron_registry ? c.numeron_registry : "(unset)") + " / " +
                 (c.xdg_data_home ? c.xdg_data_home : "(unset)"));
    ScopedEnv registry("NUMERON_REGISTRY", c.numeron_registry);
    ScopedEnv xdg("XDG_DATA_HOME", c.xdg_data_home);
    EXPECT_EQ(RegistryPath(), c.expected);
  }
}

TEST_F(RegistryTest, RegisterReplaceAndUnregisterKeepOtherEntries) {
  std::string why;
  ASSERT_TRUE(RegisterClass({"A.One", "{1}", "/lib/a.so"}, &why)) << why;
  ASSERT_TRUE(RegisterClass({"B.Two", "{2}", "/lib/b.so"}, &why)) << why;
  ASSERT_TRUE(RegisterClass({"a.one", "{1}", "/lib/a2.so"}, &why)) << why;  // same id, any case
  ASSERT_TRUE(RegisterClass({"a.one", "{1}", "/lib/a2.so"}, &why)) << why;  // idempotent
  EXPECT_EQ(ReadFile(), "B.Two\t{2}\t/lib/b.so\na.one\t{1}\t/lib/a2.so\n");

  const std::optional<Registration> found = LookUpClass("A.ONE", &why);
  ASSERT_TRUE(found) << why;
  EXPECT_EQ(found->class_id, "{1}");
  EXPECT_EQ(found->library_path, "/lib/a2.so");

  ASSERT_TRUE(UnregisterClass("A.One", &why)) << why;
  ASSERT_TRUE(UnregisterClass("A.One", &why)) << why;  // absent is not an error
  EXPECT_FALSE(LookUpClass("A.One", &why));
  EXPECT_NE(why.find("not registered"), std::string::npos) << why;
  EXPECT_TRUE(LookUpClass("B.Two", &why)) << why;
  EXPECT_EQ(ReadFile(), "B.Two\t{2}\t/lib/b.so\n");
}

TEST_F(RegistryTest, RefusesFieldsThatWouldBreakTheFile) {
  const Registration cases[] = {
      {"", "{1}", "/lib/a.so"},
      {"A.One", "{1}\r", "/lib/a.so"},
      {"A.One", "{1}", "/lib/a\n.so"},
  };
  for (const Registration& c : cases) {
    SCOPED_TRACE(c.prog_id + "|" + c.class_id + "|" + c.library_path);
    std::string why;
    EXPECT_FALSE(RegisterClass(c, &why));
    EXPECT_FALSE(why.empty());
  }
  EXPECT_FALSE(fs::exists(path_));
}

// Processes registering at the same moment each keep their entries: every rewrite holds the lock.
TEST_F(RegistryTest, ConcurrentRegistrationsLoseNoEntry) {
  constexpr int kProcesses = 12, kEach = 5;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string why;
      for (int i = 0; i < kEach; ++i) {
        const std::string name = "P" + std::to_string(p) + "." + std::to_string(i);
        if (!RegisterClass({name, "{" + name + "}", "/lib/" + name + ".so"}, &why)) ::_exit(1);
      }
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kEach; ++i) {
      std::string why;
      EXPECT_TRUE(LookUpClass("P" + std::to_string(p) + "." + std::to_string(i), &why)) << why;
    }
  }
}

// A registration file that cannot be one (under a plain file, a folder, a FIFO, a device) is
// refused at once with its path and the reason, by hosts, by registrations and by the
// registration tool; nothing waits for it or reads it without end.
TEST_F(RegistryTest, OnlyARegularFileIsRead) {
  const fs::path fifo = dir_ / "fifo", plain_file = dir_ / "plain";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(plain_file) << "not a folder";
  for (const fs::path& location : {fifo, fs::path("/dev/zero"), plain_file / "registry", dir_}) {
    SCOPED_TRACE(location.string());
    ScopedEnv env("NUMERON_REGISTRY", location.c_str());
    std::string why;
    Ref<Dispatch> object;
    EXPECT_EQ(CreateObject(kFakeProgId, &object, &why), kClassNotRegistered);
    EXPECT_NE(why.find(location.string()), std::string::npos) << why;
    if (location.string().starts_with(dir_.string())) {  // a registration writes a lock beside it
      EXPECT_FALSE(RegisterClass({"A.One", "{1}", "/lib/a.so"}, &why));
      EXPECT_NE(why.find(location.string()), std::string::npos) << why;
    }
  }
  ScopedEnv env("NUMERON_REGISTRY", fifo.c_str());
  const test_process::ProcessResult tool = RunRegisterTool({kFakeLibrary});
  EXPECT_EQ(tool.exit_code, 1);
  EXPECT_NE(tool.err.find(fifo.string() + ": not a regular file"), std::string::npos) << tool.err;
}

TEST_F(RegistryTest, DamagedLinesAreIgnoredButKept) {
  const std::string damaged =
      "no tabs at all\n"
      "One.Tab\tonly\n"
      "\t{9}\t/lib/empty-prog-id.so\n"
      "Too.Many\t{3}\t/lib/x.so\textra\n"
      "\x01\xff\x7f garbage \0 bytes\n"
      "Good.Crlf\t{4}\t/lib/good.so\r\n"
      "\n"s;
  WriteFile(damaged);
  struct Case {
    const char* prog_id;
    const char* library;  // nullptr: not found
  };
  const Case cases[] = {
      {"One.Tab", nullptr},        {"Too.Many", nullptr},         {"", nullptr},
      {"no tabs at all", nullptr}, {"Good.Crlf", "/lib/good.so"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prog_id);
    std::string why;
    const std::optional<Registration> found = LookUpClass(c.prog_id, &why);
    ASSERT_EQ(found.has_value(), c.library != nullptr) << why;
    if (found) {
      EXPECT_EQ(found->library_path, c.library);
    }
  }

  std::string why;
  ASSERT_TRUE(RegisterClass({"New.One", "{5}", "/lib/new.so"}, &why)) << why;
  EXPECT_EQ(ReadFile(), damaged + "New.One\t{5}\t/lib/new.so\n");
}

TEST_F(RegistryTest, CreateObjectWithoutUsableRegistrationSaysWhy) {
  struct Case {
    const char* name;
    std::optional<std::string> file;  // nullopt: no file at all
    HResult status;
    std::vector<std::string> why_mentions;
  };
  const std::string file = path_.string();
  const std::string libc = LibcPath();  // a real shared library with none of the entry points
  ASSERT_FALSE(libc.empty());
  const std::string not_a_library = (dir_ / "libtext.so").string();
  std::ofstream(not_a_library) << "not a shared object\n";
  const Case cases[] = {
      {"missing file",
       std::nullopt,
       kClassNotRegistered,
       {"No registration file", file, "numeron-register"}},
      {"empty file", "", kClassNotRegistered, {"not registered", file, "numeron-register"}},
      {"missing library",
       "NumeronFake.Echo\t{1}\t/nonexistent/libgone.so\n",
       kClassNotAvailable,
       {"/nonexistent/libgone.so", file, "numeron-register"}},
      {"not a library",
       "NumeronFake.Echo\t{1}\t" + not_a_library + "\n",
       kClassNotAvailable,
       {not_a_library, file}},
      {"no class factory",
       "NumeronFake.Echo\t{1}\t" + libc + "\n",
       kClassNotAvailable,
       {"DllGetClassObject", libc}},
      {"unknown class id",
       "NumeronFake.Echo\t{other}\t"s + kFakeLibrary + "\n",
       kClassNotAvailable,
       {"{other}", kFakeLibrary}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(path_);
    if (c.file) WriteFile(*c.file);
    Ref<Dispatch> object;
    std::string why;
    EXPECT_EQ(CreateObject(kFakeProgId, &object, &why), c.status);
    EXPECT_FALSE(object);
    for (const std::string& part : c.why_mentions) {
      EXPECT_NE(why.find(part), std::string::npos) << why;
    }
  }
  FreeUnusedLibraries();
}

TEST_F(RegistryTest, ObjectsKeepTheirLibraryLoadedUntilReleased) {
  const bool loader_unloads = LoaderUnloads(kFakeLibrary);
  std::string why;
  ASSERT_TRUE(RegisterClass({kFakeProgId, kFakeClassId, kFakeLibrary}, &why)) << why;
  Ref<Dispatch> first;
  Ref<Dispatch> second;
  ASSERT_EQ(CreateObject("numeronfake.echo", &first, &why), kOk) << why;
  ASSERT_EQ(CreateObject(kFakeProgId, &second, &why), kOk) << why;
  ASSERT_NE(first.get(), second.get());
  EXPECT_EQ(CountArguments(*first.get(), 3), 3);
  EXPECT_EQ(CountArguments(*second.get(), 0), 0);

  // The factory was released; only the objects hold the library.
  EXPECT_EQ(first->AddRef(), 2u);
  EXPECT_EQ(first->Release(), 1u);
  EXPECT_EQ(FakeCanUnloadNow(), kFalse);

  first = Ref<Dispatch>();
  FreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(kFakeLibrary));
  EXPECT_EQ(FakeCanUnloadNow(), kFalse);

  second = Ref<Dispatch>();
  EXPECT_EQ(FakeCanUnloadNow(), kOk);
  FreeUnusedLibraries();
  EXPECT_EQ(IsLoaded(kFakeLibrary), !loader_unloads);

  // Creating again loads the library afresh.
  ASSERT_EQ(CreateObject(kFakeProgId, &first, &why), kOk) << why;
  EXPECT_EQ(CountArguments(*first.get(), 2), 2);
  first = Ref<Dispatch>();
  FreeUnusedLibraries();
  EXPECT_EQ(IsLoaded(kFakeLibrary), !loader_unloads);
}

TEST_F(RegistryTest, RegisterToolCallsTheLibraryEntryPoints) {
  const std::string libc = LibcPath();
  ASSERT_FALSE(libc.empty());
  const std::string fake = kFakeLibrary;
  const std::string relative_fake = fs::relative(fake).string();
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    bool registered_after;  // in sequence: each case sees the previous one's registration
  };
  const Case cases[] = {
      {{}, 2, false},
      {{"--help"}, 0, false},
      {{"--bogus", fake}, 2, false},
      {{fake, fake}, 2, false},
      {{"/nonexistent/libgone.so"}, 1, false},
      {{libc}, 1, false},  // no DllRegisterServer
      {{relative_fake}, 0, true},
      {{fake}, 0, true},
      {{"-u", fake}, 0, false},
      {{"--unregister", fake}, 0, false},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    SCOPED_TRACE(joined);
    EXPECT_EQ(RunRegisterTool(c.args).exit_code, c.exit_code);
    std::string why;
    const std::optional<Registration> found = LookUpClass(kFakeProgId, &why);
    ASSERT_EQ(found.has_value(), c.registered_after) << why;
    if (found) {  // registered by its absolute path even when named relatively
      EXPECT_TRUE(fs::path(found->library_path).is_absolute()) << found->library_path;
      EXPECT_TRUE(fs::equivalent(found->library_path, fake)) << found->library_path;
    }
  }
}

}  // namespace
}  // namespace numeron::platform
