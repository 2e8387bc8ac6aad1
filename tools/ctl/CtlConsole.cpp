#include "ctl/CtlConsole.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "foundation/KSUnicode.h"
#include "foundation/UtilStr.h"

namespace {

// Never closed: the control handler may run on a thread of its own until the
// process has ended.
HANDLE gStopEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
  SetEvent(gStopEvent);
  return TRUE;  // handled: the main loop notices and ends the program
}

// A console shows UTF-16; anything else (a pipe, a file) gets the bytes.
void Write(DWORD inStdHandle, FILE* inStream, const UtilStr& inText) {
  HANDLE handle = GetStdHandle(inStdHandle);
  DWORD mode;
  if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
    const uint8* bytes = reinterpret_cast<const uint8*>(inText.getCStr());
    int units = KSEncodeAsUTF16(bytes, inText.length(), kKSEncodingUTF8, nullptr, 0, false);
    std::vector<uint16> wide(size_t(units) + 1);
    KSEncodeAsUTF16(bytes, inText.length(), kKSEncodingUTF8, wide.data(), units, false);
    DWORD written;
    WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(wide.data()), DWORD(units), &written,
                  nullptr);
    return;
  }
  std::fwrite(inText.getCStr(), 1, size_t(inText.length()), inStream);
  std::fflush(inStream);
}

}  // namespace

void CtlInitConsole() {
  // Lines end in a plain line feed, as the text is written.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  gStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void CtlWriteOut(const UtilStr& inText) {
  Write(STD_OUTPUT_HANDLE, stdout, inText);
}

void CtlWriteErr(const UtilStr& inText) {
  Write(STD_ERROR_HANDLE, stderr, inText);
}

void* CtlStopEvent() {
  return gStopEvent;
}
