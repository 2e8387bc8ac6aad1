#include "engine-sim/SimClient.h"

#include <cstring>
#include <utility>
#include <vector>

#include "engine-sim/SimServer.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "net/KSByteOrder.h"
#include "net/KSMPWire.h"
#include "net/KSPacketReceiver.h"
#include "net/KSPacketWire.h"

namespace {

// A client that stops reading cannot hold up the others for longer than this.
const DWORD kSendTimeoutMS = 5000;

// How soon the reading thread notices that the connection is to close.
const DWORD kClosePollMS = 50;

// One read takes whatever the client has sent, up to this much: a client
// that sends requests back to back has them all handled in one go.
const int kReadChunk = 65536;

// Announced by --oversize: far more than any receiver accepts.
const int32 kOversizeDataSize = 0x7FFFFFF0;

void StampNow(KSPacket* ioPacket) {
  KSTime::GetTime(&ioPacket->mTimeSent, false);
}

}  // namespace

SimClient::SimClient(SimServer* inServer, KSSocket inSocket, long inID)
    : mServer(inServer),
      mOptions(inServer->BehaviourOf(inID)),
      mSocket(std::move(inSocket)),
      mID(inID),
      mOpenedMS(int64(GetTickCount64())),
      mBatching(false),
      mBroken(false),
      mClosing(false),
      mFinished(false),
      mRepliesSent(0) {
  DWORD timeout = kSendTimeoutMS;
  setsockopt(mSocket.Get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
             sizeof(timeout));
  // A shutdown by another thread does not wake a blocked recv, so the
  // reading thread waits in short steps and looks at mClosing in between.
  // A time-out on the receive itself costs nothing while requests flow.
  DWORD pollMS = kClosePollMS;
  setsockopt(mSocket.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&pollMS),
             sizeof(pollMS));
  BOOL noDelay = TRUE;
  setsockopt(mSocket.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
             sizeof(noDelay));
}

SimClient::~SimClient() {
  Close();
  if (mThread) {
    WaitForSingleObject(mThread.Get(), INFINITE);
  }
}

long SimClient::Start() {
  mThread.Reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
  if (!mThread) {
    mFinished = true;
    return KSLastOSError();
  }
  return 0;
}

void SimClient::Close() {
  mClosing = true;
  mBroken = true;
  shutdown(mSocket.Get(), SD_BOTH);  // the blocked recv returns
}

DWORD WINAPI SimClient::ThreadProc(void* inClient) {
  SimClient* client = static_cast<SimClient*>(inClient);
  client->ReadLoop();
  client->mFinished = true;
  return 0;
}

void SimClient::ReadLoop() {
  KSPacketReceiver receiver;
  std::vector<char> chunk(kReadChunk);
  // Replies held back by a delay leave one by one, each when its time comes.
  bool batch = mOptions.mReplyDelayMS <= 0;
  ULONGLONG lastDataMS = GetTickCount64();
  while (!mClosing) {
    ReplyWhenDue();
    int received = recv(mSocket.Get(), chunk.data(), int(chunk.size()), 0);
    if (received < 0 && WSAGetLastError() == WSAETIMEDOUT) {
      // Nothing came within the receive time-out: look at mClosing, and give
      // up on a client that went silent in the middle of a packet, which
      // would otherwise hold its connection and the packet's buffer forever.
      if (receiver.InPacket() &&
          GetTickCount64() - lastDataMS > ULONGLONG(mOptions.mStallLimitMS)) {
        mServer->Log().Note(mID, "half a packet, then nothing for %ld ms; closing",
                            mOptions.mStallLimitMS);
        break;
      }
      continue;
    }
    lastDataMS = GetTickCount64();
    if (received == 0) {
      mServer->Log().Note(mID, "connection closed by the client");
      break;
    }
    if (received < 0) {
      mServer->Log().Note(mID, "connection ended (socket error %d)", WSAGetLastError());
      break;
    }
    if (batch) {
      BeginBatch();
    }
    long err =
        receiver.Feed(reinterpret_cast<const uint8*>(chunk.data()), received, OnPacket, this);
    if (batch) {
      EndBatch();
    }
    if (err) {
      // The stream is out of step: nothing after this can be trusted.
      mServer->Log().Note(mID, "unreadable data from the client (error %ld); closing", err);
      break;
    }
  }
  Close();
}

void SimClient::OnPacket(const KSPacket& inPacket, void* inClient) {
  SimClient* client = static_cast<SimClient*>(inClient);
  if (client->mClosing) {
    return;  // the rest of the read is for a connection that has ended
  }
  if (!KSMPWire::IsKnownMessage(inPacket.mHeader)) {
    client->mServer->Log().Note(client->mID, "ignored a packet of version %u, kind %u",
                                KSMPWire::Version(inPacket.mHeader),
                                KSMPWire::Kind(inPacket.mHeader));
  } else if (KSMPWire::Kind(inPacket.mHeader) == kKSMPKind_Request) {
    client->HandleRequest(inPacket);
  } else {
    client->mServer->Log().Note(client->mID, "ignored a message of kind %u from a client",
                                KSMPWire::Kind(inPacket.mHeader));
  }
}

void SimClient::HandleRequest(const KSPacket& inPacket) {
  const char* script = reinterpret_cast<const char*>(inPacket.mData);
  UtilStr reply;
  mServer->RunScript(mID, KSMPWire::Flags(inPacket.mHeader), script, inPacket.mDataSize, &reply);
  if (!KSMPWire::ReplyWanted(inPacket.mHeader) || mOptions.mNoReply) {
    return;
  }
  if (mOptions.mReplyDelayMS > 0) {
    // Each reply is late by the delay from its own request, as with an
    // engine that is slow to answer but still takes requests meanwhile.
    LateReply late = {GetTickCount64() + ULONGLONG(mOptions.mReplyDelayMS), {}, reply};
    std::memcpy(late.mHeader, inPacket.mHeader, sizeof(late.mHeader));
    mLateReplies.push_back(late);
    return;
  }
  Reply(inPacket.mHeader, reply);
}

void SimClient::ReplyWhenDue() {
  // The read's time-out wakes the thread often enough for the delay's
  // precision.
  while (!mLateReplies.empty() && mLateReplies.front().mDueMS <= GetTickCount64()) {
    Reply(mLateReplies.front().mHeader, mLateReplies.front().mReply);
    mLateReplies.pop_front();
  }
}

void SimClient::Reply(const uint8* inRequestHeader, const UtilStr& inReply) {
  uint8 header[kKSPacketHeaderSize];
  KSMPWire::BuildReplyHeader(inRequestHeader, header);
  mRepliesSent++;
  if (mOptions.mOversize && mRepliesSent == 1) {
    mServer->Log().Note(mID, "announcing an oversize reply of %ld bytes", long(kOversizeDataSize));
    KSPacket packet;
    std::memcpy(packet.mHeader, header, sizeof(header));
    StampNow(&packet);
    packet.mDataSize = kOversizeDataSize;
    packet.mData = nullptr;
    uint8 wire[kKSPacketWireHeaderSize];
    KSPacketWire::EncodeHeader(packet, wire);
    KSMutexHold hold(mSendLock);
    mOutgoing.insert(mOutgoing.end(), wire, wire + sizeof(wire));
    FlushLocked();
    mBroken = true;  // the stream can never be read in step again
    return;
  }
  if (mOptions.mCutReply == mRepliesSent) {
    int32 wireSize = kKSPacketWireHeaderSize + inReply.length();
    mServer->Log().Note(mID, "cutting reply %ld after %ld of its %ld bytes", mRepliesSent,
                        long(wireSize / 2), long(wireSize));
    SendPacket(header, inReply.getCStr(), inReply.length(), wireSize / 2);
    EndBatch();  // the half packet leaves before the connection ends
    Close();
    return;
  }
  SendPacket(header, inReply.getCStr(), inReply.length());
}

void SimClient::SendSystemMsg(long inMsgID, const UtilStr& inDesc) {
  KSBuf desc = {inDesc.getCStr(), inDesc.length()};
  KSBuf data = {"", 0};
  int32 size = KSMPWire::SystemMsgSize(desc.mNumBytes, data.mNumBytes);
  if (size < 0) {
    return;
  }
  std::vector<uint8> payload(size_t(size), 0);
  KSMPWire::PackSystemMsg(int32(inMsgID), desc, data, payload.data());
  uint8 header[kKSPacketHeaderSize];
  KSMPWire::BuildHeader(header, kKSMPKind_SystemMsg, 0, 0, false, nullptr);
  SendPacket(header, reinterpret_cast<const char*>(payload.data()), size);
}

void SimClient::SendMalformedSystemMsg() {
  // A message 100 whose description is said to be 1000 bytes long, in a
  // payload of 30 bytes.
  static const char kText[] = "malformed";
  KSBuf desc = {kText, int32(sizeof(kText) - 1)};
  KSBuf data = {"", 0};
  int32 size = KSMPWire::SystemMsgSize(desc.mNumBytes, data.mNumBytes);
  std::vector<uint8> payload(size_t(size), 0);
  KSMPWire::PackSystemMsg(100, desc, data, payload.data());
  KSPutBE32(1000, &payload[4]);
  uint8 header[kKSPacketHeaderSize];
  KSMPWire::BuildHeader(header, kKSMPKind_SystemMsg, 0, 0, false, nullptr);
  SendPacket(header, reinterpret_cast<const char*>(payload.data()), size);
}

bool SimClient::SendPacket(const uint8* inHeader, const char* inData, int32 inLen, int32 inCutAt) {
  if (mBroken) {
    return false;
  }
  KSPacket packet;
  std::memcpy(packet.mHeader, inHeader, kKSPacketHeaderSize);
  StampNow(&packet);
  packet.mDataSize = inLen;
  packet.mData = reinterpret_cast<const uint8*>(inData);
  std::vector<char> wire(size_t(KSPacketWire::WireSize(packet)));
  KSPacketWire::EncodeHeader(packet, reinterpret_cast<uint8*>(wire.data()));
  std::memcpy(wire.data() + kKSPacketWireHeaderSize, inData, size_t(inLen));
  int32 toSend = inCutAt >= 0 ? inCutAt : int32(wire.size());
  return SendWire(wire.data(), toSend);
}

bool SimClient::SendWire(const char* inWire, int32 inLen) {
  bool sent = true;
  {
    KSMutexHold hold(mSendLock);
    if (mBroken) {
      return false;
    }
    mOutgoing.insert(mOutgoing.end(), inWire, inWire + inLen);
    if (!mBatching) {
      sent = FlushLocked();
    }
  }
  if (!sent) {
    OnSendFailed();
  }
  return sent;
}

void SimClient::BeginBatch() {
  KSMutexHold hold(mSendLock);
  mBatching = true;
}

void SimClient::EndBatch() {
  bool sent = true;
  {
    KSMutexHold hold(mSendLock);
    mBatching = false;
    sent = FlushLocked();
  }
  if (!sent) {
    OnSendFailed();
  }
}

bool SimClient::FlushLocked() {
  if (mBroken) {
    mOutgoing.clear();  // closed while a batch was being collected: nothing more goes out
    return true;
  }
  size_t done = 0;
  bool sent = true;
  while (done < mOutgoing.size() && sent) {
    int count = send(mSocket.Get(), mOutgoing.data() + done, int(mOutgoing.size() - done), 0);
    if (count <= 0) {
      sent = false;
    } else {
      done += size_t(count);
    }
  }
  mOutgoing.clear();
  return sent;
}

void SimClient::OnSendFailed() {
  mServer->Log().Note(mID, "cannot send to the client (socket error %d); closing",
                      WSAGetLastError());
  Close();
}
