#include "engine-sim/EngineConstants.h"

#include "engine-sim/EnginePrefs.h"
#include "engine-sim/EngineTypes.h"

namespace {

struct NamedConstant {
  const char* mName;
  double mValue;
};

const NamedConstant kConstants[] = {
    {"CONFIG_WAVESHAPE", kConfigWaveShape},
    {"CONFIG_COLORMAP", kConfigColorMap},
    {"CONFIG_FLOWFIELD", kConfigFlowField},
    {"CONFIG_UNION", kConfigUnion},
    {"CONFIG_PARTICLE", kConfigParticle},
    {"CONFIG_SPRITE", kConfigSprite},
    {"CONFIG_SCRIPT", kConfigScript},
    // Morph styles: how the engine blends into the next item.
    {"WAVESHAPE_QUICK_MORPH", 1},
    {"COLORMAP_QUICK_MORPH", 1},
    {"FLOWFIELD_QUICK_MORPH", 1},
    // Seconds over which killed particles and sprites fade out.
    {"PARTICLE_KILL_DURATION", 2},
    {"KS_NETWORK_MODE_LOCAL_ONLY", kNetworkModeLocalOnly},
    {"KS_NETWORK_MODE_NORMAL", kNetworkModeNormal},
    // Font flags of SetDefaultFont.
    {"KS_BOLD", 0x0001},
    {"KS_UTF8_CHARSET", 0x0100},
    {"_KILL_TRACK_TEXT", kActionKillTrackText},
    {"_START_TRACK_TEXT", kActionStartTrackText},
    {"_TAKE_SCREENSHOT", kActionTakeScreenshot},
    {"ADJUST_LINE_SCALE_TO_FRAME", kActionAdjustLineScale},
    {"_VERSION_", kEngineVersion},
};

}  // namespace

bool LookupEngineConstant(const UtilStr& inName, ScriptValue* outValue) {
  for (const NamedConstant& constant : kConstants) {
    if (inName == constant.mName) {
      *outValue = ScriptValue(constant.mValue);
      return true;
    }
  }
  EnginePrefID pref = EnginePrefs::FindByName(inName);
  if (pref != kPrefNone) {
    *outValue = ScriptValue(double(pref));
    return true;
  }
  return false;
}
