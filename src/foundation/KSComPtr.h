// Owns one reference to a COM object and releases it when it goes. The
// holder is not copied: a second owner takes its own reference. Windows only.
#pragma once

#include "foundation/KSOwned.h"

template <typename T>
struct KSComTraits {
  using Value = T*;
  static T* None() { return nullptr; }
  static bool IsValid(T* inObject) { return inObject != nullptr; }
  static void Free(T* inObject) { inObject->Release(); }
};

template <typename T>
class KSComPtr : public KSOwned<KSComTraits<T>> {
 public:
  using KSOwned<KSComTraits<T>>::KSOwned;
  T* operator->() const { return this->Get(); }
};
