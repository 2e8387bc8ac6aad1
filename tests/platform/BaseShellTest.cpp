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
const char kRecordVariable[] = "KS_BASE_URL_RECORD";

// Copies this test program to inName in inFolder (a name with spaces) so that
// it can be started as a child.
KSFileSpec CopyOfSelf(const KSTestFolder& inFolder, const char* inName) {
  KSFileSpec copy = inFolder.Item(inName);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  CopyFileW(self, KSWideText(copy.GetPathCStr()).Get(), FALSE);
  return copy;
}

// Registers shell commands under the classes root for the test's length:
// keys it made are removed again, values it replaced are put back.
class ClassKeys {
 public:
  ~ClassKeys() {
    for (auto it = mUndo.rbegin(); it != mUndo.rend(); ++it) {
      if (it->mHadValue) {
        Write(it->mKey, it->mName, it->mOldValue);
      } else {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, it->mKey.c_str());
      }
    }
  }

  void Set(const std::wstring& inKey, const wchar_t* inName, const std::wstring& inValue) {
    Undo undo = {inKey, inName != nullptr ? inName : L"", false, L""};
    HKEY existing;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, inKey.c_str(), 0, KEY_READ, &existing) == ERROR_SUCCESS) {
      wchar_t old[1024];
      DWORD bytes = sizeof old;
      undo.mHadValue = RegQueryValueExW(existing, inName, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(old), &bytes) == ERROR_SUCCESS;
      undo.mOldValue = undo.mHadValue ? old : L"";
      RegCloseKey(existing);
    }
    if (undo.mHadValue) {
      mUndo.push_back(undo);
    } else {
      RememberNewKey(inKey);
    }
    Write(inKey, undo.mName, inValue);
  }

 private:
  struct Undo {
    std::wstring mKey;
    std::wstring mName;
    bool mHadValue;
    std::wstring mOldValue;
  };

  // Remembers the outermost key of inKey's path that does not exist yet.
  void RememberNewKey(const std::wstring& inKey) {
    size_t end = 0;
    do {
      end = inKey.find(L'\\', end + 1);
      std::wstring prefix = inKey.substr(0, end);
      if (!Exists(prefix)) {
        mUndo.push_back(Undo{prefix, L"", false, L""});
        return;
      }
    } while (end != std::wstring::npos);
  }

  static bool Exists(const std::wstring& inKey) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, inKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  static void Write(const std::wstring& inKey, const std::wstring& inName,
                    const std::wstring& inValue) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, inKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      RegSetValueExW(key, inName.empty() ? nullptr : inName.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(inValue.c_str()),
                     DWORD((inValue.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
  }

  std::vector<Undo> mUndo;
};

// Waits up to ten seconds for the child to write its command line.
std::string WaitForRecord(const KSFileSpec& inRecord) {
  for (int tries = 0; tries < 400 && inRecord.Exists() == 0; tries++) {
    Sleep(25);
  }
  Sleep(100);
  return ReadAll(inRecord);
}

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

// Not a test of its own: the handler that BaseGotoURL starts below.
TEST(BaseGotoURLChild, RecordsItsCommandLineWhenStartedByTheTest) {
  const char* record = std::getenv(kRecordVariable);
  if (record != nullptr) {
    UtilStr line;
    KSWideText::ToUTF8(GetCommandLineW(), -1, &line);
    KSFileSpec spec;
    spec.AssignFromPath(record);
    KSFile::WriteFile(spec, line.getCStr(), line.length());
    std::exit(0);
  }
}

TEST(BaseGotoURL, OpensThroughTheShellOrTheHTMLHandler) {
  KSTestFolder folder;
  KSFileSpec handler = CopyOfSelf(folder, "url handler.exe");
  std::wstring command = L"\"" + std::wstring(KSWideText(handler.GetPathCStr()).Get()) +
                         L"\" --gtest_filter=BaseGotoURLChild.* \"%1\"";
  KSFileSpec record = folder.Item("record.txt");
  SetEnvironmentVariableA(kRecordVariable, record.GetPathCStr());
  ClassKeys keys;

  // A scheme with a handler of its own opens through the shell.
  keys.Set(L"ks-url-test", L"URL Protocol", L"");
  keys.Set(L"ks-url-test\\shell\\open\\command", nullptr, command);
  ASSERT_EQ(0, BaseGotoURL("ks-url-test://shell/page"));
  EXPECT_NE(std::string::npos, WaitForRecord(record).find("ks-url-test://shell/page"));

  // One the shell cannot open goes to the command registered for HTML
  // documents, with the address in place of the document.
  record.Delete();
  keys.Set(L".htm", nullptr, L"KSTestHTMLFile");
  keys.Set(L"KSTestHTMLFile\\shell\\open\\command", nullptr, command);
  ASSERT_EQ(0, BaseGotoURL("ks-no-handler://fallback/page"));
  std::string line = WaitForRecord(record);
  EXPECT_NE(std::string::npos, line.find("BaseGotoURLChild.*  ks-no-handler://fallback/page"))
      << line;
  SetEnvironmentVariableA(kRecordVariable, nullptr);
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
  folder.MakeFolder("with space");
  KSFileSpec copy = CopyOfSelf(folder, "with space\\child copy.exe");
  ASSERT_EQ(1, copy.Exists());
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
