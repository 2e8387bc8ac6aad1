// The toolbar window against the engine simulator, in this process: the
// window made as the program makes it, with the factory skin, connected to a
// simulator whose log shows every script the window sent.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls' header needs the platform's types first.
#include <commctrl.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/KSMessages.h"
#include "platform/windowproc.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardFloatingListBox.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "skin/cToolPage.h"
#include "support/EventLog.h"
#include "support/KSTestFolder.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ModalDriver.h"
#include "support/MouseInput.h"
#include "support/SimProcess.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"
#include "toolbar/UIDispatchScripts.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

namespace {

// The text of a file that another process keeps open for writing.
std::string ReadShared(const KSFileSpec& inSpec) {
  std::wstring path;
  for (const char* p = inSpec.GetPathCStr(); *p != 0; p++) {
    path += wchar_t(uint8(*p));  // the test's folders are ASCII
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  std::string text;
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
      text.append(buffer, got);
    }
    CloseHandle(file);
  }
  return text;
}

// The preferences in inFolder, never in the prefix's; the skin is the
// engine installation's Factory Blue.
void UseTestPrefs(const KSTestFolder& inFolder) {
  Prefs& prefs = gToolbarState.mPrefs;
  prefs.SetSpec(inFolder.Item("Toolbar Preferences.txt"));
  for (long key : {kPref_StartMinimized, kPref_DeckAutoStart, kPref_AutoCloseToolbar}) {
    prefs.SetInt(key, 0);
  }
  prefs.SetInt(kPref_ShowToolbarIn, 1);  // no tray icon
  prefs.SetStr(kPref_Skin, "Factory Blue");
}

bool PumpUntil(const std::function<bool()>& inDone) {
  return PollUntil([&] {
    PumpMessages(5);
    return inDone();
  });
}

class AppSync : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sFolder = new KSTestFolder;
    sLog = sFolder->Item("sim.log");
    UseTestPrefs(*sFolder);
    sSim = new SimProcess;
    ASSERT_TRUE(sSim->Start({"--no-publish", "--seed", "1", "--log", sLog.GetPathCStr()}))
        << sSim->Errors();
    ASSERT_EQ(0, CreateMainWindow(&sApp));
    KSNetAddr local = {};
    local.mType = ks_localhost;
    sApp->Session().UseServiceAddr("simulator", local, unsigned(sSim->Port()));
    ASSERT_TRUE(Refresh());
  }

  // Connects and waits for the last replies of the refresh.
  static bool Refresh() {
    sApp->RefreshState(kConnected);
    const AppControls& c = sApp->Controls();
    return PumpUntil([&] {
      return c.AdvPreferences.FullScreenMode->CurSelection() >= 0 &&
             c.AdvPreferences.AudioSource->CurSelection() >= 0 &&
             c.AdvPreferences.FrameYLimit->IsEnabled();
    });
  }

  static void TearDownTestSuite() {
    if (sApp != nullptr) {
      HWND owner = GetWindow(sApp->Wind(), GW_OWNER);
      DestroyWindow(sApp->Wind());
      delete sApp;
      DestroyWindow(owner);
    }
    // The window's shut-down asks the message loop to end; there is none.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    sSim->EndInput(nullptr);
    delete sSim;
    delete sFolder;
  }

  // The scripts the window sent, in order (none holds a line break, which
  // the log would write escaped).
  static std::vector<std::string> Scripts() {
    std::vector<std::string> scripts;
    std::istringstream lines(ReadShared(sLog));
    std::string line;
    while (std::getline(lines, line)) {
      // The window's connections (client 0 is the console).
      size_t client = line.find(" #");
      size_t mark = line.find(" > ", client);
      if (client == std::string::npos || mark == std::string::npos || line[client + 2] == '0') {
        continue;
      }
      if (line.back() == '\r') {
        line.pop_back();
      }
      scripts.push_back(line.substr(mark + 3));
    }
    return scripts;
  }

  // The scripts sent after the first inSkip, once inCount have come.
  static std::vector<std::string> ScriptsAfter(size_t inSkip, size_t inCount) {
    std::vector<std::string> scripts;
    PumpUntil([&] {
      scripts = Scripts();
      return scripts.size() >= inSkip + inCount;
    });
    scripts.erase(scripts.begin(), scripts.begin() + long(std::min(inSkip, scripts.size())));
    return scripts;
  }

  static std::string Script(eUIFunction inFunction, const UIValue& inValue) {
    char cmd[kCommandBufferSize];
    return BuildUIScript(inFunction, inValue, cmd);
  }

  static KSTestFolder* sFolder;
  static KSFileSpec sLog;
  static SimProcess* sSim;
  static cAppWin* sApp;
};

KSTestFolder* AppSync::sFolder = nullptr;
KSFileSpec AppSync::sLog;
SimProcess* AppSync::sSim = nullptr;
cAppWin* AppSync::sApp = nullptr;

TEST_F(AppSync, ConnectingSendsTheBurstInOrderAndFillsEveryList) {
  const AppControls& c = sApp->Controls();
  const Prefs& p = gToolbarState.mPrefs;
  char b[kCommandBufferSize];
  std::vector<std::string> expected;
  typedef char* (*Builder)(char*);
  auto add = [&](std::initializer_list<Builder> inBuilders) {
    for (Builder build : inBuilders) {
      expected.push_back(build(b));
    }
  };
  add({CommandIsVersionAvailable, CommandGetWaveShapeList, CommandGetWaveShapeList,
       CommandGetColorMapList, CommandGetColorMapList, CommandGetFlowFieldList,
       CommandGetFlowFieldList, CommandGetParticleList, CommandGetImageVideoList});
  expected.push_back("");  // the barrier
  add({CommandGetCurrentWaveShape, CommandGetCurrentColorMap, CommandGetCurrentFlowField,
       CommandGetAutoLineScale, CommandGetUnionSlideShow, CommandGetFlowFieldTransitions,
       CommandGetFlowFieldSmoothSwitch, CommandGetAllowRemoteControl, CommandGetAutoTrackInfo,
       CommandBuildFontList});
  expected.push_back(CommandBuildDisplayModeList(0, b));
  add({CommandBuildAudioSourceList, CommandGetTrackTextAppearance, CommandGetTrackTextDuration,
       CommandGetTrackTextFont, CommandGetTrackTextSize, CommandGetLineOffset,
       CommandGetFrameXLimit, CommandGetFrameYLimit});
  // The stored slider values, with the slide-show queries between them.
  for (const std::string& text :
       {std::string(CommandSetFrameRate(p.GetInt(kPref_FrameRate), b)),
        std::string(CommandSetResponseScaleFromPercent(p.GetInt(kPref_ResponseScale), b)),
        std::string(CommandGetWaveShapeSlideShow(b)),
        std::string(CommandSetWaveShapeInterval(p.GetInt(kPref_WaveShapeInterval), b)),
        std::string(CommandGetColorMapSlideShow(b)),
        std::string(CommandSetColorMapInterval(p.GetInt(kPref_ColorMapInterval), b)),
        std::string(CommandGetFlowFieldSlideShow(b)),
        std::string(CommandSetFlowFieldInterval(p.GetInt(kPref_FlowFieldInterval), b)),
        std::string(CommandSetParticlesEnabled(p.GetInt(kPref_ParticlesAutoStart) != 0, b)),
        std::string(CommandSetParticleInterval(p.GetInt(kPref_ParticlesInterval), b)),
        std::string(CommandSetParticleDuration(p.GetInt(kPref_ParticlesDuration), b)),
        std::string(CommandSetImageVideoEnabled(p.GetInt(kPref_ImageVideoAutoStart) != 0, b)),
        std::string(CommandSetImageVideoInterval(p.GetInt(kPref_ImageVideoInterval), b)),
        std::string(CommandSetImageVideoDuration(p.GetInt(kPref_ImageVideoDuration), b)),
        std::string(CommandSetAutoOpenToolbar(p.GetInt(kPref_AutoOpenToolbar) != 0, b)),
        std::string(CommandSetCheckForUpdates(int(p.GetInt(kPref_UpdateCheckDays)), b))}) {
    expected.push_back(text);
  }
  std::vector<std::string> sent = ScriptsAfter(0, expected.size());
  sent.resize(std::min(sent.size(), expected.size()));
  EXPECT_EQ(expected, sent);

  // Both display devices' modes, in device order, then the current one.
  cStandardComboBox* modes = c.AdvPreferences.FullScreenMode;
  ASSERT_EQ(11, modes->NumItems());
  char text[300];
  modes->GetItem(0, text, sizeof(text));
  EXPECT_STREQ("Display 1: 1024 x 768, 32 bit", text);
  modes->GetItem(6, text, sizeof(text));
  EXPECT_STREQ("Display 2: 800 x 600, 32 bit", text);

  for (cStandardComboBox* box : {c.Basic.WaveShapeList, c.Basic.ColorMapList, c.Basic.FlowFieldList,
                                 c.AdvPreferences.AudioSource, c.AdvPreferences.TrackTextFont}) {
    EXPECT_GT(box->NumItems(), 1);
    EXPECT_GE(box->CurSelection(), 0);
  }
  for (cStandardComboBox* box :
       {c.AdvPreferences.TrackTextDuration, c.AdvPreferences.TrackTextAppearance,
        c.AdvPreferences.TrackTextSize, c.AdvPreferences.LineBoost, c.AdvPreferences.FrameXLimit}) {
    EXPECT_GE(box->CurSelection(), 0);
    EXPECT_TRUE(box->IsEnabled());
  }
  for (cStandardListView* list : {c.AdvWaveShapes.List, c.AdvColorMaps.List, c.AdvFlowFields.List,
                                  c.AdvParticles.List, c.AdvImageVideo.List}) {
    EXPECT_GT(list->NumItems(), 1);
  }
  EXPECT_TRUE(c.AdvPreferences.AutoLineScale->IsEnabled());
  EXPECT_EQ(kConnected, sApp->EnabledState());
}

// Clicks with real input: each control sends the script for the value it
// then shows.
TEST_F(AppSync, WorkedControlsSendTheScriptOfTheirValue) {
  const AppControls& c = sApp->Controls();
  auto click = [](cWindow* inControl) {
    ASSERT_TRUE(inControl->IsVisible());
    POINT at = ScreenPointOf(inControl->Wind(), inControl->Width() / 2, inControl->Height() / 2);
    MouseClickAt(at.x, at.y);
  };

  cStandardCheckBox* toggle = c.Basic.ColorMapToggle;
  bool wasOn = toggle->BoolProp();
  size_t before = Scripts().size();
  click(toggle);
  UIValue on;
  on.mOn = !wasOn;
  EXPECT_EQ(!wasOn, toggle->BoolProp());
  EXPECT_EQ(std::vector<std::string>{Script(kUIColorMapToggle, on)}, ScriptsAfter(before, 1));

  before = Scripts().size();
  click(c.Basic.FlowFieldInterval);
  UIValue percent;
  percent.mNumber = c.Basic.FlowFieldInterval->IntProp();
  EXPECT_EQ(std::vector<std::string>{Script(kUIFlowFieldInterval, percent)},
            ScriptsAfter(before, 1));
  EXPECT_EQ(percent.mNumber, gToolbarState.mPrefs.GetInt(kPref_FlowFieldInterval));

  // A list's check mark: the item goes on or off in the engine and the theme.
  cStandardListView* list = c.AdvColorMaps.List;
  std::vector<cToolPage*> pages;  // the panels holding the list, outermost first
  for (cWindow* w = list->ParentWindow(); w != nullptr; w = w->ParentWindow()) {
    if (cToolPage* page = dynamic_cast<cToolPage*>(w)) {
      pages.insert(pages.begin(), page);
    }
  }
  for (cToolPage* page : pages) {
    page->SetToolPageMode(kModeExtended);
  }
  PumpMessages(100);
  ASSERT_TRUE(list->IsVisible());
  RECT row = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list->Wind(), LVM_GETITEMRECT, 0, LPARAM(&row));
  long markX = row.left + long(SendMessageW(list->Wind(), LVM_GETCOLUMNWIDTH, 0, 0)) / 2;
  bool wasChecked = list->IsChecked(0);
  char name[300];
  list->GetItem(0, name, sizeof(name));
  before = Scripts().size();
  POINT at = ScreenPointOf(list->Wind(), markX, (row.top + row.bottom) / 2);
  MouseClickAt(at.x, at.y);
  char cmd[kCommandBufferSize];
  EXPECT_NE(wasChecked, list->IsChecked(0));
  EXPECT_EQ(std::vector<std::string>{CommandSetItemEnabled(2, name, !wasChecked, cmd)},
            ScriptsAfter(before, 1));
  EXPECT_EQ(!wasChecked, gToolbarState.mThemeMgr.CurTheme().GetAttrib(kCX_ColorMap, name, -1,
                                                                      kConfigAttr_On, 1) != 0);

  // A combo box: its floating list opens at the current item; the row below
  // it is chosen.
  cStandardComboBox* combo = c.Basic.FlowFieldList;
  before = Scripts().size();
  click(combo);
  cStandardFloatingListBox* floating = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND inWind, LPARAM ioFound) {
        auto* found = dynamic_cast<cStandardFloatingListBox*>(cBaseWindow::FromWindow(inWind));
        if (found != nullptr && IsWindowVisible(inWind)) {
          *reinterpret_cast<cStandardFloatingListBox**>(ioFound) = found;
        }
        return TRUE;
      },
      LPARAM(&floating));
  ASSERT_NE(nullptr, floating);
  long rowHeight = floating->ItemHeight();
  POINT rowAt = ScreenPointOf(floating->Wind(), 10, rowHeight + rowHeight / 2);
  MouseClickAt(rowAt.x, rowAt.y);
  char chosen[300] = "";
  combo->GetItem(combo->CurSelection(), chosen, sizeof(chosen));
  UIValue item;
  item.mText = chosen;
  EXPECT_EQ(std::vector<std::string>{Script(kUIFlowFieldList, item)}, ScriptsAfter(before, 1));
}

TEST_F(AppSync, NotificationsMoveTheControls) {
  const AppControls& c = sApp->Controls();
  // The engine tells only the sessions it has: an idle one has closed.
  ASSERT_TRUE(Refresh());
  char name[300] = "";
  long last = c.Basic.WaveShapeList->NumItems() - 1;
  c.Basic.WaveShapeList->GetItem(last, name, sizeof(name));
  char cmd[kCommandBufferSize];
  bool wasOn = c.Basic.WaveShapeToggle->BoolProp();
  sSim->WriteInput(std::string(CommandSetWaveShape(name, cmd)) + "\n");
  sSim->WriteInput(std::string(CommandSetWaveShapeSlideShow(!wasOn, cmd)) + "\n");
  EXPECT_TRUE(PumpUntil([&] {
    return c.Basic.WaveShapeList->CurSelection() == last &&
           c.Basic.WaveShapeToggle->BoolProp() != wasOn;
  }));
  long row = c.AdvWaveShapes.List->FindItem(name);
  EXPECT_TRUE(c.AdvWaveShapes.List->IsSelected(row));
  EXPECT_EQ(1, c.AdvWaveShapes.List->NumSelected());
}

TEST_F(AppSync, SelectedParticlesStartTwentyAtMost) {
  cStandardListView* list = sApp->Controls().AdvParticles.List;
  list->Clear();
  for (int i = 0; i < 25; i++) {
    list->AddSubItems(-1, ("Particle " + std::to_string(100 + i)).c_str(), 0);
  }
  // Start and Stop can be pressed while something is selected.
  cStandardButton* start = sApp->Controls().AdvParticles.Start;
  EXPECT_FALSE(start->IsEnabled());
  for (long i = 0; i < list->NumItems(); i++) {
    list->SelectItem(i, true);
  }
  EXPECT_TRUE(start->IsEnabled());
  EXPECT_TRUE(sApp->Controls().AdvParticles.Stop->IsEnabled());
  size_t before = Scripts().size();
  sApp->OnUIFunction(start, kUIAdvParticlesStart, nullptr);
  std::vector<std::string> expected;
  for (long i = 0; i < 20; i++) {
    char name[300];
    list->GetItem(i, name, sizeof(name));
    UIValue value;
    value.mText = name;
    expected.push_back(Script(kUIAdvParticlesStart, value));
  }
  PumpMessages(300);
  EXPECT_EQ(expected, ScriptsAfter(before, 20));
}

TEST_F(AppSync, ChoosingTheCurrentSkinAgainReloadsNothing) {
  cStandardComboBox* skins = sApp->Controls().AdvPreferences.Skin;
  ASSERT_EQ(0, skins->SelectItem("Factory Blue", false));
  auto reloadPosted = [] {
    MSG msg;
    bool posted = false;
    while (PeekMessageW(&msg, sApp->Wind(), kToolbarUserMsg, kToolbarUserMsg, PM_REMOVE)) {
      posted = posted || msg.wParam == WPARAM(cAppWin::kUserMsgReloadSkin);
    }
    return posted;
  };
  gToolbarState.mPrefs.SetStr(kPref_Skin, "FACTORY BLUE");
  sApp->OnUIFunction(skins, kUIAdvPrefSkin, nullptr);
  EXPECT_FALSE(reloadPosted());

  gToolbarState.mPrefs.SetStr(kPref_Skin, "Another Skin");
  sApp->OnUIFunction(skins, kUIAdvPrefSkin, nullptr);
  EXPECT_TRUE(reloadPosted());
  EXPECT_STREQ("Factory Blue", gToolbarState.mPrefs.GetStr(kPref_Skin)->getCStr());
}

// A theme that switches off 400 long-named items: the engine gets them in
// texts cut as soon as one passes 20,000 characters.
TEST_F(AppSync, SwitchedOffItemsGoInBatchesOfTwentyThousand) {
  cStandardListView* list = sApp->Controls().AdvParticles.List;
  list->Clear();
  std::string all;
  for (int i = 0; i < 400; i++) {
    std::string name = "Particle " + std::to_string(1000 + i) + std::string(90, 'x');
    list->AddSubItems(-1, name.c_str(), 0);
    list->CheckItem(0, true);
    gToolbarState.mThemeMgr.SetAttrib(kCX_Particle, name.c_str(), -1, kConfigAttr_On, 0);
  }
  char name[300];
  for (long i = 0; i < list->NumItems(); i++) {
    list->GetItem(i, name, sizeof(name));
    all += "SetItemEnabled(16,\"" + std::string(name) + "\",0);";
  }

  size_t before = Scripts().size();
  sApp->ApplyListItemsToEngine(list, true);
  EXPECT_EQ(0, list->NumChecked());
  char cmd[kCommandBufferSize];
  std::vector<std::string> sent = ScriptsAfter(before, 4);
  ASSERT_EQ(4u, sent.size());
  EXPECT_EQ(CommandSetAllEnabled(16, true, cmd), sent[0]);
  std::string joined;
  for (size_t i = 1; i < sent.size(); i++) {
    const std::string& batch = sent[i];
    size_t lastEntry = batch.rfind("SetItemEnabled(");
    if (i + 1 < sent.size()) {
      EXPECT_GT(batch.size(), 20000u);
      EXPECT_LE(lastEntry, 20000u);
    }
    joined += batch;
  }
  EXPECT_EQ(all, joined);
}

TEST_F(AppSync, RepliesChooseTheNearestFixedChoice) {
  auto& prefs = sApp->Controls().AdvPreferences;
  struct Case {
    eUIFunction mTag;
    const char* mReply;
    cStandardComboBox* mBox;
    const char* mShown;
  };
  const Case cases[] = {
      {kUIAdvPrefTrackTextDuration, "45", prefs.TrackTextDuration, "1 minute"},
      {kUIAdvPrefTrackTextDuration, "100", prefs.TrackTextDuration, "(Always displayed)"},
      {kUIAdvPrefTrackTextDuration, "0", prefs.TrackTextDuration, "2 seconds"},
      {kUIAdvPrefLineBoost, "-2.000000", prefs.LineBoost, "-2"},
      {kUIAdvPrefFrameXLimit, "0", prefs.FrameXLimit, "(Auto)"},
      {kUIAdvPrefFrameYLimit, "20000", prefs.FrameYLimit, "(No limit)"},
  };
  for (const Case& c : cases) {
    c.mBox->Enable(false);
    sApp->OnKSMPReply(c.mReply, kRequestGetValue, reinterpret_cast<void*>(intptr_t(c.mTag)));
    char shown[300] = "";
    c.mBox->GetItem(c.mBox->CurSelection(), shown, sizeof(shown));
    EXPECT_STREQ(c.mShown, shown) << c.mReply;
    EXPECT_TRUE(c.mBox->IsEnabled());
  }
}

// The engine's messages and the link's failures, the latter heard on another
// thread, wait for the timer, which shows them in turn.
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
  ASSERT_TRUE(PumpUntil([&] { return answerer.Texts().size() == 3; }));
  std::vector<std::string> texts = answerer.Texts();
  EXPECT_EQ("Hello from the engine", texts[0]);
  EXPECT_EQ(0u, texts[1].find("The toolbar's connection to \"Studio PC\" was refused.\r\r"));
  EXPECT_EQ(0u, texts[2].find("The toolbar failed to connect to Corvexa in \"Studio PC\".\r\r"));
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

  KSNetAddr local = {};
  local.mType = ks_localhost;
  sApp->Session().UseServiceAddr("Corvexa in ITUNES on Studio PC", local, unsigned(sSim->Port()));
  size_t before = Scripts().size();
  sApp->OnUIFunction(sApp->Controls().Basic.FullScreen, kUIFullScreen, nullptr);
  EXPECT_EQ(player, GetForegroundWindow());
  EXPECT_EQ(std::vector<std::string>{Script(kUIFullScreen, UIValue())}, ScriptsAfter(before, 1));
  DestroyWindow(player);
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
  char shown[300] = "";
  themes->GetItem(themes->CurSelection(), shown, sizeof(shown));
  EXPECT_EQ(name, shown);
  EXPECT_TRUE(sApp->Controls().AdvPreferences.DeleteTheme->IsEnabled());

  size_t before = Scripts().size();
  {
    MessageBoxAnswerer answerer({IDYES});
    sApp->DoDeleteTheme();
    EXPECT_EQ(std::vector<std::string>{"Are you sure that you want to delete the theme \"" + name +
                                       "\"?"},
              answerer.Texts());
  }
  EXPECT_EQ(-1, themes->FindItem(name.c_str(), false));
  EXPECT_EQ(gToolbarState.mThemeMgr.GetCurrentTheme(), themes->CurSelection());
  // Every item list starts with all its items on again.
  std::vector<std::string> sent = ScriptsAfter(before, 10);
  char cmd[kCommandBufferSize];
  for (long mask : {1, 2, 4, 16, 32}) {
    EXPECT_EQ(1, std::count(sent.begin(), sent.end(), CommandSetAllEnabled(mask, true, cmd)))
        << mask;
  }
}

// The instance list as discovery finds engines on this machine: the window
// takes the engine that appears, empties its controls when it goes, and
// with auto-close on ends when the last one goes.
TEST(AppPeers, TheInstanceListFollowsDiscovery) {
  KSTestFolder folder;
  UseTestPrefs(folder);
  const std::string name = "Sync Peer " + std::to_string(GetCurrentProcessId());
  cAppWin* app = nullptr;
  ASSERT_EQ(0, CreateMainWindow(&app));
  HWND owner = GetWindow(app->Wind(), GW_OWNER);
  const AppControls& c = app->Controls();
  auto peerShows = [&](const std::string& inText) {
    char shown[300] = "";
    c.AdvPreferences.Peer->GetItem(c.AdvPreferences.Peer->CurSelection(), shown, sizeof(shown));
    return inText == shown;
  };

  for (bool autoClose : {false, true}) {
    gToolbarState.mPrefs.SetInt(kPref_AutoCloseToolbar, autoClose);
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--name", name})) << sim.Errors();
    EXPECT_TRUE(PumpUntil([&] {
      return peerShows(name) && c.AdvPreferences.Peer->IsEnabled() &&
             c.Basic.WaveShapeList->NumItems() > 0;
    }));
    EXPECT_EQ(kConnected, app->EnabledState());

    sim.EndInput(nullptr);
    if (!autoClose) {
      EXPECT_TRUE(PumpUntil([&] { return app->EnabledState() == kDisconnected; }));
      EXPECT_TRUE(peerShows("(No instances detected)"));
      EXPECT_FALSE(c.AdvPreferences.Peer->IsEnabled());
      EXPECT_EQ(0, c.Basic.WaveShapeList->NumItems());
      EXPECT_FALSE(c.AdvPreferences.AutoTrackInfo->IsEnabled());
    } else {
      EXPECT_TRUE(PumpUntil([&] { return !app->IsWindow(); }));
    }
  }
  if (app->IsWindow()) {
    DestroyWindow(app->Wind());
  }
  delete app;
  DestroyWindow(owner);
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
