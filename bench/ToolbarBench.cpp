// corvexa-bench-toolbar: corvexa-toolbar.exe as a user meets it, beside
// corvexa-bench-window (the least program that shows a painted window), in
// one run. It needs a display.
//   Start: from CreateProcess until the window is shown and painted (it and
//     its child windows have nothing left to paint), both programs in turns;
//     the toolbar with Factory Blue and no engine running. Minimum, median
//     and maximum, and what the program, wineserver and the X server spent
//     meanwhile: --starts-only measures this part alone.
//   Idle: the toolbar connected to corvexa-engine-sim with its main bar
//     shown: its CPU time over 60 s with the pointer away from it and 60 s
//     with the pointer resting on it, beside the yardstick running a 100 ms
//     timer that does nothing (the floor of a window that polls an engine).
//     --idle-only measures this part alone.
//   Memory: the toolbar's working set once connected, and through an hour of
//     use with an engine notification every second. The hour is compressed:
//     the simulator is given the hour's 3600 scripts (a slide show switched
//     on and off, the next colour map every ten seconds, a new track every
//     minute) at 100 a second, and the toolbar takes each notification as
//     it comes.
// The toolbar uses the engine installation and the preferences of the wine
// prefix (scripts/bench.sh lays the engine out); its preferences are set
// here. The simulator's log goes to the current folder.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchStats.h"
#include "ProgramStarts.h"
#include "files/Prefs.h"
#include "support/ChildProcess.h"
#include "support/DrivenToolbarPrefs.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"

namespace {

const double kStartTarget = 1.5;        // toolbar / yardstick
const double kIdleTargetPercent = 0.5;  // of one core
const double kMemoryTargetMB = 20;
const double kGrowthLimitMB = 1;  // allocator noise, not growth
const int kHourSeconds = 3600;
const int kHourSamples = 4;    // working set each quarter of the hour
const int kPointerPlaces = 2;  // idle with the pointer away, then on the toolbar
const DWORD kPointerSettleMS = 8000;

struct Options {
  int mStarts = 10;
  int mIdleSeconds = 60;
  int mHourRate = 100;     // simulated seconds per real second
  bool mIdleOnly = false;  // no starts and no hour: only the idle minute
  bool mStartsOnly = false;
};

bool ReadOptions(int argc, char** argv, Options* outOptions) {
  for (int i = 1; i < argc; i += 2) {
    if (std::strcmp(argv[i], "--idle-only") == 0) {
      outOptions->mIdleOnly = true;
      i--;
      continue;
    }
    if (std::strcmp(argv[i], "--starts-only") == 0) {
      outOptions->mStartsOnly = true;
      i--;
      continue;
    }
    if (i + 1 == argc) {
      return false;
    }
    int value = std::atoi(argv[i + 1]);
    if (value <= 0) {
      return false;
    }
    if (std::strcmp(argv[i], "--starts") == 0) {
      outOptions->mStarts = value;
    } else if (std::strcmp(argv[i], "--idle-seconds") == 0) {
      outOptions->mIdleSeconds = value;
    } else if (std::strcmp(argv[i], "--hour-rate") == 0) {
      outOptions->mHourRate = value;
    } else {
      return false;
    }
  }
  return true;
}

const Program kToolbar = {
    KS_BENCH_TOOLBAR_PATH, L"Kestrova Corvexa Toolbar", L"Corvexa Toolbar", {}};
const Program kWindow = {
    KS_BENCH_WINDOW_PATH, L"Corvexa Bench Window", L"Corvexa Bench Window", {}};
const Program kTimerWindow = {
    KS_BENCH_WINDOW_PATH, L"Corvexa Bench Window", L"Corvexa Bench Window", {"--timer"}};

// The toolbar's stored preferences: its window on the taskbar, shown at the
// start, the factory skin, no Deck, and open without an engine.
bool StoreToolbarPrefs() {
  ToolbarState state;  // finds the preference file where the toolbar will
  Prefs prefs;
  prefs.SetSpec(state.mPrefs.GetSpec());
  prefs.Load();
  SetMissingToolbarPrefs(&prefs);
  SetDrivenToolbarPrefs(&prefs);
  prefs.SetInt(kPref_BarX, 40);
  prefs.SetInt(kPref_BarY, 300);
  prefs.SetStr(kPref_Skin, "Factory Blue");
  return prefs.Store() == 0;
}

struct Memory {
  double mWorkingSetMB;
  double mPrivateMB;
};

Memory MemoryOf(HANDLE inProcess) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(inProcess, &counters, sizeof(counters))) {
    return {-1, -1};
  }
  const double kMB = 1024 * 1024;
  return {double(counters.WorkingSetSize) / kMB, double(counters.PagefileUsage) / kMB};
}

// The scripts of clients (not the console) in the simulator's log.
int ClientScripts(const std::string& inLog) {
  FILE* file = std::fopen(inLog.c_str(), "rb");
  if (file == nullptr) {
    return 0;
  }
  int count = 0;
  char line[4096];
  while (std::fgets(line, sizeof(line), file) != nullptr) {
    count += std::strstr(line, " > ") != nullptr && std::strstr(line, " #0 > ") == nullptr;
  }
  std::fclose(file);
  return count;
}

// Waits until the toolbar has talked to the simulator and then said nothing
// for two seconds (its refresh burst is over).
bool WaitConnectedAndQuiet(const std::string& inLog) {
  int last = 0;
  double quietSince = BenchNowMicros();
  for (double start = quietSince; BenchNowMicros() - start < 60e6;) {
    Sleep(200);
    int count = ClientScripts(inLog);
    if (count != last) {
      last = count;
      quietSince = BenchNowMicros();
    } else if (count > 0 && BenchNowMicros() - quietSince > 2e6) {
      return true;
    }
  }
  return false;
}

// The script of the inSecond-th second of the hour; ioOn is the slide show.
std::string HourScript(int inSecond, bool* ioOn) {
  char cmd[kCommandBufferSize];
  if (inSecond % 60 == 59) {
    return "SetTrackInfo(\"Bench track " + std::to_string(inSecond / 60) + "\")";
  }
  if (inSecond % 10 == 9) {
    return CommandNextColorMap(1, cmd);
  }
  *ioOn = !*ioOn;
  return CommandSetWaveShapeSlideShow(*ioOn, cmd);
}

struct Use {
  Memory mToolbarStart = {0, 0};
  Memory mWindowStart = {0, 0};
  // Shares of one core, the pointer away from the toolbar and resting on it.
  double mToolbarCpu[kPointerPlaces] = {0, 0};
  double mFloorCpu[kPointerPlaces] = {0, 0};
  std::vector<Memory> mHour;  // each quarter of the hour
};

bool Failed(const char* inWhat) {
  std::fprintf(stderr, "corvexa-bench-toolbar: %s\n", inWhat);
  return false;
}

bool MeasureUse(const Options& inOptions, ChildProcess* ioSim, const std::string& inLog,
                Use* outUse) {
  ChildProcess toolbar, floor;
  HWND toolbarWind = nullptr, floorWind = nullptr;
  if (StartToPaint(kToolbar, &toolbar, &toolbarWind) < 0 ||
      StartToPaint(kTimerWindow, &floor, &floorWind) < 0) {
    return Failed("the toolbar or the yardstick did not show its window");
  }
  if (!WaitConnectedAndQuiet(inLog)) {
    return Failed("the toolbar did not talk to the simulator");
  }
  outUse->mToolbarStart = MemoryOf(toolbar.Handle());
  outUse->mWindowStart = MemoryOf(floor.Handle());
  int toolbarPid = LinuxProcessOf(kToolbar);
  int floorPid = LinuxProcessOf(kTimerWindow);
  // Counters that never move would make any program look idle and small:
  // the start has cost the toolbar some time.
  if (LinuxCpuMicros(toolbarPid) <= 0 || LinuxCpuMicros(floorPid) < 0 ||
      outUse->mToolbarStart.mWorkingSetMB <= 0) {
    return Failed("the programs' CPU times or memory cannot be read");
  }
  // The pointer first rests away from both windows, then on the middle of
  // the toolbar (a hover frame or a tip up): both must cost next to nothing.
  RECT bar;
  GetWindowRect(toolbarWind, &bar);
  const POINT kPlaces[kPointerPlaces] = {
      {GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2},
      {(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2}};
  for (int place = 0; place < kPointerPlaces; place++) {
    SetCursorPos(kPlaces[place].x, kPlaces[place].y);
    Sleep(kPointerSettleMS);  // hover frames, a tip shown and gone again
    double toolbarBefore = LinuxCpuMicros(toolbarPid);
    double floorBefore = LinuxCpuMicros(floorPid);
    double start = BenchNowMicros();
    Sleep(DWORD(inOptions.mIdleSeconds) * 1000);
    double wall = BenchNowMicros() - start;
    outUse->mToolbarCpu[place] = (LinuxCpuMicros(toolbarPid) - toolbarBefore) / wall;
    outUse->mFloorCpu[place] = (LinuxCpuMicros(floorPid) - floorBefore) / wall;
  }
  if (inOptions.mIdleOnly) {
    return CloseProgram(toolbarWind, &toolbar) && CloseProgram(floorWind, &floor);
  }

  bool on = false;
  double start = BenchNowMicros();
  for (int second = 0; second < kHourSeconds; second++) {
    double due = start + second * 1e6 / inOptions.mHourRate;
    for (double now = BenchNowMicros(); now < due; now = BenchNowMicros()) {
      Sleep(DWORD(std::max(1.0, (due - now) / 1000)));
    }
    if (!ioSim->WriteInput(HourScript(second, &on) + "\n")) {
      return Failed("the simulator took no more scripts");
    }
    if ((second + 1) % (kHourSeconds / kHourSamples) == 0) {
      Sleep(500);  // the last notifications handled
      outUse->mHour.push_back(MemoryOf(toolbar.Handle()));
    }
  }
  unsigned long exitCode = 0;
  if (toolbar.Wait(0, &exitCode)) {
    return Failed("the toolbar ended during the hour");
  }
  return CloseProgram(toolbarWind, &toolbar) && CloseProgram(floorWind, &floor);
}

bool StartSimulator(ChildProcess* ioSim, const std::string& inLog) {
  std::remove(inLog.c_str());
  std::string line;
  return ioSim->Start(KS_BENCH_SIM_PATH,
                      {"--port", "0", "--name", "Bench Engine", "--log", inLog}) &&
         ioSim->WaitForLine("listening on", 20000, &line);
}

// A summary row of the starts: the ratio of the medians, and the range of
// the toolbar's times.
void StartRow(const char* inWhat, const BenchSummary& inToolbar, const BenchSummary& inWindow,
              const char* inTarget) {
  double ratio = inToolbar.mMedian / inWindow.mMedian;
  char result[120];
  std::snprintf(result, sizeof(result), "%.2fx (%.0f ms / %.0f ms; the toolbar %.0f to %.0f ms)",
                ratio, inToolbar.mMedian, inWindow.mMedian, inToolbar.mMin, inToolbar.mMax);
  PrintSummaryRow(inWhat, result, inTarget, ratio <= kStartTarget);
}

void ReportStarts(const std::vector<StartSample>& inToolbar,
                  const std::vector<StartSample>& inWindow) {
  std::printf(
      "Start, %zu turns (milliseconds): until the first paint, and until settled (painted, then\n"
      "nothing to paint for 300 ms):       min  median     max       min  median     max\n",
      inToolbar.size());
  StartTimes window = PrintStartTimes("minimal window", inWindow);
  StartTimes toolbar = PrintStartTimes("toolbar, Factory Blue", inToolbar);
  std::printf(
      "Until the first paint (milliseconds, medians): on a CPU and waiting for one, the program,\n"
      "wineserver and the X server; on a CPU, this benchmark looking for the painted window:\n"
      "                           program         wineserver       X server        bench\n");
  PrintStartCosts("minimal window", inWindow);
  PrintStartCosts("toolbar, Factory Blue", inToolbar);
  StartRow("toolbar start to first paint / minimal window (median)", toolbar.mFirst, window.mFirst,
           "at most 1.5x");
  StartRow("toolbar start until settled / minimal window (median)", toolbar.mSettled,
           window.mSettled, nullptr);
}

void ReportUse(const Options& inOptions, const Use& inUse) {
  std::printf("Idle, connected, main bar shown, %d s each (CPU, percent of one core):\n",
              inOptions.mIdleSeconds);
  const char* const kPlaceNames[kPointerPlaces] = {"pointer away", "pointer on the toolbar"};
  double toolbar = 0, floor = 0;  // the dearer of the two places
  for (int place = 0; place < kPointerPlaces; place++) {
    std::string what = std::string("minimal window, 100 ms timer, ") + kPlaceNames[place];
    std::printf("  %-52s %8.3f\n", what.c_str(), inUse.mFloorCpu[place] * 100);
    what = std::string("toolbar, ") + kPlaceNames[place];
    std::printf("  %-52s %8.3f\n", what.c_str(), inUse.mToolbarCpu[place] * 100);
    if (inUse.mToolbarCpu[place] * 100 >= toolbar) {
      toolbar = inUse.mToolbarCpu[place] * 100;
      floor = inUse.mFloorCpu[place] * 100;
    }
  }
  char result[100];
  std::snprintf(result, sizeof(result), "%.3f%% of a core (%.1fx the timer floor)", toolbar,
                toolbar / std::max(floor, 0.001));
  PrintSummaryRow("toolbar idle CPU, connected, pointer away or on it (60 s each)", result,
                  "below 0.5%", toolbar < kIdleTargetPercent);
  if (inOptions.mIdleOnly) {
    return;
  }

  std::printf("Memory (MB):                               working set   private\n");
  auto row = [](const char* inWhat, const Memory& inMemory) {
    std::printf("  %-40s %8.1f %9.1f\n", inWhat, inMemory.mWorkingSetMB, inMemory.mPrivateMB);
  };
  row("minimal window", inUse.mWindowStart);
  row("toolbar, connected", inUse.mToolbarStart);
  for (size_t i = 0; i < inUse.mHour.size(); i++) {
    std::string what =
        "toolbar after " + std::to_string((i + 1) * 60 / inUse.mHour.size()) + " min of use";
    row(what.c_str(), inUse.mHour[i]);
  }
  std::printf("  (the hour compressed: %d scripts at %d a second)\n", kHourSeconds,
              inOptions.mHourRate);
  double startMB = inUse.mToolbarStart.mWorkingSetMB;
  std::snprintf(result, sizeof(result), "%.1f MB (%.2fx the minimal window's %.1f MB)", startMB,
                startMB / inUse.mWindowStart.mWorkingSetMB, inUse.mWindowStart.mWorkingSetMB);
  PrintSummaryRow("toolbar working set after start", result, "below 20 MB",
                  startMB < kMemoryTargetMB);
  double end = inUse.mHour.back().mWorkingSetMB;
  double growth = end - inUse.mHour.front().mWorkingSetMB;
  double privateGrowth = inUse.mHour.back().mPrivateMB - inUse.mHour.front().mPrivateMB;
  std::snprintf(result, sizeof(result), "%.1f MB; over the last 45 min %+.1f MB (private %+.1f MB)",
                end, growth, privateGrowth);
  PrintSummaryRow(
      "toolbar working set after 1 h of notifications", result, "below 20 MB, growth below 1 MB",
      end < kMemoryTargetMB && growth < kGrowthLimitMB && privateGrowth < kGrowthLimitMB);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ReadOptions(argc, argv, &options)) {
    std::fprintf(stderr,
                 "Usage: corvexa-bench-toolbar [--starts N] [--idle-seconds N] [--hour-rate N] "
                 "[--idle-only | --starts-only]\n");
    return 2;
  }
  // Under wine the first program that asks for the desktop starts the
  // desktop's process, which keeps that program's standard handles: it must
  // be this one, not a child whose output pipes would then never end.
  GetDesktopWindow();
  if (!StoreToolbarPrefs()) {
    Failed("the toolbar's preferences could not be stored");
    return 1;
  }
  if (!options.mIdleOnly) {
    std::vector<StartSample> toolbarStarts, windowStarts;
    if (!MeasureStarts(options.mStarts, kToolbar, kWindow, &toolbarStarts, &windowStarts)) {
      Failed("a start did not show a painted window, or did not close");
      return 1;
    }
    ReportStarts(toolbarStarts, windowStarts);
  }
  if (options.mStartsOnly) {
    return 0;
  }

  char log[MAX_PATH];
  GetFullPathNameA("bench-toolbar-sim.log", MAX_PATH, log, nullptr);
  ChildProcess sim;
  Use use;
  if (!StartSimulator(&sim, log)) {
    Failed("the simulator did not start");
    return 1;
  }
  bool ok = MeasureUse(options, &sim, log, &use);
  sim.CloseInput();  // the simulator ends when its input does
  if (!sim.Wait(10000, nullptr)) {
    sim.Kill();
  }
  if (!ok) {
    return 1;
  }
  ReportUse(options, use);
  return 0;
}
