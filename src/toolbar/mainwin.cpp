#include <windows.h>
// The common controls' header needs the platform's types first.
#include <commctrl.h>

#include "foundation/KSLastError.h"
#include "platform/BaseUtils.h"
#include "platform/windowproc.h"
#include "toolbar/ToolbarOwner.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

long CreateMainWindow(std::unique_ptr<cAppWin>* outAppWin) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  long err = RegisterToolbarWindowClass();
  if (err != 0) {
    BaseShowError(nullptr, err, "Failed to register main window class.");
    return err;
  }

  HINSTANCE instance = GetModuleHandleW(nullptr);
  *outAppWin = std::make_unique<cAppWin>();
  cAppWin* appWin = outAppWin->get();
  HWND owner = createToolBarOwner(instance);

  // The window procedure hands the object its window and runs its OnCreate.
  HWND wind = CreateWindowExW(WS_EX_TOOLWINDOW, kToolbarWindowClass, L"Corvexa Toolbar",
                              WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, owner, nullptr,
                              instance, appWin);
  if (wind == nullptr) {
    err = KSLastError();
    BaseShowError(nullptr, err, "Failed to create main window.");
    if (owner != nullptr) {
      DestroyWindow(owner);
    }
    return err;
  }
  return 0;
}
