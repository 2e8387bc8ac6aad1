// The application's engine link. It works in queued mode: every KSMP event
// waits until the window drains the session (DispatchIncoming from its timer)
// and so runs on the window thread, where replies go to the reply target
// named in the request and notifications to the notify window.
#pragma once

#include <windows.h>

#include <atomic>

#include "net/ToolbarSession.h"
#include "skin/ToolbarReplyTarget.h"

class cToolbarSession : public ToolbarSession {
 public:
  explicit cToolbarSession(const char* inServiceType = kEngineServiceType);

  // The window that receives engine notifications and hears the link's
  // broadcasts: the application window passes itself twice. Replies are
  // delivered only while a notify window is set. Null stores null and
  // registers nothing.
  void SetNotifyWindow(ToolbarReplyTarget* inWindow, KSListener* inListener);

  // Wake-up: whenever an incoming event is queued, posts inMsg (with
  // inWParam) to inWind, so that the window drains the link at once rather
  // than on its next timer tick. One post stands for any number of events
  // until the window calls WakeHandled. A null window posts nothing.
  void SetWakeMessage(HWND inWind, UINT inMsg, WPARAM inWParam);
  // The window is about to drain the link: the next queued event posts again.
  void WakeHandled() { mWakePosted = false; }

 protected:
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override;
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override;
  // The network thread.
  void OnIncomingQueued() override;

 private:
  ToolbarReplyTarget* mNotifyWindow;  // not owned

  // Set on the window thread, read on the network thread: the window and
  // message are stored before mWakeWind, which publishes them.
  std::atomic<HWND> mWakeWind;
  UINT mWakeMsg;
  WPARAM mWakeWParam;
  std::atomic<bool> mWakePosted;  // a post is on its way and not handled yet
};
