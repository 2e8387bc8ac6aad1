// What service discovery knows about one discovered service, and the table of
// those records keyed by service name.
#pragma once

#include <memory>

#include "foundation/Hashtable.h"
#include "foundation/KSObject.h"
#include "foundation/KSTime.h"
#include "foundation/UtilStr.h"
#include "net/KSNetAddr.h"
#include "net/KSNetServiceResolver.h"

class KSServiceInfo : public KSObject {
 public:
  KSServiceInfo(const char* inName, const char* inDomain);

  bool IsResolved() const { return mAddr.mType != ks_InvalidAddress; }

  UtilStr mServiceName;
  UtilStr mDomain;
  KSTime mTimeDiscovered;    // local time
  KSTime mResolveStartTime;  // local time of the last resolve started; day 0 until then
  KSTime mTimeResolved;      // local time of the last successful resolve
  uint32 mPort;
  KSNetAddr mAddr;  // ks_InvalidAddress while unresolved
  KSNetServiceResolver mServiceResolver;
};

// Service records by name, letter case ignored like the browser's name list.
// The table owns its records but never deletes one itself: Put and Take hand
// a replaced or removed record back, for the caller to delete once it has let
// go of its locks (a record's resolver may have to wait for an answer that is
// being delivered on another thread).
class KSServiceStore : public Hashtable {
 public:
  KSServiceStore();
  ~KSServiceStore() override;

  // Stores inInfo under its name; returns the record it replaces, or null.
  std::unique_ptr<KSServiceInfo> Put(std::unique_ptr<KSServiceInfo> inInfo);
  KSServiceInfo* Find(const char* inName) const;
  // Removes and returns the record of inName, or null.
  std::unique_ptr<KSServiceInfo> Take(const char* inName);
  // Removes and returns any record, or null when the table is empty.
  std::unique_ptr<KSServiceInfo> TakeAny();
};
