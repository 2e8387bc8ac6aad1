#include "engine-sim/EngineScriptHost.h"

#include "engine-sim/EngineConstants.h"
#include "foundation/KSError.h"

const EngineScriptHost::Function EngineScriptHost::sFunctions[] = {
    {"SetPref", 2, &EngineScriptHost::SetPref},
    {"GetPref", 1, &EngineScriptHost::GetPref},
    {"GetPrefStr", 1, &EngineScriptHost::GetPrefStr},
    {"GetConfigList", 1, &EngineScriptHost::GetConfigList},
    {"GetEnabledList", 1, &EngineScriptHost::GetEnabledList},
    {"SetSlideShow", 2, &EngineScriptHost::SetSlideShow},
    {"GetSlideShow", 1, &EngineScriptHost::GetSlideShow},
    {"ShuffleSlideShow", 1, &EngineScriptHost::ShuffleSlideShow},
    {"SetAllEnabled", 2, &EngineScriptHost::SetAllEnabled},
    {"SetItemEnabled", 3, &EngineScriptHost::SetItemEnabled},
    {"NextWaveShape", 1, &EngineScriptHost::NextWaveShape},
    {"NextColorMap", 1, &EngineScriptHost::NextColorMap},
    {"NextFlowField", 1, &EngineScriptHost::NextFlowField},
    {"SetWaveShape", 1, &EngineScriptHost::SetWaveShape},
    {"SetColorMap", 1, &EngineScriptHost::SetColorMap},
    {"SetFlowField", 1, &EngineScriptHost::SetFlowField},
    {"SetNextFlowField", 1, &EngineScriptHost::SetFlowField},
    {"GetCurrentWaveShape", 0, &EngineScriptHost::GetCurrentWaveShape},
    {"GetCurrentColorMap", 0, &EngineScriptHost::GetCurrentColorMap},
    {"GetCurrentFlowField", 0, &EngineScriptHost::GetCurrentFlowField},
    {"StartParticle", 1, &EngineScriptHost::StartParticle},
    {"StartSprite", 1, &EngineScriptHost::StartSprite},
    {"KillParticles", 1, &EngineScriptHost::KillParticles},
    {"KillSprites", 1, &EngineScriptHost::KillSprites},
    {"KillRunningParticles", 0, &EngineScriptHost::KillRunningParticles},
    {"KillRunningSprites", 0, &EngineScriptHost::KillRunningSprites},
    {"StartRandomParticle", 0, &EngineScriptHost::StartRandomParticle},
    {"StartRandomSprite", 0, &EngineScriptHost::StartRandomSprite},
    {"GetRunningList", 1, &EngineScriptHost::GetRunningList},
    {"RegisterExternalSprites", 1, &EngineScriptHost::RegisterExternalSprites},
    {"RescanFolders", 1, &EngineScriptHost::RescanFolders},
    {"SetFullscreen", 1, &EngineScriptHost::SetFullscreen},
    {"IsFullscreen", 0, &EngineScriptHost::IsFullscreen},
    {"SetFullscreenMode", 1, &EngineScriptHost::SetFullscreenMode},
    {"GetFullscreenMode", 0, &EngineScriptHost::GetFullscreenMode},
    {"BuildDisplayModeList", 1, &EngineScriptHost::BuildDisplayModeList},
    {"ResetOccupiedRect", 0, &EngineScriptHost::ResetOccupiedRect},
    {"GetAudioSourceDesc", 1, &EngineScriptHost::GetAudioSourceDesc},
    {"SetAudioSource", 1, &EngineScriptHost::SetAudioSource},
    {"BuildAudioSourceList", 0, &EngineScriptHost::BuildAudioSourceList},
    {"BuildSystemFontList", 0, &EngineScriptHost::BuildSystemFontList},
    {"SetDefaultFont", 2, &EngineScriptHost::SetDefaultFont},
    {"GetTrackInfo", 0, &EngineScriptHost::GetTrackInfo},
    {"SetTrackInfo", 1, &EngineScriptHost::SetTrackInfo},
    {"GetSecsSinceLastSongStart", 0, &EngineScriptHost::GetSecsSinceLastSongStart},
    {"Execute", 1, &EngineScriptHost::Execute},
};

bool EngineScriptHost::GetConstant(const UtilStr& inName, ScriptValue* outValue) {
  return LookupEngineConstant(inName, outValue);
}

long EngineScriptHost::CallFunction(const UtilStr& inName, const ScriptArgs& inArgs,
                                    ScriptValue* outResult, UtilStr* outProblem) {
  for (const Function& function : sFunctions) {
    if (inName != function.mName) {
      continue;
    }
    if (inArgs.size() < function.mMinArgs) {
      outProblem->AppendVA("needs %zu arguments, has %zu", function.mMinArgs, inArgs.size());
      return kKSErr_Param;
    }
    return (this->*function.mHandler)(inArgs, outResult, outProblem);
  }
  return kKSErr_SymbolNotFound;
}

bool EngineScriptHost::GetKind(const ScriptValue& inArg, long* outKind, UtilStr* outProblem) {
  *outKind = inArg.AsInt();
  if (!IsConfigKind(*outKind) || !inArg.IsNumber()) {
    outProblem->AppendVA("no configuration kind %s", inArg.AsText().getCStr());
    return false;
  }
  return true;
}

bool EngineScriptHost::GetPrefID(const ScriptValue& inArg, EnginePrefID* outID,
                                 UtilStr* outProblem) {
  long id = inArg.AsInt();
  if (!EnginePrefs::IsValid(id)) {
    outProblem->AppendVA("no preference %ld", id);
    return false;
  }
  *outID = EnginePrefID(id);
  return true;
}

// --- Preferences ---

long EngineScriptHost::SetPref(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  // A third argument asks for the preference to be saved; this engine keeps
  // its preferences for the run only.
  EnginePrefID id;
  if (!GetPrefID(inArgs[0], &id, outProblem)) {
    return kKSErr_Param;
  }
  long err = mState->SetPref(id, inArgs[1]);
  if (err) {
    outProblem->AppendVA("%s cannot be %s", EnginePrefs::Name(id), inArgs[1].AsText().getCStr());
  }
  return err;
}

long EngineScriptHost::GetPref(const ScriptArgs& inArgs, ScriptValue* outResult,
                               UtilStr* outProblem) {
  EnginePrefID id;
  if (!GetPrefID(inArgs[0], &id, outProblem)) {
    return kKSErr_Param;
  }
  *outResult = ScriptValue(mState->PrefNumber(id));
  return 0;
}

long EngineScriptHost::GetPrefStr(const ScriptArgs& inArgs, ScriptValue* outResult,
                                  UtilStr* outProblem) {
  EnginePrefID id;
  if (!GetPrefID(inArgs[0], &id, outProblem)) {
    return kKSErr_Param;
  }
  *outResult = ScriptValue(mState->GetPref(id).AsText());
  return 0;
}

// --- Lists, slide shows and enabled items ---

long EngineScriptHost::GetConfigList(const ScriptArgs& inArgs, ScriptValue* outResult,
                                     UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  *outResult = ScriptValue::EmptyList();
  mState->Items(kind).AppendNames(outResult);
  return 0;
}

long EngineScriptHost::GetEnabledList(const ScriptArgs& inArgs, ScriptValue* outResult,
                                      UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  *outResult = ScriptValue::EmptyList();
  mState->Items(kind).AppendNames(outResult, true);
  return 0;
}

long EngineScriptHost::SetSlideShow(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  mState->SetSlideShow(kind, inArgs[1].IsTrue());
  return 0;
}

long EngineScriptHost::GetSlideShow(const ScriptArgs& inArgs, ScriptValue* outResult,
                                    UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  *outResult = ScriptValue(mState->GetSlideShow(kind) ? 1.0 : 0.0);
  return 0;
}

long EngineScriptHost::ShuffleSlideShow(const ScriptArgs& inArgs, ScriptValue*,
                                        UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  mState->ShuffleSlideShow(kind);
  return 0;
}

long EngineScriptHost::SetAllEnabled(const ScriptArgs& inArgs, ScriptValue*, UtilStr*) {
  mState->SetAllEnabled(inArgs[0].AsInt(), inArgs[1].IsTrue());
  return 0;
}

long EngineScriptHost::SetItemEnabled(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  UtilStr name = inArgs[1].AsText();
  long err = mState->SetItemEnabled(inArgs[0].AsInt(), name, inArgs[2].IsTrue());
  if (err) {
    outProblem->AppendVA("no item \"%s\" in mask %d", name.getCStr(), int(inArgs[0].AsInt()));
  }
  return err;
}

// --- Current items ---

// Next…(direction, morph style, …): the morph arguments only shape the
// transition, which nobody sees here.
long EngineScriptHost::Step(long inKind, const ScriptArgs& inArgs, UtilStr* outProblem) {
  int direction = inArgs[0].AsNumber() < 0 ? -1 : 1;
  long err = mState->Step(inKind, direction);
  if (err) {
    outProblem->Append("no item is enabled");
  }
  return err;
}

long EngineScriptHost::Choose(long inKind, const ScriptArgs& inArgs, UtilStr* outProblem) {
  UtilStr name = inArgs[0].AsText();
  long err = mState->SetCurrent(inKind, name);
  if (err) {
    outProblem->AppendVA("no item \"%s\"", name.getCStr());
  }
  return err;
}

long EngineScriptHost::NextWaveShape(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return Step(kConfigWaveShape, inArgs, outProblem);
}

long EngineScriptHost::NextColorMap(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return Step(kConfigColorMap, inArgs, outProblem);
}

long EngineScriptHost::NextFlowField(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return Step(kConfigFlowField, inArgs, outProblem);
}

long EngineScriptHost::SetWaveShape(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return Choose(kConfigWaveShape, inArgs, outProblem);
}

long EngineScriptHost::SetColorMap(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return Choose(kConfigColorMap, inArgs, outProblem);
}

// Also SetNextFlowField(name, second name, …): a smooth switch ends on the
// same flow field as a direct one.
long EngineScriptHost::SetFlowField(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return Choose(kConfigFlowField, inArgs, outProblem);
}

long EngineScriptHost::GetCurrentWaveShape(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue(mState->CurrentName(kConfigWaveShape));
  return 0;
}

long EngineScriptHost::GetCurrentColorMap(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue(mState->CurrentName(kConfigColorMap));
  return 0;
}

long EngineScriptHost::GetCurrentFlowField(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue(mState->CurrentName(kConfigFlowField));
  return 0;
}
