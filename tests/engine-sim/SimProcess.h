// A running corvexa-engine-sim for a test: started with pipes for its
// standard input and output, its port read from its first line, and ended by
// closing its input.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/KSHandle.h"

class SimProcess {
 public:
  SimProcess() : mPort(0) {}
  ~SimProcess();

  // Starts the program with these arguments (each quoted) and waits for its
  // "listening on ADDR:PORT" line.
  bool Start(const std::vector<std::wstring>& inArgs);

  int Port() const { return mPort; }
  const std::string& FirstLine() const { return mFirstLine; }

  // Writes a line to the program's standard input.
  bool WriteInput(const std::string& inText);
  // Ends the input, which ends the program; true when it exited in time,
  // with its exit code in outExitCode.
  bool EndInput(DWORD* outExitCode, DWORD inTimeoutMS = 15000);

  // The program's path, next to this test's own build folder.
  static std::wstring ExePath();

 private:
  bool ReadLine(std::string* outLine, DWORD inTimeoutMS);

  KSHandle mProcess;
  KSHandle mInput;   // write end of its standard input
  KSHandle mOutput;  // read end of its standard output
  int mPort;
  std::string mFirstLine;
};

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return mPath; }
  bool WriteFile(const wchar_t* inName, const std::string& inText) const;
  std::string ReadFile(const wchar_t* inName) const;

 private:
  std::wstring mPath;
};
