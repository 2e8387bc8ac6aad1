#include "ctl/CtlFunctions.h"

#include "ctl/CtlChoices.h"
#include "foundation/KSError.h"
#include "toolbar/UICommands.h"

namespace {

// The longest item texts the toolbar reads from its controls: a combo box's
// selection, and an item of a list view or a preference combo box.
const long kComboItemMax = 256;
const long kListItemMax = 300;

// The flags the toolbar passes for a sprite that the current theme says
// nothing about; corvexa-ctl has no theme.
const long kSpriteFlagsWithoutTheme = long(int32(0x80000000u));

// The toolbar sends 7 (days between checks) or 0 for the update check box.
const int kUpdateCheckDays = 7;

typedef const CtlValue& V;

const CtlFunction kFunctions[] = {
    {kUIStartRandomParticle, kCtlNoValue, 0,
     [](V, char* out) { return CommandStartRandomParticle(out); }},
    {kUIStartRandomImageVideo, kCtlNoValue, 0,
     [](V, char* out) { return CommandStartRandomImageVideo(out); }},
    {kUIAlbumInfo, kCtlNoValue, 0, [](V, char* out) { return CommandAlbumInfo(out); }},

    {kUIWaveShapeToggle, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetWaveShapeSlideShow(v.mOn, out); }},
    {kUIWaveShapeList, kCtlItemName, kComboItemMax,
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIWaveShapePrev, kCtlNoValue, 0, [](V, char* out) { return CommandNextWaveShape(-1, out); }},
    {kUIWaveShapeNext, kCtlNoValue, 0, [](V, char* out) { return CommandNextWaveShape(1, out); }},
    {kUIWaveShapeInterval, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetWaveShapeInterval(v.mNumber, out); }},

    {kUIColorMapToggle, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetColorMapSlideShow(v.mOn, out); }},
    {kUIColorMapList, kCtlItemName, kComboItemMax,
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIColorMapPrev, kCtlNoValue, 0, [](V, char* out) { return CommandNextColorMap(-1, out); }},
    {kUIColorMapNext, kCtlNoValue, 0, [](V, char* out) { return CommandNextColorMap(1, out); }},
    {kUIColorMapInterval, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetColorMapInterval(v.mNumber, out); }},

    {kUIFlowFieldToggle, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetFlowFieldSlideShow(v.mOn, out); }},
    {kUIFlowFieldList, kCtlItemName, kComboItemMax,
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},
    {kUIFlowFieldPrev, kCtlNoValue, 0, [](V, char* out) { return CommandNextFlowField(-1, out); }},
    {kUIFlowFieldNext, kCtlNoValue, 0, [](V, char* out) { return CommandNextFlowField(1, out); }},
    {kUIFlowFieldInterval, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetFlowFieldInterval(v.mNumber, out); }},

    {kUIFrameRate, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetFrameRate(v.mNumber, out); }},
    {kUIResponseScale, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetResponseScaleFromPercent(v.mNumber, out); }},
    // The toolbar first lets the media player hosting the engine take the
    // foreground; from the command line there is no such window to bring up.
    {kUIFullScreen, kCtlNoValue, 0, [](V, char* out) { return CommandToggleFullScreen(out); }},
    {kUISnapshot, kCtlNoValue, 0, [](V, char* out) { return CommandSnapshot(out); }},

    // The toolbar acts on each selected item of its lists; here one item is named.
    {kUIAdvParticles, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandStartParticle(v.mText, out); }},
    {kUIAdvParticlesStart, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandStartParticle(v.mText, out); }},
    {kUIAdvParticlesStop, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandStopParticle(v.mText, out); }},
    {kUIAdvParticlesStopAll, kCtlNoValue, 0,
     [](V, char* out) { return CommandKillRunningParticles(out); }},
    {kUIAdvParticlesAutoStart, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetParticlesEnabled(v.mOn, out); }},
    {kUIAdvParticlesInterval, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetParticleInterval(v.mNumber, out); }},
    {kUIAdvParticlesDuration, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetParticleDuration(v.mNumber, out); }},

    {kUIAdvImageVideo, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandStartImageVideo(v.mText, kSpriteFlagsWithoutTheme, out); }},
    {kUIAdvImageVideoStart, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandStartImageVideo(v.mText, kSpriteFlagsWithoutTheme, out); }},
    {kUIAdvImageVideoStop, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandStopImageVideo(v.mText, out); }},
    {kUIAdvImageVideoStopAll, kCtlNoValue, 0,
     [](V, char* out) { return CommandKillRunningImageVideo(out); }},
    // The toolbar also registers its extra image/video folder again; there is
    // none here, which leaves the rescan.
    {kUIAdvImageVideoRescan, kCtlNoValue, 0,
     [](V, char* out) { return CommandRescanImageVideo(out); }},
    {kUIAdvImageVideoAutoStart, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetImageVideoEnabled(v.mOn, out); }},
    {kUIAdvImageVideoInterval, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetImageVideoInterval(v.mNumber, out); }},
    {kUIAdvImageVideoDuration, kCtlPercent, 0,
     [](V v, char* out) { return CommandSetImageVideoDuration(v.mNumber, out); }},
    // Clearing the extra folder, or choosing whether its subfolders count,
    // makes the toolbar rescan and register its folder again; without a
    // folder (corvexa-ctl keeps none) only the rescan goes to the engine.
    {kUIAdvImageVideoClearAlternateSource, kCtlNoValue, 0,
     [](V, char* out) { return CommandRescanImageVideo(out); }},
    {kUIAdvImageVideoIncludeSubfolders, kCtlOnOff, 0,
     [](V, char* out) { return CommandRescanImageVideo(out); }},

    {kUIAdvWaveShapes, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIAdvWaveShapesStart, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIAdvColorMaps, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIAdvColorMapsStart, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIAdvFlowFields, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},
    {kUIAdvFlowFieldsStart, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},

    {kUIAdvPrefCheckForUpdates, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetCheckForUpdates(v.mOn ? kUpdateCheckDays : 0, out); }},
    {kUIAdvPrefAutoTrackInfo, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetAutoTrackInfo(v.mOn, out); }},
    {kUIAdvPrefFullScreenMode, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetFullScreenMode(v.mText, out); }},
    {kUIAdvPrefAudioSource, kCtlIndex, 0,
     [](V v, char* out) { return CommandSetAudioSource(v.mNumber, out); }},
    {kUIAdvPrefTrackTextDuration, kCtlIndex, kNumTrackTextDurations,
     [](V v, char* out) {
       return CommandSetTrackTextDuration(TrackTextDurationFromIndex(v.mNumber), out);
     }},
    {kUIAdvPrefTrackTextAppearance, kCtlIndex, kNumTrackTextAppearances,
     [](V v, char* out) { return CommandSetTrackTextAppearance(v.mNumber, out); }},
    {kUIAdvPrefTrackTextFont, kCtlItemName, kListItemMax,
     [](V v, char* out) { return CommandSetTrackTextFont(v.mText, out); }},
    {kUIAdvPrefTrackTextSize, kCtlIndex, kNumTrackTextSizes,
     [](V v, char* out) {
       return CommandSetTrackTextSize(TrackTextSizeFromIndex(v.mNumber), out);
     }},
    {kUIAdvPrefLineBoost, kCtlIndex, kNumLineBoostChoices,
     [](V v, char* out) { return CommandSetLineOffset(LineOffsetFromIndex(v.mNumber), out); }},
    // The toolbar reads both frame-limit combo boxes; from the command line only
    // one is given, which reads as a skin without the other.
    {kUIAdvPrefFrameXLimit, kCtlIndex, kNumFrameLimitChoices,
     [](V v, char* out) {
       return CommandSetFrameSizeLimit(FrameLimitFromIndex(v.mNumber), kFrameLimitWithoutChoice,
                                       out);
     }},
    {kUIAdvPrefFrameYLimit, kCtlIndex, kNumFrameLimitChoices,
     [](V v, char* out) {
       return CommandSetFrameSizeLimit(kFrameLimitWithoutChoice, FrameLimitFromIndex(v.mNumber),
                                       out);
     }},
    {kUIAdvPrefAutoLineScale, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetAutoLineScale(v.mOn, out); }},
    {kUIAdvPrefAllowRemoteControl, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetAllowRemoteControl(v.mOn, out); }},
    {kUIAdvPrefAutoOpenToolbar, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetAutoOpenToolbar(v.mOn, out); }},
    {kUIAdvPrefFlowFieldUnions, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetUnionSlideShow(v.mOn, out); }},
    {kUIAdvPrefFlowFieldTransitions, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetFlowFieldTransitions(v.mOn, out); }},
    {kUIAdvPrefFlowFieldSmoothSwitch, kCtlOnOff, 0,
     [](V v, char* out) { return CommandSetFlowFieldSmoothSwitch(v.mOn, out); }},

    {kUINull, kCtlNoValue, 0, nullptr},
};

const CtlFunction* FindByValue(eUIFunction inFunction) {
  for (const CtlFunction* f = kFunctions; f->mFunction != kUINull; ++f) {
    if (f->mFunction == inFunction) {
      return f;
    }
  }
  return nullptr;
}

// A run of 1 to 9 decimal digits, so that the number fits a long everywhere.
bool ReadWholeNumber(const char* inText, long* outNumber) {
  long number = 0;
  int digits = 0;
  for (; *inText >= '0' && *inText <= '9'; ++inText, ++digits) {
    number = number * 10 + (*inText - '0');
  }
  if (*inText != 0 || digits == 0 || digits > 9) {
    return false;
  }
  *outNumber = number;
  return true;
}

bool ReadOnOff(const char* inText, bool* outOn) {
  static const char* const kOn[] = {"on", "true", "yes", "1"};
  static const char* const kOff[] = {"off", "false", "no", "0"};
  for (int i = 0; i < 4; ++i) {
    if (UtilStr::compare(inText, kOn[i], false) == 0) {
      *outOn = true;
      return true;
    }
    if (UtilStr::compare(inText, kOff[i], false) == 0) {
      *outOn = false;
      return true;
    }
  }
  return false;
}

// A slider position; "50%" reads as 50.
bool ReadPercent(const char* inText, long* outPct) {
  UtilStr digits(inText);
  if (digits.length() > 1 && digits.getCStr()[digits.length() - 1] == '%') {
    digits.TruncR(1);
  }
  return ReadWholeNumber(digits.getCStr(), outPct) && *outPct <= 100;
}

bool ReadValue(const CtlFunction& inFunction, const char* inText, CtlValue* outValue) {
  switch (inFunction.mValueKind) {
    case kCtlNoValue:
      return true;
    case kCtlOnOff:
      return ReadOnOff(inText, &outValue->mOn);
    case kCtlPercent:
      return ReadPercent(inText, &outValue->mNumber);
    case kCtlItemName: {
      long length = long(UtilStr(inText).length());
      return length > 0 && length <= inFunction.mLimit;
    }
    case kCtlIndex:
      return ReadWholeNumber(inText, &outValue->mNumber) &&
             (inFunction.mLimit == 0 || outValue->mNumber < inFunction.mLimit);
  }
  return false;
}

}  // namespace

void DescribeCtlValue(const CtlFunction& inFunction, UtilStr* outText) {
  switch (inFunction.mValueKind) {
    case kCtlNoValue:
      outText->Append("no value");
      break;
    case kCtlOnOff:
      outText->Append("on or off");
      break;
    case kCtlPercent:
      outText->Append("a percentage from 0 to 100");
      break;
    case kCtlItemName:
      outText->AppendVA("an item name of at most %ld characters", inFunction.mLimit);
      break;
    case kCtlIndex:
      if (inFunction.mLimit > 0) {
        outText->AppendVA("an index from 0 to %ld", inFunction.mLimit - 1);
      } else {
        outText->Append("an index from 0");
      }
      break;
  }
}

const CtlFunction* CtlFunctionList() {
  return kFunctions;
}

const char* SkinNameOf(eUIFunction inFunction) {
  for (const TokenMap* entry = sFunctionMap; entry->Name != nullptr; ++entry) {
    if (entry->Value == uint32(inFunction)) {
      return entry->Name;
    }
  }
  return nullptr;
}

bool FindCtlFunction(const char* inSkinName, CtlFunction* outFunction) {
  eUIFunction function;
  if (!LookupUIFunction(inSkinName, &function)) {
    return false;
  }
  const CtlFunction* found = FindByValue(function);
  if (found == nullptr) {
    return false;
  }
  *outFunction = *found;
  return true;
}

long BuildFunctionScript(const char* inSkinName, const char* inValue, char* outCmd,
                         UtilStr* outError) {
  eUIFunction function;
  if (!LookupUIFunction(inSkinName, &function)) {
    outError->AppendVA("unknown function \"%s\"", inSkinName);
    return kKSErr_Param;
  }
  const char* name = SkinNameOf(function);
  const CtlFunction* info = FindByValue(function);
  if (info == nullptr) {
    outError->AppendVA("\"%s\" acts on the toolbar alone and sends nothing to the engine", name);
    return kKSErr_Param;
  }
  if (info->mValueKind == kCtlNoValue && inValue != nullptr) {
    outError->AppendVA("\"%s\" takes no value", name);
    return kKSErr_Param;
  }
  CtlValue value = {0, false, inValue != nullptr ? inValue : ""};
  if (info->mValueKind != kCtlNoValue &&
      (inValue == nullptr || !ReadValue(*info, inValue, &value))) {
    outError->AppendVA("\"%s\" needs ", name);
    DescribeCtlValue(*info, outError);
    if (inValue != nullptr) {
      outError->AppendVA(", not \"%s\"", inValue);
    }
    return kKSErr_Param;
  }
  info->mMakeScript(value, outCmd);
  return 0;
}
