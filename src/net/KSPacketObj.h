// A received packet kept beyond the call that delivered it, so that it can
// wait in an event queue.
#pragma once

#include <memory>

#include "foundation/KSObject.h"
#include "net/KSPacket.h"

class KSPacketObj : public KSObject {
 public:
  // A deep copy of inPacket, or null when memory for it runs out.
  static KSPacketObj* Copy(const KSPacket& inPacket);

  ~KSPacketObj() override;

  KSPacketObj(const KSPacketObj&) = delete;
  KSPacketObj& operator=(const KSPacketObj&) = delete;

  // mData points at mScrap or at a block of its own, and like a freshly
  // received packet's is followed by two zero bytes.
  KSPacket mPacket;

 private:
  KSPacketObj() = default;

  // Small payloads, the usual case, need no allocation of their own.
  uint8 mScrap[100];
  std::unique_ptr<uint8[]> mOwnedData;
};
