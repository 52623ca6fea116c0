// A vyn process (or any other program) started by a test: its own
// environment and working folder, standard output and error in files, and a
// wait that gives up at a deadline instead of hanging the suite.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vyn::e2e {

using Environment = std::map<std::string, std::string>;

class ChildProcess {
 public:
  // Starts `arguments[0]` (a path) with exactly `environment`, in `folder`.
  // Output goes to files in `outputFolder`, named after `label`.
  ChildProcess(const std::vector<std::string>& arguments, const Environment& environment,
               const std::string& folder, const std::string& outputFolder, const std::string& label);
  ~ChildProcess();  // kills the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // The exit code once it has ended by itself; nothing if it is still running
  // at the deadline or ended by a signal (see signalled()).
  std::optional<int> waitForExit(std::chrono::milliseconds limit);
  bool running();
  bool signalled() const { return signal_ != 0; }
  void sendSignal(int signal);

  std::string standardError() const;
  std::string standardOutput() const;

 private:
  void reap(int status);

  pid_t pid_ = -1;
  std::optional<int> exitCode_;
  int signal_ = 0;
  std::string errorPath_;
  std::string outputPath_;
};

// Waits for `condition` to hold, checking every few milliseconds, until the
// limit. Returns whether it held.
template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    struct timespec pause{0, 20'000'000};
    nanosleep(&pause, nullptr);
  }
}

// Runs a command to its end (for xdotool); its exit code, or -1.
int RunCommand(const std::vector<std::string>& arguments, const Environment& environment);

std::string ReadFile(const std::string& path);

}  // namespace vyn::e2e
