// What Linux knows of the processes around a benchmark under wine, read
// through wine's Z: drive: wine reads another process's CPU times as zero or
// stale, and knows nothing of wineserver or the X server, whose work is part
// of every window's.
#pragma once

#include <set>
#include <string>

// The ids of the running Linux processes.
std::set<int> LinuxProcesses();

// A Linux process's command line, its arguments separated by '\0'.
std::string LinuxCommandLine(int inPid);

// The Linux process whose first argument is inFirst and, when inSecond is
// not empty, whose second is inSecond; 0: none.
int LinuxProcessRunning(const std::string& inFirst, const std::string& inSecond = "");

// This process's Linux id.
int LinuxSelf();

// The wineserver of this process's wine prefix; 0: none found.
int LinuxWineServer();

// The X server (Xvfb) of this process's display; 0: none found.
int LinuxDisplayServer();

// User and system time of a Linux process, in microseconds (to the clock
// tick, 10 ms).
double LinuxCpuMicros(int inPid);

// The time all threads of a Linux process have spent on a CPU and ready but
// waiting for one, in microseconds (from the scheduler's own nanosecond
// counts).
struct LinuxSchedule {
  double mRunning = 0;
  double mWaiting = 0;
};
LinuxSchedule LinuxScheduleOf(int inPid);
LinuxSchedule operator-(const LinuxSchedule& inAfter, const LinuxSchedule& inBefore);
