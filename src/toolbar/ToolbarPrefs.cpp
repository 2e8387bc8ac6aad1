#include "toolbar/ToolbarPrefs.h"

#include "files/Prefs.h"
#include "toolbar/PrefChoices.h"

namespace {

// One key and its default: a text key has mText, an integer key mInt. A key
// that picks one of mChoices (above 0) keeps only a value from 0 to
// mChoices - 1: anything else, in a file edited by hand, say, is taken for
// missing.
struct ToolbarPrefDefault {
  long mKey;
  const char* mText;
  long mInt;
  long mChoices = 0;
};

// Every key, Vers first.
const ToolbarPrefDefault kToolbarPrefDefaults[] = {
    {kPref_Version, nullptr, kToolbarPrefsVersion},
    {kPref_ToolTips, nullptr, 1},
    {kPref_AlwaysOnTop, nullptr, 0},
    {kPref_AutoOpenToolbar, nullptr, 1},
    {kPref_AutoCloseToolbar, nullptr, 0},
    {kPref_StartMinimized, nullptr, 0},
    {kPref_UpdateCheckDays, nullptr, 7},
    {kPref_ShowToolbarIn, nullptr, 0, kNumShowToolbarInChoices},
    {kPref_BarX, nullptr, 15},
    {kPref_BarY, nullptr, 15},
    {kPref_DeckAutoStart, nullptr, 0},
    {kPref_AdvPanelExtended, nullptr, 1},
    {kPref_WaveShapeInterval, nullptr, 50},
    {kPref_ColorMapInterval, nullptr, 50},
    {kPref_FlowFieldInterval, nullptr, 50},
    {kPref_FrameRate, nullptr, 50},
    {kPref_ResponseScale, nullptr, 50},
    {kPref_PreS, nullptr, 50},
    {kPref_ParticlesAutoStart, nullptr, 1},
    {kPref_ParticlesInterval, nullptr, 50},
    {kPref_ParticlesDuration, nullptr, 50},
    {kPref_ImageVideoAutoStart, nullptr, 1},
    {kPref_ImageVideoInterval, nullptr, 50},
    {kPref_ImageVideoDuration, nullptr, 50},
    {kPref_ImageVideoSubfolders, nullptr, 0},
    {kPref_Skin, "Factory Blue", 0},
    {kPref_Theme, "Factory Default", 0},
    {kPref_ImageVideoFolder, "", 0},
    {kPref_Inst, "", 0},
};

}  // namespace

void SetMissingToolbarPrefs(Prefs* ioPrefs) {
  if (ioPrefs->GetInt(kPref_Version) != kToolbarPrefsVersion) {
    ioPrefs->RemoveAll();
  }
  for (const ToolbarPrefDefault& pref : kToolbarPrefDefaults) {
    long value = 0;
    if (ioPrefs->GetInt(pref.mKey, &value) &&
        (pref.mChoices <= 0 || (value >= 0 && value < pref.mChoices))) {
      continue;
    }
    if (pref.mText != nullptr) {
      ioPrefs->SetStr(pref.mKey, pref.mText);
    } else {
      ioPrefs->SetInt(pref.mKey, pref.mInt);
    }
  }
}
