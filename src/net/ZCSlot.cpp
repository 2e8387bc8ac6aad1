#include "net/ZCSlot.h"

#include <cstring>

#include "foundation/KSMessages.h"
#include "foundation/UtilStr.h"

void ZCDecodeSlot(const void* inView, ZCService* outService) {
  std::memset(outService, 0, sizeof(ZCService));
  if (inView == nullptr) {
    return;
  }
  std::memcpy(outService, inView, sizeof(ZCService));
  // Never trust the publisher's terminators. The last byte of the address is
  // unused by numeric addresses.
  outService->mServiceName.mStr[sizeof(outService->mServiceName.mStr) - 1] = 0;
  outService->mAddr.u.mHostName[sizeof(outService->mAddr.u.mHostName) - 1] = 0;
}

void ZCCompareScan(ZCService* ioBefore, const ZCService* inNow, bool inForce,
                   std::vector<ZCChange>* outChanges) {
  for (int slot = 0; slot < kZCNumSlots; ++slot) {
    const ZCService& now = inNow[slot];
    ZCService& before = ioBefore[slot];
    bool changed = inForce || now.mSeed != before.mSeed ||
                   UtilStr::compare(now.mServiceName.mStr, before.mServiceName.mStr, false) != 0;
    if (!changed) {
      continue;
    }
    if (before.mServiceName.mStr[0] != 0) {
      outChanges->push_back({kKSMsg_ServiceRemoved, slot, before.mServiceName});
    }
    if (now.mServiceName.mStr[0] != 0) {
      outChanges->push_back({kKSMsg_ServiceAdded, slot, now.mServiceName});
    }
    before = now;
  }
}
