#include "engine-sim/EngineSimulator.h"

EngineSimulator::EngineSimulator(const EngineContent& inContent)
    : mState(inContent), mHost(&mState), mInterpreter(&mHost) {}

long EngineSimulator::RunScript(const char* inScript, long inLen, int64 inNowMS, UtilStr* outReply,
                                XStrList* outNotes) {
  mState.Tick(inNowMS);
  return mInterpreter.Run(inScript, inLen, outReply, outNotes);
}

void EngineSimulator::SetRandomSeed(uint32 inSeed) {
  mState.SetRandomSeed(inSeed);
  mInterpreter.SetRandomSeed(inSeed * 2654435761u);
}
