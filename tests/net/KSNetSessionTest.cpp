// KSNet sessions against a peer on the loopback address of this process, the
// outgoing queue on its own (the test playing the session thread), and the
// address conversions (loopback and documentation addresses only).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

#include "PacketTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "net/KSByteOrder.h"
#include "net/KSNet.h"
#include "net/KSPacketQueue.h"
#include "net/KSPacketReceiver.h"
#include "support/EventLog.h"
#include "support/LoopbackPeer.h"
#include "support/ProcessCounts.h"

namespace {

// What a session reports to its handler.
struct SessionEvent {
  long mMsg;
  long mResult;      // SesC and SesF
  KSPacket mPacket;  // Recv; mData is cleared, the bytes are in mData
  std::string mData;
  bool mTerminated;  // Recv: two zero bytes followed the data
};

bool IsEnd(const SessionEvent& inEvent) {
  return inEvent.mMsg == kKSNetMsg_SesC || inEvent.mMsg == kKSNetMsg_SesF;
}

class SessionLog : public EventLog<SessionEvent> {
 public:
  static long Handler(KSSessionRef, long inMsg, intptr_t inParam1, intptr_t, void* inUser) {
    SessionEvent event = {};
    event.mMsg = inMsg;
    if (IsEnd(event)) {
      event.mResult = long(inParam1);
    } else if (inMsg == kKSNetMsg_Recv) {
      const KSPacket* packet = reinterpret_cast<const KSPacket*>(inParam1);
      event.mPacket = *packet;
      event.mPacket.mData = nullptr;
      event.mData.assign(reinterpret_cast<const char*>(packet->mData), size_t(packet->mDataSize));
      event.mTerminated =
          packet->mData[packet->mDataSize] == 0 && packet->mData[packet->mDataSize + 1] == 0;
    }
    static_cast<SessionLog*>(inUser)->Add(event);
    return 0;
  }

  bool WaitForEnd() {
    return WaitUntil([](const std::vector<SessionEvent>& inEvents) {
      return std::any_of(inEvents.begin(), inEvents.end(), IsEnd);
    });
  }

  // The one end message (SesC or SesF); fails the test when not exactly one,
  // or when anything came after it.
  const SessionEvent End() {
    std::vector<SessionEvent> events = Events();
    auto ends = std::count_if(events.begin(), events.end(), IsEnd);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(events.empty() || IsEnd(events.back())) << "events after the end";
    return ends > 0 ? *std::find_if(events.rbegin(), events.rend(), IsEnd) : SessionEvent{};
  }
};

class KSNetSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, KSNet::Startup()); }
  void TearDown() override { KSNet::Shutdown(); }

  // Opens a session to the peer and accepts it there.
  KSSessionRef Open(LoopbackPeer& ioPeer, SessionLog& ioLog, long inTimeoutMS = 30000) {
    KSSessionRef ref = 0;
    EXPECT_EQ(0, KSNet::OpenSession(ioPeer.Addr(), ioPeer.Port(), inTimeoutMS, 0,
                                    SessionLog::Handler, &ioLog, &ref));
    EXPECT_NE(ref, 0u);
    EXPECT_TRUE(ioPeer.Accept());
    return ref;
  }
};

// The wire form of a received packet.
std::vector<uint8> WireOf(const SessionEvent& inEvent) {
  EXPECT_EQ(inEvent.mMsg, kKSNetMsg_Recv);
  EXPECT_TRUE(inEvent.mTerminated);
  KSPacket p = inEvent.mPacket;
  p.mData = reinterpret_cast<const uint8*>(inEvent.mData.data());
  return WireBytes(p);
}

KSPacket* Copy(int inSeq, const std::string& inData = "payload") {
  KSPacket p = {};
  p.mHeader[0] = uint8(inSeq);
  p.mHeader[1] = uint8(inSeq >> 8);
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return KSPacketQueue::CopyPacket(p);
}

int Seq(const KSPacket* inPacket) {
  return inPacket->mHeader[0] | (inPacket->mHeader[1] << 8);
}

KSNetAddr Typed(KSNetAddrType inType) {
  KSNetAddr addr = {};
  addr.mType = inType;
  return addr;
}

KSNetAddr HostName(const char* inName) {
  KSNetAddr addr = Typed(ks_HostName);
  strcpy(addr.u.mHostName, inName);
  return addr;
}

// Suites of their own, so that each runs in a process of its own.
class KSNetLeakTest : public KSNetSessionTest {};
class KSNetAddrTest : public KSNetSessionTest {};

}  // namespace

// A packet larger than a receiver takes and an idle time-out end the session
// with their error; a late send is refused, and the close reports the error.
TEST_F(KSNetSessionTest, OversizedPacketAndIdlenessEndTheSession) {
  for (long err : {kKSErr_Protocol, kKSErr_Timeout}) {
    SCOPED_TRACE(err);
    LoopbackPeer peer;
    SessionLog log;
    // Long enough for the peer to accept first on a loaded machine: wine may
    // fail to accept a connection that the session has closed already.
    KSSessionRef ref = Open(peer, log, err == kKSErr_Timeout ? 1500 : 30000);
    if (err == kKSErr_Protocol) {
      std::vector<uint8> header = WireBytes(MakePacket(1, ""));
      KSPutBE32(kKSMaxIncomingDataSize + 1, header.data() + 64);
      ASSERT_TRUE(peer.SendBytes(header));
    } else {
      EXPECT_EQ(kKSErr_Param, KSNet::SetSessionTimeout(ref, -1));
    }
    ASSERT_TRUE(log.WaitForEnd());
    EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
    EXPECT_EQ(log.End().mResult, err);
    EXPECT_TRUE(peer.WaitForEndOfStream());
    EXPECT_EQ(kKSErr_SessionClosed, KSNet::Send(ref, MakePacket(6, "late")));
    EXPECT_EQ(err, KSNet::CloseSession(ref, 0));
  }
}

// A peer that does not read lets the socket fill up and then the queue; a
// blocking send then waits until the peer reads and a slot frees. Between
// packets of the largest size, small ones around the 1024 bytes of the send
// buffer share it with their neighbours and straddle its end in every way.
// The peer's receive buffer keeps the system's size: with one of a few
// kilobytes the window it offers can fall below the sender's segment size,
// and TCP then sends one window per persist-timer tick, far too slowly.
TEST_F(KSNetSessionTest, FullQueueAndSharedSendBufferKeepPacketsWholeAndInOrder) {
  LoopbackPeer peer;
  SessionLog log;
  KSSessionRef ref = Open(peer, log);
  std::string tooBig(kKSMaxOutgoingDataSize + 1, 'x');
  EXPECT_EQ(kKSErr_SendQueueFull, KSNet::SendNoWait(ref, MakePacket(0, tooBig)));

  const size_t kSmall[] = {0, 1, 100, 947, 948, 949, 2000};
  auto dataOf = [&](int inSeq) {
    size_t size = inSeq % 2 ? kSmall[inSeq / 2 % 7] : size_t(kKSMaxOutgoingDataSize);
    return std::string(size, char('a' + inSeq % 26));
  };
  // Each packet carries its number in the header.
  auto numbered = [](const std::string& inData, int inSeq) {
    KSPacket p = MakePacket(0, inData);
    KSPutBE32(uint32(inSeq), p.mHeader + 4);
    return p;
  };
  int queued = 0;
  long err = 0;
  for (std::string data; queued < 1000; queued++) {
    data = dataOf(queued);
    if ((err = KSNet::SendNoWait(ref, numbered(data, queued))) != 0) {
      break;
    }
  }
  ASSERT_EQ(err, kKSErr_SendQueueFull);
  ASSERT_GE(queued, 127);

  long lateResult = -1;
  std::string last = dataOf(queued);
  std::thread late([&] { lateResult = KSNet::Send(ref, numbered(last, queued)); });
  // Stops at the first fault; the blocked send then ends with its time-out.
  for (int next = 0; next <= queued && !HasFailure(); next++) {
    KSPacket p;
    std::string got;
    if (!peer.RecvPacket(&p, &got)) {
      ADD_FAILURE() << "packet " << next << " did not come";
      break;
    }
    EXPECT_EQ(KSGetBE32(p.mHeader + 4), uint32(next));
    EXPECT_TRUE(got == dataOf(next)) << next;
  }
  late.join();
  EXPECT_EQ(lateResult, 0);
  EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
}

TEST_F(KSNetSessionTest, ConnectsOverIPv6) {
  LoopbackPeer peer(true);
  if (!KSNet::IsIP6() || !peer.Listening()) {
    GTEST_SKIP() << "no IPv6 loopback here";
  }
  SessionLog log;
  KSSessionRef ref = Open(peer, log);
  ASSERT_TRUE(peer.SendBytes(WireBytes(MakePacket(7, "six"))));
  ASSERT_TRUE(log.WaitForCount(kKSNetMsg_Recv, 1));
  EXPECT_TRUE(WireOf(log.Events()[1]) == WireBytes(MakePacket(7, "six")));
  EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
  EXPECT_TRUE(peer.WaitForEndOfStream());
}

// Many sessions come and go without leaving threads or handles behind,
// whichever end closes first.
TEST_F(KSNetLeakTest, TwoHundredSessionsLeaveNothingBehind) {
  LoopbackPeer peer;
  auto oneSession = [&](bool inPeerClosesFirst) {
    SessionLog log;
    KSSessionRef ref = Open(peer, log);
    if (inPeerClosesFirst) {
      peer.CloseConnection();
      ASSERT_TRUE(log.WaitForEnd());
      EXPECT_EQ(KSNet::CloseSession(ref, kKSNetClose_Async), kKSErr_NotConnected);
    } else {
      EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
      peer.CloseConnection();
    }
    EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
  };
  // The first sessions bring up the socket library's own helpers, and the
  // handles it keeps come and go by several: the baseline is the most that
  // twenty sessions, closed from either end, left open.
  ProcessCounts before = {};
  for (int i = 0; i < 20; i++) {
    oneSession(i % 2 == 1);
    ProcessCounts now = ProcessCounts::Take();
    before.mKernelHandles = std::max(before.mKernelHandles, now.mKernelHandles);
    before.mThreads = std::max(before.mThreads, now.mThreads);
  }
  ASSERT_GT(before.mKernelHandles, 0) << "handles cannot be counted here";
  for (int i = 0; i < 200 && !HasFailure(); i++) {
    oneSession(i % 2 == 1);
  }
  // Threads end a little after they signal. A leak of even one handle per
  // session would be far above the slack.
  ProcessCounts after = SettleTo(before, 8, 5000);
  EXPECT_LE(after.mThreads, before.mThreads);
  EXPECT_LE(after.mKernelHandles, before.mKernelHandles + 8);
}

// Conversions that need no name service, and those that do (refused here).
TEST_F(KSNetAddrTest, TranslationsAndLocalAddresses) {
  KSNetAddr ip6 = Typed(ks_IP6Address);
  const uint8 bytes[16] = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0xab, 0xcd, 0, 1};
  memcpy(ip6.u.mIP6Addr, bytes, 16);
  const struct {
    KSNetAddr mIn;
    KSNetAddrType mTo;
    const char* mName;  // the host name made; "" another type; null: not trivial
  } kCases[] = {
      {IP4Addr(192, 168, 1, 2), ks_HostName, "192.168.1.2"},
      {ip6, ks_HostName, "2001:db8:0:0:0:0:abcd:1"},
      {IP4Addr(127, 0, 0, 1), ks_localhost, ""},
      {IP4Addr(203, 0, 113, 9), ks_localhost, nullptr},
      {HostName("localhost"), ks_localhost, ""},
      {HostName("elsewhere.example"), ks_localhost, nullptr},
      {Typed(ks_localhost), ks_HostName, "localhost"},
      {Typed(ks_localhost), ks_IP4Address, ""},
      {HostName("some.host"), ks_HostName, "some.host"},  // a copy, in place
      {HostName("localhost"), ks_IP4Address, nullptr},
      {IP4Addr(127, 0, 0, 1), ks_IP6Address, nullptr},
  };
  for (const auto& c : kCases) {
    KSNetAddr out = c.mIn;
    bool done = TranslateAddr_Trivial(c.mIn.mType == c.mTo ? out : c.mIn, c.mTo, &out);
    ASSERT_EQ(c.mName != nullptr, done) << c.mTo << " " << (c.mName ? c.mName : "");
    if (done) {
      EXPECT_EQ(c.mTo, out.mType);
      EXPECT_TRUE(c.mTo != ks_HostName || std::string(c.mName) == out.u.mHostName) << c.mName;
      EXPECT_TRUE(c.mTo != ks_IP4Address || IsAddrLocal(out));
    }
  }

  KSNetAddr list[32];
  long count = DiscoverLocalAddrs(list, 32);
  for (long i = 0; i < count; i++) {
    EXPECT_TRUE(list[i].mType == ks_HostName || IsAddrLocal(list[i])) << list[i].mType;
  }
  EXPECT_TRUE(IsAddrLocal(HostName("127.0.0.1")));
  EXPECT_FALSE(IsAddrLocal(Typed(ks_InvalidAddress)));

  KSNetAddr out;
  EXPECT_EQ(kKSErr_Param, KSNet::TranslateAddrSync(IP4Addr(127, 0, 0, 1), ks_HostName, nullptr));
  ASSERT_EQ(0, KSNet::TranslateAddrSync(IP4Addr(10, 20, 30, 40), ks_HostName, &out));
  EXPECT_STREQ(out.u.mHostName, "10.20.30.40");
  EXPECT_EQ(kKSErr_Param, KSNet::TranslateAddrSync(IP4Addr(203, 0, 113, 9), ks_IP6Address, &out));
  EXPECT_EQ(kKSErr_NotLocalHost,
            KSNet::TranslateAddrSync(HostName("203.0.113.9"), ks_localhost, &out));
}

// A full queue refuses, times out, or gives up once the session ends. Two
// appenders wait on it; two packets taken make room for both, however their
// wake-ups fall, and an appender whose packet can never fit, waiting longest,
// takes none of that room from them. Packets leave first in, first out, with
// one semaphore count each (the session test sees the data whole and a
// blocked send go through once one is taken).
TEST(KSPacketQueueTest, FullQueueWaitsTimesOutOrGivesUp) {
  KSPacketQueue queue;
  ASSERT_TRUE(queue.Created());
  KSHandle giveUpEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE giveUp = giveUpEvent.Get();
  for (int i = 0; i < KSPacketQueue::kMaxPackets; i++) {
    ASSERT_EQ(0, queue.Append(Copy(i), false, 0, giveUp));
  }
  KSPacket* extra = Copy(500);
  EXPECT_EQ(kKSErr_SendQueueFull, queue.Append(extra, false, 1000, giveUp));
  EXPECT_EQ(kKSErr_Timeout, queue.Append(extra, true, 100, giveUp));

  KSPacket* big = Copy(800, std::string(kKSMaxOutgoingDataSize + 1, 'b'));
  long bigResult = -1;
  std::thread bigAppender([&] { bigResult = queue.Append(big, true, 1500, giveUp); });
  Sleep(50);
  long results[3] = {-1, -1, -1};
  std::thread appenders[2];
  for (int a = 0; a < 2; a++) {
    appenders[a] =
        std::thread([&, a] { results[a] = queue.Append(Copy(900 + a), true, 10000, giveUp); });
  }
  Sleep(100);  // both are most likely waiting by now
  // Taken back to back, so that the second goes before the first waiter wakes.
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
  KSPacketQueue::FreePacket(queue.TakeOldest());
  KSPacketQueue::FreePacket(queue.TakeOldest());
  for (std::thread& appender : appenders) {
    appender.join();
  }
  EXPECT_EQ(results[0], 0);
  EXPECT_EQ(results[1], 0);

  // The queue is full again; the next packet taken goes to the new waiter.
  std::thread third([&] { results[2] = queue.Append(Copy(902), true, 1000, giveUp); });
  Sleep(100);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
  KSPacketQueue::FreePacket(queue.TakeOldest());
  third.join();
  EXPECT_EQ(results[2], 0);
  bigAppender.join();
  EXPECT_EQ(bigResult, kKSErr_Timeout);
  // It does not fit however empty the queue.
  EXPECT_EQ(kKSErr_Timeout, KSPacketQueue().Append(big, true, 50, giveUp));
  KSPacketQueue::FreePacket(big);
  SetEvent(giveUp);
  EXPECT_EQ(kKSErr_SessionClosed, queue.Append(extra, true, 60000, giveUp));
  KSPacketQueue::FreePacket(extra);

  std::vector<int> order, expected;
  for (int i = 3; i < KSPacketQueue::kMaxPackets + 3; i++) {
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
    KSPacket* p = queue.TakeOldest();
    ASSERT_NE(p, nullptr);
    order.push_back(Seq(p));
    expected.push_back(i < KSPacketQueue::kMaxPackets ? i : 900 + i - KSPacketQueue::kMaxPackets);
    KSPacketQueue::FreePacket(p);
  }
  std::sort(order.end() - 3, order.end() - 1);  // the two waiters got in in either order
  EXPECT_EQ(order, expected);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(queue.Semaphore(), 0));
  EXPECT_EQ(queue.TakeOldest(), nullptr);
}
