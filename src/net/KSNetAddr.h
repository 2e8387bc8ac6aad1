// Network addresses as the socket layer passes them around.
#pragma once

#include "foundation/KSTypes.h"

// Each non-zero value spells four equal ASCII digits, which makes a stored
// address type easy to spot in a memory or registry dump.
enum KSNetAddrType : uint32 {
  ks_InvalidAddress = 0,
  ks_localhost = 0x31313131,   // "1111": this machine, whatever its addresses
  ks_IP4Address = 0x32323232,  // "2222": u.mIP4Addr
  ks_IP6Address = 0x33333333,  // "3333": u.mIP6Addr
  ks_HostName = 0x34343434,    // "4444": u.mHostName
};

// A tagged address. It is a plain value, copied whole; the same-machine service
// registry stores it byte for byte, so its layout must not change.
struct KSNetAddr {
  KSNetAddrType mType;
  union {
    uint8 mIP4Addr[4];    // network order, first octet first
    uint8 mIP6Addr[16];   // network order
    char mHostName[256];  // NUL-terminated
  } u;
};

static_assert(sizeof(KSNetAddr) == 260, "KSNetAddr is shared with other processes");
