#include "RunMode.h"

#include "kernel/Kernel.h"

namespace vyn::saver {

// The saver window and main loop are not part of the program yet: run mode
// hands the mutex back and ends as if the window could not be made.
int EnterRunMode(HINSTANCE, int, HANDLE mutex) {
  ReleaseMutex(mutex);
  return 1;
}

}  // namespace vyn::saver
