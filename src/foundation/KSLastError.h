// The calling thread's last platform error as one of the system's codes.
// Windows only.
#pragma once

#include <windows.h>

#include "foundation/KSError.h"

// The translation as it is: 0 when the thread has no last error, for calls
// whose failure value can also mean success (the caller clears the last error
// first).
inline long KSLastOSError() {
  return KSError::TranslateErr(static_cast<long>(GetLastError()), KSErrorDomain_OS);
}

// After a call that failed: never 0, so that a failure the platform left no
// error for still reads as one (kKSErr_Unmapped).
inline long KSLastError() {
  long err = KSLastOSError();
  return err != 0 ? err : kKSErr_Unmapped;
}
