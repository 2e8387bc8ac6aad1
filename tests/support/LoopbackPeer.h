// The far end of a test session: a listening socket on the loopback address
// of this process (or a connection to a server there), and blocking reads and
// writes with bounded waits.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <string>
#include <vector>

#include "net/KSNetAddr.h"
#include "net/KSPacket.h"
#include "net/KSSocket.h"

class LoopbackPeer {
 public:
  // Listens on 127.0.0.1 (or ::1) at a port of the system's choosing.
  explicit LoopbackPeer(bool inIPv6 = false);
  ~LoopbackPeer();

  bool Listening() const { return mListener != INVALID_SOCKET; }
  int Port() const { return mPort; }
  KSNetAddr Addr() const;

  // Accepts the next connection, waiting at most inTimeoutMS. Closes any
  // connection accepted before.
  bool Accept(int inTimeoutMS = 10000);
  // Or plays the connecting end: to inPort on 127.0.0.1.
  bool Connect(int inPort);
  void CloseConnection();

  bool SendBytes(const void* inBytes, size_t inSize);
  bool SendBytes(const std::vector<uint8>& inBytes) {
    return SendBytes(inBytes.data(), inBytes.size());
  }
  // Exactly inSize bytes, or false on time-out, error or end of stream.
  bool RecvBytes(void* outBytes, size_t inSize, int inTimeoutMS = 10000);
  // One whole packet; its data goes to outData.
  bool RecvPacket(KSPacket* outPacket, std::string* outData, int inTimeoutMS = 10000);
  // The data of the next packet, or "<nothing>" when none came.
  std::string RecvText(KSPacket* outPacket = nullptr);
  // True when the session closed its end: a read gives end of stream.
  bool WaitForEndOfStream(int inTimeoutMS = 10000);

 private:
  SOCKET mListener;
  SOCKET mConn;
  int mPort;
  bool mIPv6;
};

// The wire form of a packet.
std::vector<uint8> WireBytes(const KSPacket& inPacket);

KSNetAddr IP4Addr(uint8 inA, uint8 inB, uint8 inC, uint8 inD);

// A loopback port on which nothing listens, for connections that must be
// refused. It stays bound while the object lives, so that no listener (of
// this process or of a test running beside it) can be given it meanwhile.
class ClosedPort {
 public:
  ClosedPort();
  int Port() const { return mPort; }

 private:
  // Sockets are started for the socket below, whoever else uses them.
  struct Winsock {
    Winsock() { WSAStartup(MAKEWORD(2, 2), &mData); }
    ~Winsock() { WSACleanup(); }
    WSADATA mData;
  } mWinsock;
  KSSocket mSocket;
  int mPort;
};
