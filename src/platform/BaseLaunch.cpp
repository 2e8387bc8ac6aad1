// Starting programs and opening web pages.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "foundation/KSLastError.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

namespace {

// The short form of a program path is used when it fits this many units.
const DWORD kMaxShortPath = 255;

// The program's short path, or the text unchanged when it has none (for
// example a whole command template).
std::wstring ProgramText(const char* inProgram) {
  KSWideText program(inProgram);
  wchar_t shortPath[kMaxShortPath + 1];
  DWORD units = GetShortPathNameW(program.Get(), shortPath, kMaxShortPath + 1);
  if (units > 0 && units <= kMaxShortPath) {
    return std::wstring(shortPath, units);
  }
  return std::wstring(program.Get(), static_cast<size_t>(program.Length()));
}

bool ShellOpen(const wchar_t* inVerb, const wchar_t* inURL) {
  HINSTANCE result = ShellExecuteW(nullptr, inVerb, inURL, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

// The default value of a key under the classes root, at most 256 units.
long ReadClassValue(const wchar_t* inKey, UtilStr* outValue) {
  wchar_t value[257];
  LONG bytes = sizeof value - sizeof value[0];
  LONG err = RegQueryValueW(HKEY_CLASSES_ROOT, inKey, value, &bytes);
  if (err != ERROR_SUCCESS) {
    return KSError::TranslateErr(err, KSErrorDomain_OS);
  }
  value[bytes / sizeof value[0]] = L'\0';
  KSWideText::ToUTF8(value, -1, outValue);
  return 0;
}

// Opens inURL with the command registered for HTML documents.
long OpenWithHTMLHandler(const char* inURL) {
  UtilStr docClass;
  long err = ReadClassValue(L".htm", &docClass);
  if (err != 0) {
    return err;
  }
  docClass.Append("\\shell\\open\\command");
  UtilStr command;
  err = ReadClassValue(KSWideText(docClass.getCStr()).Get(), &command);
  if (err != 0) {
    return err;
  }
  UtilStr line;
  BaseCommandBeforeDocument(command.getCStr(), &line);
  line.AppendChar(' ');
  line.Append(inURL);
  return BaseRunProgram(line.getCStr(), nullptr, false, nullptr);
}

}  // namespace

long BaseRunProgram(const char* inProgram, const char* inArgs, bool inWait,
                    unsigned long* outExitCode) {
  std::wstring commandLine;
  if (inProgram != nullptr) {
    commandLine = ProgramText(inProgram);
  }
  if (inProgram != nullptr && inArgs != nullptr) {
    commandLine += L' ';
  }
  if (inArgs != nullptr) {
    commandLine += KSWideText(inArgs).Get();
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return KSLastOSError();
  }
  KSHandle thread(process.hThread);
  KSHandle child(process.hProcess);
  if (inWait) {
    WaitForSingleObject(child.Get(), INFINITE);
  }
  if (outExitCode != nullptr) {
    DWORD code = 0;
    GetExitCodeProcess(child.Get(), &code);
    *outExitCode = code;
  }
  return 0;
}

long BaseGotoURL(const char* inURL) {
  KSWideText url(inURL);
  if (ShellOpen(L"open", url.Get()) || ShellOpen(nullptr, url.Get())) {
    return 0;
  }
  return OpenWithHTMLHandler(inURL);
}
