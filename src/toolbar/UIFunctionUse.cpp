#include "toolbar/UIFunctionUse.h"

#include "toolbar/UIDispatchScripts.h"

namespace {

struct Entry {
  eUIFunction mFunction;
  eControlType mBinds;
  bool mActs;
};

// The window binds these (cAppWin::BindControls); a function with an engine
// script (UIDispatchScripts) acts, and so do those marked here.
const Entry kEntries[] = {
    {kUIExtendRetract, kControlTypeNull, true},
    {kUIMinimize, kControlTypeNull, true},
    {kUIMaximize, kControlTypeNull, true},
    {kUIClose, kControlTypeNull, true},
    {kUIWebLink, kControlTypeButton, true},
    {kUIWaveShapeToggle, kControlTypeCheckBox, true},
    {kUIWaveShapeList, kControlTypeComboBox, true},
    {kUIWaveShapeInterval, kControlTypeSlider, true},
    {kUIColorMapToggle, kControlTypeCheckBox, true},
    {kUIColorMapList, kControlTypeComboBox, true},
    {kUIColorMapInterval, kControlTypeSlider, true},
    {kUIFlowFieldToggle, kControlTypeCheckBox, true},
    {kUIFlowFieldList, kControlTypeComboBox, true},
    {kUIFlowFieldInterval, kControlTypeSlider, true},
    {kUIFrameRate, kControlTypeSlider, true},
    {kUIResponseScale, kControlTypeSlider, true},
    {kUIDeckMode, kControlTypeButton, true},
    {kUIFullScreen, kControlTypeButton, true},
    {kUIUpdateBar, kControlTypeToolPage, true},
    {kUIUpdateLink, kControlTypeLabel, true},
    {kUIUpdateClose, kControlTypeNull, true},
    {kUIAdvPrefsPanel, kControlTypeNull, true},
    {kUIAdvParticles, kControlTypeListView, true},
    {kUIAdvParticlesSelectAll, kControlTypeCheckBox, true},
    {kUIAdvParticlesStart, kControlTypeButton, true},
    {kUIAdvParticlesStop, kControlTypeButton, true},
    {kUIAdvParticlesStopAll, kControlTypeButton, true},
    {kUIAdvParticlesAutoStart, kControlTypeCheckBox, true},
    {kUIAdvParticlesInterval, kControlTypeSlider, true},
    {kUIAdvParticlesDuration, kControlTypeSlider, true},
    {kUIAdvImageVideo, kControlTypeListView, true},
    {kUIAdvImageVideoSelectAll, kControlTypeCheckBox, true},
    {kUIAdvImageVideoStart, kControlTypeButton, true},
    {kUIAdvImageVideoStop, kControlTypeButton, true},
    {kUIAdvImageVideoStopAll, kControlTypeButton, true},
    {kUIAdvImageVideoRescan, kControlTypeButton, true},
    {kUIAdvImageVideoAutoStart, kControlTypeCheckBox, true},
    {kUIAdvImageVideoInterval, kControlTypeSlider, true},
    {kUIAdvImageVideoDuration, kControlTypeSlider, true},
    {kUIAdvImageVideoAlternateSource, kControlTypeEdit, true},
    {kUIAdvImageVideoBrowseAlternateSource, kControlTypeButton, true},
    {kUIAdvImageVideoClearAlternateSource, kControlTypeButton, true},
    {kUIAdvImageVideoIncludeSubfolders, kControlTypeCheckBox, true},
    {kUIAdvWaveShapes, kControlTypeListView, true},
    {kUIAdvWaveShapesSelectAll, kControlTypeCheckBox, true},
    {kUIAdvColorMaps, kControlTypeListView, true},
    {kUIAdvColorMapsSelectAll, kControlTypeCheckBox, true},
    {kUIAdvFlowFields, kControlTypeListView, true},
    {kUIAdvFlowFieldsSelectAll, kControlTypeCheckBox, true},
    // The visual-scripts section is bound and drawn, but the engine offers
    // nothing for it to do.
    {kUIAdvScriptsUnsaved, kControlTypeListView, false},
    {kUIAdvScriptsSaved, kControlTypeListView, false},
    {kUIAdvScriptsSave, kControlTypeButton, false},
    {kUIAdvScriptsRename, kControlTypeButton, false},
    {kUIAdvScriptsDelete, kControlTypeButton, false},
    {kUIAdvScriptsSelectAll, kControlTypeCheckBox, false},
    {kUIAdvScriptsStart, kControlTypeButton, false},
    {kUIAdvScriptsStop, kControlTypeButton, false},
    {kUIAdvScriptsScriptsOn, kControlTypeCheckBox, false},
    {kUIAdvScriptsAutoRecord, kControlTypeCheckBox, false},
    {kUIAdvScriptsEdit, kControlTypeButton, false},
    {kUIAdvPrefUseToolTips, kControlTypeCheckBox, true},
    {kUIAdvPrefCheckForUpdates, kControlTypeCheckBox, true},
    {kUIAdvPrefAlwaysOnTop, kControlTypeCheckBox, true},
    {kUIAdvPrefAutoTrackInfo, kControlTypeCheckBox, true},
    {kUIAdvPrefFullScreenMode, kControlTypeComboBox, true},
    {kUIAdvPrefAudioSource, kControlTypeComboBox, true},
    {kUIAdvPrefTrackTextDuration, kControlTypeComboBox, true},
    {kUIAdvPrefTrackTextAppearance, kControlTypeComboBox, true},
    {kUIAdvPrefTrackTextFont, kControlTypeComboBox, true},
    {kUIAdvPrefTrackTextSize, kControlTypeComboBox, true},
    {kUIAdvPrefShowToolbarIn, kControlTypeComboBox, true},
    {kUIAdvPrefLineBoost, kControlTypeComboBox, true},
    {kUIAdvPrefFrameXLimit, kControlTypeComboBox, true},
    {kUIAdvPrefFrameYLimit, kControlTypeComboBox, true},
    {kUIAdvPrefAutoLineScale, kControlTypeCheckBox, true},
    {kUIAdvPrefAllowRemoteControl, kControlTypeCheckBox, true},
    {kUIAdvPrefAutoOpenToolbar, kControlTypeCheckBox, true},
    {kUIAdvPrefAutoCloseToolbar, kControlTypeCheckBox, true},
    {kUIAdvPrefStartToolbarMinimized, kControlTypeCheckBox, true},
    {kUIAdvPrefDeckAutoStart, kControlTypeCheckBox, true},
    {kUIAdvPrefFlowFieldUnions, kControlTypeCheckBox, true},
    {kUIAdvPrefFlowFieldTransitions, kControlTypeCheckBox, true},
    {kUIAdvPrefFlowFieldSmoothSwitch, kControlTypeCheckBox, true},
    {kUIAdvPrefSkin, kControlTypeComboBox, true},
    {kUIAdvPrefTheme, kControlTypeComboBox, true},
    {kUIAdvPrefSaveThemeAs, kControlTypeButton, true},
    {kUIAdvPrefDeleteTheme, kControlTypeButton, true},
    {kUIAdvPrefPeer, kControlTypeComboBox, true},
    // The rescan of the engines found, as the factory skin's tip promises.
    {kUIAdvPrefPeerRefresh, kControlTypeButton, true},
};

}  // namespace

UIFunctionUse GetUIFunctionUse(eUIFunction inFunction) {
  UIFunctionUse use = {kControlTypeNull, FindUIScript(inFunction) != nullptr};
  for (const Entry& entry : kEntries) {
    if (entry.mFunction == inFunction) {
      use.mBinds = entry.mBinds;
      use.mActs = use.mActs || entry.mActs;
    }
  }
  return use;
}
