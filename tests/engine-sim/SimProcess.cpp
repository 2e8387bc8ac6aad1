#include "SimProcess.h"

#include <cstdlib>

#include "foundation/KSFindHandle.h"

namespace {

std::wstring Quoted(const std::wstring& inArg) {
  return L"\"" + inArg + L"\"";
}

}  // namespace

SimProcess::~SimProcess() {
  DWORD exitCode = 0;
  if (mProcess && !EndInput(&exitCode, 5000)) {
    TerminateProcess(mProcess.Get(), 1);
    WaitForSingleObject(mProcess.Get(), 5000);
  }
}

std::wstring SimProcess::ExePath() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder = folder.substr(0, folder.find_last_of(L"\\/"));
  return folder + L"\\" + KS_ENGINE_SIM_RELATIVE_PATH;
}

bool SimProcess::Start(const std::vector<std::wstring>& inArgs) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE inputRead = nullptr, inputWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
  bool piped = CreatePipe(&inputRead, &inputWrite, &inherit, 0) &&
               CreatePipe(&outputRead, &outputWrite, &inherit, 0);
  KSHandle childInput(inputRead);
  KSHandle childOutput(outputWrite);
  mInput.Reset(inputWrite);
  mOutput.Reset(outputRead);
  if (!piped) {
    return false;
  }
  // Our ends stay ours.
  SetHandleInformation(mInput.Get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(mOutput.Get(), HANDLE_FLAG_INHERIT, 0);

  std::wstring commandLine = Quoted(ExePath());
  for (const std::wstring& arg : inArgs) {
    commandLine += L" " + Quoted(arg);
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput.Get();
  startup.hStdOutput = childOutput.Get();
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info = {};
  BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &info);
  // The child's ends are its own now: its output ends when it does.
  childInput.Reset();
  childOutput.Reset();
  if (!started) {
    return false;
  }
  KSHandle thread(info.hThread);  // only the process is watched
  mProcess.Reset(info.hProcess);

  if (!ReadLine(&mFirstLine, 20000)) {
    return false;
  }
  size_t colon = mFirstLine.rfind(':');
  if (mFirstLine.compare(0, 13, "listening on ") != 0 || colon == std::string::npos) {
    return false;
  }
  mPort = std::atoi(mFirstLine.c_str() + colon + 1);
  return mPort > 0;
}

bool SimProcess::ReadLine(std::string* outLine, DWORD inTimeoutMS) {
  outLine->clear();
  ULONGLONG deadline = GetTickCount64() + inTimeoutMS;
  while (GetTickCount64() < deadline) {
    DWORD available = 0;
    if (!PeekNamedPipe(mOutput.Get(), nullptr, 0, nullptr, &available, nullptr)) {
      return false;  // the program ended
    }
    if (available == 0) {
      Sleep(10);  // polling with a deadline; nothing is ordered by it
      continue;
    }
    char c;
    DWORD read = 0;
    if (!::ReadFile(mOutput.Get(), &c, 1, &read, nullptr) || read == 0) {
      return false;
    }
    if (c == '\n') {
      if (!outLine->empty() && outLine->back() == '\r') {
        outLine->pop_back();
      }
      return true;
    }
    *outLine += c;
  }
  return false;
}

bool SimProcess::WriteInput(const std::string& inText) {
  DWORD written = 0;
  return mInput &&
         ::WriteFile(mInput.Get(), inText.data(), DWORD(inText.size()), &written, nullptr) &&
         written == inText.size();
}

bool SimProcess::EndInput(DWORD* outExitCode, DWORD inTimeoutMS) {
  mInput.Reset();
  if (!mProcess || WaitForSingleObject(mProcess.Get(), inTimeoutMS) != WAIT_OBJECT_0) {
    return false;
  }
  GetExitCodeProcess(mProcess.Get(), outExitCode);
  return true;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  mPath = std::wstring(base) + L"enginesim-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64());
  CreateDirectoryW(mPath.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW found;
  KSFindHandle search(FindFirstFileW((mPath + L"\\*").c_str(), &found));
  if (search) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((mPath + L"\\" + found.cFileName).c_str());
      }
    } while (FindNextFileW(search.Get(), &found));
  }
  RemoveDirectoryW(mPath.c_str());
}

bool TempFolder::WriteFile(const wchar_t* inName, const std::string& inText) const {
  KSHandle file(CreateFileW((mPath + L"\\" + inName).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.Get(), inText.data(), DWORD(inText.size()), &written, nullptr) &&
         written == inText.size();
}

std::string TempFolder::ReadFile(const wchar_t* inName) const {
  KSHandle file(CreateFileW((mPath + L"\\" + inName).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (file && ::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    text.append(buffer, read);
  }
  return text;
}
