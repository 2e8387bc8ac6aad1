// A KSMP client for the simulator's tests, on a plain loopback socket and the
// project's own packet and KSMP codecs, so that a test controls every byte it
// sends and sees every byte it gets. All waits are bounded.
#pragma once

#include <winsock2.h>

#include <deque>
#include <string>

#include "net/KSMPWire.h"
#include "net/KSPacketReceiver.h"
#include "net/ToolbarSession.h"

struct ReceivedPacket {
  uint8 mHeader[kKSPacketHeaderSize];
  std::string mData;

  uint8 Kind() const { return KSMPWire::Kind(mHeader); }
  // Unpacks a system message; false for a malformed one.
  bool SystemMsg(long* outID, std::string* outDesc) const;
};

class SimTestClient {
 public:
  SimTestClient();
  ~SimTestClient();

  bool Connect(int inPort);
  void Disconnect();

  // A request with a script text. inCookieFill fills the cookie's 32 bytes.
  bool SendRequest(const std::string& inText, uint32 inTicket = 1, uint8 inFlags = kCommandFlags,
                   uint8 inCookieFill = 0xA5, bool inReplyWanted = true);
  bool SendRaw(const void* inBytes, size_t inSize);

  // The next packet of any kind.
  bool NextPacket(ReceivedPacket* outPacket, long inTimeoutMS = 10000);
  // The next reply; system messages on the way are kept for NextNotice.
  bool NextReply(ReceivedPacket* outPacket, long inTimeoutMS = 10000);
  // Sends a request and returns the payload of its reply ("?" when none came).
  std::string Ask(const std::string& inText);
  // The next system message, whether it came before a reply or not.
  bool NextNotice(long* outID, std::string* outDesc, long inTimeoutMS = 10000);

  // True when the server closed the connection within the time; any packet
  // arriving meanwhile is dropped. outMidPacket tells whether the stream
  // ended inside a packet.
  bool WaitForClose(long inTimeoutMS, bool* outMidPacket = nullptr);
  // The error the packet reader hit, if any (e.g. an oversize announcement).
  long StreamError() const { return mStreamError; }

 private:
  // Reads whatever arrives within the time into the queue; false at the end
  // of the stream or on an error.
  bool Pump(long inTimeoutMS);
  static void OnPacket(const KSPacket& inPacket, void* inClient);

  SOCKET mSocket;
  KSPacketReceiver mReceiver;
  std::deque<ReceivedPacket> mPackets;
  std::deque<ReceivedPacket> mNotices;
  long mStreamError;
  bool mEnded;
};
