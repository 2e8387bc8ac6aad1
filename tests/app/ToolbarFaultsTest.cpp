// corvexa-toolbar.exe against engines that misbehave: for each fault the
// window keeps answering, shows what the user is told, empties and disables
// its engine controls when the engine is gone, and holds no more handles,
// threads, GDI objects or memory afterwards than before. The run writes its
// findings as a table, "engine-faults.md", into the test's build folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>

#include "app/ToolbarDriver.h"
#include "support/ProcessCounts.h"

using namespace toolbar_driver;

namespace {

const wchar_t kToolbarBoxTitle[] = L"Corvexa Toolbar Message";
const char kEngine[] = "Fault Engine";
// The simulator's lists: wave shapes, color maps, flow fields, particles and
// images/videos, one list view each.
const long kFullRows = 44 + 65 + 34 + 22 + 22;

// How a case ends the engine.
enum class eEnd { kQuit, kKill, kComeBack };

struct FaultCase {
  const char* mFault;
  std::vector<std::string> mArgs;
  eEnd mEnd;
  DWORD mRunMS;      // how long the engine misbehaves before it ends
  const char* mBox;  // the start of the box the user is shown; null: none
  bool mFilled;      // the lists fill while it runs
};

struct Usage {
  ProcessCounts mCounts;
  long mPrivateKB;
};

bool WaitFor(const std::function<bool()>& inDone, DWORD inMS) {
  for (DWORD waited = 0;; waited += 50) {
    if (inDone()) {
      return true;
    }
    if (waited >= inMS) {
      return false;
    }
    Sleep(50);
  }
}

class ToolbarFaults : public RunningToolbar {
 protected:
  DWORD Pid() { return GetProcessId(mToolbar.Handle()); }
  Usage Use() { return {ProcessCounts::TakeOf(mToolbar.Handle()), PrivateKBOf(mToolbar.Handle())}; }

  HWND Peer() { return ComboListing(mWind, kNoInstances); }
  bool Listed(const std::string& inName) { return ComboListing(mWind, inName) != nullptr; }
  // No engine: the instance list says so, the engine's lists are empty and
  // the controls it feeds are disabled.
  bool Emptied() {
    if (Peer() == nullptr || ListRows(mWind) != 0) {
      return false;
    }
    long disabled = 0;
    for (HWND combo : Children(mWind, L"ComboBox")) {
      disabled += IsWindowEnabled(combo) ? 0 : 1;
    }
    return disabled >= 10;  // the nine engine-fed choices and the instance list
  }
  bool Filled() { return ListRows(mWind) >= kFullRows; }

  // Starts an engine and waits until the toolbar lists it.
  bool Engine(SimProcess* ioSim, const std::string& inName, std::vector<std::string> inArgs) {
    mEngineStart = GetTickCount();
    return StartEngine(ioSim, inName, std::move(inArgs), mFolder.Item(inName + ".log")) &&
           WaitFor([&] { return Listed(inName); }, 15000);
  }
  // Ends the engine that started last; not within 4 s of its start, which
  // the toolbar takes as a refused connection.
  void Quit(SimProcess* ioSim) {
    DWORD lived = GetTickCount() - mEngineStart;
    if (lived < 5000) {
      Sleep(5000 - lived);
    }
    ioSim->EndInput(nullptr);
  }

  // Usage back within a small margin of inBefore (threads and windows of
  // closed sessions end a little after).
  Usage Settle(const Usage& inBefore) {
    Usage now = Use();
    WaitFor(
        [&] {
          now = Use();
          return Within(now, inBefore);
        },
        15000);
    return now;
  }
  static bool Within(const Usage& inNow, const Usage& inBefore) {
    const ProcessCounts& n = inNow.mCounts;
    const ProcessCounts& b = inBefore.mCounts;
    return n.mKernelHandles <= b.mKernelHandles + 6 && n.mThreads <= b.mThreads + 1 &&
           n.mGdiObjects <= b.mGdiObjects + 6 && n.mUserObjects <= b.mUserObjects &&
           inNow.mPrivateKB <= inBefore.mPrivateKB + 2048;
  }

  DWORD mEngineStart = 0;
};

std::string UsageText(const Usage& inBefore, const Usage& inAfter) {
  char text[200];
  std::snprintf(text, sizeof(text), "%ld→%ld / %ld→%ld / %ld→%ld / %ld→%ld KB",
                inBefore.mCounts.mKernelHandles, inAfter.mCounts.mKernelHandles,
                inBefore.mCounts.mThreads, inAfter.mCounts.mThreads, inBefore.mCounts.mGdiObjects,
                inAfter.mCounts.mGdiObjects, inBefore.mPrivateKB, inAfter.mPrivateKB);
  return text;
}

// The first sentence of a box's text.
std::string FirstSentence(const std::string& inText) {
  size_t end = inText.find_first_of("\r\n");
  return inText.substr(0, end);
}

}  // namespace

TEST_F(ToolbarFaults, EveryEngineFaultIsSurvived) {
  const std::string refused = std::string("The toolbar's connection to \"") + kEngine + "\"";
  const std::string failed =
      std::string("The toolbar failed to connect to Corvexa in \"") + kEngine + "\"";
  const FaultCase cases[] = {
      {"refused connection", {"--refuse"}, eEnd::kQuit, 6000, refused.c_str(), false},
      {"engine that never replies", {"--no-reply"}, eEnd::kQuit, 8000, nullptr, false},
      {"replies 2 s late", {"--reply-delay", "2000"}, eEnd::kQuit, 20000, nullptr, true},
      {"engine that closes after 6 s", {"--close-after", "6"}, eEnd::kQuit, 9000, nullptr, true},
      {"a reply cut in the middle",
       {"--cut-reply", "5"},
       eEnd::kQuit,
       8000,
       refused.c_str(),
       false},
      {"oversize packet header", {"--oversize"}, eEnd::kQuit, 6000, refused.c_str(), false},
      {"malformed system message", {"--bad-sysmsg"}, eEnd::kQuit, 6000, nullptr, true},
      {"10,000 notifications a second", {"--flood", "10000"}, eEnd::kQuit, 8000, nullptr, true},
      {"engine killed mid-session", {}, eEnd::kKill, 4000, failed.c_str(), true},
      {"engine that comes back after going away", {}, eEnd::kComeBack, 4000, nullptr, true},
  };

  // A first engine comes and goes: what the first connection makes once
  // (sockets, the session's thread pool, fonts of the filled lists) stays.
  {
    SimProcess warmUp;
    ASSERT_TRUE(Engine(&warmUp, "Warm-up Engine", {}));
    ASSERT_TRUE(WaitFor([&] { return Filled(); }, 20000));
    Quit(&warmUp);
    ASSERT_TRUE(WaitFor([&] { return Emptied(); }, 15000));
  }

  std::ostringstream table;
  table << "| Fault | Window answered within 1 s | Outcome | Handles / threads / GDI / private "
           "memory, before → after |\n|---|---|---|---|\n";
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.mFault);
    Usage before = Settle(Use());
    AnswerWatch watch(mWind);
    std::string outcome;

    SimProcess sim;
    ASSERT_TRUE(Engine(&sim, kEngine, c.mArgs)) << sim.Errors();
    bool filled = WaitFor([&] { return Filled(); }, c.mFilled ? c.mRunMS : 0);
    std::string box;
    if (c.mEnd != eEnd::kKill) {
      box = TakeBox(Pid(), kToolbarBoxTitle, c.mRunMS);
      filled = filled || Filled();
      outcome = filled ? "lists filled"
                       : "lists not filled (" + std::to_string(ListRows(mWind)) + " rows)";
    }
    EXPECT_EQ(c.mFilled, filled);

    if (c.mEnd == eEnd::kKill) {
      Sleep(5000);  // past the first 4 s, when a close counts as a refusal
      sim.Kill();
      outcome = "lists filled; killed, then a control worked";
      // The dead engine's entry stays listed until the registry is next
      // scanned: a control worked meanwhile tries to reach it.
      HWND waves = nullptr;  // the combo box of the 44 wave shapes
      for (HWND combo : Children(mWind, L"ComboBox")) {
        if (Ask(combo, CB_GETCOUNT, 0, 0) == 44) {
          waves = combo;
        }
      }
      ASSERT_NE(nullptr, waves);
      Choose(waves, 3);
      box = TakeBox(Pid(), kToolbarBoxTitle, 15000);
      // Another engine's coming and going makes the registry be scanned.
      SimProcess other;
      ASSERT_TRUE(Engine(&other, "Passing Engine", {}));
      Quit(&other);
    } else if (c.mEnd == eEnd::kComeBack) {
      Quit(&sim);
      bool emptied = WaitFor([&] { return Emptied(); }, 15000);
      EXPECT_TRUE(emptied);
      SimProcess again;
      ASSERT_TRUE(Engine(&again, kEngine, {}));
      bool refilled = WaitFor([&] { return Filled(); }, 20000);
      EXPECT_TRUE(refilled);
      Quit(&again);
      outcome = std::string("lists filled; gone: ") +
                (emptied ? "emptied and disabled" : "NOT emptied") +
                "; back: " + (refilled ? "reconnected and refilled" : "NOT refilled");
    } else {
      Quit(&sim);
    }
    if (c.mBox != nullptr) {
      EXPECT_EQ(0u, box.find(c.mBox)) << box;
      outcome += (outcome.empty() ? "" : "; ") + std::string("box \"") + FirstSentence(box) + "\"";
    } else {
      EXPECT_EQ("", box);
      outcome += "; no box";
    }
    bool emptied = WaitFor([&] { return Emptied(); }, 20000);
    EXPECT_TRUE(emptied);
    EXPECT_EQ("", TakeBox(Pid(), kToolbarBoxTitle, 300));
    outcome += emptied ? "; engine gone: emptied and disabled" : "; engine gone: NOT emptied";

    watch.Stop();
    EXPECT_EQ(0, watch.Missed());
    Usage after = Settle(before);
    EXPECT_TRUE(Within(after, before)) << UsageText(before, after);
    table << "| " << c.mFault << " | " << (watch.Asked() - watch.Missed()) << " of "
          << watch.Asked() << " | " << outcome << " | " << UsageText(before, after) << " |\n";
  }
  std::printf("%s", table.str().c_str());
  FILE* file = std::fopen("engine-faults.md", "wb");
  ASSERT_NE(nullptr, file);
  std::fputs(table.str().c_str(), file);
  std::fclose(file);
}
