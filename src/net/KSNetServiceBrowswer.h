// Browses one service type in one domain and keeps the names of the services
// found, with a record per service that can be resolved on request.
//
// DNS-SD is used when its library is there; otherwise the same-machine
// registry (KSZeroconf), whose services are reported in the domain
// "kestrova_localhost.". Broadcasts, on the discovery thread:
//   kKSMsg_ServiceListChanged (this browser, null)      the name list changed
//   kKSMsg_ServiceResolved    (this browser, name text)  a listed service's
//                                                        resolve ended
// A synchronous resolve broadcasts on the caller's thread instead.
#pragma once

#include "foundation/KSBroadcaster.h"
#include "foundation/KSMutex.h"
#include "foundation/KSTime.h"
#include "foundation/UtilStr.h"
#include "foundation/XStrList.h"
#include "net/DNSSDOperation.h"
#include "net/KSNetAddr.h"
#include "net/KSServiceInfo.h"
#include "net/KSZeroconf.h"

// The domain in which services of the same-machine registry are reported.
constexpr const char* kZCLocalDomain = "kestrova_localhost.";

class KSNetServiceBrowswer : public KSBroadcaster,
                             public KSListener,
                             private DNSSDOperation::Client {
 public:
  KSNetServiceBrowswer();
  ~KSNetServiceBrowswer() override;

  // (Re)starts browsing inType in inDomain. 0, or the error of the registry
  // when DNS-SD is missing and the registry cannot browse either.
  long StartBrowsing(const char* inType, const char* inDomain);
  // Stops the running browse; a browse thread stuck in the library is left to
  // end on its own. The list is kept.
  void StopBrowsing();
  // Looks again: the registry is scanned at once, a DNS-SD browse is started
  // anew (the list is kept; what is found again replaces its record).
  void Rescan();

  // The name at 1-based inIndex of the sorted list; false (and outName
  // cleared) outside the list.
  virtual bool GetServiceName(int inIndex, UtilStr* outName);
  virtual bool GetDomainForService(const UtilStr& inName, UtilStr* outDomain);

  // Resolves a known service unless its last resolve is younger than
  // inMaxAgeSecs. kKSErr_FileNotFound for an unknown name; otherwise the
  // resolver's result (see KSNetServiceResolver), except that a resolve that
  // got no answer keeps an earlier address and gives 0.
  virtual long ResolveService(const UtilStr& inName, long inMaxAgeSecs, long inTimeout,
                              bool inAsync);

  // True when inName is known and resolved; each out-pointer may be null.
  bool GetServiceAddr(const UtilStr& inName, KSNetAddr* outAddr, unsigned long* outPort,
                      KSTime* outTimeResolved);

 protected:
  virtual void OnServiceChange(const char* inName, const char* inDomain, bool inAdded,
                               bool inMoreComing);
  void ListenToMsg(long inMsg, void* inParam1, void* inParam2) override;

 private:
  // Each of these takes the list lock for its own work. Records they hand
  // back are disposed of by the caller, without the lock.
  std::unique_ptr<KSServiceInfo> AddRecord(const char* inName, const char* inDomain);  // replaced
  std::unique_ptr<KSServiceInfo> RemoveRecord(const char* inName);
  std::unique_ptr<KSServiceInfo> TakeAnyRecord();
  // Stores the resolve's outcome in the record of inName; false when that
  // record is gone or was made anew. *outListed: the name joined the list.
  bool StoreResolveResult(const UtilStr& inName, KSNetServiceResolver* inResolver, bool* outListed);
  void OnResolveComplete(KSNetServiceResolver* inResolver);
  void DisposeRecord(std::unique_ptr<KSServiceInfo> inInfo);

  void OnBrowseReply(DNSServiceFlags inFlags, const char* inName, const char* inDomain) override;
  void OnResolveAnswered(DNSSDOperation*, const char*, unsigned long) override {}

  UtilStr mBrowseServiceType;
  UtilStr mBrowseDomain;
  DNSSDOperation* mBrowser;  // the running DNS-SD browse and its thread, or null
  KSZeroconf mZC;
  bool mServicesMustResolve;  // list names only once resolved
  KSMutex mServiceListMutex;  // guards mServiceList and mServiceStore
  XStrList mServiceList;
  KSServiceStore mServiceStore;
};
