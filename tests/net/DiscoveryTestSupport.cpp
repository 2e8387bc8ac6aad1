#include "DiscoveryTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "foundation/KSMessages.h"
#include "foundation/UtilStr.h"

void MessageLog::ListenToMsg(long inMsg, void* inParam1, void* inParam2) {
  LoggedMsg msg = {inMsg, "", "", reinterpret_cast<intptr_t>(inParam1),
                   reinterpret_cast<intptr_t>(inParam2)};
  if (inMsg == kKSMsg_ServiceAdded || inMsg == kKSMsg_ServiceRemoved) {
    msg.mText = static_cast<const char*>(inParam1);
  } else if (inMsg == kKSMsg_ServiceResolved) {
    msg.mText = static_cast<const char*>(inParam2);
  } else if (inMsg == kKSMsg_SessionOpened || inMsg == kKSMsg_SessionClosed ||
             inMsg == kKSMsg_SessionFailed || inMsg == kKSMsg_SessionRefused) {
    msg.mText = static_cast<const UtilStr*>(inParam1)->getCStr();
    if (inParam2 != nullptr) {
      msg.mText2 = static_cast<const UtilStr*>(inParam2)->getCStr();
    }
  }
  std::lock_guard<std::mutex> hold(mMutex);
  mMessages.push_back(msg);
  mChanged.notify_all();
}

bool MessageLog::WaitUntil(const std::function<bool(const std::vector<LoggedMsg>&)>& inDone,
                           int inTimeoutMS, const std::function<void()>& inNudge) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(inTimeoutMS);
  std::unique_lock<std::mutex> hold(mMutex);
  while (!inDone(mMessages)) {
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      return false;
    }
    auto step = inNudge ? std::min(deadline, now + std::chrono::milliseconds(100)) : deadline;
    if (!mChanged.wait_until(hold, step, [&] { return inDone(mMessages); }) && inNudge) {
      hold.unlock();
      inNudge();
      hold.lock();
    }
  }
  return true;
}

bool MessageLog::WaitForCount(long inMsg, size_t inCount, int inTimeoutMS,
                              const std::function<void()>& inNudge) {
  return WaitUntil(
      [&](const std::vector<LoggedMsg>& inMessages) {
        size_t count = 0;
        for (const LoggedMsg& msg : inMessages) {
          count += msg.mMsg == inMsg;
        }
        return count >= inCount;
      },
      inTimeoutMS, inNudge);
}

std::vector<LoggedMsg> MessageLog::Messages() {
  std::lock_guard<std::mutex> hold(mMutex);
  return mMessages;
}

std::vector<LoggedMsg> MessageLog::Messages(long inMsg) {
  std::vector<LoggedMsg> chosen;
  for (const LoggedMsg& msg : Messages()) {
    if (msg.mMsg == inMsg) {
      chosen.push_back(msg);
    }
  }
  return chosen;
}

size_t MessageLog::Count(long inMsg) {
  return Messages(inMsg).size();
}

void MessageLog::Clear() {
  std::lock_guard<std::mutex> hold(mMutex);
  mMessages.clear();
}

std::string UniqueServiceType(const char* inTag) {
  return "_kst-" + std::string(inTag) + "-" + std::to_string(GetCurrentProcessId()) + "._tcp.";
}

void PulseRegistry(const std::string& inType) {
  std::string name = "KSZeroconf " + inType + " - NotifyEvent";
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
  if (event != nullptr) {
    PulseEvent(event);
    CloseHandle(event);
  }
}

std::wstring TestExeFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

void UseDNSSDDoubleFrom(const wchar_t* inSubfolder) {
  SetDllDirectoryW((TestExeFolder() + L"\\" + inSubfolder).c_str());
}

namespace {

template <typename Proc>
Proc Bind(HMODULE inLib, const char* inName) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(inLib, inName)));
}

}  // namespace

bool DaemonScript::Load() {
  UseDNSSDDoubleFrom(L"dnssd_double");
  HMODULE lib = LoadLibraryW(L"DNSSD.DLL");
  if (lib == nullptr) {
    return false;
  }
  FailStarts = Bind<DNSSDDouble_FailStartsProc>(lib, "DNSSDDouble_FailStarts");
  PostBrowseReply = Bind<DNSSDDouble_PostBrowseReplyProc>(lib, "DNSSDDouble_PostBrowseReply");
  SetResolveAnswer = Bind<DNSSDDouble_SetResolveAnswerProc>(lib, "DNSSDDouble_SetResolveAnswer");
  FailProcessing = Bind<DNSSDDouble_FailProcessingProc>(lib, "DNSSDDouble_FailProcessing");
  GetStats = Bind<DNSSDDouble_GetStatsProc>(lib, "DNSSDDouble_GetStats");
  return FailStarts && PostBrowseReply && SetResolveAnswer && FailProcessing && GetStats;
}

DNSSDDoubleStats DaemonScript::Stats() {
  DNSSDDoubleStats stats;
  GetStats(&stats);
  return stats;
}

bool DaemonScript::WaitFor(const std::function<bool()>& inDone) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!inDone()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    Sleep(5);
  }
  return true;
}
