// What the simulator reports: problems and connection events on the standard
// error, and, with --log, every received script in a file.
//
// Log file lines: "YYYY-MM-DD HH:MM:SS.mmm #C 0xFF > script" for a script that
// client C sent, with the flags byte of its request's header in hex,
// "… #0 > script" for a line of the console (which has no header), and
// "… #C ! note" for everything else.
// Line feeds, carriage returns and NULs inside a script are written as \n,
// \r and \0; every other byte is written as it came.
#pragma once

#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"
#include "foundation/UtilStr.h"

class SimLog {
 public:
  SimLog() = default;

  SimLog(const SimLog&) = delete;
  SimLog& operator=(const SimLog&) = delete;

  // Opens (and empties) the log file; a UTF-8 path.
  long Open(const UtilStr& inPath);

  // inFlags: the request's header flags byte; -1 for the console.
  void Script(long inClient, int inFlags, const char* inText, long inLen);
  void Note(long inClient, const char* inFormat, ...) KS_PRINTF_FORMAT(3, 4);

 private:
  void WriteLine(const char* inPrefix, const char* inText, long inLen);

  KSMutex mLock;
  KSHandle mFile;  // none without --log
};
