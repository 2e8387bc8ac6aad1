#include "ctl/CtlCommands.h"

#include "ctl/CtlConsole.h"
#include "ctl/CtlFunctions.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlReply.h"
#include "ctl/CtlUsage.h"
#include "foundation/KSError.h"
#include "foundation/XStrList.h"
#include "toolbar/UICommands.h"

int CtlUsageError(const UtilStr& inMessage) {
  UtilStr text;
  text.AppendVA("corvexa-ctl: %s\n", inMessage.getCStr());
  AppendCtlUsageHint(&text);
  CtlWriteErr(text);
  return kCtlExitUsage;
}

int CtlEngineError(const char* inContext, long inErr) {
  UtilStr text;
  text.AppendVA("corvexa-ctl: %s: ", inContext);
  KSError::GetErrMsg(inErr, &text);
  text.AppendChar('\n');
  CtlWriteErr(text);
  return kCtlExitEngineError;
}

int CtlChooseEngine(const CtlOptions& inOptions, CtlLink* ioLink) {
  if (inOptions.mPort != 0) {
    long err = ioLink->ChooseAddress(inOptions.mHost.getCStr(), inOptions.mPort);
    return err == 0 ? 0 : CtlEngineError("cannot use that address", err);
  }
  ioLink->WaitForInstances(inOptions.mInstance.getCStr(), kCtlDiscoveryWaitMS);
  if (ioLink->ChooseInstance(inOptions.mInstance.getCStr()) == 0) {
    return 0;
  }
  UtilStr context;
  if (inOptions.mInstance.IsEmpty()) {
    context.Append("no engine instance was found");
  } else {
    context.AppendVA("no engine instance named \"%s\" was found", inOptions.mInstance.getCStr());
  }
  return CtlEngineError(context.getCStr(), kKSErr_FileNotFound);
}

int CtlQueryOrFail(CtlLink* ioLink, const char* inScript, long inLen, UtilStr* outReply) {
  long err = ioLink->Query(inScript, inLen, outReply);
  if (err == 0) {
    return 0;
  }
  UtilStr context;
  if (err == kKSErr_NotConnected && ioLink->SessionLost()) {
    context.AppendVA("the engine \"%s\" closed the connection", ioLink->GetCurServiceName());
  } else if (err == kKSErr_NotConnected) {
    context.AppendVA("cannot connect to the engine \"%s\"", ioLink->GetCurServiceName());
    err = ioLink->LastConnectError();
  } else if (err == kKSErr_Timeout) {
    context.AppendVA("the engine \"%s\" did not answer", ioLink->GetCurServiceName());
  } else {
    context.AppendVA("cannot send to the engine \"%s\"", ioLink->GetCurServiceName());
  }
  return CtlEngineError(context.getCStr(), err);
}

int RunCtlScript(const CtlOptions& inOptions) {
  char script[kCommandBufferSize];
  UtilStr error;
  if (BuildFunctionScript(inOptions.mText.getCStr(),
                          inOptions.mHasValue ? inOptions.mValue.getCStr() : nullptr, script,
                          &error) != 0) {
    return CtlUsageError(error);
  }
  UtilStr line(script);
  line.AppendChar('\n');
  CtlWriteOut(line);
  return kCtlExitOK;
}

int RunCtlDo(const CtlOptions& inOptions) {
  char script[kCommandBufferSize];
  UtilStr error;
  if (BuildFunctionScript(inOptions.mText.getCStr(),
                          inOptions.mHasValue ? inOptions.mValue.getCStr() : nullptr, script,
                          &error) != 0) {
    return CtlUsageError(error);
  }
  CtlLink link;
  int exitCode = CtlChooseEngine(inOptions, &link);
  UtilStr reply;
  // Waiting for the (unused) reply tells that the engine has taken the script.
  return exitCode != 0 ? exitCode : CtlQueryOrFail(&link, script, -1, &reply);
}

int RunCtlSend(const CtlOptions& inOptions) {
  CtlLink link;
  UtilStr reply;
  int exitCode = CtlChooseEngine(inOptions, &link);
  if (exitCode == 0) {
    exitCode = CtlQueryOrFail(&link, inOptions.mText.getCStr(), inOptions.mText.length(), &reply);
  }
  if (exitCode != 0) {
    return exitCode;
  }
  XStrList pieces;
  ReadReplyPieces(reply.getCStr(), reply.length(), &pieces);
  UtilStr text;
  for (long i = 1; i <= pieces.Count(); ++i) {
    text.AppendVA("%s\n", pieces.Fetch(i)->getCStr());
  }
  CtlWriteOut(text);
  return kCtlExitOK;
}
