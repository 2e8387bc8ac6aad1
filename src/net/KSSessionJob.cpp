#include "net/KSSessionJob.h"

#include <ws2tcpip.h>

#include <cstring>

#include "foundation/KSError.h"
#include "net/KSPacketWire.h"

namespace {

// Reads per round while data keeps coming, so that a peer that never pauses
// cannot keep the thread from its queue and its stop request.
constexpr int kMaxReadsPerRound = 64;
// Likewise, packets taken from the queue per round beyond the first, while
// the socket keeps taking them.
constexpr int kMaxTakesPerRound = 64;

long ConnectFailure(int inWinsockErr) {
  return inWinsockErr == WSAECONNRESET || inWinsockErr == WSAECONNREFUSED ? kKSErr_ConnectRefused
                                                                          : kKSErr_NotConnected;
}

}  // namespace

KSSessionJob::KSSessionJob()
    : mMsgHandler(nullptr),
      mHandlerUserParam(nullptr),
      mTimeoutMS(0x7FFFFFFF),
      mSocketState(kst_Initialized),
      mSessionOpenMsgSent(false),
      mPeerClosed(false),
      mStopRequested(false),
      mPacket(nullptr),
      mToSend(0),
      mPeerAddr(),
      mPeerPort(0),
      mErrorCode(0) {
  mIOEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  mStopEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  mConnectEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  mSendBuf.mUsed = 0;
  mSendBuf.mShaped = 0;
}

KSSessionJob::~KSSessionJob() {
  KSPacketQueue::FreePacket(mPacket);
}

bool KSSessionJob::Created() const {
  return KSJob::Created() && mIOEvent && mStopEvent && mConnectEvent && mOutgoingQueue.Created();
}

long KSSessionJob::OpenIPSession(const KSNetAddr& inAddr, long inPort, long inTimeoutMS,
                                 KSSessionMsgHandler inHandler, void* inUserParam) {
  KSNetAddrType type = inAddr.mType;
  if ((type != ks_IP4Address && type != ks_IP6Address && type != ks_localhost) || inPort < 0 ||
      inPort > 65535 || inTimeoutMS < 0 || !inHandler) {
    return kKSErr_Param;
  }
  int family = type == ks_IP6Address ? AF_INET6 : AF_INET;
  mSocket.Reset(socket(family, SOCK_STREAM, IPPROTO_TCP));
  if (!mSocket) {
    return kKSErr_Internal;
  }

  mSocketState = kst_Initialized;
  mPeerAddr = inAddr;
  mPeerPort = inPort;
  mTimeoutMS = inTimeoutMS;
  mMsgHandler = inHandler;
  mHandlerUserParam = inUserParam;
  // Event selection also makes the socket non-blocking.
  if (WSAEventSelect(mSocket.Get(), mIOEvent.Get(), FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) !=
      0) {
    return kKSErr_Internal;
  }

  // Success or failure of the connect arrives later as a network event.
  if (family == AF_INET6) {
    sockaddr_in6 sa = {};
    sa.sin6_family = AF_INET6;
    sa.sin6_port = htons(u_short(inPort));
    memcpy(&sa.sin6_addr, inAddr.u.mIP6Addr, 16);
    connect(mSocket.Get(), reinterpret_cast<sockaddr*>(&sa), sizeof(sa));
  } else {
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(u_short(inPort));
    if (type == ks_localhost) {
      sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    } else {
      memcpy(&sa.sin_addr, inAddr.u.mIP4Addr, 4);
    }
    connect(mSocket.Get(), reinterpret_cast<sockaddr*>(&sa), sizeof(sa));
  }
  return 0;
}

long KSSessionJob::AppendPacket(const KSPacket& inPacket, bool inBlock) {
  if (mSocketState == kst_Closed) {
    return kKSErr_SessionClosed;
  }
  KSPacket* copy = KSPacketQueue::CopyPacket(inPacket);
  if (!copy) {
    return kKSErr_Internal;
  }
  long err = mOutgoingQueue.Append(copy, inBlock, Timeout(), ResultEvent());
  if (err) {
    KSPacketQueue::FreePacket(copy);
  }
  return err;
}

long KSSessionJob::CloseAsync() {
  bool wasOpen = RequestStop();
  Release();
  return wasOpen ? 0 : kKSErr_NotConnected;
}

bool KSSessionJob::RequestStop() {
  KSMutexHold hold(mCS);
  if (mSocketState == kst_Closed) {
    return false;
  }
  mStopRequested = true;
  SetEvent(mStopEvent.Get());
  return true;
}

long KSSessionJob::CloseSync() {
  {
    KSMutexHold hold(mCS);
    AddRef();
    CloseAsync();
  }
  HANDLE waits[2] = {ResultEvent(), ThreadHandle()};
  WaitForMultipleObjects(ThreadHandle() ? 2 : 1, waits, TRUE, INFINITE);
  long result = Result();
  Release();
  return result;
}

void KSSessionJob::SetTimeout(long inTimeoutMS) {
  KSMutexHold hold(mCS);
  mTimeoutMS = inTimeoutMS;
}

long KSSessionJob::Timeout() {
  KSMutexHold hold(mCS);
  return mTimeoutMS;
}

void KSSessionJob::Execute() {
  while (mSocketState != kst_Closed) {
    if (ReadyToSend()) {
      SendStep();
      if (mSocketState == kst_Closed) {
        break;
      }
    }

    bool semSignalled = false;
    WaitForWork(&semSignalled);
    if (mSocketState == kst_Closed) {
      break;
    }

    // Woken by the queue, the socket had nothing new when the wait ended;
    // whatever it has by now signals mIOEvent again for the next round.
    WSANETWORKEVENTS events = {};
    if (!semSignalled && !ReadNetworkEvents(&events)) {
      break;
    }
    if (mSocketState == kst_Initialized && (events.lNetworkEvents & (FD_CONNECT | FD_WRITE))) {
      HandleConnectEvent(events);
      if (mSocketState == kst_Closed) {
        break;
      }
    }
    // A queue that keeps the thread busy must not starve: look at the
    // semaphore even when another event woke the thread.
    if (!Sending() &&
        (semSignalled || (mOutgoingQueue.HasPackets() &&
                          WaitForSingleObject(mOutgoingQueue.Semaphore(), 0) == WAIT_OBJECT_0))) {
      TakeNextPacket();
    }
    if (events.lNetworkEvents & FD_CLOSE) {
      HandleCloseEvent(events);
      if (mSocketState == kst_Closed) {
        break;
      }
    }
    if (ReadyToSend()) {
      SendStep();
    }
    if (mSocketState != kst_Closed && ((events.lNetworkEvents & FD_READ) || mPeerClosed)) {
      ReceiveStep();
    }
  }
  Finish();
}

// Only while connecting do the recorded events tell what a read cannot:
// whether the connect worked. Once connected, a read finds out all there is
// (data, the peer's orderly close, or the error that ended the connection),
// and asking the socket for its events as well costs a second kernel call
// for every reply.
bool KSSessionJob::ReadNetworkEvents(WSANETWORKEVENTS* outEvents) {
  if (mSocketState != kst_Initialized) {
    outEvents->lNetworkEvents = FD_READ;
    return true;
  }
  if (WSAEnumNetworkEvents(mSocket.Get(), mIOEvent.Get(), outEvents) != 0) {
    EndWithSocketError(WSAGetLastError());
    return false;
  }
  return true;
}

void KSSessionJob::WaitForWork(bool* outSemSignalled) {
  HANDLE waits[3] = {mIOEvent.Get(), mStopEvent.Get(), mOutgoingQueue.Semaphore()};
  DWORD count = Sending() ? 2 : 3;
  DWORD woke = WaitForMultipleObjects(count, waits, FALSE, DWORD(Timeout()));
  if (woke == WAIT_TIMEOUT) {
    End(kKSErr_Timeout);
  } else if (woke == WAIT_OBJECT_0 + 1 || mStopRequested) {
    mSocketState = kst_Closed;
  } else if (woke == WAIT_OBJECT_0 + 2) {
    *outSemSignalled = true;
  } else if (woke != WAIT_OBJECT_0) {
    End(kKSErr_Internal);
  }
}

void KSSessionJob::HandleConnectEvent(const WSANETWORKEVENTS& inEvents) {
  int err = (inEvents.lNetworkEvents & FD_CONNECT) ? inEvents.iErrorCode[FD_CONNECT_BIT] : 0;
  if (err) {
    End(ConnectFailure(err));
    return;
  }
  mSocketState = kst_Connected;
  Report(kKSNetMsg_SesO, reinterpret_cast<intptr_t>(&mPeerAddr), mPeerPort);
  mSessionOpenMsgSent = true;
  SetEvent(mConnectEvent.Get());
}

void KSSessionJob::HandleCloseEvent(const WSANETWORKEVENTS& inEvents) {
  int err = inEvents.iErrorCode[FD_CLOSE_BIT];
  if (err) {
    EndWithSocketError(err);
  } else {
    // A graceful close: whatever the peer sent before it is still read.
    mPeerClosed = true;
  }
}

void KSSessionJob::TakeNextPacket() {
  mPacket = mOutgoingQueue.TakeOldest();
  mToSend = mPacket ? int32(KSPacketWire::WireSize(*mPacket)) : 0;
  mSendBuf.mShaped = 0;
}

// Takes the next queued packet while the send buffer has room, with its
// semaphore count, so that the count keeps matching the queue.
bool KSSessionJob::TakeQueuedPacket() {
  if (!mOutgoingQueue.HasPackets() ||
      WaitForSingleObject(mOutgoingQueue.Semaphore(), 0) != WAIT_OBJECT_0) {
    return false;
  }
  TakeNextPacket();
  return mPacket != nullptr;
}

// Places the current packet, and then the queued ones, in the send buffer
// until it is full. A packet is freed once all of it is in the buffer.
void KSSessionJob::FillSendBuffer(int* ioTakesLeft) {
  const int32 capacity = int32(sizeof(mSendBuf.mData));
  while (mSendBuf.mUsed < capacity) {
    if (!mPacket) {
      if (*ioTakesLeft <= 0 || !TakeQueuedPacket()) {
        return;
      }
      --*ioTakesLeft;
    }
    int32 shaped = KSPacketWire::CopyWireBytes(
        *mPacket, mSendBuf.mShaped, mSendBuf.mData + mSendBuf.mUsed, capacity - mSendBuf.mUsed);
    if (shaped <= 0) {
      return;
    }
    mSendBuf.mUsed += shaped;
    mSendBuf.mShaped += shaped;
    if (mSendBuf.mShaped == mToSend) {
      KSPacketQueue::FreePacket(mPacket);
      mPacket = nullptr;
      mToSend = 0;
      mSendBuf.mShaped = 0;
    }
  }
}

void KSSessionJob::SendStep() {
  int takesLeft = kMaxTakesPerRound;
  for (FillSendBuffer(&takesLeft); mSendBuf.mUsed > 0; FillSendBuffer(&takesLeft)) {
    int sent =
        send(mSocket.Get(), reinterpret_cast<const char*>(mSendBuf.mData), mSendBuf.mUsed, 0);
    if (sent == SOCKET_ERROR) {
      int err = WSAGetLastError();
      if (err != WSAEWOULDBLOCK) {
        EndWithSocketError(err);
      }
      // Otherwise the next write event resumes.
      return;
    }
    mSendBuf.mUsed -= sent;
    memmove(mSendBuf.mData, mSendBuf.mData + sent, size_t(mSendBuf.mUsed));
  }
}

// Reads until the socket has nothing more. The peer's close signals only
// once, also when it arrives together with the last data, and only a read
// that finds the socket ended (0) rather than empty (would block) tells the
// two apart. Each packet is handed on as soon as it is complete, before the
// reads that follow it.
void KSSessionJob::ReceiveStep() {
  for (int reads = 0; mPeerClosed || reads < kMaxReadsPerRound; reads++) {
    int got =
        recv(mSocket.Get(), reinterpret_cast<char*>(mRecv.ReadBuffer()), mRecv.ReadSpace(), 0);
    if (got == SOCKET_ERROR) {
      int err = WSAGetLastError();
      if (err != WSAEWOULDBLOCK) {
        EndWithSocketError(err);
      } else if (mPeerClosed) {
        mSocketState = kst_Closed;
      }
      return;
    }
    if (got == 0) {
      // The peer closed. In the middle of a packet that is a broken stream,
      // not an orderly end; otherwise the result stays what it was.
      if (mRecv.InPacket()) {
        SetResult(kKSErr_Protocol);
      }
      mSocketState = kst_Closed;
      return;
    }
    long err = mRecv.Consume(got, DeliverPacket, this);
    if (err) {
      End(err);
      return;
    }
  }
}

void KSSessionJob::DeliverPacket(const KSPacket& inPacket, void* inJob) {
  static_cast<KSSessionJob*>(inJob)->Report(kKSNetMsg_Recv, reinterpret_cast<intptr_t>(&inPacket),
                                            0);
}

void KSSessionJob::EndWithSocketError(int inWinsockErr) {
  if (mSocketState == kst_Initialized) {
    End(ConnectFailure(inWinsockErr));
  } else {
    mErrorCode = inWinsockErr;
    End(kKSErr_SocketError);
  }
}

void KSSessionJob::End(long inResult) {
  SetResult(inResult);
  mSocketState = kst_Closed;
}

void KSSessionJob::Report(long inMsg, intptr_t inParam1, intptr_t inParam2) {
  KSMutexHold hold(mCS);
  if (mMsgHandler) {
    mMsgHandler(Ref(), inMsg, inParam1, inParam2, mHandlerUserParam);
  }
}

void KSSessionJob::Finish() {
  SignalResult();
  Report(mSessionOpenMsgSent ? kKSNetMsg_SesC : kKSNetMsg_SesF, Result(), 0);
  shutdown(mSocket.Get(), SD_SEND);
  mSocket.Reset();
}
