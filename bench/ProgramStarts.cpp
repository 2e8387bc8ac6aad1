#include "ProgramStarts.h"

#include <cstdio>
#include <map>

#include "BenchStats.h"

namespace {

BOOL CALLBACK FindUnpainted(HWND inWind, LPARAM ioFound) {
  if (IsWindowVisible(inWind) && GetUpdateRect(inWind, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(ioFound) = true;
    return FALSE;
  }
  return TRUE;
}

bool ShownAndPainted(HWND inWind) {
  if (inWind == nullptr || !IsWindowVisible(inWind) || GetUpdateRect(inWind, nullptr, FALSE)) {
    return false;
  }
  bool unpainted = false;
  EnumChildWindows(inWind, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// After a window's first paint, the microseconds until it was painted for
// the last time before kQuietMicros in which it stayed painted; -1: it never
// stayed painted that long.
double Settling(HWND inWind) {
  const double kQuietMicros = 300e3;
  const double kMostMicros = 10e6;
  double start = BenchNowMicros();
  double paintedSince = start;
  bool painted = true;
  for (;;) {
    Sleep(1);
    double now = BenchNowMicros();
    if (!ShownAndPainted(inWind)) {
      painted = false;
    } else if (!painted) {
      painted = true;
      paintedSince = now;
    } else if (now - paintedSince >= kQuietMicros) {
      return paintedSince - start;
    }
    if (now - start > kMostMicros) {
      return -1;
    }
  }
}

// The program's command line as wine gives it to Linux: its Windows path.
std::string WindowsPathOf(const Program& inProgram) {
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, length);
  path.resize(path.find_last_of("\\/") + 1);
  for (const char* c = inProgram.mPath; *c != 0; c++) {
    path.push_back(*c == '/' ? '\\' : *c);
  }
  return path;
}

// The processes that take part in every start.
struct Watched {
  int mServer = LinuxWineServer();
  int mDisplay = LinuxDisplayServer();
  int mBench = LinuxSelf();
};

StartSample OneStart(const Program& inProgram, const Watched& inWatched) {
  std::set<int> before = LinuxProcesses();
  LinuxSchedule server = LinuxScheduleOf(inWatched.mServer);
  LinuxSchedule display = LinuxScheduleOf(inWatched.mDisplay);
  LinuxSchedule bench = LinuxScheduleOf(inWatched.mBench);
  StartSample sample;
  ChildProcess child;
  HWND wind = nullptr;
  double micros = StartToPaint(inProgram, &child, &wind);
  sample.mServer = LinuxScheduleOf(inWatched.mServer) - server;
  sample.mDisplay = LinuxScheduleOf(inWatched.mDisplay) - display;
  sample.mBench = LinuxScheduleOf(inWatched.mBench) - bench;
  // The program goes on after its first paint: what each new process has
  // spent is taken at once, and the program's is known by its path after.
  std::map<int, LinuxSchedule> started;
  for (int pid : LinuxProcesses()) {
    if (before.count(pid) == 0) {
      started[pid] = LinuxScheduleOf(pid);
    }
  }
  std::string path = WindowsPathOf(inProgram);
  for (const auto& [pid, schedule] : started) {
    if (LinuxCommandLine(pid).c_str() == path) {
      sample.mProgram = schedule;
    }
  }
  double settling = micros >= 0 ? Settling(wind) : -1;
  if (settling >= 0 && CloseProgram(wind, &child)) {
    sample.mMicros = micros;
    sample.mSettledMicros = micros + settling;
  }
  return sample;
}

// The summary of one part of the samples, in milliseconds.
BenchSummary Of(const std::vector<StartSample>& inSamples, double (*inPart)(const StartSample&)) {
  std::vector<double> values;
  for (const StartSample& sample : inSamples) {
    values.push_back(inPart(sample) / 1000);
  }
  return Summarize(&values);
}

}  // namespace

double StartToPaint(const Program& inProgram, ChildProcess* ioChild, HWND* outWind) {
  double start = BenchNowMicros();
  if (!ioChild->Start(inProgram.mPath, inProgram.mArgs)) {
    return -1;
  }
  for (;;) {
    HWND wind = FindWindowW(inProgram.mClass, inProgram.mTitle);
    double now = BenchNowMicros();
    if (ShownAndPainted(wind)) {
      *outWind = wind;
      return now - start;
    }
    if (now - start > 30e6) {
      return -1;
    }
    Sleep(1);
  }
}

bool CloseProgram(HWND inWind, ChildProcess* ioChild) {
  PostMessageW(inWind, WM_CLOSE, 0, 0);
  unsigned long exitCode = 1;
  return ioChild->Wait(30000, &exitCode) && exitCode == 0;
}

int LinuxProcessOf(const Program& inProgram) {
  return LinuxProcessRunning(WindowsPathOf(inProgram));
}

bool MeasureStarts(int inTurns, const Program& inFirst, const Program& inSecond,
                   std::vector<StartSample>* outFirst, std::vector<StartSample>* outSecond) {
  Watched watched;
  if (OneStart(inFirst, watched).mMicros < 0 || OneStart(inSecond, watched).mMicros < 0) {
    return false;
  }
  for (int turn = 0; turn < inTurns; turn++) {
    outFirst->push_back(OneStart(inFirst, watched));
    outSecond->push_back(OneStart(inSecond, watched));
    if (outFirst->back().mMicros < 0 || outSecond->back().mMicros < 0) {
      return false;
    }
  }
  return true;
}

StartTimes PrintStartTimes(const char* inWhat, const std::vector<StartSample>& inSamples) {
  StartTimes times = {Of(inSamples, [](const StartSample& s) { return s.mMicros; }),
                      Of(inSamples, [](const StartSample& s) { return s.mSettledMicros; })};
  std::printf("  %-24s %7.1f %7.1f %7.1f   %7.1f %7.1f %7.1f\n", inWhat, times.mFirst.mMin,
              times.mFirst.mMedian, times.mFirst.mMax, times.mSettled.mMin, times.mSettled.mMedian,
              times.mSettled.mMax);
  return times;
}

void PrintStartCosts(const char* inWhat, const std::vector<StartSample>& inSamples) {
  using Part = double (*)(const StartSample&);
  const Part kParts[] = {
      [](const StartSample& s) { return s.mProgram.mRunning; },
      [](const StartSample& s) { return s.mProgram.mWaiting; },
      [](const StartSample& s) { return s.mServer.mRunning; },
      [](const StartSample& s) { return s.mServer.mWaiting; },
      [](const StartSample& s) { return s.mDisplay.mRunning; },
      [](const StartSample& s) { return s.mDisplay.mWaiting; },
      [](const StartSample& s) { return s.mBench.mRunning; },
  };
  std::printf("  %-24s", inWhat);
  for (Part part : kParts) {
    std::printf(" %7.1f", Of(inSamples, part).mMedian);
  }
  std::printf("\n");
}
