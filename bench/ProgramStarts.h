// Starting a windowed program and waiting until its window shows painted:
// the toolbar benchmark's start measure, and how it starts the programs it
// watches afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "BenchStats.h"
#include "LinuxProcesses.h"
#include "support/ChildProcess.h"

struct Program {
  const char* mPath;  // relative to this program's folder
  const wchar_t* mClass;
  const wchar_t* mTitle;
  std::vector<std::string> mArgs;
};

// Starts inProgram and waits until its window is shown and neither it nor
// any child window has anything left to paint: the microseconds that took,
// or -1.
double StartToPaint(const Program& inProgram, ChildProcess* ioChild, HWND* outWind);

// Closes the window and waits for the program to end well.
bool CloseProgram(HWND inWind, ChildProcess* ioChild);

// The Linux process that runs inProgram under wine; 0: none.
int LinuxProcessOf(const Program& inProgram);

// One start: its time to paint, and what the Linux processes that take part
// in it spent meanwhile, on a CPU and ready but waiting for one.
struct StartSample {
  double mMicros = -1;         // until its first paint
  double mSettledMicros = -1;  // until it stayed painted (see Settling)
  LinuxSchedule mProgram;      // the program started, all its threads
  LinuxSchedule mServer;       // wineserver
  LinuxSchedule mDisplay;      // the X server
  LinuxSchedule mBench;        // this process, looking for the painted window
};

// inTurns starts of each program, in turns, after one start of each that is
// not counted (it reads the files from the disk). False when a start did
// not show a painted window or did not close.
bool MeasureStarts(int inTurns, const Program& inFirst, const Program& inSecond,
                   std::vector<StartSample>* outFirst, std::vector<StartSample>* outSecond);

// Prints a row of the start times of inWhat: minimum, median and maximum
// until the first paint and until settled, in milliseconds.
struct StartTimes {
  BenchSummary mFirst;
  BenchSummary mSettled;
};
StartTimes PrintStartTimes(const char* inWhat, const std::vector<StartSample>& inSamples);

// Prints a row of what the starts of inWhat cost until the first paint: the
// medians of the program's, wineserver's and the X server's time on a CPU
// and waiting for one, and of this benchmark's time on a CPU.
void PrintStartCosts(const char* inWhat, const std::vector<StartSample>& inSamples);
