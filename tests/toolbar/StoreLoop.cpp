// store_loop.exe: starts as the toolbar does (a ToolbarState on a given
// preferences folder) and then stores its preferences round after round until
// it is killed. The test that kills it checks what survives on disk.
//
//   store_loop PREFS_FOLDER FIRST_ROUND SHARED_NAME
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    return 2;
  }
  KSFileSpec prefsFolder;
  prefsFolder.AssignAbsolutePath(reinterpret_cast<const uint16*>(argv[1]));
  long firstRound = std::wcstol(argv[2], nullptr, 10);
  std::wstring sharedName = argv[3];

  KSHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, sharedName.c_str()));
  KSHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, (sharedName + L"-ready").c_str()));
  KSMappedView view(mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr);
  if (!view || !ready) {
    return 3;
  }
  StoreProgress* progress = static_cast<StoreProgress*>(view.Get());

  ToolbarState state(prefsFolder, nullptr, 0);
  SetEvent(ready.Get());
  DWORD start = GetTickCount();
  for (long round = firstRound; GetTickCount() - start < kLifetimeMS; round++) {
    // The phase goes first: a kill between the two writes still reads right.
    InterlockedExchange(&progress->mPhase, kRoundStoring);
    InterlockedExchange(&progress->mRound, round);
    FillPrefsRound(&state.mPrefs, round);
    if (state.mPrefs.Store() != 0) {
      InterlockedIncrement(&progress->mFailedStores);
    }
    InterlockedExchange(&progress->mPhase, kRoundStored);
  }
  return 0;
}
