// Owns one kernel handle (event, mutex, semaphore, thread, process, file,
// mapping) and closes it when it goes. Null and INVALID_HANDLE_VALUE both
// mean "none", so the results of CreateFile and CreateEvent can be taken as
// they come. Windows only.
#pragma once

#include <windows.h>

class KSHandle {
 public:
  KSHandle() : mHandle(nullptr) {}
  explicit KSHandle(HANDLE inHandle) : mHandle(inHandle) {}
  ~KSHandle() { Reset(); }

  KSHandle(const KSHandle&) = delete;
  KSHandle& operator=(const KSHandle&) = delete;
  KSHandle(KSHandle&& ioOther) noexcept : mHandle(ioOther.Release()) {}
  KSHandle& operator=(KSHandle&& ioOther) noexcept {
    if (this != &ioOther) {
      Reset(ioOther.Release());
    }
    return *this;
  }

  HANDLE Get() const { return mHandle; }
  bool IsValid() const { return mHandle != nullptr && mHandle != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return IsValid(); }

  // Closes the handle held so far and takes inHandle.
  void Reset(HANDLE inHandle = nullptr) {
    if (IsValid()) {
      CloseHandle(mHandle);
    }
    mHandle = inHandle;
  }

  // Gives the handle up without closing it.
  HANDLE Release() {
    HANDLE handle = mHandle;
    mHandle = nullptr;
    return handle;
  }

 private:
  HANDLE mHandle;
};
