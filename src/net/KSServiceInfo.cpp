#include "net/KSServiceInfo.h"

#include <cstring>

KSServiceInfo::KSServiceInfo(const char* inName, const char* inDomain)
    : mServiceName(inName), mDomain(inDomain), mPort(0) {
  KSTime::GetTime(&mTimeDiscovered, true);
  mResolveStartTime.mDays = 0;
  mResolveStartTime.mSecs = 0;
  mTimeResolved = mResolveStartTime;
  std::memset(&mAddr, 0, sizeof(mAddr));
}

KSServiceStore::KSServiceStore() {
  mKeyParam = 1;  // keys ignore letter case
}

KSServiceStore::~KSServiceStore() {
  while (KSServiceInfo* info = TakeAny()) {
    delete info;
  }
}

KSServiceInfo* KSServiceStore::Put(KSServiceInfo* inInfo) {
  return static_cast<KSServiceInfo*>(put_str(
      inInfo->mServiceName.getCStr(), inInfo->mServiceName.length(), nullptr, inInfo, false));
}

KSServiceInfo* KSServiceStore::Find(const char* inName) const {
  void* value = nullptr;
  Get(inName, -1, nullptr, &value);
  return static_cast<KSServiceInfo*>(value);
}

KSServiceInfo* KSServiceStore::Take(const char* inName) {
  return static_cast<KSServiceInfo*>(Remove(inName, -1));
}

KSServiceInfo* KSServiceStore::TakeAny() {
  KSServiceInfo* info = static_cast<KSServiceInfo*>(GetNthValue(0));
  if (info != nullptr) {
    Remove(info->mServiceName.getCStr(), info->mServiceName.length());
  }
  return info;
}
