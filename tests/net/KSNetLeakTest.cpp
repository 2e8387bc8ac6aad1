// Many sessions come and go without leaving threads or handles behind.
#include <gtest/gtest.h>
// tlhelp32.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include "LoopbackPeer.h"
#include "SessionLog.h"
#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "net/KSNet.h"

namespace {

int ThreadCount() {
  KSHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) {
    return -1;
  }
  int count = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  DWORD pid = GetCurrentProcessId();
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
       more = Thread32Next(snapshot.Get(), &entry)) {
    count += entry.th32OwnerProcessID == pid;
  }
  return count;
}

DWORD HandleCount() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) {
    return count;
  }
  // Where the count is not kept (it reads 0), probe the handle values.
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags;
    count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  }
  return count;
}

// Threads end a little after they signal; give them a bounded while.
bool SettlesTo(int inThreads, DWORD inHandles) {
  for (int i = 0; i < 100; i++) {
    if (ThreadCount() <= inThreads && HandleCount() <= inHandles) {
      return true;
    }
    Sleep(50);
  }
  return false;
}

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
  ASSERT_TRUE(SettlesTo(ThreadCount(), HandleCount()));
  int threads = ThreadCount();
  DWORD handles = HandleCount();

  for (int i = 0; i < 200; i++) {
    OneSession(peer, i % 2 == 1);
    if (HasFatalFailure()) {
      break;
    }
  }
  // A few handles of slack for the socket library's own bookkeeping; a leak
  // of even one handle per session would be far above it.
  EXPECT_TRUE(SettlesTo(threads, handles + 8))
      << "threads " << threads << " -> " << ThreadCount() << ", handles " << handles << " -> "
      << HandleCount();
  KSNet::Shutdown();
}
