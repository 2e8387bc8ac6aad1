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

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "files/Prefs.h"
#include "support/ChildProcess.h"
#include "support/DrivenToolbarPrefs.h"
#include "support/EventLog.h"
#include "support/KSTestFolder.h"
#include "support/ProcessCounts.h"
#include "support/SimProcess.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

namespace toolbar_driver {

const wchar_t kClass[] = L"Kestrova Corvexa Toolbar";
const wchar_t kTitle[] = L"Corvexa Toolbar";
const char kNoInstances[] = "(No instances detected)";
// The simulator's lists: wave shapes, color maps, flow fields, particles and
// images/videos, one list view each.
const long kWaveShapes = 44;
const long kFullRows = kWaveShapes + 65 + 34 + 22 + 22;

// Asks inDone every inStepMS until it holds (true) or inMS have passed. The
// questions mostly go to the toolbar's process: not asked more often.
inline bool WaitFor(const std::function<bool()>& inDone, DWORD inMS, DWORD inStepMS = 10) {
  return PollUntil(inDone, int(inMS), int(inStepMS));
}

// A shown top-level window of process inProcessId (any process when 0).
inline HWND ShownWindow(DWORD inProcessId, const wchar_t* inClass, const wchar_t* inTitle) {
  HWND wind = nullptr;
  while ((wind = FindWindowExW(nullptr, wind, inClass, inTitle)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wind, &owner);
    if ((inProcessId == 0 || owner == inProcessId) && IsWindowVisible(wind)) {
      return wind;
    }
  }
  return nullptr;
}

// Starts corvexa-toolbar.exe. The desktop process that wine starts for a
// prefix's first window keeps that program's standard streams open for as
// long as it runs, and with them a reader of the toolbar's output: this
// process makes a window first, so that the desktop is its own.
inline bool StartToolbar(ChildProcess* ioToolbar) {
  DestroyWindow(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  return ioToolbar->Start(KS_TOOLBAR_PATH, {});
}

// The toolbar window of process inProcessId (any when 0) once it is shown.
inline HWND WaitForToolbar(DWORD inProcessId, DWORD inMS = 30000) {
  HWND wind = nullptr;
  WaitFor([&] { return (wind = ShownWindow(inProcessId, kClass, kTitle)) != nullptr; }, inMS);
  return wind;
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

inline std::string ItemText(HWND inCombo, long inIndex) {
  wchar_t text[512] = L"";
  if (Ask(inCombo, CB_GETLBTEXTLEN, WPARAM(inIndex), 0) < 511) {
    Ask(inCombo, CB_GETLBTEXT, WPARAM(inIndex), reinterpret_cast<LPARAM>(text));
  }
  return Narrow(text);
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
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = ShownWindow(inProcessId, L"#32770", inTitle)) != nullptr; },
               inMS)) {
    return "";
  }
  const int kMessageTextID = 0xFFFF;
  wchar_t text[2048] = L"";
  GetDlgItemTextW(box, kMessageTextID, text, 2048);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitFor([&] { return !IsWindow(box); }, 3000);
  return Narrow(text);
}

// Asks the window every 100 ms whether it answers, from a thread of its own,
// until it ends; counts the times it did not within a second.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND inWind)
      : mThread([this, inWind] {
          for (; !mStop; Sleep(100)) {
            mAsked++;
            mMissed += Answers(inWind) ? 0 : 1;
          }
        }) {}
  ~AnswerWatch() { Stop(); }
  void Stop() {
    mStop = true;
    if (mThread.joinable()) {
      mThread.join();
    }
  }
  std::atomic<long> mMissed{0};
  std::atomic<long> mAsked{0};

 private:
  std::atomic<bool> mStop{false};
  std::thread mThread;
};

// One request as the simulator's log lists it: its header's flags byte and
// its script.
using LoggedRequest = std::pair<int, std::string>;

// The requests that the toolbar's connections sent, as the simulator's log
// (which the simulator keeps open) lists them ("... #C 0x28 > script");
// client 0, the console, is left out.
inline std::vector<LoggedRequest> LoggedRequests(const KSFileSpec& inLog) {
  std::ifstream in(inLog.GetPathCStr(), std::ios::binary);  // the test's folders are ASCII
  std::vector<LoggedRequest> requests;
  std::string line;
  while (std::getline(in, line) && !in.eof()) {  // the last line may be half written
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    size_t client = line.find(" #");
    size_t mark = line.find(" > ", client);
    if (client != std::string::npos && mark != std::string::npos && line[client + 2] != '0') {
      int flags = std::stoi(line.substr(line.find(" 0x", client) + 1, 4), nullptr, 16);
      requests.push_back({flags, line.substr(mark + 3)});
    }
  }
  return requests;
}

inline std::vector<std::string> LoggedScripts(const KSFileSpec& inLog) {
  std::vector<std::string> scripts;
  for (const LoggedRequest& request : LoggedRequests(inLog)) {
    scripts.push_back(request.second);
  }
  return scripts;
}

// What a process holds: kernel handles, threads, GDI objects, windows and
// private memory in KB.
struct Usage {
  long mOf[5];

  static Usage Of(HANDLE inProcess) {
    ProcessCounts c = ProcessCounts::TakeOf(inProcess);
    return {{c.mKernelHandles, c.mThreads, c.mGdiObjects, c.mUserObjects, PrivateKBOf(inProcess)}};
  }
  // No more than inBase and a small margin: the threads and windows of a
  // closed session end a little after it.
  bool Within(const Usage& inBase) const {
    const long kMargin[5] = {6, 1, 6, 0, 2048};
    for (int i = 0; i < 5; i++) {
      if (mOf[i] > inBase.mOf[i] + kMargin[i]) {
        return false;
      }
    }
    return true;
  }
};

// The name of the test skin: Factory Blue with native combo boxes, whose
// items another process can read and choose through window messages.
const char kTestSkin[] = "Test Native Combos";

inline std::filesystem::path SkinPath(const char* inName) {
  return std::filesystem::u8path(gToolbarState.mSkinsFolder.GetPathCStr()) / inName;
}

inline size_t Count(const std::string& inText, const std::string& inPart) {
  size_t count = 0;
  for (size_t at = inText.find(inPart); at != std::string::npos; at = inText.find(inPart, at + 1)) {
    count++;
  }
  return count;
}

inline std::string SkinText(const char* inSkin = kTestSkin) {
  std::ifstream in(SkinPath(inSkin) / "skin.txt", std::ios::binary);
  std::stringstream read;
  read << in.rdbuf();
  return read.str();
}

// Copies Factory Blue as kTestSkin with the "Custom" style taken off every
// combo box (true when it is in place).
inline bool MakeTestSkin() {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path to = SkinPath(kTestSkin);
  fs::remove_all(to, error);
  fs::copy(SkinPath("Factory Blue"), to, fs::copy_options::recursive, error);
  std::string text = SkinText();
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

// Keeps a file of the wine prefix as the test found it (or missing).
class FileKeeper {
 public:
  explicit FileKeeper(const KSFileSpec& inSpec) : mSpec(inSpec), mSaved(ReadAll(inSpec)) {}
  ~FileKeeper() {
    if (mSaved == "<missing>") {
      mSpec.Delete();
    } else {
      KSFile::WriteFile(mSpec, mSaved.data(), long(mSaved.size()));
    }
  }
  const KSFileSpec& Spec() const { return mSpec; }

 private:
  KSFileSpec mSpec;
  std::string mSaved;
};

// Keeps the toolbar's preference file as the test found it, and stores the
// preferences the tests start the toolbar with.
class PrefsKeeper : public FileKeeper {
 public:
  PrefsKeeper() : FileKeeper(gToolbarState.mPrefs.GetSpec()) {}
  ~PrefsKeeper() {
    std::error_code error;
    std::filesystem::remove_all(SkinPath(kTestSkin), error);
  }

  // A toolbar that stays open without an engine and shows itself at once,
  // on inSkin (the test skin when null).
  long StoreForTests(const char* inSkin = nullptr) {
    if (inSkin == nullptr && !MakeTestSkin()) {
      return -1;
    }
    Prefs prefs;
    prefs.SetSpec(Spec());
    prefs.Load();
    SetMissingToolbarPrefs(&prefs);
    SetDrivenToolbarPrefs(&prefs);
    prefs.SetInt(kPref_ToolTips, 0);
    prefs.SetStr(kPref_Skin, inSkin != nullptr ? inSkin : kTestSkin);
    return prefs.Store();
  }
};

// A test that runs the toolbar program on the test skin: started in SetUp,
// its window shown; closed (or killed) in TearDown, and the user's
// preferences put back. Engines are published under names of its choosing.
class RunningToolbar : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, mPrefs.StoreForTests());
    ASSERT_TRUE(StartToolbar(&mToolbar));
    mWind = WaitForToolbar(Pid());
    ASSERT_NE(nullptr, mWind);
    // The skin's controls are made one by one after the window shows, and
    // stay: found once, they save a search per question.
    const std::string skin = SkinText();
    ASSERT_TRUE(WaitFor(
        [&] {
          mCombos = Children(mWind, L"ComboBox");
          mLists = Children(mWind, WC_LISTVIEWW);
          return mCombos.size() == Count(skin, "ComboBox (") &&
                 mLists.size() == Count(skin, "ListView (");
        },
        30000));
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

  DWORD Pid() const { return GetProcessId(mToolbar.Handle()); }

  // Starts the simulator published as inName, with inArgs and a log in the
  // test's folder, and waits until the toolbar lists it.
  bool Engine(SimProcess* ioSim, const std::string& inName, std::vector<std::string> inArgs = {}) {
    mEngineStart = GetTickCount();
    std::string log = mFolder.Item(inName + ".log").GetPathCStr();
    std::vector<std::string> args = {"--name", inName, "--seed", "1", "--log", log};
    args.insert(args.end(), inArgs.begin(), inArgs.end());
    return ioSim->Start(args) && WaitFor([&] { return Listing(inName) != nullptr; }, 15000);
  }
  // Ends the engine that started last, not within 5 s of its start: the
  // toolbar takes a close within a session's first 4 s for a refusal.
  void Quit(SimProcess* ioSim) {
    DWORD lived = GetTickCount() - mEngineStart;
    Sleep(lived < 5000 ? 5000 - lived : 0);
    ioSim->EndInput(nullptr);
  }

  // The first combo box that lists inItem (null when none does).
  HWND Listing(const std::string& inItem) {
    std::wstring item(inItem.begin(), inItem.end());
    for (HWND combo : mCombos) {
      DWORD_PTR found = DWORD_PTR(CB_ERR);
      if (SendMessageTimeoutW(combo, CB_FINDSTRINGEXACT, WPARAM(-1),
                              reinterpret_cast<LPARAM>(item.c_str()), SMTO_NORMAL, 5000,
                              &found) != 0 &&
          LRESULT(found) != CB_ERR) {
        return combo;
      }
    }
    return nullptr;
  }
  // The first combo box of inCount items (the 44 wave shapes, say).
  HWND ComboOf(long inCount) {
    for (HWND combo : mCombos) {
      if (Ask(combo, CB_GETCOUNT, 0, 0) == inCount) {
        return combo;
      }
    }
    return nullptr;
  }
  // The rows of all the window's list views together.
  long Rows() {
    long rows = 0;
    for (HWND list : mLists) {
      rows += long(Ask(list, LVM_GETITEMCOUNT, 0, 0));
    }
    return rows;
  }
  bool Filled() { return Rows() >= kFullRows; }

  PrefsKeeper mPrefs;
  KSTestFolder mFolder;
  ChildProcess mToolbar;
  HWND mWind = nullptr;
  std::vector<HWND> mCombos;
  std::vector<HWND> mLists;
  DWORD mEngineStart = 0;
};

}  // namespace toolbar_driver
