// The service browser and resolver, over the same-machine registry (no
// "DNSSD.DLL" next to the test) and over DNS-SD (the test double loaded from a
// subfolder, playing the daemon).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSNetServiceBrowswer.h"

namespace {

constexpr int32_t kSomeDNSSDError = -65537;

class BrowserTest : public ::testing::Test {
 protected:
  void StartBrowsing() {
    mBrowser.AddListener(&mLog);
    ASSERT_EQ(0, mBrowser.StartBrowsing(mType.c_str(), "local."));
  }

  // Publishes a service in the registry, standing for an engine on this
  // machine; withdrawn when the test ends.
  KSZeroconf& Publish(const char* inName, unsigned long inPort) {
    KSZeroconf* registry = new KSZeroconf;
    mRegistries.emplace_back(registry);
    registry->SetServiceType(mType.c_str());
    registry->SetServiceName(inName);
    registry->SetServicePort(inPort);
    EXPECT_EQ(0, registry->SetStatus(true));
    return *registry;
  }

  // Waits for the inCount-th list change; the registry is nudged meanwhile.
  bool WaitForListChange(size_t inCount = 1) {
    return mLog.WaitForCount(kKSMsg_ServiceListChanged, inCount, 20000,
                             [&] { PulseRegistry(mType); });
  }

  std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    UtilStr name;
    for (int i = 1; mBrowser.GetServiceName(i, &name); ++i) {
      names.push_back(name.getCStr());
    }
    return names;
  }

  unsigned long PortOf(const char* inName) {
    unsigned long port = 0;
    EXPECT_TRUE(mBrowser.GetServiceAddr(UtilStr(inName), nullptr, &port, nullptr)) << inName;
    return port;
  }

  std::string mType = UniqueServiceType("browse");
  std::vector<std::unique_ptr<KSZeroconf>> mRegistries;
  MessageLog mLog;
  KSNetServiceBrowswer mBrowser;
};

// With the DNS-SD double loaded and browsing.
class DNSSDBrowserTest : public BrowserTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mDaemon.Load());
    StartBrowsing();
  }

  void Post(uint32_t inFlags, int32_t inError, const char* inName) {
    EXPECT_EQ(1, mDaemon.PostBrowseReply(mType.c_str(), inFlags, inError, inName, "local."));
  }

  DaemonScript mDaemon;
};

double SecondsFor(const std::function<void()>& inCall) {
  auto start = std::chrono::steady_clock::now();
  inCall();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST_F(BrowserTest, WithoutDNSSDListsTheRegistrysServices) {
  KSZeroconf& one = Publish("Engine One", 5001);
  KSZeroconf& shouting = Publish("ENGINE ONE", 5002);
  StartBrowsing();
  EXPECT_EQ(nullptr, GetModuleHandleW(L"DNSSD.DLL"));

  // Both slots were reported by one scan, so the list changed once; names
  // that differ only in case are listed once.
  ASSERT_TRUE(WaitForListChange());
  EXPECT_EQ(1u, mLog.Count(kKSMsg_ServiceListChanged));
  ASSERT_EQ(1u, ListedNames().size());
  UtilStr name("leftover");
  EXPECT_FALSE(mBrowser.GetServiceName(0, &name));
  EXPECT_TRUE(name.IsEmpty());
  UtilStr domain;
  ASSERT_TRUE(mBrowser.GetDomainForService(UtilStr("Engine One"), &domain));
  EXPECT_STREQ("kestrova_localhost.", domain.getCStr());

  // Resolving reads the first slot carrying the name.
  EXPECT_FALSE(mBrowser.GetServiceAddr(UtilStr("Engine One"), nullptr, nullptr, nullptr));
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Engine One"), 10, 0, false));
  KSNetAddr addr;
  ASSERT_TRUE(mBrowser.GetServiceAddr(UtilStr("engine one"), &addr, nullptr, nullptr));
  EXPECT_EQ(ks_localhost, addr.mType);
  EXPECT_EQ(5001u, PortOf("Engine One"));
  EXPECT_EQ(1u, mLog.Count(kKSMsg_ServiceResolved));
  EXPECT_EQ(kKSErr_FileNotFound, mBrowser.ResolveService(UtilStr("Nobody"), 10, 0, false));

  one.SetStatus(false);
  shouting.SetStatus(false);
  ASSERT_TRUE(mLog.WaitUntil([&](const std::vector<LoggedMsg>&) { return ListedNames().empty(); },
                             20000, [&] { PulseRegistry(mType); }));
  EXPECT_FALSE(mBrowser.GetServiceAddr(UtilStr("Engine One"), nullptr, nullptr, nullptr));
}

TEST_F(BrowserTest, IncompleteLibraryIsRefusedForGood) {
  UseDNSSDDoubleFrom(L"dnssd_incomplete");
  Publish("Engine Near", 5003);
  StartBrowsing();
  EXPECT_EQ(nullptr, GetModuleHandleW(L"DNSSD.DLL"));
  ASSERT_TRUE(WaitForListChange());
  EXPECT_EQ(std::vector<std::string>{"Engine Near"}, ListedNames());
  // A second start does not try the library again.
  ASSERT_EQ(0, mBrowser.StartBrowsing(mType.c_str(), "local."));
  EXPECT_EQ(nullptr, GetModuleHandleW(L"DNSSD.DLL"));
}

TEST_F(BrowserTest, BrowseTheLibraryRefusesFallsBackToTheRegistry) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  daemon.FailStarts(kSomeDNSSDError);
  Publish("Engine Near", 5005);
  StartBrowsing();
  ASSERT_TRUE(WaitForListChange());
  EXPECT_EQ(std::vector<std::string>{"Engine Near"}, ListedNames());
  // The resolve cannot start either, and the registry answers it.
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Engine Near"), 10, 0, false));
  EXPECT_EQ(5005u, PortOf("Engine Near"));
}

TEST_F(DNSSDBrowserTest, RepliesChangeTheListAndResolvesAnswer) {
  Publish("Registry Engine", 5004);  // DNS-SD is there: the registry is not read
  Post(kDNSServiceFlagsAdd | kDNSServiceFlagsMoreComing, 0, "Alpha");
  Post(kDNSServiceFlagsAdd, 0, "Beta");
  Post(kDNSServiceFlagsAdd, 0, "Gamma");
  ASSERT_TRUE(mLog.WaitForCount(kKSMsg_ServiceListChanged, 2));
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Gamma"}), ListedNames());

  // A reply carrying an error changes nothing; removal ignores case.
  Post(kDNSServiceFlagsAdd, kSomeDNSSDError, "Delta");
  Post(0, 0, "gamma");
  ASSERT_TRUE(mLog.WaitForCount(kKSMsg_ServiceListChanged, 3));
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta"}), ListedNames());
  EXPECT_EQ(3u, mLog.Count(kKSMsg_ServiceListChanged));
  UtilStr domain;
  EXPECT_TRUE(mBrowser.GetDomainForService(UtilStr("Beta"), &domain));
  EXPECT_STREQ("local.", domain.getCStr());
  EXPECT_FALSE(mBrowser.GetDomainForService(UtilStr("Gamma"), &domain));

  mDaemon.SetResolveAnswer("Alpha", 0, "alpha-host.local.", 4711);
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Alpha"), 10, 0, false));
  KSNetAddr addr;
  KSTime resolvedAt = {0, 0};
  ASSERT_TRUE(mBrowser.GetServiceAddr(UtilStr("Alpha"), &addr, nullptr, &resolvedAt));
  EXPECT_EQ(ks_HostName, addr.mType);
  EXPECT_STREQ("alpha-host.local.", addr.u.mHostName);
  EXPECT_EQ(4711u, PortOf("Alpha"));
  KSTime now;
  KSTime::GetTime(&now, true);
  EXPECT_LE(KSTime::Diff(now, resolvedAt), 2);
  ASSERT_EQ(1u, mLog.Count(kKSMsg_ServiceResolved));
  EXPECT_EQ("Alpha", mLog.Events(kKSMsg_ServiceResolved)[0].mText);

  // A young result stands; an older one than asked for is resolved again.
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Alpha"), 10, 0, false));
  EXPECT_EQ(1, mDaemon.Stats().mResolvesStarted);
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Alpha"), 0, 0, false));
  EXPECT_EQ(2, mDaemon.Stats().mResolvesStarted);

  // Asynchronously the answer arrives on the library's thread.
  mDaemon.SetResolveAnswer("Alpha", 0, "alpha-host.local.", 4712);
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Alpha"), 0, 0, true));
  ASSERT_TRUE(mLog.WaitForCount(kKSMsg_ServiceResolved, 3));
  EXPECT_EQ(4712u, PortOf("Alpha"));
  EXPECT_EQ(0, mDaemon.Stats().mDeallocsWhileProcessing);
}

TEST_F(DNSSDBrowserTest, SilentResolveDoesNotHoldTheCaller) {
  Post(kDNSServiceFlagsAdd | kDNSServiceFlagsMoreComing, 0, "Alpha");
  Post(kDNSServiceFlagsAdd, 0, "Beta");
  ASSERT_TRUE(mLog.WaitForCount(kKSMsg_ServiceListChanged, 1));
  KSNetServiceResolver::sSyncResolveLimitMS = 500;
  double limit = KSNetServiceResolver::sSyncResolveLimitMS / 1000.0;

  // Never answered: given up after the limit, and the record stays unresolved.
  long result = 0;
  EXPECT_LT(SecondsFor([&] { result = mBrowser.ResolveService(UtilStr("Beta"), 10, 0, false); }),
            limit + 3);
  EXPECT_EQ(kKSErr_Internal, result);
  EXPECT_FALSE(mBrowser.GetServiceAddr(UtilStr("Beta"), nullptr, nullptr, nullptr));

  // Answered once, then only with errors: the earlier address stands.
  mDaemon.SetResolveAnswer("Alpha", 0, "alpha-host.local.", 4711);
  ASSERT_EQ(0, mBrowser.ResolveService(UtilStr("Alpha"), 10, 0, false));
  mDaemon.SetResolveAnswer("Alpha", kSomeDNSSDError, "", 0);
  EXPECT_LT(SecondsFor([&] { result = mBrowser.ResolveService(UtilStr("Alpha"), 0, 0, false); }),
            limit + 3);
  EXPECT_EQ(0, result);
  EXPECT_EQ(4711u, PortOf("Alpha"));
  EXPECT_EQ(0, mDaemon.Stats().mDeallocsWhileProcessing);
  KSNetServiceResolver::sSyncResolveLimitMS = KSNetServiceResolver::kSyncResolveLimitMS;
}

TEST_F(BrowserTest, StoppingLeavesAStuckLibraryThreadToEndOnItsOwn) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  {
    KSNetServiceBrowswer browser;
    ASSERT_EQ(0, browser.StartBrowsing(mType.c_str(), "local."));
    ASSERT_TRUE(PollUntil([&] { return daemon.Stats().mThreadsInProcess == 1; }));
  }  // its thread sits in DNSServiceProcessResult, waiting for news
  DNSSDDoubleStats stats = daemon.Stats();
  EXPECT_EQ(0, stats.mDeallocsWhileProcessing);
  EXPECT_EQ(1, stats.mLiveRefs);

  // When the library finally returns, the thread releases its reference.
  daemon.FailProcessing(kSomeDNSSDError);
  EXPECT_TRUE(PollUntil([&] { return daemon.Stats().mLiveRefs == 0; }));
  EXPECT_EQ(0, daemon.Stats().mDeallocsWhileProcessing);
}
