// Base of the socket layer's worker jobs: a reference-counted object that
// runs Execute on a thread of its own and signals when it has finished.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>

#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"

// The result code of a job and a manual-reset event set once it is final.
struct KSEvent {
  std::atomic<long> mValue;
  KSHandle mWin32Event;
};

class KSJob {
 public:
  KSJob();
  virtual ~KSJob() = default;

  KSJob(const KSJob&) = delete;
  KSJob& operator=(const KSJob&) = delete;

  // Reference counts change only through interlocked operations; whoever
  // brings the count to zero deletes the job.
  void AddRef();
  void Release();

  // Starts the worker thread, which holds a reference of its own until
  // Execute returns. Returns 0 or kKSErr_Unmapped.
  long StartThread();

  // Null until StartThread succeeded; valid while a reference is held.
  HANDLE ThreadHandle() const { return mThreadHandle.Get(); }

  bool Created() const { return mResultEvent.mWin32Event.IsValid(); }
  long Result() const { return mResultEvent.mValue; }
  HANDLE ResultEvent() const { return mResultEvent.mWin32Event.Get(); }

 protected:
  virtual void Execute() = 0;

  void SetResult(long inResult) { mResultEvent.mValue = inResult; }
  // Makes the result final and wakes everyone waiting for it.
  void SignalResult();

  KSEvent mResultEvent;
  // Guards the job's handler calls and the state changes made by others.
  KSMutex mCS;

 private:
  static DWORD WINAPI ThreadEntry(void* inJob);

  volatile LONG mRefCount;
  KSHandle mThreadHandle;
};
