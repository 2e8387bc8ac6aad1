// Holds a mutex that several processes share by name (CreateMutex with a
// name) from construction until Release or the end of the scope, when it
// could be had within the wait. A mutex whose last holder ended without
// releasing it counts as had: the holders here keep what it guards whole at
// every step. Windows only.
#pragma once

#include <windows.h>

class KSNamedMutexHold {
 public:
  // A null inMutex is never held.
  KSNamedMutexHold(HANDLE inMutex, DWORD inWaitMS) : mMutex(inMutex), mHeld(false) {
    if (inMutex != nullptr) {
      DWORD result = WaitForSingleObject(inMutex, inWaitMS);
      mHeld = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
  }
  ~KSNamedMutexHold() { Release(); }

  KSNamedMutexHold(const KSNamedMutexHold&) = delete;
  KSNamedMutexHold& operator=(const KSNamedMutexHold&) = delete;

  bool Held() const { return mHeld; }

  // Lets the mutex go before the end of the scope.
  void Release() {
    if (mHeld) {
      ReleaseMutex(mMutex);
      mHeld = false;
    }
  }

 private:
  HANDLE mMutex;
  bool mHeld;
};
