// Turns one service name into an address and port: by DNS-SD when the library
// is there, otherwise from the same-machine registry. Broadcasts
// kKSMsg_ResolveComplete (this resolver, null) when a resolve ends.
#pragma once

#include "foundation/KSBroadcaster.h"
#include "foundation/KSMutex.h"
#include "foundation/UtilStr.h"
#include "net/DNSSDOperation.h"
#include "net/KSNetAddr.h"

class KSNetServiceResolver : public KSBroadcaster, private DNSSDOperation::Client {
 public:
  KSNetServiceResolver();
  ~KSNetServiceResolver() override;

  // Starts resolving inName, dropping any resolve still running. inTimeout is
  // not used. With inAsync the answer arrives later on a thread of the
  // library and the result is 0. Without, the call waits for the answer (at
  // most kSyncResolveLimitMS): 0 when resolved, kKSErr_Internal when the
  // library gave no answer in time. Without DNS-SD the registry answers at
  // once: 0 or its error (kKSErr_ServiceNotFound).
  long ResolveService(const UtilStr& inName, const char* inType, const char* inDomain,
                      long inTimeout, bool inAsync);

  // The state of the last resolve (0 resolved, kKSErr_Pending still waiting,
  // kKSErr_BadState idle or abandoned, else its error); address and port are
  // copied only when it is 0. The port is in host order.
  long GetResolveServiceResults(KSNetAddr* outAddr, unsigned long* outPort);

  // The name of the last resolve started.
  void GetServiceName(UtilStr* outName);

  // Drops a running resolve. An answer being delivered on the library's
  // thread is waited for, so afterwards no other thread touches this
  // resolver; the caller must not hold a lock that the delivery takes.
  void CancelResolve();

  // How long a synchronous resolve waits for the library's answer; tests
  // shorten it before they start resolving.
  static constexpr long kSyncResolveLimitMS = 5000;
  static long sSyncResolveLimitMS;

 private:
  // Takes the running resolve, if any, and marks a pending one abandoned.
  DNSSDOperation* TakeOperation();
  // Starts a DNS-SD resolve of inName in place of any running one.
  long StartResolve(const UtilStr& inName, const char* inType, const char* inDomain, bool inAsync,
                    DNSSDOperation** outOperation);
  long ResolveLocally(const char* inType);
  long FinishSyncResolve(DNSSDOperation* inOperation);
  void StoreAnswer(const char* inHostTarget, unsigned long inPort);

  void OnBrowseReply(DNSServiceFlags, const char*, const char*) override {}
  void OnResolveAnswered(DNSSDOperation* inOperation, const char* inHostTarget,
                         unsigned long inPort) override;

  KSMutex mLock;               // guards the fields below against the library's thread
  DNSSDOperation* mOperation;  // the running DNS-SD resolve, or null
  long mStatus;
  KSNetAddr mResolvedAddr;
  unsigned long mResolvedPort;  // host order
  UtilStr mSearchDomain;
  UtilStr mServiceName;
};
