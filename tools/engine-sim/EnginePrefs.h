// The engine preferences that scripts read and write, each with a default.
//
// A preference holds whatever a script stored: a number, or a text. Timing
// preferences hold expression texts such as "( .8 + rnd( .4 ) ) * 47.037776"
// that the engine evaluates each time it needs a new interval.
#pragma once

#include "engine-sim/ScriptValue.h"

enum EnginePrefID : uint8 {
  kPrefNone = 0,
  kPrefFlowFieldTransDisable,
  kPrefCheckForUpdates,
  kPrefNetworkMode,
  kPrefFlowFieldSmoothSwitch,
  kPrefFlowFieldLinesPerFrame,
  kPrefTrackTextAuto,
  kPrefAutoOpenToolbar,
  kPrefAutoLineScale,
  kPrefMaxSizeX,
  kPrefMaxSizeY,
  kPrefAudioInputSource,
  kPrefLineWidthOffset,
  kPrefTextSize,
  kPrefTextFont,
  kPrefTrackTextAppearance,
  kPrefTrackTextDuration,
  kPrefResponseScale,
  kPrefDesiredFrameRate,
  kPrefSpriteDuration,
  kPrefSpriteInterval,
  kPrefParticleDuration,
  kPrefParticleInterval,
  kPrefFlowFieldInterval,
  kPrefColorMapInterval,
  kPrefWaveShapeInterval,
  kPrefVersAvailNum,
  kNumEnginePrefs,
};

// Values of PREF_NETWORK_MODE.
constexpr long kNetworkModeLocalOnly = 0;  // KS_NETWORK_MODE_LOCAL_ONLY
constexpr long kNetworkModeNormal = 1;     // KS_NETWORK_MODE_NORMAL

// This engine's version number (_VERSION_); PREF_VERS_AVAIL_NUM starts there,
// so by default no newer version is known.
constexpr long kEngineVersion = 250;

class EnginePrefs {
 public:
  EnginePrefs();  // every preference at its default

  // The preference that a script constant names ("PREF_TEXT_SIZE"), or kPrefNone.
  static EnginePrefID FindByName(const UtilStr& inName);
  // The script constant of a preference; "" for kPrefNone.
  static const char* Name(EnginePrefID inID);
  static bool IsValid(long inID) { return inID > kPrefNone && inID < kNumEnginePrefs; }

  void Set(EnginePrefID inID, const ScriptValue& inValue) { mValues[inID] = inValue; }
  const ScriptValue& Get(EnginePrefID inID) const { return mValues[inID]; }

 private:
  ScriptValue mValues[kNumEnginePrefs];
};
