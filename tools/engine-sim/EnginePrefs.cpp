#include "engine-sim/EnginePrefs.h"

namespace {

struct PrefDefault {
  EnginePrefID mID;
  const char* mName;
  double mNumber;
  const char* mText;  // non-null for a preference that holds a text
};

// Timing defaults are the texts the toolbar sends for its sliders at 50 percent.
const PrefDefault kDefaults[] = {
    {kPrefFlowFieldTransDisable, "PREF_FLOWFIELD_TRANS_DISABLE", 0, nullptr},
    {kPrefCheckForUpdates, "PREF_CHECK_FOR_UPDATES", 7, nullptr},
    {kPrefNetworkMode, "PREF_NETWORK_MODE", kNetworkModeLocalOnly, nullptr},
    {kPrefFlowFieldSmoothSwitch, "PREF_FLOWFIELD_SMOOTH_SWITCH", 1, nullptr},
    {kPrefFlowFieldLinesPerFrame, "PREF_FLOWFIELD_LINES_PER_FRAME", 3, nullptr},
    {kPrefTrackTextAuto, "PREF_TRACK_TEXT_AUTO", 1, nullptr},
    {kPrefAutoOpenToolbar, "PREF_AUTO_OPEN_TOOLBAR", 0, nullptr},
    {kPrefAutoLineScale, "PREF_AUTO_LINE_SCALE", 1, nullptr},
    {kPrefMaxSizeX, "PREF_MAX_SIZE_X", 0, nullptr},
    {kPrefMaxSizeY, "PREF_MAX_SIZE_Y", 0, nullptr},
    {kPrefAudioInputSource, "PREF_AUDIO_INPUT_SOURCE", 0, nullptr},
    {kPrefLineWidthOffset, "PREF_LINE_WIDTH_OFFSET", 0, nullptr},
    {kPrefTextSize, "PREF_TEXT_SIZE", 24, nullptr},
    {kPrefTextFont, "PREF_TEXT_FONT", 0, "Arial"},
    {kPrefTrackTextAppearance, "PREF_TRACK_TEXT_APPEARANCE", 0, nullptr},
    {kPrefTrackTextDuration, "PREF_TRACK_TEXT_DURATION", 10, nullptr},
    {kPrefResponseScale, "PREF_RESPONSE_SCALE", 1, nullptr},
    {kPrefDesiredFrameRate, "PREF_DESIRED_FRAME_RATE", 33, nullptr},
    {kPrefSpriteDuration, "PREF_SPRITE_DURATION", 0, "( .8 + rnd( .4 ) ) * 47.037776"},
    {kPrefSpriteInterval, "PREF_SPRITE_INTERVAL", 0, "( .8 + rnd( .4 ) ) * 103.531550"},
    {kPrefParticleDuration, "PREF_PARTICLE_DURATION", 0, "( .8 + rnd( .4 ) ) * 47.037776"},
    {kPrefParticleInterval, "PREF_PARTICLE_INTERVAL", 0, "( .8 + rnd( .4 ) ) * 103.531550"},
    {kPrefFlowFieldInterval, "PREF_FLOWFIELD_INTERVAL", 0, "1 + ( 25 + rnd( 15 ) ) * 1.050000"},
    {kPrefColorMapInterval, "PREF_COLORMAP_INTERVAL", 0, "1 + ( 25 + rnd( 10 ) ) * 1.050000"},
    {kPrefWaveShapeInterval, "PREF_WAVESHAPE_INTERVAL", 0, "1 + ( 20 + rnd( 10 ) ) * 1.050000"},
    {kPrefVersAvailNum, "PREF_VERS_AVAIL_NUM", kEngineVersion, nullptr},
};

static_assert(sizeof(kDefaults) / sizeof(kDefaults[0]) == kNumEnginePrefs - 1,
              "every preference has a default");

}  // namespace

EnginePrefs::EnginePrefs() {
  for (const PrefDefault& pref : kDefaults) {
    mValues[pref.mID] = pref.mText ? ScriptValue(pref.mText) : ScriptValue(pref.mNumber);
  }
}

EnginePrefID EnginePrefs::FindByName(const UtilStr& inName) {
  for (const PrefDefault& pref : kDefaults) {
    if (inName == pref.mName) {
      return pref.mID;
    }
  }
  return kPrefNone;
}

const char* EnginePrefs::Name(EnginePrefID inID) {
  for (const PrefDefault& pref : kDefaults) {
    if (pref.mID == inID) {
      return pref.mName;
    }
  }
  return "";
}
