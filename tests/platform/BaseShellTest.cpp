// The system side of the platform layer: menus, programs, links, the tray,
// folder browsing, message boxes and the query dialog. (Raising the first
// toolbar and the theme boxes' answers are seen in the toolbar's tests.)
// clang-format off
#include <windows.h>
#include <shellapi.h>  // after windows.h, which it needs
// clang-format on

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"
#include "support/KSTestFolder.h"
#include "support/ModalDriver.h"

namespace {

// The file into which the test program, started as a child, writes its
// command line before it exits with code 7.
const char kRecordVariable[] = "KS_BASE_CHILD_RECORD";

// A copy of this test program under a name with spaces, ready to run as a
// child that records into inRecord.
KSFileSpec ChildProgram(const KSTestFolder& inFolder, const KSFileSpec& inRecord) {
  inFolder.MakeFolder("with space");
  KSFileSpec copy = inFolder.Item("with space\\child copy.exe");
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  CopyFileW(self, KSWideText(copy.GetPathCStr()).Get(), FALSE);
  SetEnvironmentVariableA(kRecordVariable, inRecord.GetPathCStr());
  return copy;
}

// Started as a child by a test below, the test program writes its command
// line into the record and ends with code 7 before any test runs.
const bool sRecordedAsChild = [] {
  const char* record = std::getenv(kRecordVariable);
  if (record != nullptr) {
    UtilStr line;
    KSWideText::ToUTF8(GetCommandLineW(), -1, &line);
    KSFileSpec spec;
    spec.AssignFromPath(record);
    KSFile::WriteFile(spec, line.getCStr(), line.length());
    std::exit(7);
  }
  return false;
}();

// Waits up to ten seconds for the child's record.
std::string WaitForRecord(const KSFileSpec& inRecord) {
  for (int tries = 0; tries < 400 && inRecord.Exists() == 0; tries++) {
    Sleep(25);
  }
  Sleep(100);
  return ReadAll(inRecord);
}

void SetClassValue(const std::wstring& inKey, const wchar_t* inName, const std::wstring& inValue) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, inKey.c_str(), 0, nullptr, 0,
                                           KEY_WRITE, nullptr, &key, nullptr));
  RegSetValueExW(key, inName, 0, REG_SZ, reinterpret_cast<const BYTE*>(inValue.c_str()),
                 DWORD((inValue.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// Whether a control of inDialog shows inText (ignoring case).
bool ShowsText(HWND inDialog, const std::wstring& inText) {
  struct Search {
    const std::wstring* mText;
    bool mFound;
  } search = {&inText, false};
  EnumChildWindows(
      inDialog,
      [](HWND inChild, LPARAM inSearch) -> BOOL {
        Search* search = reinterpret_cast<Search*>(inSearch);
        wchar_t text[MAX_PATH + 1] = L"";
        GetWindowTextW(inChild, text, MAX_PATH + 1);
        search->mFound = lstrcmpiW(text, search->mText->c_str()) == 0;
        return !search->mFound;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.mFound;
}

// The message text item of a message box.
const int kMsgBoxTextItem = 0xFFFF;

// Shows the query dialog with ioText and answers it with inAnswer (null:
// Cancel). outShown gets the prompt and the entry the dialog came up with.
bool Query(char* ioText, long inSize, const wchar_t* inAnswer, std::wstring* outShown) {
  ModalDriver driver(L"Name please", [&](HWND inDialog) {
    *outShown = ModalDriver::ItemText(inDialog, kQueryPromptItem) + L"|" +
                ModalDriver::ItemText(inDialog, kQueryTextItem);
    if (inAnswer != nullptr) {
      SetDlgItemTextW(inDialog, kQueryTextItem, inAnswer);
    }
    ModalDriver::Press(inDialog, inAnswer != nullptr ? IDOK : IDCANCEL);
  });
  return BaseQueryInput(nullptr, "Name please", "Save current theme as:", ioText, inSize);
}

// Shows a message box through inShow, answers it with inButton and gives its
// text.
std::wstring Answer(const wchar_t* inTitle, int inButton, const std::function<void()>& inShow) {
  std::wstring text;
  ModalDriver driver(inTitle, [&](HWND inBox) {
    text = ModalDriver::ItemText(inBox, kMsgBoxTextItem);
    ModalDriver::Press(inBox, inButton);
  });
  inShow();
  return text;
}

}  // namespace

// A tip longer than the tray takes is cut, not written past its field. (The
// toolbar's tests work its tray menu and see its icon come and go.)
TEST(BaseTray, ALongTipIsCut) {
  HWND wind = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  NOTIFYICONDATAW probe = {};
  probe.cbSize = sizeof probe;
  probe.hWnd = wind;
  probe.uID = 1;
  BaseAddTrayIcon(1, wind, ("Corvexa Toolbar - connected to " + std::string(300, 'n')).c_str());
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  BaseRemoveTrayIcon(1, wind);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  DestroyWindow(wind);
}

TEST(BaseRunProgram, StartsProgramsAndReportsTheirExitCode) {
  unsigned long code = 0;
  ASSERT_EQ(0, BaseRunProgram(nullptr, "cmd.exe /c exit 4", true, &code));
  EXPECT_EQ(4u, code);

  // A program whose path holds spaces runs through its short path.
  KSTestFolder folder;
  KSFileSpec record = folder.Item("record.txt");
  KSFileSpec child = ChildProgram(folder, record);
  EXPECT_EQ(0, BaseRunProgram(child.GetPathCStr(), "--child x", true, &code));
  EXPECT_EQ(7u, code);
  EXPECT_NE(std::string::npos, ReadAll(record).find("--child x"));

  EXPECT_EQ(kKSErr_FileNotFound,
            BaseRunProgram(folder.Item("none.exe").GetPathCStr(), nullptr, false, &code));
}

TEST(BaseGotoURL, OpensThroughTheShellOrTheHTMLHandler) {
  KSTestFolder folder;
  KSFileSpec record = folder.Item("record.txt");
  KSFileSpec child = ChildProgram(folder, record);
  std::wstring command =
      L"\"" + std::wstring(KSWideText(child.GetPathCStr()).Get()) + L"\" --child \"%1\"";

  // A scheme with a handler of its own opens through the shell.
  SetClassValue(L"ks-url-test", L"URL Protocol", L"");
  SetClassValue(L"ks-url-test\\shell\\open\\command", nullptr, command);
  EXPECT_EQ(0, BaseGotoURL("ks-url-test://shell/page"));
  EXPECT_NE(std::string::npos, WaitForRecord(record).find("ks-url-test://shell/page"));

  // One the shell cannot open goes to the command registered for HTML
  // documents, cut before its document argument.
  wchar_t oldHTML[256] = L"";
  LONG bytes = sizeof oldHTML;
  bool hadHTML = RegQueryValueW(HKEY_CLASSES_ROOT, L".htm", oldHTML, &bytes) == ERROR_SUCCESS;
  SetClassValue(L".htm", nullptr, L"KSTestHTMLFile");
  SetClassValue(L"KSTestHTMLFile\\shell\\open\\command", nullptr, command);
  record.Delete();
  EXPECT_EQ(0, BaseGotoURL("ks-no-handler://fallback/page"));
  EXPECT_NE(std::string::npos,
            WaitForRecord(record).find("--child  ks-no-handler://fallback/page"));

  if (hadHTML) {
    SetClassValue(L".htm", nullptr, oldHTML);
  } else {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".htm");
  }
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"KSTestHTMLFile");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"ks-url-test");
}

TEST(BaseFolders, BrowsingStartsAtThePathAndReturnsTheChoice) {
  // A folder that nothing changes while the test runs: the shell's browser
  // under wine may fail to select a folder whose parent has just changed
  // (a fresh temporary folder, say), however often it is asked.
  wchar_t system[MAX_PATH] = L"";
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  UtilStr start;
  KSWideText::ToUTF8(system, -1, &start);
  UtilStr path(start.getCStr());
  {
    std::wstring wanted = system;
    ModalDriver driver(nullptr, [&wanted](HWND inBrowser) {
      // The status text names the selected folder once the browser has
      // moved to the start folder.
      for (int tries = 0; tries < 400 && !ShowsText(inBrowser, wanted); tries++) {
        Sleep(25);
      }
      ModalDriver::Press(inBrowser, IDOK);
    });
    EXPECT_TRUE(BaseBrowseForFolder(nullptr, "Select a folder:", &path));
  }
  EXPECT_STRCASEEQ(start.getCStr(), path.getCStr());

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
  EXPECT_TRUE(exists("*.txt") && exists("hidden"));
  EXPECT_FALSE(exists("pl*") || exists("plain") || exists("missing.txt"));
}

TEST(BaseQueryInput, OkCopiesTheEntryBackAndCancelLeavesIt) {
  char text[260] = "Night";
  std::wstring shown;
  EXPECT_TRUE(Query(text, sizeof text, L"Morning \u00e9", &shown));
  EXPECT_EQ(L"Save current theme as:|Night", shown);
  EXPECT_STREQ("Morning \xC3\xA9", text);
  EXPECT_FALSE(Query(text, sizeof text, nullptr, &shown));
  EXPECT_STREQ("Morning \xC3\xA9", text);

  // Cut to the buffer, never inside a character: two of three two-byte
  // characters fit five bytes.
  char small[6] = "";
  EXPECT_TRUE(Query(small, sizeof small, L"abcdefgh", &shown));
  EXPECT_STREQ("abcde", small);
  EXPECT_TRUE(Query(small, sizeof small, L"\u00e9\u00e9\u00e9", &shown));
  EXPECT_STREQ("\xC3\xA9\xC3\xA9", small);
}

TEST(BaseShowError, MessageBoxesShowTheirTextAndReportTheAnswer) {
  EXPECT_EQ(L"Error reading skin file: x. File/Folder not found (2)", Answer(L"Error", IDOK, [] {
              BaseShowError(nullptr, kKSErr_FileNotFound, "Error reading skin file: x.", "(2)");
            }));
  EXPECT_EQ(L"Error -55013", Answer(L"Error", IDOK, [] { BaseShowError(nullptr, -55013); }));
  std::string longPrefix(5000, 'p');
  EXPECT_EQ(4095u, Answer(L"Error", IDOK, [&] {
                     BaseShowError(nullptr, 0, longPrefix.c_str(), "end");
                   }).size());
}
