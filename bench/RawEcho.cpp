#include "RawEcho.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>
#include <vector>

#include "BenchStats.h"
#include "support/SocketSend.h"

namespace {

// A socket connected to inPort on this machine; none on failure.
KSSocket ConnectLoopback(int inPort) {
  KSSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(u_short(inPort));
  if (s && connect(s.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    s.Reset();
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

RawEchoServer::RawEchoServer() : mPort(0) {}

RawEchoServer::~RawEchoServer() {
  mListener.Reset();  // ends the accept, and so the thread
  if (mThread.joinable()) {
    mThread.join();
  }
}

int RawEchoServer::Start() {
  KSSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!listener) {
    return WSAGetLastError();
  }
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(addr);
  if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
      listen(listener.Get(), 4) != 0 ||
      getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    return WSAGetLastError();
  }
  mListener = std::move(listener);
  mPort = ntohs(addr.sin_port);
  mThread = std::thread(&RawEchoServer::Serve, this, mListener.Get());
  return 0;
}

void RawEchoServer::Serve(SOCKET inListener) {
  std::vector<char> buffer(65536);
  for (;;) {
    KSSocket client(accept(inListener, nullptr, nullptr));
    if (!client) {
      return;
    }
    int got;
    while ((got = recv(client.Get(), buffer.data(), int(buffer.size()), 0)) > 0) {
      if (!SendAll(client.Get(), buffer.data(), got)) {
        break;
      }
    }
  }
}

bool MeasureRawRoundTrips(int inPort, int inCount, const std::string& inMessage, int inReplySize,
                          std::vector<double>* outMicros) {
  KSSocket s = ConnectLoopback(inPort);
  if (!s) {
    return false;
  }
  std::vector<char> reply(static_cast<size_t>(inReplySize) + 1);
  int size = int(inMessage.size());
  bool ok = true;
  for (int i = 0; i < inCount && ok; ++i) {
    double start = BenchNowMicros();
    ok = SendAll(s.Get(), inMessage.data(), size) && ReceiveAll(s.Get(), reply.data(), inReplySize);
    outMicros->push_back(BenchNowMicros() - start);
  }
  return ok;
}

bool MeasureRawPipelined(int inPort, int inCount, const std::string& inMessage, int inReplySize,
                         double* outMicros) {
  KSSocket s = ConnectLoopback(inPort);
  if (!s) {
    return false;
  }
  int size = int(inMessage.size());
  double end = 0;
  bool readOK = false;
  std::thread reader([&] {
    std::vector<char> sink(65536);
    long long left = (long long)inCount * inReplySize;
    while (left > 0) {
      int got = recv(s.Get(), sink.data(), int(sink.size()), 0);
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
    sendOK = SendAll(s.Get(), inMessage.data(), size);
  }
  if (!sendOK) {
    shutdown(s.Get(), SD_BOTH);  // frees the reader
  }
  reader.join();
  *outMicros = end - start;
  return sendOK && readOK;
}
