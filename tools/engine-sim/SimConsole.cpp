#include "engine-sim/SimConsole.h"

#include <cstdio>
#include <string>

#include "engine-sim/SimServer.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

namespace {

// Windows ends a process this long after a close event whatever it does.
const DWORD kCloseGraceMS = 4500;
// How long Stop waits for the input reader to give up its read.
const DWORD kInputStopMS = 500;

}  // namespace

SimConsole* SimConsole::sConsole = nullptr;

SimConsole::SimConsole(SimServer* inServer)
    : mServer(inServer),
      mExitEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      mDoneEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      mStopping(false) {}

SimConsole::~SimConsole() {
  Stop();
  SetConsoleCtrlHandler(CtrlHandler, FALSE);
  sConsole = nullptr;
}

long SimConsole::Start(bool inWatchInput) {
  sConsole = this;
  SetConsoleCtrlHandler(CtrlHandler, TRUE);
  if (!inWatchInput) {
    return 0;
  }
  mInputThread.Reset(CreateThread(nullptr, 0, InputThread, this, 0, nullptr));
  return mInputThread ? 0 : KSLastOSError();
}

bool SimConsole::WaitForExit(long inMS) {
  return WaitForSingleObject(mExitEvent.Get(), DWORD(inMS)) != WAIT_TIMEOUT;
}

void SimConsole::Stop() {
  mStopping = true;
  if (!mInputThread) {
    return;
  }
  // The reader is most likely blocked in a read of the input.
  CancelSynchronousIo(mInputThread.Get());
  WaitForSingleObject(mInputThread.Get(), kInputStopMS);
  mInputThread.Reset();
}

void SimConsole::Finished() {
  SetEvent(mDoneEvent.Get());
}

BOOL WINAPI SimConsole::CtrlHandler(DWORD inEvent) {
  SimConsole* console = sConsole;
  if (!console) {
    return FALSE;
  }
  SetEvent(console->mExitEvent.Get());
  if (inEvent == CTRL_CLOSE_EVENT || inEvent == CTRL_LOGOFF_EVENT ||
      inEvent == CTRL_SHUTDOWN_EVENT) {
    // Returning lets Windows end the process: first let main withdraw the
    // instance from the registry.
    WaitForSingleObject(console->mDoneEvent.Get(), kCloseGraceMS);
  }
  return TRUE;
}

DWORD WINAPI SimConsole::InputThread(void* inConsole) {
  SimConsole* console = static_cast<SimConsole*>(inConsole);
  console->ReadInput();
  if (!console->mStopping) {
    SetEvent(console->mExitEvent.Get());  // the end of the input ends the program
  }
  return 0;
}

void SimConsole::ReadInput() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buffer[4096];
  DWORD count = 0;
  while (!mStopping && ReadFile(input, buffer, sizeof(buffer), &count, nullptr) && count > 0) {
    pending.append(buffer, count);
    size_t lineEnd;
    while ((lineEnd = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, lineEnd);
      pending.erase(0, lineEnd + 1);
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      if (!mStopping && !line.empty()) {
        RunLine(line.data(), long(line.size()));
      }
    }
  }
}

void SimConsole::RunLine(const char* inLine, long inLen) {
  UtilStr reply;
  mServer->RunScript(0, -1, inLine, inLen, &reply);
  std::string shown;
  for (int32 i = 0; i < reply.length(); i++) {
    char c = reply.getCStr()[i];
    shown += c ? std::string(1, c) : std::string("\\0");
  }
  std::printf("%s\n", shown.c_str());
  std::fflush(stdout);
}
