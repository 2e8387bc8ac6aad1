#include "foundation/KSMutex.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <mutex>
#endif

namespace {

#ifdef _WIN32

void* CreateOSMutex() {
  return CreateMutexW(nullptr, FALSE, nullptr);
}

void DestroyOSMutex(void* inMutex) {
  CloseHandle(inMutex);
}

bool WaitOSMutex(void* inMutex, long inTimeoutMS) {
  DWORD timeout = inTimeoutMS == -1 ? INFINITE : DWORD(inTimeoutMS);
  DWORD result = WaitForSingleObject(inMutex, timeout);
  if (result == WAIT_ABANDONED) {
    // The previous owner ended while holding it and the wait made this thread
    // the owner. Nobody would release a hold reported as failed, so give it
    // back now and leave the mutex usable by others.
    ReleaseMutex(inMutex);
  }
  return result == WAIT_OBJECT_0;
}

void ReleaseOSMutex(void* inMutex) {
  ReleaseMutex(inMutex);
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
