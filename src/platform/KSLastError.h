// The platform's last error as one of our error codes, for the window and
// drawing code. Never 0: a call that failed without setting a last error
// still reads as a failure (kKSErr_Unmapped).
#pragma once

#include <windows.h>

#include "foundation/KSError.h"

inline long KSLastError() {
  long err = KSError::TranslateErr(long(GetLastError()), KSErrorDomain_OS);
  return err != 0 ? err : kKSErr_Unmapped;
}
