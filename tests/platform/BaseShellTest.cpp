#include <windows.h>
// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ModalDriver.h"
#include "files/KSFileSpec.h"
#include "files/KSTestFolder.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

namespace {

// What the test window received.
std::vector<UINT> gMessages;
std::vector<WPARAM> gCommands;

LRESULT CALLBACK RecordingProc(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  if (inMsg == WM_COMMAND) {
    gCommands.push_back(LOWORD(inWParam));
  }
  gMessages.push_back(inMsg);
  return DefWindowProcW(inWind, inMsg, inWParam, inLParam);
}

class TestWindow {
 public:
  TestWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KS Base Shell Test";
    RegisterClassW(&wc);
    mWind = CreateWindowW(L"KS Base Shell Test", L"Shell Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          50, 50, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~TestWindow() { DestroyWindow(mWind); }
  HWND Get() const { return mWind; }

  // Delivers everything queued for this thread.
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    }
  }

 private:
  HWND mWind;
};

std::wstring MenuText(HMENU inMenu, int inPos) {
  wchar_t text[64] = L"";
  GetMenuStringW(inMenu, inPos, text, 64, MF_BYPOSITION);
  return text;
}

const char kChildVariable[] = "KS_BASE_RUN_CHILD";

}  // namespace

TEST(BaseMenus, BuildsItemsAndSeparators) {
  HMENU menu = BaseCreateMenu();
  ASSERT_NE(nullptr, menu);
  BaseAppendMenu(menu, "Always on Top", true, 40);
  BaseAppendMenu(menu, "", true, 41);
  BaseAppendMenu(menu, nullptr, false, 42);
  BaseAppendMenu(menu, "Quit", false, 43);
  ASSERT_EQ(4, GetMenuItemCount(menu));

  EXPECT_EQ(L"Always on Top", MenuText(menu, 0));
  EXPECT_EQ(40u, GetMenuItemID(menu, 0));
  EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(L"Quit", MenuText(menu, 3));
  EXPECT_EQ(43u, GetMenuItemID(menu, 3));
  EXPECT_FALSE(GetMenuState(menu, 3, MF_BYPOSITION) & (MF_CHECKED | MF_SEPARATOR));
  BaseDeleteMenu(menu);
  EXPECT_FALSE(IsMenu(menu));
}

TEST(BaseMenus, TrackingSendsTheChosenCommandToTheWindow) {
  TestWindow wind;
  HMENU menu = BaseCreateMenu();
  BaseAppendMenu(menu, "First", false, 51);
  BaseAppendMenu(menu, "Second", false, 52);

  // Once the menu is up, step to the second item and choose it.
  std::thread chooser([] {
    for (int tries = 0; tries < 400; tries++) {
      HWND popup = FindWindowW(L"#32768", nullptr);
      if (popup != nullptr && IsWindowVisible(popup)) {
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
          PostMessageW(popup, WM_KEYDOWN, key, 0);
        }
        return;
      }
      Sleep(25);
    }
  });
  gCommands.clear();
  gMessages.clear();
  BaseTrackPopupMenu(menu, 100, 100, wind.Get());
  chooser.join();
  TestWindow::Pump();
  EXPECT_EQ(std::vector<WPARAM>{52}, gCommands);
  EXPECT_NE(gMessages.end(), std::find(gMessages.begin(), gMessages.end(), UINT(WM_NULL)));
  BaseDeleteMenu(menu);
}

TEST(BaseMenus, ExitPostsQuitWithCodeZero) {
  BaseExitApp();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(0u, msg.wParam);
}

// Not a test of its own: the program that BaseRunProgram starts below.
TEST(BaseRunProgramChild, ExitsWithSevenWhenStartedByTheTest) {
  if (std::getenv(kChildVariable) != nullptr) {
    std::exit(7);
  }
}

TEST(BaseRunProgram, StartsProgramsAndReportsTheirExitCode) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  UtilStr cmd;
  KSWideText::ToUTF8(system, -1, &cmd);
  cmd.Append("\\cmd.exe");
  unsigned long code = 0;
  ASSERT_EQ(0, BaseRunProgram(cmd.getCStr(), "/c exit 3", true, &code));
  EXPECT_EQ(3u, code);
  ASSERT_EQ(0, BaseRunProgram(nullptr, "cmd.exe /c exit 4", true, &code));
  EXPECT_EQ(4u, code);

  // A program whose path holds spaces runs through its short path.
  KSTestFolder folder;
  KSFileSpec copy = folder.Item("with space\\child copy.exe");
  folder.MakeFolder("with space");
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyFileW(self, KSWideText(copy.GetPathCStr()).Get(), FALSE));
  SetEnvironmentVariableA(kChildVariable, "1");
  EXPECT_EQ(
      0, BaseRunProgram(copy.GetPathCStr(), "--gtest_filter=BaseRunProgramChild.*", true, &code));
  SetEnvironmentVariableA(kChildVariable, nullptr);
  EXPECT_EQ(7u, code);

  EXPECT_EQ(kKSErr_FileNotFound,
            BaseRunProgram(folder.Item("none.exe").GetPathCStr(), nullptr, false, &code));
}

TEST(BaseTray, AddsAndRemovesTheIcon) {
  TestWindow wind;
  NOTIFYICONDATAW probe = {};
  probe.cbSize = sizeof probe;
  probe.hWnd = wind.Get();
  probe.uID = 1;
  probe.uFlags = NIF_TIP;
  wcscpy(probe.szTip, L"probe");

  BaseAddTrayIcon(1, wind.Get(), "Corvexa Toolbar with a tip that is longer than the tray allows");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  BaseRemoveTrayIcon(1, wind.Get());
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
}

TEST(BaseFolders, BrowsingStartsAtThePathAndReturnsTheChoice) {
  KSTestFolder folder;
  KSFileSpec start = folder.MakeFolder("start");
  UtilStr path(start.GetPathCStr());
  {
    ModalDriver driver(nullptr, [](HWND inBrowser) {
      Sleep(300);  // the browser selects the start folder as it comes up
      ModalDriver::Press(inBrowser, IDOK);
    });
    EXPECT_TRUE(
        BaseBrowseForFolder(nullptr, "Select additional image and video directory:", &path));
    EXPECT_TRUE(driver.Found());
  }
  EXPECT_STRCASEEQ(start.GetPathCStr(), path.getCStr());

  path.Assign("unchanged");
  ModalDriver driver(nullptr, [](HWND inBrowser) { ModalDriver::Press(inBrowser, IDCANCEL); });
  EXPECT_FALSE(BaseBrowseForFolder(nullptr, "Pick", &path));
  EXPECT_STREQ("unchanged", path.getCStr());
}

TEST(BaseFolders, FileTestsCountFilesAndSpecialFoldersOnly) {
  KSTestFolder folder;
  folder.MakeFile("notes.txt", "x");
  folder.MakeFolder("plain");
  KSFileSpec hidden = folder.MakeFolder("hidden");
  SetFileAttributesW(KSWideText(hidden.GetPathCStr()).Get(), FILE_ATTRIBUTE_HIDDEN);

  auto exists = [&](const char* inName) {
    return BaseIsFileExist(folder.Item(inName).GetPathCStr());
  };
  EXPECT_TRUE(exists("notes.txt"));
  EXPECT_TRUE(exists("*.txt"));
  EXPECT_TRUE(exists("*"));
  EXPECT_FALSE(exists("plain"));
  EXPECT_FALSE(exists("pl*"));
  EXPECT_TRUE(exists("hidden"));
  EXPECT_FALSE(exists("missing.txt"));
}
