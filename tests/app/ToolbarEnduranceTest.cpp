// corvexa-toolbar.exe over long runs: a thousand changes between two engines
// through its instance list hold no more than the first hundred did, and one
// session carries 10,000 commands and 10,000 notifications without losing or
// reordering any.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/ToolbarDriver.h"
#include "support/ProcessCounts.h"
#include "toolbar/UICommands.h"
#include "toolbar/UIDispatchScripts.h"

using namespace toolbar_driver;

namespace {

// A script as the simulator's log writes it.
std::string Logged(const std::string& inScript) {
  std::string out;
  for (char ch : inScript) {
    out += ch == '\n' ? std::string("\\n") : ch == '\r' ? std::string("\\r") : std::string(1, ch);
  }
  return out;
}

using ToolbarEndurance = RunningToolbar;

}  // namespace

TEST_F(ToolbarEndurance, AThousandEngineChangesHoldNothingMore) {
  SimProcess first;
  SimProcess second;
  ASSERT_TRUE(Engine(&first, "Endurance Engine A"));
  ASSERT_TRUE(Engine(&second, "Endurance Engine B"));
  HWND peer = Listing("Endurance Engine A");
  ASSERT_NE(nullptr, peer);
  ASSERT_TRUE(WaitFor([&] { return Filled(); }, 20000));

  const int kChanges = 1000;
  const int kEvery = 100;
  std::vector<ProcessCounts> counts;
  std::vector<long> memory;
  long missed = 0;
  DWORD start = GetTickCount();
  for (int i = 1; i <= kChanges; i++) {
    // Each change closes one session and opens the other, whose lists
    // replace the first one's (emptied at once, as the change is made).
    Choose(peer, i % 2);
    if (!WaitFor([&] { return Filled(); }, 20000)) {
      FAIL() << "change " << i << " did not refill the lists";
    }
    missed += Answers(mWind) ? 0 : 1;
    if (i % kEvery == 0) {
      Sleep(300);  // the closed session's thread ends
      counts.push_back(ProcessCounts::TakeOf(mToolbar.Handle()));
      memory.push_back(PrivateKBOf(mToolbar.Handle()));
    }
  }
  EXPECT_EQ(0, missed);

  std::printf("%d changes in %lu ms\n", kChanges, GetTickCount() - start);
  std::printf("changes  handles  threads  GDI  windows  private KB\n");
  for (size_t i = 0; i < counts.size(); i++) {
    std::printf("%7zu  %7ld  %7ld  %4ld  %7ld  %10ld\n", (i + 1) * kEvery, counts[i].mKernelHandles,
                counts[i].mThreads, counts[i].mGdiObjects, counts[i].mUserObjects, memory[i]);
  }
  // Measured from the first hundred on: whatever the first changes made
  // once is in every sample.
  for (size_t i = 1; i < counts.size(); i++) {
    SCOPED_TRACE(i);
    EXPECT_LE(counts[i].mKernelHandles, counts[0].mKernelHandles + 6);
    EXPECT_LE(counts[i].mThreads, counts[0].mThreads + 1);
    EXPECT_LE(counts[i].mGdiObjects, counts[0].mGdiObjects + 6);
    EXPECT_LE(counts[i].mUserObjects, counts[0].mUserObjects);
    EXPECT_LE(memory[i], memory[0] + 2048);
  }
  first.EndInput(nullptr);
  second.EndInput(nullptr);
}

TEST_F(ToolbarEndurance, TenThousandCommandsAndNotificationsInOneSession) {
  SimProcess sim;
  ASSERT_TRUE(Engine(&sim, "Endurance Engine"));
  ASSERT_TRUE(WaitFor([&] { return Filled(); }, 20000));
  HWND waves = ComboOf(kWaveShapes);
  ASSERT_NE(nullptr, waves);
  std::vector<std::string> names = ComboItems(waves);
  KSFileSpec log = mFolder.Item("Endurance Engine.log");
  size_t before = LoggedScripts(log).size();

  // Commands: every choice of a track text size sends its script. (The
  // engine's notifications move the wave shape lists, not this one, so no
  // echo crosses a choice made from outside in two steps.)
  HWND sizes = Listing("48");
  ASSERT_NE(nullptr, sizes);
  long numSizes = long(Ask(sizes, CB_GETCOUNT, 0, 0));
  const int kCount = 10000;
  std::vector<std::string> expected;
  DWORD start = GetTickCount();
  for (int i = 0; i < kCount; i++) {
    long index = (i * 5) % numSizes;
    Choose(sizes, index);
    UIValue value;
    value.mNumber = index;
    char cmd[kCommandBufferSize];
    expected.push_back(Logged(BuildUIScript(kUIAdvPrefTrackTextSize, value, cmd)));
  }
  std::vector<std::string> sent;
  WaitFor(
      [&] {
        sent = LoggedScripts(log);
        return sent.size() >= before + kCount;
      },
      60000);
  std::printf("10,000 commands logged in %lu ms\n", GetTickCount() - start);
  sent.erase(sent.begin(), sent.begin() + long(std::min(before, sent.size())));
  EXPECT_EQ(size_t(kCount), sent.size());
  auto differ = std::mismatch(sent.begin(), sent.end(), expected.begin(), expected.end());
  EXPECT_TRUE(differ.first == sent.end())
      << "script " << (differ.first - sent.begin()) << " logged as " << *differ.first
      << ", sent as " << *differ.second;

  // Notifications: the engine changes its wave shape 10,000 times; the
  // toolbar shows each in turn and ends on the last.
  std::string script;
  char cmd[kCommandBufferSize];
  for (int i = 0; i < kCount; i++) {
    script += std::string(CommandSetWaveShape(names[size_t(i % 2)].c_str(), cmd)) + "\n";
  }
  script += std::string(CommandSetWaveShape(names[5].c_str(), cmd)) + "\n";
  start = GetTickCount();
  ASSERT_TRUE(sim.WriteInput(script));
  long missed = 0;
  bool last = WaitFor(
      [&] {
        missed += Answers(mWind) ? 0 : 1;
        return Ask(waves, CB_GETCURSEL, 0, 0) == 5;
      },
      60000);
  EXPECT_TRUE(last);
  EXPECT_EQ(0, missed);
  std::printf("10,000 notifications shown in %lu ms\n", GetTickCount() - start);
  sim.EndInput(nullptr);
}
