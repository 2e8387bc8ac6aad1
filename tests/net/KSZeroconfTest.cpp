// The same-machine registry: publishing into shared slots, browsing them from
// a thread, and looking a service up by name.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "DiscoveryTestSupport.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSZeroconf.h"

namespace {

bool HasMsg(const std::vector<LoggedMsg>& inMessages, long inMsg, const char* inName) {
  for (const LoggedMsg& msg : inMessages) {
    if (msg.mMsg == inMsg && msg.mText == inName) {
      return true;
    }
  }
  return false;
}

std::wstring Widen(const std::string& inText) {
  return std::wstring(inText.begin(), inText.end());
}

}  // namespace

TEST(KSZeroconf, ServiceOfAnotherProcessComesAndGoes) {
  std::string type = UniqueServiceType("xproc");
  MessageLog log;
  KSZeroconf browser;
  browser.AddListener(&log);
  browser.SetServiceType(type.c_str());
  ASSERT_EQ(0, browser.StartBrowsing());
  auto nudge = [&] { PulseRegistry(type); };

  std::string stopName = "KSTest publisher stop " + std::to_string(GetCurrentProcessId());
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, stopName.c_str());
  ASSERT_NE(nullptr, stop);
  std::wstring command = L"\"" + TestExeFolder() + L"\\zc_test_publisher.exe\" " + Widen(type) +
                         L" \"Engine Far\" 4711 \"" + Widen(stopName) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));

  EXPECT_TRUE(log.WaitUntil(
      [](const std::vector<LoggedMsg>& inMsgs) {
        return HasMsg(inMsgs, kKSMsg_ServiceAdded, "Engine Far");
      },
      20000, nudge));
  ZCService record;
  ASSERT_EQ(0, KSZeroconf::ResolveService("engine FAR", type.c_str(), &record));
  EXPECT_EQ(4711u, record.mPort);
  EXPECT_EQ(ks_localhost, record.mAddr.mType);
  EXPECT_STREQ("Engine Far", record.mServiceName.mStr);

  SetEvent(stop);
  EXPECT_TRUE(log.WaitUntil(
      [](const std::vector<LoggedMsg>& inMsgs) {
        return HasMsg(inMsgs, kKSMsg_ServiceRemoved, "Engine Far");
      },
      20000, nudge));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 20000));
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ(kKSErr_ServiceNotFound,
            KSZeroconf::ResolveService("Engine Far", type.c_str(), &record));
  // Each scan saw one change, so no message announced another to come.
  for (const LoggedMsg& msg : log.Events()) {
    EXPECT_EQ(0, msg.mParam2);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(stop);
}

TEST(KSZeroconf, RepublishedSlotIsReportedRemovedThenAdded) {
  std::string type = UniqueServiceType("republish");
  KSZeroconf publisher;
  publisher.SetServiceType(type.c_str());
  publisher.SetServiceName("Engine A");
  publisher.SetServicePort(1000);
  ASSERT_EQ(0, publisher.SetStatus(true));

  // The first scan reports what is there already.
  MessageLog log;
  KSZeroconf browser;
  browser.AddListener(&log);
  browser.SetServiceType(type.c_str());
  ASSERT_EQ(0, browser.StartBrowsing());
  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceAdded, 1));
  log.Clear();

  // Holding the registry lock, withdraw and publish again: the browser can
  // only see the slot's new stamp, under the same name.
  HANDLE lock = OpenMutexA(SYNCHRONIZE, FALSE, ("KSZeroconf " + type + " - AcessMutex").c_str());
  ASSERT_NE(nullptr, lock);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(lock, 5000));
  EXPECT_EQ(0, publisher.SetStatus(false));
  publisher.SetServicePort(1001);
  EXPECT_EQ(0, publisher.SetStatus(true));
  ReleaseMutex(lock);
  CloseHandle(lock);

  ASSERT_TRUE(log.WaitForCount(kKSMsg_ServiceAdded, 1, 20000, [&] { PulseRegistry(type); }));
  std::vector<LoggedMsg> msgs = log.Events();
  ASSERT_EQ(2u, msgs.size());
  EXPECT_EQ(kKSMsg_ServiceRemoved, msgs[0].mMsg);
  EXPECT_EQ("Engine A", msgs[0].mText);
  EXPECT_EQ(1, msgs[0].mParam2);
  EXPECT_EQ(kKSMsg_ServiceAdded, msgs[1].mMsg);
  EXPECT_EQ("Engine A", msgs[1].mText);
  EXPECT_EQ(0, msgs[1].mParam2);
}

TEST(KSZeroconf, SixSlotsHoldSixServicesInTheSharedLayout) {
  std::string type = UniqueServiceType("slots");
  KSZeroconf publishers[kZCNumSlots + 1];
  for (int i = 0; i <= kZCNumSlots; ++i) {
    publishers[i].SetServiceType(type.c_str());
    publishers[i].SetServiceName(("Engine " + std::to_string(i)).c_str());
    publishers[i].SetServicePort(6000 + i);
  }
  for (int i = 0; i < kZCNumSlots; ++i) {
    ASSERT_EQ(0, publishers[i].SetStatus(true)) << i;
  }
  EXPECT_EQ(kKSErr_QuotaExceeded, publishers[kZCNumSlots].SetStatus(true));
  EXPECT_FALSE(publishers[kZCNumSlots].IsPublished());

  // The freed slot goes to the next publisher.
  publishers[2].SetStatus(false);
  ASSERT_EQ(0, publishers[kZCNumSlots].SetStatus(true));
  ZCService record;
  ASSERT_EQ(0, KSZeroconf::ResolveService("ENGINE 6", type.c_str(), &record));
  EXPECT_EQ(6006u, record.mPort);
  EXPECT_EQ(kKSErr_ServiceNotFound, KSZeroconf::ResolveService("Engine 2", type.c_str(), &record));
  EXPECT_EQ(kKSErr_ServiceNotFound, KSZeroconf::ResolveService("", type.c_str(), &record));

  // Engines of other builds read the slot byte by byte.
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, ("KSZeroconf " + type + " - 2").c_str());
  ASSERT_NE(nullptr, mapping);
  const uint8* slot = static_cast<const uint8*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 524));
  ASSERT_NE(nullptr, slot);
  EXPECT_EQ(0, std::memcmp(slot, "1111", 4));
  uint32 port;
  std::memcpy(&port, slot + 260, 4);
  EXPECT_EQ(6006u, port);
  EXPECT_STREQ("Engine 6", reinterpret_cast<const char*>(slot + 264));
  int32 seed;
  std::memcpy(&seed, slot + 520, 4);
  EXPECT_NE(0, seed);
  UnmapViewOfFile(slot);
  CloseHandle(mapping);
}
