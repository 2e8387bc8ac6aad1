// The simulator's console: Ctrl+C, closing the console window and the end of
// the standard input all ask the program to end; lines typed on the input run
// as scripts and their output is printed (a NUL shows as \0).
#pragma once

#include <windows.h>

#include <atomic>

#include "foundation/KSHandle.h"

class SimServer;

class SimConsole {
 public:
  explicit SimConsole(SimServer* inServer);
  ~SimConsole();

  SimConsole(const SimConsole&) = delete;
  SimConsole& operator=(const SimConsole&) = delete;

  // Catches the console's control events and, with inWatchInput, starts
  // reading the standard input.
  long Start(bool inWatchInput);

  // Waits at most inMS milliseconds; true once the program should end.
  bool WaitForExit(long inMS);

  // Stops reading the input; no script runs from it afterwards.
  void Stop();

  // Tells a pending close event that the program has tidied up.
  void Finished();

 private:
  static BOOL WINAPI CtrlHandler(DWORD inEvent);
  static DWORD WINAPI InputThread(void* inConsole);
  void ReadInput();
  void RunLine(const char* inLine, long inLen);

  static SimConsole* sConsole;  // the one the control handler signals

  SimServer* mServer;
  KSHandle mExitEvent;
  KSHandle mDoneEvent;
  KSHandle mInputThread;
  std::atomic<bool> mStopping;
};
