// corvexa-toolbar.exe driven from outside its process, as the tests that
// start it as a program see it: its window, the items of its combo boxes and
// list views read through window messages, its message boxes found by title,
// a watch that keeps asking whether the window answers, and the engine
// simulator published under a name of the test's choosing.
#pragma once

// commctrl.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "files/Prefs.h"
#include "foundation/KSHandle.h"
#include "support/ChildProcess.h"
#include "support/KSTestFolder.h"
#include "support/SimProcess.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

namespace toolbar_driver {

const wchar_t kClass[] = L"Kestrova Corvexa Toolbar";
const wchar_t kTitle[] = L"Corvexa Toolbar";
const char kNoInstances[] = "(No instances detected)";

// Starts corvexa-toolbar.exe. The desktop process that wine starts for a
// prefix's first window keeps that program's standard streams open for as
// long as it runs, and with them a reader of the toolbar's output: this
// process makes a window first, so that the desktop is its own.
inline bool StartToolbar(ChildProcess* ioToolbar) {
  DestroyWindow(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  return ioToolbar->Start(KS_TOOLBAR_PATH, {});
}

// The toolbar window of process inProcessId once it is shown (null after inMS).
inline HWND WaitForToolbar(DWORD inProcessId, DWORD inMS = 30000) {
  for (DWORD waited = 0; waited < inMS; waited += 100) {
    HWND wind = nullptr;
    while ((wind = FindWindowExW(nullptr, wind, kClass, kTitle)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(wind, &owner);
      if (owner == inProcessId && IsWindowVisible(wind)) {
        return wind;
      }
    }
    Sleep(100);
  }
  return nullptr;
}

inline bool Answers(HWND inWind, UINT inMS = 1000) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(inWind, WM_NULL, 0, 0, SMTO_NORMAL, inMS, &result) != 0;
}

// A message to a window of the toolbar; 0 when it did not answer within 5 s
// (a test must not hang with the program it drives).
inline LRESULT Ask(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(inWind, inMsg, inWParam, inLParam, SMTO_NORMAL, 5000, &result) != 0
             ? LRESULT(result)
             : 0;
}

inline std::string Narrow(const wchar_t* inText) {
  std::string out;
  for (; *inText != 0; inText++) {
    out += *inText < 128 ? char(*inText) : '?';
  }
  return out;
}

inline std::vector<HWND> Children(HWND inWind, const wchar_t* inClass) {
  struct Search {
    const wchar_t* mClass;
    std::vector<HWND> mFound;
  } search = {inClass, {}};
  EnumChildWindows(
      inWind,
      [](HWND inChild, LPARAM ioSearch) -> BOOL {
        auto* s = reinterpret_cast<Search*>(ioSearch);
        wchar_t name[64] = L"";
        GetClassNameW(inChild, name, 64);
        if (lstrcmpiW(name, s->mClass) == 0) {
          s->mFound.push_back(inChild);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.mFound;
}

inline std::vector<std::string> ComboItems(HWND inCombo) {
  std::vector<std::string> items;
  long count = long(Ask(inCombo, CB_GETCOUNT, 0, 0));
  for (long i = 0; i < count; i++) {
    wchar_t text[512] = L"";
    if (Ask(inCombo, CB_GETLBTEXTLEN, WPARAM(i), 0) < 511) {
      Ask(inCombo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    }
    items.push_back(Narrow(text));
  }
  return items;
}

// The first combo box of the window that lists inItem (null when none does).
inline HWND ComboListing(HWND inWind, const std::string& inItem) {
  for (HWND combo : Children(inWind, L"ComboBox")) {
    std::vector<std::string> items = ComboItems(combo);
    if (std::find(items.begin(), items.end(), inItem) != items.end()) {
      return combo;
    }
  }
  return nullptr;
}

// The rows of all the window's list views together.
inline long ListRows(HWND inWind) {
  long rows = 0;
  for (HWND list : Children(inWind, WC_LISTVIEWW)) {
    rows += long(Ask(list, LVM_GETITEMCOUNT, 0, 0));
  }
  return rows;
}

// Chooses item inIndex of a combo box as a click on it does.
inline void Choose(HWND inCombo, long inIndex) {
  Ask(inCombo, CB_SETCURSEL, WPARAM(inIndex), 0);
  Ask(GetParent(inCombo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(inCombo), CBN_SELCHANGE),
      reinterpret_cast<LPARAM>(inCombo));
}

// Finds a message box of process inProcessId titled inTitle within inMS,
// closes it and returns its text; empty when none came.
inline std::string TakeBox(DWORD inProcessId, const wchar_t* inTitle, DWORD inMS) {
  const int kMessageTextID = 0xFFFF;
  for (DWORD waited = 0;; waited += 50) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", inTitle)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(box, &owner);
      if (owner == inProcessId && IsWindowVisible(box)) {
        wchar_t text[2048] = L"";
        GetDlgItemTextW(box, kMessageTextID, text, 2048);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (int i = 0; i < 300 && IsWindow(box); i++) {
          Sleep(10);
        }
        return Narrow(text);
      }
    }
    if (waited >= inMS) {
      return "";
    }
    Sleep(50);
  }
}

// Asks the window every 100 ms whether it answers, from a thread of its own,
// until it ends; counts the times it did not within a second.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND inWind)
      : mStop(false), mMissed(0), mAsked(0), mThread([this, inWind] {
          while (!mStop) {
            mAsked++;
            mMissed += Answers(inWind) ? 0 : 1;
            Sleep(100);
          }
        }) {}
  ~AnswerWatch() { Stop(); }
  void Stop() {
    mStop = true;
    if (mThread.joinable()) {
      mThread.join();
    }
  }
  long Missed() const { return mMissed; }
  long Asked() const { return mAsked; }

 private:
  std::atomic<bool> mStop;
  std::atomic<long> mMissed;
  std::atomic<long> mAsked;
  std::thread mThread;
};

// The simulator published as inName, with inExtra options (and a log).
inline bool StartEngine(SimProcess* ioSim, const std::string& inName,
                        std::vector<std::string> inExtra, const KSFileSpec& inLog) {
  std::vector<std::string> args = {"--name", inName, "--seed", "1", "--log", inLog.GetPathCStr()};
  args.insert(args.end(), inExtra.begin(), inExtra.end());
  return ioSim->Start(args);
}

// The scripts that the toolbar's connections sent, as the simulator's log
// (which the simulator keeps open) lists them; client 0, the console, is
// left out.
inline std::vector<std::string> LoggedScripts(const KSFileSpec& inLog) {
  std::wstring path;
  for (const char* p = inLog.GetPathCStr(); *p != 0; p++) {
    path += wchar_t(uint8(*p));  // the test's folders are ASCII
  }
  KSHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (file && ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    text.append(buffer, got);
  }
  std::vector<std::string> scripts;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) {
      break;  // a line still being written
    }
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    size_t client = line.find(" #");
    size_t mark = line.find(" > ", client);
    if (client != std::string::npos && mark != std::string::npos && line[client + 2] != '0') {
      scripts.push_back(line.substr(mark + 3));
    }
  }
  return scripts;
}

// The name of the test skin: Factory Blue with native combo boxes, whose
// items another process can read and choose through window messages.
const char kTestSkin[] = "Test Native Combos";

inline std::filesystem::path SkinPath(const char* inName) {
  return std::filesystem::u8path(gToolbarState.mSkinsFolder.GetPathCStr()) / inName;
}

// Copies Factory Blue as kTestSkin with the "Custom" style taken off every
// combo box (true when it is in place).
inline bool MakeTestSkin() {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path to = SkinPath(kTestSkin);
  fs::remove_all(to, error);
  fs::copy(SkinPath("Factory Blue"), to, fs::copy_options::recursive, error);
  std::ifstream in(to / "skin.txt", std::ios::binary);
  std::stringstream read;
  read << in.rdbuf();
  in.close();
  std::string text = read.str();
  const std::string custom = "Styles = Custom,";
  for (size_t at = text.find("ComboBox ("); at != std::string::npos;
       at = text.find("ComboBox (", at + 1)) {
    size_t end = at;
    for (bool quoted = false; end < text.size() && (quoted || text[end] != ')'); end++) {
      quoted = text[end] == '"' ? !quoted : quoted;
    }
    size_t style = text.find(custom, at);
    if (style < end) {
      text.erase(style, custom.size());
    }
  }
  std::ofstream out(to / "skin.txt", std::ios::binary | std::ios::trunc);
  out << text;
  return !error && out.good();
}

inline void RemoveTestSkin() {
  std::error_code error;
  std::filesystem::remove_all(SkinPath(kTestSkin), error);
}

// Keeps the toolbar's preference file of the wine prefix as the test found
// it, and stores the preferences the tests start the toolbar with.
class PrefsKeeper {
 public:
  PrefsKeeper() : mSpec(gToolbarState.mPrefs.GetSpec()), mSaved(ReadAll(mSpec)) {}
  ~PrefsKeeper() {
    RemoveTestSkin();
    if (mSaved == "<missing>") {
      mSpec.Delete();
    } else {
      KSFile::WriteFile(mSpec, mSaved.data(), long(mSaved.size()));
    }
  }
  const KSFileSpec& Spec() const { return mSpec; }

  // A toolbar on the test skin that stays open without an engine and shows
  // itself at once.
  long StoreForTests() {
    if (!MakeTestSkin()) {
      return -1;
    }
    Prefs prefs;
    prefs.SetSpec(mSpec);
    prefs.Load();
    SetMissingToolbarPrefs(&prefs);
    prefs.SetInt(kPref_ShowToolbarIn, 1);
    prefs.SetInt(kPref_StartMinimized, 0);
    prefs.SetInt(kPref_DeckAutoStart, 0);
    prefs.SetInt(kPref_AutoCloseToolbar, 0);
    prefs.SetInt(kPref_ToolTips, 0);
    prefs.SetStr(kPref_Skin, kTestSkin);
    return prefs.Store();
  }

 private:
  KSFileSpec mSpec;
  std::string mSaved;
};

// A test that runs the toolbar program from known preferences: started in
// SetUp, its window shown; closed (or killed) in TearDown, and the user's
// preferences put back.
class RunningToolbar : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, mPrefs.StoreForTests());
    ASSERT_TRUE(StartToolbar(&mToolbar));
    mWind = WaitForToolbar(GetProcessId(mToolbar.Handle()));
    ASSERT_NE(nullptr, mWind);
  }
  void TearDown() override {
    if (mWind != nullptr && IsWindow(mWind)) {
      PostMessageW(mWind, WM_CLOSE, 0, 0);
    }
    unsigned long code = 0;
    if (!mToolbar.Wait(30000, &code)) {
      mToolbar.Kill();
    }
  }

  PrefsKeeper mPrefs;
  KSTestFolder mFolder;
  ChildProcess mToolbar;
  HWND mWind = nullptr;
};

}  // namespace toolbar_driver
