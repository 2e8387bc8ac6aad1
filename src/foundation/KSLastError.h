// The calling thread's last platform error as one of the system's codes.
// Windows only.
#pragma once

#include <windows.h>

#include "foundation/KSError.h"

inline long KSLastOSError() {
  return KSError::TranslateErr(static_cast<long>(GetLastError()), KSErrorDomain_OS);
}
