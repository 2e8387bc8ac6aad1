// Owns a view of a file mapping (MapViewOfFile) and unmaps it when it goes.
// The view keeps its mapping's content alive on its own, so it may outlive
// the mapping's handle. Windows only.
#pragma once

#include <windows.h>

#include "foundation/KSOwned.h"

struct KSMappedViewTraits {
  using Value = void*;
  static void* None() { return nullptr; }
  static bool IsValid(void* inView) { return inView != nullptr; }
  static void Free(void* inView) { UnmapViewOfFile(inView); }
};

using KSMappedView = KSOwned<KSMappedViewTraits>;
