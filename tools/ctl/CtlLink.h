// corvexa-ctl's link to an engine: the toolbar's engine link, driven from a
// console program. Where the toolbar routes replies to its controls, this link
// hands each reply to whoever waits for it, and queues the engine's
// notifications for "watch". Replies and notifications arrive on the session
// thread (the link does not work in queued mode) and wake the waiting thread.
#pragma once

#include <atomic>
#include <deque>

#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"
#include "foundation/UtilStr.h"
#include "net/ToolbarSession.h"

// How long corvexa-ctl waits for the reply to one request.
constexpr long kCtlReplyWaitMS = 5000;
// How long a send that found the session closed waits to learn how it ended.
constexpr unsigned long kCtlLossWaitMS = 1000;

// One discovered engine instance as "list" shows it.
struct CtlInstance {
  UtilStr mName;
  UtilStr mDomain;
  bool mResolved;
  UtilStr mAddress;  // empty while unresolved
  unsigned long mPort;
};

// One engine notification.
struct CtlNotification {
  long mCode;
  UtilStr mDesc;
  UtilStr mData;
};

class CtlLink : public ToolbarSession {
 public:
  CtlLink();
  ~CtlLink() override;

  // Waits until discovery has listed inName (any instance when empty) and the
  // list has settled, or until inWaitMS have passed.
  void WaitForInstances(const char* inName, long inWaitMS);

  // The listed instance at 1-based inIndex, resolved when it can be; false
  // outside the list.
  bool GetInstance(long inIndex, CtlInstance* outInstance);

  // Makes inName (ignoring case) the engine to use, or with an empty name the
  // only, else the first, instance listed. kKSErr_FileNotFound when none fits.
  long ChooseInstance(const char* inName);

  // Makes the engine at inHost and inPort the one to use, without discovery.
  long ChooseAddress(const char* inHost, long inPort);

  // Sends one script and waits for its reply, which comes back whole in
  // outReply (NULs included). The result of sending, kKSErr_Timeout when no
  // reply came in time, or kKSErr_NotConnected when the session was lost.
  long Query(const char* inScript, long inLen, UtilStr* outReply);

  // Sends one script without waiting for its reply (which is dropped).
  long Post(const char* inScript);

  // Takes the oldest queued notification, waiting up to inWaitMS for one. Also
  // returns, with false, as soon as inStopEvent (a Win32 event, may be null) is
  // set or the session is lost.
  bool NextNotification(long inWaitMS, void* inStopEvent, CtlNotification* outNotification);

  // True once an open session was closed or refused by the engine.
  bool SessionLost() const { return mSessionLost; }
  // True when the lost session ended so soon after opening that the link
  // counts it as refused (and gives up on the engine).
  bool SessionRefused() const { return mSessionRefused; }

  // The error of the last failed open, else kKSErr_NotConnected.
  long LastConnectError() const { return mLastConnectError; }

 protected:
  long Connect() override;
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override;
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override;
  void OnSessionClosed() override;
  // Also hears the link's own broadcasts, to learn of a refusal.
  void ListenToMsg(long inMsg, void* inParam1, void* inParam2) override;

 private:
  // Starts waiting for the reply to a new request; its number goes in the
  // request's cookie.
  long AwaitNextReply();
  // Waits a moment for the session thread to report a loss; true once it has.
  bool AwaitSessionLoss();
  // Copies the awaited reply once it has arrived.
  bool TakeReply(UtilStr* outReply);
  // Keeps inReply if it answers the awaited request.
  bool StoreReply(const KSBuf& inReply, long inRequestID);
  bool TakeNotification(CtlNotification* outNotification);

  // Replies are matched to requests by a number of ours in the cookie's
  // parameter: the ticket is known only once the send has returned, and the
  // reply may come first.
  long mNextRequestID;
  long mAwaitedRequestID;  // 0: no one waits
  bool mReplyArrived;
  UtilStr mReply;
  std::deque<CtlNotification> mNotifications;
  KSMutex mLock;        // guards the reply and notification fields
  KSHandle mWakeEvent;  // auto-reset; set on a reply, a notification or a loss
  std::atomic<bool> mSessionLost;
  std::atomic<bool> mSessionRefused;
  long mLastConnectError;
};
