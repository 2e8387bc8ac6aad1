// The engine link against a loopback peer that stands for the engine and is
// found the way a real one is: through the same-machine registry, or through
// DNS-SD (the test double).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSMPWire.h"
#include "net/KSZeroconf.h"
#include "net/ToolbarSession.h"
#include "support/LoopbackPeer.h"
#include "support/QueuedLink.h"

namespace {

constexpr char kEngineName[] = "Engine Test";

// The cookie of a request sent with target 77, type 4 and parameter 108.
const int32 kCookieValues[8] = {77, 4, 108};

// Sockets are started before the members after it are made, and stopped once
// they are gone.
struct NetStarted {
  NetStarted() { KSNet::Startup(); }
  ~NetStarted() { KSNet::Shutdown(); }
};

// The link to an engine that a loopback peer stands for.
class EngineLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mLink.reset(new QueuedLink(mType.c_str()));
    mLink->AddListener(&mLog);
  }

  // Publishes an engine at inPort in the registry and waits for the link to
  // list it.
  void PublishEngine(unsigned long inPort) {
    mRegistry.SetServiceType(mType.c_str());
    mRegistry.SetServiceName(kEngineName);
    mRegistry.SetServicePort(inPort);
    ASSERT_EQ(0, mRegistry.SetStatus(true));
    ASSERT_TRUE(
        mLog.WaitUntil([&](const std::vector<LoggedMsg>&) { return mLink->GetNumServices() == 1; },
                       20000, [&] { PulseRegistry(mType); }));
  }

  // Publishes the loopback engine and chooses it.
  void ChooseEngine() {
    ASSERT_NO_FATAL_FAILURE(PublishEngine(mEngine.Port()));
    mLink->SetCurService(kEngineName);
  }

  long Send(const char* inCmd, long inTarget = 0, long inType = 0, long inParam = 0,
            unsigned long* outTicket = nullptr) {
    return mLink->SendCmd(inCmd, -1, kCommandFlags, inTarget, inType, inParam, outTicket);
  }

  // Answers a request as an engine does: its ticket, flags and cookie come back.
  bool Reply(const KSPacket& inRequest, const std::string& inText) {
    KSPacket reply = {};
    KSMPWire::BuildReplyHeader(inRequest.mHeader, reply.mHeader);
    reply.mDataSize = int32(inText.size());
    reply.mData = reinterpret_cast<const uint8*>(inText.data());
    return mEngine.SendBytes(WireBytes(reply));
  }

  NetStarted mNet;
  std::string mType = UniqueServiceType("link");
  MessageLog mLog;
  KSZeroconf mRegistry;
  LoopbackPeer mEngine;
  std::unique_ptr<QueuedLink> mLink;
};

}  // namespace

TEST_F(EngineLinkTest, ConnectsOnFirstCommandAndRoutesRepliesByCookie) {
  ChooseEngine();
  UtilStr listed;
  ASSERT_TRUE(mLink->GetServiceName(1, &listed));
  EXPECT_STREQ(kEngineName, listed.getCStr());
  unsigned long ticket = 0;
  ASSERT_EQ(0, Send("print( GetConfigList(CONFIG_WAVESHAPE));", 77, 4, 108, &ticket));
  EXPECT_TRUE(mLink->ServiceIsLocal());
  std::vector<LoggedMsg> opened = mLog.Events(kKSMsg_SessionOpened);
  ASSERT_EQ(2u, opened.size());
  EXPECT_EQ(kEngineName, opened[0].mText);
  EXPECT_EQ("localhost", opened[0].mText2);

  ASSERT_TRUE(mEngine.Accept());
  KSPacket request;
  EXPECT_EQ("print( GetConfigList(CONFIG_WAVESHAPE));", mEngine.RecvText(&request));
  EXPECT_EQ(kCommandFlags, KSMPWire::Flags(request.mHeader));
  EXPECT_TRUE(KSMPWire::ReplyWanted(request.mHeader));
  EXPECT_EQ(ticket, KSMPWire::Ticket(request.mHeader));
  EXPECT_EQ(0, std::memcmp(request.mHeader + 16, kCookieValues, 32));

  // A command without a target asks for a reply all the same, on the same
  // connection, which choosing the same service again keeps.
  mLink->SetCurService(kEngineName);
  unsigned long secondTicket = 0;
  ASSERT_EQ(0, Send("SetSlideShow(CONFIG_COLORMAP,false);", 0, 0, 0, &secondTicket));
  KSPacket command;
  EXPECT_EQ("SetSlideShow(CONFIG_COLORMAP,false);", mEngine.RecvText(&command));
  EXPECT_EQ(ticket + 1, secondTicket);
  EXPECT_TRUE(KSMPWire::ReplyWanted(command.mHeader));

  // Replies in the other order: each carries its own cookie back.
  ASSERT_TRUE(Reply(command, ""));
  ASSERT_TRUE(Reply(request, std::string("Wave A\0Wave B\0\0", 16)));
  ASSERT_TRUE(mLink->PumpUntil([&] { return mLink->mReplies.size() == 2; }));
  EXPECT_EQ(secondTicket, mLink->mReplies[0].mCookie.mTicket);
  EXPECT_EQ(0, mLink->mReplies[0].mCookie.mParam[0]);
  const QueuedLink::Reply& listReply = mLink->mReplies[1];
  EXPECT_EQ(ticket, listReply.mCookie.mTicket);
  EXPECT_EQ(0, std::memcmp(listReply.mCookie.mParam, kCookieValues, 12));
  EXPECT_EQ(std::string("Wave A\0Wave B\0\0", 16), listReply.mText);

  // Choosing another service closes the session.
  mLink->SetCurService("Engine Other");
  EXPECT_TRUE(mEngine.WaitForEndOfStream());
  EXPECT_STREQ("Engine Other", mLink->GetCurServiceName());
}

TEST_F(EngineLinkTest, DiscoveryChangesTheListWhileAnotherThreadReadsIt) {
  PublishEngine(mEngine.Port());
  ASSERT_TRUE(mLog.WaitForCount(kKSMsg_ServicesChanged, 1));

  // The reader stays alive until the change is heard: a lock it left held
  // would keep discovery from rebuilding the list until it ended.
  std::atomic<bool> stop(false);
  std::atomic<int> reads(0);
  std::atomic<int> wrongNames(0);
  std::thread reader([&] {
    UtilStr name;
    while (!stop) {
      wrongNames += mLink->GetServiceName(1, &name) && name == kEngineName ? 0 : 1;
      reads++;
      Sleep(1);
    }
  });
  PollUntil([&] { return reads > 0; });
  KSZeroconf second;
  second.SetServiceType(mType.c_str());
  second.SetServiceName("Engine Test 2");
  second.SetServicePort(1);
  EXPECT_EQ(0, second.SetStatus(true));
  bool heard = mLog.WaitForCount(kKSMsg_ServicesChanged, 2, 20000, [&] { PulseRegistry(mType); });
  stop = true;
  reader.join();
  EXPECT_TRUE(heard) << "the list was not rebuilt while it was being read";
  EXPECT_EQ(0, wrongNames);
  EXPECT_EQ(2, mLink->GetNumServices());
}

// No service chosen, or one nobody publishes, is given up at once and
// silently; an engine that is not running, after two attempts, once said.
// None is tried again until it is chosen again.
TEST_F(EngineLinkTest, NoServiceAnUnknownOneAndOneNotRunningAreGivenUp) {
  ClosedPort closed;
  PublishEngine(closed.Port());
  EXPECT_STREQ("", mLink->GetCurServiceName());
  EXPECT_TRUE(mLink->ConnectFailed());
  EXPECT_EQ(kKSErr_NotConnected, Send("SetFullscreen(true);"));
  mLink->SetCurService("Engine Elsewhere");
  EXPECT_FALSE(mLink->ConnectFailed());
  EXPECT_EQ(kKSErr_NotConnected, Send("SetFullscreen(true);"));
  EXPECT_TRUE(mLink->ConnectFailed());
  EXPECT_EQ(kKSErr_NotConnected, Send("SetFullscreen(true);"));
  EXPECT_EQ(0u, mLog.Count(kKSMsg_SessionFailed));

  mLink->SetCurService(kEngineName);
  EXPECT_EQ(kKSErr_NotConnected, Send("SetFullscreen(true);"));
  EXPECT_TRUE(mLink->ConnectFailed());
  ASSERT_EQ(1u, mLog.Count(kKSMsg_SessionFailed));
  EXPECT_EQ(kEngineName, mLog.Events(kKSMsg_SessionFailed)[0].mText);
  EXPECT_EQ(kKSErr_NotConnected, Send("SetFullscreen(true);"));
  EXPECT_EQ(1u, mLog.Count(kKSMsg_SessionFailed));
  mLink->SetCurService(kEngineName);
  EXPECT_FALSE(mLink->ConnectFailed());
  EXPECT_EQ(kKSErr_NotConnected, Send("SetFullscreen(true);"));
  EXPECT_EQ(2u, mLog.Count(kKSMsg_SessionFailed));
  EXPECT_EQ(0u, mLog.Count(kKSMsg_SessionOpened));
}

TEST(EngineLinkDNSSD, ServiceFoundByDNSSDIsReachedByItsHostName) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  std::string type = UniqueServiceType("linkdnssd");
  MessageLog log;
  QueuedLink link(type.c_str());
  link.AddListener(&log);

  LoopbackPeer engine;
  daemon.SetResolveAnswer(kEngineName, 0, "localhost", static_cast<uint16_t>(engine.Port()));
  ASSERT_EQ(1, daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd, 0, kEngineName, "local."));
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServicesChanged, 1));
  link.SetCurService(kEngineName);
  ASSERT_EQ(0, link.SendCmd("SetFullscreen(true);", -1, kCommandFlags, 0, 0, 0, nullptr));
  ASSERT_TRUE(engine.Accept());
  std::vector<LoggedMsg> opened = log.Events(kKSMsg_SessionOpened);
  ASSERT_EQ(2u, opened.size());
  // The session's open event names the host; the connect that follows does not.
  EXPECT_EQ("localhost", opened[0].mText2);
  EXPECT_EQ(0, opened[1].mParam2);
  EXPECT_TRUE(link.ServiceIsLocal());
}
