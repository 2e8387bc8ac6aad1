#include "net/DNSSDOperation.h"

#include <windows.h>

#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

DNSSDOperation::DNSSDOperation(Client* inClient)
    : mRefCount(1),
      mClient(inClient),
      mFinished(false),
      mRef(nullptr),
      mAnswerEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      mAnswered(false),
      mPort(0) {}

long DNSSDOperation::StartBrowse(const char* inType, const char* inDomain, Client* inClient,
                                 DNSSDOperation** outOperation) {
  DNSSDOperation* op = new DNSSDOperation(inClient);
  long err = gDNSSDWrapper.DNSServiceBrowse(&op->mRef, 0, 0, inType, inDomain, BrowseReply, op);
  return op->Launch(err, outOperation);
}

long DNSSDOperation::StartResolve(const char* inName, const char* inType, const char* inDomain,
                                  Client* inClient, DNSSDOperation** outOperation) {
  DNSSDOperation* op = new DNSSDOperation(inClient);
  long err =
      gDNSSDWrapper.DNSServiceResolve(&op->mRef, 0, 0, inName, inType, inDomain, ResolveReply, op);
  return op->Launch(err, outOperation);
}

long DNSSDOperation::Launch(long inStartErr, DNSSDOperation** outOperation) {
  long err = inStartErr != 0 ? inStartErr : StartThread();
  if (err != 0) {
    delete this;
    *outOperation = nullptr;
    return err;
  }
  *outOperation = this;
  return 0;
}

long DNSSDOperation::StartThread() {
  if (!mAnswerEvent) {
    gDNSSDWrapper.DNSServiceRefDeallocate(mRef);
    return KSLastOSError();
  }
  mRefCount++;  // the thread's reference
  mThread.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
  if (!mThread) {
    mRefCount--;
    gDNSSDWrapper.DNSServiceRefDeallocate(mRef);
    return kKSErr_Unmapped;
  }
  return 0;
}

void DNSSDOperation::Release() {
  if (--mRefCount == 0) {
    delete this;
  }
}

// The processing thread of a browse or resolve: runs the library's callbacks
// until the operation is answered or detached, or the library fails.
unsigned long __stdcall DNSSDOperation::ThreadMain(void* inOperation) {
  DNSSDOperation* op = static_cast<DNSSDOperation*>(inOperation);
  gDNSSDWrapper.EnterLibraryThread();
  while (op->KeepProcessing() && gDNSSDWrapper.DNSServiceProcessResult(op->mRef) == 0) {
  }
  gDNSSDWrapper.DNSServiceRefDeallocate(op->mRef);
  gDNSSDWrapper.LeaveLibraryThread();
  SetEvent(op->mAnswerEvent.Get());
  op->Release();
  return 0;
}

bool DNSSDOperation::WaitForAnswer(long inTimeoutMS) {
  WaitForSingleObject(mAnswerEvent.Get(), static_cast<DWORD>(inTimeoutMS));
  KSMutexHold hold(mLock);
  return mAnswered;
}

bool DNSSDOperation::GetAnswer(UtilStr* outHostTarget, unsigned long* outPort) {
  KSMutexHold hold(mLock);
  if (mAnswered) {
    outHostTarget->Assign(mHostTarget.getCStr(), mHostTarget.length());
    *outPort = mPort;
  }
  return mAnswered;
}

void DNSSDOperation::Detach(bool inWaitForCallback) {
  mClient = nullptr;
  mFinished = true;
  if (inWaitForCallback) {
    // A callback that read the client before it was cleared holds the lock.
    KSMutexHold hold(mLock);
  }
  Release();
}

void KS_DNSSD_API DNSSDOperation::BrowseReply(DNSServiceRef, DNSServiceFlags inFlags, uint32,
                                              DNSServiceErrorType inErrorCode,
                                              const char* inServiceName, const char*,
                                              const char* inReplyDomain, void* inContext) {
  DNSSDOperation* op = static_cast<DNSSDOperation*>(inContext);
  if (op == nullptr || inErrorCode != kDNSServiceErr_NoError) {
    return;
  }
  KSMutexHold hold(op->mLock);
  Client* client = op->mClient;
  if (client != nullptr) {
    client->OnBrowseReply(inFlags, inServiceName, inReplyDomain);
  }
}

void KS_DNSSD_API DNSSDOperation::ResolveReply(DNSServiceRef, DNSServiceFlags, uint32,
                                               DNSServiceErrorType inErrorCode, const char*,
                                               const char* inHostTarget, uint16 inPort, uint16,
                                               const unsigned char*, void* inContext) {
  DNSSDOperation* op = static_cast<DNSSDOperation*>(inContext);
  if (op == nullptr || inErrorCode != kDNSServiceErr_NoError) {
    return;
  }
  KSMutexHold hold(op->mLock);
  if (op->mAnswered) {
    return;
  }
  // The port arrives in network order: its first byte in memory is the high one.
  const uint8* portBytes = reinterpret_cast<const uint8*>(&inPort);
  op->mPort = (static_cast<unsigned long>(portBytes[0]) << 8) | portBytes[1];
  op->mHostTarget.Assign(inHostTarget != nullptr ? inHostTarget : "");
  op->mAnswered = true;
  op->mFinished = true;
  SetEvent(op->mAnswerEvent.Get());
  Client* client = op->mClient;
  if (client != nullptr) {
    client->OnResolveAnswered(op, op->mHostTarget.getCStr(), op->mPort);
  }
}
