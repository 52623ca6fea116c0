// The calling thread's last-error code, as GetLastError reports it.
#include "kernel/Kernel.h"

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }
