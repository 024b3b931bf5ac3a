// Runs a program as a separate process with a given stdin and collects its stdout, stderr and
// exit code (128 + the signal when a signal ended it). The input and the outputs go through
// temporary files, so a large input cannot dead-lock against a large output.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace numeron::test_process {

struct ProcessRun {
  std::vector<std::string> args;
  std::string input;
  std::vector<std::string> env;  // NAME=value settings added to the inherited environment
  std::string out_path;          // stdout goes there instead (e.g. /dev/full)
  int signal = 0;                // sent signal_after_ms after the start
  int signal_after_ms = 0;
  long address_space_mb = 0;  // a limit on the program's address space; 0: none
};

struct ProcessResult {
  int exit_code = -1;
  std::string out;
  std::string err;
  std::string out_before_signal;  // what stdout held when the signal was sent
  double ms_after_signal = 0;     // from the signal to the end
};

inline ProcessResult RunProcess(const std::string& program, const ProcessRun& run) {
  const auto temp = [](const char* role) {
    std::string path = ::testing::TempDir() + "numeron-" + role + "-XXXXXX";
    close(mkstemp(path.data()));
    return path;
  };
  const std::string in_path = temp("in"), err_path = temp("err");
  const std::string out_path = run.out_path.empty() ? temp("out") : run.out_path;
  std::ofstream(in_path, std::ios::binary) << run.input;
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : run.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(in_path.c_str(), O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_TRUNC);
    const int err = open(err_path.c_str(), O_WRONLY | O_TRUNC);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0), dup2(out, 1), dup2(err, 2);
    const rlim_t limit = static_cast<rlim_t>(run.address_space_mb) << 20;
    const rlimit address_space{limit, limit};
    if (limit && setrlimit(RLIMIT_AS, &address_space) != 0) _exit(125);
    for (const std::string& setting : run.env) putenv(const_cast<char*>(setting.c_str()));
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  const auto read_all = [](const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  };
  ProcessResult result;
  std::chrono::steady_clock::time_point signalled;
  if (run.signal) {
    std::this_thread::sleep_for(std::chrono::milliseconds(run.signal_after_ms));
    if (run.out_path.empty()) result.out_before_signal = read_all(out_path);
    signalled = std::chrono::steady_clock::now();
    kill(pid, run.signal);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) == pid) {
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  result.ms_after_signal =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - signalled)
          .count();
  if (run.out_path.empty()) result.out = read_all(out_path), std::remove(out_path.c_str());
  result.err = read_all(err_path);
  std::remove(in_path.c_str());
  std::remove(err_path.c_str());
  return result;
}

}  // namespace numeron::test_process
