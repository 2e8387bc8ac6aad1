// corvexa-toolbar.exe over long runs: a thousand changes between two engines
// through its instance list hold no more than the first hundred did, and one
// session carries 10,000 commands without losing or reordering any. (10,000
// notifications are seen in order by the window's own tests, and a flood of
// them in the engine fault tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/ToolbarDriver.h"
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
  std::vector<Usage> samples;
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
      samples.push_back(Usage::Of(mToolbar.Handle()));
    }
  }
  EXPECT_EQ(0, missed);

  std::printf("%d changes in %lu ms\n", kChanges, GetTickCount() - start);
  std::printf("changes  handles  threads  GDI  windows  private KB\n");
  for (size_t i = 0; i < samples.size(); i++) {
    const long* n = samples[i].mOf;
    std::printf("%7zu  %7ld  %7ld  %4ld  %7ld  %10ld\n", (i + 1) * kEvery, n[0], n[1], n[2], n[3],
                n[4]);
    // Measured from the first hundred on: whatever the first changes made
    // once is in every sample.
    EXPECT_TRUE(samples[i].Within(samples[0])) << "after " << (i + 1) * kEvery << " changes";
  }
  first.EndInput(nullptr);
  second.EndInput(nullptr);
}

TEST_F(ToolbarEndurance, TenThousandCommandsInOneSession) {
  SimProcess sim;
  ASSERT_TRUE(Engine(&sim, "Endurance Engine"));
  ASSERT_TRUE(WaitFor([&] { return Filled(); }, 20000));
  HWND sizes = Listing("48");  // the track text sizes
  ASSERT_NE(nullptr, sizes);
  KSFileSpec log = mFolder.Item("Endurance Engine.log");
  // The connection's burst ends with the current full-screen mode, after the
  // lists have filled: the commands are counted from there.
  char cmd[kCommandBufferSize];
  const std::string burstEnd = CommandGetFullScreenMode(cmd);
  std::vector<std::string> logged;
  ASSERT_TRUE(WaitFor(
      [&] {
        logged = LoggedScripts(log);
        return std::find(logged.begin(), logged.end(), burstEnd) != logged.end();
      },
      20000, 100));
  size_t before = logged.size();
  const int kCount = 10000;
  // Every choice of a track text size sends its script. As Choose does, but
  // posted: the window takes its messages in order, and the test need not
  // wait for each. A full queue refuses a message.
  auto post = [](HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
    while (!PostMessageW(inWind, inMsg, inWParam, inLParam)) {
      Sleep(1);
    }
  };
  long numSizes = long(Ask(sizes, CB_GETCOUNT, 0, 0));
  WPARAM selChange = MAKEWPARAM(GetDlgCtrlID(sizes), CBN_SELCHANGE);
  std::vector<std::string> expected;
  DWORD start = GetTickCount();
  for (int i = 0; i < kCount; i++) {
    long index = (i * 5) % numSizes;
    post(sizes, CB_SETCURSEL, WPARAM(index), 0);
    post(GetParent(sizes), WM_COMMAND, selChange, reinterpret_cast<LPARAM>(sizes));
    UIValue value;
    value.mNumber = index;
    expected.push_back(Logged(BuildUIScript(kUIAdvPrefTrackTextSize, value, cmd)));
  }
  AnswerWatch watch(mWind);
  std::vector<std::string> sent;
  WaitFor([&] { return (sent = LoggedScripts(log)).size() >= before + kCount; }, 180000, 100);
  std::printf("10,000 commands logged in %lu ms\n", GetTickCount() - start);
  sent.erase(sent.begin(), sent.begin() + long(std::min(before, sent.size())));
  EXPECT_EQ(size_t(kCount), sent.size());
  auto differ = std::mismatch(sent.begin(), sent.end(), expected.begin(), expected.end());
  EXPECT_TRUE(differ.first == sent.end())
      << "script " << (differ.first - sent.begin()) << " logged as " << *differ.first
      << ", sent as " << *differ.second;
  watch.Stop();
  EXPECT_EQ(0, watch.mMissed);
  sim.EndInput(nullptr);
}
