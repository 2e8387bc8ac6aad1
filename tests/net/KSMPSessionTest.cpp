// KSMP sessions against a peer on the loopback address that speaks the
// protocol with the same wire codec.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PacketTestSupport.h"
#include "foundation/KSError.h"
#include "net/KSMPSession.h"
#include "support/EventLog.h"
#include "support/LoopbackPeer.h"

namespace {

struct Event {
  std::string mMsg;   // "open", "fail", "close", "request", "reply", "sysmsg"
  std::string mText;  // the request, the reply, or the system message's texts
  unsigned long mTicket;
  long mMsgID;
  unsigned char mFlags;
  KSMPCookie mCookie;
  DWORD mThread;
};

// "what msgID ticket flags text".
std::string Describe(const Event& inEvent) {
  return inEvent.mMsg + " " + std::to_string(inEvent.mMsgID) + " " +
         std::to_string(inEvent.mTicket) + " " + std::to_string(inEvent.mFlags) + " " +
         inEvent.mText;
}

class RecordingSession : public EventLog<Event>, public KSMPSession {
 public:
  ~RecordingSession() override { CloseSession(); }

  // In queued mode the events only come through DispatchIncoming, so the
  // wait dispatches as it goes.
  bool WaitFor(const char* inMsg, bool inDispatch) {
    std::function<void()> dispatch = [this] { DispatchIncoming(); };
    return WaitForCount(std::string(inMsg), 1, 10000, inDispatch ? dispatch : nullptr);
  }

 protected:
  void OnSessionOpened() override { Record("open"); }
  void OnSessionOpenFailed() override { Record("fail"); }
  void OnSessionClosed() override { Record("close"); }
  void OnReceivedProcessRequest(const uint8* inHeader, const KSBuf& inRequest) override {
    Record("request", std::string(inRequest.mData, size_t(inRequest.mNumBytes)),
           KSMPWire::Ticket(inHeader));
    KSMPSession::OnReceivedProcessRequest(inHeader, inRequest);
  }
  void OnProcessComplete(const KSBuf& inReply, unsigned char inFlags, const KSMPCookie& inCookie,
                         unsigned long inTicket) override {
    Record("reply", std::string(inReply.mData, size_t(inReply.mNumBytes)), inTicket, 0, inFlags,
           inCookie);
  }
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override {
    Record("sysmsg", std::string(inMsg.mDesc) + "|" + inMsg.mData, 0, inMsg.mMsgID, inFlags);
  }

 private:
  void Record(const char* inMsg, const std::string& inText = "", unsigned long inTicket = 0,
              long inMsgID = 0, unsigned char inFlags = 0, const KSMPCookie& inCookie = {}) {
    Add({inMsg, inText, inTicket, inMsgID, inFlags, inCookie, GetCurrentThreadId()});
  }
};

std::vector<uint8> MessageWire(const uint8* inHeader, const std::string& inData) {
  KSPacket p = {};
  memcpy(p.mHeader, inHeader, 64);
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return WireBytes(p);
}

std::vector<uint8> SystemMsgWire(int32 inID, const std::string& inDesc, const std::string& inData) {
  std::vector<uint8> payload = SystemMsg(inID, inDesc, inData);
  uint8 header[64];
  KSMPWire::BuildHeader(header, kKSMPKind_SystemMsg, 5, 0, false, nullptr);
  return MessageWire(header, std::string(payload.begin(), payload.end()));
}

class KSMPSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, KSNet::Startup()); }
  void TearDown() override { KSNet::Shutdown(); }
};

}  // namespace

// In both delivery modes: without queueing, events run on the session's own
// thread; queued, they come only through DispatchIncoming, on the owner's.
TEST_F(KSMPSessionTest, RequestsAndRepliesCarryTicketsFlagsAndCookies) {
  for (bool queued : {false, true}) {
    SCOPED_TRACE(queued);
    LoopbackPeer peer;
    RecordingSession session;
    ASSERT_EQ(0, session.OpenSession(peer.Port(), queued, peer.Addr(), 30000));
    ASSERT_TRUE(peer.Accept());
    ASSERT_EQ(session.GetSessionStatus(), ks_Connected);
    // The open event was handled by OpenSession itself.
    ASSERT_EQ(session.Events().size(), 1u);

    // A request that wants a reply, then one that does not and has no cookie.
    KSMPCookie cookie = MakeCookie(7);
    unsigned long ticket = 0;
    ASSERT_EQ(0, session.Send("print(1);", -1, 40, &cookie, &ticket));
    EXPECT_EQ(ticket, 1u);
    ASSERT_EQ(0, session.Send("no reply", 8, 12, nullptr, nullptr));
    KSPacket request;
    KSPacket second;
    EXPECT_EQ(peer.RecvText(&request), "print(1);");
    EXPECT_EQ(peer.RecvText(&second), "no reply");
    uint8 expected[64];
    KSMPWire::BuildHeader(expected, kKSMPKind_Request, 40, 1, true, &cookie);
    EXPECT_EQ(0, memcmp(request.mHeader, expected, 64));
    KSMPWire::BuildHeader(expected, kKSMPKind_Request, 12, 2, false, nullptr);
    EXPECT_EQ(0, memcmp(second.mHeader, expected, 64));

    // The peer answers the first request, sends messages this side must
    // ignore (a bad version, an unknown kind, a system message whose sizes run
    // past its payload), then a good system message and a request of its own.
    uint8 header[64];
    KSMPWire::BuildReplyHeader(request.mHeader, header);
    ASSERT_TRUE(peer.SendBytes(MessageWire(header, "42")));
    KSMPWire::BuildHeader(header, kKSMPKind_Reply, 0, 1, false, nullptr);
    header[0] = 3;
    ASSERT_TRUE(peer.SendBytes(MessageWire(header, "bad version")));
    header[0] = 2;
    header[1] = 4;
    ASSERT_TRUE(peer.SendBytes(MessageWire(header, "bad kind")));
    std::vector<uint8> overlong = SystemMsgWire(99, "desc", "data");
    overlong[76 + 11] = 200;  // data size
    ASSERT_TRUE(peer.SendBytes(overlong));
    ASSERT_TRUE(peer.SendBytes(SystemMsgWire(301, "abc", "")));
    uint8 peerRequest[64];
    KSMPCookie peerCookie = MakeCookie(99);
    KSMPWire::BuildHeader(peerRequest, kKSMPKind_Request, 3, 77, true, &peerCookie);
    ASSERT_TRUE(peer.SendBytes(MessageWire(peerRequest, "ping")));

    ASSERT_TRUE(session.WaitFor("request", queued));
    std::vector<Event> events = session.Events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].mMsg, "open");
    EXPECT_EQ(Describe(events[1]), "reply 0 1 40 42");
    EXPECT_EQ(0, memcmp(events[1].mCookie.mData, cookie.mData, 32));
    EXPECT_EQ(Describe(events[2]), "sysmsg 301 0 5 abc|");
    EXPECT_EQ(Describe(events[3]), "request 0 77 0 ping");
    for (size_t i = 1; i < events.size(); i++) {
      EXPECT_EQ(queued, events[i].mThread == GetCurrentThreadId()) << events[i].mMsg;
    }

    // The base class answers a request that wants a reply with an empty one.
    KSPacket reply;
    EXPECT_EQ(peer.RecvText(&reply), "");
    KSMPWire::BuildReplyHeader(peerRequest, expected);
    EXPECT_EQ(0, memcmp(reply.mHeader, expected, 64));

    if (!queued) {
      // The peer hangs up: the owner hears of it, and the session is closed.
      peer.CloseConnection();
      ASSERT_TRUE(session.WaitFor("close", false));
      EXPECT_EQ(session.GetSessionStatus(), ks_NotConnected);
    } else {
      // A close the owner asks for drops the queued close event.
      EXPECT_EQ(0, session.CloseSession());
      session.DispatchIncoming();
      EXPECT_EQ(session.Events().size(), 4u);
      // A ticket is used up even when the request cannot go.
      EXPECT_EQ(kKSErr_NotConnected, session.Send("x", 1, 0, nullptr, &ticket));
      EXPECT_EQ(ticket, 3u);
      KSBuf text = {"t", 1};
      EXPECT_EQ(kKSErr_NotConnected, session.SendSystemMsg(1, text, text, 0));
      EXPECT_EQ(kKSErr_NotConnected, session.CloseSession());
      EXPECT_TRUE(peer.WaitForEndOfStream());
    }
  }
}
