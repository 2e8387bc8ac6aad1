// A program started with its standard streams on pipes, for tests (and the
// benchmark) that drive corvexa-ctl and corvexa-engine-sim. Windows only.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foundation/KSHandle.h"

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();  // ends the program if it still runs

  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts inProgram, a path relative to the folder of this executable, with
  // inArgs (UTF-8, quoted as the C runtime reads them). Standard input stays
  // open until CloseInput.
  bool Start(const std::string& inProgram, const std::vector<std::string>& inArgs);

  // Waits until a line of standard output contains inText; that line is
  // stored in outLine. False after inTimeoutMS, or when the output ended.
  bool WaitForLine(const std::string& inText, unsigned long inTimeoutMS, std::string* outLine);

  // Writes inText to the program's standard input.
  bool WriteInput(const std::string& inText);
  void CloseInput();

  // Waits up to inTimeoutMS for the program to end; then its output is whole.
  bool Wait(unsigned long inTimeoutMS, unsigned long* outExitCode);
  void Kill();

  std::string Output();
  std::string Errors();

  // The running program, for what a benchmark reads of it (times, memory).
  HANDLE Handle() const { return mProcess.Get(); }

 private:
  // Reads inPipe, which it then owns, to its end.
  void Drain(HANDLE inPipe, std::string* ioText);
  void JoinReaders();

  KSHandle mProcess;
  KSHandle mInput;
  std::thread mOutReader;
  std::thread mErrReader;
  std::mutex mLock;  // guards mOut and mErr
  std::string mOut;
  std::string mErr;
};

// The result of running a program to its end.
struct ProgramRun {
  bool mFinished = false;  // ended within the time allowed
  unsigned long mExitCode = 0;
  std::string mOut;
  std::string mErr;
};

// Runs inProgram (see Start) with its input closed, for at most inTimeoutMS.
ProgramRun RunProgram(const std::string& inProgram, const std::vector<std::string>& inArgs,
                      unsigned long inTimeoutMS);
