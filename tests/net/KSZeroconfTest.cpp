// The same-machine registry: publishing into shared slots, browsing them from
// a thread, and looking a service up by name. A service of another process
// (the simulator's) coming and going is in the simulator's program tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "foundation/KSMappedView.h"
#include "foundation/KSMessages.h"
#include "net/KSZeroconf.h"

namespace {

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
