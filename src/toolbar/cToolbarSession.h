// The application's engine link. It works in queued mode: every KSMP event
// waits until the window drains the session (DispatchIncoming from its timer)
// and so runs on the window thread, where replies go to the reply target
// named in the request and notifications to the notify window.
#pragma once

#include "net/ToolbarSession.h"
#include "toolbar/ToolbarReplyTarget.h"

class cToolbarSession : public ToolbarSession {
 public:
  explicit cToolbarSession(const char* inServiceType = kEngineServiceType);

  // The window that receives engine notifications and hears the link's
  // broadcasts: the application window passes itself twice. Replies are
  // delivered only while a notify window is set. Null stores null and
  // registers nothing.
  void SetNotifyWindow(ToolbarReplyTarget* inWindow, KSListener* inListener);

 protected:
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override;
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override;

 private:
  ToolbarReplyTarget* mNotifyWindow;  // not owned
};
