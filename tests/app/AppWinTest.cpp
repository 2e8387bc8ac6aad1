// The toolbar window in this process, on a test skin: which controls it
// binds, which preferences it shows, how it falls back to "Factory Blue",
// dragging by the background and the tray icon after a shell restart; and
// the start-up counting of InstanceHelper.
#include <windows.h>
// shellapi.h, below, needs windows.h first.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"
#include "support/KSTestFolder.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MouseInput.h"
#include "support/SkinFolder.h"
#include "toolbar/InstanceHelper.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

namespace {

std::string Box(HWND inWind) {
  RECT box;
  GetWindowRect(inWind, &box);
  return std::to_string(box.left) + " " + std::to_string(box.top) + " " +
         std::to_string(box.right) + " " + std::to_string(box.bottom);
}

std::string Stored(long inKey) {
  UtilStr text;
  gToolbarState.mPrefs.GetStr(inKey, &text);
  return text.getCStr();
}

class AppWin : public ::testing::Test {
 protected:
  void SetUp() override {
    // The preferences live in the test's folder, never in the prefix's.
    Prefs& prefs = gToolbarState.mPrefs;
    prefs.SetSpec(mPrefsFolder.Item("Toolbar Preferences.txt"));
    for (long key : {kPref_StartMinimized, kPref_DeckAutoStart, kPref_AutoCloseToolbar}) {
      prefs.SetInt(key, 0);
    }
    prefs.SetInt(kPref_ShowToolbarIn, 1);  // taskbar only: no tray icon
    prefs.SetInt(kPref_BarX, 40);
    prefs.SetInt(kPref_BarY, 50);
    mSavedSkins = gToolbarState.mSkinsFolder;
  }

  void TearDown() override {
    if (mAppWin != nullptr && mAppWin->IsWindow()) {
      DestroyWindow(mAppWin->Wind());
    }
    delete mAppWin;
    if (mOwner != nullptr) {
      DestroyWindow(mOwner);
    }
    // The window's shut-down asks the message loop to end; there is none.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    gToolbarState.mSkinsFolder = mSavedSkins;
  }

  long Open(const KSFileSpec& inSkins, const char* inSkin) {
    gToolbarState.mSkinsFolder = inSkins;
    gToolbarState.mPrefs.SetStr(kPref_Skin, inSkin);
    long err = CreateMainWindow(&mAppWin);
    if (mAppWin != nullptr && mAppWin->IsWindow()) {
      mOwner = GetWindow(mAppWin->Wind(), GW_OWNER);
    }
    PumpMessages(100);
    return err;
  }

  KSTestFolder mPrefsFolder;
  KSFileSpec mSavedSkins;
  cAppWin* mAppWin = nullptr;
  HWND mOwner = nullptr;
};

}  // namespace

TEST_F(AppWin, BindsByFunctionAndTypeAndShowsThePreferences) {
  SkinFolder skin("Test Skin");
  skin.Picture("Back.bmp", 300, 120, 0x204060, KSRect{280, 0, 300, 20});
  skin.Text(
      "ToolPage { Flags = WindowShape|AutoSize  TransparentColor = 255, 0, 255\n"
      "  Image = Back.bmp\n"
      "  Controls {\n"
      "    Slider ( x = 10, y = 10, Width = 80, Height = 20, Function = WaveShapeInterval )\n"
      "    Slider ( x = 10, y = 35, Width = 80, Height = 20, Function = FrameRate )\n"
      "    Button ( x = 100, y = 10, Width = 20, Height = 20, Function = WaveShapeToggle )\n"
      "    CheckBox ( x = 100, y = 35, Width = 20, Height = 20, Function = AdvPrefAlwaysOnTop )\n"
      "    CheckBox ( x = 100, y = 60, Width = 20, Height = 20, Function = AdvPrefCheckForUpdates "
      ")\n"
      "    ComboBox ( x = 200, y = 10, Width = 60, Height = 20, Function = AdvPrefShowToolbarIn )\n"
      "    ComboBox ( x = 200, y = 35, Width = 60, Height = 20, Function = AdvPrefSkin )\n"
      "    ListView ( x = 10, y = 85, Width = 100, Height = 30, Function = AdvParticles,\n"
      "               Columns = 1, ColumnWidths = 90 )\n"
      "} }\n");
  skin.Folder().MakeFolder("Another Skin");
  Prefs& prefs = gToolbarState.mPrefs;
  prefs.SetInt(kPref_WaveShapeInterval, 37);
  prefs.SetInt(kPref_FrameRate, 80);
  prefs.SetInt(kPref_AlwaysOnTop, 1);
  prefs.SetInt(kPref_UpdateCheckDays, 7);  // any non-zero value ticks the box
  prefs.SetInt(kPref_ToolTips, 1);         // the owner of a tool tip, and still on top

  ASSERT_EQ(0, Open(skin.Folder().Spec(), "Test Skin"));
  const AppControls& c = mAppWin->Controls();
  const auto& shown = c.AdvPreferences;
  // A control of the wrong type, or none at all, leaves its member empty.
  EXPECT_EQ(nullptr, c.Basic.WaveShapeToggle);
  EXPECT_EQ(nullptr, c.Basic.DeckMode);
  for (const void* bound : std::initializer_list<const void*>{
           c.AdvParticles.List, c.Basic.WaveShapeInterval, c.Basic.FrameRate, shown.AlwaysOnTop,
           shown.CheckForUpdates, shown.ShowToolbarIn, shown.Skin}) {
    ASSERT_NE(nullptr, bound);
  }
  EXPECT_EQ(kCX_Particle, c.AdvParticles.List->ConfigType());
  EXPECT_EQ(37, c.Basic.WaveShapeInterval->IntProp());
  EXPECT_EQ(80, c.Basic.FrameRate->IntProp());
  EXPECT_TRUE(shown.AlwaysOnTop->BoolProp());
  EXPECT_TRUE(GetWindowLongW(mAppWin->Wind(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(shown.CheckForUpdates->BoolProp());
  EXPECT_EQ(1, shown.ShowToolbarIn->CurSelection());
  // The skin list is the skins folder's sub-folders, the current one chosen.
  EXPECT_EQ(2, shown.Skin->NumItems());
  EXPECT_EQ(shown.Skin->FindItem("Test Skin", false), shown.Skin->CurSelection());

  // The window is the page's size and shape, at the stored place.
  EXPECT_EQ("40 50 340 170", Box(mAppWin->Wind()));
  KSGdiObj<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(mAppWin->Wind(), shape.Get()));
  EXPECT_FALSE(PtInRegion(shape.Get(), 290, 10));
  EXPECT_TRUE(PtInRegion(shape.Get(), 290, 50));

  // Dragging the background moves the window with the pointer; letting go
  // ends the drag and frees the mouse.
  POINT start = ScreenPointOf(mAppWin->Wind(), 250, 100);
  MouseMoveTo(start.x, start.y);
  MouseDown();
  MouseMoveTo(start.x + 40, start.y + 30);
  MouseMoveTo(start.x + 50, start.y + 35);
  MouseUp();
  PumpMessages(100);
  EXPECT_EQ("90 85 390 205", Box(mAppWin->Wind()));
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(AppWin, ASkinThatDoesNotLoadFallsBackToFactoryBlueAndTheChoiceIsStored) {
  // The engine's skins folder, where the factory skins are installed.
  ASSERT_FALSE(mSavedSkins.IsEmpty()) << "no engine installation found";
  MessageBoxAnswerer answerer;  // the box that says why the skin did not load
  ASSERT_EQ(0, Open(mSavedSkins, "No Such Skin"));
  EXPECT_EQ("Factory Blue", Stored(kPref_Skin));
  EXPECT_NE(nullptr, mAppWin->Controls().Basic.WaveShapeList);

  // A reload to a skin that fails falls back again rather than closing.
  gToolbarState.mPrefs.SetStr(kPref_Skin, "Still No Skin");
  mAppWin->OnToolbarUserMsg(cAppWin::kUserMsgReloadSkin);
  EXPECT_TRUE(mAppWin->IsWindow());
  EXPECT_EQ("Factory Blue", Stored(kPref_Skin));
  EXPECT_NE(nullptr, mAppWin->Controls().Basic.WaveShapeList);

  // Compact binds a subset, but always the engine instance and the skin,
  // without which a user could neither connect nor switch back.
  gToolbarState.mPrefs.SetStr(kPref_Skin, "Compact");
  mAppWin->OnToolbarUserMsg(cAppWin::kUserMsgReloadSkin);
  EXPECT_EQ("Compact", Stored(kPref_Skin));
  EXPECT_NE(nullptr, mAppWin->Controls().AdvPreferences.Peer);
  EXPECT_NE(nullptr, mAppWin->Controls().AdvPreferences.Skin);
}

TEST_F(AppWin, TheTrayMenusCommandsAndTheIconAfterAShellRestart) {
  ASSERT_FALSE(mSavedSkins.IsEmpty()) << "no engine installation found";
  gToolbarState.mPrefs.SetInt(kPref_ShowToolbarIn, 0);  // the tray only
  ASSERT_EQ(0, Open(mSavedSkins, "Factory Blue"));
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = mAppWin->Wind();
  icon.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));

  // A new shell has no icons until the programs add theirs again.
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  SendMessageW(mOwner, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  PumpMessages(100);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));

  // With the tray only, Minimize hides the toolbar and Show brings it back.
  mAppWin->OnCommand(101);
  EXPECT_FALSE(IsWindowVisible(mAppWin->Wind()));
  mAppWin->OnCommand(100);
  EXPECT_TRUE(IsWindowVisible(mAppWin->Wind()));
  mAppWin->OnCommand(102);  // Exit
  PumpMessages(100);
  EXPECT_FALSE(mAppWin->IsWindow());
}

TEST(AppWinInstance, OnlyTheOutermostStartAndShutdownDoTheirWork) {
  wchar_t start[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, start);
  InstanceHelper::Startup(GetModuleHandleW(nullptr));
  InstanceHelper::Startup(GetModuleHandleW(nullptr));
  EXPECT_EQ(2, InstanceHelper::sStartupCounter);
  EXPECT_FALSE(InstanceHelper::sInstanceFolderSpec.IsEmpty());
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  SetCurrentDirectoryW(temp);
  InstanceHelper::Shutdown();
  wchar_t now[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, now);
  EXPECT_STRNE(start, now);  // an inner Shutdown leaves the directory alone
  InstanceHelper::Shutdown();
  GetCurrentDirectoryW(MAX_PATH, now);
  EXPECT_STREQ(start, now);
  EXPECT_EQ(0, InstanceHelper::sStartupCounter);
}
