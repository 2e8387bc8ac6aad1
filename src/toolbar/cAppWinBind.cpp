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

// The control of inFunction in inPage when it is of type inType, else null.
template <typename T>
void Bind(cToolPage* inPage, T** outMember, eUIFunction inFunction, eControlType inType) {
  cControl* control = inPage->FindControl(inFunction);
  *outMember =
      control != nullptr && control->Info()->Type == inType ? dynamic_cast<T*>(control) : nullptr;
}

void Bind(cToolPage* inPage, cStandardButton** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeButton);
}
void Bind(cToolPage* inPage, cStandardCheckBox** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeCheckBox);
}
void Bind(cToolPage* inPage, cStandardComboBox** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeComboBox);
}
void Bind(cToolPage* inPage, cStandardSlider** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeSlider);
}
void Bind(cToolPage* inPage, cStandardListView** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeListView);
}
void Bind(cToolPage* inPage, cStandardEdit** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeEdit);
}
void Bind(cToolPage* inPage, cStandardLabel** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeLabel);
}
void Bind(cToolPage* inPage, cToolPage** outMember, eUIFunction inFunction) {
  Bind(inPage, outMember, inFunction, kControlTypeToolPage);
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

void ShowPref(cStandardSlider* inSlider, long inKey) {
  if (inSlider != nullptr) {
    inSlider->Index(gToolbarState.mPrefs.GetInt(inKey));
  }
}

void ShowPref(cStandardCheckBox* inCheckBox, long inKey) {
  if (inCheckBox != nullptr) {
    inCheckBox->BoolProp(gToolbarState.mPrefs.GetInt(inKey) != 0);
  }
}

}  // namespace

void cAppWin::BindControls() {
  mControls = AppControls{};
  if (mMainPage == nullptr) {
    return;
  }
  cToolPage* page = mMainPage;

  auto& basic = mControls.Basic;
  Bind(page, &basic.WebLink, kUIWebLink);
  Bind(page, &basic.WaveShapeToggle, kUIWaveShapeToggle);
  Bind(page, &basic.WaveShapeList, kUIWaveShapeList);
  Bind(page, &basic.WaveShapeInterval, kUIWaveShapeInterval);
  Bind(page, &basic.ColorMapToggle, kUIColorMapToggle);
  Bind(page, &basic.ColorMapList, kUIColorMapList);
  Bind(page, &basic.ColorMapInterval, kUIColorMapInterval);
  Bind(page, &basic.FlowFieldToggle, kUIFlowFieldToggle);
  Bind(page, &basic.FlowFieldList, kUIFlowFieldList);
  Bind(page, &basic.FlowFieldInterval, kUIFlowFieldInterval);
  Bind(page, &basic.FrameRate, kUIFrameRate);
  Bind(page, &basic.ResponseScale, kUIResponseScale);
  Bind(page, &basic.DeckMode, kUIDeckMode);
  Bind(page, &basic.FullScreen, kUIFullScreen);

  Bind(page, &mControls.UpdateBar.Bar, kUIUpdateBar);
  Bind(page, &mControls.UpdateBar.Link, kUIUpdateLink);

  auto& particles = mControls.AdvParticles;
  Bind(page, &particles.List, kUIAdvParticles);
  Bind(page, &particles.SelectAll, kUIAdvParticlesSelectAll);
  Bind(page, &particles.Start, kUIAdvParticlesStart);
  Bind(page, &particles.Stop, kUIAdvParticlesStop);
  Bind(page, &particles.StopAll, kUIAdvParticlesStopAll);
  Bind(page, &particles.AutoStart, kUIAdvParticlesAutoStart);
  Bind(page, &particles.Interval, kUIAdvParticlesInterval);
  Bind(page, &particles.Duration, kUIAdvParticlesDuration);

  auto& sprites = mControls.AdvImageVideo;
  Bind(page, &sprites.List, kUIAdvImageVideo);
  Bind(page, &sprites.SelectAll, kUIAdvImageVideoSelectAll);
  Bind(page, &sprites.Start, kUIAdvImageVideoStart);
  Bind(page, &sprites.Stop, kUIAdvImageVideoStop);
  Bind(page, &sprites.StopAll, kUIAdvImageVideoStopAll);
  Bind(page, &sprites.Rescan, kUIAdvImageVideoRescan);
  Bind(page, &sprites.AutoStart, kUIAdvImageVideoAutoStart);
  Bind(page, &sprites.Interval, kUIAdvImageVideoInterval);
  Bind(page, &sprites.Duration, kUIAdvImageVideoDuration);
  Bind(page, &sprites.AlternateSource, kUIAdvImageVideoAlternateSource);
  Bind(page, &sprites.BrowseAlternateSource, kUIAdvImageVideoBrowseAlternateSource);
  Bind(page, &sprites.ClearAlternateSource, kUIAdvImageVideoClearAlternateSource);
  Bind(page, &sprites.IncludeSubfolders, kUIAdvImageVideoIncludeSubfolders);

  Bind(page, &mControls.AdvWaveShapes.List, kUIAdvWaveShapes);
  Bind(page, &mControls.AdvWaveShapes.SelectAll, kUIAdvWaveShapesSelectAll);
  Bind(page, &mControls.AdvColorMaps.List, kUIAdvColorMaps);
  Bind(page, &mControls.AdvColorMaps.SelectAll, kUIAdvColorMapsSelectAll);
  Bind(page, &mControls.AdvFlowFields.List, kUIAdvFlowFields);
  Bind(page, &mControls.AdvFlowFields.SelectAll, kUIAdvFlowFieldsSelectAll);

  auto& scripts = mControls.AdvVisualScripts;
  Bind(page, &scripts.Unsaved, kUIAdvScriptsUnsaved);
  Bind(page, &scripts.Saved, kUIAdvScriptsSaved);
  Bind(page, &scripts.Save, kUIAdvScriptsSave);
  Bind(page, &scripts.Rename, kUIAdvScriptsRename);
  Bind(page, &scripts.Delete, kUIAdvScriptsDelete);
  Bind(page, &scripts.SelectAll, kUIAdvScriptsSelectAll);
  Bind(page, &scripts.Start, kUIAdvScriptsStart);
  Bind(page, &scripts.StopAll, kUIAdvScriptsStop);
  Bind(page, &scripts.Edit, kUIAdvScriptsEdit);
  Bind(page, &scripts.ScriptsOn, kUIAdvScriptsScriptsOn);
  Bind(page, &scripts.AutoRecord, kUIAdvScriptsAutoRecord);

  auto& prefs = mControls.AdvPreferences;
  Bind(page, &prefs.UseToolTips, kUIAdvPrefUseToolTips);
  Bind(page, &prefs.AlwaysOnTop, kUIAdvPrefAlwaysOnTop);
  Bind(page, &prefs.AutoOpenToolbar, kUIAdvPrefAutoOpenToolbar);
  Bind(page, &prefs.AutoCloseToolbar, kUIAdvPrefAutoCloseToolbar);
  Bind(page, &prefs.StartToolbarMinimized, kUIAdvPrefStartToolbarMinimized);
  Bind(page, &prefs.DeckAutoStart, kUIAdvPrefDeckAutoStart);
  Bind(page, &prefs.CheckForUpdates, kUIAdvPrefCheckForUpdates);
  Bind(page, &prefs.AutoTrackInfo, kUIAdvPrefAutoTrackInfo);
  Bind(page, &prefs.FullScreenMode, kUIAdvPrefFullScreenMode);
  Bind(page, &prefs.AudioSource, kUIAdvPrefAudioSource);
  Bind(page, &prefs.LineBoost, kUIAdvPrefLineBoost);
  Bind(page, &prefs.TrackTextAppearance, kUIAdvPrefTrackTextAppearance);
  Bind(page, &prefs.TrackTextDuration, kUIAdvPrefTrackTextDuration);
  Bind(page, &prefs.TrackTextFont, kUIAdvPrefTrackTextFont);
  Bind(page, &prefs.TrackTextSize, kUIAdvPrefTrackTextSize);
  Bind(page, &prefs.ShowToolbarIn, kUIAdvPrefShowToolbarIn);
  Bind(page, &prefs.FrameXLimit, kUIAdvPrefFrameXLimit);
  Bind(page, &prefs.FrameYLimit, kUIAdvPrefFrameYLimit);
  Bind(page, &prefs.AutoLineScale, kUIAdvPrefAutoLineScale);
  Bind(page, &prefs.AllowRemoteControl, kUIAdvPrefAllowRemoteControl);
  Bind(page, &prefs.FlowFieldUnions, kUIAdvPrefFlowFieldUnions);
  Bind(page, &prefs.FlowFieldTransitions, kUIAdvPrefFlowFieldTransitions);
  Bind(page, &prefs.FlowFieldSmoothSwitch, kUIAdvPrefFlowFieldSmoothSwitch);
  Bind(page, &prefs.Skin, kUIAdvPrefSkin);
  Bind(page, &prefs.Theme, kUIAdvPrefTheme);
  Bind(page, &prefs.SaveTheme, kUIAdvPrefSaveThemeAs);
  Bind(page, &prefs.DeleteTheme, kUIAdvPrefDeleteTheme);
  Bind(page, &prefs.Peer, kUIAdvPrefPeer);
  Bind(page, &prefs.PeerRefresh, kUIAdvPrefPeerRefresh);

  // The configuration lists tell the window when their check marks change.
  const struct {
    cStandardListView* mList;
    CXConfigType mType;
  } configLists[] = {{particles.List, kCX_Particle},
                     {sprites.List, kCX_Sprite},
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

  long showIn = stored.GetInt(kPref_ShowToolbarIn);
  EnableTaskBarButton(showIn == 1 || showIn == 2);
  if (showIn == 0 || showIn == 2) {
    BaseAddTrayIcon(1, Wind(), TrayTip());
  } else {
    BaseRemoveTrayIcon(1, Wind());
  }

  ShowPref(mControls.Basic.WaveShapeInterval, kPref_WaveShapeInterval);
  ShowPref(mControls.Basic.ColorMapInterval, kPref_ColorMapInterval);
  ShowPref(mControls.Basic.FlowFieldInterval, kPref_FlowFieldInterval);
  ShowPref(mControls.Basic.FrameRate, kPref_FrameRate);
  ShowPref(mControls.Basic.ResponseScale, kPref_ResponseScale);
  ShowPref(mControls.AdvParticles.AutoStart, kPref_ParticlesAutoStart);
  ShowPref(mControls.AdvParticles.Interval, kPref_ParticlesInterval);
  ShowPref(mControls.AdvParticles.Duration, kPref_ParticlesDuration);
  ShowPref(mControls.AdvImageVideo.AutoStart, kPref_ImageVideoAutoStart);
  ShowPref(mControls.AdvImageVideo.Interval, kPref_ImageVideoInterval);
  ShowPref(mControls.AdvImageVideo.Duration, kPref_ImageVideoDuration);
  ShowPref(mControls.AdvImageVideo.IncludeSubfolders, kPref_ImageVideoSubfolders);

  auto& prefs = mControls.AdvPreferences;
  if (prefs.ShowToolbarIn != nullptr) {
    prefs.ShowToolbarIn->SelectItem(showIn);
  }
  ShowPref(prefs.UseToolTips, kPref_ToolTips);
  if (prefs.AlwaysOnTop != nullptr) {
    bool onTop = stored.GetInt(kPref_AlwaysOnTop) != 0;
    prefs.AlwaysOnTop->BoolProp(onTop);
    AlwaysOnTop(onTop);
  }
  ShowPref(prefs.AutoOpenToolbar, kPref_AutoOpenToolbar);
  ShowPref(prefs.AutoCloseToolbar, kPref_AutoCloseToolbar);
  ShowPref(prefs.StartToolbarMinimized, kPref_StartMinimized);
  ShowPref(prefs.DeckAutoStart, kPref_DeckAutoStart);
  ShowPref(prefs.CheckForUpdates, kPref_UpdateCheckDays);

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
