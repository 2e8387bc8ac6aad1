// Owns a block that the system handed over on the COM task allocator (item
// identifier lists of the shell, for one) and frees it with CoTaskMemFree.
// Windows only.
#pragma once

#include <objbase.h>

#include "foundation/KSOwned.h"

template <typename T>
struct KSCoTaskMemTraits {
  using Value = T*;
  static T* None() { return nullptr; }
  static bool IsValid(T* inBlock) { return inBlock != nullptr; }
  static void Free(T* inBlock) { CoTaskMemFree(inBlock); }
};

template <typename T>
using KSCoTaskMem = KSOwned<KSCoTaskMemTraits<T>>;
