// Run-time binding to the DNS-SD client library "DNSSD.DLL".
//
// The library is optional: it is loaded on the first call, and when it or any
// of the five entry points we need is missing, every call answers
// kDNSServiceErr_NotInitialized from then on. Discovery takes that answer as
// the sign to use the same-machine registry (KSZeroconf) instead.
#pragma once

#include <atomic>

#include "foundation/KSMutex.h"
#include "foundation/KSTypes.h"

// The library's own types, as its published interface declares them.
typedef struct _DNSServiceRef_t* DNSServiceRef;
typedef uint32 DNSServiceFlags;
typedef int32 DNSServiceErrorType;

constexpr DNSServiceErrorType kDNSServiceErr_NoError = 0;
constexpr DNSServiceErrorType kDNSServiceErr_NotInitialized = -65545;

constexpr DNSServiceFlags kDNSServiceFlagsMoreComing = 0x1;
constexpr DNSServiceFlags kDNSServiceFlagsAdd = 0x2;

#define KS_DNSSD_API __stdcall

typedef void(KS_DNSSD_API* DNSServiceBrowseReply)(DNSServiceRef inRef, DNSServiceFlags inFlags,
                                                  uint32 inInterfaceIndex,
                                                  DNSServiceErrorType inErrorCode,
                                                  const char* inServiceName, const char* inType,
                                                  const char* inReplyDomain, void* inContext);

// inPort is in network byte order.
typedef void(KS_DNSSD_API* DNSServiceResolveReply)(
    DNSServiceRef inRef, DNSServiceFlags inFlags, uint32 inInterfaceIndex,
    DNSServiceErrorType inErrorCode, const char* inFullName, const char* inHostTarget,
    uint16 inPort, uint16 inTxtLen, const unsigned char* inTxtRecord, void* inContext);

class DNSSDWrapper {
 public:
  DNSSDWrapper();
  ~DNSSDWrapper();

  DNSSDWrapper(const DNSSDWrapper&) = delete;
  DNSSDWrapper& operator=(const DNSSDWrapper&) = delete;

  DNSServiceErrorType DNSServiceBrowse(DNSServiceRef* outRef, DNSServiceFlags inFlags,
                                       uint32 inInterfaceIndex, const char* inType,
                                       const char* inDomain, DNSServiceBrowseReply inCallBack,
                                       void* inContext);
  DNSServiceErrorType DNSServiceResolve(DNSServiceRef* outRef, DNSServiceFlags inFlags,
                                        uint32 inInterfaceIndex, const char* inName,
                                        const char* inType, const char* inDomain,
                                        DNSServiceResolveReply inCallBack, void* inContext);
  // Blocks until the library has a result for inRef and runs its callback.
  DNSServiceErrorType DNSServiceProcessResult(DNSServiceRef inRef);
  void DNSServiceRefDeallocate(DNSServiceRef inRef);

  // Threads that may sit inside the library count themselves in and out, so
  // that the library is not unloaded under them at process exit.
  void EnterLibraryThread() { mLibraryThreads++; }
  void LeaveLibraryThread() { mLibraryThreads--; }

 private:
  // Loads the library once; true when all five entry points are bound.
  bool Init();

  typedef DNSServiceErrorType(KS_DNSSD_API* ProcessResultProc)(DNSServiceRef);
  typedef void(KS_DNSSD_API* RefDeallocateProc)(DNSServiceRef);
  typedef DNSServiceErrorType(KS_DNSSD_API* BrowseProc)(DNSServiceRef*, DNSServiceFlags, uint32,
                                                        const char*, const char*,
                                                        DNSServiceBrowseReply, void*);
  typedef DNSServiceErrorType(KS_DNSSD_API* ResolveProc)(DNSServiceRef*, DNSServiceFlags, uint32,
                                                         const char*, const char*, const char*,
                                                         DNSServiceResolveReply, void*);
  // Located so that an incomplete library is refused, but never called.
  typedef void* RegisterProc;

  void* mLib;  // module handle; null until loaded
  bool mInitFailed;
  KSMutex mInitLock;
  std::atomic<int> mLibraryThreads;

  static ProcessResultProc sDNSServiceProcessResult;
  static RefDeallocateProc sDNSServiceRefDeallocate;
  static RegisterProc sDNSServiceRegister;
  static ResolveProc sDNSServiceResolve;
  static BrowseProc sDNSServiceBrowse;
};

extern DNSSDWrapper gDNSSDWrapper;
