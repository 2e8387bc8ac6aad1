#include "engine-sim/SimLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "engine-sim/SimText.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

long SimLog::Open(const UtilStr& inPath) {
  // Others may read the file while it grows: tests check it during a run.
  HANDLE file = CreateFileW(WideText(inPath).c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return KSLastOSError();
  }
  mFile.Reset(file);
  return 0;
}

void SimLog::Script(long inClient, int inFlags, const char* inText, long inLen) {
  if (mFile) {
    char prefix[32];
    if (inFlags >= 0) {
      std::snprintf(prefix, sizeof(prefix), "#%ld 0x%02X >", inClient, unsigned(inFlags));
    } else {
      std::snprintf(prefix, sizeof(prefix), "#%ld >", inClient);
    }
    WriteLine(prefix, inText, inLen);
  }
}

void SimLog::Note(long inClient, const char* inFormat, ...) {
  char text[1024];
  va_list args;
  va_start(args, inFormat);
  std::vsnprintf(text, sizeof(text), inFormat, args);
  va_end(args);
  {
    KSMutexHold hold(mLock);
    std::fprintf(stderr, "corvexa-engine-sim: #%ld %s\n", inClient, text);
    std::fflush(stderr);
  }
  if (mFile) {
    char prefix[32];
    std::snprintf(prefix, sizeof(prefix), "#%ld !", inClient);
    WriteLine(prefix, text, long(strlen(text)));
  }
}

void SimLog::WriteLine(const char* inPrefix, const char* inText, long inLen) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  UtilStr line;
  line.AppendVA("%04u-%02u-%02u %02u:%02u:%02u.%03u %s ", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, inPrefix);
  for (long i = 0; i < inLen; i++) {
    switch (inText[i]) {
      case '\n':
        line.Append("\\n");
        break;
      case '\r':
        line.Append("\\r");
        break;
      case '\0':
        line.Append("\\0");
        break;
      default:
        line.AppendChar(inText[i]);
        break;
    }
  }
  line.Append("\r\n");
  KSMutexHold hold(mLock);
  DWORD written = 0;
  WriteFile(mFile.Get(), line.getCStr(), DWORD(line.length()), &written, nullptr);
}
