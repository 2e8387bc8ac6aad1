#include "toolbar/UIDispatchScripts.h"

#include "toolbar/PrefChoices.h"
#include "toolbar/UICommands.h"

namespace {

typedef const UIValue& V;

// A frame-limit combo box's selection as the limit sent; a dimension without
// a combo box is left all but unlimited.
long FrameLimitOfBox(long inIndex) {
  return inIndex == kNoFrameLimitBox ? kFrameLimitWithoutChoice : FrameLimitFromIndex(inIndex);
}

const UIScriptEntry kEntries[] = {
    {kUIStartRandomParticle, kUIValueNone, 0,
     [](V, char* out) { return CommandStartRandomParticle(out); }},
    {kUIStartRandomImageVideo, kUIValueNone, 0,
     [](V, char* out) { return CommandStartRandomImageVideo(out); }},
    {kUIAlbumInfo, kUIValueNone, 0, [](V, char* out) { return CommandAlbumInfo(out); }},

    {kUIWaveShapeToggle, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetWaveShapeSlideShow(v.mOn, out); }},
    {kUIWaveShapeList, kUIValueItemText, kComboItemTextMax,
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIWaveShapePrev, kUIValueNone, 0, [](V, char* out) { return CommandNextWaveShape(-1, out); }},
    {kUIWaveShapeNext, kUIValueNone, 0, [](V, char* out) { return CommandNextWaveShape(1, out); }},
    {kUIWaveShapeInterval, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetWaveShapeInterval(v.mNumber, out); }},

    {kUIColorMapToggle, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetColorMapSlideShow(v.mOn, out); }},
    {kUIColorMapList, kUIValueItemText, kComboItemTextMax,
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIColorMapPrev, kUIValueNone, 0, [](V, char* out) { return CommandNextColorMap(-1, out); }},
    {kUIColorMapNext, kUIValueNone, 0, [](V, char* out) { return CommandNextColorMap(1, out); }},
    {kUIColorMapInterval, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetColorMapInterval(v.mNumber, out); }},

    {kUIFlowFieldToggle, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetFlowFieldSlideShow(v.mOn, out); }},
    {kUIFlowFieldList, kUIValueItemText, kComboItemTextMax,
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},
    {kUIFlowFieldPrev, kUIValueNone, 0, [](V, char* out) { return CommandNextFlowField(-1, out); }},
    {kUIFlowFieldNext, kUIValueNone, 0, [](V, char* out) { return CommandNextFlowField(1, out); }},
    {kUIFlowFieldInterval, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetFlowFieldInterval(v.mNumber, out); }},

    {kUIFrameRate, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetFrameRate(v.mNumber, out); }},
    {kUIResponseScale, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetResponseScaleFromPercent(v.mNumber, out); }},
    // The window first lets the media player hosting the engine take the
    // foreground, so that the full-screen window can come to the front.
    {kUIFullScreen, kUIValueNone, 0, [](V, char* out) { return CommandToggleFullScreen(out); }},
    {kUISnapshot, kUIValueNone, 0, [](V, char* out) { return CommandSnapshot(out); }},

    // The list functions act on one item each; the window sends one script per
    // selected item.
    {kUIAdvParticles, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandStartParticle(v.mText, out); }},
    {kUIAdvParticlesStart, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandStartParticle(v.mText, out); }},
    {kUIAdvParticlesStop, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandStopParticle(v.mText, out); }},
    {kUIAdvParticlesStopAll, kUIValueNone, 0,
     [](V, char* out) { return CommandKillRunningParticles(out); }},
    {kUIAdvParticlesAutoStart, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetParticlesEnabled(v.mOn, out); }},
    {kUIAdvParticlesInterval, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetParticleInterval(v.mNumber, out); }},
    {kUIAdvParticlesDuration, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetParticleDuration(v.mNumber, out); }},

    {kUIAdvImageVideo, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandStartImageVideo(v.mText, v.mSpriteFlags, out); }},
    {kUIAdvImageVideoStart, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandStartImageVideo(v.mText, v.mSpriteFlags, out); }},
    {kUIAdvImageVideoStop, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandStopImageVideo(v.mText, out); }},
    {kUIAdvImageVideoStopAll, kUIValueNone, 0,
     [](V, char* out) { return CommandKillRunningImageVideo(out); }},
    {kUIAdvImageVideoAutoStart, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetImageVideoEnabled(v.mOn, out); }},
    {kUIAdvImageVideoInterval, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetImageVideoInterval(v.mNumber, out); }},
    {kUIAdvImageVideoDuration, kUIValuePercent, 0,
     [](V v, char* out) { return CommandSetImageVideoDuration(v.mNumber, out); }},
    // Rescanning, clearing the extra folder and choosing whether its subfolders
    // count all start with a rescan. The window follows it with the
    // registration of the extra folder it keeps in its preferences, when there
    // is one, and reloads its list.
    {kUIAdvImageVideoRescan, kUIValueNone, 0,
     [](V, char* out) { return CommandRescanImageVideo(out); }},
    {kUIAdvImageVideoClearAlternateSource, kUIValueNone, 0,
     [](V, char* out) { return CommandRescanImageVideo(out); }},
    {kUIAdvImageVideoIncludeSubfolders, kUIValueOnOff, 0,
     [](V, char* out) { return CommandRescanImageVideo(out); }},

    {kUIAdvWaveShapes, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIAdvWaveShapesStart, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetWaveShape(v.mText, out); }},
    {kUIAdvColorMaps, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIAdvColorMapsStart, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetColorMap(v.mText, out); }},
    {kUIAdvFlowFields, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},
    {kUIAdvFlowFieldsStart, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetFlowField(v.mText, out); }},

    {kUIAdvPrefCheckForUpdates, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetCheckForUpdates(v.mOn ? kUpdateCheckDays : 0, out); }},
    {kUIAdvPrefAutoTrackInfo, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetAutoTrackInfo(v.mOn, out); }},
    {kUIAdvPrefFullScreenMode, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetFullScreenMode(v.mText, out); }},
    {kUIAdvPrefAudioSource, kUIValueIndex, 0,
     [](V v, char* out) { return CommandSetAudioSource(v.mNumber, out); }},
    {kUIAdvPrefTrackTextDuration, kUIValueIndex, kNumTrackTextDurations,
     [](V v, char* out) {
       return CommandSetTrackTextDuration(TrackTextDurationFromIndex(v.mNumber), out);
     }},
    {kUIAdvPrefTrackTextAppearance, kUIValueIndex, kNumTrackTextAppearances,
     [](V v, char* out) { return CommandSetTrackTextAppearance(v.mNumber, out); }},
    {kUIAdvPrefTrackTextFont, kUIValueItemText, kListItemTextMax,
     [](V v, char* out) { return CommandSetTrackTextFont(v.mText, out); }},
    {kUIAdvPrefTrackTextSize, kUIValueIndex, kNumTrackTextSizes,
     [](V v, char* out) {
       return CommandSetTrackTextSize(TrackTextSizeFromIndex(v.mNumber), out);
     }},
    {kUIAdvPrefLineBoost, kUIValueIndex, kNumLineBoostChoices,
     [](V v, char* out) { return CommandSetLineOffset(LineOffsetFromIndex(v.mNumber), out); }},
    // Either frame-limit combo box sends both limits.
    {kUIAdvPrefFrameXLimit, kUIValueIndex, kNumFrameLimitChoices,
     [](V v, char* out) {
       return CommandSetFrameSizeLimit(FrameLimitOfBox(v.mNumber),
                                       FrameLimitOfBox(v.mOtherFrameLimit), out);
     }},
    {kUIAdvPrefFrameYLimit, kUIValueIndex, kNumFrameLimitChoices,
     [](V v, char* out) {
       return CommandSetFrameSizeLimit(FrameLimitOfBox(v.mOtherFrameLimit),
                                       FrameLimitOfBox(v.mNumber), out);
     }},
    {kUIAdvPrefAutoLineScale, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetAutoLineScale(v.mOn, out); }},
    {kUIAdvPrefAllowRemoteControl, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetAllowRemoteControl(v.mOn, out); }},
    {kUIAdvPrefAutoOpenToolbar, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetAutoOpenToolbar(v.mOn, out); }},
    {kUIAdvPrefFlowFieldUnions, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetUnionSlideShow(v.mOn, out); }},
    {kUIAdvPrefFlowFieldTransitions, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetFlowFieldTransitions(v.mOn, out); }},
    {kUIAdvPrefFlowFieldSmoothSwitch, kUIValueOnOff, 0,
     [](V v, char* out) { return CommandSetFlowFieldSmoothSwitch(v.mOn, out); }},
};

}  // namespace

const UIScriptEntry* FindUIScript(eUIFunction inFunction) {
  for (const UIScriptEntry& entry : kEntries) {
    if (entry.mFunction == inFunction) {
      return &entry;
    }
  }
  return nullptr;
}

char* BuildUIScript(eUIFunction inFunction, const UIValue& inValue, char* outCmd) {
  const UIScriptEntry* entry = FindUIScript(inFunction);
  return entry != nullptr ? entry->mBuild(inValue, outCmd) : nullptr;
}
