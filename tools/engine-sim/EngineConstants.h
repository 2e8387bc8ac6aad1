// The named constants of the engine's scripts (CONFIG_…, PREF_…, morph
// styles, font flags, actions for Execute and the version number).
#pragma once

#include "engine-sim/ScriptValue.h"

// Actions of Execute(...).
enum EngineAction : uint8 {
  kActionKillTrackText = 1,    // _KILL_TRACK_TEXT
  kActionStartTrackText = 2,   // _START_TRACK_TEXT
  kActionTakeScreenshot = 3,   // _TAKE_SCREENSHOT
  kActionAdjustLineScale = 4,  // ADJUST_LINE_SCALE_TO_FRAME
};

// The value of a named constant; false when the name is not one.
bool LookupEngineConstant(const UtilStr& inName, ScriptValue* outValue);
