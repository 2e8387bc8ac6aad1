// The command line of corvexa-ctl, read into options without touching the
// engine. Usage errors come back as a sentence for the user; the program
// answers them with exit code 2.
#pragma once

#include "foundation/UtilStr.h"

// The program's exit codes.
constexpr int kCtlExitOK = 0;
constexpr int kCtlExitEngineError = 1;  // the engine or the connection failed
constexpr int kCtlExitUsage = 2;        // the command line was wrong

enum CtlCommand {
  kCtlNoCommand,
  kCtlHelp,    // --help
  kCtlList,    // list
  kCtlSend,    // send TEXT
  kCtlDo,      // do FUNCTION [VALUE]
  kCtlScript,  // script FUNCTION [VALUE]
  kCtlGet,     // get
  kCtlWatch    // watch
};

struct CtlOptions {
  CtlOptions();

  CtlCommand mCommand;
  UtilStr mText;       // send: the script; do, script: the function's skin name
  UtilStr mValue;      // do, script: the value
  bool mHasValue;      // do, script: a value was given
  UtilStr mInstance;   // --instance NAME
  UtilStr mHost;       // --connect HOST:PORT
  long mPort;          // 0 without --connect
  bool mJson;          // --json
  double mForSeconds;  // --for SECONDS; 0 without
};

// Reads the arguments after the program name (inArgs[0] to inArgs[inCount-1],
// UTF-8). Options may stand before or after the command, and every option is
// accepted with every command; those that do not concern the command are
// ignored. Returns 0, or kKSErr_Param with the reason in outError.
long ParseCtlOptions(int inCount, const char* const* inArgs, CtlOptions* outOptions,
                     UtilStr* outError);
