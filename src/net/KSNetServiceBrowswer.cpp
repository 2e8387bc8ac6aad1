#include "net/KSNetServiceBrowswer.h"

#include <cstdint>
#include <memory>
#include <utility>

#include "foundation/KSError.h"
#include "foundation/KSMessages.h"

KSNetServiceBrowswer::KSNetServiceBrowswer()
    : mBrowser(nullptr),
      mServicesMustResolve(false),
      mServiceList(kStrSorted_CaseInsensitive, kStrNoDupes_CaseInsensitive) {}

KSNetServiceBrowswer::~KSNetServiceBrowswer() {
  StopBrowsing();
  {
    KSMutexHold hold(mServiceListMutex);
    mServiceList.RemoveAll();
  }
  while (std::unique_ptr<KSServiceInfo> info = TakeAnyRecord()) {
    DisposeRecord(std::move(info));
  }
}

std::unique_ptr<KSServiceInfo> KSNetServiceBrowswer::TakeAnyRecord() {
  KSMutexHold hold(mServiceListMutex);
  return mServiceStore.TakeAny();
}

// Called without the list lock: a record's resolver may first have to wait
// for an answer that is being delivered to us, and that delivery takes it.
void KSNetServiceBrowswer::DisposeRecord(std::unique_ptr<KSServiceInfo> inInfo) {
  if (inInfo == nullptr) {
    return;
  }
  inInfo->mServiceResolver.CancelResolve();
  {
    // Our list of broadcasters is also changed by ResolveService, under the lock.
    KSMutexHold hold(mServiceListMutex);
    inInfo->mServiceResolver.RemoveListener(this);
  }
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

void KSNetServiceBrowswer::Rescan() {
  if (mBrowser != nullptr) {
    UtilStr type = mBrowseServiceType;
    UtilStr domain = mBrowseDomain;
    StartBrowsing(type.getCStr(), domain.getCStr());
  } else {
    mZC.Rescan();
  }
}

bool KSNetServiceBrowswer::GetServiceName(int inIndex, UtilStr* outName) {
  // A copy of its own: string storage shared with our list would have its
  // count changed on two threads.
  KSMutexHold hold(mServiceListMutex);
  const UtilStr* name = mServiceList.Fetch(inIndex);
  if (name == nullptr) {
    outName->Clear();
    return false;
  }
  outName->Assign(name->getCStr(), name->length());
  return true;
}

bool KSNetServiceBrowswer::GetDomainForService(const UtilStr& inName, UtilStr* outDomain) {
  KSMutexHold hold(mServiceListMutex);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  if (info != nullptr && outDomain != nullptr) {
    outDomain->Assign(info->mDomain.getCStr(), info->mDomain.length());
  }
  return info != nullptr;
}

bool KSNetServiceBrowswer::GetServiceAddr(const UtilStr& inName, KSNetAddr* outAddr,
                                          unsigned long* outPort, KSTime* outTimeResolved) {
  KSMutexHold hold(mServiceListMutex);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  if (info == nullptr || !info->IsResolved()) {
    return false;
  }
  if (outAddr != nullptr) {
    *outAddr = info->mAddr;
  }
  if (outPort != nullptr) {
    *outPort = info->mPort;
  }
  if (outTimeResolved != nullptr) {
    *outTimeResolved = info->mTimeResolved;
  }
  return true;
}

long KSNetServiceBrowswer::ResolveService(const UtilStr& inName, long inMaxAgeSecs, long inTimeout,
                                          bool inAsync) {
  // Held throughout, also while a synchronous resolve waits: the record must
  // not go away under it. The resolver's completion, reported on this thread,
  // takes the lock again.
  KSMutexHold hold(mServiceListMutex);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  if (info == nullptr) {
    return kKSErr_FileNotFound;
  }
  KSTime now;
  KSTime::GetTime(&now, true);
  if (info->IsResolved() && KSTime::Diff(now, info->mTimeResolved) < inMaxAgeSecs) {
    return 0;
  }
  info->mServiceResolver.AddListener(this);
  info->mResolveStartTime = now;
  long result = info->mServiceResolver.ResolveService(inName, mBrowseServiceType.getCStr(),
                                                      info->mDomain.getCStr(), inTimeout, inAsync);
  if (result == kKSErr_Internal && info->IsResolved()) {
    // No answer this time; the engine is most likely still where it was.
    info->mTimeResolved = info->mResolveStartTime;
    result = 0;
  }
  return result;
}

void KSNetServiceBrowswer::OnServiceChange(const char* inName, const char* inDomain, bool inAdded,
                                           bool inMoreComing) {
  DisposeRecord(inAdded ? AddRecord(inName, inDomain) : RemoveRecord(inName));
  if (!inMoreComing) {
    BroadcastMsg(kKSMsg_ServiceListChanged, this, nullptr);
  }
}

std::unique_ptr<KSServiceInfo> KSNetServiceBrowswer::AddRecord(const char* inName,
                                                               const char* inDomain) {
  KSMutexHold hold(mServiceListMutex);
  std::unique_ptr<KSServiceInfo> replaced =
      mServiceStore.Put(std::make_unique<KSServiceInfo>(inName, inDomain));
  if (!mServicesMustResolve) {
    mServiceList.Add(inName);
  }
  return replaced;
}

std::unique_ptr<KSServiceInfo> KSNetServiceBrowswer::RemoveRecord(const char* inName) {
  KSMutexHold hold(mServiceListMutex);
  long index = mServiceList.FindString(inName, -1, false);
  if (index != 0) {
    mServiceList.RemoveElement(index);
  }
  return mServiceStore.Take(inName);
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
  bool listed = false;
  if (!StoreResolveResult(name, inResolver, &listed)) {
    return;
  }
  if (listed) {
    BroadcastMsg(kKSMsg_ServiceListChanged, this, nullptr);
  } else {
    BroadcastMsg(kKSMsg_ServiceResolved, this, const_cast<char*>(name.getCStr()));
  }
}

bool KSNetServiceBrowswer::StoreResolveResult(const UtilStr& inName,
                                              KSNetServiceResolver* inResolver, bool* outListed) {
  KSMutexHold hold(mServiceListMutex);
  KSServiceInfo* info = mServiceStore.Find(inName.getCStr());
  // A record made anew under the same name has a resolver of its own.
  if (info == nullptr || &info->mServiceResolver != inResolver) {
    return false;
  }
  KSNetAddr addr;
  unsigned long port = 0;
  if (inResolver->GetResolveServiceResults(&addr, &port) == 0) {
    info->mAddr = addr;
    info->mPort = static_cast<uint32>(port);
    KSTime::GetTime(&info->mTimeResolved, true);
  } else {
    info->mAddr.mType = ks_InvalidAddress;
  }
  if (info->IsResolved() && mServiceList.FindString(inName.getCStr(), -1, false) == 0) {
    mServiceList.Add(inName.getCStr(), inName.length());
    *outListed = true;
  }
  return true;
}
