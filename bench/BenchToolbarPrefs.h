// The toolbar preferences the in-process window benchmarks run with: stored in
// a folder of the benchmark's own, the window on the taskbar and shown, no
// Deck start, no auto-close, and Factory Blue.
#pragma once

#include "support/KSTestFolder.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

inline void UseBenchToolbarPrefs(KSTestFolder& inFolder) {
  Prefs& prefs = gToolbarState.mPrefs;
  prefs.SetSpec(inFolder.Item("Toolbar Preferences.txt"));
  prefs.SetInt(kPref_ShowToolbarIn, 1);
  prefs.SetInt(kPref_StartMinimized, 0);
  prefs.SetInt(kPref_DeckAutoStart, 0);
  prefs.SetInt(kPref_AutoCloseToolbar, 0);
  prefs.SetStr(kPref_Skin, "Factory Blue");
}
