#include "SimTestClient.h"

#include <ws2tcpip.h>

#include <cstring>
#include <vector>

#include "net/KSPacketWire.h"
#include "support/SocketSend.h"

bool ReceivedPacket::SystemMsg(long* outID, std::string* outDesc) const {
  KSPacket packet = {};
  std::memcpy(packet.mHeader, mHeader, sizeof(mHeader));
  // The unpacker reads the two zero bytes every received payload carries.
  std::string payload = mData + std::string(2, '\0');
  packet.mData = reinterpret_cast<const uint8*>(payload.data());
  packet.mDataSize = int32(mData.size());
  KSMPSystemMsg msg;
  if (KSMPWire::UnpackSystemMsg(packet, &msg) != 0) {
    return false;
  }
  *outID = msg.mMsgID;
  outDesc->assign(msg.mDesc, size_t(msg.mDescSize));
  return true;
}

SimTestClient::SimTestClient() : mSocket(INVALID_SOCKET), mStreamError(0), mEnded(false) {}

SimTestClient::~SimTestClient() {
  Disconnect();
}

bool SimTestClient::Connect(int inPort) {
  mSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(u_short(inPort));
  inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
  return mSocket != INVALID_SOCKET &&
         connect(mSocket, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
}

void SimTestClient::Disconnect() {
  if (mSocket != INVALID_SOCKET) {
    closesocket(mSocket);
    mSocket = INVALID_SOCKET;
  }
}

bool SimTestClient::SendRequest(const std::string& inText, uint32 inTicket, uint8 inFlags,
                                uint8 inCookieFill, bool inReplyWanted) {
  KSMPCookie cookie;
  std::memset(cookie.mData, inCookieFill, sizeof(cookie.mData));
  cookie.mData[0] = uint8(inTicket);  // no two requests share a cookie
  KSPacket packet = {};
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, inFlags, inTicket, inReplyWanted,
                        &cookie);
  KSTime::GetTime(&packet.mTimeSent, false);
  packet.mDataSize = int32(inText.size());
  packet.mData = reinterpret_cast<const uint8*>(inText.data());
  std::vector<uint8> wire(size_t(KSPacketWire::WireSize(packet)));
  KSPacketWire::EncodeHeader(packet, wire.data());
  std::memcpy(wire.data() + kKSPacketWireHeaderSize, inText.data(), inText.size());
  return SendRaw(wire.data(), wire.size());
}

bool SimTestClient::SendRaw(const void* inBytes, size_t inSize) {
  return SendAll(mSocket, inBytes, inSize);
}

void SimTestClient::OnPacket(const KSPacket& inPacket, void* inClient) {
  ReceivedPacket packet;
  std::memcpy(packet.mHeader, inPacket.mHeader, sizeof(packet.mHeader));
  packet.mData.assign(reinterpret_cast<const char*>(inPacket.mData), size_t(inPacket.mDataSize));
  static_cast<SimTestClient*>(inClient)->mPackets.push_back(packet);
}

bool SimTestClient::Pump(long inTimeoutMS) {
  if (mEnded) {
    return false;
  }
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(mSocket, &readable);
  timeval wait = {inTimeoutMS / 1000, (inTimeoutMS % 1000) * 1000};
  if (select(0, &readable, nullptr, nullptr, &wait) <= 0) {
    return true;  // nothing yet
  }
  int received =
      recv(mSocket, reinterpret_cast<char*>(mReceiver.ReadBuffer()), mReceiver.ReadSpace(), 0);
  if (received <= 0) {
    mEnded = true;
    return false;
  }
  mStreamError = mReceiver.Consume(received, OnPacket, this);
  if (mStreamError) {
    mEnded = true;
    return false;
  }
  return true;
}

bool SimTestClient::NextPacket(ReceivedPacket* outPacket, long inTimeoutMS) {
  ULONGLONG deadline = GetTickCount64() + ULONGLONG(inTimeoutMS);
  while (mPackets.empty()) {
    long left = long(deadline - GetTickCount64());
    if (GetTickCount64() >= deadline || !Pump(left)) {
      return false;
    }
  }
  *outPacket = mPackets.front();
  mPackets.pop_front();
  return true;
}

bool SimTestClient::NextReply(ReceivedPacket* outPacket, long inTimeoutMS) {
  ULONGLONG deadline = GetTickCount64() + ULONGLONG(inTimeoutMS);
  for (;;) {
    long left = long(deadline - GetTickCount64());
    if (left <= 0 || !NextPacket(outPacket, left)) {
      return false;
    }
    if (outPacket->Kind() != kKSMPKind_SystemMsg) {
      return true;
    }
    mNotices.push_back(*outPacket);
  }
}

std::string SimTestClient::Ask(const std::string& inText) {
  ReceivedPacket reply;
  if (!SendRequest(inText) || !NextReply(&reply)) {
    return "?";
  }
  return reply.mData;
}

bool SimTestClient::NextNotice(long* outID, std::string* outDesc, long inTimeoutMS) {
  ReceivedPacket packet;
  ULONGLONG deadline = GetTickCount64() + ULONGLONG(inTimeoutMS);
  for (;;) {
    if (!mNotices.empty()) {
      packet = mNotices.front();
      mNotices.pop_front();
    } else {
      long left = long(deadline - GetTickCount64());
      if (left <= 0 || !NextPacket(&packet, left)) {
        return false;
      }
    }
    if (packet.Kind() == kKSMPKind_SystemMsg) {
      return packet.SystemMsg(outID, outDesc);
    }
  }
}

bool SimTestClient::WaitForClose(long inTimeoutMS, bool* outMidPacket) {
  ULONGLONG deadline = GetTickCount64() + ULONGLONG(inTimeoutMS);
  while (GetTickCount64() < deadline) {
    if (!Pump(long(deadline - GetTickCount64()))) {
      if (outMidPacket) {
        *outMidPacket = mReceiver.InPacket();
      }
      return true;
    }
  }
  return false;
}
