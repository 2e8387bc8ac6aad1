// The framing of packets on a TCP stream: the 64-byte header, the data size
// and the time stamp (both big-endian), then the data. Nothing else travels.
#pragma once

#include "net/KSPacket.h"

class KSPacketWire {
 public:
  // Bytes the packet takes on the wire.
  static int64 WireSize(const KSPacket& inPacket) {
    return int64(kKSPacketWireHeaderSize) + inPacket.mDataSize;
  }

  // Writes the 76 wire bytes that precede the packet's data.
  static void EncodeHeader(const KSPacket& inPacket, uint8* outWire);

  // Reads 76 wire bytes into outPacket's header, time stamp and data size
  // (mData is left alone). Returns the data size as sent, unsigned, so that a
  // hostile negative size shows up as a huge one to the caller's limit check.
  static uint32 DecodeHeader(const uint8* inWire, KSPacket* outPacket);

  // Copies up to inMax bytes of the packet's wire form, starting inOffset
  // bytes into it, to outBuf. Returns the number of bytes copied.
  static int32 CopyWireBytes(const KSPacket& inPacket, int64 inOffset, uint8* outBuf, int32 inMax);
};
