// The toolbar window in this process, made as the program makes it. On a
// test skin: which controls it binds, which preferences it shows, how it
// falls back to "Factory Blue", dragging by the background and the tray icon
// after a shell restart. With the factory skin, connected to the engine
// simulator, whose log shows every script the window sent.
#include <windows.h>
// The common controls' and shell's headers need the platform's types first.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/InProcessWindow.h"
#include "app/ToolbarDriver.h"
#include "foundation/KSMessages.h"
#include "platform/BaseUtils.h"
#include "platform/windowproc.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardFloatingListBox.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"
#include "support/DrivenToolbarPrefs.h"
#include "support/EventLog.h"
#include "support/KSTestFolder.h"
#include "support/KeyInput.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ModalDriver.h"
#include "support/MouseInput.h"
#include "support/SimProcess.h"
#include "support/SkinFolder.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"
#include "toolbar/UIDispatchScripts.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

namespace {

class AppSync : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sFolder = new KSTestFolder;
    sLog = sFolder->Item("sim.log");
    UseDrivenToolbarPrefs(*sFolder);
    sSim = new SimProcess;
    ASSERT_TRUE(sSim->Start({"--no-publish", "--seed", "1", "--log", sLog.GetPathCStr()}))
        << sSim->Errors();
    ASSERT_EQ(0, CreateMainWindow(&sApp));
    // No keep-alive comes between a test's action and the scripts it sends.
    sApp->SetLinkLimits(600000, 4);
    UseEngine("simulator");
    ASSERT_TRUE(Refresh());
  }

  static void TearDownTestSuite() {
    if (sApp != nullptr) {
      CloseAppWin(&sApp, GetWindow(sApp->Wind(), GW_OWNER));
    }
    sSim->EndInput(nullptr);
    delete sSim;
    delete sFolder;
  }

  static void UseEngine(const char* inName) {
    KSNetAddr local = {};
    local.mType = ks_localhost;
    sApp->Session().UseServiceAddr(inName, local, unsigned(sSim->Port()));
  }

  // Connects and waits for the last replies of the refresh.
  static bool Refresh() {
    sApp->RefreshState(kConnected);
    const auto& prefs = sApp->Controls().AdvPreferences;
    return PumpUntil([&] {
      return prefs.FullScreenMode->CurSelection() >= 0 && prefs.AudioSource->CurSelection() >= 0 &&
             prefs.FrameYLimit->IsEnabled();
    });
  }

  // The scripts inAction sends: once at least inCount have come (a real
  // click is handled after inAction returns), a marker goes after them on
  // the same session, and everything before it is the action's. How many an
  // action sends can depend on what earlier tests left in the lists.
  static std::vector<std::string> SentBy(const std::function<void()>& inAction,
                                         size_t inCount = 1) {
    size_t before = toolbar_driver::LoggedScripts(sLog).size();
    inAction();
    std::vector<std::string> scripts;
    PumpUntil(
        [&] { return (scripts = toolbar_driver::LoggedScripts(sLog)).size() >= before + inCount; });
    static int sMarkers = 0;
    const std::string marker = "print( \"marker " + std::to_string(++sMarkers) + "\" );";
    sApp->Session().SendCmd(marker.c_str(), -1, kCommandFlags, 0, kRequestDontCare, 0, nullptr);
    auto end = scripts.end();
    PumpUntil([&] {
      scripts = toolbar_driver::LoggedScripts(sLog);
      end = std::find(scripts.begin() + long(std::min(before, scripts.size())), scripts.end(),
                      marker);
      return end != scripts.end();
    });
    return std::vector<std::string>(scripts.begin() + long(std::min(before, scripts.size())), end);
  }

  static std::vector<std::string> Script(eUIFunction inFunction, const UIValue& inValue) {
    char cmd[kCommandBufferSize];
    return {BuildUIScript(inFunction, inValue, cmd)};
  }

  static inline KSTestFolder* sFolder = nullptr;
  static inline KSFileSpec sLog;
  static inline SimProcess* sSim = nullptr;
  static inline std::unique_ptr<cAppWin> sApp;
};

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

// Picks an entry of the tray icon's menu by its text with a real click, from
// a helper thread while the window's thread runs the menu. What the menu
// offered reads "Show- Minimize+ Exit+ " (+ enabled, - greyed); a greyed or
// missing entry is not picked and Escape closes the menu.
class TrayMenuPick {
 public:
  explicit TrayMenuPick(const wchar_t* inEntry) : mEntry(inEntry), mThread([this] { Run(); }) {}
  ~TrayMenuPick() { mThread.join(); }
  bool Done() const { return mDone; }
  std::string Offered() const { return mDone ? mOffered : "no menu"; }

 private:
  void Run() {
    HWND menuWind = nullptr;
    for (int tries = 0; tries < 400 && !IsWindowVisible(menuWind); tries++) {
      Sleep(25);
      menuWind = FindWindowW(L"#32768", nullptr);
    }
    HMENU menu = HMENU(SendMessageW(menuWind, MN_GETHMENU, 0, 0));
    int picked = -1;
    for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); i++) {
      wchar_t text[64] = L"";
      GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
      bool enabled = (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_GRAYED) == 0;
      mOffered += toolbar_driver::Narrow(text) + (enabled ? "+ " : "- ");
      picked = enabled && mEntry == text ? i : picked;
    }
    RECT item;
    if (picked >= 0 && GetMenuItemRect(nullptr, menu, UINT(picked), &item)) {
      MouseClickAt((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    } else {
      SendKey(VK_ESCAPE, false);
      SendKey(VK_ESCAPE, true);
    }
    mDone = true;
  }

  std::wstring mEntry;
  std::string mOffered;
  std::atomic<bool> mDone{false};
  std::thread mThread;  // last: starts once everything above is set
};

class AppWin : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDrivenToolbarPrefs(mPrefsFolder);
    gToolbarState.mPrefs.SetInt(kPref_BarX, 40);
    gToolbarState.mPrefs.SetInt(kPref_BarY, 50);
    mSavedSkins = gToolbarState.mSkinsFolder;
  }

  void TearDown() override {
    CloseAppWin(&mAppWin, mOwner);
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
  std::unique_ptr<cAppWin> mAppWin;
  HWND mOwner = nullptr;
};

}  // namespace

// Factory Blue binds every control group member (AppControls holds pointers
// only) but the visual scripts', which do nothing, and the advanced panel.
TEST_F(AppSync, FactoryBlueBindsEveryControlAndTheRefreshFillsItsChoices) {
  const AppControls& c = sApp->Controls();
  const void* const* members = reinterpret_cast<const void* const*>(&c);
  const char* scripts = reinterpret_cast<const char*>(&c.AdvVisualScripts);
  for (size_t i = 0; i < sizeof(AppControls) / sizeof(void*); i++) {
    const char* at = reinterpret_cast<const char*>(&members[i]);
    bool script = at >= scripts && at < scripts + sizeof(c.AdvVisualScripts);
    EXPECT_EQ(script, members[i] == nullptr) << "member " << i;
  }
  EXPECT_NE(nullptr, dynamic_cast<cToolPage*>(sApp->MainPage()->FindControl(kUIAdvPrefsPanel)));

  // (What is sent, in which order and with which flags, is compared whole in
  // InStep.QuietForLongThenRestarted. The boxes and lists that later cases
  // choose from, and the program's fault test, see their own filling.)
  const auto& prefs = c.AdvPreferences;
  for (cStandardComboBox* box : {prefs.TrackTextFont, prefs.TrackTextAppearance,
                                 prefs.TrackTextSize, prefs.TrackTextDuration}) {
    EXPECT_GT(box->NumItems(), 1);
    EXPECT_GE(box->CurSelection(), 0);
    EXPECT_TRUE(box->IsEnabled());
  }
  EXPECT_EQ(kConnected, sApp->EnabledState());
}

// Clicks with real input: each control sends the script for the value it
// then shows.
TEST_F(AppSync, WorkedControlsSendTheScriptOfTheirValue) {
  const AppControls& c = sApp->Controls();
  auto click = [](cWindow* inControl, long inX, long inY) {
    ASSERT_TRUE(inControl->IsVisible());
    POINT at = ScreenPointOf(inControl->Wind(), inX, inY);
    MouseClickAt(at.x, at.y);
  };
  auto clickMiddle = [&](cWindow* inControl) {
    click(inControl, inControl->Width() / 2, inControl->Height() / 2);
  };

  cStandardCheckBox* toggle = c.Basic.ColorMapToggle;
  UIValue value;
  value.mOn = !toggle->BoolProp();
  EXPECT_EQ(Script(kUIColorMapToggle, value), SentBy([&] { clickMiddle(toggle); }));
  EXPECT_EQ(value.mOn, toggle->BoolProp());

  std::vector<std::string> sent = SentBy([&] { clickMiddle(c.Basic.FlowFieldInterval); });
  value.mNumber = c.Basic.FlowFieldInterval->IntProp();
  EXPECT_EQ(Script(kUIFlowFieldInterval, value), sent);
  EXPECT_EQ(value.mNumber, gToolbarState.mPrefs.GetInt(kPref_FlowFieldInterval));

  // A list's check mark: the item goes on or off in the engine and the
  // theme. The panels holding the list are extended first.
  cStandardListView* list = c.AdvColorMaps.List;
  for (cWindow* w = list->ParentWindow(); w != nullptr; w = w->ParentWindow()) {
    if (cToolPage* page = dynamic_cast<cToolPage*>(w)) {
      page->SetToolPageMode(kModeExtended);
    }
  }
  PumpMessages(100);
  // The section's "Select all" box checks or unchecks every row, as the
  // list's own toggle-all does; left with all checked.
  char cmd[kCommandBufferSize];
  cStandardCheckBox* all = c.AdvColorMaps.SelectAll;
  for (int i = 0; i < 2 || (i < 3 && !all->BoolProp()); i++) {
    bool on = !all->BoolProp();
    EXPECT_EQ(std::vector<std::string>{CommandSetAllEnabled(2, on, cmd)},
              SentBy([&] { clickMiddle(all); }));
    EXPECT_EQ(on ? list->NumItems() : 0, list->NumChecked());
  }
  RECT row = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list->Wind(), LVM_GETITEMRECT, 0, LPARAM(&row));
  bool wasChecked = list->IsChecked(0);
  char name[300];
  list->GetItem(0, name, sizeof(name));
  long markX = row.left + long(SendMessageW(list->Wind(), LVM_GETCOLUMNWIDTH, 0, 0)) / 2;
  EXPECT_EQ(std::vector<std::string>{CommandSetItemEnabled(2, name, !wasChecked, cmd)},
            SentBy([&] { click(list, markX, (row.top + row.bottom) / 2); }));
  EXPECT_NE(wasChecked, list->IsChecked(0));
  EXPECT_FALSE(all->BoolProp());
  EXPECT_EQ(!wasChecked, gToolbarState.mThemeMgr.CurTheme().GetAttrib(kCX_ColorMap, name, -1,
                                                                      kConfigAttr_On, 1) != 0);
  // Space on the row the click focused takes the same path back, once;
  // End moves as in any list.
  EXPECT_EQ(std::vector<std::string>{CommandSetItemEnabled(2, name, wasChecked, cmd)},
            SentBy([&] { Press(VK_SPACE); }));
  EXPECT_EQ(wasChecked, list->IsChecked(0));
  EXPECT_TRUE(all->BoolProp());
  Press(VK_END);
  EXPECT_EQ(list->NumItems() - 1,
            long(SendMessageW(list->Wind(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)));

  // A combo box: its floating list opens holding the mouse; the row below
  // the current item is chosen.
  cStandardComboBox* combo = c.Basic.FlowFieldList;
  sent = SentBy([&] {
    clickMiddle(combo);
    auto* floating = dynamic_cast<cStandardFloatingListBox*>(cBaseWindow::FromWindow(GetCapture()));
    ASSERT_NE(nullptr, floating);
    click(floating, 10, floating->ItemHeight() * 3 / 2);
  });
  std::string chosen = Shown(combo);
  value.mText = chosen.c_str();
  EXPECT_EQ(Script(kUIFlowFieldList, value), sent);
}

// Every row the advanced wave-shape list is told to select, in order. The
// list's procedure is replaced directly: a subclass kept in a window property
// would cost a round trip to the window server on every message.
std::vector<long> gSelectedRows;
WNDPROC gListProc = nullptr;

LRESULT CALLBACK RecordSelections(HWND inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
  if (inMsg == LVM_SETITEMSTATE &&
      (reinterpret_cast<LVITEMW*>(inLParam)->state & LVIS_SELECTED) != 0) {
    gSelectedRows.push_back(long(inWParam));
  }
  return CallWindowProcW(gListProc, inWind, inMsg, inWParam, inLParam);
}

// A long burst of engine notifications: each one is shown, in the order the
// engine sent it, and the list ends with the last one as its only selection,
// the combo box showing it too.
TEST_F(AppSync, TenThousandNotificationsAreShownInOrder) {
  cStandardListView* list = sApp->Controls().AdvWaveShapes.List;
  ASSERT_TRUE(Refresh());
  long rows = list->NumItems();
  ASSERT_GE(rows, 3);
  // The row each name selects (the first of equal names).
  std::vector<std::string> names(rows);
  std::vector<long> shownRow(rows);
  char name[300];
  for (long row = 0; row < rows; row++) {
    list->GetItem(row, name, sizeof(name));
    names[row] = name;
    shownRow[row] = list->FindItem(name);
  }
  const long kCount = 10000;
  std::string script;
  std::vector<long> expected;
  char cmd[kCommandBufferSize];
  for (long i = 0; i < kCount; i++) {
    // Neighbours differ, so every notification selects a new row.
    long row = (i * 7) % rows;
    if (!expected.empty() && shownRow[row] == expected.back()) {
      row = (row + 1) % rows;
    }
    script += CommandSetWaveShape(names[row].c_str(), cmd) + std::string("\n");
    expected.push_back(shownRow[row]);
  }
  // The engine tells only the sessions it has: the refresh's session is up
  // once a first notification is shown.
  std::string probe = CommandSetWaveShape(names[expected.back()].c_str(), cmd) + std::string("\n");
  ASSERT_TRUE(PollUntil(
      [&] {
        sSim->WriteInput(probe);
        return PumpUntil([&] { return list->IsSelected(expected.back()); }, 1000);
      },
      20000));
  gSelectedRows.clear();
  gListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list->Wind(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordSelections)));
  DWORD start = GetTickCount();
  sSim->WriteInput(script);
  bool shown = PollUntil(
      [&] {
        PumpMessages(50);
        return gSelectedRows.size() >= expected.size();
      },
      240000);
  SetWindowLongPtrW(list->Wind(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gListProc));
  std::printf("%ld notifications shown in %lu ms\n", kCount, GetTickCount() - start);
  EXPECT_TRUE(shown) << gSelectedRows.size() << " shown";
  auto differ =
      std::mismatch(gSelectedRows.begin(), gSelectedRows.end(), expected.begin(), expected.end());
  EXPECT_TRUE(differ.first == gSelectedRows.end())
      << "notification " << (differ.first - gSelectedRows.begin()) << " showed row "
      << *differ.first << ", sent row " << *differ.second;
  EXPECT_EQ(1, list->NumSelected());
  EXPECT_EQ(names[expected.back()], Shown(sApp->Controls().Basic.WaveShapeList));
}

// What a worked slider or check box sends is kept and sent again on the next
// connection, whatever the engine had. (The extra folder's subfolder choice
// goes with the folder's registration instead.)
TEST_F(AppSync, WorkedValuesAreSentAgainOnTheNextConnection) {
  std::vector<std::string> worked;
  long position = 10;
  for (long i = 0; const UIScriptEntry* entry = UIEntryAt(i); i++) {
    cControl* control = sApp->MainPage()->FindControl(entry->mFunction);
    if (entry->mPrefKey == 0 || entry->mBuild == nullptr || control == nullptr ||
        entry->mFunction == kUIAdvImageVideoIncludeSubfolders) {
      continue;
    }
    if (auto* slider = dynamic_cast<cStandardSlider*>(control)) {
      slider->Index(position += 7);
    } else {
      control->BoolProp(true);
    }
    std::vector<std::string> sent =
        SentBy([&] { sApp->OnUIFunction(control, entry->mFunction, nullptr); });
    ASSERT_EQ(1u, sent.size()) << UIFunctionName(entry->mFunction);
    worked.push_back(sent[0]);
  }
  ASSERT_EQ(13u, worked.size());
  // The next connection's burst: every worked script comes again. (Waiting
  // for the whole refresh leaves none of it for the next test to count.)
  size_t before = toolbar_driver::LoggedScripts(sLog).size();
  ASSERT_TRUE(Refresh());
  std::vector<std::string> missing;
  PumpUntil([&] {
    std::vector<std::string> resent = toolbar_driver::LoggedScripts(sLog);
    missing.clear();
    for (const std::string& script : worked) {
      if (std::find(resent.begin() + long(std::min(before, resent.size())), resent.end(), script) ==
          resent.end()) {
        missing.push_back(script);
      }
    }
    return missing.empty();
  });
  EXPECT_EQ(std::vector<std::string>{}, missing);
}

// The extra folder's rows: Rescan registers the stored folder again after the
// rescan; Clear forgets the folder and its subfolder switch, and the folder's
// text and the rows that need a folder follow.
TEST_F(AppSync, TheExtraFolderIsRescannedAndCleared) {
  const auto& sprites = sApp->Controls().AdvImageVideo;
  ASSERT_TRUE(Refresh());
  // A folder the engine can read: one it cannot read makes it send a message.
  std::string folder = sFolder->Spec().GetPathCStr();
  std::string quoted;
  for (char c : folder) {
    quoted += c == '\\' ? "\\\\" : std::string(1, c);
  }
  gToolbarState.mPrefs.SetStr(kPref_ImageVideoFolder, folder.c_str());
  gToolbarState.mPrefs.SetInt(kPref_ImageVideoSubfolders, 1);
  sApp->UpdateCommandStatus(kPref_ImageVideoFolder);
  char text[300] = "";
  sprites.AlternateSource->GetText(text, sizeof(text));
  EXPECT_EQ(folder, text);
  EXPECT_TRUE(sprites.ClearAlternateSource->IsEnabled());

  auto rescan = [&] { sApp->OnUIFunction(sprites.Rescan, kUIAdvImageVideoRescan, nullptr); };
  // Then the list is asked for again (and the theme's choices for it follow
  // its reply).
  std::vector<std::string> sent = SentBy(rescan, 3);
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ("RescanFolders( CONFIG_SPRITE );", sent[0]);
  EXPECT_EQ("RegisterExternalSprites(\"" + quoted + "\",1);", sent[1]);
  EXPECT_EQ("print( GetConfigList(CONFIG_SPRITE));", sent[2]);
  PumpMessages(500);

  auto clear = [&] {
    sApp->OnUIFunction(sprites.ClearAlternateSource, kUIAdvImageVideoClearAlternateSource, nullptr);
  };
  std::vector<std::string> cleared = SentBy(clear, 2);
  ASSERT_GE(cleared.size(), 2u);
  EXPECT_EQ(sent[0], cleared[0]);
  EXPECT_EQ(sent[2], cleared[1]);
  EXPECT_EQ("", Stored(kPref_ImageVideoFolder));
  EXPECT_EQ(0, gToolbarState.mPrefs.GetInt(kPref_ImageVideoSubfolders));
  sprites.AlternateSource->GetText(text, sizeof(text));
  EXPECT_STREQ("(No folder specified)", text);
  EXPECT_FALSE(sprites.IncludeSubfolders->BoolProp());
  EXPECT_FALSE(sprites.ClearAlternateSource->IsEnabled());
  EXPECT_FALSE(sprites.IncludeSubfolders->IsEnabled());
  EXPECT_TRUE(sprites.BrowseAlternateSource->IsEnabled());
}

// A theme that switches off 400 long-named items: the engine gets them in
// texts cut as soon as one passes 20,000 characters. Start and Stop can be
// pressed while something is selected; Start sends the first twenty
// selected items only.
TEST_F(AppSync, SwitchedOffItemsGoInBatchesAndStartTakesTwentyAtMost) {
  const auto& particles = sApp->Controls().AdvParticles;
  cStandardListView* list = particles.List;
  list->Clear();
  for (int i = 0; i < 400; i++) {
    std::string name = "Particle " + std::to_string(1000 + i) + std::string(90, 'x');
    list->AddSubItems(-1, name.c_str(), 0);
    list->CheckItem(0, true);
    gToolbarState.mThemeMgr.SetAttrib(kCX_Particle, name.c_str(), -1, kConfigAttr_On, 0);
  }
  std::string all;
  std::vector<std::string> started;
  char name[300];
  for (long i = 0; i < list->NumItems(); i++) {
    list->GetItem(i, name, sizeof(name));
    all += "SetItemEnabled(16,\"" + std::string(name) + "\",0);";
    UIValue value;
    value.mText = name;
    started.push_back(Script(kUIAdvParticlesStart, value)[0]);
  }

  std::vector<std::string> sent = SentBy([&] { sApp->ApplyListItemsToEngine(list, true); }, 4);
  EXPECT_EQ(0, list->NumChecked());
  char cmd[kCommandBufferSize];
  ASSERT_EQ(4u, sent.size());
  EXPECT_EQ(CommandSetAllEnabled(16, true, cmd), sent[0]);
  for (size_t i = 1; i + 1 < sent.size(); i++) {
    EXPECT_GT(sent[i].size(), 20000u);
    EXPECT_LE(sent[i].rfind("SetItemEnabled("), 20000u);
  }
  EXPECT_EQ(all, sent[1] + sent[2] + sent[3]);

  EXPECT_FALSE(particles.Start->IsEnabled());
  for (long i = 0; i < 25; i++) {
    list->SelectItem(i, true);
  }
  EXPECT_TRUE(particles.Start->IsEnabled());
  EXPECT_TRUE(particles.Stop->IsEnabled());
  auto start = [&] {
    sApp->OnUIFunction(particles.Start, kUIAdvParticlesStart, nullptr);
    PumpMessages(300);
  };
  started.resize(20);
  EXPECT_EQ(started, SentBy(start, 20));
}

TEST_F(AppSync, RepliesChooseTheNearestFixedChoice) {
  auto& prefs = sApp->Controls().AdvPreferences;
  const struct {
    eUIFunction mTag;
    const char* mReply;
    cStandardComboBox* mBox;
    const char* mShown;
  } cases[] = {
      {kUIAdvPrefTrackTextDuration, "45", prefs.TrackTextDuration, "1 minute"},
      {kUIAdvPrefTrackTextDuration, "100", prefs.TrackTextDuration, "(Always displayed)"},
      {kUIAdvPrefTrackTextDuration, "30", prefs.TrackTextDuration, "30 seconds"},  // exactly one
      {kUIAdvPrefTrackTextDuration, "0", prefs.TrackTextDuration, "2 seconds"},
      {kUIAdvPrefLineBoost, "-2.000000", prefs.LineBoost, "-2"},
      {kUIAdvPrefFrameXLimit, "0", prefs.FrameXLimit, "(Auto)"},
      {kUIAdvPrefFrameXLimit, "-5", prefs.FrameXLimit, "(Auto)"},
      {kUIAdvPrefFrameXLimit, "1", prefs.FrameXLimit, "200"},
      {kUIAdvPrefFrameXLimit, "700", prefs.FrameXLimit, "600"},  // a tie: the smaller
      {kUIAdvPrefFrameXLimit, "1099", prefs.FrameXLimit, "1000"},
      {kUIAdvPrefFrameXLimit, "9999", prefs.FrameXLimit, "1600"},
      {kUIAdvPrefFrameYLimit, "10000", prefs.FrameYLimit, "(No limit)"},
      {kUIAdvPrefFrameYLimit, "20000", prefs.FrameYLimit, "(No limit)"},
      // A reply that cannot be read selects nothing, and the box is usable.
      {kUIAdvPrefTrackTextDuration, "soon", prefs.TrackTextDuration, ""},
      {kUIAdvPrefLineBoost, "", prefs.LineBoost, ""},
  };
  for (const auto& c : cases) {
    c.mBox->Enable(false);
    sApp->OnKSMPReply(c.mReply, kRequestGetValue, reinterpret_cast<void*>(intptr_t(c.mTag)));
    EXPECT_EQ(c.mShown, Shown(c.mBox)) << c.mReply;
    EXPECT_TRUE(c.mBox->IsEnabled());
  }
  // So do the boxes that read their replies themselves.
  prefs.TrackTextFont->Enable(false);
  prefs.TrackTextFont->OnKSMPReply("", kRequestGetValue, nullptr);
  prefs.AutoLineScale->Enable(false);
  prefs.AutoLineScale->BoolProp(true);
  prefs.AutoLineScale->OnKSMPReply("yes", kRequestGetValue, nullptr);
  EXPECT_EQ(-1, prefs.TrackTextFont->CurSelection());
  EXPECT_TRUE(prefs.TrackTextFont->IsEnabled() && prefs.AutoLineScale->IsEnabled());
  EXPECT_FALSE(prefs.AutoLineScale->BoolProp());
}

// Every notification the window acts on but the engine's message, each sent
// from one known state: it moves the control it names, the way it names, and
// nothing else. (The message is shown in turn, as the test below sees.)
TEST_F(AppSync, EachNotificationMovesItsOwnControlOnly) {
  const AppControls& c = sApp->Controls();
  const auto& p = c.AdvPreferences;
  cStandardCheckBox* const switches[] = {c.Basic.WaveShapeToggle, c.Basic.ColorMapToggle,
                                         c.Basic.FlowFieldToggle, c.AdvImageVideo.AutoStart,
                                         c.AdvParticles.AutoStart};
  cStandardComboBox* const boxes[] = {c.Basic.WaveShapeList, c.Basic.ColorMapList,
                                      c.Basic.FlowFieldList, p.FullScreenMode, p.AudioSource};
  cStandardListView* const lists[] = {c.AdvWaveShapes.List, c.AdvColorMaps.List,
                                      c.AdvFlowFields.List};
  // "01000 ImageVideo0 Particles1 | 0 0 0 0 0 | = = =": the switches, the two
  // slide shows the toolbar keeps, the boxes' choices, and whether each list
  // has the choice of the box above it as its selection.
  auto state = [&] {
    std::string s;
    for (cStandardCheckBox* box : switches) {
      s += box->BoolProp() ? "1" : "0";
    }
    s += " ImageVideo" + std::to_string(gToolbarState.mPrefs.GetInt(kPref_ImageVideoAutoStart)) +
         " Particles" + std::to_string(gToolbarState.mPrefs.GetInt(kPref_ParticlesAutoStart)) +
         " |";
    for (cStandardComboBox* box : boxes) {
      s += " " + std::to_string(box->CurSelection());
    }
    s += " |";
    for (int i = 0; i < 3; i++) {
      char name[300] = "";
      lists[i]->GetItem(lists[i]->CurSelection(), name, sizeof(name));
      s += Shown(boxes[i]) == name ? " =" : " x";
    }
    return s;
  };
  const struct {
    long mCode;
    std::string mBody;
    const char* mMoved;
  } kNotices[] = {
      {320, "", "10000 ImageVideo0 Particles0 | 0 0 0 0 0 | = = ="},
      {321, "", "01111 ImageVideo1 Particles1 | 0 0 0 0 0 | = = ="},
      {322, "", "01000 ImageVideo0 Particles0 | 0 0 0 0 0 | = = ="},
      {323, "", "10111 ImageVideo1 Particles1 | 0 0 0 0 0 | = = ="},
      {324, "", "00100 ImageVideo0 Particles0 | 0 0 0 0 0 | = = ="},
      {325, "", "11011 ImageVideo1 Particles1 | 0 0 0 0 0 | = = ="},
      {326, "", "00010 ImageVideo1 Particles0 | 0 0 0 0 0 | = = ="},
      {327, "", "11101 ImageVideo0 Particles1 | 0 0 0 0 0 | = = ="},
      {328, "", "00001 ImageVideo0 Particles1 | 0 0 0 0 0 | = = ="},
      {329, "", "11110 ImageVideo1 Particles0 | 0 0 0 0 0 | = = ="},
      {303, Shown(boxes[0], 3), "11111 ImageVideo1 Particles1 | 3 0 0 0 0 | = = ="},
      {301, Shown(boxes[1], 2), "11111 ImageVideo1 Particles1 | 0 2 0 0 0 | = = ="},
      {305, Shown(boxes[2], 4), "11111 ImageVideo1 Particles1 | 0 0 4 0 0 | = = ="},
      {253, Shown(boxes[3], 6), "11111 ImageVideo1 Particles1 | 0 0 0 6 0 | = = ="},
      {254, "2", "11111 ImageVideo1 Particles1 | 0 0 0 0 2 | = = ="},
  };
  for (const auto& notice : kNotices) {
    // The state the notice is sent in: its switch the other way, the others
    // alike; the first item everywhere.
    bool on = notice.mBody.empty() && notice.mCode % 2 == 0;
    for (cStandardCheckBox* box : switches) {
      box->BoolProp(!on);
    }
    gToolbarState.mPrefs.SetInt(kPref_ImageVideoAutoStart, on ? 0 : 1);
    gToolbarState.mPrefs.SetInt(kPref_ParticlesAutoStart, on ? 0 : 1);
    for (cStandardComboBox* box : boxes) {
      box->SelectItem(0);
    }
    for (int i = 0; i < 3; i++) {
      lists[i]->SelectOnly(lists[i]->FindItem(Shown(boxes[i]).c_str()));
    }
    sApp->OnKSMPNotify(notice.mCode, notice.mBody.c_str(), "");
    EXPECT_EQ(notice.mMoved, state()) << notice.mCode;
  }
  for (cStandardCheckBox* box : switches) {
    box->BoolProp(false);
  }
  gToolbarState.mPrefs.SetInt(kPref_ImageVideoAutoStart, 0);
  gToolbarState.mPrefs.SetInt(kPref_ParticlesAutoStart, 0);
}

// The engine's messages and the link's failures, the latter heard on another
// thread, wait for the timer, which shows them in turn; of failures that
// follow each other, only the first is told.
TEST_F(AppSync, MessagesWaitForTheTimerAndAreShownInTurn) {
  MessageBoxAnswerer answerer;
  sApp->OnKSMPNotify(100, "Hello from the engine", "");
  UtilStr name("Studio PC");
  std::thread link([&] {
    sApp->ListenToMsg(kKSMsg_SessionRefused, &name, nullptr);
    sApp->ListenToMsg(kKSMsg_SessionFailed, &name, nullptr);
  });
  link.join();
  EXPECT_TRUE(answerer.Texts().empty());
  ASSERT_TRUE(PumpUntil([&] { return answerer.Texts().size() == 2; }));
  PumpMessages(300);
  std::vector<std::string> texts = answerer.Texts();
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ("Hello from the engine", texts[0]);
  EXPECT_EQ(0u, texts[1].find("The toolbar's connection to \"Studio PC\" was refused.\r\r"))
      << texts[1];
}

// An engine whose instance name says it runs inside a known media player:
// that player's window comes to the front before full screen is asked for.
TEST_F(AppSync, FullScreenBringsTheHostPlayerForwardFirst) {
  WNDCLASSW playerClass = {};
  playerClass.lpfnWndProc = DefWindowProcW;
  playerClass.hInstance = GetModuleHandleW(nullptr);
  playerClass.lpszClassName = L"iTunes";
  RegisterClassW(&playerClass);
  HWND player = CreateWindowExW(0, L"iTunes", L"Player", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, player);
  SetForegroundWindow(sApp->Wind());
  UseEngine("Corvexa in ITUNES on Studio PC");
  // The command opens a session of its own, which the toolbar then refreshes.
  EXPECT_EQ(Script(kUIFullScreen, UIValue()).front(),
            SentBy([] {
              sApp->OnUIFunction(sApp->Controls().Basic.FullScreen, kUIFullScreen, nullptr);
            }).front());
  EXPECT_EQ(player, GetForegroundWindow());
  DestroyWindow(player);
  // The next test starts with the new session's refresh over.
  EXPECT_TRUE(Refresh());
}

// Saving the current theme under a new name makes it current and listed;
// deleting it, once the user agrees, takes it off the list and gives the
// engine the choices of the theme that follows.
TEST_F(AppSync, ThemesSavedAndDeletedThroughTheirDialogs) {
  cStandardComboBox* themes = sApp->Controls().AdvPreferences.Theme;
  const std::string name = "Sync Test " + std::to_string(GetCurrentProcessId());
  {
    ModalDriver dialog(L"Save current theme as:", [&](HWND inDialog) {
      SetDlgItemTextA(inDialog, 101, name.c_str());
      ModalDriver::Press(inDialog, IDOK);
    });
    sApp->DoSaveThemeAs();
  }
  EXPECT_EQ(name, Shown(themes));
  EXPECT_TRUE(sApp->Controls().AdvPreferences.DeleteTheme->IsEnabled());

  auto remove = [&] {
    MessageBoxAnswerer answerer({IDYES});
    sApp->DoDeleteTheme();
    EXPECT_EQ(std::vector<std::string>{"Are you sure that you want to delete the theme \"" + name +
                                       "\"?"},
              answerer.Texts());
  };
  std::vector<std::string> sent = SentBy(remove, 10);
  EXPECT_EQ(-1, themes->FindItem(name.c_str(), false));
  EXPECT_EQ(gToolbarState.mThemeMgr.GetCurrentTheme(), themes->CurSelection());
  // Every item list starts with all its items on again.
  char cmd[kCommandBufferSize];
  for (long mask : {1, 2, 4, 16, 32}) {
    EXPECT_EQ(1, std::count(sent.begin(), sent.end(), CommandSetAllEnabled(mask, true, cmd)))
        << mask;
  }
}

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

// The current skin chosen again, in any letter case, reloads nothing. (A skin
// that does not load falls back to Factory Blue: ToolbarDamagedFiles.)
TEST_F(AppWin, TheSkinChosenAgainReloadsNothingAndCompactKeepsTheWayBack) {
  ASSERT_FALSE(mSavedSkins.IsEmpty()) << "no engine installation found";
  ASSERT_EQ(0, Open(mSavedSkins, "FACTORY BLUE"));
  cStandardComboBox* skins = mAppWin->Controls().AdvPreferences.Skin;
  ASSERT_EQ("Factory Blue", Shown(skins));
  mAppWin->OnUIFunction(skins, kUIAdvPrefSkin, nullptr);
  PumpMessages(100);
  EXPECT_EQ("FACTORY BLUE", Stored(kPref_Skin));
  // Compact binds a subset (no themes), but always the engine instance and
  // the skin, without which a user could neither connect nor switch back.
  skins->SelectItem("Compact", false);
  mAppWin->OnUIFunction(skins, kUIAdvPrefSkin, nullptr);
  PumpMessages(100);
  EXPECT_EQ("Compact", Stored(kPref_Skin));
  EXPECT_EQ(nullptr, mAppWin->Controls().AdvPreferences.Theme);
  EXPECT_NE(nullptr, mAppWin->Controls().AdvPreferences.Peer);
  EXPECT_NE(nullptr, mAppWin->Controls().AdvPreferences.Skin);
}

// Every way back from every way away, three times in a row, in each of the
// three "Show toolbar in" modes: the toolbar shows, and its owner (the
// taskbar button) is restored with it, so that the next Minimize works.
// The tray menu is worked by its entries' texts, as a user reads them.
TEST_F(AppWin, EveryWayBackRestoresTheToolbarAndItsOwnerInEveryMode) {
  ASSERT_FALSE(mSavedSkins.IsEmpty()) << "no engine installation found";
  gToolbarState.mPrefs.SetInt(kPref_ShowToolbarIn, 0);
  ASSERT_EQ(0, Open(mSavedSkins, "Factory Blue"));
  HWND toolbar = mAppWin->Wind();
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = toolbar;
  icon.uID = 1;
  auto hasTrayIcon = [&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; };
  // A new shell has no icons until the programs add theirs again.
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  SendMessageW(mOwner, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  PumpMessages(100);
  EXPECT_TRUE(hasTrayIcon());

  auto state = [&] {
    return std::string(IsWindowVisible(toolbar) && !IsIconic(toolbar) ? "shown" : "away") +
           (IsIconic(mOwner)          ? ", owner minimised"
            : IsWindowVisible(mOwner) ? ", owner shown"
                                      : "");
  };
  auto trayMenu = [&](const wchar_t* inEntry) {
    TrayMenuPick pick(inEntry);
    PostMessageW(toolbar, kTrayIconMsg, 1, WM_RBUTTONDOWN);
    PumpUntil([&] { return pick.Done(); });
    PumpMessages(50);
    return pick.Offered();
  };
  // The toolbar's preferences are the test's; the second start reads (and
  // may write) the prefix's own.
  KSFileSpec prefixPrefs;
  prefixPrefs.AssignRelativePath("Toolbar Preferences.txt", -1, gToolbarState.mWorkFolder);
  toolbar_driver::FileKeeper keptPrefs(prefixPrefs);
  enum Way { kTrayClick, kTrayShow, kSecondStart, kTaskbarButton };
  auto comeBack = [&](Way inWay) {
    ChildProcess second;
    unsigned long exitCode = 1;
    if (inWay == kTrayClick) {
      PostMessageW(toolbar, kTrayIconMsg, 1, WM_LBUTTONDOWN);
    } else if (inWay == kTrayShow) {
      EXPECT_EQ("Show+ Minimize- Exit+ ", trayMenu(L"Show"));
    } else if (inWay == kSecondStart) {
      ASSERT_TRUE(second.Start(KS_TOOLBAR_PATH, {}));
      EXPECT_TRUE(PumpUntil([&] { return second.Wait(0, &exitCode) && exitCode == 0; }, 30000));
    } else {
      PostMessageW(mOwner, WM_SYSCOMMAND, SC_RESTORE, 0);  // as the taskbar does
    }
    PumpMessages(100);
  };

  const struct {
    long mWhere;
    std::vector<Way> mWays;
  } modes[] = {
      {0, {kTrayClick, kTrayShow, kSecondStart}},
      {1, {kSecondStart, kTaskbarButton}},
      {2, {kTrayClick, kTrayShow, kSecondStart, kTaskbarButton}},
  };
  cStandardComboBox* showIn = mAppWin->Controls().AdvPreferences.ShowToolbarIn;
  for (const auto& mode : modes) {
    showIn->SelectItem(mode.mWhere);
    mAppWin->OnUIFunction(showIn, kUIAdvPrefShowToolbarIn, nullptr);
    bool tray = mode.mWhere != 1;
    const char* shown = mode.mWhere == 0 ? "shown" : "shown, owner shown";
    EXPECT_EQ(tray, hasTrayIcon()) << mode.mWhere;
    for (Way way : mode.mWays) {
      for (int round = 0; round < 3; round++) {
        std::string at = std::to_string(mode.mWhere) + " " + std::to_string(way);
        if (tray) {
          EXPECT_EQ("Show- Minimize+ Exit+ ", trayMenu(L"Minimize")) << at;
        } else {
          mAppWin->OnUIFunction(nullptr, kUIMinimize, nullptr);
        }
        EXPECT_EQ(mode.mWhere == 0 ? "away" : "away, owner minimised", state()) << at;
        comeBack(way);
        EXPECT_EQ(shown, state()) << at << " round " << round;
      }
    }
  }
  // A report without a choice leaves the toolbar where it is.
  showIn->SelectItem(-1);
  mAppWin->OnUIFunction(showIn, kUIAdvPrefShowToolbarIn, nullptr);
  EXPECT_EQ(2, gToolbarState.mPrefs.GetInt(kPref_ShowToolbarIn));
  EXPECT_TRUE(hasTrayIcon());
  EXPECT_EQ("shown, owner shown", state());

  trayMenu(L"Exit");
  PumpMessages(100);
  EXPECT_FALSE(mAppWin->IsWindow());
}
