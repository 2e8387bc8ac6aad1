// One client connection: a thread that reads KSMP requests from the socket,
// has the server run them and sends the replies, and a locked send path
// through which any thread may also send notifications.
//
// Everything sent goes through one outgoing buffer, in the order it was
// sent. While the thread works through the requests of one read, the
// replies (and any notifications meanwhile) collect there and leave in one
// send when the read is done; at any other time a packet leaves at once.
//
// The misbehaviours of SimOptions that concern single connections are done
// here: silence, late replies, a reply cut in half, an oversize announcement.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <deque>
#include <vector>

#include "engine-sim/SimOptions.h"
#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"
#include "net/KSPacket.h"
#include "net/KSSocket.h"

class SimServer;

class SimClient {
 public:
  SimClient(SimServer* inServer, KSSocket inSocket, long inID);
  // Closes the connection and waits for the thread.
  ~SimClient();

  SimClient(const SimClient&) = delete;
  SimClient& operator=(const SimClient&) = delete;

  long Start();

  long ID() const { return mID; }
  int64 OpenedMS() const { return mOpenedMS; }
  // True once the connection has ended and the thread is done with it.
  bool IsFinished() const { return mFinished; }

  // Ends the connection; the thread notices and ends.
  void Close();
  bool IsClosing() const { return mClosing; }

  // A system message with a description and an empty data text.
  void SendSystemMsg(long inMsgID, const UtilStr& inDesc);
  // A system message whose sizes announce more text than it carries.
  void SendMalformedSystemMsg();

 private:
  static DWORD WINAPI ThreadProc(void* inClient);
  void ReadLoop();
  static void OnPacket(const KSPacket& inPacket, void* inClient);
  void HandleRequest(const KSPacket& inPacket);
  void Reply(const uint8* inRequestHeader, const UtilStr& inReply);
  // Sends the held-back replies whose time has come.
  void ReplyWhenDue();
  // Sends a whole packet, or its first inCutAt wire bytes when inCutAt >= 0.
  bool SendPacket(const uint8* inHeader, const char* inData, int32 inLen, int32 inCutAt = -1);
  // Appends wire bytes to the outgoing buffer and, unless a batch is being
  // collected, sends it. False when the connection can take nothing more.
  bool SendWire(const char* inWire, int32 inLen);
  // Collects what is sent from now on; EndBatch sends it in one go.
  void BeginBatch();
  void EndBatch();
  // Sends the outgoing buffer; the send lock is held.
  bool FlushLocked();
  void OnSendFailed();

  SimServer* mServer;
  const SimOptions& mOptions;
  KSSocket mSocket;
  long mID;
  int64 mOpenedMS;
  KSHandle mThread;
  KSMutex mSendLock;            // guards the fields below and the socket's sending
  std::vector<char> mOutgoing;  // wire bytes not yet sent
  bool mBatching;               // the thread is collecting the replies of one read
  std::atomic<bool> mBroken;    // nothing more is sent on this connection
  std::atomic<bool> mClosing;
  std::atomic<bool> mFinished;
  long mRepliesSent;  // by the thread only

  // A reply held back by --reply-delay (by the thread only).
  struct LateReply {
    ULONGLONG mDueMS;
    uint8 mHeader[kKSPacketHeaderSize];
    UtilStr mReply;
  };
  std::deque<LateReply> mLateReplies;
};
