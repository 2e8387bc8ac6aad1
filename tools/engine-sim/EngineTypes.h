// The kinds of configuration an engine keeps, numbered as the scripts name
// them (CONFIG_WAVESHAPE is 0 ... CONFIG_SCRIPT is 6). Item masks have bit n
// set for kind n.
#pragma once

#include "foundation/KSTypes.h"

enum EngineConfigKind : uint8 {
  kConfigWaveShape = 0,
  kConfigColorMap = 1,
  kConfigFlowField = 2,
  kConfigUnion = 3,  // flow-field unions: a slide show without a list of its own
  kConfigParticle = 4,
  kConfigSprite = 5,  // images and videos
  kConfigScript = 6,
  kNumConfigKinds = 7,
};

inline bool IsConfigKind(long inKind) {
  return inKind >= 0 && inKind < kNumConfigKinds;
}

// Kinds whose items switch one to another (one is current at a time).
inline bool IsSwitchedKind(long inKind) {
  return inKind == kConfigWaveShape || inKind == kConfigColorMap || inKind == kConfigFlowField;
}

// Kinds whose items are started and run for a while, several at once.
inline bool IsLaunchedKind(long inKind) {
  return inKind == kConfigParticle || inKind == kConfigSprite;
}
