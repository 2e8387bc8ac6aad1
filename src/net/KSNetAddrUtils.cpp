// Address conversions that need no name service, and this machine's
// addresses.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>

#include "foundation/KSError.h"
#include "net/KSNet.h"

namespace {

constexpr long kMaxLocalAddrs = 32;

KSNetAddr sLocalAddrList[kMaxLocalAddrs];
long sNumLocalAddrs = -1;
INIT_ONCE sLocalAddrsOnce = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK DiscoverOnce(INIT_ONCE*, void*, void**) {
  sNumLocalAddrs = DiscoverLocalAddrs(sLocalAddrList, kMaxLocalAddrs);
  return TRUE;
}

// This machine's addresses, looked up on first need.
long LocalAddrs(const KSNetAddr** outList) {
  InitOnceExecuteOnce(&sLocalAddrsOnce, DiscoverOnce, nullptr, nullptr);
  *outList = sLocalAddrList;
  return sNumLocalAddrs;
}

bool IsLocalWithBytes(KSNetAddrType inType, const uint8* inBytes, size_t inSize) {
  const KSNetAddr* list;
  long count = LocalAddrs(&list);
  for (long i = 0; i < count; i++) {
    if (list[i].mType == inType && memcmp(list[i].u.mIP6Addr, inBytes, inSize) == 0) {
      return true;
    }
  }
  return false;
}

// The last local address of the wanted kind.
bool FindLocalAddr(KSNetAddrType inType, KSNetAddr* outAddr) {
  const KSNetAddr* list;
  long count = LocalAddrs(&list);
  for (long i = count - 1; i >= 0; i--) {
    if (list[i].mType == inType) {
      *outAddr = list[i];
      return true;
    }
  }
  return false;
}

bool FromLocalhost(KSNetAddrType inDestType, KSNetAddr* outAddr) {
  if (inDestType == ks_HostName) {
    strcpy(outAddr->u.mHostName, "localhost");
    return true;
  }
  if (inDestType == ks_IP4Address) {
    if (!FindLocalAddr(ks_IP4Address, outAddr)) {
      const uint8 loopback[4] = {127, 0, 0, 1};
      memcpy(outAddr->u.mIP4Addr, loopback, 4);
    }
    return true;
  }
  if (inDestType == ks_IP6Address) {
    return FindLocalAddr(ks_IP6Address, outAddr);
  }
  return false;
}

bool ToHostName(const KSNetAddr& inAddr, KSNetAddr* outAddr) {
  char text[sizeof(outAddr->u.mHostName)];
  if (inAddr.mType == ks_IP4Address) {
    const uint8* a = inAddr.u.mIP4Addr;
    snprintf(text, sizeof(text), "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
  } else if (inAddr.mType == ks_IP6Address) {
    const uint8* a = inAddr.u.mIP6Addr;
    snprintf(text, sizeof(text), "%x:%x:%x:%x:%x:%x:%x:%x", (a[0] << 8) | a[1], (a[2] << 8) | a[3],
             (a[4] << 8) | a[5], (a[6] << 8) | a[7], (a[8] << 8) | a[9], (a[10] << 8) | a[11],
             (a[12] << 8) | a[13], (a[14] << 8) | a[15]);
  } else {
    return false;
  }
  strcpy(outAddr->u.mHostName, text);
  return true;
}

}  // namespace

bool TranslateAddr_Trivial(const KSNetAddr& inAddr, KSNetAddrType inDestType, KSNetAddr* outAddr) {
  bool done;
  if (inAddr.mType == inDestType) {
    *outAddr = inAddr;
    done = true;
  } else if (inDestType == ks_localhost) {
    done = IsAddrLocal(inAddr);
    if (done) {
      *outAddr = inAddr;
    }
  } else if (inAddr.mType == ks_localhost) {
    done = FromLocalhost(inDestType, outAddr);
  } else if (inDestType == ks_HostName) {
    done = ToHostName(inAddr, outAddr);
  } else {
    done = false;
  }
  if (done) {
    outAddr->mType = inDestType;
  }
  return done;
}

bool IsAddrLocal(const KSNetAddr& inAddr) {
  switch (inAddr.mType) {
    case ks_IP4Address: {
      const uint8 loopback[4] = {127, 0, 0, 1};
      return memcmp(inAddr.u.mIP4Addr, loopback, 4) == 0 ||
             IsLocalWithBytes(ks_IP4Address, inAddr.u.mIP4Addr, 4);
    }
    case ks_IP6Address:
      return IsLocalWithBytes(ks_IP6Address, inAddr.u.mIP6Addr, 16);
    case ks_HostName:
      return strcmp(inAddr.u.mHostName, "127.0.0.1") == 0 ||
             strcmp(inAddr.u.mHostName, "localhost") == 0;
    default:
      return false;
  }
}

long DiscoverLocalAddrs(KSNetAddr* outAddrs, long inMaxCount) {
  char hostName[256];
  if (gethostname(hostName, sizeof(hostName)) != 0) {
    return 0;
  }
  hostName[sizeof(hostName) - 1] = 0;
  hostent* host = gethostbyname(hostName);
  if (!host) {
    return 0;
  }
  long count = 0;
  long found = 0;
  for (; host->h_addr_list[found] && count < inMaxCount; found++) {
    KSNetAddr& addr = outAddrs[count];
    memset(&addr, 0, sizeof(addr));
    if (host->h_addrtype == AF_INET && host->h_length == 4) {
      addr.mType = ks_IP4Address;
      memcpy(addr.u.mIP4Addr, host->h_addr_list[found], 4);
      count++;
    } else if (host->h_addrtype == AF_INET6 && host->h_length == 16) {
      addr.mType = ks_IP6Address;
      memcpy(addr.u.mIP6Addr, host->h_addr_list[found], 16);
      count++;
    }
  }
  if (found < inMaxCount && count < inMaxCount) {
    KSNetAddr& addr = outAddrs[count++];
    memset(&addr, 0, sizeof(addr));
    addr.mType = ks_HostName;
    strcpy(addr.u.mHostName, hostName);
  }
  return count;
}

long ResolveIP6(const char* inName, uint8* outAddr16) {
  addrinfo hints = {};
  hints.ai_family = AF_INET6;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  if (getaddrinfo(inName, nullptr, &hints, &result) != 0 || !result) {
    return kKSErr_HostNotFound;
  }
  memcpy(outAddr16, &reinterpret_cast<sockaddr_in6*>(result->ai_addr)->sin6_addr, 16);
  freeaddrinfo(result);
  return 0;
}
