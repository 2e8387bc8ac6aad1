// The same-machine registry (publishing into shared slots, browsing them
// from a thread, looking a service up by name), and the service browser and
// resolver over it (no "DNSSD.DLL" next to the test) and over DNS-SD (the
// test double loaded from a subfolder, playing the daemon). A service of
// another process (the simulator's) coming and going is in the simulator's
// program tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "foundation/KSMappedView.h"
#include "foundation/KSMessages.h"
#include "net/KSNetServiceBrowswer.h"
#include "net/KSZeroconf.h"

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

class KSZeroconfTest : public ::testing::Test {
 protected:
  void StartBrowsing() {
    mBrowser.AddListener(&mLog);
    mBrowser.SetServiceType(mType.c_str());
    ASSERT_EQ(0, mBrowser.StartBrowsing());
  }

  // Waits for the inCount-th inMsg; the registry is nudged meanwhile.
  bool WaitFor(long inMsg, size_t inCount = 1) {
    return mLog.WaitForCount(inMsg, inCount, 20000, [&] { PulseRegistry(mType); });
  }

  void Describe(KSZeroconf& ioPublisher, const std::string& inName, unsigned long inPort) {
    ioPublisher.SetServiceType(mType.c_str());
    ioPublisher.SetServiceName(inName.c_str());
    ioPublisher.SetServicePort(inPort);
  }

  std::string mType = UniqueServiceType("zc");
  MessageLog mLog;
  KSZeroconf mBrowser;
};

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

TEST_F(DNSSDBrowserTest, RepliesChangeTheListAndResolvesAnswerOrTimeOut) {
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

  // A silent daemon does not hold the caller: never answered, a resolve is
  // given up after the limit and the record stays unresolved; answered only
  // with errors now, the earlier address stands.
  KSNetServiceResolver::sSyncResolveLimitMS = 500;
  long result = 0;
  EXPECT_LT(SecondsFor([&] { result = mBrowser.ResolveService(UtilStr("Beta"), 10, 0, false); }),
            3.5);
  EXPECT_EQ(kKSErr_Internal, result);
  EXPECT_FALSE(mBrowser.GetServiceAddr(UtilStr("Beta"), nullptr, nullptr, nullptr));
  mDaemon.SetResolveAnswer("Alpha", kSomeDNSSDError, "", 0);
  EXPECT_LT(SecondsFor([&] { result = mBrowser.ResolveService(UtilStr("Alpha"), 0, 0, false); }),
            3.5);
  EXPECT_EQ(0, result);
  EXPECT_EQ(4712u, PortOf("Alpha"));
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

TEST_F(KSZeroconfTest, RepublishedSlotIsReportedRemovedThenAdded) {
  KSZeroconf publisher;
  Describe(publisher, "Engine A", 1000);
  ASSERT_EQ(0, publisher.SetStatus(true));
  // The first scan reports what is there already.
  StartBrowsing();
  ASSERT_TRUE(WaitFor(kKSMsg_ServiceAdded));
  mLog.Clear();

  // Holding the registry lock, withdraw and publish again: the browser can
  // only see the slot's new stamp, under the same name.
  KSHandle lock(OpenMutexA(SYNCHRONIZE, FALSE, ("KSZeroconf " + mType + " - AcessMutex").c_str()));
  ASSERT_TRUE(lock);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(lock.Get(), 5000));
  EXPECT_EQ(0, publisher.SetStatus(false));
  publisher.SetServicePort(1001);
  EXPECT_EQ(0, publisher.SetStatus(true));
  ReleaseMutex(lock.Get());

  ASSERT_TRUE(WaitFor(kKSMsg_ServiceAdded));
  std::vector<LoggedMsg> msgs = mLog.Events();
  ASSERT_EQ(2u, msgs.size());
  EXPECT_EQ(kKSMsg_ServiceRemoved, msgs[0].mMsg);
  EXPECT_EQ(1, msgs[0].mParam2);  // more to come
  EXPECT_EQ(kKSMsg_ServiceAdded, msgs[1].mMsg);
  EXPECT_EQ(0, msgs[1].mParam2);
  EXPECT_EQ("Engine A|Engine A", msgs[0].mText + "|" + msgs[1].mText);
}

TEST_F(KSZeroconfTest, SixSlotsHoldSixServicesInTheSharedLayout) {
  KSZeroconf publishers[kZCNumSlots + 1];
  for (int i = 0; i <= kZCNumSlots; ++i) {
    Describe(publishers[i], "Engine " + std::to_string(i), 6000 + i);
    EXPECT_EQ(i < kZCNumSlots ? 0 : kKSErr_QuotaExceeded, publishers[i].SetStatus(true)) << i;
  }
  EXPECT_FALSE(publishers[kZCNumSlots].IsPublished());

  // The freed slot goes to the next publisher.
  publishers[2].SetStatus(false);
  ASSERT_EQ(0, publishers[kZCNumSlots].SetStatus(true));
  ZCService record;
  ASSERT_EQ(0, KSZeroconf::ResolveService("ENGINE 6", mType.c_str(), &record));
  EXPECT_EQ(6006u, record.mPort);
  EXPECT_EQ(kKSErr_ServiceNotFound, KSZeroconf::ResolveService("Engine 2", mType.c_str(), &record));
  EXPECT_EQ(kKSErr_ServiceNotFound, KSZeroconf::ResolveService("", mType.c_str(), &record));

  // Engines of other builds read the slot byte by byte.
  KSHandle mapping(
      OpenFileMappingA(FILE_MAP_READ, FALSE, ("KSZeroconf " + mType + " - 2").c_str()));
  ASSERT_TRUE(mapping);
  KSMappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 524));
  ASSERT_TRUE(view);
  const uint8* slot = static_cast<const uint8*>(view.Get());
  EXPECT_EQ(0, std::memcmp(slot, "1111", 4));
  uint32 port;
  std::memcpy(&port, slot + 260, 4);
  EXPECT_EQ(6006u, port);
  EXPECT_STREQ("Engine 6", reinterpret_cast<const char*>(slot + 264));
  int32 seed;
  std::memcpy(&seed, slot + 520, 4);
  EXPECT_NE(0, seed);
}
