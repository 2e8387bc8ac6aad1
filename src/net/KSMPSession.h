// One KSMP session: requests with a ticket and a 32-byte cookie, replies that
// echo them, and numbered system messages, over a KSNet session.
//
// Every incoming message becomes a call of one of the event operations,
// which subclasses override. In queued mode those calls are not made on the
// network thread: the events wait in a queue until the owner calls
// DispatchIncoming on its own thread.
#pragma once

#include <atomic>

#include "foundation/KSEventQueue.h"
#include "foundation/KSMutex.h"
#include "foundation/KSObject.h"
#include "net/KSMPWire.h"
#include "net/KSNet.h"

enum KSSessionStatus : uint8 {
  ks_NotConnected = 0,
  ks_ConnectionPending = 1,
  ks_Connected = 2,
};

enum KSSessionType : uint8 {
  ks_NoConnection = 0,
  ks_NetworkConnection = 1,       // a KSNet TCP session
  ks_DirectConnection = 2,        // a peer session in the same process
  ks_InterprocessConnection = 4,  // not implemented
};

class KSMPSession;

struct KSDirectSessionInfo {
  KSMPSession* mSession;
  KSSessionMsgHandler mSessionHandler;
};

class KSMPSession : public KSObject {
 public:
  KSMPSession();
  ~KSMPSession() override;

  // Closes any current session and opens a network session, waiting until it
  // is connected or has failed. The open or failure event is handled before
  // this returns, queued mode or not.
  long OpenSession(long inPort, bool inQueueIncoming, const KSNetAddr& inAddr, long inTimeoutMS);
  // The same without waiting: the session is pending until its open or
  // failure event (in queued mode, handled by DispatchIncoming). What is sent
  // meanwhile waits for the connection.
  long OpenSessionAsync(long inPort, bool inQueueIncoming, const KSNetAddr& inAddr,
                        long inTimeoutMS);

  // Connects this session and ioPeer to each other in this process: what one
  // sends, the other receives at once, on the sender's thread.
  long OpenDirectSession(KSMPSession* ioPeer);

  virtual long CloseSession();
  virtual long SetSessionTimeout(long inTimeoutMS);

  // Sends a request. inLen below 0 means the text's own length; a null cookie
  // sends zeros. With outTicket the request asks for a reply and the ticket
  // comes back there; the ticket is used up even when sending fails. Tickets
  // are not locked: send requests from one thread.
  virtual long Send(const char* inData, long inLen, unsigned char inFlags,
                    const KSMPCookie* inCookie, unsigned long* outTicket);

  virtual long SendSystemMsg(long inMsgID, const KSBuf& inDesc, const KSBuf& inData,
                             unsigned char inFlags);

  // Answers the request whose 64-byte header is given; the reply carries its
  // ticket, flags and cookie. inLen below 0 means the text's own length.
  virtual long SendReply(const uint8* inRequestHeader, const char* inData, long inLen);

  // Handles the queued events on the calling thread; with inMaxMS above 0,
  // only for about that long. True when events were left waiting.
  bool DispatchIncoming(unsigned long inMaxMS = 0);

  KSSessionStatus GetSessionStatus() const { return mSessionStatus; }

  // How the last session ended: 0 for an orderly close by either side, else
  // the error that ended it (valid from OnSessionClosed on).
  long LastCloseResult() const { return mLastCloseResult; }

 protected:
  virtual void OnSessionOpened() {}
  virtual void OnSessionOpenFailed() {}
  virtual void OnSessionClosed() {}
  // Answers a request that wants a reply with an empty one.
  virtual void OnReceivedProcessRequest(const uint8* inHeader, const KSBuf& inRequest);
  virtual void OnProcessComplete(const KSBuf& /*inReply*/, unsigned char /*inFlags*/,
                                 const KSMPCookie& /*inCookie*/, unsigned long /*inTicket*/) {}
  virtual void OnReceivedSystemMsg(const KSMPSystemMsg& /*inMsg*/, unsigned char /*inFlags*/) {}
  // Queued mode: an event was just queued (on the network thread). The
  // owner may use it to wake the thread that drains the queue.
  virtual void OnIncomingQueued() {}

 private:
  static long KSNetSessionMsgHandler(KSSessionRef inSessionRef, long inMsg, intptr_t inParam1,
                                     intptr_t inParam2, void* inUserParam);
  void HandleSessionMsg(long inMsg, long inResult, const KSPacket* inPacket, bool inQueue);
  void OnReceivedPacket(const KSPacket& inPacket);
  long SendPacket(const KSPacket& inPacket);
  // The oldest queued session event, its result code and its packet copy
  // (null for none), which the caller then owns; false when the queue is empty.
  bool TakeIncoming(long* outMsg, long* outResult, KSObject** outPacket);
  void ClearIncoming();

  unsigned long mNextTicketToIssue;
  std::atomic<KSSessionStatus> mSessionStatus;
  KSSessionType mSessionType;
  KSDirectSessionInfo mDirectSession;
  KSSessionRef mSessionRef;
  bool mQueueIncoming;
  long mLastCloseResult;
  KSEventQueue mIncomingQueue;
  KSMutex mIncomingQueueMutex;
  // The events in mIncomingQueue, changed under mIncomingQueueMutex: the
  // window thread's idle ticks read it without the lock.
  std::atomic<long> mIncomingCount;
};
