// ExitProcess ends the process through the normal exit path, so buffered
// standard output and error reach their files before the process is gone.
#include <cstdlib>

#include "kernel/Kernel.h"

void ExitProcess(UINT exitCode) { std::exit(static_cast<int>(exitCode)); }
