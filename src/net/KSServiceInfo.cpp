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

// Every record still stored goes with the store.
KSServiceStore::~KSServiceStore() {
  while (TakeAny() != nullptr) {
  }
}

std::unique_ptr<KSServiceInfo> KSServiceStore::Put(std::unique_ptr<KSServiceInfo> inInfo) {
  KSServiceInfo* info = inInfo.release();
  return std::unique_ptr<KSServiceInfo>(static_cast<KSServiceInfo*>(
      put_str(info->mServiceName.getCStr(), info->mServiceName.length(), nullptr, info, false)));
}

KSServiceInfo* KSServiceStore::Find(const char* inName) const {
  void* value = nullptr;
  Get(inName, -1, nullptr, &value);
  return static_cast<KSServiceInfo*>(value);
}

std::unique_ptr<KSServiceInfo> KSServiceStore::Take(const char* inName) {
  return std::unique_ptr<KSServiceInfo>(static_cast<KSServiceInfo*>(Remove(inName, -1)));
}

std::unique_ptr<KSServiceInfo> KSServiceStore::TakeAny() {
  KSServiceInfo* info = static_cast<KSServiceInfo*>(GetNthValue(0));
  if (info != nullptr) {
    Remove(info->mServiceName.getCStr(), info->mServiceName.length());
  }
  return std::unique_ptr<KSServiceInfo>(info);
}
