// Many sessions come and go without leaving threads or handles behind.
#include <gtest/gtest.h>

#include "SessionLog.h"
#include "foundation/KSError.h"
#include "net/KSNet.h"
#include "support/LoopbackPeer.h"
#include "support/ProcessCounts.h"

namespace {

void OneSession(LoopbackPeer& ioPeer, bool inPeerClosesFirst) {
  SessionLog log;
  KSSessionRef ref = 0;
  ASSERT_EQ(0, KSNet::OpenSession(ioPeer.Addr(), ioPeer.Port(), 30000, 0, SessionLog::Handler, &log,
                                  &ref));
  ASSERT_TRUE(ioPeer.Accept());
  if (inPeerClosesFirst) {
    ioPeer.CloseConnection();
    ASSERT_TRUE(log.WaitForEnd());
    EXPECT_EQ(KSNet::CloseSession(ref, kKSNetClose_Async), kKSErr_NotConnected);
  } else {
    EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
    ioPeer.CloseConnection();
  }
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
}

}  // namespace

TEST(KSNetLeakTest, TwoHundredSessionsLeaveNothingBehind) {
  ASSERT_EQ(0, KSNet::Startup());
  LoopbackPeer peer;
  // The first session brings up the socket library's own helpers.
  OneSession(peer, false);
  ProcessCounts before = ProcessCounts::Take();
  ASSERT_GT(before.mKernelHandles, 0) << "handles cannot be counted here";

  for (int i = 0; i < 200; i++) {
    OneSession(peer, i % 2 == 1);
    if (HasFatalFailure()) {
      break;
    }
  }
  // Threads end a little after they signal. A few handles of slack for the
  // socket library's own bookkeeping; a leak of even one handle per session
  // would be far above it.
  ProcessCounts after = SettleTo(before, 8, 5000);
  EXPECT_LE(after.mThreads, before.mThreads);
  EXPECT_LE(after.mKernelHandles, before.mKernelHandles + 8);
  KSNet::Shutdown();
}
