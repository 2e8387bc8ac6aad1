#include "net/KSZeroconf.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "foundation/KSMessages.h"
#include "foundation/KSNamedMutexHold.h"

namespace {

// How long the browse thread may take to notice that it should stop.
constexpr DWORD kZCStopWaitMS = 500;
// Rescan this often even without a pulse: a pulse sent while the browse thread
// was busy scanning is lost.
constexpr DWORD kZCRescanMS = 120000;
// The registry lock is held only for a few copies; a process that keeps it
// longer than this is stuck, and we do without the registry rather than hang.
// A lock left by a process that ended is ours then: the slots it guarded are
// still whole, since every writer fills a slot before readers can see it.
constexpr DWORD kZCAccessWaitMS = 5000;

std::wstring Widen(const UtilStr& inText) {
  int count = MultiByteToWideChar(CP_UTF8, 0, inText.getCStr(), inText.length(), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  if (count > 0) {
    MultiByteToWideChar(CP_UTF8, 0, inText.getCStr(), inText.length(), &wide[0], count);
  }
  return wide;
}

std::wstring MutexName(const char* inType) {
  UtilStr name;
  name.AppendVA("KSZeroconf %s - AcessMutex", inType);
  return Widen(name);
}

std::wstring EventName(const char* inType) {
  UtilStr name;
  name.AppendVA("KSZeroconf %s - NotifyEvent", inType);
  return Widen(name);
}

std::wstring SlotName(const char* inType, int inSlot) {
  UtilStr name;
  name.AppendVA("KSZeroconf %s - %d", inType, inSlot);
  return Widen(name);
}

// Copies slot inSlot of inType; a slot that nobody publishes reads as an
// empty record.
void ReadSlot(const char* inType, int inSlot, ZCService* outService) {
  KSHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, SlotName(inType, inSlot).c_str()));
  KSMappedView view;
  if (mapping) {
    view.Reset(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(ZCService)));
  }
  ZCDecodeSlot(view.Get(), outService);
}

// A stamp that differs between publications, also across processes, so that a
// browser sees a slot republished by anyone as changed.
int32 NewSeed(int32 inPrevious) {
  static std::atomic<uint32> sPublications(0);
  uint32 seed = (GetCurrentProcessId() << 16) ^ GetTickCount() ^ (++sPublications * 2654435761u);
  seed &= 0x7FFFFFFF;
  if (seed == 0 || static_cast<int32>(seed) == inPrevious) {
    seed = static_cast<uint32>(inPrevious) + 1;
  }
  return static_cast<int32>(seed);
}

}  // namespace

KSZeroconf::KSZeroconf()
    : mRescanEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)), mBrowseThread(nullptr) {
  std::memset(&mSelf, 0, sizeof(mSelf));
  mSelf.mAddr.mType = ks_localhost;
  mSelf.mSeed = 1;
  std::memset(mPeerList, 0, sizeof(mPeerList));
}

KSZeroconf::~KSZeroconf() {
  StopBrowsing();
  Withdraw();
  CloseSharedObjects();
}

void KSZeroconf::SetServiceType(const char* inType) {
  StopBrowsing();
  Withdraw();
  CloseSharedObjects();
  mServiceType.Assign(inType != nullptr ? inType : "");
  if (mServiceType.IsEmpty()) {
    return;
  }
  mAccessMutex.Reset(CreateMutexW(nullptr, FALSE, MutexName(mServiceType.getCStr()).c_str()));
  mBrowseEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, EventName(mServiceType.getCStr()).c_str()));
}

void KSZeroconf::SetServiceName(const char* inName) {
  mServiceName.Assign(inName != nullptr ? inName : "");
  std::memset(mSelf.mServiceName.mStr, 0, sizeof(mSelf.mServiceName.mStr));
  mServiceName.CopyTo(mSelf.mServiceName.mStr, sizeof(mSelf.mServiceName.mStr) - 1);
}

void KSZeroconf::SetServicePort(unsigned long inPort) {
  mSelf.mPort = static_cast<uint32>(inPort);
}

void KSZeroconf::SetServiceAddr(const KSNetAddr& inAddr) {
  mSelf.mAddr = inAddr;
}

void KSZeroconf::CloseSharedObjects() {
  mAccessMutex.Reset();
  mBrowseEvent.Reset();
}

long KSZeroconf::StartBrowsing() {
  if (mBrowseThread != nullptr) {
    return 0;
  }
  if (mServiceType.IsEmpty()) {
    return kKSErr_Param;
  }
  if (!mAccessMutex || !mBrowseEvent) {
    return kKSErr_Unmapped;
  }
  std::memset(mPeerList, 0, sizeof(mPeerList));
  mExitingEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!mExitingEvent) {
    return KSLastOSError();
  }
  // Started suspended so that the thread finds its own handle stored: a
  // cleared handle is its signal to stop.
  HANDLE thread = CreateThread(nullptr, 0, ZCNotifyThread, this, CREATE_SUSPENDED, nullptr);
  if (thread == nullptr) {
    mExitingEvent.Reset();
    return kKSErr_Unmapped;
  }
  mBrowseThread = thread;
  ResumeThread(thread);
  return 0;
}

void KSZeroconf::StopBrowsing() {
  KSHandle thread(mBrowseThread.exchange(nullptr));
  if (!thread) {
    return;
  }
  SetEvent(mExitingEvent.Get());
  if (WaitForSingleObject(thread.Get(), kZCStopWaitMS) == WAIT_TIMEOUT) {
    TerminateThread(thread.Get(), 0);
  }
  mExitingEvent.Reset();
}

void KSZeroconf::Rescan() {
  SetEvent(mRescanEvent.Get());
}

unsigned long __stdcall KSZeroconf::ZCNotifyThread(void* inZeroconf) {
  KSZeroconf* zc = static_cast<KSZeroconf*>(inZeroconf);
  zc->DoUpdateCallback(true);
  HANDLE events[3] = {zc->mBrowseEvent.Get(), zc->mExitingEvent.Get(), zc->mRescanEvent.Get()};
  while (zc->mBrowseThread != nullptr) {
    DWORD result = WaitForMultipleObjects(3, events, FALSE, kZCRescanMS);
    if (zc->mBrowseThread == nullptr || result == WAIT_FAILED) {
      break;
    }
    if (result != WAIT_OBJECT_0 + 1) {
      zc->DoUpdateCallback(false);
    }
  }
  return 0;
}

void KSZeroconf::DoUpdateCallback(bool inForce) {
  // The slots are copied under the registry lock and compared after it is
  // released: listeners take locks of their own (the browser's list lock),
  // which a resolve holds while it waits for the registry lock.
  ZCService slots[kZCNumSlots];
  if (!ReadAllSlots(slots)) {
    return;  // the next pulse or the periodic rescan tries again
  }

  std::vector<ZCChange> changes;
  ZCCompareScan(mPeerList, slots, inForce, &changes);
  // Each message says whether another of the same scan follows it.
  for (size_t i = 0; i < changes.size(); ++i) {
    intptr_t moreComing = i + 1 < changes.size() ? 1 : 0;
    BroadcastMsg(changes[i].mMsg, changes[i].mName.mStr, reinterpret_cast<void*>(moreComing));
  }
}

long KSZeroconf::SetStatus(bool inPublish) {
  if (!inPublish) {
    Withdraw();
    return 0;
  }
  if (mSharedData) {
    return 0;
  }
  if (!mAccessMutex) {
    return mServiceType.IsEmpty() ? kKSErr_Param : kKSErr_Unmapped;
  }
  {
    KSNamedMutexHold hold(mAccessMutex.Get(), kZCAccessWaitMS);
    if (!hold.Held()) {
      return kKSErr_Timeout;
    }
    for (int slot = 0; slot < kZCNumSlots; ++slot) {
      if (PublishInSlot(slot)) {
        break;
      }
    }
  }
  PulseEvent(mBrowseEvent.Get());
  return mSharedData ? 0 : kKSErr_QuotaExceeded;
}

bool KSZeroconf::PublishInSlot(int inSlot) {
  std::wstring name = SlotName(mServiceType.getCStr(), inSlot);
  KSHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(ZCService), name.c_str()));
  // Read before any other call (even freeing a name) can overwrite the last error.
  bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
  if (!mapping || taken) {
    return false;
  }
  KSMappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(ZCService)));
  if (!view) {
    return false;
  }
  mSelf.mSeed = NewSeed(mSelf.mSeed);
  std::memcpy(view.Get(), &mSelf, sizeof(ZCService));
  mFileMapping = std::move(mapping);
  mSharedData = std::move(view);
  return true;
}

bool KSZeroconf::ReadAllSlots(ZCService* outSlots) {
  KSNamedMutexHold hold(mAccessMutex.Get(), kZCAccessWaitMS);
  if (!hold.Held()) {
    return false;
  }
  for (int slot = 0; slot < kZCNumSlots; ++slot) {
    ReadSlot(mServiceType.getCStr(), slot, &outSlots[slot]);
  }
  return true;
}

void KSZeroconf::Withdraw() {
  if (!mSharedData) {
    return;
  }
  {
    // Even when the registry stays locked the slot must go: a stale record
    // would send toolbars to an engine that is not there.
    KSNamedMutexHold hold(mAccessMutex.Get(), kZCAccessWaitMS);
    mSharedData.Reset();
    mFileMapping.Reset();
  }
  PulseEvent(mBrowseEvent.Get());
}

long KSZeroconf::ResolveService(const char* inName, const char* inType, ZCService* outService) {
  if (inName == nullptr || inType == nullptr || inType[0] == 0 || outService == nullptr) {
    return kKSErr_Param;
  }
  KSHandle mutex(CreateMutexW(nullptr, FALSE, MutexName(inType).c_str()));
  if (!mutex) {
    return KSLastOSError();
  }
  KSNamedMutexHold hold(mutex.Get(), kZCAccessWaitMS);
  if (!hold.Held()) {
    return kKSErr_Timeout;
  }
  for (int slot = 0; slot < kZCNumSlots; ++slot) {
    ZCService record;
    ReadSlot(inType, slot, &record);
    if (record.mServiceName.mStr[0] != 0 &&
        UtilStr::compare(record.mServiceName.mStr, inName, false) == 0) {
      *outService = record;
      return 0;
    }
  }
  return kKSErr_ServiceNotFound;
}
