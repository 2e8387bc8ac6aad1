// ToolbarState: what the toolbar knows about its surroundings before any
// window exists: its work folder, the installed engine (and with it the skins
// and the Deck program), its preferences with a default for every key, and
// the theme manager.
//
// The program's one instance is gToolbarState, built during static
// initialisation and destroyed after WinMain returns; its destruction writes
// the preferences back when they changed.
#pragma once

#include "files/KSFileSpec.h"
#include "files/Prefs.h"
#include "skin/SkinHost.h"
#include "toolbar/ThemeMgr.h"

class ToolbarState : public SkinHost {
 public:
  // Locates the real folders, loads the preferences and the themes.
  ToolbarState();
  // The same start-up inside other folders: the work folder is made in
  // inPrefsFolder (in place of the user's preferences folder) and the engine
  // is looked for below inEnginesDirs[0 .. inNumEnginesDirs - 1] (in place of
  // the common program folders), which are not touched otherwise.
  ToolbarState(const KSFileSpec& inPrefsFolder, const KSFileSpec* inEnginesDirs,
               int inNumEnginesDirs);
  // Stores the preferences when they changed.
  ~ToolbarState();
  ToolbarState(const ToolbarState&) = delete;
  ToolbarState& operator=(const ToolbarState&) = delete;

  // Locates the folders and loads the preferences and the themes.
  void Init();
  // Discards preferences of another version and gives every missing key its
  // default.
  void SetMissingPrefs();

  KSFileSpec mWorkFolder;    // Kestrova\Corvexa in the user's (or common) preferences folder
  KSFileSpec mSkinsFolder;   // the engine's "Skins"; empty without an engine
  KSFileSpec mDeckApp;       // the engine's "Corvexa Deck.exe"; empty without an engine
  KSFileSpec mEngineFolder;  // the installed engine
  Prefs mPrefs;              // "Toolbar Preferences.txt" in the work folder
  ThemeMgr mThemeMgr;

  // The first ToolbarState built, while it lives. It is the skin's host too.
  static ToolbarState* sToolbarState;

  // SkinHost: the advanced panel's mode goes into the preferences, and the
  // current theme says which configurations are on.
  void AdvPanelModeChanged(bool inExtended) override;
  bool ThemeHasConfigOn(CXConfigType inType, const char* inName, long inNameLength) const override;

 private:
  struct Locations;
  void Init(const Locations& inLocations);
  void Register();
};

// The toolbar program's state (defined with the program's start-up code).
extern ToolbarState gToolbarState;
