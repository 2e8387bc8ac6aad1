#include "toolbar/UIDispatchScripts.h"

#include "toolbar/PrefChoices.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/UICommands.h"

namespace {

typedef const UIValue& V;

// A frame-limit combo box's selection as the limit sent; a dimension without
// a combo box is left all but unlimited.
long FrameLimitOfBox(long inIndex) {
  return inIndex == kNoFrameLimitBox ? kFrameLimitWithoutChoice : FrameLimitFromIndex(inIndex);
}

// Where the value comes from: the reporting control, a combo box, or a list
// view.
constexpr UIValueSource kSender = {kUIFromSender, kUINull};
constexpr UIValueSource Box(eUIFunction inFunction) {
  return {kUIFromBox, inFunction};
}
constexpr UIValueSource BoxIndex(eUIFunction inFunction) {
  return {kUIFromBoxIndex, inFunction};
}
constexpr UIValueSource SelectedOf(eUIFunction inList) {
  return {kUIFromSelectedItems, inList};
}
constexpr UIValueSource CurrentOf(eUIFunction inList) {
  return {kUIFromCurrentItem, inList};
}

const UIScriptEntry kEntries[] = {
    {kUIStartRandomParticle, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandStartRandomParticle(out); }},
    {kUIStartRandomImageVideo, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandStartRandomImageVideo(out); }},
    {kUIAlbumInfo, kUIValueNone, 0, kSender, [](V, char* out) { return CommandAlbumInfo(out); }},

    // The window also shows the state on the bound toggle when another
    // control reported it.
    {kUIWaveShapeToggle, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetWaveShapeSlideShow(v.mOn, out); }},
    {kUIWaveShapeList, kUIValueItemText, kComboItemTextMax, Box(kUIWaveShapeList),
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIWaveShapePrev, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandNextWaveShape(-1, out); }},
    {kUIWaveShapeNext, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandNextWaveShape(1, out); }},
    {kUIWaveShapeInterval, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetWaveShapeInterval(v.mNumber, out); },
     kPref_WaveShapeInterval},

    {kUIColorMapToggle, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetColorMapSlideShow(v.mOn, out); }},
    {kUIColorMapList, kUIValueItemText, kComboItemTextMax, Box(kUIColorMapList),
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIColorMapPrev, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandNextColorMap(-1, out); }},
    {kUIColorMapNext, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandNextColorMap(1, out); }},
    {kUIColorMapInterval, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetColorMapInterval(v.mNumber, out); },
     kPref_ColorMapInterval},

    {kUIFlowFieldToggle, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetFlowFieldSlideShow(v.mOn, out); }},
    {kUIFlowFieldList, kUIValueItemText, kComboItemTextMax, Box(kUIFlowFieldList),
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},
    {kUIFlowFieldPrev, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandNextFlowField(-1, out); }},
    {kUIFlowFieldNext, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandNextFlowField(1, out); }},
    {kUIFlowFieldInterval, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetFlowFieldInterval(v.mNumber, out); },
     kPref_FlowFieldInterval},

    {kUIFrameRate, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetFrameRate(v.mNumber, out); }, kPref_FrameRate},
    {kUIResponseScale, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetResponseScaleFromPercent(v.mNumber, out); },
     kPref_ResponseScale},
    // The window first lets the media player hosting the engine take the
    // foreground, so that the full-screen window can come to the front.
    {kUIFullScreen, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandToggleFullScreen(out); }},
    {kUISnapshot, kUIValueNone, 0, kSender, [](V, char* out) { return CommandSnapshot(out); }},

    // The buttons act on the list's selected items.
    {kUIAdvParticles, kUIValueItemText, kListItemTextMax, SelectedOf(kUIAdvParticles),
     [](V v, char* out) { return CommandStartParticle(v.mText, out); }},
    {kUIAdvParticlesStart, kUIValueItemText, kListItemTextMax, SelectedOf(kUIAdvParticles),
     [](V v, char* out) { return CommandStartParticle(v.mText, out); }},
    {kUIAdvParticlesStop, kUIValueItemText, kListItemTextMax, SelectedOf(kUIAdvParticles),
     [](V v, char* out) { return CommandStopParticle(v.mText, out); }},
    {kUIAdvParticlesStopAll, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandKillRunningParticles(out); }},
    {kUIAdvParticlesAutoStart, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetParticlesEnabled(v.mOn, out); },
     kPref_ParticlesAutoStart},
    {kUIAdvParticlesInterval, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetParticleInterval(v.mNumber, out); },
     kPref_ParticlesInterval},
    {kUIAdvParticlesDuration, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetParticleDuration(v.mNumber, out); },
     kPref_ParticlesDuration},

    {kUIAdvImageVideo, kUIValueItemText, kListItemTextMax, SelectedOf(kUIAdvImageVideo),
     [](V v, char* out) { return CommandStartImageVideo(v.mText, v.mSpriteFlags, out); }},
    {kUIAdvImageVideoStart, kUIValueItemText, kListItemTextMax, SelectedOf(kUIAdvImageVideo),
     [](V v, char* out) { return CommandStartImageVideo(v.mText, v.mSpriteFlags, out); }},
    {kUIAdvImageVideoStop, kUIValueItemText, kListItemTextMax, SelectedOf(kUIAdvImageVideo),
     [](V v, char* out) { return CommandStopImageVideo(v.mText, out); }},
    {kUIAdvImageVideoStopAll, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandKillRunningImageVideo(out); }},
    {kUIAdvImageVideoAutoStart, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetImageVideoEnabled(v.mOn, out); },
     kPref_ImageVideoAutoStart},
    {kUIAdvImageVideoInterval, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetImageVideoInterval(v.mNumber, out); },
     kPref_ImageVideoInterval},
    {kUIAdvImageVideoDuration, kUIValuePercent, 0, kSender,
     [](V v, char* out) { return CommandSetImageVideoDuration(v.mNumber, out); },
     kPref_ImageVideoDuration},
    // Rescanning, clearing the extra folder and choosing whether its subfolders
    // count all start with a rescan. The window does these itself: it follows
    // the rescan with the registration of the extra folder it keeps in its
    // preferences, when there is one, and reloads its list.
    {kUIAdvImageVideoRescan, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandRescanImageVideo(out); }},
    {kUIAdvImageVideoClearAlternateSource, kUIValueNone, 0, kSender,
     [](V, char* out) { return CommandRescanImageVideo(out); }},
    {kUIAdvImageVideoIncludeSubfolders, kUIValueOnOff, 0, kSender,
     [](V, char* out) { return CommandRescanImageVideo(out); }, kPref_ImageVideoSubfolders},

    {kUIAdvWaveShapes, kUIValueItemText, kListItemTextMax, CurrentOf(kUIAdvWaveShapes),
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIAdvWaveShapesStart, kUIValueItemText, kListItemTextMax, CurrentOf(kUIAdvWaveShapes),
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIAdvColorMaps, kUIValueItemText, kListItemTextMax, CurrentOf(kUIAdvColorMaps),
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIAdvColorMapsStart, kUIValueItemText, kListItemTextMax, CurrentOf(kUIAdvColorMaps),
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIAdvFlowFields, kUIValueItemText, kListItemTextMax, CurrentOf(kUIAdvFlowFields),
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},
    {kUIAdvFlowFieldsStart, kUIValueItemText, kListItemTextMax, CurrentOf(kUIAdvFlowFields),
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},

    // The toolbar's own preferences; the window acts on the first two as well.
    {kUIAdvPrefUseToolTips, kUIValueOnOff, 0, kSender, nullptr, kPref_ToolTips},
    {kUIAdvPrefAlwaysOnTop, kUIValueOnOff, 0, kSender, nullptr, kPref_AlwaysOnTop},
    {kUIAdvPrefAutoCloseToolbar, kUIValueOnOff, 0, kSender, nullptr, kPref_AutoCloseToolbar},
    {kUIAdvPrefStartToolbarMinimized, kUIValueOnOff, 0, kSender, nullptr, kPref_StartMinimized},
    {kUIAdvPrefDeckAutoStart, kUIValueOnOff, 0, kSender, nullptr, kPref_DeckAutoStart},

    // The days between update checks are kept, not the check box's state.
    {kUIAdvPrefCheckForUpdates, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetCheckForUpdates(v.mOn ? kUpdateCheckDays : 0, out); },
     kPref_UpdateCheckDays, kUpdateCheckDays},
    {kUIAdvPrefAutoTrackInfo, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetAutoTrackInfo(v.mOn, out); }},
    {kUIAdvPrefFullScreenMode, kUIValueItemText, kListItemTextMax, Box(kUIAdvPrefFullScreenMode),
     [](V v, char* out) { return CommandSetFullScreenMode(v.mText, out); }},
    {kUIAdvPrefAudioSource, kUIValueIndex, 0, Box(kUIAdvPrefAudioSource),
     [](V v, char* out) { return CommandSetAudioSource(v.mNumber, out); }},
    // Without a selection the shortest duration is sent.
    {kUIAdvPrefTrackTextDuration, kUIValueIndex, kNumTrackTextDurations,
     BoxIndex(kUIAdvPrefTrackTextDuration),
     [](V v,
        char*
            out) { return CommandSetTrackTextDuration(TrackTextDurationFromIndex(v.mNumber), out); }},
    {kUIAdvPrefTrackTextAppearance, kUIValueIndex, kNumTrackTextAppearances,
     Box(kUIAdvPrefTrackTextAppearance),
     [](V v, char* out) { return CommandSetTrackTextAppearance(v.mNumber, out); }},
    {kUIAdvPrefTrackTextFont, kUIValueItemText, kListItemTextMax, Box(kUIAdvPrefTrackTextFont),
     [](V v, char* out) { return CommandSetTrackTextFont(v.mText, out); }},
    {kUIAdvPrefTrackTextSize, kUIValueIndex, kNumTrackTextSizes, Box(kUIAdvPrefTrackTextSize),
     [](V v, char* out) {
       return CommandSetTrackTextSize(TrackTextSizeFromIndex(v.mNumber), out);
     }},
    {kUIAdvPrefLineBoost, kUIValueIndex, kNumLineBoostChoices, Box(kUIAdvPrefLineBoost),
     [](V v, char* out) { return CommandSetLineOffset(LineOffsetFromIndex(v.mNumber), out); }},
    // Either frame-limit combo box sends both limits; the window reads both
    // boxes itself, a missing one as kNoFrameLimitBox.
    {kUIAdvPrefFrameXLimit, kUIValueIndex, kNumFrameLimitChoices, BoxIndex(kUIAdvPrefFrameXLimit),
     [](V v, char* out) {
       return CommandSetFrameSizeLimit(FrameLimitOfBox(v.mNumber),
                                       FrameLimitOfBox(v.mOtherFrameLimit), out);
     }},
    {kUIAdvPrefFrameYLimit, kUIValueIndex, kNumFrameLimitChoices, BoxIndex(kUIAdvPrefFrameYLimit),
     [](V v, char* out) {
       return CommandSetFrameSizeLimit(FrameLimitOfBox(v.mOtherFrameLimit),
                                       FrameLimitOfBox(v.mNumber), out);
     }},
    {kUIAdvPrefAutoLineScale, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetAutoLineScale(v.mOn, out); }},
    {kUIAdvPrefAllowRemoteControl, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetAllowRemoteControl(v.mOn, out); }},
    {kUIAdvPrefAutoOpenToolbar, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetAutoOpenToolbar(v.mOn, out); }, kPref_AutoOpenToolbar},
    {kUIAdvPrefFlowFieldUnions, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetUnionSlideShow(v.mOn, out); }},
    {kUIAdvPrefFlowFieldTransitions, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetFlowFieldTransitions(v.mOn, out); }},
    {kUIAdvPrefFlowFieldSmoothSwitch, kUIValueOnOff, 0, kSender,
     [](V v, char* out) { return CommandSetFlowFieldSmoothSwitch(v.mOn, out); }},
};

const eUIFunction kWindowFunctions[] = {
    kUIMinimize,
    kUIMaximize,
    kUIClose,
    kUIWebLink,
    kUIDeckMode,
    kUIFullScreen,
    kUIUpdateLink,
    kUIUpdateClose,
    kUIWaveShapeToggle,
    kUIColorMapToggle,
    kUIFlowFieldToggle,
    kUIAdvPrefUseToolTips,
    kUIAdvPrefAlwaysOnTop,
    kUIAdvPrefFrameXLimit,
    kUIAdvPrefFrameYLimit,
    kUIAdvImageVideoRescan,
    kUIAdvImageVideoBrowseAlternateSource,
    kUIAdvImageVideoClearAlternateSource,
    kUIAdvImageVideoIncludeSubfolders,
    kUIAdvParticlesSelectAll,
    kUIAdvImageVideoSelectAll,
    kUIAdvWaveShapesSelectAll,
    kUIAdvColorMapsSelectAll,
    kUIAdvFlowFieldsSelectAll,
    kUIAdvPrefShowToolbarIn,
    kUIAdvPrefSkin,
    kUIAdvPrefTheme,
    kUIAdvPrefSaveThemeAs,
    kUIAdvPrefDeleteTheme,
    kUIAdvPrefPeer,
    kUIAdvPrefPeerRefresh,
    kUIUpdateCommandStatus,
};

}  // namespace

bool IsWindowFunction(eUIFunction inFunction) {
  for (eUIFunction function : kWindowFunctions) {
    if (function == inFunction) {
      return true;
    }
  }
  return false;
}

const UIScriptEntry* FindUIEntry(eUIFunction inFunction) {
  for (const UIScriptEntry& entry : kEntries) {
    if (entry.mFunction == inFunction) {
      return &entry;
    }
  }
  return nullptr;
}

const UIScriptEntry* FindUIScript(eUIFunction inFunction) {
  const UIScriptEntry* entry = FindUIEntry(inFunction);
  return entry != nullptr && entry->mBuild != nullptr ? entry : nullptr;
}

const UIScriptEntry* UIEntryAt(long inIndex) {
  long count = long(sizeof(kEntries) / sizeof(kEntries[0]));
  return inIndex >= 0 && inIndex < count ? &kEntries[inIndex] : nullptr;
}

long StoredUIValue(const UIScriptEntry& inEntry, const UIValue& inValue) {
  if (inEntry.mValueKind == kUIValueOnOff) {
    return inValue.mOn ? inEntry.mStoredOn : 0;
  }
  return inValue.mNumber;
}

char* BuildUIScript(eUIFunction inFunction, const UIValue& inValue, char* outCmd) {
  const UIScriptEntry* entry = FindUIScript(inFunction);
  return entry != nullptr ? entry->mBuild(inValue, outCmd) : nullptr;
}
