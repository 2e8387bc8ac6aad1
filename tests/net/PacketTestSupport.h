// Packets, cookies and system messages for the wire and session tests.
#pragma once

#include <string>
#include <vector>

#include "net/KSMPWire.h"
#include "net/KSPacket.h"

// A packet whose header bytes and send time all follow from inTag; its data
// are inData's bytes, which must outlive it.
inline KSPacket MakePacket(uint8 inTag, const std::string& inData) {
  KSPacket p;
  for (int i = 0; i < kKSPacketHeaderSize; i++) {
    p.mHeader[i] = uint8(inTag + i);
  }
  p.mTimeSent.mDays = 45000 + inTag;
  p.mTimeSent.mSecs = 86399 - inTag;
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return p;
}

inline KSMPCookie MakeCookie(uint8 inSeed) {
  KSMPCookie cookie;
  for (int i = 0; i < 32; i++) {
    cookie.mData[i] = uint8(inSeed + i * 3);
  }
  return cookie;
}

// The payload of a system message; the padding after the texts is 0xEE.
inline std::vector<uint8> SystemMsg(int32 inID, const std::string& inDesc,
                                    const std::string& inData) {
  KSBuf desc = {inDesc.data(), int32(inDesc.size())};
  KSBuf data = {inData.data(), int32(inData.size())};
  std::vector<uint8> payload(size_t(KSMPWire::SystemMsgSize(desc.mNumBytes, data.mNumBytes)), 0xEE);
  KSMPWire::PackSystemMsg(inID, desc, data, payload.data());
  return payload;
}
