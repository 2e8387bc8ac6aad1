// A KSMP client for the simulator's tests: a loopback peer connected to the
// simulator, with requests made by the project's own KSMP codec, so that a
// test controls every byte it sends and sees every packet it gets. All waits
// are bounded.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "net/KSMPWire.h"
#include "net/ToolbarSession.h"
#include "support/LoopbackPeer.h"

struct ReceivedPacket {
  KSPacket mPacket = {};
  std::string mData;

  const uint8* Header() const { return mPacket.mHeader; }
  uint8 Kind() const { return KSMPWire::Kind(mPacket.mHeader); }
  // Unpacks a system message; false for a malformed one.
  bool SystemMsg(long* outID, std::string* outDesc) const {
    KSPacket packet = mPacket;
    // The unpacker reads the two zero bytes every received payload carries.
    std::string payload = mData + std::string(2, '\0');
    packet.mData = reinterpret_cast<const uint8*>(payload.data());
    KSMPSystemMsg msg;
    if (KSMPWire::UnpackSystemMsg(packet, &msg) != 0) {
      return false;
    }
    *outID = msg.mMsgID;
    outDesc->assign(msg.mDesc, size_t(msg.mDescSize));
    return true;
  }
};

class SimTestClient {
 public:
  bool Connect(int inPort) { return mPeer.Connect(inPort); }

  // The wire form of a request with a script text; inCookieFill fills the
  // cookie, whose first byte is the ticket's so that no two requests share one.
  static std::vector<uint8> Request(const std::string& inText, uint32 inTicket = 1,
                                    uint8 inFlags = kCommandFlags, uint8 inCookieFill = 0xA5,
                                    bool inReplyWanted = true) {
    KSMPCookie cookie;
    std::memset(cookie.mData, inCookieFill, sizeof(cookie.mData));
    cookie.mData[0] = uint8(inTicket);
    KSPacket packet = {};
    KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, inFlags, inTicket, inReplyWanted,
                          &cookie);
    packet.mDataSize = int32(inText.size());
    packet.mData = reinterpret_cast<const uint8*>(inText.data());
    return WireBytes(packet);
  }
  bool SendRequest(const std::string& inText, uint32 inTicket = 1, uint8 inFlags = kCommandFlags,
                   uint8 inCookieFill = 0xA5, bool inReplyWanted = true) {
    return mPeer.SendBytes(Request(inText, inTicket, inFlags, inCookieFill, inReplyWanted));
  }
  bool SendRaw(const void* inBytes, size_t inSize) { return mPeer.SendBytes(inBytes, inSize); }

  // The next packet of any kind.
  bool NextPacket(ReceivedPacket* outPacket, int inTimeoutMS = 10000) {
    return mPeer.RecvPacket(&outPacket->mPacket, &outPacket->mData, inTimeoutMS);
  }
  // The next reply; system messages on the way are kept for NextNotice.
  bool NextReply(ReceivedPacket* outPacket, int inTimeoutMS = 10000) {
    while (NextPacket(outPacket, inTimeoutMS)) {
      if (outPacket->Kind() != kKSMPKind_SystemMsg) {
        return true;
      }
      mNotices.push_back(*outPacket);
    }
    return false;
  }
  // Sends a request and returns the payload of its reply ("?" when none came).
  std::string Ask(const std::string& inText) {
    ReceivedPacket reply;
    return SendRequest(inText) && NextReply(&reply) ? reply.mData : "?";
  }
  // The next system message, whether it came before a reply or not.
  bool NextNotice(long* outID, std::string* outDesc, int inTimeoutMS = 10000) {
    ReceivedPacket packet;
    for (;;) {
      if (!mNotices.empty()) {
        packet = mNotices.front();
        mNotices.pop_front();
      } else if (!NextPacket(&packet, inTimeoutMS)) {
        return false;
      }
      if (packet.Kind() == kKSMPKind_SystemMsg) {
        return packet.SystemMsg(outID, outDesc);
      }
    }
  }
  // True when the simulator closed the connection within the time.
  bool WaitForClose(int inTimeoutMS) { return mPeer.WaitForEndOfStream(inTimeoutMS); }

 private:
  LoopbackPeer mPeer;
  std::deque<ReceivedPacket> mNotices;
};
