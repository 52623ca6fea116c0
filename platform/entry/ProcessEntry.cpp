// The process start-up of a graphical Windows program: forms the command-line
// tail and calls WinMain; its result is the exit code.
#include <string>

#include "kernel/Kernel.h"
#include "kernel/Shell.h"
#include "kernel/WinMain.h"

int main(int argc, char** argv) {
  // The tail is the command line without the program's name and the blanks
  // after it: here, the arguments joined by single blanks.
  std::string tail;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) tail += ' ';
    tail += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, tail.data(), SW_SHOWDEFAULT);
}
