// Outgoing TCP sessions that carry whole packets, and address helpers.
//
// Each session runs on a worker thread of its own. The caller holds a session
// reference, queues packets with Send and learns about the session through a
// handler function, which is always called on the session thread while the
// session's lock is held: a handler must not call back into a blocking KSNet
// operation on its own session. Every session ends with exactly one
// kKSNetMsg_SesC (after kKSNetMsg_SesO was reported) or kKSNetMsg_SesF.
#pragma once

#include <cstdint>

#include "foundation/KSTypes.h"
#include "net/KSNetAddr.h"
#include "net/KSPacket.h"

// The address of the session's job; valid until the owner closes it.
typedef uintptr_t KSSessionRef;

typedef long (*KSSessionMsgHandler)(KSSessionRef inSessionRef, long inMsg, intptr_t inParam1,
                                    intptr_t inParam2, void* inUserParam);

// The connection is established. inParam1: the peer's const KSNetAddr*;
// inParam2: the peer's port.
constexpr long kKSNetMsg_SesO = KSFourCC("SesO");
// A whole packet arrived. inParam1: the const KSPacket*, valid only during
// the call; its data is followed by two zero bytes.
constexpr long kKSNetMsg_Recv = KSFourCC("Recv");
// The session ended after it had opened. inParam1: the session's result code.
constexpr long kKSNetMsg_SesC = KSFourCC("SesC");
// The session ended without ever opening. inParam1: the session's result code.
constexpr long kKSNetMsg_SesF = KSFourCC("SesF");

// OpenSession flags.
constexpr unsigned long kKSNetOpen_Async = 1;   // return before the connection is made
constexpr unsigned long kKSNetOpen_Listen = 2;  // not offered
// CloseSession flags.
constexpr unsigned long kKSNetClose_Async = 1;  // return without waiting for the thread

class KSNet {
 public:
  // Reference-counted start and stop of the socket library; every successful
  // or failed Startup is matched by one Shutdown.
  static long Startup();
  static long Shutdown();

  // Opens a session to an IPv4 or IPv6 address, this machine (127.0.0.1) or a
  // host name (looked up first). Without kKSNetOpen_Async it waits until the
  // connection is made or has failed. inTimeoutMS is the idle limit: a session
  // that sees no network event, no new packet and no close request for that
  // long ends with kKSErr_Timeout.
  static long OpenSession(const KSNetAddr& inAddr, long inPort, long inTimeoutMS,
                          unsigned long inFlags, KSSessionMsgHandler inHandler, void* inUserParam,
                          KSSessionRef* outSessionRef);

  // Queues a copy of the packet, waiting while the queue is full (at most the
  // session's time-out).
  static long Send(KSSessionRef inSessionRef, const KSPacket& inPacket);

  // Queues a copy of the packet; a full queue gives kKSErr_SendQueueFull.
  static long SendNoWait(KSSessionRef inSessionRef, const KSPacket& inPacket);

  // Ends the session and gives up the caller's reference. Synchronously (the
  // default) it waits for the session thread to end and returns the session's
  // result code.
  static long CloseSession(KSSessionRef inSessionRef, unsigned long inFlags);

  static long SetSessionTimeout(KSSessionRef inSessionRef, long inTimeoutMS);

  // Converts an address to another kind, blocking until done (name look-ups
  // run on a thread of their own).
  static long TranslateAddrSync(const KSNetAddr& inAddr, KSNetAddrType inDestType,
                                KSNetAddr* outAddr);

  // The protocols found by Startup.
  static bool IsIP4();
  static bool IsIP6();
};

// The conversions that need no name service. True, with outAddr->mType set to
// inDestType, on success.
bool TranslateAddr_Trivial(const KSNetAddr& inAddr, KSNetAddrType inDestType, KSNetAddr* outAddr);

// True when the address is one of this machine's.
bool IsAddrLocal(const KSNetAddr& inAddr);

// Writes this machine's addresses, and its host name when there is room, to
// outAddrs. Returns the number written; 0 when the host cannot be looked up.
long DiscoverLocalAddrs(KSNetAddr* outAddrs, long inMaxCount);

// Looks a name up as an IPv6 address.
long ResolveIP6(const char* inName, uint8* outAddr16);
