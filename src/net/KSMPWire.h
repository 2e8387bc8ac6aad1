// The KSMP message layout inside a packet: the 64-byte header of every
// message and the payload of a system message. Both ends of a session use
// these, so they take no side: the toolbar and a peer speaking for the engine
// build and read messages the same way.
//
// Header (64 bytes):
//   0      version, always 2
//   1      kind: 1 request, 2 system message, 3 reply
//   2      flags byte chosen by the requester, echoed by the reply
//   4..7   ticket, little-endian
//   8      1 when the requester expects a reply
//   16..47 the requester's cookie, echoed by the reply
//   all other bytes 0
//
// System message payload: message ID, description size D, data size T and a
// reserved word (each 32-bit big-endian), the description and a 0, the data
// and a 0, then 8 bytes of padding.
#pragma once

#include "foundation/KSTime.h"
#include "net/KSPacket.h"

constexpr uint8 kKSMPVersion = 2;

enum KSMPKind : uint8 {
  kKSMPKind_Request = 1,    // a process request
  kKSMPKind_SystemMsg = 2,  // a numbered notification
  kKSMPKind_Reply = 3,      // a process complete
};

constexpr int32 kKSMPSystemMsgPrefixSize = 16;
// The prefix, the two terminating zeros and the padding.
constexpr int32 kKSMPSystemMsgOverhead = 26;

// Opaque routing data chosen by the requester and echoed in the reply.
struct KSMPCookie {
  uint8 mData[32];
};

// An unpacked system message. The texts point into the packet they came from.
struct KSMPSystemMsg {
  KSTime mTimeStamp;
  int32 mMsgID;
  const char* mDesc;  // NUL-terminated
  int32 mDescSize;    // without the NUL
  int32 mReserved;
  const char* mData;  // NUL-terminated
  int32 mDataSize;    // without the NUL
};

class KSMPWire {
 public:
  // Fills a header for an outgoing request (or system message: ticket 0, no
  // reply wanted). A null cookie sends zeros.
  static void BuildHeader(uint8* outHeader, KSMPKind inKind, uint8 inFlags, uint32 inTicket,
                          bool inReplyWanted, const KSMPCookie* inCookie);

  // The header of the reply to a request: only the version, the kind and the
  // reply-wanted byte change, so ticket, flags and cookie travel back as sent.
  static void BuildReplyHeader(const uint8* inRequestHeader, uint8* outReplyHeader);

  // True for a header this side understands: version 2 and a known kind.
  static bool IsKnownMessage(const uint8* inHeader);

  static uint8 Version(const uint8* inHeader) { return inHeader[0]; }
  static uint8 Kind(const uint8* inHeader) { return inHeader[1]; }
  static uint8 Flags(const uint8* inHeader) { return inHeader[2]; }
  static uint32 Ticket(const uint8* inHeader);
  static bool ReplyWanted(const uint8* inHeader) { return inHeader[8] != 0; }
  static void GetCookie(const uint8* inHeader, KSMPCookie* outCookie);

  // Payload size of a system message with these text sizes, or -1 when the
  // sizes are negative or the message would not fit a packet.
  static int32 SystemMsgSize(int32 inDescSize, int32 inDataSize);

  // Writes a system message payload of SystemMsgSize bytes to outPayload.
  static void PackSystemMsg(int32 inMsgID, const KSBuf& inDesc, const KSBuf& inData,
                            uint8* outPayload);

  // Reads the system message in a packet's payload. Returns kKSErr_FailedCheck
  // when the sizes it announces do not fit the payload, or a text lacks its
  // terminating zero.
  static long UnpackSystemMsg(const KSPacket& inPacket, KSMPSystemMsg* outMsg);
};
