// Binding the skin's controls to the window's control groups, filling the
// lists whose items never change, and showing the stored preferences.
#include <cstdio>
#include <cstdlib>

#include "files/KSFileSpec.h"
#include "foundation/XStrList.h"
#include "platform/BaseUtils.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardLabel.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"
#include "toolbar/PrefChoices.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/cAppWin.h"

namespace {

// Binds a member to the control of inFunction when it is of the member's type.
template <typename T>
void Bind(cToolPage* inPage, T** outMember, eUIFunction inFunction) {
  *outMember = inPage->FindControlOf<T>(inFunction);
}

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

void BindBasic(cToolPage* inPage, struct AppControls::Basic* outBasic) {
  Bind(inPage, &outBasic->WebLink, kUIWebLink);
  Bind(inPage, &outBasic->WaveShapeToggle, kUIWaveShapeToggle);
  Bind(inPage, &outBasic->WaveShapeList, kUIWaveShapeList);
  Bind(inPage, &outBasic->WaveShapeInterval, kUIWaveShapeInterval);
  Bind(inPage, &outBasic->ColorMapToggle, kUIColorMapToggle);
  Bind(inPage, &outBasic->ColorMapList, kUIColorMapList);
  Bind(inPage, &outBasic->ColorMapInterval, kUIColorMapInterval);
  Bind(inPage, &outBasic->FlowFieldToggle, kUIFlowFieldToggle);
  Bind(inPage, &outBasic->FlowFieldList, kUIFlowFieldList);
  Bind(inPage, &outBasic->FlowFieldInterval, kUIFlowFieldInterval);
  Bind(inPage, &outBasic->FrameRate, kUIFrameRate);
  Bind(inPage, &outBasic->ResponseScale, kUIResponseScale);
  Bind(inPage, &outBasic->DeckMode, kUIDeckMode);
  Bind(inPage, &outBasic->FullScreen, kUIFullScreen);
}

void BindItemPanels(cToolPage* inPage, AppControls* outControls) {
  auto& particles = outControls->AdvParticles;
  Bind(inPage, &particles.List, kUIAdvParticles);
  Bind(inPage, &particles.SelectAll, kUIAdvParticlesSelectAll);
  Bind(inPage, &particles.Start, kUIAdvParticlesStart);
  Bind(inPage, &particles.Stop, kUIAdvParticlesStop);
  Bind(inPage, &particles.StopAll, kUIAdvParticlesStopAll);
  Bind(inPage, &particles.AutoStart, kUIAdvParticlesAutoStart);
  Bind(inPage, &particles.Interval, kUIAdvParticlesInterval);
  Bind(inPage, &particles.Duration, kUIAdvParticlesDuration);

  auto& sprites = outControls->AdvImageVideo;
  Bind(inPage, &sprites.List, kUIAdvImageVideo);
  Bind(inPage, &sprites.SelectAll, kUIAdvImageVideoSelectAll);
  Bind(inPage, &sprites.Start, kUIAdvImageVideoStart);
  Bind(inPage, &sprites.Stop, kUIAdvImageVideoStop);
  Bind(inPage, &sprites.StopAll, kUIAdvImageVideoStopAll);
  Bind(inPage, &sprites.Rescan, kUIAdvImageVideoRescan);
  Bind(inPage, &sprites.AutoStart, kUIAdvImageVideoAutoStart);
  Bind(inPage, &sprites.Interval, kUIAdvImageVideoInterval);
  Bind(inPage, &sprites.Duration, kUIAdvImageVideoDuration);
  Bind(inPage, &sprites.AlternateSource, kUIAdvImageVideoAlternateSource);
  Bind(inPage, &sprites.BrowseAlternateSource, kUIAdvImageVideoBrowseAlternateSource);
  Bind(inPage, &sprites.ClearAlternateSource, kUIAdvImageVideoClearAlternateSource);
  Bind(inPage, &sprites.IncludeSubfolders, kUIAdvImageVideoIncludeSubfolders);

  Bind(inPage, &outControls->AdvWaveShapes.List, kUIAdvWaveShapes);
  Bind(inPage, &outControls->AdvWaveShapes.SelectAll, kUIAdvWaveShapesSelectAll);
  Bind(inPage, &outControls->AdvColorMaps.List, kUIAdvColorMaps);
  Bind(inPage, &outControls->AdvColorMaps.SelectAll, kUIAdvColorMapsSelectAll);
  Bind(inPage, &outControls->AdvFlowFields.List, kUIAdvFlowFields);
  Bind(inPage, &outControls->AdvFlowFields.SelectAll, kUIAdvFlowFieldsSelectAll);

  auto& scripts = outControls->AdvVisualScripts;
  Bind(inPage, &scripts.Unsaved, kUIAdvScriptsUnsaved);
  Bind(inPage, &scripts.Saved, kUIAdvScriptsSaved);
  Bind(inPage, &scripts.Save, kUIAdvScriptsSave);
  Bind(inPage, &scripts.Rename, kUIAdvScriptsRename);
  Bind(inPage, &scripts.Delete, kUIAdvScriptsDelete);
  Bind(inPage, &scripts.SelectAll, kUIAdvScriptsSelectAll);
  Bind(inPage, &scripts.Start, kUIAdvScriptsStart);
  Bind(inPage, &scripts.StopAll, kUIAdvScriptsStop);
  Bind(inPage, &scripts.Edit, kUIAdvScriptsEdit);
  Bind(inPage, &scripts.ScriptsOn, kUIAdvScriptsScriptsOn);
  Bind(inPage, &scripts.AutoRecord, kUIAdvScriptsAutoRecord);
}

void BindPreferences(cToolPage* inPage, struct AppControls::AdvPreferences* outPrefs) {
  auto& prefs = *outPrefs;
  Bind(inPage, &prefs.UseToolTips, kUIAdvPrefUseToolTips);
  Bind(inPage, &prefs.AlwaysOnTop, kUIAdvPrefAlwaysOnTop);
  Bind(inPage, &prefs.AutoOpenToolbar, kUIAdvPrefAutoOpenToolbar);
  Bind(inPage, &prefs.AutoCloseToolbar, kUIAdvPrefAutoCloseToolbar);
  Bind(inPage, &prefs.StartToolbarMinimized, kUIAdvPrefStartToolbarMinimized);
  Bind(inPage, &prefs.DeckAutoStart, kUIAdvPrefDeckAutoStart);
  Bind(inPage, &prefs.CheckForUpdates, kUIAdvPrefCheckForUpdates);
  Bind(inPage, &prefs.AutoTrackInfo, kUIAdvPrefAutoTrackInfo);
  Bind(inPage, &prefs.FullScreenMode, kUIAdvPrefFullScreenMode);
  Bind(inPage, &prefs.AudioSource, kUIAdvPrefAudioSource);
  Bind(inPage, &prefs.LineBoost, kUIAdvPrefLineBoost);
  Bind(inPage, &prefs.TrackTextAppearance, kUIAdvPrefTrackTextAppearance);
  Bind(inPage, &prefs.TrackTextDuration, kUIAdvPrefTrackTextDuration);
  Bind(inPage, &prefs.TrackTextFont, kUIAdvPrefTrackTextFont);
  Bind(inPage, &prefs.TrackTextSize, kUIAdvPrefTrackTextSize);
  Bind(inPage, &prefs.ShowToolbarIn, kUIAdvPrefShowToolbarIn);
  Bind(inPage, &prefs.FrameXLimit, kUIAdvPrefFrameXLimit);
  Bind(inPage, &prefs.FrameYLimit, kUIAdvPrefFrameYLimit);
  Bind(inPage, &prefs.AutoLineScale, kUIAdvPrefAutoLineScale);
  Bind(inPage, &prefs.AllowRemoteControl, kUIAdvPrefAllowRemoteControl);
  Bind(inPage, &prefs.FlowFieldUnions, kUIAdvPrefFlowFieldUnions);
  Bind(inPage, &prefs.FlowFieldTransitions, kUIAdvPrefFlowFieldTransitions);
  Bind(inPage, &prefs.FlowFieldSmoothSwitch, kUIAdvPrefFlowFieldSmoothSwitch);
  Bind(inPage, &prefs.Skin, kUIAdvPrefSkin);
  Bind(inPage, &prefs.Theme, kUIAdvPrefTheme);
  Bind(inPage, &prefs.SaveTheme, kUIAdvPrefSaveThemeAs);
  Bind(inPage, &prefs.DeleteTheme, kUIAdvPrefDeleteTheme);
  Bind(inPage, &prefs.Peer, kUIAdvPrefPeer);
  Bind(inPage, &prefs.PeerRefresh, kUIAdvPrefPeerRefresh);
}

}  // namespace

void cAppWin::BindControls() {
  mControls = AppControls{};
  if (mMainPage == nullptr) {
    return;
  }
  cToolPage* page = mMainPage.get();
  BindBasic(page, &mControls.Basic);
  Bind(page, &mControls.UpdateBar.Bar, kUIUpdateBar);
  Bind(page, &mControls.UpdateBar.Link, kUIUpdateLink);
  BindItemPanels(page, &mControls);
  BindPreferences(page, &mControls.AdvPreferences);

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
