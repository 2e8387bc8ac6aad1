// "watch": the engine's notifications as they arrive.
#include <windows.h>

#include "ctl/CtlCommands.h"
#include "ctl/CtlConsole.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlNotice.h"

namespace {

// The link ends a session that carries nothing for 5.5 seconds; an empty
// script this often keeps a quiet watch connected.
const long kKeepAliveMS = 2000;

void PrintNotification(const CtlNotification& inNotification, bool inJson) {
  UtilStr line;
  if (inJson) {
    DescribeNoticeJson(inNotification.mCode, inNotification.mDesc.getCStr(),
                       inNotification.mData.getCStr(), &line);
  } else {
    DescribeNotice(inNotification.mCode, inNotification.mDesc.getCStr(),
                   inNotification.mData.getCStr(), &line);
  }
  line.AppendChar('\n');
  CtlWriteOut(line);
}

}  // namespace

int RunCtlWatch(const CtlOptions& inOptions) {
  CtlLink link;
  int exitCode = CtlChooseEngine(inOptions, &link);
  UtilStr reply;
  // The empty script opens the session; the engine talks only to a session.
  if (exitCode == 0) {
    exitCode = CtlQueryOrFail(inOptions, &link, "", 0, &reply);
  }
  if (exitCode != 0) {
    return exitCode;
  }
  UtilStr banner;
  banner.AppendVA("Watching \"%s\"%s.\n", link.GetCurServiceName(),
                  inOptions.mForSeconds > 0 ? "" : " (Ctrl+C stops)");
  CtlWriteErr(banner);

  DWORD start = GetTickCount();
  DWORD lastPost = start;
  long limitMS = inOptions.mForSeconds > 0 ? long(inOptions.mForSeconds * 1000) : -1;
  for (;;) {
    DWORD now = GetTickCount();
    long left = limitMS < 0 ? kKeepAliveMS : limitMS - long(now - start);
    if (left <= 0 || WaitForSingleObject(CtlStopEvent(), 0) == WAIT_OBJECT_0) {
      return kCtlExitOK;
    }
    if (long(now - lastPost) >= kKeepAliveMS) {
      long err = link.Post("");
      if (err != 0) {
        return CtlEngineError("cannot reach the engine", err);
      }
      lastPost = now;
    }
    long wait = left < kKeepAliveMS ? left : kKeepAliveMS;
    CtlNotification notification;
    if (link.NextNotification(wait, CtlStopEvent(), &notification)) {
      PrintNotification(notification, inOptions.mJson);
    } else if (link.SessionLost()) {
      return CtlSessionLostError(inOptions, link);
    }
  }
}
