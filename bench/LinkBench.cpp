#include "LinkBench.h"

#include <windows.h>

#include <cstring>

#include "BenchStats.h"
#include "foundation/KSError.h"
#include "skin/UIFunctions.h"

namespace {

// No reply may take this long; a longer wait means the link is stuck.
const DWORD kReplyLimitMS = 30000;

}  // namespace

LinkBench::LinkBench()
    : mReplies(0),
      mAwaited(0),
      mDoneMicros(0),
      mDoneEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

LinkBench::~LinkBench() {
  CloseSession();
}

long LinkBench::Open(long inPort) {
  KSNetAddr loopback;
  std::memset(&loopback, 0, sizeof(loopback));
  loopback.mType = ks_IP4Address;
  const uint8 bytes[4] = {127, 0, 0, 1};
  std::memcpy(loopback.u.mIP4Addr, bytes, sizeof(bytes));
  UseServiceAddr("bench engine", loopback, static_cast<unsigned long>(inPort));
  // The empty script opens the session and comes back as an empty reply.
  return SendAndWait("", 1) ? 0 : kKSErr_NotConnected;
}

bool LinkBench::SendAndWait(const char* inScript, int inCount) {
  mAwaited = mReplies + inCount;
  for (int i = 0; i < inCount; ++i) {
    if (SendCmd(inScript, -1, kCommandFlags, 0, kRequestDontCare, 0, nullptr) != 0) {
      return false;
    }
  }
  while (mReplies < mAwaited) {
    if (WaitForSingleObject(mDoneEvent.Get(), kReplyLimitMS) != WAIT_OBJECT_0) {
      return false;
    }
  }
  return true;
}

bool LinkBench::MeasureRoundTrips(const char* inScript, int inCount,
                                  std::vector<double>* outMicros) {
  for (int i = 0; i < inCount; ++i) {
    double start = BenchNowMicros();
    if (!SendAndWait(inScript, 1)) {
      return false;
    }
    outMicros->push_back(mDoneMicros - start);
  }
  return true;
}

bool LinkBench::MeasurePipelined(const char* inScript, int inCount, double* outMicros) {
  double start = BenchNowMicros();
  bool ok = SendAndWait(inScript, inCount);
  *outMicros = mDoneMicros - start;
  return ok;
}

void LinkBench::OnCmdComplete(const KSBuf&, const ToolbarCmdCookie&) {
  if (++mReplies >= mAwaited) {
    mDoneMicros = BenchNowMicros();
    SetEvent(mDoneEvent.Get());
  }
}
