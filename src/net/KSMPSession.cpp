#include "net/KSMPSession.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "foundation/KSError.h"
#include "foundation/KSTime.h"
#include "net/KSPacketObj.h"

namespace {

long TextLength(const char* inData, long inLen) {
  if (inLen >= 0) {
    return inLen;
  }
  return inData ? long(strlen(inData)) : 0;
}

void StampPacket(KSPacket* ioPacket, const void* inData, long inLen) {
  KSTime::GetTime(&ioPacket->mTimeSent, false);
  ioPacket->mDataSize = int32(inLen);
  ioPacket->mData = static_cast<const uint8*>(inData);
}

}  // namespace

KSMPSession::KSMPSession()
    : mNextTicketToIssue(1),
      mSessionStatus(ks_NotConnected),
      mSessionType(ks_NoConnection),
      mDirectSession(),
      mSessionRef(0),
      mQueueIncoming(false),
      mLastCloseResult(0),
      mIncomingCount(0) {}

KSMPSession::~KSMPSession() {
  CloseSession();
}

long KSMPSession::OpenSession(long inPort, bool inQueueIncoming, const KSNetAddr& inAddr,
                              long inTimeoutMS) {
  CloseSession();
  mSessionType = ks_NetworkConnection;
  mQueueIncoming = inQueueIncoming;
  long err = KSNet::OpenSession(inAddr, inPort, inTimeoutMS, 0, KSNetSessionMsgHandler, this,
                                &mSessionRef);
  DispatchIncoming();
  if (err) {
    mSessionStatus = ks_NotConnected;
  }
  return err;
}

long KSMPSession::OpenSessionAsync(long inPort, bool inQueueIncoming, const KSNetAddr& inAddr,
                                   long inTimeoutMS) {
  CloseSession();
  mSessionType = ks_NetworkConnection;
  mQueueIncoming = inQueueIncoming;
  // Pending before the session thread can report anything.
  mSessionStatus = ks_ConnectionPending;
  long err = KSNet::OpenSession(inAddr, inPort, inTimeoutMS, kKSNetOpen_Async,
                                KSNetSessionMsgHandler, this, &mSessionRef);
  if (err) {
    mSessionStatus = ks_NotConnected;
  }
  return err;
}

long KSMPSession::OpenDirectSession(KSMPSession* ioPeer) {
  if (!ioPeer || ioPeer == this) {
    return kKSErr_Param;
  }
  CloseSession();
  ioPeer->CloseSession();
  mSessionType = ks_DirectConnection;
  mDirectSession.mSession = ioPeer;
  mDirectSession.mSessionHandler = KSNetSessionMsgHandler;
  ioPeer->mSessionType = ks_DirectConnection;
  ioPeer->mDirectSession.mSession = this;
  ioPeer->mDirectSession.mSessionHandler = KSNetSessionMsgHandler;
  HandleSessionMsg(kKSNetMsg_SesO, 0, nullptr, false);
  ioPeer->HandleSessionMsg(kKSNetMsg_SesO, 0, nullptr, false);
  return 0;
}

long KSMPSession::CloseSession() {
  if (mSessionStatus == ks_NotConnected) {
    // A network session that ended by itself still holds our reference.
    if (mSessionRef) {
      KSNet::CloseSession(mSessionRef, kKSNetClose_Async);
      mSessionRef = 0;
    }
    return kKSErr_NotConnected;
  }

  long result;
  switch (mSessionType) {
    case ks_NetworkConnection:
      result = KSNet::CloseSession(mSessionRef, 0);
      mSessionRef = 0;
      break;
    case ks_DirectConnection: {
      KSDirectSessionInfo peer = mDirectSession;
      mSessionStatus = ks_NotConnected;
      peer.mSessionHandler(0, kKSNetMsg_SesC, 0, 0, peer.mSession);
      mDirectSession = KSDirectSessionInfo();
      mLastCloseResult = 0;
      OnSessionClosed();
      result = 0;
      break;
    }
    case ks_InterprocessConnection:
      result = kKSErr_Unimplemented;
      break;
    default:
      result = kKSErr_Internal;
      break;
  }

  // Events still queued belong to the session that is gone, its close among
  // them: the session is over now.
  ClearIncoming();
  mQueueIncoming = false;
  mSessionType = ks_NoConnection;
  mSessionStatus = ks_NotConnected;
  return result;
}

long KSMPSession::SetSessionTimeout(long inTimeoutMS) {
  if (mSessionStatus == ks_NotConnected) {
    return kKSErr_NotConnected;
  }
  switch (mSessionType) {
    case ks_NetworkConnection:
      return KSNet::SetSessionTimeout(mSessionRef, inTimeoutMS);
    case ks_DirectConnection:
    case ks_InterprocessConnection:
      return 0;
    default:
      return kKSErr_NotConnected;
  }
}

long KSMPSession::Send(const char* inData, long inLen, unsigned char inFlags,
                       const KSMPCookie* inCookie, unsigned long* outTicket) {
  inLen = TextLength(inData, inLen);
  unsigned long ticket = mNextTicketToIssue++;
  if (outTicket) {
    *outTicket = ticket;
  }
  KSPacket packet;
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, inFlags, uint32(ticket),
                        outTicket != nullptr, inCookie);
  StampPacket(&packet, inData, inLen);
  return SendPacket(packet);
}

long KSMPSession::SendReply(const uint8* inRequestHeader, const char* inData, long inLen) {
  KSPacket packet;
  KSMPWire::BuildReplyHeader(inRequestHeader, packet.mHeader);
  StampPacket(&packet, inData, TextLength(inData, inLen));
  return SendPacket(packet);
}

long KSMPSession::SendSystemMsg(long inMsgID, const KSBuf& inDesc, const KSBuf& inData,
                                unsigned char inFlags) {
  int32 size = KSMPWire::SystemMsgSize(inDesc.mNumBytes, inData.mNumBytes);
  if (size < 0) {
    return kKSErr_Param;
  }
  if (mSessionStatus == ks_NotConnected) {
    return kKSErr_NotConnected;
  }
  uint8* payload = static_cast<uint8*>(malloc(size_t(size)));
  if (!payload) {
    return kKSErr_AllocFailed;
  }
  KSMPWire::PackSystemMsg(int32(inMsgID), inDesc, inData, payload);
  KSPacket packet;
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_SystemMsg, inFlags, 0, false, nullptr);
  StampPacket(&packet, payload, size);
  long err = SendPacket(packet);
  free(payload);
  return err;
}

long KSMPSession::SendPacket(const KSPacket& inPacket) {
  if (mSessionStatus == ks_NotConnected) {
    return kKSErr_NotConnected;
  }
  switch (mSessionType) {
    case ks_NetworkConnection:
      return KSNet::Send(mSessionRef, inPacket);
    case ks_DirectConnection:
      mDirectSession.mSessionHandler(0, kKSNetMsg_Recv, reinterpret_cast<intptr_t>(&inPacket), 0,
                                     mDirectSession.mSession);
      return 0;
    case ks_InterprocessConnection:
      return kKSErr_Unimplemented;
    default:
      return kKSErr_NotConnected;
  }
}

bool KSMPSession::DispatchIncoming(unsigned long inMaxMS) {
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (inMaxMS > 0 &&
        std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(inMaxMS)) {
      return mIncomingCount.load() > 0;
    }
    long msg = 0;
    long result = 0;
    KSObject* obj = nullptr;
    if (!TakeIncoming(&msg, &result, &obj)) {
      return false;
    }
    std::unique_ptr<KSPacketObj> packet(static_cast<KSPacketObj*>(obj));
    HandleSessionMsg(msg, result, packet ? &packet->mPacket : nullptr, false);
  }
}

bool KSMPSession::TakeIncoming(long* outMsg, long* outResult, KSObject** outPacket) {
  if (mIncomingCount.load() == 0) {
    return false;  // most calls find nothing: no lock for them
  }
  KSMutexHold hold(mIncomingQueueMutex);
  if (!mIncomingQueue.GetNextEvent(outMsg, outResult, nullptr, outPacket, nullptr)) {
    return false;
  }
  mIncomingCount--;
  return true;
}

void KSMPSession::ClearIncoming() {
  KSMutexHold hold(mIncomingQueueMutex);
  mIncomingQueue.ClearQueue();
  mIncomingCount = 0;
}

long KSMPSession::KSNetSessionMsgHandler(KSSessionRef, long inMsg, intptr_t inParam1, intptr_t,
                                         void* inUserParam) {
  KSMPSession* session = static_cast<KSMPSession*>(inUserParam);
  if (session) {
    bool received = inMsg == kKSNetMsg_Recv;
    const KSPacket* packet = received ? reinterpret_cast<const KSPacket*>(inParam1) : nullptr;
    // An end's inParam1 is the session's result code.
    long result = received || inMsg == kKSNetMsg_SesO ? 0 : long(inParam1);
    session->HandleSessionMsg(inMsg, result, packet, session->mQueueIncoming);
  }
  return 0;
}

void KSMPSession::HandleSessionMsg(long inMsg, long inResult, const KSPacket* inPacket,
                                   bool inQueue) {
  if (inQueue) {
    KSPacketObj* copy = nullptr;
    if (inMsg == kKSNetMsg_Recv) {
      copy = KSPacketObj::Copy(*inPacket);
      if (!copy) {
        return;  // out of memory: the packet is lost
      }
    }
    {
      KSMutexHold hold(mIncomingQueueMutex);
      mIncomingQueue.PostEvent(inMsg, inResult, 0, copy, nullptr);
      mIncomingCount++;
    }
    OnIncomingQueued();
    return;
  }

  if (inMsg == kKSNetMsg_SesC) {
    mSessionStatus = ks_NotConnected;
    mLastCloseResult = inResult;
    OnSessionClosed();
  } else if (inMsg == kKSNetMsg_SesF) {
    mSessionStatus = ks_NotConnected;
    OnSessionOpenFailed();
  } else if (inMsg == kKSNetMsg_SesO) {
    mSessionStatus = ks_Connected;
    OnSessionOpened();
  } else if (inMsg == kKSNetMsg_Recv && inPacket) {
    OnReceivedPacket(*inPacket);
  }
}

void KSMPSession::OnReceivedPacket(const KSPacket& inPacket) {
  const uint8* header = inPacket.mHeader;
  if (mSessionStatus == ks_NotConnected || !KSMPWire::IsKnownMessage(header)) {
    return;
  }
  KSBuf payload = {reinterpret_cast<const char*>(inPacket.mData), inPacket.mDataSize};
  switch (KSMPWire::Kind(header)) {
    case kKSMPKind_Request:
      OnReceivedProcessRequest(header, payload);
      break;
    case kKSMPKind_SystemMsg: {
      KSMPSystemMsg msg;
      if (KSMPWire::UnpackSystemMsg(inPacket, &msg) == 0) {
        OnReceivedSystemMsg(msg, KSMPWire::Flags(header));
      }
      break;
    }
    case kKSMPKind_Reply: {
      KSMPCookie cookie;
      KSMPWire::GetCookie(header, &cookie);
      OnProcessComplete(payload, KSMPWire::Flags(header), cookie, KSMPWire::Ticket(header));
      break;
    }
  }
}

void KSMPSession::OnReceivedProcessRequest(const uint8* inHeader, const KSBuf&) {
  if (KSMPWire::ReplyWanted(inHeader)) {
    SendReply(inHeader, "", 0);
  }
}
