// The toolbar window in this process staying in step with engines that it
// finds as a user's toolbar does, through discovery: one that is quiet for
// long, one that is restarted, one that comes late, one that answers with
// garbage, and refreshes that overlap.
#include <windows.h>
// The accessibility header needs the platform's types first.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "app/InProcessWindow.h"
#include "app/ToolbarDriver.h"
#include "net/KSZeroconf.h"
#include "platform/windowproc.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardListView.h"
#include "skin/cStandardSlider.h"
#include "support/Canvas.h"
#include "support/LoopbackPeer.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MouseInput.h"
#include "toolbar/UICommands.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

namespace {

using toolbar_driver::LoggedRequest;
using toolbar_driver::LoggedRequests;
using toolbar_driver::LoggedScripts;

const std::string kConnectedTo = "Corvexa Toolbar - connected to ";
const std::string kLooking = "Corvexa Toolbar - looking for an engine";
const std::string kRetrying = "Corvexa Toolbar - connection lost, retrying";

// How far the control's pixels lie from its background colour, summed.
long FromBackground(cControl* inControl) {
  const KSRGBA back = inControl->Info()->Text.BackgroundColor;
  Canvas canvas(int(inControl->Width()), int(inControl->Height()));
  KSWindowDC shown(inControl->Wind());
  BitBlt(canvas.DC(), 0, 0, canvas.Width(), canvas.Height(), shown.Get(), 0, 0, SRCCOPY);
  long distance = 0;
  for (int y = 0; y < canvas.Height(); y++) {
    for (int x = 0; x < canvas.Width(); x++) {
      uint32 pixel = canvas.Pixel(x, y);
      distance += std::abs(long(pixel >> 16) - back.mR) +
                  std::abs(long((pixel >> 8) & 0xFF) - back.mG) +
                  std::abs(long(pixel & 0xFF) - back.mB);
    }
  }
  return distance;
}

std::string AccessibleName(HWND inWind) {
  IAccessible* object = nullptr;
  if (AccessibleObjectFromWindow(inWind, OBJID_WINDOW, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object)) != S_OK) {
    return "?";
  }
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string text = object->get_accName(self, &name) == S_OK && name != nullptr
                         ? toolbar_driver::Narrow(name)
                         : "?";
  SysFreeString(name);
  object->Release();
  return text;
}

class InStep : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDrivenToolbarPrefs(mFolder);
    gToolbarState.mPrefs.SetStr(kPref_ImageVideoFolder, "");
    mName = "In Step " + std::to_string(GetCurrentProcessId());
  }
  void TearDown() override { CloseAppWin(&mApp, mOwner); }

  void Open() {
    ASSERT_EQ(0, CreateMainWindow(&mApp));
    mOwner = GetWindow(mApp->Wind(), GW_OWNER);
  }
  // Starts the simulator published as inName, logging into inLog.
  bool Engine(SimProcess* ioSim, const std::string& inName, const KSFileSpec& inLog,
              std::vector<std::string> inArgs = {}) {
    std::vector<std::string> args = {"--name", inName, "--seed", "1", "--log", inLog.GetPathCStr()};
    args.insert(args.end(), inArgs.begin(), inArgs.end());
    return ioSim->Start(args);
  }
  std::string Status() const { return mApp->LinkStatus().getCStr(); }
  const AppControls& C() const { return mApp->Controls(); }
  // Connected to inName, and the refresh's last replies are in.
  bool InStepWith(const std::string& inName) {
    const auto& p = C().AdvPreferences;
    return Status() == kConnectedTo + inName && p.FullScreenMode->CurSelection() >= 0 &&
           p.AudioSource->CurSelection() >= 0 && p.FrameYLimit->IsEnabled();
  }

  // The theme's switched-off items of one list, as its batch names them.
  static std::string Batch(cStandardListView* inList, long inMask) {
    std::string batch;
    char name[300];
    for (long i = 0; i < inList->NumItems(); i++) {
      inList->GetItem(i, name, sizeof(name));
      if (gToolbarState.mThemeMgr.CurTheme().GetAttrib(inList->ConfigType(), name, -1,
                                                       kConfigAttr_On, 1) == 0) {
        batch += "SetItemEnabled(" + std::to_string(inMask) + ",\"" + name + "\",0);";
      }
    }
    return batch;
  }

  // Everything a connection to the simulator gets from the toolbar on Factory
  // Blue, in order and with its header flags, up to the current full-screen
  // mode: the queries and the stored values, then what the replies bring
  // about (the theme, the rest of the display modes, the audio source).
  std::vector<LoggedRequest> ExpectedBurst() const {
    const Prefs& p = gToolbarState.mPrefs;
    const AppControls& c = C();
    char b[kCommandBufferSize];
    std::vector<LoggedRequest> burst;
    auto add = [&](char* inText, int inFlags = 0x28) { burst.push_back({inFlags, inText}); };
    add(CommandIsVersionAvailable(b));
    add(CommandGetWaveShapeList(b));
    add(CommandGetWaveShapeList(b));
    add(CommandGetColorMapList(b));
    add(CommandGetColorMapList(b));
    add(CommandGetFlowFieldList(b));
    add(CommandGetFlowFieldList(b));
    add(CommandGetParticleList(b));
    add(CommandGetImageVideoList(b));
    add(CopyCommand(b, ""));  // the barrier after the lists
    add(CommandGetCurrentWaveShape(b));
    add(CommandGetCurrentColorMap(b));
    add(CommandGetCurrentFlowField(b));
    add(CommandGetAutoLineScale(b));
    add(CommandGetUnionSlideShow(b));
    add(CommandGetFlowFieldTransitions(b));
    add(CommandGetFlowFieldSmoothSwitch(b));
    add(CommandGetAllowRemoteControl(b));
    add(CommandGetAutoTrackInfo(b));
    add(CommandBuildFontList(b));
    add(CommandBuildDisplayModeList(0, b));
    add(CommandBuildAudioSourceList(b));
    add(CommandGetTrackTextAppearance(b));
    add(CommandGetTrackTextDuration(b));
    add(CommandGetTrackTextFont(b));
    add(CommandGetTrackTextSize(b));
    add(CommandGetLineOffset(b));
    add(CommandGetFrameXLimit(b));
    add(CommandGetFrameYLimit(b));
    add(CommandSetFrameRate(p.GetInt(kPref_FrameRate), b));
    add(CommandSetResponseScaleFromPercent(p.GetInt(kPref_ResponseScale), b));
    add(CommandGetWaveShapeSlideShow(b));
    add(CommandSetWaveShapeInterval(p.GetInt(kPref_WaveShapeInterval), b));
    add(CommandGetColorMapSlideShow(b));
    add(CommandSetColorMapInterval(p.GetInt(kPref_ColorMapInterval), b));
    add(CommandGetFlowFieldSlideShow(b));
    add(CommandSetFlowFieldInterval(p.GetInt(kPref_FlowFieldInterval), b));
    add(CommandSetParticlesEnabled(p.GetInt(kPref_ParticlesAutoStart) != 0, b));
    add(CommandSetParticleInterval(p.GetInt(kPref_ParticlesInterval), b));
    add(CommandSetParticleDuration(p.GetInt(kPref_ParticlesDuration), b));
    add(CommandSetImageVideoEnabled(p.GetInt(kPref_ImageVideoAutoStart) != 0, b));
    add(CommandSetImageVideoInterval(p.GetInt(kPref_ImageVideoInterval), b));
    add(CommandSetImageVideoDuration(p.GetInt(kPref_ImageVideoDuration), b));
    add(CommandSetAutoOpenToolbar(p.GetInt(kPref_AutoOpenToolbar) != 0, b));
    add(CommandSetCheckForUpdates(int(p.GetInt(kPref_UpdateCheckDays)), b));
    const std::pair<cStandardListView*, long> lists[] = {{c.AdvWaveShapes.List, 1},
                                                         {c.AdvColorMaps.List, 2},
                                                         {c.AdvFlowFields.List, 4},
                                                         {c.AdvParticles.List, 16},
                                                         {c.AdvImageVideo.List, 32}};
    for (const auto& list : lists) {
      add(CommandSetAllEnabled(list.second, true, b));
      burst.push_back({0x28, Batch(list.first, list.second)});
    }
    add(CommandBuildDisplayModeList(1, b), 12);
    add(CommandGetAudioSource(b), 12);
    add(CommandBuildDisplayModeList(2, b), 12);
    add(CommandGetFullScreenMode(b), 12);
    return burst;
  }

  KSTestFolder mFolder;
  std::string mName;
  std::unique_ptr<cAppWin> mApp;
  HWND mOwner = nullptr;
};

}  // namespace

// A session quiet for three idle limits still hears the engine; an engine
// restarted under the same name gets the whole burst, the theme and the
// stored slider values again, and meanwhile the toolbar says it is retrying.
// With auto-close on, the window ends when the last engine goes.
TEST_F(InStep, QuietForLongThenRestarted) {
  MessageBoxAnswerer boxes;
  ASSERT_NO_FATAL_FAILURE(Open());
  const long kIdleMS = 1000;
  mApp->SetLinkLimits(kIdleMS, 1);
  SimProcess first;
  KSFileSpec firstLog = mFolder.Item("first.log");
  ASSERT_TRUE(Engine(&first, mName, firstLog)) << first.Errors();
  ASSERT_TRUE(PumpUntil([&] { return InStepWith(mName); }, 30000)) << Status();
  EXPECT_EQ(Status(), AccessibleName(mApp->Wind()));

  PumpMessages(3 * kIdleMS);
  cStandardComboBox* shapes = C().Basic.WaveShapeList;
  std::string shape = Shown(shapes, (shapes->CurSelection() + 5) % shapes->NumItems());
  char cmd[kCommandBufferSize];
  ASSERT_TRUE(first.WriteInput(std::string(CommandSetWaveShape(shape.c_str(), cmd)) + "\n"));
  EXPECT_TRUE(PumpUntil([&] { return Shown(shapes) == shape; }, 1000));
  std::ifstream log(firstLog.GetPathCStr(), std::ios::binary);
  std::string logged((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(1u, toolbar_driver::Count(logged, " ! connection from"));

  // The product's limits from here: no keep-alive comes between the burst's
  // texts.
  mApp->SetLinkLimits(5500, 4);
  char name[300];
  C().AdvWaveShapes.List->GetItem(2, name, sizeof(name));
  gToolbarState.mThemeMgr.SetAttrib(kCX_WaveShape, name, -1, kConfigAttr_On, 0);
  gToolbarState.mPrefs.SetInt(kPref_WaveShapeInterval, 37);
  first.Kill();
  EXPECT_TRUE(PumpUntil([&] { return Status() == kRetrying; }, 5000)) << Status();
  EXPECT_FALSE(shapes->IsEnabled());
  EXPECT_TRUE(C().AdvPreferences.Peer->IsEnabled());

  SimProcess second;
  KSFileSpec secondLog = mFolder.Item("second.log");
  ASSERT_TRUE(Engine(&second, mName, secondLog)) << second.Errors();
  ASSERT_TRUE(PumpUntil([&] { return InStepWith(mName); }, 5000)) << Status();
  std::vector<LoggedRequest> expected = ExpectedBurst();
  std::vector<LoggedRequest> sent;
  PumpUntil([&] { return (sent = LoggedRequests(secondLog)).size() >= expected.size(); }, 5000);
  sent.resize(std::min(sent.size(), expected.size()));
  EXPECT_EQ(expected, sent);
  EXPECT_LE(boxes.Texts().size(), 1u);

  gToolbarState.mPrefs.SetInt(kPref_AutoCloseToolbar, 1);
  second.EndInput(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !mApp->IsWindow(); }, 20000));
}

// An engine started 10 s after the toolbar, behind a name it had found, is
// connected without a click, after one box at most; an engine that answers
// garbage once is not taken for one that refuses, and the next click reaches
// it.
TEST_F(InStep, ReachesAnEngineThatComesLateOrAnswersGarbageOnce) {
  MessageBoxAnswerer boxes;
  DWORD start = GetTickCount();
  ASSERT_NO_FATAL_FAILURE(Open());
  int port = LoopbackPeer().Port();  // nobody listens there yet
  KSZeroconf found;
  found.SetServiceType(kEngineServiceType);
  found.SetServiceName(mName.c_str());
  found.SetServicePort(unsigned(port));
  ASSERT_EQ(0, found.SetStatus(true));
  ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }, 10000));
  EXPECT_EQ(0u, boxes.Texts()[0].find("The toolbar failed to connect to Corvexa in \"" + mName));
  EXPECT_EQ(kLooking, Status());
  EXPECT_FALSE(C().Basic.WaveShapeList->IsEnabled());
  // The skinned controls without a disabled picture look it: faded into
  // their background.
  cControl* const dimmed[] = {C().Basic.WaveShapeToggle, C().Basic.WaveShapeInterval};
  PumpMessages(100);
  std::vector<long> disabledLook;
  for (cControl* control : dimmed) {
    disabledLook.push_back(FromBackground(control));
  }

  PumpMessages(std::max(0L, 10000L - long(GetTickCount() - start)));
  SimProcess late;
  KSFileSpec log = mFolder.Item("late.log");
  ASSERT_TRUE(
      late.Start({"--port", std::to_string(port), "--no-publish", "--log", log.GetPathCStr()}));
  EXPECT_TRUE(PumpUntil([&] { return InStepWith(mName); }, 30000)) << Status();
  PumpMessages(100);
  for (size_t i = 0; i < disabledLook.size(); i++) {
    EXPECT_GT(FromBackground(dimmed[i]), disabledLook[i] * 5 / 4) << i;
  }
  found.SetStatus(false);
  late.EndInput(nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Status() == kLooking; }, 15000)) << Status();

  SimProcess garbled;
  std::string garbledName = mName + " Garbled";
  log = mFolder.Item("garbled.log");
  ASSERT_TRUE(Engine(&garbled, garbledName, log, {"--oversize", "--faulty", "1"}));
  EXPECT_TRUE(PumpUntil([&] { return InStepWith(garbledName); }, 15000)) << Status();
  size_t before = LoggedScripts(log).size();
  mApp->OnUIFunction(mApp.get(), kUIWaveShapeNext, nullptr);
  char cmd[kCommandBufferSize];
  std::string next = CommandNextWaveShape(1, cmd);
  EXPECT_TRUE(PumpUntil(
      [&] {
        std::vector<std::string> sent = LoggedScripts(log);
        return std::find(sent.begin() + long(std::min(before, sent.size())), sent.end(), next) !=
               sent.end();
      },
      5000));
  EXPECT_EQ(1u, boxes.Texts().size());
}

// The instance chosen twice in a row: its display modes and audio sources
// appear once, in device order. A switched-off item named with a quote and a
// backslash reaches the engine as it is named, and the theme chosen stays
// through a skin reload.
TEST_F(InStep, OneRefreshAtATimeNamesIntactThemeKept) {
  MessageBoxAnswerer boxes;
  KSTestFolder content;
  const std::string odd = R"(Say "hi" \o/)";
  content.MakeFile("particles.txt", "Plain Particle\r\n" + odd + "\r\n");
  ASSERT_NO_FATAL_FAILURE(Open());
  SimProcess sim;
  ASSERT_TRUE(
      Engine(&sim, mName, mFolder.Item("sim.log"), {"--content", content.Spec().GetPathCStr()}));
  ASSERT_TRUE(PumpUntil([&] { return InStepWith(mName); }, 30000)) << Status();

  cStandardComboBox* peer = C().AdvPreferences.Peer;
  mApp->OnUIFunction(peer, kUIAdvPrefPeer, nullptr);
  mApp->OnUIFunction(peer, kUIAdvPrefPeer, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return InStepWith(mName); }, 10000));
  PumpMessages(300);
  cStandardComboBox* modes = C().AdvPreferences.FullScreenMode;
  ASSERT_EQ(11, modes->NumItems());
  EXPECT_EQ(0u, Shown(modes, 5).find("Display 1:"));
  EXPECT_EQ(0u, Shown(modes, 6).find("Display 2:"));
  EXPECT_EQ(5, C().AdvPreferences.AudioSource->NumItems());

  gToolbarState.mThemeMgr.SetAttrib(kCX_Particle, odd.c_str(), -1, kConfigAttr_On, 0);
  mApp->ApplyListItemsToEngine(C().AdvParticles.List, true);
  std::string line;
  EXPECT_TRUE(PollUntil(
      [&] {
        PumpMessages(50);
        return sim.WriteInput("print(GetEnabledList(CONFIG_PARTICLE));\n") &&
               sim.WaitForLine("Particle", 2000, &line) && line == "Plain Particle\\0\\0";
      },
      10000))
      << line;

  ThemeMgr& themes = gToolbarState.mThemeMgr;
  int chosen = themes.GetCurrentTheme() == 1 ? 0 : 1;
  C().AdvPreferences.Theme->SelectItem(chosen);
  mApp->OnUIFunction(C().AdvPreferences.Theme, kUIAdvPrefTheme, nullptr);
  mApp->OnToolbarUserMsg(cAppWin::kUserMsgReloadSkin);
  EXPECT_EQ(chosen, themes.GetCurrentTheme());
  EXPECT_EQ(chosen, C().AdvPreferences.Theme->CurSelection());
  EXPECT_TRUE(boxes.Texts().empty());
}
