// An in-process lock for hot paths that are entered on every request: a
// critical section only falls back to a kernel wait when another thread
// really holds it. The owning thread may enter again. Windows only.
#pragma once

#include <windows.h>

class KSCriticalSection {
 public:
  KSCriticalSection() { InitializeCriticalSection(&mCS); }
  ~KSCriticalSection() { DeleteCriticalSection(&mCS); }

  KSCriticalSection(const KSCriticalSection&) = delete;
  KSCriticalSection& operator=(const KSCriticalSection&) = delete;

  void Enter() { EnterCriticalSection(&mCS); }
  void Leave() { LeaveCriticalSection(&mCS); }

 private:
  CRITICAL_SECTION mCS;
};

// Holds a KSCriticalSection for the rest of the scope.
class KSCriticalSectionHold {
 public:
  explicit KSCriticalSectionHold(KSCriticalSection& inLock) : mLock(&inLock) { mLock->Enter(); }
  ~KSCriticalSectionHold() { mLock->Leave(); }

  KSCriticalSectionHold(const KSCriticalSectionHold&) = delete;
  KSCriticalSectionHold& operator=(const KSCriticalSectionHold&) = delete;

 private:
  KSCriticalSection* mLock;
};
