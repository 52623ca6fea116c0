// WinMain: the single-instance guard, the switch scan, configure mode, and
// the hand-over to run mode.
#include <cstring>

#include "RunMode.h"
#include "SwitchScan.h"
#include "kernel/Kernel.h"
#include "kernel/Shell.h"
#include "kernel/WinMain.h"
#include "user/User.h"

namespace vyn::saver {
namespace {

// Starts the settings program and does not wait for it. Whether it started
// changes nothing: the saver ends with 1 either way.
int EnterConfigureMode(HANDLE mutex) {
  HWND parent = GetActiveWindow();
  ShellExecuteA(parent, "open", "vynlg.exe", nullptr, "c:\\windows", SW_SHOW);
  ReleaseMutex(mutex);
  return 1;
}

}  // namespace
}  // namespace vyn::saver

// The mutex handle is never closed: the system closes it when the process
// ends, which is what lets the name go with the last copy of the saver.
int WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  using namespace vyn::saver;
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "vyn");
  if (mutex == nullptr) return 1;
  // Another copy runs: turned away before the command line is looked at, so
  // this holds for every mode. This process does not own the mutex.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 1;

  if (commandLine == nullptr || std::strlen(commandLine) == 0) {
    ReleaseMutex(mutex);
    return 1;
  }
  SwitchRequest request = ScanSwitches(commandLine);
  if (request.configure) return EnterConfigureMode(mutex);
  if (request.run) return EnterRunMode(instance, showCommand, mutex);
  ReleaseMutex(mutex);
  return 1;
}
