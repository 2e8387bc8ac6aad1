// Owns the search handle of a directory listing (FindFirstFile) and ends the
// search (FindClose) when it goes. Null and INVALID_HANDLE_VALUE, the failure
// value of FindFirstFile, both mean "none". Windows only.
#pragma once

#include <windows.h>

#include "foundation/KSOwned.h"

struct KSFindHandleTraits {
  using Value = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE inSearch) {
    return inSearch != nullptr && inSearch != INVALID_HANDLE_VALUE;
  }
  static void Free(HANDLE inSearch) { FindClose(inSearch); }
};

using KSFindHandle = KSOwned<KSFindHandleTraits>;
