// Owns a block that the system handed over on the COM task allocator (item
// identifier lists of the shell, for one) and frees it with CoTaskMemFree.
// Windows only.
#pragma once

#include <objbase.h>

template <typename T>
class KSCoTaskMem {
 public:
  KSCoTaskMem() : mBlock(nullptr) {}
  explicit KSCoTaskMem(T* inBlock) : mBlock(inBlock) {}
  ~KSCoTaskMem() { CoTaskMemFree(mBlock); }  // null is allowed

  KSCoTaskMem(const KSCoTaskMem&) = delete;
  KSCoTaskMem& operator=(const KSCoTaskMem&) = delete;

  T* Get() const { return mBlock; }
  explicit operator bool() const { return mBlock != nullptr; }

  // For calls that hand the block out through a pointer: frees any block
  // held so far and gives the place for the new one.
  T** Receive() {
    CoTaskMemFree(mBlock);
    mBlock = nullptr;
    return &mBlock;
  }

 private:
  T* mBlock;
};
