#include "net/ToolbarSession.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "foundation/KSError.h"
#include "foundation/KSMessages.h"

namespace {

constexpr int kSendTries = 3;

int64_t NowMS() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ToolbarSession::ToolbarSession(const char* inServiceType)
    : mQueueIncomingMode(false),
      mServiceList(kStrSorted_CaseInsensitive, kStrNoDupes_CaseInsensitive),
      mNumConnectAttempts(0),
      mServiceResolved(false),
      mServicePort(0),
      mServiceIsLocal(false),
      mAddrFromDiscovery(true),
      mLookUpAfresh(false),
      mSessionsOpened(0),
      mEngineAnswered(false),
      mRepliesAwaited(0),
      mOpenedMS(0),
      mLastSendMS(0),
      mAwaitedSinceMS(0),
      mLastHeardMS(0) {
  std::memset(&mServiceAddr, 0, sizeof(mServiceAddr));
  mConnectionStartTime.mDays = 0;
  mConnectionStartTime.mSecs = 0;
  KSNet::Startup();
  SetCurService("");
  mServiceBrowser.AddListener(this);
  mServiceBrowser.StartBrowsing(inServiceType, kEngineServiceDomain);
}

ToolbarSession::~ToolbarSession() {
  // No discovery thread may reach us while we come apart.
  mServiceBrowser.StopBrowsing();
  mServiceBrowser.RemoveListener(this);
  CloseSession();
  KSNet::Shutdown();
}

bool ToolbarSession::ConnectFailed() const {
  return mNumConnectAttempts >= 2;
}

long ToolbarSession::GetNumServices() const {
  KSMutexHold hold(mServiceListMutex);
  return mServiceList.Count();
}

bool ToolbarSession::GetServiceName(long inIndex, UtilStr* outName) const {
  KSMutexHold hold(mServiceListMutex);
  const UtilStr* name = mServiceList.Fetch(inIndex);
  if (name == nullptr) {
    outName->Clear();
    return false;
  }
  outName->Assign(name->getCStr(), name->length());  // no storage shared across threads
  return true;
}

bool ToolbarSession::IsListed(const UtilStr& inName) const {
  KSMutexHold hold(mServiceListMutex);
  return mServiceList.FindString(inName.getCStr(), inName.length(), false) != 0;
}

const char* ToolbarSession::GetCurServiceName() const {
  return mCurServiceName.getCStr();
}

void ToolbarSession::SetCurService(const char* inName) {
  if (inName == nullptr) {
    inName = "";
  }
  if (!mCurServiceName.Equals(inName, true)) {
    mServiceHostname.Clear();
    mServiceResolved = false;
    CloseSession();
    mCurServiceName.Assign(inName);
    mAddrFromDiscovery = true;
  }
  mNumConnectAttempts = mCurServiceName.IsEmpty() ? kGivenUp : 0;
}

void ToolbarSession::UseServiceAddr(const char* inName, const KSNetAddr& inAddr,
                                    unsigned long inPort) {
  SetCurService(inName);
  mServiceAddr = inAddr;
  mServicePort = inPort;
  mServiceResolved = true;
  mAddrFromDiscovery = false;
}

void ToolbarSession::SetLimits(long inIdleMS, long inRefusalSecs) {
  mSessionTimeoutMS = inIdleMS;
  mRefusalWindowSecs = inRefusalSecs;
}

long ToolbarSession::SessionAgeMS() const {
  return IsConnected() ? long(NowMS() - mOpenedMS) : 0;
}

void ToolbarSession::Retry() {
  if (!mCurServiceName.IsEmpty()) {
    mNumConnectAttempts = 1;
    mLookUpAfresh = true;
  }
}

bool ToolbarSession::ConnectAsync() {
  if (!PrepareConnect()) {
    return false;
  }
  // No host-name look-up here: it may wait on a name server, and the
  // window must not.
  return OpenSessionAsync(static_cast<long>(mServicePort), mQueueIncomingMode, mServiceAddr,
                          mSessionTimeoutMS) == 0;
}

void ToolbarSession::Rescan() {
  mServiceBrowser.Rescan();
}

void ToolbarSession::KeepAlive() {
  if (!IsConnected()) {
    return;
  }
  int64_t now = NowMS();
  int64_t silentSince = std::max<int64_t>(mAwaitedSinceMS, mLastHeardMS);
  if (mRepliesAwaited > 0 && now - silentSince >= kHungIdleLimits * mSessionTimeoutMS) {
    // Still connected, but no longer answering: a hung engine is as good as
    // gone, and the owner's retries may find it working again.
    CloseSession();
    return;
  }
  if (now - mLastSendMS >= mSessionTimeoutMS / 2) {
    SendCmd("", 0, kCommandFlags, 0, 0, 0, nullptr);  // no reply target: nothing is read
  }
}

long ToolbarSession::CloseSession() {
  return KSMPSession::CloseSession();
}

long ToolbarSession::SendCmd(const char* inCmd, long inLen, unsigned char inFlags, long inTarget,
                             long inRequestType, long inParam, unsigned long* outTicket) {
  KSMPCookie cookie;
  std::memset(&cookie, 0, sizeof(cookie));
  int32 values[3] = {static_cast<int32>(inTarget), static_cast<int32>(inRequestType),
                     static_cast<int32>(inParam)};
  std::memcpy(cookie.mData, values, sizeof(values));

  unsigned long ticket = 0;
  long result = kKSErr_NotConnected;
  for (int attempt = 0; attempt < kSendTries; ++attempt) {
    result = Send(inCmd, inLen, inFlags, &cookie, &ticket);
    if (result == 0) {
      int64_t now = NowMS();
      mLastSendMS = now;
      if (mRepliesAwaited++ == 0) {
        mAwaitedSinceMS = now;
      }
      break;
    }
    if (result == kKSErr_NotConnected) {
      if (ConnectFailed()) {
        break;
      }
      Connect();
    }
  }
  if (outTicket != nullptr) {
    *outTicket = ticket;
  }
  return result;
}

bool ToolbarSession::PrepareConnect() {
  mNumConnectAttempts++;
  if (!ResolveCurService()) {
    if (!mCurServiceName.IsEmpty()) {
      mNumConnectAttempts = kGivenUp;  // unknown or unreachable by name: no point retrying
    }
    return false;
  }
  KSNetAddr translated;
  mServiceIsLocal = KSNet::TranslateAddrSync(mServiceAddr, ks_localhost, &translated) == 0;
  return true;
}

long ToolbarSession::Connect() {
  if (!PrepareConnect()) {
    return kKSErr_NotConnected;
  }
  KSNetAddr translated;
  if (KSNet::TranslateAddrSync(mServiceAddr, ks_HostName, &translated) == 0) {
    translated.u.mHostName[sizeof(translated.u.mHostName) - 1] = 0;
    mServiceHostname.Assign(translated.u.mHostName);
  } else {
    mServiceHostname.Clear();
  }

  long result = OpenSession(static_cast<long>(mServicePort), mQueueIncomingMode, mServiceAddr,
                            mSessionTimeoutMS);
  // An engine that drops the connection at once can have its close handled
  // before OpenSession returns; that refusal must stand, or every later
  // command would connect and be refused again.
  if (result == 0 && mNumConnectAttempts != kGivenUp) {
    mNumConnectAttempts = 0;
    BroadcastMsg(kKSMsg_SessionOpened, &mCurServiceName, nullptr);
  }
  return result;
}

bool ToolbarSession::ResolveCurService() {
  if (mCurServiceName.IsEmpty()) {
    return false;
  }
  bool afresh = mLookUpAfresh.exchange(false) && mAddrFromDiscovery;
  if (mServiceResolved && !afresh) {
    return true;
  }
  long maxAgeSecs = afresh ? 0 : kResolveMaxAgeSecs;
  KSNetAddr addr;
  unsigned long port = 0;
  if (mServiceBrowser.ResolveService(mCurServiceName, maxAgeSecs, 0, false) == 0 &&
      mServiceBrowser.GetServiceAddr(mCurServiceName, &addr, &port, nullptr)) {
    mServiceAddr = addr;
    mServicePort = port;
    mServiceResolved = true;
  }
  return mServiceResolved;
}

void ToolbarSession::OnSessionOpened() {
  KSTime::GetTime(&mConnectionStartTime, true);
  mNumConnectAttempts = 0;
  mSessionsOpened++;
  mEngineAnswered = false;
  mRepliesAwaited = 0;
  mOpenedMS = NowMS();
  mLastSendMS = NowMS();
  BroadcastMsg(kKSMsg_SessionOpened, &mCurServiceName, &mServiceHostname);
}

void ToolbarSession::OnSessionOpenFailed() {
  if (mNumConnectAttempts >= 2 && IsListed(mCurServiceName)) {
    BroadcastMsg(kKSMsg_SessionFailed, &mCurServiceName, &mServiceHostname);
  }
}

void ToolbarSession::OnSessionClosed() {
  KSTime now;
  KSTime::GetTime(&now, true);
  long secondsOpen = KSTime::Diff(now, mConnectionStartTime);
  if (secondsOpen >= 0 && secondsOpen < mRefusalWindowSecs && LastCloseResult() == 0 &&
      !mEngineAnswered) {
    // The engine took the connection only to drop it: it does not want us.
    mNumConnectAttempts = kGivenUp;
    BroadcastMsg(kKSMsg_SessionRefused, &mCurServiceName, &mServiceHostname);
  } else {
    mNumConnectAttempts = 0;
    BroadcastMsg(kKSMsg_SessionClosed, &mCurServiceName, &mServiceHostname);
  }
}

void ToolbarSession::OnProcessComplete(const KSBuf& inReply, unsigned char,
                                       const KSMPCookie& inCookie, unsigned long inTicket) {
  mEngineAnswered = true;
  if (mRepliesAwaited > 0) {
    mRepliesAwaited--;
  }
  mAwaitedSinceMS = NowMS();
  ToolbarCmdCookie cookie;
  cookie.mTicket = static_cast<uint32>(inTicket);
  std::memcpy(cookie.mParam, inCookie.mData, sizeof(cookie.mParam));
  OnCmdComplete(inReply, cookie);
}

void ToolbarSession::OnIncomingQueued() {
  mLastHeardMS = NowMS();
}

void ToolbarSession::ListenToMsg(long inMsg, void* inParam1, void*) {
  if (inMsg == kKSMsg_ServiceListChanged && inParam1 == &mServiceBrowser) {
    RebuildServiceList();
    // An engine that went and came back under the same name is listed as
    // before, maybe at another address.
    mLookUpAfresh = true;
    BroadcastMsg(kKSMsg_ServicesChanged, nullptr, nullptr);
  }
}

void ToolbarSession::RebuildServiceList() {
  // The names are read before our lock is taken: a synchronous resolve on the
  // window thread holds the browser's lock and may tell us of a change, so
  // taking ours first here could deadlock with it.
  XStrList names(kStrSorted_CaseInsensitive, kStrNoDupes_CaseInsensitive);
  UtilStr name;
  for (int index = 1; mServiceBrowser.GetServiceName(index, &name); ++index) {
    names.Add(name.getCStr(), name.length());
  }
  KSMutexHold hold(mServiceListMutex);
  mServiceList.RemoveAll();
  for (long index = 1; index <= names.Count(); ++index) {
    const UtilStr* entry = names.Fetch(index);
    mServiceList.Add(entry->getCStr(), entry->length());
  }
}
