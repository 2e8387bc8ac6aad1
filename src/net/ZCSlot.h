// A slot of the same-machine service registry (see KSZeroconf.h) as its
// readers see it: the bytes another process published, taken apart without
// trusting them, and the news one scan of all slots brings.
#pragma once

#include <vector>

#include "net/KSNetAddr.h"

struct KSCStr {
  char mStr[256];  // NUL-terminated
};

// One published service, and byte for byte the content of a shared slot.
struct ZCService {
  KSNetAddr mAddr;
  uint32 mPort;
  KSCStr mServiceName;
  int32 mSeed;  // change stamp: a new value means the slot was republished
};

static_assert(sizeof(ZCService) == 524, "ZCService is the layout of a shared slot");

constexpr int kZCNumSlots = 6;

// Copies a slot from its mapped view (sizeof(ZCService) bytes); a null view,
// a slot that nobody publishes, reads as an empty record. The slot comes from
// another process: the texts in the copy end within their fields, whatever
// the publisher wrote.
void ZCDecodeSlot(const void* inView, ZCService* outService);

// A service that appeared in a slot or left it.
struct ZCChange {
  long mMsg;  // kKSMsg_ServiceAdded or kKSMsg_ServiceRemoved
  int mSlot;
  KSCStr mName;
};

// Compares one scan of all slots (inNow) with the one before (ioBefore) and
// appends what changed to outChanges, in slot order, a slot's leaving name
// before its new one. A slot has changed when its stamp or its name (ignoring
// case) differs; inForce counts every slot as changed, so that each occupied
// one is announced. ioBefore becomes inNow.
void ZCCompareScan(ZCService* ioBefore, const ZCService* inNow, bool inForce,
                   std::vector<ZCChange>* outChanges);
