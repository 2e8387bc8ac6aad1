// KSNet sessions against a peer on the loopback address of this process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "LoopbackPeer.h"
#include "SessionLog.h"
#include "foundation/KSError.h"
#include "net/KSByteOrder.h"
#include "net/KSNet.h"
#include "net/KSPacketReceiver.h"

namespace {

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

KSPacket MakePacket(uint8 inTag, const std::string& inData) {
  KSPacket p;
  memset(p.mHeader, inTag, sizeof(p.mHeader));
  p.mHeader[0] = 2;
  p.mTimeSent.mDays = 45000 + inTag;
  p.mTimeSent.mSecs = 1000 + inTag;
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return p;
}

std::vector<uint8> HeaderAnnouncing(uint32 inDataSize) {
  std::vector<uint8> wire = WireBytes(MakePacket(1, ""));
  KSPutBE32(inDataSize, wire.data() + 64);
  return wire;
}

void ExpectPacket(const SessionEvent& inEvent, uint8 inTag, const std::string& inData) {
  KSPacket expected = MakePacket(inTag, inData);
  EXPECT_EQ(inEvent.mMsg, kKSNetMsg_Recv);
  EXPECT_EQ(0, memcmp(inEvent.mPacket.mHeader, expected.mHeader, 64));
  EXPECT_EQ(inEvent.mPacket.mTimeSent.mDays, expected.mTimeSent.mDays);
  EXPECT_EQ(inEvent.mPacket.mTimeSent.mSecs, expected.mTimeSent.mSecs);
  EXPECT_EQ(inEvent.mData, inData);
  EXPECT_TRUE(inEvent.mTerminated);
}

}  // namespace

TEST_F(KSNetSessionTest, PacketsArriveWholeAndInOrderBothWays) {
  LoopbackPeer peer;
  SessionLog log;
  KSSessionRef ref = Open(peer, log);
  ASSERT_EQ(log.Count(kKSNetMsg_SesO), 1u);

  // One packet a byte at a time, then an empty and a long one in one write.
  std::vector<uint8> first = WireBytes(MakePacket(1, "byte by byte"));
  for (uint8 b : first) {
    ASSERT_TRUE(peer.SendBytes(&b, 1));
  }
  std::string longData(3000, 'L');
  std::vector<uint8> batch = WireBytes(MakePacket(2, ""));
  std::vector<uint8> third = WireBytes(MakePacket(3, longData));
  batch.insert(batch.end(), third.begin(), third.end());
  ASSERT_TRUE(peer.SendBytes(batch));

  ASSERT_TRUE(log.WaitForCount(kKSNetMsg_Recv, 3));
  std::vector<SessionEvent> events = log.Events();
  ASSERT_EQ(events.size(), 4u);
  ExpectPacket(events[1], 1, "byte by byte");
  ExpectPacket(events[2], 2, "");
  ExpectPacket(events[3], 3, longData);

  // Outgoing: larger than the send buffer, and empty.
  std::string bigData(5000, 0);
  for (size_t i = 0; i < bigData.size(); i++) {
    bigData[i] = char(i * 7);
  }
  ASSERT_EQ(0, KSNet::Send(ref, MakePacket(4, bigData)));
  ASSERT_EQ(0, KSNet::Send(ref, MakePacket(5, "")));
  std::vector<uint8> expected = WireBytes(MakePacket(4, bigData));
  std::vector<uint8> got(expected.size());
  ASSERT_TRUE(peer.RecvBytes(got.data(), got.size()));
  EXPECT_EQ(got, expected);
  expected = WireBytes(MakePacket(5, ""));
  got.assign(expected.size(), 0);
  ASSERT_TRUE(peer.RecvBytes(got.data(), got.size()));
  EXPECT_EQ(got, expected);

  // The peer goes away in the middle of a packet: the session ends quietly.
  ASSERT_TRUE(peer.SendBytes(first.data(), 40));
  peer.CloseConnection();
  ASSERT_TRUE(log.WaitForEnd());
  SessionEvent end = log.End();
  EXPECT_EQ(end.mMsg, kKSNetMsg_SesC);
  EXPECT_EQ(end.mResult, 0);
  EXPECT_EQ(log.Count(kKSNetMsg_Recv), 3u);

  EXPECT_EQ(kKSErr_SessionClosed, KSNet::Send(ref, MakePacket(6, "late")));
  EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
}

TEST_F(KSNetSessionTest, ReceiveSizeLimit) {
  {
    // The largest size passes the header check: the session waits for data.
    LoopbackPeer peer;
    SessionLog log;
    KSSessionRef ref = Open(peer, log);
    ASSERT_TRUE(peer.SendBytes(HeaderAnnouncing(kKSMaxIncomingDataSize)));
    ASSERT_TRUE(peer.SendBytes("abc", 3));
    peer.CloseConnection();
    ASSERT_TRUE(log.WaitForEnd());
    EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
    EXPECT_EQ(log.End().mResult, 0);
    KSNet::CloseSession(ref, 0);
  }
  {
    // One more is a protocol violation, and the session hangs up.
    LoopbackPeer peer;
    SessionLog log;
    KSSessionRef ref = Open(peer, log);
    ASSERT_TRUE(peer.SendBytes(HeaderAnnouncing(kKSMaxIncomingDataSize + 1)));
    ASSERT_TRUE(log.WaitForEnd());
    EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
    EXPECT_EQ(log.End().mResult, kKSErr_Protocol);
    EXPECT_TRUE(peer.WaitForEndOfStream());
    EXPECT_EQ(kKSErr_Protocol, KSNet::CloseSession(ref, 0));
  }
}

TEST_F(KSNetSessionTest, ConnectingToAPortWithNoListener) {
  int port = UnusedPort();
  SessionLog log;
  KSSessionRef ref = 123;
  EXPECT_EQ(kKSErr_ConnectRefused, KSNet::OpenSession(IP4Addr(127, 0, 0, 1), port, 30000, 0,
                                                      SessionLog::Handler, &log, &ref));
  EXPECT_EQ(ref, 0u);
  // The failure has been reported by the time the open returns.
  EXPECT_EQ(log.Events().size(), 1u);
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesF);
  EXPECT_EQ(log.End().mResult, kKSErr_ConnectRefused);

  SessionLog asyncLog;
  KSNetAddr local = {};
  local.mType = ks_localhost;
  ASSERT_EQ(0, KSNet::OpenSession(local, port, 30000, kKSNetOpen_Async, SessionLog::Handler,
                                  &asyncLog, &ref));
  ASSERT_TRUE(asyncLog.WaitForEnd());
  EXPECT_EQ(asyncLog.End().mMsg, kKSNetMsg_SesF);
  EXPECT_EQ(asyncLog.End().mResult, kKSErr_ConnectRefused);
  EXPECT_EQ(kKSErr_NotConnected, KSNet::CloseSession(ref, kKSNetClose_Async));
}

TEST_F(KSNetSessionTest, IdleSessionTimesOut) {
  LoopbackPeer peer;
  SessionLog log;
  KSSessionRef ref = Open(peer, log, 300);
  EXPECT_EQ(kKSErr_Param, KSNet::SetSessionTimeout(ref, -1));
  EXPECT_EQ(kKSErr_Param, KSNet::SetSessionTimeout(0, 100));
  ASSERT_TRUE(log.WaitForEnd());
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
  EXPECT_EQ(log.End().mResult, kKSErr_Timeout);
  EXPECT_TRUE(peer.WaitForEndOfStream());
  EXPECT_EQ(kKSErr_Timeout, KSNet::CloseSession(ref, 0));
}

TEST_F(KSNetSessionTest, FullOutgoingQueue) {
  // A peer that does not read, with a small receive buffer, lets the socket
  // fill up and then the queue.
  LoopbackPeer peer(false, 8192);
  SessionLog log;
  KSSessionRef ref = Open(peer, log);
  std::string data(kKSMaxOutgoingDataSize, 'd');

  std::string tooBig(kKSMaxOutgoingDataSize + 1, 'x');
  EXPECT_EQ(kKSErr_SendQueueFull, KSNet::SendNoWait(ref, MakePacket(0, tooBig)));

  int queued = 0;
  long err = 0;
  while (queued < 1000) {
    KSPacket p = MakePacket(0, data);
    KSPutBE32(uint32(queued), p.mHeader + 4);
    err = KSNet::SendNoWait(ref, p);
    if (err) {
      break;
    }
    queued++;
  }
  ASSERT_EQ(err, kKSErr_SendQueueFull);
  ASSERT_GE(queued, 127);

  // A blocking send waits until the peer reads and a slot frees.
  long lateResult = -1;
  std::thread late([&] {
    KSPacket p = MakePacket(9, "last");
    KSPutBE32(uint32(queued), p.mHeader + 4);
    lateResult = KSNet::Send(ref, p);
  });
  int next = 0;
  for (; next <= queued; next++) {
    KSPacket p;
    std::string got;
    ASSERT_TRUE(peer.RecvPacket(&p, &got)) << next;
    ASSERT_EQ(KSGetBE32(p.mHeader + 4), uint32(next));
    ASSERT_EQ(got.size(), size_t(next < queued ? data.size() : 4));
  }
  late.join();
  EXPECT_EQ(lateResult, 0);
  EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
}

TEST_F(KSNetSessionTest, ConnectsOverIPv6Loopback) {
  LoopbackPeer peer(true);
  if (!KSNet::IsIP6() || !peer.Listening()) {
    GTEST_SKIP() << "no IPv6 loopback here";
  }
  SessionLog log;
  KSSessionRef ref = Open(peer, log);
  ASSERT_TRUE(peer.SendBytes(WireBytes(MakePacket(7, "six"))));
  ASSERT_TRUE(log.WaitForCount(kKSNetMsg_Recv, 1));
  ExpectPacket(log.Events()[1], 7, "six");
  EXPECT_EQ(0, KSNet::CloseSession(ref, 0));
  EXPECT_EQ(log.End().mMsg, kKSNetMsg_SesC);
  EXPECT_TRUE(peer.WaitForEndOfStream());
}

TEST_F(KSNetSessionTest, OpenRefusesBadArguments) {
  SessionLog log;
  KSSessionRef ref = 0;
  KSNetAddr addr = IP4Addr(127, 0, 0, 1);
  EXPECT_EQ(kKSErr_Param,
            KSNet::OpenSession(addr, 65536, 1000, 0, SessionLog::Handler, &log, &ref));
  EXPECT_EQ(kKSErr_Param, KSNet::OpenSession(addr, -1, 1000, 0, SessionLog::Handler, &log, &ref));
  EXPECT_EQ(kKSErr_Param, KSNet::OpenSession(addr, 80, -1, 0, SessionLog::Handler, &log, &ref));
  EXPECT_EQ(kKSErr_Param,
            KSNet::OpenSession(addr, 80, 1000, 0, SessionLog::Handler, &log, nullptr));
  EXPECT_EQ(kKSErr_Param, KSNet::OpenSession(addr, 80, 1000, 0, nullptr, &log, &ref));
  EXPECT_EQ(kKSErr_Unimplemented,
            KSNet::OpenSession(addr, 80, 1000, kKSNetOpen_Listen, SessionLog::Handler, &log, &ref));
  KSNetAddr none = {};
  EXPECT_EQ(kKSErr_Param, KSNet::OpenSession(none, 80, 1000, 0, SessionLog::Handler, &log, &ref));
  EXPECT_TRUE(log.Events().empty());
}
