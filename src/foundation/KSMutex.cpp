#include "foundation/KSMutex.h"

#ifdef _WIN32
#include <windows.h>

#include <new>
#else
#include <chrono>
#include <mutex>
#endif

namespace {

#ifdef _WIN32

// A critical section: recursive, and a kernel wait only when another thread
// really holds it, so it costs little on the paths every packet takes.
void* CreateOSMutex() {
  CRITICAL_SECTION* section = new (std::nothrow) CRITICAL_SECTION;
  if (section != nullptr) {
    InitializeCriticalSection(section);
  }
  return section;
}

void DestroyOSMutex(void* inMutex) {
  CRITICAL_SECTION* section = static_cast<CRITICAL_SECTION*>(inMutex);
  DeleteCriticalSection(section);
  delete section;
}

// A critical section has no timed wait: with a time-out it is tried until
// the time is up (only tests wait less than forever).
bool WaitOSMutex(void* inMutex, long inTimeoutMS) {
  CRITICAL_SECTION* section = static_cast<CRITICAL_SECTION*>(inMutex);
  if (inTimeoutMS == -1) {
    EnterCriticalSection(section);
    return true;
  }
  ULONGLONG deadline = GetTickCount64() + ULONGLONG(inTimeoutMS < 0 ? 0 : inTimeoutMS);
  while (!TryEnterCriticalSection(section)) {
    if (GetTickCount64() >= deadline) {
      return false;
    }
    Sleep(1);
  }
  return true;
}

void ReleaseOSMutex(void* inMutex) {
  LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(inMutex));
}

#else

typedef std::recursive_timed_mutex OSMutex;

void* CreateOSMutex() {
  return new OSMutex;
}

void DestroyOSMutex(void* inMutex) {
  delete static_cast<OSMutex*>(inMutex);
}

bool WaitOSMutex(void* inMutex, long inTimeoutMS) {
  OSMutex* mutex = static_cast<OSMutex*>(inMutex);
  if (inTimeoutMS == -1) {
    mutex->lock();
    return true;
  }
  return mutex->try_lock_for(std::chrono::milliseconds(inTimeoutMS < 0 ? 0 : inTimeoutMS));
}

void ReleaseOSMutex(void* inMutex) {
  static_cast<OSMutex*>(inMutex)->unlock();
}

#endif

}  // namespace

KSMutex::KSMutex() : mMutex(nullptr), mHasName(false) {}

KSMutex::~KSMutex() {
  void* mutex = mMutex.load();
  if (mutex != nullptr) {
    DestroyOSMutex(mutex);
  }
}

void* KSMutex::CreateOnce() {
  void* mutex = mMutex.load();
  if (mutex != nullptr) {
    return mutex;
  }
  mHasName = false;
  void* created = CreateOSMutex();
  if (created == nullptr) {
    return nullptr;
  }
  // Two threads may both have made one on the first use; the loser drops its
  // own and uses the winner's. Either way a mutex now exists.
  mHasName = true;
  if (mMutex.compare_exchange_strong(mutex, created)) {
    return created;
  }
  DestroyOSMutex(created);
  return mutex;
}

bool KSMutex::Wait(long inTimeoutMS) {
  void* mutex = CreateOnce();
  if (mutex == nullptr) {
    return false;
  }
  return WaitOSMutex(mutex, inTimeoutMS);
}

void KSMutex::Release() {
  void* mutex = mMutex.load();
  if (mutex != nullptr) {
    ReleaseOSMutex(mutex);
  }
}
