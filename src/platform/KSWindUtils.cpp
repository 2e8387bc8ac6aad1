#include "platform/KSWindUtils.h"

#include "platform/KSWideText.h"

void KSWindUtils::ShowMsg(HWND inOwner, const char* inText, const char* inTitle) {
  MessageBoxW(inOwner, KSWideText(inText).Get(), KSWideText(inTitle).Get(),
              MB_ICONEXCLAMATION | MB_OK);
}

bool KSWindUtils::AreYouSure(HWND inOwner, const char* inText, const char* inTitle) {
  int answer = MessageBoxW(inOwner, KSWideText(inText).Get(), KSWideText(inTitle).Get(),
                           MB_ICONEXCLAMATION | MB_YESNO);
  return answer == IDYES;
}

bool KSWindUtils::SetForgroundWind(const char* inClassName, const char* inTitle) {
  KSWideText className(inClassName);
  KSWideText title(inTitle);
  // A null class or title matches any.
  HWND wind = FindWindowW(inClassName != nullptr ? className.Get() : nullptr,
                          inTitle != nullptr ? title.Get() : nullptr);
  if (wind == nullptr) {
    return false;
  }
  ShowWindow(wind, IsIconic(wind) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(wind);
  return true;
}
