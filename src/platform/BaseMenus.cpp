// Popup menus and leaving the message loop.
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

HMENU BaseCreateMenu() {
  return CreatePopupMenu();
}

void BaseAppendMenu(HMENU inMenu, const char* inText, bool inChecked, long inID) {
  if (inText == nullptr || inText[0] == '\0') {
    AppendMenuW(inMenu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  KSWideText text(inText);
  UINT flags = MF_STRING | (inChecked ? MF_CHECKED : MF_UNCHECKED);
  AppendMenuW(inMenu, flags, static_cast<UINT_PTR>(inID), text.Get());
}

void BaseTrackPopupMenu(HMENU inMenu, long inX, long inY, HWND inWind) {
  // The owner must be in front, or the menu would not close when the user
  // clicks elsewhere; the empty message afterwards lets it close properly.
  SetForegroundWindow(inWind);
  TrackPopupMenu(inMenu, TPM_RIGHTBUTTON, inX, inY, 0, inWind, nullptr);
  PostMessageW(inWind, WM_NULL, 0, 0);
}

void BaseEnableMenuItem(HMENU inMenu, long inID, bool inEnable) {
  EnableMenuItem(inMenu, static_cast<UINT>(inID),
                 MF_BYCOMMAND | (inEnable ? MF_ENABLED : MF_GRAYED));
}

void BaseDeleteMenu(HMENU inMenu) {
  DestroyMenu(inMenu);
}

void BaseExitApp() {
  PostQuitMessage(0);
}
