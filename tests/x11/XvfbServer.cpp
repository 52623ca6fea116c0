#include "XvfbServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vyn::x11test {

XvfbServer::XvfbServer(const std::string& geometry) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(pipeEnds[0]);
    std::string fd = std::to_string(pipeEnds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(), "-nolisten",
           "tcp", "-wr", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  // Xvfb writes its display number once it accepts connections.
  std::string number;
  for (;;) {
    pollfd descriptor{pipeEnds[0], POLLIN, 0};
    if (poll(&descriptor, 1, 20000) <= 0) break;
    char c;
    if (read(pipeEnds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(pipeEnds[0]);
  if (!number.empty()) name_ = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status;
  waitpid(pid_, &status, 0);
}

bool Xdotool(const std::string& display, const std::string& arguments) {
  std::string command = "DISPLAY=" + display + " xdotool " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

}  // namespace vyn::x11test
