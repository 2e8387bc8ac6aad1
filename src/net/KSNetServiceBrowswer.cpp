#include "net/KSNetServiceBrowswer.h"

#include <cstdint>

#include "foundation/KSError.h"
#include "foundation/KSMessages.h"

KSNetServiceBrowswer::KSNetServiceBrowswer()
    : mBrowser(nullptr),
      mServicesMustResolve(false),
      mServiceList(kStrSorted_CaseInsensitive, kStrNoDupes_CaseInsensitive) {}

KSNetServiceBrowswer::~KSNetServiceBrowswer() {
  StopBrowsing();
  mServiceListMutex.Wait(-1);
  mServiceList.RemoveAll();
  KSServiceInfo* info = mServiceStore.TakeAny();
  while (info != nullptr) {
    mServiceListMutex.Release();
    DisposeRecord(info);
    mServiceListMutex.Wait(-1);
    info = mServiceStore.TakeAny();
  }
  mServiceListMutex.Release();
}

// Called without the list lock: a record's resolver may first have to wait
// for an answer that is being delivered to us, and that delivery takes it.
void KSNetServiceBrowswer::DisposeRecord(KSServiceInfo* inInfo) {
  if (inInfo == nullptr) {
    return;
  }
  inInfo->mServiceResolver.CancelResolve();
  // Our list of broadcasters is also changed by ResolveService, under the lock.
  mServiceListMutex.Wait(-1);
  inInfo->mServiceResolver.RemoveListener(this);
  mServiceListMutex.Release();
  delete inInfo;
}

long KSNetServiceBrowswer::StartBrowsing(const char* inType, const char* inDomain) {
  StopBrowsing();
  mBrowseServiceType.Assign(inType != nullptr ? inType : "");
  mBrowseDomain.Assign(inDomain != nullptr ? inDomain : "");
  long err = DNSSDOperation::StartBrowse(mBrowseServiceType.getCStr(), mBrowseDomain.getCStr(),
                                         this, &mBrowser);
  if (err == 0) {
    return 0;
  }
  mZC.AddListener(this);
  mZC.SetServiceType(mBrowseServiceType.getCStr());
  err = mZC.StartBrowsing();
  if (err != 0) {
    StopBrowsing();
    mBrowseServiceType.Clear();
    mBrowseDomain.Clear();
  }
  return err;
}

void KSNetServiceBrowswer::StopBrowsing() {
  if (mBrowser != nullptr) {
    DNSSDOperation* browser = mBrowser;
    mBrowser = nullptr;
    browser->Detach(true);
  }
  mZC.StopBrowsing();
  mZC.RemoveListener(this);
}

bool KSNetServiceBrowswer::GetServiceName(int inIndex, UtilStr* outName) {
  // A copy of its own: string storage shared with our list would have its
  // count changed on two threads.
  mServiceListMutex.Wait(-1);
  const UtilStr* name = mServiceList.Fetch(inIndex);
  if (name != nullptr) {
    outName->Assign(name->getCStr(), name->length());
  } else {
    outName->Clear();
  }
  mServiceListMutex.Release();
  return name != nullptr;
}

bool KSNetServiceBrowswer::GetDomainForService(const UtilStr& inName, UtilStr* outDomain) {
  mServiceListMutex.Wait(-1);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  if (info != nullptr && outDomain != nullptr) {
    outDomain->Assign(info->mDomain.getCStr(), info->mDomain.length());
  }
  mServiceListMutex.Release();
  return info != nullptr;
}

bool KSNetServiceBrowswer::GetServiceAddr(const UtilStr& inName, KSNetAddr* outAddr,
                                          unsigned long* outPort, KSTime* outTimeResolved) {
  mServiceListMutex.Wait(-1);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  bool resolved = info != nullptr && info->IsResolved();
  if (resolved) {
    if (outAddr != nullptr) {
      *outAddr = info->mAddr;
    }
    if (outPort != nullptr) {
      *outPort = info->mPort;
    }
    if (outTimeResolved != nullptr) {
      *outTimeResolved = info->mTimeResolved;
    }
  }
  mServiceListMutex.Release();
  return resolved;
}

long KSNetServiceBrowswer::ResolveService(const UtilStr& inName, long inMaxAgeSecs, long inTimeout,
                                          bool inAsync) {
  // Held throughout, also while a synchronous resolve waits: the record must
  // not go away under it. The resolver's completion, reported on this thread,
  // takes the lock again.
  mServiceListMutex.Wait(-1);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  long result = kKSErr_FileNotFound;
  if (info != nullptr) {
    KSTime now;
    KSTime::GetTime(&now, true);
    if (info->IsResolved() && KSTime::Diff(now, info->mTimeResolved) < inMaxAgeSecs) {
      result = 0;
    } else {
      info->mServiceResolver.AddListener(this);
      info->mResolveStartTime = now;
      result = info->mServiceResolver.ResolveService(inName, mBrowseServiceType.getCStr(),
                                                     info->mDomain.getCStr(), inTimeout, inAsync);
      if (result == kKSErr_Internal && info->IsResolved()) {
        // No answer this time; the engine is most likely still where it was.
        info->mTimeResolved = info->mResolveStartTime;
        result = 0;
      }
    }
  }
  mServiceListMutex.Release();
  return result;
}

void KSNetServiceBrowswer::OnServiceChange(const char* inName, const char* inDomain, bool inAdded,
                                           bool inMoreComing) {
  KSServiceInfo* dropped = nullptr;
  mServiceListMutex.Wait(-1);
  if (inAdded) {
    dropped = mServiceStore.Put(new KSServiceInfo(inName, inDomain));
    if (!mServicesMustResolve) {
      mServiceList.Add(inName);
    }
  } else {
    long index = mServiceList.FindString(inName, -1, false);
    if (index != 0) {
      mServiceList.RemoveElement(index);
    }
    dropped = mServiceStore.Take(inName);
  }
  mServiceListMutex.Release();
  DisposeRecord(dropped);
  if (!inMoreComing) {
    BroadcastMsg(kKSMsg_ServiceListChanged, this, nullptr);
  }
}

void KSNetServiceBrowswer::OnBrowseReply(DNSServiceFlags inFlags, const char* inName,
                                         const char* inDomain) {
  OnServiceChange(inName, inDomain, (inFlags & kDNSServiceFlagsAdd) != 0,
                  (inFlags & kDNSServiceFlagsMoreComing) != 0);
}

void KSNetServiceBrowswer::ListenToMsg(long inMsg, void* inParam1, void* inParam2) {
  bool moreComing = reinterpret_cast<intptr_t>(inParam2) != 0;
  switch (inMsg) {
    case kKSMsg_ServiceAdded:
      OnServiceChange(static_cast<const char*>(inParam1), kZCLocalDomain, true, moreComing);
      break;
    case kKSMsg_ServiceRemoved:
      OnServiceChange(static_cast<const char*>(inParam1), kZCLocalDomain, false, moreComing);
      break;
    case kKSMsg_ResolveComplete:
      OnResolveComplete(static_cast<KSNetServiceResolver*>(inParam1));
      break;
    default:
      break;
  }
}

void KSNetServiceBrowswer::OnResolveComplete(KSNetServiceResolver* inResolver) {
  UtilStr name;
  inResolver->GetServiceName(&name);
  bool found = false;
  bool listed = false;
  mServiceListMutex.Wait(-1);
  KSServiceInfo* info = mServiceStore.Find(name.getCStr());
  // A record made anew under the same name has a resolver of its own.
  if (info != nullptr && &info->mServiceResolver == inResolver) {
    found = true;
    KSNetAddr addr;
    unsigned long port = 0;
    if (inResolver->GetResolveServiceResults(&addr, &port) == 0) {
      info->mAddr = addr;
      info->mPort = static_cast<uint32>(port);
      KSTime::GetTime(&info->mTimeResolved, true);
    } else {
      info->mAddr.mType = ks_InvalidAddress;
    }
    if (info->IsResolved() && mServiceList.FindString(name.getCStr(), -1, false) == 0) {
      mServiceList.Add(name.getCStr(), name.length());
      listed = true;
    }
  }
  mServiceListMutex.Release();
  if (listed) {
    BroadcastMsg(kKSMsg_ServiceListChanged, this, nullptr);
  } else if (found) {
    BroadcastMsg(kKSMsg_ServiceResolved, this, const_cast<char*>(name.getCStr()));
  }
}
