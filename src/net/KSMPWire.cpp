#include "net/KSMPWire.h"

#include <climits>
#include <cstring>

#include "foundation/KSError.h"
#include "net/KSByteOrder.h"

void KSMPWire::BuildHeader(uint8* outHeader, KSMPKind inKind, uint8 inFlags, uint32 inTicket,
                           bool inReplyWanted, const KSMPCookie* inCookie) {
  memset(outHeader, 0, kKSPacketHeaderSize);
  outHeader[0] = kKSMPVersion;
  outHeader[1] = inKind;
  outHeader[2] = inFlags;
  KSPutLE32(inTicket, outHeader + 4);
  outHeader[8] = inReplyWanted ? 1 : 0;
  if (inCookie) {
    memcpy(outHeader + 16, inCookie->mData, sizeof(inCookie->mData));
  }
}

void KSMPWire::BuildReplyHeader(const uint8* inRequestHeader, uint8* outReplyHeader) {
  memmove(outReplyHeader, inRequestHeader, kKSPacketHeaderSize);
  outReplyHeader[0] = kKSMPVersion;
  outReplyHeader[1] = kKSMPKind_Reply;
  outReplyHeader[8] = 0;
}

bool KSMPWire::IsKnownMessage(const uint8* inHeader) {
  uint8 kind = Kind(inHeader);
  return Version(inHeader) == kKSMPVersion && kind >= kKSMPKind_Request && kind <= kKSMPKind_Reply;
}

uint32 KSMPWire::Ticket(const uint8* inHeader) {
  return KSGetLE32(inHeader + 4);
}

void KSMPWire::GetCookie(const uint8* inHeader, KSMPCookie* outCookie) {
  memcpy(outCookie->mData, inHeader + 16, sizeof(outCookie->mData));
}

int32 KSMPWire::SystemMsgSize(int32 inDescSize, int32 inDataSize) {
  if (inDescSize < 0 || inDataSize < 0) {
    return -1;
  }
  int64 size = int64(inDescSize) + inDataSize + kKSMPSystemMsgOverhead;
  return size > INT32_MAX ? -1 : int32(size);
}

void KSMPWire::PackSystemMsg(int32 inMsgID, const KSBuf& inDesc, const KSBuf& inData,
                             uint8* outPayload) {
  int32 descSize = inDesc.mNumBytes;
  int32 dataSize = inData.mNumBytes;
  KSPutBE32(uint32(inMsgID), outPayload);
  KSPutBE32(uint32(descSize), outPayload + 4);
  KSPutBE32(uint32(dataSize), outPayload + 8);
  KSPutBE32(0, outPayload + 12);

  uint8* p = outPayload + kKSMPSystemMsgPrefixSize;
  if (descSize > 0) {
    memcpy(p, inDesc.mData, size_t(descSize));
  }
  p[descSize] = 0;
  p += descSize + 1;
  if (dataSize > 0) {
    memcpy(p, inData.mData, size_t(dataSize));
  }
  p[dataSize] = 0;
  memset(p + dataSize + 1, 0, 8);
}

long KSMPWire::UnpackSystemMsg(const KSPacket& inPacket, KSMPSystemMsg* outMsg) {
  int64 payloadSize = inPacket.mDataSize;
  if (payloadSize < kKSMPSystemMsgPrefixSize) {
    return kKSErr_FailedCheck;
  }
  const uint8* payload = inPacket.mData;
  int32 descSize = int32(KSGetBE32(payload + 4));
  int32 dataSize = int32(KSGetBE32(payload + 8));
  // Both texts and their terminators must lie inside the payload; the padding
  // after them may be missing.
  if (descSize < 0 || dataSize < 0 ||
      int64(kKSMPSystemMsgPrefixSize) + descSize + dataSize + 2 > payloadSize) {
    return kKSErr_FailedCheck;
  }
  const char* desc = reinterpret_cast<const char*>(payload + kKSMPSystemMsgPrefixSize);
  const char* data = desc + descSize + 1;
  if (desc[descSize] != 0 || data[dataSize] != 0) {
    return kKSErr_FailedCheck;
  }

  outMsg->mTimeStamp = inPacket.mTimeSent;
  outMsg->mMsgID = int32(KSGetBE32(payload));
  outMsg->mDesc = desc;
  outMsg->mDescSize = descSize;
  outMsg->mReserved = int32(KSGetBE32(payload + 12));
  outMsg->mData = data;
  outMsg->mDataSize = dataSize;
  return 0;
}
