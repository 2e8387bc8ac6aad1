// corvexa-toolbar.exe against engines that misbehave: for each fault the
// window keeps answering, shows what the user is told, empties and disables
// its engine controls when the engine is gone, and holds no more handles,
// threads, GDI objects or memory afterwards than before. The run writes its
// findings as a table, "engine-faults.md", into the test's build folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "app/ToolbarDriver.h"

using namespace toolbar_driver;

namespace {

const wchar_t kToolbarBoxTitle[] = L"Corvexa Toolbar Message";
const char kEngine[] = "Fault Engine";

// How a case ends the engine.
enum class eEnd { kQuit, kKill, kComeBack };

struct FaultCase {
  const char* mFault;
  std::vector<std::string> mArgs;
  eEnd mEnd;
  DWORD mRunMS;      // how long from its start the engine misbehaves at least
  const char* mBox;  // the start of the box the user is shown; null: none
  bool mFilled;      // the lists fill while it runs
};

class ToolbarFaults : public RunningToolbar {
 protected:
  Usage Use() { return Usage::Of(mToolbar.Handle()); }

  // No engine: the instance list says so, the engine's lists are empty and
  // the controls it feeds are disabled.
  bool Emptied() {
    if (Listing(kNoInstances) == nullptr || Rows() != 0) {
      return false;
    }
    long disabled = 0;
    for (HWND combo : mCombos) {
      disabled += IsWindowEnabled(combo) ? 0 : 1;
    }
    return disabled >= 10;  // the nine engine-fed choices and the instance list
  }

  // Usage back within the margin of inBefore, or the last taken.
  Usage Settle(const Usage& inBefore) {
    Usage now;
    WaitFor([&] { return (now = Use()).Within(inBefore); }, 15000);
    return now;
  }
};

std::string UsageText(const Usage& inBefore, const Usage& inAfter) {
  std::string text;
  for (int i : {0, 1, 2, 4}) {
    text += std::to_string(inBefore.mOf[i]) + "→" + std::to_string(inAfter.mOf[i]) +
            (i < 4 ? " / " : " KB");
  }
  return text;
}

}  // namespace

TEST_F(ToolbarFaults, EveryEngineFaultIsSurvived) {
  const std::string refused = std::string("The toolbar's connection to \"") + kEngine + "\"";
  const std::string failed =
      std::string("The toolbar failed to connect to Corvexa in \"") + kEngine + "\"";
  // The runs outlast what they test: the session's 5.5 s idle limit for an
  // engine that never replies, a few late replies after the lists filled,
  // the close after 5 s, seconds of flood.
  const FaultCase cases[] = {
      {"refused connection", {"--refuse"}, eEnd::kQuit, 0, refused.c_str(), false},
      {"engine that never replies", {"--no-reply"}, eEnd::kQuit, 7000, nullptr, false},
      {"replies 2 s late", {"--reply-delay", "2000"}, eEnd::kQuit, 6000, nullptr, true},
      {"engine that closes after 5 s", {"--close-after", "5"}, eEnd::kQuit, 6500, nullptr, true},
      // A broken stream is no refusal: the toolbar tries again, saying nothing.
      {"a reply cut in the middle", {"--cut-reply", "5"}, eEnd::kQuit, 0, nullptr, false},
      {"oversize packet header", {"--oversize"}, eEnd::kQuit, 0, nullptr, false},
      {"malformed system message", {"--bad-sysmsg"}, eEnd::kQuit, 0, nullptr, true},
      {"10,000 notifications a second", {"--flood", "10000"}, eEnd::kQuit, 6000, nullptr, true},
      {"engine killed mid-session", {}, eEnd::kKill, 0, failed.c_str(), true},
      {"engine that comes back after going away", {}, eEnd::kComeBack, 0, nullptr, true},
  };

  // A first engine comes and goes: what the first connection makes once
  // (sockets, the session's thread pool, fonts of the filled lists) stays.
  // So does what the first message box makes (the common controls' own
  // drawing objects): a second engine refuses.
  {
    SimProcess warmUp;
    ASSERT_TRUE(Engine(&warmUp, "Warm-up Engine"));
    ASSERT_TRUE(WaitFor([&] { return Filled(); }, 20000));
    Quit(&warmUp);
    ASSERT_TRUE(WaitFor([&] { return Emptied(); }, 15000));
    SimProcess refusing;
    ASSERT_TRUE(Engine(&refusing, "Refusing Engine", {"--refuse"}));
    ASSERT_NE("", TakeBox(Pid(), kToolbarBoxTitle, 15000));
    refusing.EndInput(nullptr);
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
    bool filled = c.mFilled && WaitFor([&] { return Filled(); }, 30000);
    std::string box;
    if (c.mEnd != eEnd::kKill) {
      // A box that is due comes at once; where none is, none may come
      // while the engine misbehaves.
      DWORD ran = GetTickCount() - mEngineStart;
      box = TakeBox(Pid(), kToolbarBoxTitle,
                    c.mBox != nullptr ? 15000 : std::max(c.mRunMS, ran + 500) - ran);
      filled = filled || Filled();
      outcome = filled ? "lists filled" : "lists not filled (" + std::to_string(Rows()) + " rows)";
    }
    EXPECT_EQ(c.mFilled, filled);

    if (c.mEnd == eEnd::kKill) {
      Sleep(std::max(0L, 5000L - long(GetTickCount() - mEngineStart)));  // no refusal
      sim.Kill();
      outcome = "lists filled; killed, then a control worked";
      // The dead engine's entry stays listed until the registry is next
      // scanned: a control worked meanwhile tries to reach it. A command
      // that comes before the toolbar has seen the connection drop goes down
      // the dead connection unanswered; the next one finds none and tries.
      HWND waves = ComboOf(kWaveShapes);
      ASSERT_NE(nullptr, waves);
      for (long choice = 3; choice < 6 && box.empty(); choice++) {
        Choose(waves, choice);
        box = TakeBox(Pid(), kToolbarBoxTitle, 5000);
      }
      // Another engine's coming and going makes the registry be scanned.
      SimProcess other;
      ASSERT_TRUE(Engine(&other, "Passing Engine"));
      Quit(&other);
    } else if (c.mEnd == eEnd::kComeBack) {
      Quit(&sim);
      bool emptied = WaitFor([&] { return Emptied(); }, 15000);
      EXPECT_TRUE(emptied);
      SimProcess again;
      ASSERT_TRUE(Engine(&again, kEngine));
      bool refilled = WaitFor([&] { return Filled(); }, 20000);
      EXPECT_TRUE(refilled);
      Quit(&again);
      outcome = std::string("lists filled; gone: ") +
                (emptied ? "emptied and disabled" : "NOT emptied") +
                "; back: " + (refilled ? "reconnected and refilled" : "NOT refilled");
    } else if (c.mBox != nullptr) {
      sim.EndInput(nullptr);  // refused: the toolbar has no session to lose
    } else {
      Quit(&sim);
    }
    if (c.mBox != nullptr) {
      EXPECT_EQ(0u, box.find(c.mBox)) << box;
      outcome += (outcome.empty() ? "" : "; ") + std::string("box \"") +
                 box.substr(0, box.find_first_of("\r\n")) + "\"";
    } else {
      EXPECT_EQ("", box);
      outcome += "; no box";
    }
    bool emptied = WaitFor([&] { return Emptied(); }, 20000);
    EXPECT_TRUE(emptied);
    EXPECT_EQ("", TakeBox(Pid(), kToolbarBoxTitle, 300));
    outcome += emptied ? "; engine gone: emptied and disabled" : "; engine gone: NOT emptied";

    watch.Stop();
    EXPECT_EQ(0, watch.mMissed);
    Usage after = Settle(before);
    EXPECT_TRUE(after.Within(before)) << UsageText(before, after);
    table << "| " << c.mFault << " | " << (watch.mAsked - watch.mMissed) << " of " << watch.mAsked
          << " | " << outcome << " | " << UsageText(before, after) << " |\n";
  }
  std::printf("%s", table.str().c_str());
  FILE* file = std::fopen("engine-faults.md", "wb");
  ASSERT_NE(nullptr, file);
  std::fputs(table.str().c_str(), file);
  std::fclose(file);
}
