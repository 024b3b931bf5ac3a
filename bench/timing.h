// What the two benchmark programs share: the timing cells, child processes timed by their own
// CPU time, Markdown tables, text comparison and the call into the reference model. Header-only,
// so each program stays one translation unit.
#pragma once

#include <fcntl.h>
#include <gmp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "control/object/numeron.h"
#include "platform/dispatch.h"
#include "platform/variant.h"
#ifdef NUMERON_BENCH_MODEL
#include "tests/reference/model.h"
#endif

extern char** environ;

namespace numeron::bench {

using numeron::platform::Variant;
using Clock = std::chrono::steady_clock;

// CPU time of `clock` (this thread or this process) in seconds.
inline double CpuSeconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Timing {
  bool measured = false;
  double median = 0;  // seconds
  int runs = 0;
  std::string note;  // why there is no number ("n/a", "> 120 s", ...)
};

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline std::string FormatSeconds(double s) {
  char buf[64];
  if (s < 1e-3) {
    std::snprintf(buf, sizeof buf, "%.1f µs", s * 1e6);
  } else if (s < 1) {
    std::snprintf(buf, sizeof buf, "%.3g ms", s * 1e3);
  } else {
    std::snprintf(buf, sizeof buf, "%.3g s", s);
  }
  return buf;
}

inline std::string Cell(const Timing& t) {
  if (!t.measured) return t.note.empty() ? "–" : t.note;
  if (t.median <= 0) return "≈0 (within start noise)";
  std::string cell = FormatSeconds(t.median);
  if (t.runs < 5) cell += " (" + std::to_string(t.runs) + (t.runs == 1 ? " run)" : " runs)");
  return cell;
}

inline std::string Ratio(const Timing& a, const Timing& b) {
  if (!a.measured || !b.measured || b.median <= 0) return "–";
  char buf[64];
  const double r = a.median / b.median;
  std::snprintf(buf, sizeof buf, r >= 100 ? "%.0fx" : (r >= 10 ? "%.1fx" : "%.2fx"), r);
  return buf;
}

// "identical", or where and how two texts first differ.
inline std::string Difference(const std::string& got, const std::string& want) {
  if (got == want) return "identical";
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  auto around = [&](const std::string& s) {
    const std::size_t from = i >= 8 ? i - 8 : 0;
    return "\"" + s.substr(from, 24) + (from + 24 < s.size() ? "…" : "") + "\"";
  };
  return "differs at character " + std::to_string(i + 1) + " of " + std::to_string(got.size()) +
         " (want " + std::to_string(want.size()) + "): " + around(got) + " vs " + around(want);
}

struct ProcessRun {
  bool ok = false;
  std::string note;
  double wall = 0;  // seconds from the start to the end of the process
  double cpu = 0;   // user and system time the process used
};

// Runs argv with stdin from `in` and stdout to `out` (stderr discarded), waiting at most
// `timeout` seconds; a process still running then is killed.
inline ProcessRun RunProcess(const std::vector<std::string>& argv, const std::string& in,
                             const std::string& out, double timeout) {
  ProcessRun run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const auto start = Clock::now();
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.note = "cannot start " + argv[0];
    return run;
  }
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  bool timed_out = false;
  if (pidfd >= 0) {
    pollfd p = {pidfd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(timeout * 1000));
    close(pidfd);
    if (ready == 0) {
      timed_out = true;
      kill(pid, SIGKILL);
    }
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.wall = Seconds(Clock::now() - start);
  run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  if (timed_out) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "> %.0f s", timeout);
    run.note = buf;
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    run.note = argv[0] + " failed (status " + std::to_string(status) + ")";
  } else {
    run.ok = true;
  }
  return run;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// The first line of a peer's output, with what bc writes differently taken off: bc leaves out
// the 0 before the point and keeps the zeros the scale asks for.
inline std::string PeerText(const std::string& file) {
  std::string s = ReadFile(file);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  if (s.find('\n') != std::string::npos) s = s.substr(0, s.find('\n'));
  bool negative = false;
  if (!s.empty() && s[0] == '-') {
    negative = true;
    s.erase(0, 1);
  }
  if (!s.empty() && s[0] == '.') s.insert(0, 1, '0');
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s.empty()) s = "0";
  return negative && s != "0" ? "-" + s : s;
}

struct Row {
  std::vector<std::string> cells;
};

inline void PrintTable(const std::vector<std::string>& header, const std::vector<Row>& rows) {
  std::cout << "|";
  for (const auto& h : header) std::cout << ' ' << h << " |";
  std::cout << "\n|";
  for (std::size_t i = 0; i < header.size(); ++i) std::cout << (i == 0 ? " --- |" : " ---: |");
  std::cout << '\n';
  for (const Row& r : rows) {
    std::cout << "|";
    for (const auto& c : r.cells) std::cout << ' ' << c << " |";
    std::cout << '\n';
  }
  std::cout << std::endl;
}

// Reads the command line flag by flag: `take(flag, value)` returns false for a flag it does not
// know, and calls `value()` for a flag that takes one. False (after a message) on a bad line.
template <typename Take>
bool ReadOptions(int argc, char** argv, const char* program, Take take) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(std::string(flag) + " needs a value");
      return argv[++i];
    };
    try {
      if (!take(flag, value)) return false;
    } catch (const std::exception& e) {
      std::cerr << program << ": " << e.what() << '\n';
      return false;
    }
  }
  return true;
}

// A fresh scratch folder under /tmp named after `prefix`; empty (after a message) when none.
inline std::string MakeWorkDir(const std::string& prefix, const char* program) {
  std::string path = "/tmp/" + prefix + ".XXXXXX";
  if (!mkdtemp(path.data())) {
    std::perror((std::string(program) + ": mkdtemp").c_str());
    return {};
  }
  return path;
}

inline void Progress(const std::string& what) { std::cerr << "  measuring " << what << std::endl; }

inline std::string Thousands(std::int64_t n) {
  const std::string digits = std::to_string(n);
  std::string s;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) s.push_back(',');
    s.push_back(digits[i]);
  }
  return s;
}

// Runs the model once on `function`; false with a note when it cannot.
inline bool CallModel(std::string_view function, std::vector<Variant> args, Variant* result,
                      std::string* note) {
#ifdef NUMERON_BENCH_MODEL
  try {
    const numeron::reference::Outcome outcome = numeron::reference::Call(function, args);
    if (!outcome.ok) {
      *note = "error " + std::to_string(outcome.error.number) + ": " + outcome.error.description;
      return false;
    }
    *result = outcome.result;
    return true;
  } catch (const std::invalid_argument&) {
    *note = "n/a (no " + std::string(function) + " in the model)";
    return false;
  }
#else
  (void)function;
  (void)args;
  (void)result;
  *note = "n/a (tests not built)";
  return false;
#endif
}

// The text of magnitude * 10^-fraction: the point inserted, zeros after the point trimmed
// (and the point with them), "0" before a point that would start the text.
inline std::string WriteDecimal(const mpz_t magnitude, bool negative, std::int64_t fraction) {
  if (mpz_sgn(magnitude) == 0) return "0";
  std::string digits(mpz_sizeinbase(magnitude, 10) + 2, '\0');
  mpz_get_str(digits.data(), 10, magnitude);
  digits.resize(std::strlen(digits.c_str()));
  if (fraction > 0) {
    const auto f = static_cast<std::size_t>(fraction);
    if (digits.size() <= f) digits.insert(0, f - digits.size() + 1, '0');
    std::size_t end = digits.size();
    const std::size_t point = end - f;
    while (end > point && digits[end - 1] == '0') --end;
    digits.resize(end);
    if (end > point) digits.insert(point, 1, '.');
  }
  if (negative) digits.insert(0, 1, '-');
  return digits;
}

// The Numeron object in this process, called by member name through the dispatch interface.
class Engine {
 public:
  Engine() : object_(numeron::NewNumeron()) { to_string_ = Id("ConvertToString"); }

  numeron::platform::DispId Id(const std::string& name) {
    numeron::platform::DispId id = 0;
    if (object_->GetIDsOfNames(name, &id) != numeron::platform::kOk) {
      throw std::runtime_error("the engine does not know " + name);
    }
    return id;
  }

  // On failure returns false and says why in *note.
  bool Invoke(numeron::platform::DispId id, std::vector<numeron::platform::Argument>& args,
              Variant* result, std::string* note) {
    numeron::platform::ErrorInfo error;
    const numeron::platform::HResult status = object_->Invoke(id, args, result, &error);
    if (status == numeron::platform::kOk) return true;
    *note = status == numeron::platform::kException
                ? "error " + std::to_string(error.number) + ": " + error.description
                : "status " + std::string(numeron::platform::DescribeStatus(status));
    return false;
  }

  // The text form of a digit array, through the component's own ConvertToString.
  std::string TextOf(const Variant& value) {
    std::vector<numeron::platform::Argument> args = {numeron::platform::Argument::ByValue(value)};
    Variant result;
    std::string note;
    if (!Invoke(to_string_, args, &result, &note)) return "?";
    return result.is(numeron::platform::VariantKind::Text) ? result.text() : "?";
  }

 private:
  numeron::platform::Ref<numeron::platform::Dispatch> object_;
  numeron::platform::DispId to_string_ = 0;
};

}  // namespace numeron::bench
