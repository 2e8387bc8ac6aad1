#include "net/KSJob.h"

#include "foundation/KSError.h"

KSJob::KSJob() : mRefCount(0) {
  mResultEvent.mValue = 0;
  mResultEvent.mWin32Event.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

void KSJob::AddRef() {
  InterlockedIncrement(&mRefCount);
}

void KSJob::Release() {
  if (InterlockedDecrement(&mRefCount) == 0) {
    delete this;
  }
}

long KSJob::StartThread() {
  // The thread's reference is taken here rather than by the thread, so that
  // the job cannot vanish before the thread gets going.
  AddRef();
  mThreadHandle.Reset(CreateThread(nullptr, 0, ThreadEntry, this, 0, nullptr));
  if (!mThreadHandle) {
    Release();
    return kKSErr_Unmapped;
  }
  return 0;
}

void KSJob::SignalResult() {
  SetEvent(mResultEvent.mWin32Event.Get());
}

DWORD WINAPI KSJob::ThreadEntry(void* inJob) {
  KSJob* job = static_cast<KSJob*>(inJob);
  job->Execute();
  job->Release();
  return 0;
}
