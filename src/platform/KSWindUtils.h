// Message boxes, and finding and raising a top-level window.
#pragma once

#include <windows.h>

class KSWindUtils {
 public:
  // A message box with the exclamation icon and an OK button.
  static void ShowMsg(HWND inOwner, const char* inText, const char* inTitle);

  // A Yes/No message box with the exclamation icon; true for Yes.
  static bool AreYouSure(HWND inOwner, const char* inText, const char* inTitle);

  // Finds the top-level window of that class and title, restores it when
  // minimised (shows it otherwise) and brings it to the front. False when
  // there is none.
  static bool SetForgroundWind(const char* inClassName, const char* inTitle);
};
