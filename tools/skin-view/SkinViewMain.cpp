// corvexa-skin-view: shows a skin folder as the toolbar would, with the real
// skin parser, pages and controls but no engine and no application: every
// control shows sample content and the pages extend and retract. With
// --screenshot it writes what the screen shows of the window into a BMP
// file and exits, so that a skin can be seen without a display; with --check
// it lists the skin's problems and shows nothing (SkinCheck).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "files/KSFileSpec.h"
#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/windowproc.h"
#include "skin-view/ErrorBoxEcho.h"
#include "skin-view/ScreenShot.h"
#include "skin-view/SkinCheck.h"
#include "skin-view/SkinViewOptions.h"
#include "skin-view/cSkinViewWindow.h"

namespace {

// Where the window opens, on the screen.
const long kWindowX = 64;
const long kWindowY = 64;

// How long a screenshot waits for everything to be drawn and on the screen.
const DWORD kSettleMS = 600;

// A plain window of one colour, behind the skin's window in a screenshot.
class cBackdrop : public cBaseWindow {
 public:
  explicit cBackdrop(uint32 inColour)
      : cBaseWindow(nullptr),
        mColour{uint8(inColour), uint8(inColour >> 8), uint8(inColour >> 16), 255} {}

  void OnPaint(HDC inDC) override {
    KSRect client;
    if (GetClientRect(&client) == 0) {
      BaseFillRectangle(inDC, client, mColour);
    }
  }
  using cBaseWindow::OnPaint;

 private:
  KSRGBA mColour;
};

KSFileSpec FullPath(const std::wstring& inPath) {
  wchar_t full[MAX_PATH];
  DWORD units = GetFullPathNameW(inPath.c_str(), MAX_PATH, full, nullptr);
  KSFileSpec spec;
  if (units > 0 && units < MAX_PATH) {
    spec.AssignAbsolutePath(reinterpret_cast<const uint16*>(full), int(units));
  }
  return spec;
}

void Say(const std::string& inText) {
  printf("corvexa-skin-view: %s\n", inText.c_str());
  fflush(stdout);
}

// Runs the messages of this thread for inMS milliseconds.
void PumpFor(DWORD inMS) {
  DWORD end = GetTickCount() + inMS;
  MSG msg;
  while (long(end - GetTickCount()) > 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

int SayScreenShotFailed(long inErr) {
  UtilStr why;
  KSError::GetErrMsg(inErr, &why);
  Say(std::string("the screenshot could not be written: ") + why.getCStr());
  return kViewExitScreenshot;
}

// The window over its backdrop, a screenful at a time: both are moved up and
// left so that the next piece is on the screen.
int TakeScreenShot(cSkinViewWindow* ioWindow, const SkinViewOptions& inOptions) {
  long width = ioWindow->Width();
  long height = ioWindow->Height();
  ScreenShot shot(width, height);
  cBackdrop backdrop(inOptions.mBackdrop);
  if (!shot.IsValid() || backdrop.CreatePopup(0, 0, width, height, kWindowVisible, nullptr) != 0) {
    return SayScreenShotFailed(kKSErr_AllocFailed);
  }
  // Shown last, the skin's window is the topmost.
  ioWindow->Show(true, false);
  ioWindow->BringToTop();
  long screenWidth = GetSystemMetrics(SM_CXSCREEN);
  long screenHeight = GetSystemMetrics(SM_CYSCREEN);
  for (long top = 0; top < height; top += screenHeight) {
    for (long left = 0; left < width; left += screenWidth) {
      backdrop.SetPosition(-left, -top, width, height, true);
      ioWindow->SetPosition(-left, -top, true);
      RedrawWindow(ioWindow->Wind(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      PumpFor(kSettleMS);
      KSRect piece = {0, 0, int32(std::min(screenWidth, width - left)),
                      int32(std::min(screenHeight, height - top))};
      if (long err = shot.Grab(piece, left, top)) {
        return SayScreenShotFailed(err);
      }
    }
  }
  long err = shot.Write(FullPath(inOptions.mScreenshot));
  return err != 0 ? SayScreenShotFailed(err) : kViewExitOK;
}

int RunCheck(const SkinViewOptions& inOptions) {
  std::vector<std::string> problems = CheckSkin(FullPath(inOptions.mSkinFolder));
  for (const std::string& problem : problems) {
    printf("%s\n", problem.c_str());
  }
  fflush(stdout);
  return problems.empty() ? kViewExitOK : kViewExitProblems;
}

int RunWindow() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return kViewExitOK;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SkinViewOptions options;
  std::string error;
  if (!ParseSkinViewOptions(__argc - 1, __wargv + 1, &options, &error)) {
    Say(error);
    printf("%s", kSkinViewUsage);
    return kViewExitUsage;
  }
  if (options.mCheck) {
    return RunCheck(options);
  }
  bool screenShot = !options.mScreenshot.empty();
  // Nobody answers the error boxes of a screenshot: they are printed.
  std::optional<ErrorBoxEcho> echo;
  if (screenShot) {
    echo.emplace();
  }
  long err = RegisterToolbarWindowClass();
  cSkinViewWindow window;
  if (err == 0) {
    err = window.Open(kWindowX, kWindowY);
  }
  if (err == 0) {
    err = window.LoadSkin(FullPath(options.mSkinFolder));
  }
  if (err != 0) {
    UtilStr why;
    KSError::GetErrMsg(err, &why);
    Say(std::string("the skin did not load: ") + why.getCStr());
    return kViewExitLoadFailed;
  }
  std::string missing;
  if (!window.ChooseModes(options.mModes, options.mOpenPages, &missing)) {
    Say("the skin has no page named " + missing);
    return kViewExitUsage;
  }
  window.Start(!screenShot);
  if (screenShot) {
    return TakeScreenShot(&window, options);
  }
  window.Show(true, false);
  return RunWindow();
}
