#include "support/ChildProcess.h"

#include <windows.h>

namespace {

std::wstring Widen(const std::string& inText) {
  int units = MultiByteToWideChar(CP_UTF8, 0, inText.c_str(), -1, nullptr, 0);
  std::wstring wide(size_t(units > 0 ? units : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, inText.c_str(), -1, &wide[0], units);
  wide.resize(wide.size() - 1);
  return wide;
}

// Quotes one argument so that the C runtime's parser gives it back unchanged.
void AppendQuoted(const std::wstring& inArg, std::wstring* ioLine) {
  ioLine->push_back(L'"');
  size_t backslashes = 0;
  for (wchar_t c : inArg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote (escaped here) must be doubled.
    ioLine->append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    ioLine->push_back(c);
  }
  ioLine->append(backslashes * 2, L'\\');
  ioLine->push_back(L'"');
}

std::wstring BesideThisProgram(const std::string& inRelative) {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path.resize(path.find_last_of(L"\\/") + 1);
  for (wchar_t c : Widen(inRelative)) {
    path.push_back(c == L'/' ? L'\\' : c);
  }
  return path;
}

}  // namespace

ChildProcess::~ChildProcess() {
  Kill();
  CloseInput();
  if (mOutReader.joinable()) {
    mOutReader.join();
  }
  if (mErrReader.joinable()) {
    mErrReader.join();
  }
  if (mProcess != nullptr) {
    CloseHandle(mProcess);
  }
}

bool ChildProcess::Start(const std::string& inProgram, const std::vector<std::string>& inArgs) {
  std::wstring program = BesideThisProgram(inProgram);
  std::wstring line;
  AppendQuoted(program, &line);
  for (const std::string& arg : inArgs) {
    line.push_back(L' ');
    AppendQuoted(Widen(arg), &line);
  }

  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE inRead, inWrite, outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(&inRead, &inWrite, &inherit, 0)) {
    return false;
  }
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) {
    CloseHandle(inRead);
    CloseHandle(inWrite);
    return false;
  }
  if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) {
    for (HANDLE h : {inRead, inWrite, outRead, outWrite}) {
      CloseHandle(h);
    }
    return false;
  }
  // Our ends stay with us.
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION info = {};
  BOOL started = CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                nullptr, nullptr, &startup, &info);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (!started) {
    for (HANDLE h : {inWrite, outRead, errRead}) {
      CloseHandle(h);
    }
    return false;
  }
  CloseHandle(info.hThread);
  mProcess = info.hProcess;
  mInput = inWrite;
  mOutReader = std::thread(&ChildProcess::Drain, this, outRead, &mOut);
  mErrReader = std::thread(&ChildProcess::Drain, this, errRead, &mErr);
  return true;
}

void ChildProcess::Drain(void* inPipe, std::string* ioText) {
  char buffer[4096];
  DWORD got;
  while (ReadFile(inPipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    std::lock_guard<std::mutex> hold(mLock);
    ioText->append(buffer, got);
  }
  CloseHandle(inPipe);
}

bool ChildProcess::WaitForLine(const std::string& inText, unsigned long inTimeoutMS,
                               std::string* outLine) {
  DWORD start = GetTickCount();
  for (;;) {
    std::string out = Output();
    size_t found = out.find(inText);
    if (found != std::string::npos) {
      size_t begin = out.rfind('\n', found);
      begin = begin == std::string::npos ? 0 : begin + 1;
      size_t end = out.find('\n', found);
      *outLine = out.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
      if (!outLine->empty() && outLine->back() == '\r') {
        outLine->pop_back();
      }
      return true;
    }
    if (GetTickCount() - start >= inTimeoutMS ||
        WaitForSingleObject(mProcess, 0) == WAIT_OBJECT_0) {
      return false;
    }
    Sleep(20);
  }
}

bool ChildProcess::WriteInput(const std::string& inText) {
  DWORD written = 0;
  return mInput != nullptr &&
         WriteFile(mInput, inText.data(), DWORD(inText.size()), &written, nullptr) &&
         written == inText.size();
}

void ChildProcess::CloseInput() {
  if (mInput != nullptr) {
    CloseHandle(mInput);
    mInput = nullptr;
  }
}

bool ChildProcess::Wait(unsigned long inTimeoutMS, unsigned long* outExitCode) {
  if (mProcess == nullptr || WaitForSingleObject(mProcess, inTimeoutMS) != WAIT_OBJECT_0) {
    return false;
  }
  DWORD code = 0;
  GetExitCodeProcess(mProcess, &code);
  if (outExitCode != nullptr) {
    *outExitCode = code;
  }
  // The program has ended: its output ends once the readers have read it all.
  if (mOutReader.joinable()) {
    mOutReader.join();
  }
  if (mErrReader.joinable()) {
    mErrReader.join();
  }
  return true;
}

void ChildProcess::Kill() {
  if (mProcess != nullptr && WaitForSingleObject(mProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(mProcess, 255);
    WaitForSingleObject(mProcess, 5000);
  }
}

std::string ChildProcess::Output() {
  std::lock_guard<std::mutex> hold(mLock);
  return mOut;
}

std::string ChildProcess::Errors() {
  std::lock_guard<std::mutex> hold(mLock);
  return mErr;
}

ProgramRun RunProgram(const std::string& inProgram, const std::vector<std::string>& inArgs,
                      unsigned long inTimeoutMS) {
  ProgramRun run;
  ChildProcess child;
  if (!child.Start(inProgram, inArgs)) {
    run.mErr = "could not start " + inProgram;
    return run;
  }
  child.CloseInput();
  run.mFinished = child.Wait(inTimeoutMS, &run.mExitCode);
  if (!run.mFinished) {
    child.Kill();
  }
  run.mOut = child.Output();
  run.mErr = child.Errors();
  return run;
}
