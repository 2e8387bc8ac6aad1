// KSMP sessions against a peer on the loopback address that speaks the
// protocol with the same wire codec.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "LoopbackPeer.h"
#include "foundation/KSError.h"
#include "net/KSMPSession.h"

namespace {

struct Event {
  explicit Event(const char* inWhat) : mWhat(inWhat) {}

  std::string mWhat;  // "open", "fail", "close", "request", "reply", "sysmsg"
  DWORD mThread = 0;
  std::string mText;
  std::string mText2;
  unsigned char mFlags = 0;
  KSMPCookie mCookie = {};
  unsigned long mTicket = 0;
  long mMsgID = 0;
};

class RecordingSession : public KSMPSession {
 public:
  ~RecordingSession() override { CloseSession(); }

  std::vector<Event> Events() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mEvents;
  }

  // In queued mode the events only come through DispatchIncoming, so the
  // wait dispatches as it goes.
  bool WaitForCount(size_t inCount, bool inDispatch) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::unique_lock<std::mutex> lock(mMutex);
    while (mEvents.size() < inCount) {
      if (inDispatch) {
        lock.unlock();
        DispatchIncoming();
        lock.lock();
        if (mEvents.size() >= inCount) {
          break;
        }
        mChanged.wait_for(lock, std::chrono::milliseconds(20));
      } else if (mChanged.wait_until(lock, deadline) == std::cv_status::timeout) {
        break;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        break;
      }
    }
    return mEvents.size() >= inCount;
  }

 protected:
  void OnSessionOpened() override { Add(Event("open")); }
  void OnSessionOpenFailed() override { Add(Event("fail")); }
  void OnSessionClosed() override { Add(Event("close")); }
  void OnReceivedProcessRequest(const uint8* inHeader, const KSBuf& inRequest) override {
    Event e("request");
    e.mText.assign(inRequest.mData, size_t(inRequest.mNumBytes));
    e.mTicket = KSMPWire::Ticket(inHeader);
    Add(e);
    KSMPSession::OnReceivedProcessRequest(inHeader, inRequest);
  }
  void OnProcessComplete(const KSBuf& inReply, unsigned char inFlags, const KSMPCookie& inCookie,
                         unsigned long inTicket) override {
    Event e("reply");
    e.mText.assign(inReply.mData, size_t(inReply.mNumBytes));
    e.mFlags = inFlags;
    e.mCookie = inCookie;
    e.mTicket = inTicket;
    Add(e);
  }
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override {
    Event e("sysmsg");
    e.mText = inMsg.mDesc;
    e.mText2 = inMsg.mData;
    e.mFlags = inFlags;
    e.mMsgID = inMsg.mMsgID;
    Add(e);
  }

 private:
  void Add(Event inEvent) {
    inEvent.mThread = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(mMutex);
    mEvents.push_back(inEvent);
    mChanged.notify_all();
  }

  std::mutex mMutex;
  std::condition_variable mChanged;
  std::vector<Event> mEvents;
};

KSMPCookie MakeCookie(uint8 inSeed) {
  KSMPCookie cookie;
  for (int i = 0; i < 32; i++) {
    cookie.mData[i] = uint8(inSeed + i * 3);
  }
  return cookie;
}

KSPacket Message(const uint8* inHeader, const std::string& inData) {
  KSPacket p;
  memcpy(p.mHeader, inHeader, 64);
  p.mTimeSent.mDays = 45000;
  p.mTimeSent.mSecs = 10;
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return p;
}

std::vector<uint8> SystemMsgWire(int32 inID, const std::string& inDesc, const std::string& inData) {
  KSBuf desc = {inDesc.data(), int32(inDesc.size())};
  KSBuf data = {inData.data(), int32(inData.size())};
  std::string payload(size_t(KSMPWire::SystemMsgSize(desc.mNumBytes, data.mNumBytes)), 0);
  KSMPWire::PackSystemMsg(inID, desc, data, reinterpret_cast<uint8*>(&payload[0]));
  uint8 header[64];
  KSMPWire::BuildHeader(header, kKSMPKind_SystemMsg, 5, 0, false, nullptr);
  return WireBytes(Message(header, payload));
}

class KSMPSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, KSNet::Startup()); }
  void TearDown() override { KSNet::Shutdown(); }
};

}  // namespace

TEST_F(KSMPSessionTest, RequestsAndRepliesCarryTicketsFlagsAndCookies) {
  LoopbackPeer peer;
  RecordingSession session;
  ASSERT_EQ(0, session.OpenSession(peer.Port(), false, peer.Addr(), 30000));
  ASSERT_TRUE(peer.Accept());
  ASSERT_EQ(session.GetSessionStatus(), ks_Connected);

  KSMPCookie cookie = MakeCookie(7);
  unsigned long ticket = 0;
  ASSERT_EQ(0, session.Send("print(1);", -1, 40, &cookie, &ticket));
  EXPECT_EQ(ticket, 1u);
  ASSERT_EQ(0, session.Send("no reply", 8, 12, nullptr, nullptr));

  KSPacket request;
  std::string text;
  ASSERT_TRUE(peer.RecvPacket(&request, &text));
  EXPECT_EQ(text, "print(1);");
  EXPECT_EQ(request.mHeader[0], 2);
  EXPECT_EQ(request.mHeader[1], kKSMPKind_Request);
  EXPECT_EQ(request.mHeader[2], 40);
  EXPECT_EQ(KSMPWire::Ticket(request.mHeader), 1u);
  EXPECT_TRUE(KSMPWire::ReplyWanted(request.mHeader));
  EXPECT_EQ(0, memcmp(request.mHeader + 16, cookie.mData, 32));

  KSPacket second;
  ASSERT_TRUE(peer.RecvPacket(&second, &text));
  EXPECT_EQ(text, "no reply");
  EXPECT_EQ(KSMPWire::Ticket(second.mHeader), 2u);
  EXPECT_FALSE(KSMPWire::ReplyWanted(second.mHeader));
  uint8 zeros[32] = {};
  EXPECT_EQ(0, memcmp(second.mHeader + 16, zeros, 32));

  // The peer answers the first request, sends messages this side must
  // ignore (a bad version, an unknown kind, a system message whose sizes run
  // past its payload), then a good system message and a request of its own.
  uint8 replyHeader[64];
  KSMPWire::BuildReplyHeader(request.mHeader, replyHeader);
  ASSERT_TRUE(peer.SendBytes(WireBytes(Message(replyHeader, "42"))));
  uint8 bad[64];
  KSMPWire::BuildHeader(bad, kKSMPKind_Reply, 0, 1, false, nullptr);
  bad[0] = 3;
  ASSERT_TRUE(peer.SendBytes(WireBytes(Message(bad, "bad version"))));
  bad[0] = 2;
  bad[1] = 4;
  ASSERT_TRUE(peer.SendBytes(WireBytes(Message(bad, "bad kind"))));
  std::vector<uint8> overlong = SystemMsgWire(99, "desc", "data");
  overlong[76 + 11] = 200;  // data size
  ASSERT_TRUE(peer.SendBytes(overlong));
  ASSERT_TRUE(peer.SendBytes(SystemMsgWire(301, "abc", "")));
  uint8 peerRequest[64];
  KSMPCookie peerCookie = MakeCookie(99);
  KSMPWire::BuildHeader(peerRequest, kKSMPKind_Request, 3, 77, true, &peerCookie);
  ASSERT_TRUE(peer.SendBytes(WireBytes(Message(peerRequest, "ping"))));

  ASSERT_TRUE(session.WaitForCount(4, false));
  std::vector<Event> events = session.Events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].mWhat, "open");
  EXPECT_EQ(events[1].mWhat, "reply");
  EXPECT_EQ(events[1].mText, "42");
  EXPECT_EQ(events[1].mFlags, 40);
  EXPECT_EQ(events[1].mTicket, 1u);
  EXPECT_EQ(0, memcmp(events[1].mCookie.mData, cookie.mData, 32));
  EXPECT_EQ(events[2].mWhat, "sysmsg");
  EXPECT_EQ(events[2].mMsgID, 301);
  EXPECT_EQ(events[2].mText, "abc");
  EXPECT_EQ(events[2].mText2, "");
  EXPECT_EQ(events[2].mFlags, 5);
  EXPECT_EQ(events[3].mWhat, "request");
  EXPECT_EQ(events[3].mText, "ping");
  // Without queueing, events run on the session's own thread.
  EXPECT_NE(events[1].mThread, GetCurrentThreadId());

  // The base class answers a request that wants a reply with an empty one.
  KSPacket reply;
  ASSERT_TRUE(peer.RecvPacket(&reply, &text));
  EXPECT_EQ(text, "");
  uint8 expectedReply[64];
  KSMPWire::BuildReplyHeader(peerRequest, expectedReply);
  EXPECT_EQ(0, memcmp(reply.mHeader, expectedReply, 64));

  // The peer hangs up: the owner hears of it, and the session is closed.
  peer.CloseConnection();
  ASSERT_TRUE(session.WaitForCount(5, false));
  EXPECT_EQ(session.Events()[4].mWhat, "close");
  EXPECT_EQ(session.GetSessionStatus(), ks_NotConnected);
  EXPECT_EQ(kKSErr_NotConnected, session.CloseSession());
}

TEST_F(KSMPSessionTest, QueuedModeDeliversOnlyThroughDispatch) {
  LoopbackPeer peer;
  RecordingSession session;
  ASSERT_EQ(0, session.OpenSession(peer.Port(), true, peer.Addr(), 30000));
  ASSERT_TRUE(peer.Accept());
  // The open event was handled by OpenSession itself, on this thread.
  std::vector<Event> events = session.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].mWhat, "open");
  EXPECT_EQ(events[0].mThread, GetCurrentThreadId());

  unsigned long ticket = 0;
  KSMPCookie cookie = MakeCookie(1);
  ASSERT_EQ(0, session.Send("q", 1, 11, &cookie, &ticket));
  KSPacket request;
  std::string text;
  ASSERT_TRUE(peer.RecvPacket(&request, &text));
  uint8 replyHeader[64];
  KSMPWire::BuildReplyHeader(request.mHeader, replyHeader);
  ASSERT_TRUE(peer.SendBytes(WireBytes(Message(replyHeader, "answer"))));
  ASSERT_TRUE(peer.SendBytes(SystemMsgWire(320, "d", "x")));

  ASSERT_TRUE(session.WaitForCount(3, true));
  events = session.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].mWhat, "reply");
  EXPECT_EQ(events[1].mText, "answer");
  EXPECT_EQ(events[1].mTicket, ticket);
  EXPECT_EQ(events[2].mWhat, "sysmsg");
  for (const Event& e : events) {
    EXPECT_EQ(e.mThread, GetCurrentThreadId()) << e.mWhat;
  }

  // A close the owner asks for drops the queued close event.
  EXPECT_EQ(0, session.CloseSession());
  session.DispatchIncoming();
  EXPECT_EQ(session.Events().size(), 3u);
  EXPECT_EQ(kKSErr_NotConnected, session.Send("x", 1, 0, nullptr, nullptr));
  EXPECT_EQ(kKSErr_Internal, session.CloseSession());
  EXPECT_TRUE(peer.WaitForEndOfStream());
}

TEST_F(KSMPSessionTest, FailedOpenIsReportedBeforeOpenReturns) {
  for (bool queued : {false, true}) {
    RecordingSession session;
    KSNetAddr addr = IP4Addr(127, 0, 0, 1);
    EXPECT_EQ(kKSErr_ConnectRefused, session.OpenSession(UnusedPort(), queued, addr, 30000));
    std::vector<Event> events = session.Events();
    ASSERT_EQ(events.size(), 1u) << queued;
    EXPECT_EQ(events[0].mWhat, "fail");
    EXPECT_EQ(session.GetSessionStatus(), ks_NotConnected);
  }
}

TEST_F(KSMPSessionTest, NothingIsSentWithoutASession) {
  RecordingSession session;
  unsigned long ticket = 0;
  EXPECT_EQ(kKSErr_NotConnected, session.Send("x", -1, 0, nullptr, &ticket));
  EXPECT_EQ(ticket, 1u);
  EXPECT_EQ(kKSErr_NotConnected, session.Send("x", -1, 0, nullptr, &ticket));
  EXPECT_EQ(ticket, 2u);
  KSBuf text = {"t", 1};
  KSBuf negative = {"t", -1};
  EXPECT_EQ(kKSErr_Param, session.SendSystemMsg(1, negative, text, 0));
  EXPECT_EQ(kKSErr_NotConnected, session.SendSystemMsg(1, text, text, 0));
  EXPECT_EQ(kKSErr_NotConnected, session.SetSessionTimeout(100));
  EXPECT_EQ(kKSErr_NotConnected, session.CloseSession());
}

TEST_F(KSMPSessionTest, DirectSessionsTalkInProcess) {
  RecordingSession a;
  RecordingSession b;
  ASSERT_EQ(0, a.OpenDirectSession(&b));
  EXPECT_EQ(a.GetSessionStatus(), ks_Connected);
  EXPECT_EQ(b.GetSessionStatus(), ks_Connected);

  unsigned long ticket = 0;
  KSMPCookie cookie = MakeCookie(3);
  ASSERT_EQ(0, a.Send("hello", -1, 9, &cookie, &ticket));
  KSBuf desc = {"desc", 4};
  KSBuf data = {"data", 4};
  ASSERT_EQ(0, b.SendSystemMsg(254, desc, data, 1));

  // b got the request and answered it with an empty reply; a got the reply
  // and the system message.
  std::vector<Event> ea = a.Events();
  std::vector<Event> eb = b.Events();
  ASSERT_EQ(ea.size(), 3u);
  ASSERT_EQ(eb.size(), 2u);
  EXPECT_EQ(eb[1].mWhat, "request");
  EXPECT_EQ(eb[1].mText, "hello");
  EXPECT_EQ(ea[1].mWhat, "reply");
  EXPECT_EQ(ea[1].mTicket, ticket);
  EXPECT_EQ(ea[1].mFlags, 9);
  EXPECT_EQ(0, memcmp(ea[1].mCookie.mData, cookie.mData, 32));
  EXPECT_EQ(ea[2].mWhat, "sysmsg");
  EXPECT_EQ(ea[2].mMsgID, 254);
  EXPECT_EQ(ea[2].mText2, "data");

  EXPECT_EQ(0, a.CloseSession());
  EXPECT_EQ(a.Events().back().mWhat, "close");
  EXPECT_EQ(b.Events().back().mWhat, "close");
  EXPECT_EQ(b.GetSessionStatus(), ks_NotConnected);
  EXPECT_EQ(kKSErr_NotConnected, b.Send("x", 1, 0, nullptr, nullptr));
}
