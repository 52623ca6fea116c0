// A program started by a test: its standard input and output are pipes, its
// environment is the test's own. The destructor kills and reaps it if it is
// still running, so no test leaves a process behind.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vyn::test {

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      Wait();
    }
    CloseInput();
    if (stdout_ >= 0) close(stdout_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // One line of the child's output, without its newline; nothing when the
  // child closed its output or stayed silent for the whole `patience`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds patience = std::chrono::seconds(20)) {
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd p{stdout_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char c;
      ssize_t got = read(stdout_, &c, 1);
      if (got <= 0) return std::nullopt;
      if (c == '\n') return line;
      line += c;
    }
  }

  void CloseInput() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
  }

  void Kill(int signal) { kill(pid_, signal); }

  // The exit status as waitpid gives it, waiting at most `patience`; nothing
  // when the child is still running then.
  std::optional<int> Wait(std::chrono::milliseconds patience = std::chrono::seconds(20)) {
    if (status_) return status_;
    auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
      int status = 0;
      pid_t done = waitpid(pid_, &status, WNOHANG);
      if (done == pid_) return status_ = status;
      if (done < 0 && errno != EINTR) return std::nullopt;
      if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  // The exit code, or -1 when the child was killed or did not end in time.
  int ExitCode(std::chrono::milliseconds patience = std::chrono::seconds(20)) {
    std::optional<int> status = Wait(patience);
    if (!status || !WIFEXITED(*status)) return -1;
    return WEXITSTATUS(*status);
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::optional<int> status_;
};

}  // namespace vyn::test
