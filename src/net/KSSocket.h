// Owns one Winsock socket and closes it when it goes. Windows only.
#pragma once

#include <winsock2.h>

#include "foundation/KSOwned.h"

struct KSSocketTraits {
  using Value = SOCKET;
  static SOCKET None() { return INVALID_SOCKET; }
  static bool IsValid(SOCKET inSocket) { return inSocket != INVALID_SOCKET; }
  static void Free(SOCKET inSocket) { closesocket(inSocket); }
};

using KSSocket = KSOwned<KSSocketTraits>;
