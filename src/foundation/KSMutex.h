// A process-local mutex that the owning thread may take recursively: the one
// lock of the system, from the engine link's packet queues to the window's
// event queue.
//
// The operating-system object (a critical section on Windows, a recursive
// timed mutex elsewhere) is made on the first Wait, so a KSMutex costs
// nothing until it is used. Every successful Wait is matched by one Release;
// where the hold lives within one scope, KSMutexHold does both. A thread that
// ends while holding one leaves it held.
#pragma once

#include <atomic>

class KSMutex {
 public:
  KSMutex();
  virtual ~KSMutex();

  KSMutex(const KSMutex&) = delete;
  KSMutex& operator=(const KSMutex&) = delete;

  // True when this thread now holds the mutex. inTimeoutMS -1 waits forever;
  // a time-out or any failure gives false and leaves the mutex unheld.
  bool Wait(long inTimeoutMS);

  // Releases one hold taken by a successful Wait of this thread.
  void Release();

 private:
  void* CreateOnce();

  // The operating-system mutex; null until the first Wait. Several threads
  // may race to make it, so it is published atomically.
  std::atomic<void*> mMutex;
  // True once this object made its mutex successfully.
  std::atomic<bool> mHasName;
};

// Holds a KSMutex from construction to the end of the scope. A hold that
// could not be taken (Held() false) releases nothing.
class KSMutexHold {
 public:
  explicit KSMutexHold(KSMutex& inMutex) : mMutex(&inMutex), mHeld(inMutex.Wait(-1)) {}
  ~KSMutexHold() {
    if (mHeld) {
      mMutex->Release();
    }
  }

  KSMutexHold(const KSMutexHold&) = delete;
  KSMutexHold& operator=(const KSMutexHold&) = delete;

  bool Held() const { return mHeld; }

 private:
  KSMutex* mMutex;
  bool mHeld;
};
