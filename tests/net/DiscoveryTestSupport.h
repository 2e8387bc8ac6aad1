// Shared pieces of the discovery and engine link tests.
#pragma once

#include <string>

#include "dnssd_double/DNSSDDouble.h"
#include "foundation/KSBroadcaster.h"
#include "support/EventLog.h"

// One broadcast as a listener saw it. Texts are copied; other parameters are
// kept as numbers (a more-coming flag, or the address of an object).
struct LoggedMsg {
  long mMsg;
  std::string mText;   // the name text of SAdd, SRem and SRes, or of a UtilStr
  std::string mText2;  // the host name of the link's session news, when given
  intptr_t mParam1;
  intptr_t mParam2;
};

// A listener that records what it hears. It may be called on any thread.
class MessageLog : public KSListener, public EventLog<LoggedMsg> {
 public:
  void ListenToMsg(long inMsg, void* inParam1, void* inParam2) override;
};

// A service type of this test process alone, so that tests running side by
// side never see each other's registry slots.
std::string UniqueServiceType(const char* inTag);

// Wakes every browser of the registry of inType, as a publisher does. Tests
// nudge with it while waiting: a pulse that finds a browser busy scanning is
// lost, and it would otherwise notice the change only minutes later.
void PulseRegistry(const std::string& inType);

// Lets the next load of "DNSSD.DLL" find the test double in inSubfolder of the
// test executable's folder.
void UseDNSSDDoubleFrom(const wchar_t* inSubfolder);

// The test's handle on the DNS-SD double, which plays the daemon. Load it
// before anything tries the library: a failed load is final.
struct DaemonScript {
  DNSSDDouble_FailStartsProc FailStarts = nullptr;
  DNSSDDouble_PostBrowseReplyProc PostBrowseReply = nullptr;
  DNSSDDouble_SetResolveAnswerProc SetResolveAnswer = nullptr;
  DNSSDDouble_FailProcessingProc FailProcessing = nullptr;
  DNSSDDouble_GetStatsProc GetStats = nullptr;

  bool Load();
  DNSSDDoubleStats Stats();
};
