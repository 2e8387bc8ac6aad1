// The UI functions that skinned controls carry, and how engine replies are read.
#pragma once

#include "skin/TokenMap.h"

// What a control does when used. A skin names one of 0 to 102 for each control;
// 103 and up are used only inside the toolbar (list notifications and reply
// tags). Every value fits in one unsigned byte, which is how controls store it.
enum eUIFunction {
  // Window frame.
  kUINull = 0,
  kUIExtendRetract = 1,
  kUIMinimize = 2,
  kUIMaximize = 3,
  kUIClose = 4,
  // Basic controls.
  kUIWebLink = 5,
  kUIStartRandomParticle = 6,
  kUIStartRandomImageVideo = 7,
  kUIAlbumInfo = 8,
  kUIWaveShapeToggle = 9,
  kUIWaveShapeList = 10,
  kUIWaveShapePrev = 11,
  kUIWaveShapeNext = 12,
  kUIWaveShapeInterval = 13,
  kUIColorMapToggle = 14,
  kUIColorMapList = 15,
  kUIColorMapPrev = 16,
  kUIColorMapNext = 17,
  kUIColorMapInterval = 18,
  kUIFlowFieldToggle = 19,
  kUIFlowFieldList = 20,
  kUIFlowFieldPrev = 21,
  kUIFlowFieldNext = 22,
  kUIFlowFieldInterval = 23,
  kUIFrameRate = 24,
  kUIResponseScale = 25,
  kUIDeckMode = 26,
  kUIFullScreen = 27,
  kUISnapshot = 28,
  // Update notice.
  kUIUpdateBar = 29,
  kUIUpdateLink = 30,
  kUIUpdateClose = 31,
  // Advanced panel: particles and images/videos.
  kUIAdvPrefsPanel = 32,
  kUIAdvParticles = 33,
  kUIAdvParticlesSelectAll = 34,
  kUIAdvParticlesStart = 35,
  kUIAdvParticlesStop = 36,
  kUIAdvParticlesStopAll = 37,
  kUIAdvParticlesAutoStart = 38,
  kUIAdvParticlesInterval = 39,
  kUIAdvParticlesDuration = 40,
  kUIAdvImageVideo = 41,
  kUIAdvImageVideoSelectAll = 42,
  kUIAdvImageVideoStart = 43,
  kUIAdvImageVideoStop = 44,
  kUIAdvImageVideoStopAll = 45,
  kUIAdvImageVideoRescan = 46,
  kUIAdvImageVideoAutoStart = 47,
  kUIAdvImageVideoInterval = 48,
  kUIAdvImageVideoDuration = 49,
  kUIAdvImageVideoAlternateSource = 50,
  kUIAdvImageVideoBrowseAlternateSource = 51,
  kUIAdvImageVideoClearAlternateSource = 52,
  kUIAdvImageVideoIncludeSubfolders = 53,
  // Advanced panel: configuration lists.
  kUIAdvWaveShapes = 54,
  kUIAdvWaveShapesSelectAll = 55,
  kUIAdvWaveShapesStart = 56,
  kUIAdvColorMaps = 57,
  kUIAdvColorMapsSelectAll = 58,
  kUIAdvColorMapsStart = 59,
  kUIAdvFlowFields = 60,
  kUIAdvFlowFieldsSelectAll = 61,
  kUIAdvFlowFieldsStart = 62,
  // Advanced panel: visual scripts (bound and drawn, no action).
  kUIAdvScriptsUnsaved = 63,
  kUIAdvScriptsSaved = 64,
  kUIAdvScriptsSave = 65,
  kUIAdvScriptsRename = 66,
  kUIAdvScriptsDelete = 67,
  kUIAdvScriptsStart = 68,
  kUIAdvScriptsSelectAll = 69,
  kUIAdvScriptsStop = 70,
  kUIAdvScriptsScriptsOn = 71,
  kUIAdvScriptsAutoRecord = 72,
  kUIAdvScriptsEdit = 73,
  // Advanced panel: preferences.
  kUIAdvPrefUseToolTips = 74,
  kUIAdvPrefCheckForUpdates = 75,
  kUIAdvPrefAlwaysOnTop = 76,
  kUIAdvPrefAutoTrackInfo = 77,
  kUIAdvPrefFullScreenMode = 78,
  kUIAdvPrefAudioSource = 79,
  kUIAdvPrefTrackTextDuration = 80,
  kUIAdvPrefTrackTextAppearance = 81,
  kUIAdvPrefTrackTextFont = 82,
  kUIAdvPrefTrackTextSize = 83,
  kUIAdvPrefShowToolbarIn = 84,
  kUIAdvPrefLineBoost = 85,
  kUIAdvPrefFrameXLimit = 86,
  kUIAdvPrefFrameYLimit = 87,
  kUIAdvPrefAutoLineScale = 88,
  kUIAdvPrefAllowRemoteControl = 89,
  kUIAdvPrefAutoOpenToolbar = 90,
  kUIAdvPrefAutoCloseToolbar = 91,
  kUIAdvPrefStartToolbarMinimized = 92,
  kUIAdvPrefDeckAutoStart = 93,
  kUIAdvPrefFlowFieldUnions = 94,
  kUIAdvPrefFlowFieldTransitions = 95,
  kUIAdvPrefFlowFieldSmoothSwitch = 96,
  kUIAdvPrefSkin = 97,
  kUIAdvPrefTheme = 98,
  kUIAdvPrefSaveThemeAs = 99,
  kUIAdvPrefDeleteTheme = 100,
  kUIAdvPrefPeer = 101,
  kUIAdvPrefPeerRefresh = 102,
  // The last function a skin can name: every one from kUINull to here has a
  // skin name, in value order without gaps (sFunctionMap).
  kUILastSkinFunction = kUIAdvPrefPeerRefresh,
  // Internal: list notifications and reply tags; no skin name. They follow
  // the skin's functions, and move up when one is added.
  kUIClick = 103,
  kUIChanged = 104,
  kUIUpdateCommandStatus = 105,
  kUINewVersionAvailable = 106,
  kUINewVersionString = 107,
  kUIApplyCurrentThemeToVis = 108,
  kUIApplySpritesThemeToVis = 109,
  kUITrackInfo = 110,
};

// How the receiver of a reply reads it.
enum eRequestType {
  kRequestDontCare = 0,       // nothing is read (commands, the empty barrier text)
  kRequestSetValue = 1,       // not used
  kRequestGetValue = 2,       // one decimal number or one name
  kRequestGetValueIndex = 3,  // a decimal index into the receiver's list
  kRequestGetContents = 4,    // NUL-terminated names ended by an empty name
};

// Skin names of the UI functions kUINull to kUILastSkinFunction, in value
// order, ended by an entry whose name is null.
extern const TokenMap sFunctionMap[];

// Looks up a skin's function name, ignoring case. Returns false and stores
// kUINull when the name is not in sFunctionMap.
bool LookupUIFunction(const char* inName, eUIFunction* outFunction);
// The skin name of inFunction, or null for a value that has none.
const char* UIFunctionName(eUIFunction inFunction);
