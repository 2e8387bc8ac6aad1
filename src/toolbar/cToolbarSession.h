// The application's engine link. It works in queued mode: every KSMP event
// waits until the window drains the session (DispatchIncoming from its timer)
// and so runs on the window thread, where replies go to the reply target
// named in the request and notifications to the notify window.
//
// The window's refreshes are numbered. A query's reply parameter carries the
// number current when it was sent above its low byte, which holds the tag
// the reply target reads; a reply from before the current number is dropped,
// so that a refresh started while another is in flight supersedes it.
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

  // Starts a new refresh: replies to what was sent before are dropped.
  void NewGeneration() { mGeneration = (mGeneration + 1) & kGenerationMask; }
  // The reply parameter of a query sent now with inTag (0 to 255).
  long StampParam(long inTag) const { return (mGeneration << kTagBits) | (inTag & kTagMask); }

 protected:
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override;
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override;
  // The network thread.
  void OnIncomingQueued() override;

 private:
  static constexpr int kTagBits = 8;
  static constexpr long kTagMask = (1L << kTagBits) - 1;
  static constexpr long kGenerationMask = (1L << (31 - kTagBits)) - 1;

  ToolbarReplyTarget* mNotifyWindow;  // not owned
  long mGeneration;                   // window thread

  // Set on the window thread, read on the network thread: the window and
  // message are stored before mWakeWind, which publishes them.
  std::atomic<HWND> mWakeWind;
  UINT mWakeMsg;
  WPARAM mWakeWParam;
  std::atomic<bool> mWakePosted;  // a post is on its way and not handled yet
};
