// Preferences for a toolbar that a test or a benchmark drives: its window on
// the taskbar (no tray icon) and shown at the start, no Deck start, and open
// without an engine.
#pragma once

#include "files/Prefs.h"
#include "support/KSTestFolder.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

inline void SetDrivenToolbarPrefs(Prefs* ioPrefs) {
  ioPrefs->SetInt(kPref_ShowToolbarIn, 1);
  ioPrefs->SetInt(kPref_StartMinimized, 0);
  ioPrefs->SetInt(kPref_DeckAutoStart, 0);
  ioPrefs->SetInt(kPref_AutoCloseToolbar, 0);
}

// The window in this process stores its preferences in inFolder, never in
// the prefix's, and shows the engine installation's Factory Blue.
inline void UseDrivenToolbarPrefs(const KSTestFolder& inFolder) {
  Prefs& prefs = gToolbarState.mPrefs;
  prefs.SetSpec(inFolder.Item("Toolbar Preferences.txt"));
  SetDrivenToolbarPrefs(&prefs);
  prefs.SetStr(kPref_Skin, "Factory Blue");
}
