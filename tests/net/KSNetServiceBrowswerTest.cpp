// The service browser and resolver, over the same-machine registry (no
// "DNSSD.DLL" next to the test) and over DNS-SD (the test double loaded from a
// subfolder, playing the daemon).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSNetServiceBrowswer.h"

namespace {

constexpr int32_t kSomeDNSSDError = -65537;

std::vector<std::string> ListedNames(KSNetServiceBrowswer& inBrowser) {
  std::vector<std::string> names;
  UtilStr name;
  for (int i = 1; inBrowser.GetServiceName(i, &name); ++i) {
    names.push_back(name.getCStr());
  }
  return names;
}

// A publisher in this process, standing for an engine on this machine.
struct LocalEngine {
  KSZeroconf mRegistry;
  LocalEngine(const std::string& inType, const char* inName, unsigned long inPort) {
    mRegistry.SetServiceType(inType.c_str());
    mRegistry.SetServiceName(inName);
    mRegistry.SetServicePort(inPort);
    EXPECT_EQ(0, mRegistry.SetStatus(true));
  }
};

}  // namespace

TEST(KSNetServiceBrowswer, WithoutDNSSDListsTheRegistrysServices) {
  std::string type = UniqueServiceType("fallback");
  auto nudge = [&] { PulseRegistry(type); };
  LocalEngine one(type, "Engine One", 5001);
  LocalEngine shouting(type, "ENGINE ONE", 5002);
  MessageLog log;
  KSNetServiceBrowswer browser;
  browser.AddListener(&log);
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
  EXPECT_EQ(nullptr, GetModuleHandleW(L"DNSSD.DLL"));

  // Both slots were reported by one scan, so the list changed once; names
  // that differ only in case are listed once.
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 1, 20000, nudge));
  EXPECT_EQ(1u, log.Count(kKSMsg_ServiceListChanged));
  ASSERT_EQ(1u, ListedNames(browser).size());
  UtilStr name("leftover");
  EXPECT_FALSE(browser.GetServiceName(0, &name));
  EXPECT_TRUE(name.IsEmpty());
  EXPECT_FALSE(browser.GetServiceName(2, &name));
  UtilStr domain;
  ASSERT_TRUE(browser.GetDomainForService(UtilStr("Engine One"), &domain));
  EXPECT_STREQ("kestrova_localhost.", domain.getCStr());

  // Resolving reads the first slot carrying the name.
  EXPECT_FALSE(browser.GetServiceAddr(UtilStr("Engine One"), nullptr, nullptr, nullptr));
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Engine One"), 10, 0, false));
  KSNetAddr addr;
  unsigned long port = 0;
  ASSERT_TRUE(browser.GetServiceAddr(UtilStr("engine one"), &addr, &port, nullptr));
  EXPECT_EQ(ks_localhost, addr.mType);
  EXPECT_EQ(5001u, port);
  ASSERT_EQ(1u, log.Count(kKSMsg_ServiceResolved));
  EXPECT_EQ("Engine One", log.Messages(kKSMsg_ServiceResolved)[0].mText);
  EXPECT_EQ(kKSErr_FileNotFound, browser.ResolveService(UtilStr("Nobody"), 10, 0, false));

  one.mRegistry.SetStatus(false);
  shouting.mRegistry.SetStatus(false);
  ASSERT_TRUE(log.WaitUntil(
      [&](const std::vector<LoggedMsg>&) { return ListedNames(browser).empty(); }, 20000, nudge));
  EXPECT_FALSE(browser.GetServiceAddr(UtilStr("Engine One"), nullptr, nullptr, nullptr));
}

TEST(KSNetServiceBrowswer, IncompleteLibraryIsRefusedForGood) {
  UseDNSSDDoubleFrom(L"dnssd_incomplete");
  std::string type = UniqueServiceType("incomplete");
  LocalEngine engine(type, "Engine Near", 5003);
  MessageLog log;
  KSNetServiceBrowswer browser;
  browser.AddListener(&log);
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
  EXPECT_EQ(nullptr, GetModuleHandleW(L"DNSSD.DLL"));
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 1, 20000, [&] { PulseRegistry(type); }));
  EXPECT_EQ(std::vector<std::string>{"Engine Near"}, ListedNames(browser));
  // A second start does not try the library again.
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
  EXPECT_EQ(nullptr, GetModuleHandleW(L"DNSSD.DLL"));
}

TEST(KSNetServiceBrowswer, DNSSDRepliesChangeTheList) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  std::string type = UniqueServiceType("browse");
  LocalEngine unseen(type, "Registry Engine", 5004);  // DNS-SD is there: the registry is not read
  MessageLog log;
  KSNetServiceBrowswer browser;
  browser.AddListener(&log);
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));

  ASSERT_EQ(
      1, daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd | kDNSServiceFlagsMoreComing, 0,
                                "Alpha", "local."));
  daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd, 0, "Beta", "local.");
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 1));
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta"}), ListedNames(browser));

  // A reply carrying an error changes nothing.
  daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd, kSomeDNSSDError, "Gamma", "local.");
  daemon.PostBrowseReply(type.c_str(), 0, 0, "alpha", "local.");
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 2));
  EXPECT_EQ(std::vector<std::string>{"Beta"}, ListedNames(browser));
  EXPECT_EQ(2u, log.Count(kKSMsg_ServiceListChanged));
  UtilStr domain;
  EXPECT_TRUE(browser.GetDomainForService(UtilStr("Beta"), &domain));
  EXPECT_STREQ("local.", domain.getCStr());
  EXPECT_FALSE(browser.GetDomainForService(UtilStr("Alpha"), &domain));
}

TEST(KSNetServiceBrowswer, DNSSDResolveAnswersAndIsReusedWhileYoung) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  std::string type = UniqueServiceType("resolve");
  MessageLog log;
  KSNetServiceBrowswer browser;
  browser.AddListener(&log);
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
  daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd, 0, "Alpha", "local.");
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 1));

  daemon.SetResolveAnswer("Alpha", 0, "alpha-host.local.", 4711);
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Alpha"), 10, 0, false));
  KSNetAddr addr;
  unsigned long port = 0;
  KSTime resolvedAt = {0, 0};
  ASSERT_TRUE(browser.GetServiceAddr(UtilStr("Alpha"), &addr, &port, &resolvedAt));
  EXPECT_EQ(ks_HostName, addr.mType);
  EXPECT_STREQ("alpha-host.local.", addr.u.mHostName);
  EXPECT_EQ(4711u, port);
  KSTime now;
  KSTime::GetTime(&now, true);
  EXPECT_LE(KSTime::Diff(now, resolvedAt), 2);
  ASSERT_EQ(1u, log.Count(kKSMsg_ServiceResolved));
  EXPECT_EQ("Alpha", log.Messages(kKSMsg_ServiceResolved)[0].mText);

  // A young result stands; an older one than asked for is resolved again.
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Alpha"), 10, 0, false));
  EXPECT_EQ(1, daemon.Stats().mResolvesStarted);
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Alpha"), 0, 0, false));
  EXPECT_EQ(2, daemon.Stats().mResolvesStarted);

  // Asynchronously the answer arrives on the library's thread.
  daemon.SetResolveAnswer("Alpha", 0, "alpha-host.local.", 4712);
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Alpha"), 0, 0, true));
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceResolved, 3));
  ASSERT_TRUE(browser.GetServiceAddr(UtilStr("Alpha"), nullptr, &port, nullptr));
  EXPECT_EQ(4712u, port);
  EXPECT_EQ(0, daemon.Stats().mDeallocsWhileProcessing);
}

TEST(KSNetServiceBrowswer, SilentDNSSDResolveDoesNotHoldTheCaller) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  std::string type = UniqueServiceType("silent");
  MessageLog log;
  KSNetServiceBrowswer browser;
  browser.AddListener(&log);
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
  daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd | kDNSServiceFlagsMoreComing, 0, "Alpha",
                         "local.");
  daemon.PostBrowseReply(type.c_str(), kDNSServiceFlagsAdd, 0, "Beta", "local.");
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 1));
  auto secondsFor = [](const std::function<void()>& inCall) {
    auto start = std::chrono::steady_clock::now();
    inCall();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  double limit = KSNetServiceResolver::kSyncResolveLimitMS / 1000.0;

  // Never answered: given up after the limit, and the record stays unresolved.
  long result = 0;
  double waited =
      secondsFor([&] { result = browser.ResolveService(UtilStr("Beta"), 10, 0, false); });
  EXPECT_EQ(kKSErr_Internal, result);
  EXPECT_LT(waited, limit + 3);
  EXPECT_FALSE(browser.GetServiceAddr(UtilStr("Beta"), nullptr, nullptr, nullptr));

  // Answered once, then only with errors: the earlier address stands.
  daemon.SetResolveAnswer("Alpha", 0, "alpha-host.local.", 4711);
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Alpha"), 10, 0, false));
  daemon.SetResolveAnswer("Alpha", kSomeDNSSDError, "", 0);
  waited = secondsFor([&] { result = browser.ResolveService(UtilStr("Alpha"), 0, 0, false); });
  EXPECT_EQ(0, result);
  EXPECT_LT(waited, limit + 3);
  unsigned long port = 0;
  ASSERT_TRUE(browser.GetServiceAddr(UtilStr("Alpha"), nullptr, &port, nullptr));
  EXPECT_EQ(4711u, port);
  EXPECT_EQ(0, daemon.Stats().mDeallocsWhileProcessing);
}

TEST(KSNetServiceBrowswer, StoppingLeavesAStuckLibraryThreadToEndOnItsOwn) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  std::string type = UniqueServiceType("stuck");
  {
    KSNetServiceBrowswer browser;
    ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
    ASSERT_TRUE(daemon.WaitFor([&] { return daemon.Stats().mThreadsInProcess == 1; }));
  }  // its thread sits in DNSServiceProcessResult, waiting for news
  DNSSDDoubleStats stats = daemon.Stats();
  EXPECT_EQ(0, stats.mDeallocsWhileProcessing);
  EXPECT_EQ(1, stats.mLiveRefs);

  // When the library finally returns, the thread releases its reference.
  daemon.FailProcessing(kSomeDNSSDError);
  EXPECT_TRUE(daemon.WaitFor([&] { return daemon.Stats().mLiveRefs == 0; }));
  stats = daemon.Stats();
  EXPECT_EQ(0, stats.mLiveRefs);
  EXPECT_EQ(0, stats.mDeallocsWhileProcessing);
}

TEST(KSNetServiceBrowswer, BrowseTheLibraryRefusesFallsBackToTheRegistry) {
  DaemonScript daemon;
  ASSERT_TRUE(daemon.Load());
  daemon.FailStarts(kSomeDNSSDError);
  std::string type = UniqueServiceType("refused");
  LocalEngine engine(type, "Engine Near", 5005);
  MessageLog log;
  KSNetServiceBrowswer browser;
  browser.AddListener(&log);
  ASSERT_EQ(0, browser.StartBrowsing(type.c_str(), "local."));
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceListChanged, 1, 20000, [&] { PulseRegistry(type); }));
  EXPECT_EQ(std::vector<std::string>{"Engine Near"}, ListedNames(browser));
  // The resolve cannot start either, and the registry answers it.
  ASSERT_EQ(0, browser.ResolveService(UtilStr("Engine Near"), 10, 0, false));
  unsigned long port = 0;
  ASSERT_TRUE(browser.GetServiceAddr(UtilStr("Engine Near"), nullptr, &port, nullptr));
  EXPECT_EQ(5005u, port);
}
