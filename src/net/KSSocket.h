// Owns one Winsock socket and closes it when it goes. Windows only.
#pragma once

#include <winsock2.h>

class KSSocket {
 public:
  KSSocket() : mSocket(INVALID_SOCKET) {}
  explicit KSSocket(SOCKET inSocket) : mSocket(inSocket) {}
  ~KSSocket() { Reset(); }

  KSSocket(const KSSocket&) = delete;
  KSSocket& operator=(const KSSocket&) = delete;
  KSSocket(KSSocket&& ioOther) noexcept : mSocket(ioOther.Release()) {}
  KSSocket& operator=(KSSocket&& ioOther) noexcept {
    if (this != &ioOther) {
      Reset(ioOther.Release());
    }
    return *this;
  }

  SOCKET Get() const { return mSocket; }
  bool IsValid() const { return mSocket != INVALID_SOCKET; }
  explicit operator bool() const { return IsValid(); }

  // Closes the socket held so far and takes inSocket.
  void Reset(SOCKET inSocket = INVALID_SOCKET) {
    if (IsValid()) {
      closesocket(mSocket);
    }
    mSocket = inSocket;
  }

  // Gives the socket up without closing it.
  SOCKET Release() {
    SOCKET socket = mSocket;
    mSocket = INVALID_SOCKET;
    return socket;
  }

 private:
  SOCKET mSocket;
};
