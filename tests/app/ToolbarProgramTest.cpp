// corvexa-toolbar.exe as a program: one toolbar at a time, however it is
// started, and it keeps where it was closed and the theme it had.
#include <windows.h>
// The shell's header needs the platform's types first.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ToolbarDriver.h"

using namespace toolbar_driver;

namespace {

class ToolbarProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(nullptr, FindWindowW(kClass, kTitle)) << "a toolbar is already running";
    // This process's own state found the same folders as the toolbar will.
    UtilStr name;
    for (int i = 0; gToolbarState.mThemeMgr.GetLogicalThemeName(i, &name); i++) {
      mThemes.push_back(name.getCStr());
    }
  }
  void TearDown() override {
    for (auto& program : mPrograms) {
      program->Kill();
    }
  }

  ChildProcess* Start() {
    mPrograms.push_back(std::make_unique<ChildProcess>());
    EXPECT_TRUE(mPrograms.back()->Start(KS_TOOLBAR_PATH, {}));
    return mPrograms.back().get();
  }

  // The preferences the next start reads: placed there, with that theme,
  // and whatever inMore sets.
  void Store(long inX, long inY, const std::string& inTheme,
             const std::function<void(Prefs*)>& inMore = nullptr) {
    ASSERT_EQ(0, mPrefs.StoreForTests("Factory Blue"));
    Prefs prefs;
    prefs.SetSpec(mPrefs.Spec());
    prefs.Load();
    prefs.SetInt(kPref_BarX, inX);
    prefs.SetInt(kPref_BarY, inY);
    prefs.SetStr(kPref_Theme, inTheme.c_str());
    if (inMore) {
      inMore(&prefs);
    }
    ASSERT_EQ(0, prefs.Store());
  }

  PrefsKeeper mPrefs;
  std::vector<std::string> mThemes;
  std::vector<std::unique_ptr<ChildProcess>> mPrograms;
};

}  // namespace

// Started minimised with a "Show toolbar in" value out of its range, the
// toolbar keeps a way back: it goes to the tray (the value's default). Closed,
// it stores where it was and the theme it had. (A second start's bringing it
// back is worked in every mode by AppWin.EveryWayBack..., the stored place
// read at start by ToolbarDamagedFiles.)
TEST_F(ToolbarProgram, StartedMinimisedGoesToTheTrayAndClosingStoresPlaceAndTheme) {
  ASSERT_GE(mThemes.size(), 2u) << "the factory themes are not installed";
  Store(123, 77, mThemes[1], [](Prefs* ioPrefs) {
    ioPrefs->SetInt(kPref_ShowToolbarIn, 7);
    ioPrefs->SetInt(kPref_StartMinimized, 1);
  });

  ChildProcess* first = Start();
  HWND toolbar = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (toolbar = FindWindowW(kClass, kTitle)) != nullptr; }, 30000));
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = toolbar;
  icon.uID = 1;
  EXPECT_TRUE(WaitFor([&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }, 10000));
  EXPECT_FALSE(IsWindowVisible(toolbar));
  RECT box = {};
  GetWindowRect(toolbar, &box);
  EXPECT_EQ(123, box.left);
  EXPECT_EQ(77, box.top);

  SetWindowPos(toolbar, nullptr, 201, 143, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(toolbar, WM_CLOSE, 0, 0);  // as the close button does
  unsigned long exitCode = 1;
  ASSERT_TRUE(first->Wait(30000, &exitCode) && exitCode == 0);
  Prefs stored;
  stored.SetSpec(mPrefs.Spec());
  stored.Load();
  EXPECT_EQ(201, stored.GetInt(kPref_BarX));
  EXPECT_EQ(143, stored.GetInt(kPref_BarY));
  EXPECT_EQ(0, stored.GetInt(kPref_ShowToolbarIn));
  UtilStr theme;
  stored.GetStr(kPref_Theme, &theme);
  EXPECT_EQ(mThemes[1], theme.getCStr());
}

TEST_F(ToolbarProgram, TenCopiesStartedTogetherLeaveOneToolbar) {
  Store(30, 30, mThemes.empty() ? "" : mThemes[0]);
  const int kCopies = 10;
  for (int i = 0; i < kCopies; i++) {
    Start();
  }
  // All but one end by themselves.
  int running = kCopies;
  WaitFor(
      [&] {
        running = 0;
        for (auto& program : mPrograms) {
          unsigned long exitCode;
          running += program->Wait(0, &exitCode) ? 0 : 1;
        }
        return running <= 1;
      },
      60000);
  EXPECT_EQ(1, running);
  HWND toolbar = WaitForToolbar(0, 5000);
  ASSERT_NE(nullptr, toolbar);
  PostMessageW(toolbar, WM_CLOSE, 0, 0);
  for (auto& program : mPrograms) {
    unsigned long exitCode = 1;
    EXPECT_TRUE(program->Wait(30000, &exitCode));
    EXPECT_EQ(0u, exitCode);
  }
}

// The program's manifest as the system reads it when the program starts:
// accepted, and asking for version 6 of the common controls.
TEST(ToolbarManifest, TheSystemTakesTheProgramsManifest) {
  std::string relative = KS_TOOLBAR_PATH;
  wchar_t path[MAX_PATH] = L"";
  GetFullPathNameW(std::wstring(relative.begin(), relative.end()).c_str(), MAX_PATH, path, nullptr);
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path;
  request.lpResourceName = MAKEINTRESOURCEW(1);  // the manifest a program starts with
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(INVALID_HANDLE_VALUE, context) << GetLastError();
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context, &cookie));
  ACTCTX_SECTION_KEYED_DATA controls = {};
  controls.cbSize = sizeof(controls);
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       L"comctl32.dll", &controls));
  DeactivateActCtx(0, cookie);
  char assembly[2048] = {};
  SIZE_T size = 0;
  EXPECT_TRUE(QueryActCtxW(0, context, &controls.ulAssemblyRosterIndex,
                           AssemblyDetailedInformationInActivationContext, assembly,
                           sizeof(assembly), &size));
  ReleaseActCtx(context);
  const wchar_t* identity =
      reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(assembly)
          ->lpAssemblyEncodedAssemblyIdentity;
  EXPECT_TRUE(identity != nullptr && wcsstr(identity, L"version=\"6.") != nullptr);
}
