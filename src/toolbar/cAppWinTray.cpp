// The tray icon's menu and the commands it sends.
#include "platform/BaseUtils.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/cAppWin.h"

namespace {

enum { kTrayShow = 100, kTrayMinimize = 101, kTrayExit = 102 };

// Whether the toolbar has a taskbar button (the owner's).
bool TaskbarInUse() {
  long showIn = gToolbarState.mPrefs.GetInt(kPref_ShowToolbarIn);
  return showIn == 1 || showIn == 2;
}

}  // namespace

void cAppWin::OnTrayIconRightClick() {
  POINT cursor;
  ::GetCursorPos(&cursor);
  HMENU menu = BaseCreateMenu();
  if (menu == nullptr) {
    return;
  }
  if (!IsMinimized() && IsVisible()) {
    BaseAppendMenu(menu, "Minimize", false, kTrayMinimize);
  } else {
    BaseAppendMenu(menu, "Show", false, kTrayShow);
  }
  BaseAppendMenu(menu, "Exit", false, kTrayExit);
  BaseTrackPopupMenu(menu, cursor.x, cursor.y, Wind());
  BaseDeleteMenu(menu);
}

void cAppWin::OnCommand(long inID) {
  switch (inID) {
    case kTrayShow:
      if (IsMinimized()) {
        Restore();
        RestoreOwner();
      }
      if (TaskbarInUse()) {
        ShowOwner(true);
      }
      Show(true, false);
      BringToFront();
      break;
    case kTrayMinimize:
      if (TaskbarInUse()) {
        MinimizeOwner();
      } else {
        Show(false, false);
      }
      break;
    case kTrayExit:
      Close();
      break;
    default:
      break;
  }
}
