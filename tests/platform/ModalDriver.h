// Drives a modal window of the test's thread from a helper thread: waits until
// a visible dialog of the calling thread appears (one titled inTitle, or any
// dialog when inTitle is null), then runs inAction on it from the helper.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class ModalDriver {
 public:
  ModalDriver(const wchar_t* inTitle, std::function<void(HWND)> inAction)
      : mThreadId(GetCurrentThreadId()),
        mAnyTitle(inTitle == nullptr),
        mTitle(inTitle != nullptr ? inTitle : L""),
        mAction(std::move(inAction)),
        mFound(false) {
    mThread = std::thread([this] { Run(); });
  }
  ~ModalDriver() { mThread.join(); }

  bool Found() const { return mFound; }

  // The text of a dialog item, read across threads.
  static std::wstring ItemText(HWND inDialog, int inItem) {
    wchar_t text[8192] = L"";
    GetDlgItemTextW(inDialog, inItem, text, 8192);
    return text;
  }

  // Presses a button the way the dialog manager reports it.
  static void Press(HWND inDialog, int inButton) {
    PostMessageW(inDialog, WM_COMMAND, MAKEWPARAM(inButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(inDialog, inButton)));
  }

 private:
  void Run() {
    // Up to ten seconds.
    for (int tries = 0; tries < 400; tries++) {
      mMatch = nullptr;
      EnumThreadWindows(mThreadId, Match, reinterpret_cast<LPARAM>(this));
      if (mMatch != nullptr) {
        mFound = true;
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
  bool mAnyTitle;
  std::wstring mTitle;
  std::function<void(HWND)> mAction;
  std::atomic<bool> mFound;
  HWND mMatch = nullptr;
  std::thread mThread;
};
