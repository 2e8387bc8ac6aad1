#include "support/SocketSend.h"

bool SendAll(SOCKET inSocket, const void* inBytes, size_t inSize) {
  const char* bytes = static_cast<const char*>(inBytes);
  while (inSize > 0) {
    int sent = send(inSocket, bytes, int(inSize), 0);
    if (sent <= 0) {
      return false;
    }
    bytes += sent;
    inSize -= size_t(sent);
  }
  return true;
}
