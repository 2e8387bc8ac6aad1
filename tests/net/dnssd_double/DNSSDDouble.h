// Script interface of the test stand-in for "DNSSD.DLL".
//
// The stand-in exports the five client calls that discovery binds, plus the
// functions below, through which a test plays the daemon's part: it announces
// services to running browses, answers resolves, makes calls fail and reads
// what the code under test did. Tests find these functions with
// GetProcAddress on the loaded "DNSSD.DLL" (see DaemonScript).
#pragma once

#include <cstdint>

struct DNSSDDoubleStats {
  int32_t mBrowsesStarted;
  int32_t mResolvesStarted;
  int32_t mLiveRefs;          // references handed out and not yet deallocated
  int32_t mThreadsInProcess;  // threads now inside DNSServiceProcessResult
  // References deallocated while another thread was processing them: a
  // fault of the caller, which the real library does not survive.
  int32_t mDeallocsWhileProcessing;
};

// The next start of a browse or resolve returns inError (0: succeed again).
typedef void (*DNSSDDouble_FailStartsProc)(int32_t inError);
// Queues one browse reply for every running browse of inType; returns how
// many browses it reached.
typedef int32_t (*DNSSDDouble_PostBrowseReplyProc)(const char* inType, uint32_t inFlags,
                                                   int32_t inError, const char* inName,
                                                   const char* inDomain);
// Sets the answer to resolves of inName, now running or started later.
// inPort is in host order; the stand-in sends it in network order.
typedef void (*DNSSDDouble_SetResolveAnswerProc)(const char* inName, int32_t inError,
                                                 const char* inHostTarget, uint16_t inPort);
// From now on every DNSServiceProcessResult returns inError at once.
typedef void (*DNSSDDouble_FailProcessingProc)(int32_t inError);
typedef void (*DNSSDDouble_GetStatsProc)(DNSSDDoubleStats* outStats);
