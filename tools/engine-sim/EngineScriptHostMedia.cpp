// Script functions for particles, images/videos, the display, audio, fonts,
// track text and one-shot actions.
#include <cstdlib>
#include <cstring>

#include "engine-sim/EngineConstants.h"
#include "engine-sim/EngineScriptHost.h"
#include "foundation/KSError.h"

// --- Particles and images/videos ---

long EngineScriptHost::StartNamed(long inKind, const ScriptArgs& inArgs, UtilStr* outProblem) {
  UtilStr name = inArgs[0].AsText();
  long err = mState->Start(inKind, name);
  if (err) {
    outProblem->AppendVA("no item \"%s\"", name.getCStr());
  }
  return err;
}

long EngineScriptHost::StartRandom(long inKind, UtilStr* outProblem) {
  long err = mState->StartRandom(inKind);
  if (err) {
    outProblem->Append("no item is enabled");
  }
  return err;
}

// StartParticle(name, flags)
long EngineScriptHost::StartParticle(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return StartNamed(kConfigParticle, inArgs, outProblem);
}

// StartSprite(name, 0, flags)
long EngineScriptHost::StartSprite(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  return StartNamed(kConfigSprite, inArgs, outProblem);
}

// Kill…(name, immediately, fade-out seconds): the fade is not modelled.
long EngineScriptHost::KillParticles(const ScriptArgs& inArgs, ScriptValue*, UtilStr*) {
  mState->Kill(kConfigParticle, inArgs[0].AsText());
  return 0;
}

long EngineScriptHost::KillSprites(const ScriptArgs& inArgs, ScriptValue*, UtilStr*) {
  mState->Kill(kConfigSprite, inArgs[0].AsText());
  return 0;
}

long EngineScriptHost::KillRunningParticles(const ScriptArgs&, ScriptValue*, UtilStr*) {
  mState->KillAll(kConfigParticle);
  return 0;
}

long EngineScriptHost::KillRunningSprites(const ScriptArgs&, ScriptValue*, UtilStr*) {
  mState->KillAll(kConfigSprite);
  return 0;
}

long EngineScriptHost::StartRandomParticle(const ScriptArgs&, ScriptValue*, UtilStr* outProblem) {
  return StartRandom(kConfigParticle, outProblem);
}

long EngineScriptHost::StartRandomSprite(const ScriptArgs&, ScriptValue*, UtilStr* outProblem) {
  return StartRandom(kConfigSprite, outProblem);
}

long EngineScriptHost::GetRunningList(const ScriptArgs& inArgs, ScriptValue* outResult,
                                      UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  mState->GetRunning(kind, outResult);
  return 0;
}

// RegisterExternalSprites("folder", with subfolders)
long EngineScriptHost::RegisterExternalSprites(const ScriptArgs& inArgs, ScriptValue*,
                                               UtilStr* outProblem) {
  UtilStr folder = inArgs[0].AsText();
  bool subfolders = inArgs.size() > 1 && inArgs[1].IsTrue();
  long err = mState->RegisterExternalSprites(folder, subfolders);
  if (err) {
    outProblem->AppendVA("cannot read folder \"%s\" (error %ld)", folder.getCStr(), err);
  }
  return err;
}

long EngineScriptHost::RescanFolders(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  long kind;
  if (!GetKind(inArgs[0], &kind, outProblem)) {
    return kKSErr_Param;
  }
  long err = mState->Rescan(kind);
  if (err) {
    outProblem->AppendVA("cannot read folder \"%s\" (error %ld)",
                         mState->ExternalFolder().getCStr(), err);
  }
  return err;
}

// --- Display ---

long EngineScriptHost::SetFullscreen(const ScriptArgs& inArgs, ScriptValue*, UtilStr*) {
  mState->SetFullscreen(inArgs[0].IsTrue());
  return 0;
}

long EngineScriptHost::IsFullscreen(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue(mState->IsFullscreen() ? 1.0 : 0.0);
  return 0;
}

long EngineScriptHost::SetFullscreenMode(const ScriptArgs& inArgs, ScriptValue*,
                                         UtilStr* outProblem) {
  UtilStr mode = inArgs[0].AsText();
  long err = mState->SetFullscreenMode(mode);
  if (err) {
    outProblem->AppendVA("no display mode \"%s\"", mode.getCStr());
  }
  return err;
}

long EngineScriptHost::GetFullscreenMode(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue(mState->FullscreenMode());
  return 0;
}

long EngineScriptHost::BuildDisplayModeList(const ScriptArgs& inArgs, ScriptValue* outResult,
                                            UtilStr*) {
  mState->GetDisplayModes(inArgs[0].AsInt(), outResult);
  return 0;
}

// The part of the frame that the visuals may use is worked out afresh on the
// next frame; there is nothing to keep.
long EngineScriptHost::ResetOccupiedRect(const ScriptArgs&, ScriptValue*, UtilStr*) {
  return 0;
}

// --- Audio, fonts, track text and actions ---

long EngineScriptHost::GetAudioSourceDesc(const ScriptArgs& inArgs, ScriptValue* outResult,
                                          UtilStr*) {
  *outResult = ScriptValue(mState->AudioSourceDesc(inArgs[0].AsInt()));
  return 0;
}

long EngineScriptHost::SetAudioSource(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  long err = mState->SetAudioSource(inArgs[0].AsInt());
  if (err) {
    outProblem->AppendVA("no audio source %d", int(inArgs[0].AsInt()));
  }
  return err;
}

long EngineScriptHost::BuildAudioSourceList(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue::EmptyList();
  for (long i = 0; i < mState->CountAudioSources(); i++) {
    UtilStr desc = mState->AudioSourceDesc(i);
    outResult->AddListItem(desc.getCStr(), desc.length());
  }
  return 0;
}

long EngineScriptHost::BuildSystemFontList(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  mState->GetFonts(outResult);
  return 0;
}

// SetDefaultFont(name, size, flags)
long EngineScriptHost::SetDefaultFont(const ScriptArgs& inArgs, ScriptValue*, UtilStr*) {
  long flags = inArgs.size() > 2 ? inArgs[2].AsInt() : 0;
  mState->SetDefaultFont(inArgs[0].AsText(), inArgs[1].AsInt(), flags);
  return 0;
}

long EngineScriptHost::GetTrackInfo(const ScriptArgs&, ScriptValue* outResult, UtilStr*) {
  *outResult = ScriptValue(mState->TrackInfo());
  return 0;
}

long EngineScriptHost::SetTrackInfo(const ScriptArgs& inArgs, ScriptValue*, UtilStr*) {
  mState->SetTrackInfo(inArgs[0].AsText());
  return 0;
}

long EngineScriptHost::GetSecsSinceLastSongStart(const ScriptArgs&, ScriptValue* outResult,
                                                 UtilStr*) {
  *outResult = ScriptValue(mState->SecsSinceSongStart());
  return 0;
}

// Execute(action) or Execute(action action …): all the actions, in order,
// or none of them when one is unknown.
long EngineScriptHost::Execute(const ScriptArgs& inArgs, ScriptValue*, UtilStr* outProblem) {
  std::vector<long> actions;
  if (inArgs[0].IsList()) {
    UtilStr items = inArgs[0].AsText();
    for (const char* item = items.getCStr(); item < items.getCStr() + items.length();
         item += std::strlen(item) + 1) {
      actions.push_back(std::strtol(item, nullptr, 10));
    }
  } else {
    actions.push_back(inArgs[0].AsInt());
  }
  for (long action : actions) {
    if (action < kActionKillTrackText || action > kActionAdjustLineScale) {
      outProblem->AppendVA("no action %ld", action);
      return kKSErr_Param;
    }
  }
  for (long action : actions) {
    mState->Execute(action);
  }
  return 0;
}
