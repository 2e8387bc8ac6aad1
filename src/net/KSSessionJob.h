// One outgoing TCP session and the worker thread that drives it.
//
// The thread waits on the socket's network events, the stop request and the
// outgoing queue, writes queued packets through a 1024-byte send buffer
// (packets waiting in the queue share it, so that they leave in one write),
// reassembles incoming packets and reports them, and the session's opening
// and end, to the handler.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>

#include "net/KSJob.h"
#include "net/KSNet.h"
#include "net/KSPacketQueue.h"
#include "net/KSPacketReceiver.h"
#include "net/KSSocket.h"

class KSSessionJob : public KSJob {
 public:
  enum SocketState : uint8 {
    kst_Connected = 0,
    kst_Initialized = 1,  // connecting
    kst_Closed = 2,
  };

  KSSessionJob();
  ~KSSessionJob() override;

  // False when one of the job's system objects could not be made.
  bool Created() const;

  // Creates the socket and starts connecting; the outcome arrives on the
  // session thread as a network event.
  long OpenIPSession(const KSNetAddr& inAddr, long inPort, long inTimeoutMS,
                     KSSessionMsgHandler inHandler, void* inUserParam);

  long AppendPacket(const KSPacket& inPacket, bool inBlock);

  // Asks the thread to end and gives up the caller's reference.
  long CloseAsync();
  // The same, then waits for the thread to end; returns the session's result.
  long CloseSync();

  void SetTimeout(long inTimeoutMS);

  // Set once the connection is established.
  HANDLE ConnectEvent() const { return mConnectEvent.Get(); }

  KSSessionRef Ref() { return reinterpret_cast<KSSessionRef>(this); }
  static KSSessionJob* FromRef(KSSessionRef inRef) {
    return reinterpret_cast<KSSessionJob*>(inRef);
  }

 protected:
  void Execute() override;

 private:
  struct SendBuffer {
    uint8 mData[1024];
    int32 mUsed;    // bytes filled and not yet taken by the socket
    int32 mShaped;  // bytes of mPacket placed so far
  };

  long Timeout();
  // Asks the thread to end; false when the session had closed already.
  bool RequestStop();
  void WaitForWork(bool* outSemSignalled);
  bool ReadNetworkEvents(WSANETWORKEVENTS* outEvents);
  void HandleConnectEvent(const WSANETWORKEVENTS& inEvents);
  void HandleCloseEvent(const WSANETWORKEVENTS& inEvents);
  // True while a packet, or the end of one, waits to be written.
  bool Sending() const { return mPacket || mSendBuf.mUsed > 0; }
  // Nothing more is written once the peer has closed: the session ends as
  // soon as what the peer sent before is read, with the result it has.
  bool ReadyToSend() const { return Sending() && mSocketState == kst_Connected && !mPeerClosed; }
  void TakeNextPacket();
  bool TakeQueuedPacket();
  void FillSendBuffer(int* ioTakesLeft);
  void SendStep();
  void ReceiveStep();
  void EndWithSocketError(int inWinsockErr);
  void End(long inResult);
  void Report(long inMsg, intptr_t inParam1, intptr_t inParam2);
  static void DeliverPacket(const KSPacket& inPacket, void* inJob);
  void Finish();

  KSSessionMsgHandler mMsgHandler;
  void* mHandlerUserParam;
  long mTimeoutMS;  // guarded by mCS

  KSSocket mSocket;
  std::atomic<uint8> mSocketState;
  bool mSessionOpenMsgSent;
  bool mPeerClosed;  // a graceful close arrived; what is left is drained

  KSHandle mIOEvent;    // network events of the socket
  KSHandle mStopEvent;  // asks the thread to end
  // Set with mStopEvent, so that the thread can look for a stop request
  // between waits without a kernel call.
  std::atomic<bool> mStopRequested;
  KSHandle mConnectEvent;  // set once connected

  KSPacketQueue mOutgoingQueue;
  SendBuffer mSendBuf;
  KSPacket* mPacket;  // being placed in the send buffer; owned
  int32 mToSend;      // bytes of mPacket on the wire

  KSPacketReceiver mRecv;

  KSNetAddr mPeerAddr;
  long mPeerPort;
  int mErrorCode;  // the Winsock error behind kKSErr_SocketError
};
