// Preferences, display, audio, fonts and track text.
#include <cstdlib>

#include "engine-sim/EngineConstants.h"
#include "engine-sim/EngineState.h"
#include "foundation/KSError.h"

// --- Preferences ---

long EngineState::SetPref(long inID, const ScriptValue& inValue) {
  if (!EnginePrefs::IsValid(inID)) {
    return kKSErr_Param;
  }
  EnginePrefID pref = EnginePrefID(inID);
  // The audio source is an index into the sources there are: a preference
  // pointing at none would leave the source's description empty.
  if (pref == kPrefAudioInputSource &&
      (inValue.AsInt() < 0 || inValue.AsInt() >= CountAudioSources())) {
    return kKSErr_IndexOutOfBounds;
  }
  mPrefs.Set(pref, inValue);
  // A shorter interval takes effect now, not only after the step under way.
  for (long kind = 0; kind < kNumConfigKinds; kind++) {
    if (mShows[kind].mOn && IntervalPref(kind) == pref) {
      int64 due = mShows[kind].mDueMS;
      Schedule(kind);
      if (due < mShows[kind].mDueMS) {
        mShows[kind].mDueMS = due;
      }
    }
  }
  return 0;
}

double EngineState::PrefNumber(EnginePrefID inID) {
  const ScriptValue& value = mPrefs.Get(inID);
  if (!value.IsText()) {
    return value.AsNumber();
  }
  UtilStr text = value.AsText();
  ScriptValue result;
  if (mExpressions.Evaluate(text.getCStr(), text.length(), &result, nullptr) == 0) {
    return result.AsNumber();
  }
  return std::strtod(text.getCStr(), nullptr);
}

// --- Display ---

long EngineState::SetFullscreenMode(const UtilStr& inMode) {
  for (const EngineDisplayDevice& device : mContent.mDisplays) {
    for (const UtilStr& mode : device.mModes) {
      if (!mode.Equals(inMode, false)) {
        continue;
      }
      if (!mode.Equals(mFullscreenMode)) {
        mFullscreenMode = mode;
        Notify(kNotifyFullscreenMode, mode);
      }
      return 0;
    }
  }
  return kKSErr_UnsupportedMode;
}

void EngineState::GetDisplayModes(long inDevice, ScriptValue* outList) const {
  *outList = ScriptValue::EmptyList();
  if (inDevice < 0 || inDevice >= long(mContent.mDisplays.size())) {
    return;
  }
  for (const UtilStr& mode : mContent.mDisplays[inDevice].mModes) {
    outList->AddListItem(mode.getCStr(), mode.length());
  }
}

// --- Audio and fonts ---

UtilStr EngineState::AudioSourceDesc(long inIndex) const {
  if (inIndex < 0 || inIndex >= CountAudioSources()) {
    return UtilStr();
  }
  return mContent.mAudioSources[inIndex];
}

long EngineState::SetAudioSource(long inIndex) {
  if (inIndex < 0 || inIndex >= CountAudioSources()) {
    return kKSErr_IndexOutOfBounds;
  }
  mPrefs.Set(kPrefAudioInputSource, ScriptValue(double(inIndex)));
  if (inIndex != mAudioSource) {
    mAudioSource = inIndex;
    UtilStr body;
    body.AppendInt(inIndex);
    Notify(kNotifyAudioSource, body);
  }
  return 0;
}

void EngineState::GetFonts(ScriptValue* outList) const {
  *outList = ScriptValue::EmptyList();
  for (const UtilStr& font : mContent.mFonts) {
    outList->AddListItem(font.getCStr(), font.length());
  }
}

void EngineState::SetDefaultFont(const UtilStr& inName, long inSize, long inFlags) {
  mFontName = inName;
  mFontSize = inSize;
  mFontFlags = inFlags;
}

// --- Track text and one-shot actions ---

void EngineState::SetTrackInfo(const UtilStr& inInfo) {
  mContent.mTrackInfo = inInfo;
  mSongStartMS = mNowMS;
  mTrackTextUntilMS = mNowMS;
  if (PrefNumber(kPrefTrackTextAuto) != 0) {
    Execute(kActionStartTrackText);
  }
}

long EngineState::Execute(long inAction) {
  switch (inAction) {
    case kActionKillTrackText:
      mTrackTextUntilMS = mNowMS;
      return 0;
    case kActionStartTrackText:
      mTrackTextUntilMS = mNowMS + int64(PrefNumber(kPrefTrackTextDuration) * 1000);
      return 0;
    case kActionTakeScreenshot:
      mScreenshots++;
      return 0;
    case kActionAdjustLineScale:
      return 0;  // the line scale follows the frame on the next frame drawn
    default:
      return kKSErr_Param;
  }
}
