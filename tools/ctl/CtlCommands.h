// The commands of corvexa-ctl. Each runs one command line's command and
// returns the program's exit code (kCtlExit…).
#pragma once

#include "ctl/CtlOptions.h"

class CtlLink;

int RunCtlScript(const CtlOptions& inOptions);
int RunCtlSend(const CtlOptions& inOptions);
int RunCtlDo(const CtlOptions& inOptions);
int RunCtlList(const CtlOptions& inOptions);
int RunCtlGet(const CtlOptions& inOptions);
int RunCtlWatch(const CtlOptions& inOptions);

// Shared by the commands.

// How long discovery may take to list the engine instances.
constexpr long kCtlDiscoveryWaitMS = 2000;

// Prints "corvexa-ctl: " and inMessage, and the help hint; returns kCtlExitUsage.
int CtlUsageError(const UtilStr& inMessage);

// Prints "corvexa-ctl: ", inContext and the error in words; returns
// kCtlExitEngineError.
int CtlEngineError(const char* inContext, long inErr);

// Chooses the engine the options name (--connect, --instance, or the only /
// first instance found). 0, or an exit code after printing why not.
int CtlChooseEngine(const CtlOptions& inOptions, CtlLink* ioLink);

// Reports the loss of the session: refused by the engine, or closed later;
// returns kCtlExitEngineError. The options tell how to name the engine.
int CtlSessionLostError(const CtlOptions& inOptions, const CtlLink& inLink);

// Queries and reports a failure to reach the engine in words, such as
// "connection refused by 127.0.0.1:1"; 0 or the exit code.
int CtlQueryOrFail(const CtlOptions& inOptions, CtlLink* ioLink, const char* inScript, long inLen,
                   UtilStr* outReply);
