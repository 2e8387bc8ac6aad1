#include "net/KSPacketWire.h"

#include <cstring>

#include "net/KSByteOrder.h"

void KSPacketWire::EncodeHeader(const KSPacket& inPacket, uint8* outWire) {
  memcpy(outWire, inPacket.mHeader, kKSPacketHeaderSize);
  KSPutBE32(uint32(inPacket.mDataSize), outWire + 64);
  KSPutBE32(uint32(inPacket.mTimeSent.mDays), outWire + 68);
  KSPutBE32(uint32(inPacket.mTimeSent.mSecs), outWire + 72);
}

uint32 KSPacketWire::DecodeHeader(const uint8* inWire, KSPacket* outPacket) {
  uint32 dataSize = KSGetBE32(inWire + 64);
  memcpy(outPacket->mHeader, inWire, kKSPacketHeaderSize);
  outPacket->mDataSize = int32(dataSize);
  outPacket->mTimeSent.mDays = int32(KSGetBE32(inWire + 68));
  outPacket->mTimeSent.mSecs = int32(KSGetBE32(inWire + 72));
  return dataSize;
}

int32 KSPacketWire::CopyWireBytes(const KSPacket& inPacket, int64 inOffset, uint8* outBuf,
                                  int32 inMax) {
  int32 copied = 0;
  if (inOffset < kKSPacketWireHeaderSize && inMax > 0) {
    uint8 wireHeader[kKSPacketWireHeaderSize];
    EncodeHeader(inPacket, wireHeader);
    int64 n = kKSPacketWireHeaderSize - inOffset;
    if (n > inMax) {
      n = inMax;
    }
    memcpy(outBuf, wireHeader + inOffset, size_t(n));
    copied = int32(n);
    inOffset += n;
  }
  int64 dataOffset = inOffset - kKSPacketWireHeaderSize;
  int64 n = int64(inPacket.mDataSize) - dataOffset;
  if (n > inMax - copied) {
    n = inMax - copied;
  }
  if (n > 0) {
    memcpy(outBuf + copied, inPacket.mData + dataOffset, size_t(n));
    copied += int32(n);
  }
  return copied;
}
