#include "DiscoveryTestSupport.h"

#include <windows.h>

#include "foundation/KSHandle.h"
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
  Add(msg);
}

std::string UniqueServiceType(const char* inTag) {
  return "_kst-" + std::string(inTag) + "-" + std::to_string(GetCurrentProcessId()) + "._tcp.";
}

void PulseRegistry(const std::string& inType) {
  std::string name = "KSZeroconf " + inType + " - NotifyEvent";
  KSHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str()));
  if (event) {
    PulseEvent(event.Get());
  }
}

void UseDNSSDDoubleFrom(const wchar_t* inSubfolder) {
  wchar_t path[MAX_PATH];
  std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  SetDllDirectoryW((folder.substr(0, folder.find_last_of(L"\\/") + 1) + inSubfolder).c_str());
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
