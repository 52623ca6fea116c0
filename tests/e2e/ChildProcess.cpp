#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace vyn::e2e {
namespace {

std::vector<std::string> EnvironmentLines(const Environment& environment) {
  std::vector<std::string> lines;
  for (const auto& [name, value] : environment) lines.push_back(name + "=" + value);
  return lines;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Spawns with stdin from /dev/null and the two outputs into files. A bare
// program name is looked up on this process's PATH.
pid_t Spawn(std::vector<std::string> arguments, const Environment& environment, const std::string& folder,
            const std::string& outputPath, const std::string& errorPath) {
  std::vector<std::string> lines = EnvironmentLines(environment);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(lines);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  // Each child in a process group of its own, so that a terminal's signals
  // do not reach it and a kill reaches only it.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);

  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const Environment& environment,
                           const std::string& folder, const std::string& outputFolder, const std::string& label)
    : errorPath_(outputFolder + "/" + label + ".stderr"), outputPath_(outputFolder + "/" + label + ".stdout") {
  pid_ = Spawn(arguments, environment, folder, outputPath_, errorPath_);
}

ChildProcess::~ChildProcess() {
  if (running()) {
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

void ChildProcess::reap(int status) {
  if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) signal_ = WTERMSIG(status);
}

bool ChildProcess::running() {
  if (pid_ <= 0 || exitCode_ || signal_ != 0) return false;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == pid_) {
    reap(status);
    return false;
  }
  return done == 0;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds limit) {
  WaitFor([this] { return !running(); }, limit);
  return exitCode_;
}

void ChildProcess::sendSignal(int signal) {
  if (running()) kill(pid_, signal);
}

std::string ChildProcess::standardError() const { return ReadFile(errorPath_); }
std::string ChildProcess::standardOutput() const { return ReadFile(outputPath_); }

int RunCommand(const std::vector<std::string>& arguments, const Environment& environment) {
  pid_t pid = Spawn(arguments, environment, "", "/dev/null", "/dev/null");
  if (pid <= 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace vyn::e2e
