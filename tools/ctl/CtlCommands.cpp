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

namespace {

// Words for the link's failures whose codes have no message text of their own.
struct LinkFailureWords {
  long mErr;
  const char* mWords;
};

const LinkFailureWords kLinkFailureWords[] = {
    {kKSErr_HostNotFound, "host not found"},
    {kKSErr_ConnectRefused, "connection refused"},
    {kKSErr_NotConnected, "not connected"},
    {kKSErr_SendQueueFull, "too much waiting to be sent"},
    {kKSErr_SessionClosed, "connection closed"},
    {kKSErr_SocketError, "network error"},
};

void AppendErrorWords(long inErr, UtilStr* outText) {
  for (const LinkFailureWords& failure : kLinkFailureWords) {
    if (failure.mErr == inErr) {
      outText->Append(failure.mWords);
      return;
    }
  }
  KSError::GetErrMsg(inErr, outText);
}

int EngineFailure(const UtilStr& inMessage) {
  UtilStr text;
  text.AppendVA("corvexa-ctl: %s\n", inMessage.getCStr());
  CtlWriteErr(text);
  return kCtlExitEngineError;
}

// Names the engine in messages: an address given with --connect as it is, an
// instance as the engine "NAME".
void AppendEngine(const CtlOptions& inOptions, const CtlLink& inLink, UtilStr* outText) {
  outText->AppendVA(inOptions.mPort != 0 ? "%s" : "the engine \"%s\"", inLink.GetCurServiceName());
}

}  // namespace

int CtlEngineError(const char* inContext, long inErr) {
  UtilStr text;
  text.AppendVA("%s: ", inContext);
  AppendErrorWords(inErr, &text);
  return EngineFailure(text);
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

int CtlSessionLostError(const CtlOptions& inOptions, const CtlLink& inLink) {
  UtilStr text(inLink.SessionRefused() ? "connection refused by " : "connection closed by ");
  AppendEngine(inOptions, inLink, &text);
  return EngineFailure(text);
}

int CtlQueryOrFail(const CtlOptions& inOptions, CtlLink* ioLink, const char* inScript, long inLen,
                   UtilStr* outReply) {
  long err = ioLink->Query(inScript, inLen, outReply);
  if (err == 0) {
    return 0;
  }
  if (err == kKSErr_NotConnected && ioLink->SessionLost()) {
    return CtlSessionLostError(inOptions, *ioLink);
  }
  bool connectFailed = err == kKSErr_NotConnected;
  if (connectFailed) {
    err = ioLink->LastConnectError();
  }
  UtilStr text;
  if (err == kKSErr_ConnectRefused) {
    text.Append("connection refused by ");
    AppendEngine(inOptions, *ioLink, &text);
  } else if (err == kKSErr_Timeout) {
    AppendEngine(inOptions, *ioLink, &text);
    text.Append(" did not answer");
  } else {
    text.Append(connectFailed ? "cannot connect to " : "cannot send to ");
    AppendEngine(inOptions, *ioLink, &text);
    if (err != kKSErr_NotConnected) {
      text.Append(": ");
      AppendErrorWords(err, &text);
    }
  }
  return EngineFailure(text);
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
  return exitCode != 0 ? exitCode : CtlQueryOrFail(inOptions, &link, script, -1, &reply);
}

int RunCtlSend(const CtlOptions& inOptions) {
  CtlLink link;
  UtilStr reply;
  int exitCode = CtlChooseEngine(inOptions, &link);
  if (exitCode == 0) {
    exitCode = CtlQueryOrFail(inOptions, &link, inOptions.mText.getCStr(), inOptions.mText.length(),
                              &reply);
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
