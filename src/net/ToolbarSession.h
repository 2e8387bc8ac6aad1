// The toolbar's one link to an engine: keeps the list of engine services that
// discovery finds, remembers the chosen one, resolves it and opens a KSMP
// session to it when the first command needs one, and turns session events
// into broadcasts for the window:
//   kKSMsg_ServicesChanged  (null, null)              discovery thread
//   kKSMsg_SessionOpened    (name, host name or null) session opened
//   kKSMsg_SessionFailed    (name, host name)         opening failed twice
//   kKSMsg_SessionRefused   (name, host name)         engine closed within 4 s
//   kKSMsg_SessionClosed    (name, host name)         session closed normally
// The names are the link's own UtilStr objects, borrowed for the call.
//
// Give-up rule: two failed opens, an unresolvable service or a refusal stop
// further attempts (ConnectFailed) until the service is chosen again, Retry
// is called or a normal close resets the count. A refusal is a close within
// the refusal window of a session on which the engine answered nothing and
// that ended in order: a broken stream or an engine that answered first has
// not refused. The link has no timer of its own: its owner calls KeepAlive
// often and decides when to Retry.
#pragma once

#include <atomic>
#include <cstdint>

#include "foundation/KSBroadcaster.h"
#include "foundation/KSMutex.h"
#include "foundation/KSTime.h"
#include "foundation/UtilStr.h"
#include "foundation/XStrList.h"
#include "net/KSMPSession.h"
#include "net/KSNetServiceBrowswer.h"

constexpr const char* kEngineServiceType = "_corvexa-ksmp._tcp.";
constexpr const char* kEngineServiceDomain = "local.";

// The header flags byte of the toolbar's ordinary commands. The link passes
// it through untouched and the engine echoes it in its reply.
constexpr unsigned char kCommandFlags = 0x28;

// The engine echoes a request's cookie in its reply; the link packs three
// 32-bit values into it (reply target, request type, parameter).
struct ToolbarCmdCookie {
  uint32 mTicket;
  int32 mParam[3];
};

class ToolbarSession : public KSBroadcaster, public KSListener, public KSMPSession {
 public:
  // Browses inServiceType in "local."; tests pass a type of their own.
  explicit ToolbarSession(const char* inServiceType = kEngineServiceType);
  ~ToolbarSession() override;

  // True once the link has given up on the current service.
  virtual bool ConnectFailed() const;
  virtual long GetNumServices() const;
  // The name of the discovered service at 1-based inIndex; false outside.
  bool GetServiceName(long inIndex, UtilStr* outName) const;
  virtual const char* GetCurServiceName() const;
  // Chooses the engine service (empty for none) and resets the give-up count.
  // Choosing another service closes the session.
  virtual void SetCurService(const char* inName);
  // Chooses inName as SetCurService does and takes inAddr and inPort as its
  // address, as if discovery had found and resolved it: for an engine reached
  // without discovery.
  void UseServiceAddr(const char* inName, const KSNetAddr& inAddr, unsigned long inPort);

  // Sends a command script (inLen -1: up to its NUL), connecting first when
  // needed. inTarget, inRequestType and inParam travel in the cookie and come
  // back with the reply. Returns the last send's result: kKSErr_NotConnected
  // when no session could be had.
  virtual long SendCmd(const char* inCmd, long inLen, unsigned char inFlags, long inTarget,
                       long inRequestType, long inParam, unsigned long* outTicket);

  long CloseSession() override;

  // Whether the current service's address is this machine; valid once a
  // connection was tried.
  bool ServiceIsLocal() const { return mServiceIsLocal; }

  bool IsConnected() const { return GetSessionStatus() == ks_Connected; }
  bool IsConnecting() const { return GetSessionStatus() == ks_ConnectionPending; }
  // The sessions opened so far: a new count means a new session.
  long SessionsOpened() const { return mSessionsOpened; }
  // The engine has answered a request on the current session.
  bool EngineAnswered() const { return mEngineAnswered; }
  // How long the current session has been open, in ms (0 when none is).
  long SessionAgeMS() const;

  // Lets the next connect go ahead after the link had given up, as its
  // second attempt (so that its failure is reported), looking a discovered
  // service's address up afresh first (an engine that came back may listen
  // on another port; a failed look-up keeps the old address).
  void Retry();
  // Starts connecting to the current service and returns at once: the
  // session's open or failure event follows. False when there is nothing to
  // connect to.
  bool ConnectAsync();
  // Asks discovery to look at the engines again now.
  void Rescan();
  // Keeps an open session from closing idle, so that the engine's
  // notifications keep coming: sends the empty text, which every engine
  // answers, once nothing has been sent for half the idle limit. A session
  // whose engine has left a request unanswered for twice the idle limit is
  // taken for hung and closed. Call it often, on the thread that sends.
  void KeepAlive();

  // The idle limit (ms) and refusal window (s) in force; tests shorten them.
  void SetLimits(long inIdleMS, long inRefusalSecs);

 protected:
  void ListenToMsg(long inMsg, void* inParam1, void* inParam2) override;

  // A reply came back; inCookie holds the values given to SendCmd.
  virtual void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) = 0;

  void OnSessionOpened() override;
  void OnSessionOpenFailed() override;
  void OnSessionClosed() override;
  void OnProcessComplete(const KSBuf& inReply, unsigned char inFlags, const KSMPCookie& inCookie,
                         unsigned long inTicket) override;
  // The network thread: the engine was heard from (queued mode).
  void OnIncomingQueued() override;

  // Resolves the current service if needed and opens the session. 0 when a
  // session was opened.
  virtual long Connect();

  // The idle limit of engine sessions.
  static constexpr long kSessionTimeoutMS = 5500;
  // A close less than this many seconds after the open counts as a refusal.
  static constexpr long kRefusalWindowSecs = 4;
  // The two limits in force: the values above, shortened by tests that would
  // otherwise sit them out.
  long mSessionTimeoutMS = kSessionTimeoutMS;
  long mRefusalWindowSecs = kRefusalWindowSecs;
  // Attempt count that stops connecting until the service is chosen anew.
  static constexpr long kGivenUp = 1000;
  // A discovered service is resolved again once its address is this old.
  static constexpr long kResolveMaxAgeSecs = 10;
  // A request unanswered this many idle limits long marks a hung engine.
  static constexpr long kHungIdleLimits = 2;

  KSNetServiceBrowswer mServiceBrowser;
  // Open sessions in queued mode (events wait for DispatchIncoming).
  bool mQueueIncomingMode;
  KSTime mConnectionStartTime;

 private:
  bool IsListed(const UtilStr& inName) const;
  void RebuildServiceList();
  // The address of the current service, looked up afresh when asked to;
  // false when there is none.
  bool ResolveCurService();
  // Counts an attempt and finds the address to connect to; false (and the
  // link given up) when there is none.
  bool PrepareConnect();

  // Rebuilt on the discovery thread, read on the window thread.
  XStrList mServiceList;
  mutable KSMutex mServiceListMutex;
  // Changed by session events, which run on the session thread unless the
  // link works in queued mode.
  std::atomic<long> mNumConnectAttempts;
  bool mServiceResolved;
  KSNetAddr mServiceAddr;
  unsigned long mServicePort;
  UtilStr mServiceHostname;
  bool mServiceIsLocal;
  UtilStr mCurServiceName;
  // The address came from discovery (not from UseServiceAddr).
  bool mAddrFromDiscovery;
  // Look the address up again before the next connect; set by Retry and,
  // on the discovery thread, whenever the list of services changes.
  std::atomic<bool> mLookUpAfresh;

  // The session's traffic, for KeepAlive and the refusal rule. Counted by
  // the sending thread and the thread that handles session events (the same
  // one in queued mode).
  std::atomic<long> mSessionsOpened;
  std::atomic<bool> mEngineAnswered;
  std::atomic<long> mRepliesAwaited;
  std::atomic<int64_t> mOpenedMS;
  std::atomic<int64_t> mLastSendMS;
  std::atomic<int64_t> mAwaitedSinceMS;  // the engine last answered, or was first asked
  // The last time anything came from the engine. A window busy with a flood
  // of notifications handles replies late; the engine is alive all the same.
  std::atomic<int64_t> mLastHeardMS;
};
