#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace vyn::e2e {
namespace {

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Reads the display number that Xvfb writes to -displayfd, or -1.
int ReadDisplayNumber(int fd) {
  std::string text;
  for (;;) {
    pollfd waiting{fd, POLLIN, 0};
    if (poll(&waiting, 1, 10'000) <= 0) return -1;
    char c = 0;
    if (read(fd, &c, 1) != 1) return -1;
    if (c == '\n') break;
    text += c;
  }
  return text.empty() ? -1 : std::atoi(text.c_str());
}

}  // namespace

bool XToolsAvailable() { return OnPath("Xvfb") && OnPath("xdotool"); }

XvfbServer::XvfbServer(int width, int height) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    problem_ = "no pipe";
    return;
  }
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::vector<std::string> arguments{"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The read end goes first: it may be fd 3 itself.
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 3);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    pid_ = -1;
    close(pipeEnds[0]);
    problem_ = "Xvfb cannot be started";
    return;
  }
  const int number = ReadDisplayNumber(pipeEnds[0]);
  close(pipeEnds[0]);
  if (number < 0) {
    problem_ = "Xvfb named no display";
    return;
  }
  name_ = ":" + std::to_string(number);
  display_ = XOpenDisplay(name_.c_str());
  if (display_ == nullptr) problem_ = "cannot connect to Xvfb at " + name_;
}

XvfbServer::~XvfbServer() {
  if (display_ != nullptr) XCloseDisplay(display_);
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

}  // namespace vyn::e2e
