// The engine's script functions and constants, acting on an EngineState.
//
// Besides the functions the toolbar's scripts call, three are here for tests
// and demonstrations: GetRunningList(kind) lists the particles or
// images/videos running, GetEnabledList(kind) the items of a kind that are
// enabled, and SetTrackInfo("text") starts a new song.
#pragma once

#include "engine-sim/EngineState.h"
#include "engine-sim/ScriptHost.h"

class EngineScriptHost : public ScriptHost {
 public:
  explicit EngineScriptHost(EngineState* inState) : mState(inState) {}

  bool GetConstant(const UtilStr& inName, ScriptValue* outValue) override;
  long CallFunction(const UtilStr& inName, const ScriptArgs& inArgs, ScriptValue* outResult,
                    UtilStr* outProblem) override;

 private:
  typedef long (EngineScriptHost::*Handler)(const ScriptArgs& inArgs, ScriptValue* outResult,
                                            UtilStr* outProblem);
  struct Function {
    const char* mName;
    size_t mMinArgs;
    Handler mHandler;
  };
  static const Function sFunctions[];

  // Preferences
  long SetPref(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetPref(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetPrefStr(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  // Lists, slide shows and enabled items
  long GetConfigList(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetEnabledList(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetSlideShow(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetSlideShow(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long ShuffleSlideShow(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetAllEnabled(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetItemEnabled(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  // Current items
  long NextWaveShape(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long NextColorMap(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long NextFlowField(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetWaveShape(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetColorMap(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetFlowField(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetCurrentWaveShape(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetCurrentColorMap(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetCurrentFlowField(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  // Particles and images/videos
  long StartParticle(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long StartSprite(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long KillParticles(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long KillSprites(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long KillRunningParticles(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long KillRunningSprites(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long StartRandomParticle(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long StartRandomSprite(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetRunningList(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long RegisterExternalSprites(const ScriptArgs& inArgs, ScriptValue* outResult,
                               UtilStr* outProblem);
  long RescanFolders(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  // Display
  long SetFullscreen(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long IsFullscreen(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetFullscreenMode(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetFullscreenMode(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long BuildDisplayModeList(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long ResetOccupiedRect(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  // Audio, fonts, track text and actions
  long GetAudioSourceDesc(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetAudioSource(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long BuildAudioSourceList(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long BuildSystemFontList(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetDefaultFont(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetTrackInfo(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long SetTrackInfo(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);
  long GetSecsSinceLastSongStart(const ScriptArgs& inArgs, ScriptValue* outResult,
                                 UtilStr* outProblem);
  long Execute(const ScriptArgs& inArgs, ScriptValue* outResult, UtilStr* outProblem);

  // Shared steps
  long Step(long inKind, const ScriptArgs& inArgs, UtilStr* outProblem);
  long Choose(long inKind, const ScriptArgs& inArgs, UtilStr* outProblem);
  long StartNamed(long inKind, const ScriptArgs& inArgs, UtilStr* outProblem);
  long StartRandom(long inKind, UtilStr* outProblem);
  bool GetKind(const ScriptValue& inArg, long* outKind, UtilStr* outProblem);
  bool GetPrefID(const ScriptValue& inArg, EnginePrefID* outID, UtilStr* outProblem);

  EngineState* mState;
};
