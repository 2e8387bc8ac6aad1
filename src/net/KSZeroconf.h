// The same-machine service registry, used when DNS-SD is not available.
//
// For a service type T the registry is a set of named kernel objects shared by
// every process on the machine:
//   "KSZeroconf T - AcessMutex"   mutex guarding all slots of the type
//   "KSZeroconf T - NotifyEvent"  manual-reset event pulsed on every change
//   "KSZeroconf T - 0" .. " - 5"  page-file mappings of one ZCService each
// A slot exists while its publisher keeps the mapping open, so a publisher
// that dies takes its record with it.
//
// Browsing runs a thread that rescans the slots whenever the event is pulsed
// (and every two minutes, in case a pulse was missed) and broadcasts
// kKSMsg_ServiceAdded / kKSMsg_ServiceRemoved with the service name and a
// more-coming flag. Publishing (SetStatus) is the engine's side.
#pragma once

#include <atomic>

#include "foundation/KSBroadcaster.h"
#include "foundation/KSHandle.h"
#include "foundation/KSMappedView.h"
#include "foundation/UtilStr.h"
#include "net/KSNetAddr.h"
#include "net/ZCSlot.h"

class KSZeroconf : public KSBroadcaster {
 public:
  KSZeroconf();
  ~KSZeroconf() override;

  // Stops browsing, withdraws our record and switches to the objects of
  // inType (none for an empty type).
  void SetServiceType(const char* inType);

  // The record that SetStatus(true) publishes: by default this machine
  // (ks_localhost), an empty name and port 0.
  void SetServiceName(const char* inName);
  void SetServicePort(unsigned long inPort);
  void SetServiceAddr(const KSNetAddr& inAddr);

  // Starts the browse thread; its first scan reports every service present.
  // 0 when browsing (also when it already was), kKSErr_Param without a type.
  long StartBrowsing();
  void StopBrowsing();
  bool IsBrowsing() const { return mBrowseThread != nullptr; }
  // Has the browse thread scan the slots now, as a pulse would.
  void Rescan();

  // Publishes our record in the first free slot, or withdraws it. Returns
  // kKSErr_QuotaExceeded when all six slots are taken, kKSErr_Timeout when the
  // registry stayed locked, kKSErr_Param without a type.
  long SetStatus(bool inPublish);
  bool IsPublished() const { return bool(mSharedData); }

  // Looks up the first slot carrying inName (ignoring case) and copies its
  // record. kKSErr_ServiceNotFound when no slot carries it.
  static long ResolveService(const char* inName, const char* inType, ZCService* outService);

 private:
  void Withdraw();
  // Fills slot inSlot with our record; false when it is taken or cannot be made.
  bool PublishInSlot(int inSlot);
  // Copies all slots under the registry lock; false when it stayed locked.
  bool ReadAllSlots(ZCService* outSlots);
  void CloseSharedObjects();
  // One scan of all slots; inForce reports every occupied slot as new.
  void DoUpdateCallback(bool inForce);
  static unsigned long __stdcall ZCNotifyThread(void* inZeroconf);

  UtilStr mServiceName;
  UtilStr mServiceType;
  ZCService mSelf;
  ZCService mPeerList[kZCNumSlots];  // what each slot held at the last scan
  KSHandle mFileMapping;             // our slot's mapping while published
  KSMappedView mSharedData;          // view of our slot (a ZCService) while published
  KSHandle mBrowseEvent;             // the named notify event
  KSHandle mExitingEvent;            // set to stop the browse thread
  KSHandle mRescanEvent;             // auto-reset, ours alone: set by Rescan
  KSHandle mAccessMutex;             // the named mutex
  // The browse thread's handle, null when not browsing. The thread reads it
  // too: a cleared handle tells it to stop, so StopBrowsing takes it out of
  // here before it closes it.
  std::atomic<void*> mBrowseThread;
};
