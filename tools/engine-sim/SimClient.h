// One client connection: a thread that reads KSMP requests from the socket,
// has the server run them and sends the replies, and a locked send path
// through which any thread may also send notifications.
//
// The misbehaviours of SimOptions that concern single connections are done
// here: silence, late replies, a reply cut in half, an oversize announcement.
#pragma once

#include <winsock2.h>

#include <atomic>

#include "engine-sim/SimOptions.h"
#include "foundation/KSMutex.h"
#include "net/KSPacket.h"

class SimServer;

class SimClient {
 public:
  SimClient(SimServer* inServer, SOCKET inSocket, long inID);
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
  // Sends a whole packet, or its first inCutAt wire bytes when inCutAt >= 0.
  bool SendPacket(const uint8* inHeader, const char* inData, int32 inLen, int32 inCutAt = -1);

  SimServer* mServer;
  const SimOptions& mOptions;
  SOCKET mSocket;
  long mID;
  int64 mOpenedMS;
  HANDLE mThread;
  KSMutex mSendMutex;
  std::atomic<bool> mBroken;  // nothing more is sent on this connection
  std::atomic<bool> mClosing;
  std::atomic<bool> mFinished;
  long mRepliesSent;  // by the thread only
};
