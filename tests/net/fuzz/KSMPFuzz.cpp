// Feeds arbitrary bytes, as a peer would send them, to the packet reassembly
// and reads every packet the way a KSMP session does. Hostile sizes must end
// in an error code, never in a crash or a read past a payload.
//
// The first byte is not part of the stream: it picks the size of the pieces
// the stream arrives in (1 to 256 bytes), so that every way of splitting a
// packet across reads is reached.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "net/KSMPWire.h"
#include "net/KSPacketObj.h"
#include "net/KSPacketReceiver.h"

namespace {

volatile size_t gSink;

void ReadPacket(const KSPacket& inPacket, void*) {
  const uint8* header = inPacket.mHeader;
  // What a queued session keeps of the packet.
  KSPacketObj* copy = KSPacketObj::Copy(inPacket);
  if (copy) {
    gSink = strlen(reinterpret_cast<const char*>(copy->mPacket.mData));
    delete copy;
  }
  if (!KSMPWire::IsKnownMessage(header)) {
    return;
  }
  KSMPCookie cookie;
  KSMPWire::GetCookie(header, &cookie);
  gSink = KSMPWire::Ticket(header) + cookie.mData[31];
  if (KSMPWire::Kind(header) == kKSMPKind_SystemMsg) {
    KSMPSystemMsg msg;
    if (KSMPWire::UnpackSystemMsg(inPacket, &msg) == 0) {
      gSink = strlen(msg.mDesc) + strlen(msg.mData) + size_t(msg.mDescSize + msg.mDataSize);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  if (inSize < 1) {
    return 0;
  }
  size_t piece = size_t(inData[0]) + 1;
  KSPacketReceiver receiver;
  for (size_t at = 1; at < inSize; at += piece) {
    size_t n = inSize - at < piece ? inSize - at : piece;
    if (receiver.Feed(inData + at, int64(n), ReadPacket, nullptr) != 0) {
      break;
    }
  }
  return 0;
}
