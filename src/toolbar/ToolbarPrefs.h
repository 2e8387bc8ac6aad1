// The keys of "Toolbar Preferences.txt", and giving every missing key its
// default.
#pragma once

#include "foundation/KSTypes.h"

class Prefs;

// The version of the preference set. A file of another version is discarded
// as a whole when it is loaded.
constexpr long kToolbarPrefsVersion = 350;

constexpr long kPref_Version = KSFourCC("Vers");
constexpr long kPref_ToolTips = KSFourCC("TTip");          // 0/1
constexpr long kPref_AlwaysOnTop = KSFourCC("TTop");       // 0/1
constexpr long kPref_AutoOpenToolbar = KSFourCC("AOpn");   // 0/1, mirrors the engine's
constexpr long kPref_AutoCloseToolbar = KSFourCC("ACls");  // 0/1
constexpr long kPref_StartMinimized = KSFourCC("MinT");    // 0/1
constexpr long kPref_UpdateCheckDays = KSFourCC("UpCk");   // days; 0 disables
constexpr long kPref_ShowToolbarIn = KSFourCC("TApr");     // 0 tray, 1 taskbar, 2 both
constexpr long kPref_BarX = KSFourCC("BarX");              // window position, pixels
constexpr long kPref_BarY = KSFourCC("BarY");
constexpr long kPref_DeckAutoStart = KSFourCC("VAut");         // 0/1
constexpr long kPref_AdvPanelExtended = KSFourCC("APrf");      // 0/1
constexpr long kPref_WaveShapeInterval = KSFourCC("WS_s");     // slider percent
constexpr long kPref_ColorMapInterval = KSFourCC("CM_s");      // slider percent
constexpr long kPref_FlowFieldInterval = KSFourCC("FF_s");     // slider percent
constexpr long kPref_FrameRate = KSFourCC("FRte");             // slider percent
constexpr long kPref_ResponseScale = KSFourCC("ResS");         // slider percent
constexpr long kPref_PreS = KSFourCC("PreS");                  // kept with its default only
constexpr long kPref_ParticlesAutoStart = KSFourCC("PAut");    // 0/1
constexpr long kPref_ParticlesInterval = KSFourCC("PInt");     // slider percent
constexpr long kPref_ParticlesDuration = KSFourCC("PDur");     // slider percent
constexpr long kPref_ImageVideoAutoStart = KSFourCC("IAut");   // 0/1
constexpr long kPref_ImageVideoInterval = KSFourCC("IInt");    // slider percent
constexpr long kPref_ImageVideoDuration = KSFourCC("IDur");    // slider percent
constexpr long kPref_ImageVideoSubfolders = KSFourCC("ISub");  // 0/1
constexpr long kPref_Skin = KSFourCC("Skin");                  // skin folder name
constexpr long kPref_Theme = KSFourCC("Them");                 // current theme's logical name
constexpr long kPref_ImageVideoFolder = KSFourCC("SDir");      // extra image/video folder
constexpr long kPref_Inst = KSFourCC("Inst");                  // kept with its default only

// Discards ioPrefs when its version is not kToolbarPrefsVersion (a missing
// version reads as 0), then gives every missing key its default, and so
// every key of a few choices whose value is none of them (TApr).
void SetMissingToolbarPrefs(Prefs* ioPrefs);
