#include "net/KSNet.h"

#include "foundation/KSError.h"
#include "net/KSSessionJob.h"
#include "net/KSTranslateJob.h"

namespace {

volatile LONG sWSARefCount = 0;
bool sIsIP4 = false;
bool sIsIP6 = false;

// Records which address families the installed protocols offer. False when
// the protocol catalogue cannot be read.
bool FindProtocols() {
  DWORD size = 0;
  if (WSAEnumProtocolsW(nullptr, nullptr, &size) != SOCKET_ERROR ||
      WSAGetLastError() != WSAENOBUFS) {
    return false;
  }
  WSAPROTOCOL_INFOW* protocols = static_cast<WSAPROTOCOL_INFOW*>(malloc(size));
  if (!protocols) {
    return false;
  }
  int count = WSAEnumProtocolsW(nullptr, protocols, &size);
  for (int i = 0; i < count; i++) {
    if (protocols[i].iAddressFamily == AF_INET) {
      sIsIP4 = true;
    } else if (protocols[i].iAddressFamily == AF_INET6) {
      sIsIP6 = true;
    }
  }
  free(protocols);
  return count != SOCKET_ERROR;
}

bool HasGetAddrInfo() {
  HMODULE ws2 = GetModuleHandleW(L"ws2_32.dll");
  return ws2 && GetProcAddress(ws2, "getaddrinfo");
}

}  // namespace

long KSNet::Startup() {
  if (InterlockedIncrement(&sWSARefCount) > 1) {
    return 0;
  }
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 0), &data) != 0) {
    return kKSErr_APINotFound;
  }
  if (!FindProtocols() || (!sIsIP4 && !sIsIP6) || (sIsIP6 && !HasGetAddrInfo())) {
    WSACleanup();
    return kKSErr_APINotFound;
  }
  return 0;
}

long KSNet::Shutdown() {
  if (InterlockedDecrement(&sWSARefCount) <= 0) {
    WSACleanup();
  }
  return 0;
}

bool KSNet::IsIP4() {
  return sIsIP4;
}

bool KSNet::IsIP6() {
  return sIsIP6;
}

long KSNet::OpenSession(const KSNetAddr& inAddr, long inPort, long inTimeoutMS,
                        unsigned long inFlags, KSSessionMsgHandler inHandler, void* inUserParam,
                        KSSessionRef* outSessionRef) {
  if (inFlags & kKSNetOpen_Listen) {
    return kKSErr_Unimplemented;
  }
  if (inPort < 0 || inPort > 65535 || inTimeoutMS < 0 || !outSessionRef ||
      (inAddr.mType == ks_IP4Address && !sIsIP4) || (inAddr.mType == ks_IP6Address && !sIsIP6)) {
    return kKSErr_Param;
  }

  KSNetAddr addr = inAddr;
  if (inAddr.mType == ks_HostName) {
    long err = TranslateAddrSync(inAddr, sIsIP4 ? ks_IP4Address : ks_IP6Address, &addr);
    if (err) {
      return err;
    }
  }

  KSSessionJob* job = new KSSessionJob;
  job->AddRef();  // the caller's
  long err = job->Created() ? job->OpenIPSession(addr, inPort, inTimeoutMS, inHandler, inUserParam)
                            : kKSErr_Internal;
  if (err) {
    job->Release();
    return err;
  }
  if (job->StartThread()) {
    job->Release();
    return kKSErr_Unmapped;
  }

  if (!(inFlags & kKSNetOpen_Async)) {
    HANDLE waits[2] = {job->ConnectEvent(), job->ResultEvent()};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    err = job->Result();
    if (err) {
      // Let the thread finish its report first, so that the failure has been
      // handled by the time the caller hears of it.
      WaitForSingleObject(job->ThreadHandle(), INFINITE);
      job->Release();
      *outSessionRef = 0;
      return err;
    }
  }
  *outSessionRef = job->Ref();
  return 0;
}

long KSNet::Send(KSSessionRef inSessionRef, const KSPacket& inPacket) {
  if (!inSessionRef) {
    return kKSErr_Param;
  }
  return KSSessionJob::FromRef(inSessionRef)->AppendPacket(inPacket, true);
}

long KSNet::SendNoWait(KSSessionRef inSessionRef, const KSPacket& inPacket) {
  if (!inSessionRef) {
    return kKSErr_Param;
  }
  return KSSessionJob::FromRef(inSessionRef)->AppendPacket(inPacket, false);
}

long KSNet::CloseSession(KSSessionRef inSessionRef, unsigned long inFlags) {
  if (!inSessionRef) {
    return kKSErr_Param;
  }
  KSSessionJob* job = KSSessionJob::FromRef(inSessionRef);
  return (inFlags & kKSNetClose_Async) ? job->CloseAsync() : job->CloseSync();
}

long KSNet::SetSessionTimeout(KSSessionRef inSessionRef, long inTimeoutMS) {
  if (!inSessionRef || inTimeoutMS < 0) {
    return kKSErr_Param;
  }
  KSSessionJob::FromRef(inSessionRef)->SetTimeout(inTimeoutMS);
  return 0;
}

long KSNet::TranslateAddrSync(const KSNetAddr& inAddr, KSNetAddrType inDestType,
                              KSNetAddr* outAddr) {
  if (!outAddr) {
    return kKSErr_Param;
  }
  KSTranslateJob* job = new KSTranslateJob(inAddr, inDestType, outAddr);
  job->AddRef();  // ours
  if (!job->Created() || job->StartThread()) {
    job->Release();
    return kKSErr_Unmapped;
  }
  WaitForSingleObject(job->ResultEvent(), INFINITE);
  long err = job->Result();
  if (err) {
    WaitForSingleObject(job->ThreadHandle(), INFINITE);
  }
  job->Release();
  return err;
}
