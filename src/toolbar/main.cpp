// The toolbar program: one toolbar per user session. A second start brings
// the running toolbar back (restored, shown and in front) and ends.
#include <windows.h>

#include "foundation/KSHandle.h"
#include "foundation/KSNamedMutexHold.h"
#include "platform/KSWideText.h"
#include "platform/KSWindUtils.h"
#include "platform/windowproc.h"
#include "skin/KSDialogKeys.h"
#include "toolbar/InstanceHelper.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

namespace {

// Held from before the search for a running toolbar until this process's
// window exists, so that copies started together take turns: each one after
// the first finds the first one's window.
const wchar_t kStartMutexName[] = L"Kestrova Corvexa Toolbar - Start";
// A start that takes longer than this (a message box left open during the
// first skin load, say) no longer holds the others back.
constexpr DWORD kStartWaitMS = 20000;

// How long a second start waits for the running toolbar to answer.
constexpr UINT kAskRunningMS = 5000;

// Asks a running toolbar to come back as its tray icon would bring it (its
// owner, which carries the taskbar button, restored with it), handing it
// this process's right to take the foreground. A toolbar that does not
// answer is restored and shown from here. False when none runs.
bool BringRunningToolbarBack() {
  HWND running = FindWindowW(kToolbarWindowClass, KSWideText(kToolbarTitle).Get());
  if (running == nullptr) {
    return false;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutW(running, kToolbarUserMsg, WPARAM(cAppWin::kUserMsgShowToolbar), 0,
                          SMTO_ABORTIFHUNG, kAskRunningMS, &ignored) == 0) {
    KSWindUtils::SetForgroundWind(kToolbarClassName, kToolbarTitle);
  }
  return true;
}

int RunToolbar() {
  KSHandle startMutex(CreateMutexW(nullptr, FALSE, kStartMutexName));
  KSNamedMutexHold turn(startMutex.Get(), kStartWaitMS);
  if (BringRunningToolbarBack()) {
    return 0;
  }
  std::unique_ptr<cAppWin> appWin;
  long err = CreateMainWindow(&appWin);
  turn.Release();
  if (err != 0) {
    return 0;
  }
  HWND owner = GetWindow(appWin->Wind(), GW_OWNER);

  MSG msg = {};
  int exitCode = 0;
  while (true) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      exitCode = int(msg.wParam);
      break;
    }
    if (got == -1) {
      break;
    }
    // Tab, Space, Enter, arrows and Escape work the skinned controls.
    if (!KSDialogKeys(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  appWin.reset();
  if (owner != nullptr && IsWindow(owner)) {
    DestroyWindow(owner);
  }
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inInstance, HINSTANCE, LPSTR, int) {
  InstanceHelper::Startup(inInstance);
  int exitCode = RunToolbar();
  InstanceHelper::Shutdown();
  return exitCode;
}
