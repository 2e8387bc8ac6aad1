// store_loop.exe: starts as the toolbar does (a ToolbarState on a given
// preferences folder) and then stores its preferences, or its custom theme,
// round after round until it is killed. The test that kills it checks what
// survives on disk.
//
//   store_loop prefs|theme PREFS_FOLDER FIRST_ROUND SHARED_NAME
//
// SHARED_NAME names a file mapping holding a StoreProgress and, with
// "-ready" appended, an event set when the first round begins.
#include <windows.h>

#include <cwchar>
#include <string>

#include "files/KSFileSpec.h"
#include "foundation/KSHandle.h"
#include "foundation/KSMappedView.h"
#include "toolbar/StoreRounds.h"
#include "toolbar/ToolbarState.h"

namespace {

// A writer whose killer has gone away stops by itself.
const DWORD kLifetimeMS = 60000;

// Stores one round; false when the store failed.
bool StoreRound(ToolbarState* ioState, bool inTheme, long inRound) {
  if (!inTheme) {
    FillPrefsRound(&ioState->mPrefs, inRound);
    return ioState->mPrefs.Store() == 0;
  }
  // Choosing the custom theme again saves it and reads it back: what is read
  // back tells whether the save landed.
  ThemeMgr& themes = ioState->mThemeMgr;
  FillThemeRound(&themes, inRound);
  themes.SetCurrentTheme(themes.GetCurrentTheme());
  return ThemeRound(themes.CurTheme()) == inRound;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    return 2;
  }
  bool theme = std::wcscmp(argv[1], L"theme") == 0;
  KSFileSpec prefsFolder;
  prefsFolder.AssignAbsolutePath(reinterpret_cast<const uint16*>(argv[2]));
  long firstRound = std::wcstol(argv[3], nullptr, 10);
  std::wstring sharedName = argv[4];

  KSHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, sharedName.c_str()));
  KSHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, (sharedName + L"-ready").c_str()));
  KSMappedView view(mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr);
  if (!view || !ready) {
    return 3;
  }
  StoreProgress* progress = static_cast<StoreProgress*>(view.Get());

  ToolbarState state(prefsFolder, nullptr, 0);
  if (theme) {
    state.mThemeMgr.SetCurrentTheme(state.mThemeMgr.FindThemeByLogicalName(kCustomThemeName));
  }
  SetEvent(ready.Get());
  DWORD start = GetTickCount();
  for (long round = firstRound; GetTickCount() - start < kLifetimeMS; round++) {
    // The phase goes first: a kill between the two writes still reads right.
    InterlockedExchange(&progress->mPhase, kRoundStoring);
    InterlockedExchange(&progress->mRound, round);
    if (!StoreRound(&state, theme, round)) {
      InterlockedIncrement(&progress->mFailedStores);
    }
    InterlockedExchange(&progress->mPhase, kRoundStored);
  }
  return 0;
}
