// The engine link against a loopback peer that stands for the engine and is
// found the way a real one is: through the same-machine registry, or through
// DNS-SD (the test double).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSZeroconf.h"
#include "net/ToolbarSession.h"
#include "support/LoopbackPeer.h"
#include "support/QueuedLink.h"

namespace {

constexpr char kEngineName[] = "Engine Test";

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

  long Send(const char* inCmd) {
    return mLink->SendCmd(inCmd, -1, kCommandFlags, 0, 0, 0, nullptr);
  }

  NetStarted mNet;
  std::string mType = UniqueServiceType("link");
  MessageLog mLog;
  KSZeroconf mRegistry;
  LoopbackPeer mEngine;
  std::unique_ptr<QueuedLink> mLink;
};

}  // namespace

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

  // Choosing the same service again keeps the connection.
  link.SetCurService(kEngineName);
  ASSERT_EQ(0, link.SendCmd("SetFullscreen(false);", -1, kCommandFlags, 0, 0, 0, nullptr));
  EXPECT_EQ("SetFullscreen(true);", engine.RecvText());
  EXPECT_EQ("SetFullscreen(false);", engine.RecvText());
  // Choosing another ends this connection at once, long before its idle limit.
  link.SetCurService("Engine Elsewhere");
  EXPECT_TRUE(engine.WaitForEndOfStream(2000));
}
