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

int CtlSessionLostError(const CtlLink& inLink) {
  UtilStr context;
  context.AppendVA(inLink.SessionRefused() ? "the engine \"%s\" refused the connection"
                                           : "the engine \"%s\" closed the connection",
                   inLink.GetCurServiceName());
  return CtlEngineError(context.getCStr(), kKSErr_NotConnected);
}

int CtlQueryOrFail(CtlLink* ioLink, const char* inScript, long inLen, UtilStr* outReply) {
  long err = ioLink->Query(inScript, inLen, outReply);
  if (err == 0) {
    return 0;
  }
  if (err == kKSErr_NotConnected && ioLink->SessionLost()) {
    return CtlSessionLostError(*ioLink);
  }
  UtilStr context;
  if (err == kKSErr_NotConnected) {
    context.AppendVA("cannot connect to the engine \"%s\"", ioLink->GetCurServiceName());
    err = ioLink->LastConnectError();
  } else if (err == kKSErr_Timeout) {
    context.AppendVA("the engine \"%s\" did not answer", ioLink->GetCurServiceName());
  } else {
    context.AppendVA("cannot send to the engine \"%s\"", ioLink->GetCurServiceName());
  }
  return CtlEngineError(context.getCStr(), err);
}

namespace {

// Builds the script of the command line's function and value into outScript
// (kCommandBufferSize bytes); 0, or the exit code after saying what is wrong.
int BuildScriptOrFail(const CtlOptions& inOptions, char* outScript) {
  UtilStr error;
  if (BuildFunctionScript(inOptions.mText.getCStr(),
                          inOptions.mHasValue ? inOptions.mValue.getCStr() : nullptr, outScript,
                          &error) != 0) {
    return CtlUsageError(error);
  }
  return 0;
}

}  // namespace

int RunCtlScript(const CtlOptions& inOptions) {
  char script[kCommandBufferSize];
  int exitCode = BuildScriptOrFail(inOptions, script);
  if (exitCode != 0) {
    return exitCode;
  }
  UtilStr line(script);
  line.AppendChar('\n');
  CtlWriteOut(line);
  return kCtlExitOK;
}

int RunCtlDo(const CtlOptions& inOptions) {
  char script[kCommandBufferSize];
  int exitCode = BuildScriptOrFail(inOptions, script);
  if (exitCode != 0) {
    return exitCode;
  }
  CtlLink link;
  exitCode = CtlChooseEngine(inOptions, &link);
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
