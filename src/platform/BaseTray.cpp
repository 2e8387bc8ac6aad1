// The tray icon.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cwchar>

#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

namespace {

// Characters of the tip that the tray shows.
const size_t kMaxTipChars = 63;

NOTIFYICONDATAW IconData(long inID, HWND inWind) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof data;
  data.hWnd = inWind;
  data.uID = static_cast<UINT>(inID);
  return data;
}

}  // namespace

void BaseAddTrayIcon(long inID, HWND inWind, const char* inTip) {
  NOTIFYICONDATAW data = IconData(inID, inWind);
  HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(inWind, GWLP_HINSTANCE));
  HICON icon = static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(kTrayIconResID), IMAGE_ICON, 16, 16, 0));
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayIconMsg;
  data.hIcon = icon;
  KSWideText tip(inTip);
  wcsncpy(data.szTip, tip.Get(), kMaxTipChars);
  data.szTip[kMaxTipChars] = L'\0';
  Shell_NotifyIconW(NIM_ADD, &data);
  // The tray keeps a copy of the icon.
  if (icon != nullptr) {
    DestroyIcon(icon);
  }
}

void BaseRemoveTrayIcon(long inID, HWND inWind) {
  NOTIFYICONDATAW data = IconData(inID, inWind);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void BaseSetTrayTip(long inID, HWND inWind, const char* inTip) {
  NOTIFYICONDATAW data = IconData(inID, inWind);
  data.uFlags = NIF_TIP;
  KSWideText tip(inTip);
  wcsncpy(data.szTip, tip.Get(), kMaxTipChars);
  data.szTip[kMaxTipChars] = L'\0';
  Shell_NotifyIconW(NIM_MODIFY, &data);
}
