#include "support/ChildProcess.h"

#include <windows.h>

#include <utility>

#include "platform/KSWideText.h"

namespace {

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

// An inheritable pipe; the ends go to their owners.
bool MakePipe(KSHandle* outRead, KSHandle* outWrite) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    return false;
  }
  outRead->Reset(readEnd);
  outWrite->Reset(writeEnd);
  return true;
}

std::wstring BesideThisProgram(const std::string& inRelative) {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  path.resize(path.find_last_of(L"\\/") + 1);
  for (wchar_t c : std::wstring(KSWideText(inRelative.c_str()).Get())) {
    path.push_back(c == L'/' ? L'\\' : c);
  }
  return path;
}

}  // namespace

ChildProcess::~ChildProcess() {
  Kill();
  CloseInput();
  JoinReaders();
}

bool ChildProcess::Start(const std::string& inProgram, const std::vector<std::string>& inArgs) {
  // Under wine the first program of a prefix that asks for the desktop starts
  // the desktop's process, which then holds that program's standard handles
  // for as long as it runs. Asking here makes it this process, whose output is
  // a file, instead of a child whose output pipes would never end.
  GetDesktopWindow();
  std::wstring program = BesideThisProgram(inProgram);
  std::wstring line;
  AppendQuoted(program, &line);
  for (const std::string& arg : inArgs) {
    line.push_back(L' ');
    AppendQuoted(KSWideText(arg.c_str()).Get(), &line);
  }

  // The child reads inRead and writes outWrite and errWrite; the other ends are ours.
  KSHandle inRead, inWrite, outRead, outWrite, errRead, errWrite;
  if (!MakePipe(&inRead, &inWrite) || !MakePipe(&outRead, &outWrite) ||
      !MakePipe(&errRead, &errWrite)) {
    return false;
  }
  // Our ends stay with us.
  SetHandleInformation(inWrite.Get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead.Get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead.Get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead.Get();
  startup.hStdOutput = outWrite.Get();
  startup.hStdError = errWrite.Get();
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    return false;
  }
  KSHandle thread(info.hThread);  // only the process is watched
  mProcess.Reset(info.hProcess);
  mInput = std::move(inWrite);
  // The child's ends close here, so that its output ends when it does.
  mOutReader = std::thread(&ChildProcess::Drain, this, outRead.Release(), &mOut);
  mErrReader = std::thread(&ChildProcess::Drain, this, errRead.Release(), &mErr);
  return true;
}

void ChildProcess::Drain(HANDLE inPipe, std::string* ioText) {
  KSHandle pipe(inPipe);
  char buffer[4096];
  DWORD got;
  while (ReadFile(pipe.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    std::lock_guard<std::mutex> hold(mLock);
    ioText->append(buffer, got);
  }
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
        WaitForSingleObject(mProcess.Get(), 0) == WAIT_OBJECT_0) {
      return false;
    }
    Sleep(20);
  }
}

bool ChildProcess::WriteInput(const std::string& inText) {
  DWORD written = 0;
  return mInput &&
         WriteFile(mInput.Get(), inText.data(), DWORD(inText.size()), &written, nullptr) &&
         written == inText.size();
}

void ChildProcess::CloseInput() {
  mInput.Reset();
}

bool ChildProcess::Wait(unsigned long inTimeoutMS, unsigned long* outExitCode) {
  if (!mProcess || WaitForSingleObject(mProcess.Get(), inTimeoutMS) != WAIT_OBJECT_0) {
    return false;
  }
  DWORD code = 0;
  GetExitCodeProcess(mProcess.Get(), &code);
  if (outExitCode != nullptr) {
    *outExitCode = code;
  }
  // The program has ended: its output ends once the readers have read it all.
  JoinReaders();
  return true;
}

void ChildProcess::JoinReaders() {
  for (std::thread* reader : {&mOutReader, &mErrReader}) {
    if (reader->joinable()) {
      reader->join();
    }
  }
}

void ChildProcess::Kill() {
  if (mProcess && WaitForSingleObject(mProcess.Get(), 0) != WAIT_OBJECT_0) {
    TerminateProcess(mProcess.Get(), 255);
    WaitForSingleObject(mProcess.Get(), 5000);
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
