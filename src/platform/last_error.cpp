// Each thread's last error, as Win32 keeps it.
#include "kestra_win32.h"

namespace {
thread_local DWORD last_error = 0;
}  // namespace

DWORD GetLastError() { return last_error; }

void SetLastError(DWORD error) { last_error = error; }
