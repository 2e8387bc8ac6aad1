// Answers a modal dialog of the test's thread from a helper thread: waits (up
// to ten seconds) for a visible dialog of the creating thread, titled inTitle
// or any when inTitle is null, and runs inAction on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class ModalDriver {
 public:
  ModalDriver(const wchar_t* inTitle, std::function<void(HWND)> inAction)
      : mThreadId(GetCurrentThreadId()),
        mTitle(inTitle != nullptr ? inTitle : L""),
        mAnyTitle(inTitle == nullptr),
        mAction(std::move(inAction)),
        mThread([this] { Run(); }) {}
  ~ModalDriver() { mThread.join(); }

  // The text of a dialog item, read across threads.
  static std::wstring ItemText(HWND inDialog, int inItem) {
    wchar_t text[8192] = L"";
    GetDlgItemTextW(inDialog, inItem, text, 8192);
    return text;
  }

  // Reports a button press the way the dialog manager does.
  static void Press(HWND inDialog, int inButton) {
    PostMessageW(inDialog, WM_COMMAND, MAKEWPARAM(inButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(inDialog, inButton)));
  }

 private:
  void Run() {
    for (int tries = 0; tries < 400; tries++) {
      mMatch = nullptr;
      EnumThreadWindows(mThreadId, Match, reinterpret_cast<LPARAM>(this));
      if (mMatch != nullptr) {
        mAction(mMatch);
        return;
      }
      Sleep(25);
    }
  }

  static BOOL CALLBACK Match(HWND inWind, LPARAM inDriver) {
    ModalDriver* driver = reinterpret_cast<ModalDriver*>(inDriver);
    wchar_t className[64] = L"";
    wchar_t title[256] = L"";
    GetClassNameW(inWind, className, 64);
    GetWindowTextW(inWind, title, 256);
    if (IsWindowVisible(inWind) && std::wstring(className) == L"#32770" &&
        (driver->mAnyTitle || driver->mTitle == title)) {
      driver->mMatch = inWind;
      return FALSE;
    }
    return TRUE;
  }

  DWORD mThreadId;
  std::wstring mTitle;
  bool mAnyTitle;
  std::function<void(HWND)> mAction;
  HWND mMatch = nullptr;
  std::thread mThread;  // last: starts once everything above is set
};
