// Owns one kernel handle (event, mutex, semaphore, thread, process, file,
// mapping) and closes it when it goes. Null and INVALID_HANDLE_VALUE both
// mean "none", so the results of CreateFile and CreateEvent can be taken as
// they come. Windows only.
#pragma once

#include <windows.h>

#include "foundation/KSOwned.h"

struct KSKernelHandleTraits {
  using Value = HANDLE;
  static HANDLE None() { return nullptr; }
  static bool IsValid(HANDLE inHandle) {
    return inHandle != nullptr && inHandle != INVALID_HANDLE_VALUE;
  }
  static void Free(HANDLE inHandle) { CloseHandle(inHandle); }
};

using KSHandle = KSOwned<KSKernelHandleTraits>;
