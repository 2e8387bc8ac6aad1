// cAppWin: before the engine switches to full screen, the media player that
// hosts it is given the right to take the foreground, or its full-screen
// window could open behind the toolbar.
#include <windows.h>

#include "foundation/UtilStr.h"
#include "toolbar/cAppWin.h"

namespace {

// A word found in an engine instance's name, and the class of the top-level
// window of the player that the word names.
struct HostPlayer {
  const char* mKeyword;
  const wchar_t* mWindowClass;
};

const HostPlayer kHostPlayers[] = {
    {"foobar", L"{DA7CD0DE-1602-45e6-89A1-C2CA151E008E}"},
    {"iTunes", L"iTunes"},
    {"jetAudio", L"COWON Jet-Audio MainWnd Class"},
    {"river", L"MJFrame"},
    {"mediamonkey", L"TFMainWindow"},
    {"musicmatch", L"MMJB:MAINWIND"},
    {"qcd", L"PlayerCanvas"},
    {"realplayer", L"GeminiWindowClass"},
    {"windows media player", L"WMPlayerApp"},
    {"winamp", L"Winamp v1.x"},
    {"xmplay", L"XMPLAY-MAIN"},
    {"standalone", L"Kestrova Corvexa Standalone"},
};

typedef BOOL(WINAPI* LockSetForegroundWindowProc)(UINT);
typedef BOOL(WINAPI* AllowSetForegroundWindowProc)(DWORD);

}  // namespace

void cAppWin::BringHostPlayerForward() {
  // Older systems lack these calls: look them up rather than link them.
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) {
    return;
  }
  if (auto unlock = reinterpret_cast<LockSetForegroundWindowProc>(
          reinterpret_cast<void*>(::GetProcAddress(user32, "LockSetForegroundWindow")))) {
    unlock(LSFW_UNLOCK);
  }
  auto allow = reinterpret_cast<AllowSetForegroundWindowProc>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "AllowSetForegroundWindow")));
  if (allow == nullptr) {
    return;
  }
  UtilStr service(mSession.GetCurServiceName());
  for (const HostPlayer& player : kHostPlayers) {
    if (service.contains(player.mKeyword, 0, false) == 0) {
      continue;
    }
    HWND wind = ::FindWindowW(player.mWindowClass, nullptr);
    if (wind == nullptr) {
      continue;
    }
    DWORD process = 0;
    if (::GetWindowThreadProcessId(wind, &process) != 0 && process != 0) {
      allow(process);
    }
    ::SetForegroundWindow(wind);
  }
}
