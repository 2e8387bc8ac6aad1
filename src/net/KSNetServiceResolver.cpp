#include "net/KSNetServiceResolver.h"

#include <cstring>

#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSZeroconf.h"

long KSNetServiceResolver::sSyncResolveLimitMS = KSNetServiceResolver::kSyncResolveLimitMS;

KSNetServiceResolver::KSNetServiceResolver()
    : mOperation(nullptr), mStatus(kKSErr_BadState), mResolvedPort(0) {
  std::memset(&mResolvedAddr, 0, sizeof(mResolvedAddr));
}

KSNetServiceResolver::~KSNetServiceResolver() {
  CancelResolve();
}

void KSNetServiceResolver::CancelResolve() {
  DNSSDOperation* operation = TakeOperation();
  if (operation != nullptr) {
    operation->Detach(true);
  }
}

DNSSDOperation* KSNetServiceResolver::TakeOperation() {
  KSMutexHold hold(mLock);
  DNSSDOperation* operation = mOperation;
  mOperation = nullptr;
  if (mStatus == kKSErr_Pending) {
    mStatus = kKSErr_BadState;
  }
  return operation;
}

long KSNetServiceResolver::ResolveService(const UtilStr& inName, const char* inType,
                                          const char* inDomain, long, bool inAsync) {
  DNSSDOperation* operation = nullptr;
  long err = StartResolve(inName, inType, inDomain, inAsync, &operation);
  if (err != 0) {
    return ResolveLocally(inType);
  }
  return inAsync ? 0 : FinishSyncResolve(operation);
}

long KSNetServiceResolver::StartResolve(const UtilStr& inName, const char* inType,
                                        const char* inDomain, bool inAsync,
                                        DNSSDOperation** outOperation) {
  // Held while the resolve starts, so that an early answer on the library's
  // thread finds the new operation in place.
  KSMutexHold hold(mLock);
  mStatus = kKSErr_BadState;
  if (mOperation != nullptr) {
    // Never wait here: its answer may be on its way to a listener that waits
    // for our caller. A late answer no longer matches mOperation.
    mOperation->Detach(false);
    mOperation = nullptr;
  }
  mSearchDomain.Assign(inDomain != nullptr ? inDomain : "");
  mServiceName.Assign(inName.getCStr(), inName.length());  // a private copy for other threads
  long err = DNSSDOperation::StartResolve(mServiceName.getCStr(), inType, inDomain,
                                          inAsync ? this : nullptr, outOperation);
  if (err == 0) {
    mOperation = *outOperation;
    mStatus = kKSErr_Pending;
  }
  return err;
}

long KSNetServiceResolver::ResolveLocally(const char* inType) {
  ZCService record;
  long err = KSZeroconf::ResolveService(mServiceName.getCStr(), inType, &record);
  {
    KSMutexHold hold(mLock);
    if (err == 0) {
      mResolvedAddr = record.mAddr;
      mResolvedPort = record.mPort;
    }
    mStatus = err;
  }
  BroadcastMsg(kKSMsg_ResolveComplete, this, nullptr);
  if (err != 0) {
    KSMutexHold hold(mLock);
    mStatus = kKSErr_BadState;
  }
  return err;
}

long KSNetServiceResolver::FinishSyncResolve(DNSSDOperation* inOperation) {
  bool answered = inOperation->WaitForAnswer(sSyncResolveLimitMS);
  UtilStr host;
  unsigned long port = 0;
  if (answered) {
    answered = inOperation->GetAnswer(&host, &port);
  }
  {
    KSMutexHold hold(mLock);
    if (mOperation == inOperation) {
      mOperation = nullptr;
    }
    if (answered) {
      StoreAnswer(host.getCStr(), port);
    } else {
      mStatus = kKSErr_BadState;  // abandoned: the engine may have vanished
    }
  }
  // The operation's thread has ended, or is left inside the library to end
  // on its own.
  inOperation->Detach(true);
  if (!answered) {
    return kKSErr_Internal;
  }
  BroadcastMsg(kKSMsg_ResolveComplete, this, nullptr);
  return 0;
}

void KSNetServiceResolver::StoreAnswer(const char* inHostTarget, unsigned long inPort) {
  std::memset(&mResolvedAddr, 0, sizeof(mResolvedAddr));
  mResolvedAddr.mType = ks_HostName;
  std::strncpy(mResolvedAddr.u.mHostName, inHostTarget, sizeof(mResolvedAddr.u.mHostName) - 1);
  mResolvedPort = inPort;
  mStatus = 0;
}

void KSNetServiceResolver::OnResolveAnswered(DNSSDOperation* inOperation, const char* inHostTarget,
                                             unsigned long inPort) {
  bool current = false;
  {
    KSMutexHold hold(mLock);
    current = inOperation == mOperation && mStatus == kKSErr_Pending;
    if (current) {
      StoreAnswer(inHostTarget, inPort);
    }
  }
  if (current) {
    BroadcastMsg(kKSMsg_ResolveComplete, this, nullptr);
  }
}

long KSNetServiceResolver::GetResolveServiceResults(KSNetAddr* outAddr, unsigned long* outPort) {
  KSMutexHold hold(mLock);
  if (mStatus == 0) {
    if (outAddr != nullptr) {
      *outAddr = mResolvedAddr;
    }
    if (outPort != nullptr) {
      *outPort = mResolvedPort;
    }
  }
  return mStatus;
}

void KSNetServiceResolver::GetServiceName(UtilStr* outName) {
  KSMutexHold hold(mLock);
  outName->Assign(mServiceName.getCStr(), mServiceName.length());
}
