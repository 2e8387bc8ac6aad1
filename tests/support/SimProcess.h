// A running corvexa-engine-sim for a test: started beside the test program
// with pipes for its standard streams, its port read from its first line, and
// ended by closing its input.
#pragma once

#include <string>
#include <vector>

#include "support/ChildProcess.h"

class SimProcess {
 public:
  // Starts the program with inArgs (UTF-8) and waits for its "listening on
  // ADDR:PORT" line.
  bool Start(const std::vector<std::string>& inArgs);

  int Port() const { return mPort; }
  const std::string& FirstLine() const { return mFirstLine; }

  // Writes a line to the program's standard input.
  bool WriteInput(const std::string& inText) { return mChild.WriteInput(inText); }
  // Waits for a line of its output (console replies) that contains inText.
  bool WaitForLine(const std::string& inText, unsigned long inTimeoutMS, std::string* outLine) {
    return mChild.WaitForLine(inText, inTimeoutMS, outLine);
  }
  // Ends the input, which ends the program; true when it exited in time,
  // with its exit code in outExitCode.
  bool EndInput(unsigned long* outExitCode, unsigned long inTimeoutMS = 15000);

  std::string Errors() { return mChild.Errors(); }
  // Ends the program at once, as a crash would: it withdraws nothing.
  void Kill() { mChild.Kill(); }

 private:
  ChildProcess mChild;
  int mPort = 0;
  std::string mFirstLine;
};
