// Where the toolbar lives (the tray, the taskbar or both), how it goes away
// and comes back, and the tray icon's menu.
//
// The toolbar window has no taskbar button of its own: its hidden owner
// window carries it, and minimising to the taskbar minimises the owner. So
// every way back (the tray icon and its menu, a second start, the taskbar
// button) restores the owner as well as the toolbar; an owner left minimised
// would make the next Minimize do nothing.
#include "platform/BaseUtils.h"
#include "toolbar/PrefChoices.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/cAppWin.h"

namespace {

enum { kTrayShow = 100, kTrayMinimize = 101, kTrayExit = 102 };
const long kTrayIconID = 1;

long ShowToolbarInPref() {
  return gToolbarState.mPrefs.GetInt(kPref_ShowToolbarIn);
}

// "Taskbar only" and "Both taskbar and system tray".
bool UsesTaskbar(long inWhere) {
  return inWhere == 1 || inWhere == 2;
}

// "System tray only" and "Both taskbar and system tray".
bool UsesTray(long inWhere) {
  return inWhere == 0 || inWhere == 2;
}

}  // namespace

void cAppWin::ShowToolbarIn(long inWhere) {
  // A report without a choice (or a list of other choices) changes nothing:
  // the toolbar must keep a way back.
  if (inWhere < 0 || inWhere >= kNumShowToolbarInChoices) {
    return;
  }
  gToolbarState.mPrefs.SetInt(kPref_ShowToolbarIn, inWhere);
  ApplyShowToolbarIn();
}

void cAppWin::ApplyShowToolbarIn() {
  long where = ShowToolbarInPref();
  EnableTaskBarButton(UsesTaskbar(where));
  if (UsesTray(where)) {
    BaseAddTrayIcon(kTrayIconID, Wind(), TrayTip());
  } else {
    BaseRemoveTrayIcon(kTrayIconID, Wind());
  }
}

// Minimising the owner hides the toolbar on Windows, but not on every
// system the program runs on: it is hidden first, as the owner's minimising
// would hide it.
void cAppWin::MinimizeToolbar() {
  Show(false, false);
  if (UsesTaskbar(ShowToolbarInPref())) {
    MinimizeOwner();
  }
}

void cAppWin::ShowToolbar() {
  bool taskbar = UsesTaskbar(ShowToolbarInPref());
  if (IsOwnerMinimized()) {
    RestoreOwner();  // which also shows it
    ShowOwner(taskbar);
  } else if (taskbar) {
    ShowOwner(true);
  }
  if (IsMinimized()) {
    Restore();
  }
  Show(true, false);
  BringToFront();
}

bool cAppWin::IsAway() {
  return !IsVisible() || IsMinimized() || IsOwnerMinimized();
}

void cAppWin::OnTrayIconClick() {
  ShowToolbar();
}

// "Show" while the toolbar is away, "Minimize" while it shows; the other one
// is greyed.
void cAppWin::OnTrayIconRightClick() {
  POINT cursor;
  ::GetCursorPos(&cursor);
  HMENU menu = BaseCreateMenu();
  if (menu == nullptr) {
    return;
  }
  bool away = IsAway();
  BaseAppendMenu(menu, "Show", false, kTrayShow);
  BaseAppendMenu(menu, "Minimize", false, kTrayMinimize);
  BaseAppendMenu(menu, "Exit", false, kTrayExit);
  BaseEnableMenuItem(menu, kTrayShow, away);
  BaseEnableMenuItem(menu, kTrayMinimize, !away);
  BaseTrackPopupMenu(menu, cursor.x, cursor.y, Wind());
  BaseDeleteMenu(menu);
}

void cAppWin::OnCommand(long inID) {
  switch (inID) {
    case kTrayShow:
      ShowToolbar();
      break;
    case kTrayMinimize:
      MinimizeToolbar();
      break;
    case kTrayExit:
      Close();
      break;
    default:
      break;
  }
}
