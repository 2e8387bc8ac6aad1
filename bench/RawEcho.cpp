#include "RawEcho.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <vector>

#include "BenchStats.h"
#include "support/SocketSend.h"

namespace {

SOCKET ConnectLoopback(int inPort) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    return s;
  }
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(u_short(inPort));
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

bool ReceiveAll(SOCKET inSocket, char* outData, long long inLen) {
  while (inLen > 0) {
    int got = recv(inSocket, outData, int(inLen < 65536 ? inLen : 65536), 0);
    if (got <= 0) {
      return false;
    }
    outData += got;
    inLen -= got;
  }
  return true;
}

}  // namespace

RawEchoServer::RawEchoServer() : mListener(INVALID_SOCKET), mPort(0) {}

RawEchoServer::~RawEchoServer() {
  if (mListener != INVALID_SOCKET) {
    closesocket(SOCKET(mListener));  // ends the accept, and so the thread
  }
  if (mThread.joinable()) {
    mThread.join();
  }
}

int RawEchoServer::Start() {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) {
    return WSAGetLastError();
  }
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(addr);
  if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
      listen(listener, 4) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    int err = WSAGetLastError();
    closesocket(listener);
    return err;
  }
  mListener = listener;
  mPort = ntohs(addr.sin_port);
  mThread = std::thread(&RawEchoServer::Serve, this);
  return 0;
}

void RawEchoServer::Serve() {
  std::vector<char> buffer(65536);
  for (;;) {
    SOCKET client = accept(SOCKET(mListener), nullptr, nullptr);
    if (client == INVALID_SOCKET) {
      return;
    }
    int got;
    while ((got = recv(client, buffer.data(), int(buffer.size()), 0)) > 0) {
      if (!SendAll(client, buffer.data(), got)) {
        break;
      }
    }
    closesocket(client);
  }
}

bool MeasureRawRoundTrips(int inPort, int inCount, const std::string& inMessage, int inReplySize,
                          std::vector<double>* outMicros) {
  SOCKET s = ConnectLoopback(inPort);
  if (s == INVALID_SOCKET) {
    return false;
  }
  std::vector<char> reply(static_cast<size_t>(inReplySize) + 1);
  int size = int(inMessage.size());
  bool ok = true;
  for (int i = 0; i < inCount && ok; ++i) {
    double start = BenchNowMicros();
    ok = SendAll(s, inMessage.data(), size) && ReceiveAll(s, reply.data(), inReplySize);
    outMicros->push_back(BenchNowMicros() - start);
  }
  closesocket(s);
  return ok;
}

bool MeasureRawPipelined(int inPort, int inCount, const std::string& inMessage, int inReplySize,
                         double* outMicros) {
  SOCKET s = ConnectLoopback(inPort);
  if (s == INVALID_SOCKET) {
    return false;
  }
  int size = int(inMessage.size());
  double end = 0;
  bool readOK = false;
  std::thread reader([&] {
    std::vector<char> sink(65536);
    long long left = (long long)inCount * inReplySize;
    while (left > 0) {
      int got = recv(s, sink.data(), int(sink.size()), 0);
      if (got <= 0) {
        return;
      }
      left -= got;
    }
    end = BenchNowMicros();
    readOK = true;
  });
  double start = BenchNowMicros();
  bool sendOK = true;
  for (int i = 0; i < inCount && sendOK; ++i) {
    sendOK = SendAll(s, inMessage.data(), size);
  }
  if (!sendOK) {
    shutdown(s, SD_BOTH);  // frees the reader
  }
  reader.join();
  closesocket(s);
  *outMicros = end - start;
  return sendOK && readOK;
}
