#include "support/LoopbackPeer.h"

#include <ws2tcpip.h>

#include <cstring>

#include "net/KSPacketWire.h"
#include "support/SocketSend.h"

namespace {

bool WaitReadable(SOCKET inSocket, int inTimeoutMS) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(inSocket, &set);
  timeval tv = {inTimeoutMS / 1000, (inTimeoutMS % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &tv) == 1;
}

}  // namespace

LoopbackPeer::LoopbackPeer(bool inIPv6)
    : mListener(INVALID_SOCKET), mConn(INVALID_SOCKET), mPort(0), mIPv6(inIPv6) {
  SOCKET s = socket(inIPv6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    return;
  }
  sockaddr_storage ss = {};
  int len;
  if (inIPv6) {
    sockaddr_in6* sa = reinterpret_cast<sockaddr_in6*>(&ss);
    sa->sin6_family = AF_INET6;
    sa->sin6_addr = in6addr_loopback;
    len = sizeof(*sa);
  } else {
    sockaddr_in* sa = reinterpret_cast<sockaddr_in*>(&ss);
    sa->sin_family = AF_INET;
    sa->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    len = sizeof(*sa);
  }
  if (bind(s, reinterpret_cast<sockaddr*>(&ss), len) != 0 || listen(s, 16) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&ss), &len) != 0) {
    closesocket(s);
    return;
  }
  mPort = ntohs(inIPv6 ? reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port
                       : reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
  mListener = s;
}

LoopbackPeer::~LoopbackPeer() {
  CloseConnection();
  if (mListener != INVALID_SOCKET) {
    closesocket(mListener);
  }
}

KSNetAddr LoopbackPeer::Addr() const {
  KSNetAddr addr = {};
  if (mIPv6) {
    addr.mType = ks_IP6Address;
    memcpy(addr.u.mIP6Addr, &in6addr_loopback, 16);
  } else {
    addr = IP4Addr(127, 0, 0, 1);
  }
  return addr;
}

bool LoopbackPeer::Accept(int inTimeoutMS) {
  CloseConnection();
  if (mListener == INVALID_SOCKET || !WaitReadable(mListener, inTimeoutMS)) {
    return false;
  }
  mConn = accept(mListener, nullptr, nullptr);
  if (mConn == INVALID_SOCKET) {
    return false;
  }
  // Small writes go out as they are made, so a byte-by-byte write reaches the
  // session as many segments.
  BOOL noDelay = TRUE;
  setsockopt(mConn, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
             sizeof(noDelay));
  return true;
}

bool LoopbackPeer::Connect(int inPort) {
  CloseConnection();
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(u_short(inPort));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  mConn = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  return mConn != INVALID_SOCKET &&
         connect(mConn, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
}

void LoopbackPeer::CloseConnection() {
  if (mConn != INVALID_SOCKET) {
    closesocket(mConn);
    mConn = INVALID_SOCKET;
  }
}

bool LoopbackPeer::SendBytes(const void* inBytes, size_t inSize) {
  return SendAll(mConn, inBytes, inSize);
}

bool LoopbackPeer::RecvBytes(void* outBytes, size_t inSize, int inTimeoutMS) {
  char* p = static_cast<char*>(outBytes);
  while (inSize > 0) {
    if (!WaitReadable(mConn, inTimeoutMS)) {
      return false;
    }
    int got = recv(mConn, p, int(inSize), 0);
    if (got <= 0) {
      return false;
    }
    p += got;
    inSize -= size_t(got);
  }
  return true;
}

bool LoopbackPeer::RecvPacket(KSPacket* outPacket, std::string* outData, int inTimeoutMS) {
  uint8 wire[kKSPacketWireHeaderSize];
  if (!RecvBytes(wire, sizeof(wire), inTimeoutMS)) {
    return false;
  }
  uint32 size = KSPacketWire::DecodeHeader(wire, outPacket);
  if (size > kKSMaxIncomingDataSize) {
    return false;
  }
  outData->assign(size, 0);
  outPacket->mData = nullptr;
  return size == 0 || RecvBytes(&(*outData)[0], size, inTimeoutMS);
}

std::string LoopbackPeer::RecvText(KSPacket* outPacket) {
  KSPacket packet;
  std::string text;
  return RecvPacket(outPacket ? outPacket : &packet, &text) ? text : "<nothing>";
}

bool LoopbackPeer::WaitForEndOfStream(int inTimeoutMS) {
  char c;
  return WaitReadable(mConn, inTimeoutMS) && recv(mConn, &c, 1, 0) == 0;
}

std::vector<uint8> WireBytes(const KSPacket& inPacket) {
  std::vector<uint8> wire(size_t(KSPacketWire::WireSize(inPacket)));
  KSPacketWire::CopyWireBytes(inPacket, 0, wire.data(), int32(wire.size()));
  return wire;
}

KSNetAddr IP4Addr(uint8 inA, uint8 inB, uint8 inC, uint8 inD) {
  KSNetAddr addr = {};
  addr.mType = ks_IP4Address;
  addr.u.mIP4Addr[0] = inA;
  addr.u.mIP4Addr[1] = inB;
  addr.u.mIP4Addr[2] = inC;
  addr.u.mIP4Addr[3] = inD;
  return addr;
}

ClosedPort::ClosedPort() : mSocket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)), mPort(0) {
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof(addr);
  if (mSocket && bind(mSocket.Get(), reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
      getsockname(mSocket.Get(), reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
    mPort = ntohs(addr.sin_port);
  }
}
