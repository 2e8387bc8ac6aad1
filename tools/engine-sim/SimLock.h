// An in-process lock for the simulator's hot paths: every request takes the
// engine lock and its connection's send lock, so they must cost next to
// nothing when no one else holds them. A critical section only falls back to
// a kernel wait when another thread really holds it. The owning thread may
// enter again.
#pragma once

#include <windows.h>

class SimLock {
 public:
  SimLock() { InitializeCriticalSection(&mCS); }
  ~SimLock() { DeleteCriticalSection(&mCS); }

  SimLock(const SimLock&) = delete;
  SimLock& operator=(const SimLock&) = delete;

  void Enter() { EnterCriticalSection(&mCS); }
  void Leave() { LeaveCriticalSection(&mCS); }

 private:
  CRITICAL_SECTION mCS;
};

// Holds a SimLock for the rest of the scope.
class SimLockHold {
 public:
  explicit SimLockHold(SimLock* inLock) : mLock(inLock) { mLock->Enter(); }
  ~SimLockHold() { mLock->Leave(); }

  SimLockHold(const SimLockHold&) = delete;
  SimLockHold& operator=(const SimLockHold&) = delete;

 private:
  SimLock* mLock;
};
