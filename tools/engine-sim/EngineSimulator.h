// One simulated engine: its state, its script functions and the interpreter
// that runs the scripts clients send. Not locked: the server runs one script
// at a time.
#pragma once

#include "engine-sim/EngineScriptHost.h"
#include "engine-sim/EngineState.h"
#include "engine-sim/ScriptInterpreter.h"

class EngineSimulator {
 public:
  explicit EngineSimulator(const EngineContent& inContent);

  EngineSimulator(const EngineSimulator&) = delete;
  EngineSimulator& operator=(const EngineSimulator&) = delete;

  EngineState& State() { return mState; }

  // Runs the timers up to inNowMS and then one script. What the script printed
  // (the reply's payload) is appended to outReply; problems go to outNotes,
  // which may be null. An empty script prints nothing. Returns 0, or
  // kKSErr_FormatNotRecognized for a text that does not parse (nothing ran).
  long RunScript(const char* inScript, long inLen, int64 inNowMS, UtilStr* outReply,
                 XStrList* outNotes);

  void Tick(int64 inNowMS) { mState.Tick(inNowMS); }

  void SetRandomSeed(uint32 inSeed);

 private:
  EngineState mState;
  EngineScriptHost mHost;
  ScriptInterpreter mInterpreter;
};
