// A scriptable stand-in for the DNS-SD client library, built as "DNSSD.DLL"
// for the discovery tests only. It keeps the daemon's side in memory: browse
// replies queued by the test and resolve answers keyed by service name are
// handed out by DNSServiceProcessResult, which blocks until it has one.
//
// Built with KS_DNSSD_DOUBLE_INCOMPLETE it leaves out DNSServiceRegister, to
// stand for a library that lacks one of the calls discovery needs.
#include "DNSSDDouble.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#define DOUBLE_API extern "C" __declspec(dllexport)
#define DNSSD_CALL __stdcall

namespace {

typedef void(DNSSD_CALL* BrowseReply)(void* inRef, uint32_t inFlags, uint32_t inInterface,
                                      int32_t inError, const char* inName, const char* inType,
                                      const char* inDomain, void* inContext);
typedef void(DNSSD_CALL* ResolveReply)(void* inRef, uint32_t inFlags, uint32_t inInterface,
                                       int32_t inError, const char* inFullName,
                                       const char* inHostTarget, uint16_t inPort, uint16_t inTxtLen,
                                       const unsigned char* inTxt, void* inContext);

constexpr int32_t kErrBadReference = -65541;

struct PendingBrowseReply {
  uint32_t mFlags;
  int32_t mError;
  std::string mName;
  std::string mDomain;
};

struct ResolveAnswer {
  int32_t mError;
  std::string mHostTarget;
  uint16_t mPort;
  int mVersion;  // bumped on every change, so a changed answer is sent again
};

struct Ref {
  bool mIsBrowse;
  std::string mName;  // resolves only
  std::string mType;
  std::string mDomain;
  void* mCallback;
  void* mContext;
  std::deque<PendingBrowseReply> mPending;
  int mAnswerVersionSent = 0;
  int mThreadsInside = 0;
  bool mDeallocated = false;
};

struct DaemonState {
  std::mutex mLock;
  std::condition_variable mChanged;
  std::vector<Ref*> mRefs;
  std::map<std::string, ResolveAnswer> mAnswers;
  int32_t mFailStarts = 0;
  int32_t mFailProcessing = 0;
  DNSSDDoubleStats mStats = {};
};

// Never freed: threads may still sit in DNSServiceProcessResult while the
// process ends.
DaemonState& State() {
  static DaemonState* sState = new DaemonState;
  return *sState;
}

int32_t StartRef(bool inIsBrowse, const char* inName, const char* inType, const char* inDomain,
                 void* inCallback, void* inContext, void** outRef) {
  DaemonState& s = State();
  std::lock_guard<std::mutex> hold(s.mLock);
  if (s.mFailStarts != 0) {
    return s.mFailStarts;
  }
  Ref* ref = new Ref;
  ref->mIsBrowse = inIsBrowse;
  ref->mName = inName != nullptr ? inName : "";
  ref->mType = inType != nullptr ? inType : "";
  ref->mDomain = inDomain != nullptr ? inDomain : "";
  ref->mCallback = inCallback;
  ref->mContext = inContext;
  (inIsBrowse ? s.mStats.mBrowsesStarted : s.mStats.mResolvesStarted)++;
  s.mStats.mLiveRefs++;
  s.mRefs.push_back(ref);
  *outRef = ref;
  return 0;
}

// This side is little-endian.
uint16_t ToNetworkOrder(uint16_t inPort) {
  return static_cast<uint16_t>(inPort << 8 | inPort >> 8);
}

}  // namespace

DOUBLE_API int32_t DNSSD_CALL DNSServiceBrowse(void** outRef, uint32_t, uint32_t,
                                               const char* inType, const char* inDomain,
                                               BrowseReply inCallBack, void* inContext) {
  return StartRef(true, nullptr, inType, inDomain, reinterpret_cast<void*>(inCallBack), inContext,
                  outRef);
}

DOUBLE_API int32_t DNSSD_CALL DNSServiceResolve(void** outRef, uint32_t, uint32_t,
                                                const char* inName, const char* inType,
                                                const char* inDomain, ResolveReply inCallBack,
                                                void* inContext) {
  return StartRef(false, inName, inType, inDomain, reinterpret_cast<void*>(inCallBack), inContext,
                  outRef);
}

DOUBLE_API int32_t DNSSD_CALL DNSServiceProcessResult(void* inRef) {
  DaemonState& s = State();
  Ref* ref = static_cast<Ref*>(inRef);
  std::unique_lock<std::mutex> hold(s.mLock);
  ref->mThreadsInside++;
  s.mStats.mThreadsInProcess++;
  int32_t result = 0;
  for (;;) {
    if (s.mFailProcessing != 0 || ref->mDeallocated) {
      result = ref->mDeallocated ? kErrBadReference : s.mFailProcessing;
      break;
    }
    if (ref->mIsBrowse && !ref->mPending.empty()) {
      PendingBrowseReply reply = ref->mPending.front();
      ref->mPending.pop_front();
      hold.unlock();
      reinterpret_cast<BrowseReply>(ref->mCallback)(ref, reply.mFlags, 0, reply.mError,
                                                    reply.mName.c_str(), ref->mType.c_str(),
                                                    reply.mDomain.c_str(), ref->mContext);
      hold.lock();
      break;
    }
    auto answer = s.mAnswers.find(ref->mName);
    if (!ref->mIsBrowse && answer != s.mAnswers.end() &&
        answer->second.mVersion != ref->mAnswerVersionSent) {
      ResolveAnswer reply = answer->second;
      ref->mAnswerVersionSent = reply.mVersion;
      std::string fullName = ref->mName + "." + ref->mType + ref->mDomain;
      hold.unlock();
      reinterpret_cast<ResolveReply>(ref->mCallback)(
          ref, 0, 0, reply.mError, fullName.c_str(), reply.mHostTarget.c_str(),
          ToNetworkOrder(reply.mPort), 0, nullptr, ref->mContext);
      hold.lock();
      break;
    }
    s.mChanged.wait(hold);
  }
  ref->mThreadsInside--;
  s.mStats.mThreadsInProcess--;
  return result;
}

DOUBLE_API void DNSSD_CALL DNSServiceRefDeallocate(void* inRef) {
  DaemonState& s = State();
  Ref* ref = static_cast<Ref*>(inRef);
  std::lock_guard<std::mutex> hold(s.mLock);
  if (ref->mDeallocated) {
    return;
  }
  ref->mDeallocated = true;
  s.mStats.mLiveRefs--;
  if (ref->mThreadsInside > 0) {
    // Keep the record: the thread inside still reads it.
    s.mStats.mDeallocsWhileProcessing++;
    s.mChanged.notify_all();
    return;
  }
  s.mRefs.erase(std::remove(s.mRefs.begin(), s.mRefs.end(), ref), s.mRefs.end());
  delete ref;
}

#ifndef KS_DNSSD_DOUBLE_INCOMPLETE
DOUBLE_API int32_t DNSSD_CALL DNSServiceRegister() {
  return -65544;  // unsupported: discovery never registers
}
#endif

DOUBLE_API void DNSSDDouble_FailStarts(int32_t inError) {
  DaemonState& s = State();
  std::lock_guard<std::mutex> hold(s.mLock);
  s.mFailStarts = inError;
}

DOUBLE_API int32_t DNSSDDouble_PostBrowseReply(const char* inType, uint32_t inFlags,
                                               int32_t inError, const char* inName,
                                               const char* inDomain) {
  DaemonState& s = State();
  std::lock_guard<std::mutex> hold(s.mLock);
  int32_t reached = 0;
  for (Ref* ref : s.mRefs) {
    if (ref->mIsBrowse && !ref->mDeallocated && ref->mType == inType) {
      ref->mPending.push_back({inFlags, inError, inName, inDomain});
      reached++;
    }
  }
  s.mChanged.notify_all();
  return reached;
}

DOUBLE_API void DNSSDDouble_SetResolveAnswer(const char* inName, int32_t inError,
                                             const char* inHostTarget, uint16_t inPort) {
  DaemonState& s = State();
  std::lock_guard<std::mutex> hold(s.mLock);
  ResolveAnswer& answer = s.mAnswers[inName];
  answer.mError = inError;
  answer.mHostTarget = inHostTarget != nullptr ? inHostTarget : "";
  answer.mPort = inPort;
  answer.mVersion++;
  s.mChanged.notify_all();
}

DOUBLE_API void DNSSDDouble_FailProcessing(int32_t inError) {
  DaemonState& s = State();
  std::lock_guard<std::mutex> hold(s.mLock);
  s.mFailProcessing = inError;
  s.mChanged.notify_all();
}

DOUBLE_API void DNSSDDouble_GetStats(DNSSDDoubleStats* outStats) {
  DaemonState& s = State();
  std::lock_guard<std::mutex> hold(s.mLock);
  *outStats = s.mStats;
}
