#include "net/KSTranslateJob.h"

#include <cstring>

#include "foundation/KSError.h"

KSTranslateJob::KSTranslateJob(const KSNetAddr& inAddr, KSNetAddrType inDestType,
                               KSNetAddr* outAddr)
    : mAddress(inAddr), mDestType(inDestType), mOutAddress(outAddr) {}

void KSTranslateJob::Execute() {
  SetResult(Translate());
  SignalResult();
}

long KSTranslateJob::Translate() {
  if (TranslateAddr_Trivial(mAddress, mDestType, mOutAddress)) {
    return 0;
  }

  if (mAddress.mType == ks_localhost && mDestType == ks_IP6Address) {
    return ResolveToIP6("::1");
  }

  if (mAddress.mType != ks_HostName) {
    return kKSErr_Param;
  }
  if (mDestType == ks_IP4Address || mDestType == ks_localhost) {
    hostent* host = gethostbyname(mAddress.u.mHostName);
    if (!host || host->h_addrtype != AF_INET || !host->h_addr_list[0]) {
      return kKSErr_HostNotFound;
    }
    KSNetAddr ip4 = {};
    ip4.mType = ks_IP4Address;
    memcpy(ip4.u.mIP4Addr, host->h_addr_list[0], 4);
    if (mDestType == ks_localhost) {
      return TranslateAddr_Trivial(ip4, ks_localhost, mOutAddress) ? 0 : kKSErr_NotLocalHost;
    }
    *mOutAddress = ip4;
    return 0;
  }
  if (mDestType == ks_IP6Address) {
    return ResolveToIP6(mAddress.u.mHostName);
  }
  return kKSErr_Param;
}

long KSTranslateJob::ResolveToIP6(const char* inName) {
  if (!KSNet::IsIP6()) {
    return kKSErr_APINotFound;
  }
  long err = ResolveIP6(inName, mOutAddress->u.mIP6Addr);
  if (!err) {
    mOutAddress->mType = ks_IP6Address;
  }
  return err;
}
