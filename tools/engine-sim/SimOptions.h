// The command line of corvexa-engine-sim.
#pragma once

#include "foundation/UtilStr.h"

struct SimOptions {
  SimOptions();

  UtilStr mBindAddr;  // an IPv4 address; "127.0.0.1" unless given
  long mPort;         // 0: any free port
  UtilStr mName;      // the instance name published in the registry
  UtilStr mContentDir;
  UtilStr mSay;  // a message for the user, sent to every client as it connects
  UtilStr mLogFile;
  bool mPublish;     // false with --no-publish
  bool mWatchInput;  // false with --no-stdin: then only Ctrl+C or closing ends the run
  bool mSeeded;
  uint32 mSeed;
  long mStallLimitMS;  // a client silent this long in the middle of a packet is dropped

  // Misbehaviour, for testing clients.
  bool mRefuse;         // close every connection as soon as it is accepted
  bool mNoReply;        // run requests but never answer them
  long mReplyDelayMS;   // wait this long before each reply
  long mCloseAfterMS;   // close every connection this long after it opened; 0: never
  long mCutReply;       // cut the n-th reply of each connection in the middle; 0: never
  bool mOversize;       // answer the first request with a packet too big to accept
  bool mBadSystemMsg;   // greet each connection with a malformed system message
  double mFloodPerSec;  // notifications per second to every client; 0: none
  // The misbehaviours of single connections (all but the flood) concern only
  // the first this many connections; 0: all of them.
  long mFaultyConnections;

  // These options with no connection misbehaving (the flood stays).
  SimOptions WithoutMisbehaviour() const;

  bool mHelp;
};

// Reads the arguments after the program name (UTF-8). Returns 0, or
// kKSErr_Param with a description in outError.
long ParseSimOptions(int inArgc, const char* const* inArgv, SimOptions* outOptions,
                     UtilStr* outError);

// The text --help prints.
const char* SimUsage();
