#include "net/DNSSDWrapper.h"

#include <windows.h>

DNSSDWrapper gDNSSDWrapper;

DNSSDWrapper::ProcessResultProc DNSSDWrapper::sDNSServiceProcessResult = nullptr;
DNSSDWrapper::RefDeallocateProc DNSSDWrapper::sDNSServiceRefDeallocate = nullptr;
DNSSDWrapper::RegisterProc DNSSDWrapper::sDNSServiceRegister = nullptr;
DNSSDWrapper::ResolveProc DNSSDWrapper::sDNSServiceResolve = nullptr;
DNSSDWrapper::BrowseProc DNSSDWrapper::sDNSServiceBrowse = nullptr;

namespace {

template <typename Proc>
Proc LookUp(HMODULE inLib, const char* inName) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(inLib, inName)));
}

}  // namespace

DNSSDWrapper::DNSSDWrapper() : mLib(nullptr), mInitFailed(false), mLibraryThreads(0) {}

DNSSDWrapper::~DNSSDWrapper() {
  // A thread still blocked in the library at exit would crash in unmapped
  // code; the process is ending, so leaving the library loaded costs nothing.
  if (mLib != nullptr && mLibraryThreads == 0) {
    FreeLibrary(static_cast<HMODULE>(mLib));
  }
}

bool DNSSDWrapper::Init() {
  KSMutexHold hold(mInitLock);
  if (mLib != nullptr) {
    return true;
  }
  if (mInitFailed) {
    return false;
  }
  HMODULE lib = LoadLibraryW(L"DNSSD.DLL");
  if (lib != nullptr) {
    sDNSServiceProcessResult = LookUp<ProcessResultProc>(lib, "DNSServiceProcessResult");
    sDNSServiceRefDeallocate = LookUp<RefDeallocateProc>(lib, "DNSServiceRefDeallocate");
    sDNSServiceRegister = LookUp<RegisterProc>(lib, "DNSServiceRegister");
    sDNSServiceResolve = LookUp<ResolveProc>(lib, "DNSServiceResolve");
    sDNSServiceBrowse = LookUp<BrowseProc>(lib, "DNSServiceBrowse");
  }
  if (lib == nullptr || sDNSServiceProcessResult == nullptr ||
      sDNSServiceRefDeallocate == nullptr || sDNSServiceRegister == nullptr ||
      sDNSServiceResolve == nullptr || sDNSServiceBrowse == nullptr) {
    if (lib != nullptr) {
      FreeLibrary(lib);
    }
    sDNSServiceProcessResult = nullptr;
    sDNSServiceRefDeallocate = nullptr;
    sDNSServiceRegister = nullptr;
    sDNSServiceResolve = nullptr;
    sDNSServiceBrowse = nullptr;
    mInitFailed = true;
    return false;
  }
  mLib = lib;
  return true;
}

DNSServiceErrorType DNSSDWrapper::DNSServiceBrowse(DNSServiceRef* outRef, DNSServiceFlags inFlags,
                                                   uint32 inInterfaceIndex, const char* inType,
                                                   const char* inDomain,
                                                   DNSServiceBrowseReply inCallBack,
                                                   void* inContext) {
  if (!Init()) {
    return kDNSServiceErr_NotInitialized;
  }
  return sDNSServiceBrowse(outRef, inFlags, inInterfaceIndex, inType, inDomain, inCallBack,
                           inContext);
}

DNSServiceErrorType DNSSDWrapper::DNSServiceResolve(DNSServiceRef* outRef, DNSServiceFlags inFlags,
                                                    uint32 inInterfaceIndex, const char* inName,
                                                    const char* inType, const char* inDomain,
                                                    DNSServiceResolveReply inCallBack,
                                                    void* inContext) {
  if (!Init()) {
    return kDNSServiceErr_NotInitialized;
  }
  return sDNSServiceResolve(outRef, inFlags, inInterfaceIndex, inName, inType, inDomain, inCallBack,
                            inContext);
}

DNSServiceErrorType DNSSDWrapper::DNSServiceProcessResult(DNSServiceRef inRef) {
  if (!Init()) {
    return kDNSServiceErr_NotInitialized;
  }
  return sDNSServiceProcessResult(inRef);
}

void DNSSDWrapper::DNSServiceRefDeallocate(DNSServiceRef inRef) {
  if (Init()) {
    sDNSServiceRefDeallocate(inRef);
  }
}
