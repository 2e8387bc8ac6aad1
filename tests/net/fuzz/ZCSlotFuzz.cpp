// Feeds arbitrary bytes to the same-machine registry's reader as the slots
// other processes published, scan after scan, and checks the news it draws
// from them against a simple model: a slot's name is announced when it
// appears and withdrawn, exactly as announced, before another takes its place,
// and after every scan the announced names are those the slots hold (ignoring
// case). Names must end within their fields whatever the publisher wrote.
//
// Each scan takes one byte and then the bytes of its slots: bits 0 to 5 say
// which of the six slots are published (each takes the next 524 bytes, cut
// short and padded with zeros at the end of the input), bit 6 forces the scan
// as a browser's first scan is forced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/KSMessages.h"
#include "foundation/UtilStr.h"
#include "net/ZCSlot.h"

namespace {

void Check(bool inHolds) {
  if (!inHolds) {
    std::abort();
  }
}

bool EndsInField(const KSCStr& inName) {
  return std::memchr(inName.mStr, 0, sizeof(inName.mStr)) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  ZCService before[kZCNumSlots];
  std::memset(before, 0, sizeof(before));
  UtilStr announced[kZCNumSlots];

  size_t at = 0;
  while (at < inSize) {
    uint8_t flags = inData[at++];
    ZCService now[kZCNumSlots];
    for (int slot = 0; slot < kZCNumSlots; ++slot) {
      if (!(flags & (1 << slot))) {
        ZCDecodeSlot(nullptr, &now[slot]);
        continue;
      }
      // A view of exactly one slot, so that a read past it shows.
      std::vector<uint8_t> view(sizeof(ZCService), 0);
      size_t n = inSize - at < view.size() ? inSize - at : view.size();
      std::memcpy(view.data(), inData + at, n);
      at += n;
      ZCDecodeSlot(view.data(), &now[slot]);
      Check(EndsInField(now[slot].mServiceName));
      Check(std::memchr(now[slot].mAddr.u.mHostName, 0, sizeof(now[slot].mAddr.u.mHostName)));
    }

    std::vector<ZCChange> changes;
    ZCCompareScan(before, now, (flags & 0x40) != 0, &changes);
    int lastSlot = -1;
    for (const ZCChange& change : changes) {
      Check(change.mSlot >= lastSlot && change.mSlot < kZCNumSlots);
      Check(EndsInField(change.mName) && change.mName.mStr[0] != 0);
      lastSlot = change.mSlot;
      UtilStr& name = announced[change.mSlot];
      if (change.mMsg == kKSMsg_ServiceRemoved) {
        Check(name == change.mName.mStr);
        name.Clear();
      } else {
        Check(change.mMsg == kKSMsg_ServiceAdded && name.IsEmpty());
        name.Assign(change.mName.mStr);
      }
    }
    // A name that only changed case under the same stamp is the same service.
    for (int slot = 0; slot < kZCNumSlots; ++slot) {
      Check(announced[slot].Equals(now[slot].mServiceName.mStr, false));
    }
  }
  return 0;
}
