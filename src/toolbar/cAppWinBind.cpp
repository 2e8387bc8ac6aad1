// Binding the skin's controls to the window's control groups, filling the
// lists whose items never change, and showing the stored preferences.
#include <cstdio>
#include <cstdlib>

#include "files/KSFileSpec.h"
#include "foundation/XStrList.h"
#include "platform/BaseUtils.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"
#include "toolbar/PrefChoices.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/cAppWin.h"

namespace {

// Clears inList and fills it with inCount labels of inLabel.
template <typename F>
void FillList(cStandardComboBox* inList, long inCount, F inLabel) {
  if (inList == nullptr) {
    return;
  }
  inList->Clear();
  for (long i = 0; i < inCount; i++) {
    inList->AddItem(inLabel(i));
  }
}

}  // namespace

void cAppWin::BindControls() {
  BindAppControls(mMainPage.get(), &mControls);

  // The configuration lists tell the window when their check marks change.
  const struct {
    cStandardListView* mList;
    CXConfigType mType;
  } configLists[] = {{mControls.AdvParticles.List, kCX_Particle},
                     {mControls.AdvImageVideo.List, kCX_Sprite},
                     {mControls.AdvWaveShapes.List, kCX_WaveShape},
                     {mControls.AdvColorMaps.List, kCX_ColorMap},
                     {mControls.AdvFlowFields.List, kCX_FlowField}};
  for (const auto& entry : configLists) {
    if (entry.mList != nullptr) {
      entry.mList->ConfigType(entry.mType);
      entry.mList->AddListener(this);
    }
  }
}

void cAppWin::FillStaticGUILists() {
  auto& prefs = mControls.AdvPreferences;
  FillList(prefs.TrackTextAppearance, kNumTrackTextAppearances, TrackTextAppearanceLabel);
  FillList(prefs.TrackTextDuration, kNumTrackTextDurations, TrackTextDurationLabel);
  char number[16];
  FillList(prefs.TrackTextSize, kNumTrackTextSizes, [&number](long inIndex) {
    std::snprintf(number, sizeof(number), "%ld", TrackTextSizeFromIndex(inIndex));
    return number;
  });
  FillList(prefs.LineBoost, kNumLineBoostChoices, [&number](long inIndex) {
    std::snprintf(number, sizeof(number), "%d", int(LineOffsetFromIndex(inIndex)));
    return number;
  });
  FillList(prefs.FrameXLimit, kNumFrameLimitChoices, FrameLimitLabel);
  FillList(prefs.FrameYLimit, kNumFrameLimitChoices, FrameLimitLabel);

  if (prefs.Skin != nullptr) {
    XStrList skins;
    KSFileSpec::ReadCatalog(gToolbarState.mSkinsFolder, &skins, ks_CatalogFolders, false);
    FillList(prefs.Skin, skins.Count(),
             [&skins](long inIndex) { return skins.Fetch(inIndex + 1)->getCStr(); });
  }

  FillList(prefs.ShowToolbarIn, kNumShowToolbarInChoices, ShowToolbarInLabel);

  if (prefs.Theme != nullptr) {
    ThemeMgr& themes = gToolbarState.mThemeMgr;
    prefs.Theme->Clear();
    UtilStr name;
    for (int i = 0; themes.GetLogicalThemeName(i, &name); i++) {
      prefs.Theme->AddItem(name.getCStr());
    }
    prefs.Theme->SelectItem(themes.GetCurrentTheme());
  }
}

void cAppWin::ApplyToolbarPrefsToGUI() {
  Prefs& stored = gToolbarState.mPrefs;
  EnableToolTips(stored.GetInt(kPref_ToolTips) != 0);
  ApplyShowToolbarIn();
  ShowKeptValues();

  auto& prefs = mControls.AdvPreferences;
  if (prefs.ShowToolbarIn != nullptr) {
    prefs.ShowToolbarIn->SelectItem(stored.GetInt(kPref_ShowToolbarIn));
  }
  if (prefs.AlwaysOnTop != nullptr) {
    AlwaysOnTop(stored.GetInt(kPref_AlwaysOnTop) != 0);
  }

  if (prefs.Skin != nullptr) {
    UtilStr skin;
    stored.GetStr(kPref_Skin, &skin);
    prefs.Skin->SelectItem(prefs.Skin->FindItem(skin.getCStr(), false));
  }

  if (prefs.Theme != nullptr) {
    ThemeMgr& themes = gToolbarState.mThemeMgr;
    UtilStr themeName;
    stored.GetStr(kPref_Theme, &themeName);
    int index = themes.FindThemeByLogicalName(themeName.getCStr());
    if (index < 0) {
      index = 0;
    }
    prefs.Theme->SelectItem(index);
    themes.SetCurrentTheme(index);
  }
}

void cAppWin::ShowKeptValues() {
  for (long i = 0; const UIScriptEntry* entry = UIEntryAt(i); i++) {
    if (entry->mPrefKey == 0) {
      continue;
    }
    long kept = gToolbarState.mPrefs.GetInt(entry->mPrefKey);
    if (entry->mValueKind == kUIValuePercent) {
      if (cStandardSlider* slider = BoundControl<cStandardSlider>(entry->mFunction)) {
        slider->Index(kept);
      }
    } else if (cStandardCheckBox* box = BoundControl<cStandardCheckBox>(entry->mFunction)) {
      box->BoolProp(kept != 0);
    }
  }
}

long cAppWin::getIndexFromFrameLimit(long inFrameSizeLimit) {
  constexpr long kAutoIndex = 9;
  constexpr long kNoLimitIndex = 8;
  if (inFrameSizeLimit <= 0) {
    return kAutoIndex;
  }
  if (inFrameSizeLimit >= FrameLimitFromIndex(kNoLimitIndex)) {
    return kNoLimitIndex;
  }
  long best = 0;
  long bestDistance = -1;
  for (long i = 0; i < kNoLimitIndex; i++) {
    long distance = std::labs(FrameLimitFromIndex(i) - inFrameSizeLimit);
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0) {
        break;
      }
    }
  }
  return best;
}
