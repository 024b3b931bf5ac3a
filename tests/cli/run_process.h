// Runs a program as a separate process with a given stdin and collects its stdout, stderr and
// exit code. The input and the outputs go through temporary files, so a large input cannot
// dead-lock against a large output.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace numeron::test_process {

struct ProcessResult {
  int exit_code = -1;  // -1: did not exit normally
  std::string out;
  std::string err;
};

namespace detail {

inline std::string TempFile(const char* role) {
  std::string path = ::testing::TempDir() + "numeron-" + role + "-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd >= 0) close(fd);
  return path;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace detail

// env: NAME=value settings added to (or replacing in) the inherited environment.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input = {},
                                const std::vector<std::string>& env = {}) {
  const std::string in_path = detail::TempFile("in");
  const std::string out_path = detail::TempFile("out");
  const std::string err_path = detail::TempFile("err");
  std::ofstream(in_path, std::ios::binary) << input;

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  ProcessResult result;
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(in_path.c_str(), O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_TRUNC);
    const int err = open(err_path.c_str(), O_WRONLY | O_TRUNC);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const std::string& setting : env) putenv(const_cast<char*>(setting.c_str()));
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  if (pid > 0) {
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
      result.exit_code = WEXITSTATUS(status);
    result.out = detail::ReadAll(out_path);
    result.err = detail::ReadAll(err_path);
  }
  std::remove(in_path.c_str());
  std::remove(out_path.c_str());
  std::remove(err_path.c_str());
  return result;
}

}  // namespace numeron::test_process
