// cAppWin: keeping the controls in step with the engine instance it controls.
// Connecting (or losing the instance) clears the engine-fed controls and
// refills them with a burst of queries; replies tagged for the window and the
// engine's notifications move the controls afterwards.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "foundation/KSMessages.h"
#include "platform/KSWindUtils.h"
#include "platform/windowproc.h"
#include "skin/ReplyText.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardLabel.h"
#include "skin/cStandardListView.h"
#include "skin/cToolPage.h"
#include "toolbar/PrefChoices.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"
#include "toolbar/cAppWin.h"

namespace {

// How long one drain of the engine link may hold the window.
constexpr unsigned long kEngineSliceMS = 50;

// Header flags of the follow-up queries sent from reply handlers.
constexpr unsigned char kFollowUpFlags = 12;

// Engine notification codes the window acts on.
enum {
  kNotifyUserMessage = 100,
  kNotifyFullScreenMode = 253,
  kNotifyAudioSource = 254,
  kNotifyColorMap = 301,
  kNotifyWaveShape = 303,
  kNotifyFlowField = 305,
  kNotifyWaveShapeSlideShowOn = 320,
  kNotifyWaveShapeSlideShowOff = 321,
  kNotifyColorMapSlideShowOn = 322,
  kNotifyColorMapSlideShowOff = 323,
  kNotifyFlowFieldSlideShowOn = 324,
  kNotifyFlowFieldSlideShowOff = 325,
  kNotifyImageVideoSlideShowOn = 326,
  kNotifyImageVideoSlideShowOff = 327,
  kNotifyParticleSlideShowOn = 328,
  kNotifyParticleSlideShowOff = 329,
};

const char kMsgTitleEngine[] = "Corvexa Message";
const char kMsgTitleToolbar[] = "Corvexa Toolbar Message";
const char kMsgNoInstances[] = "(No instances detected)";
const char kMsgNewVersion[] = "A new version of Corvexa is available.";
const char kMsgFirewall[] =
    "Firewalls and network security software can interfere with the toolbar's abilty to "
    "establish a connection to Corvexa.  ";
const char kMsgConnectFailed[] =
    "The toolbar failed to connect to Corvexa in \"%s\".\r\r%s"
    "Try modifying your network security settings in order to fix "
    "the problem. ";
const char kMsgConnectRefused[] =
    "The toolbar's connection to \"%s\" was refused.\r\r%s"
    "If you are trying to connect to Corvexa over a network, ensure that the remote instance "
    "of Corvexa is set to allow remote connections (for security reasons, Corvexa refuses "
    "remote connections by default). ";

void Check(cStandardCheckBox* inBox, bool inOn) {
  if (inBox != nullptr) {
    inBox->BoolProp(inOn);
  }
}

// Selects inName in the basic combo box and, as its only selection, in the
// advanced list, scrolled into view.
void SelectCurrentItem(cStandardComboBox* inCombo, cStandardListView* inList, const char* inName) {
  if (inCombo != nullptr) {
    inCombo->SelectItem(inName, false);
  }
  if (inList != nullptr) {
    long row = inList->FindItem(inName);
    inList->SelectOnly(row);
    if (row >= 0) {
      inList->ScrollToItem(row);
    }
  }
}

template <class T>
void ClearFilled(T* inList) {
  if (inList != nullptr && inList->NumItems() > 0) {
    inList->Clear();
  }
}

void DisableAndUncheck(cStandardCheckBox* inBox) {
  if (inBox != nullptr) {
    inBox->Enable(false);
    inBox->BoolProp(false);
  }
}

void DisableAndUnselect(cStandardComboBox* inBox) {
  if (inBox != nullptr) {
    inBox->Enable(false);
    inBox->SelectItem(-1);
  }
}

long ReplyTag(void* inParam) {
  return long(reinterpret_cast<intptr_t>(inParam));
}

// The engine preferences the refresh asks for, each shown by its own reply.
std::array<cStandardCheckBox*, 6> PreferenceCheckBoxes(const AppControls& inControls) {
  const auto& p = inControls.AdvPreferences;
  return {p.AutoLineScale,         p.FlowFieldUnions,    p.FlowFieldTransitions,
          p.FlowFieldSmoothSwitch, p.AllowRemoteControl, p.AutoTrackInfo};
}

std::array<cStandardComboBox*, 9> PreferenceComboBoxes(const AppControls& inControls) {
  const auto& p = inControls.AdvPreferences;
  return {p.LineBoost,     p.TrackTextAppearance, p.TrackTextDuration,
          p.TrackTextFont, p.TrackTextSize,       p.FrameXLimit,
          p.FrameYLimit,   p.FullScreenMode,      p.AudioSource};
}

}  // namespace

void cAppWin::SendCommand(const char* inCmd) {
  mSession.SendCmd(inCmd, -1, kCommandFlags, 0, kRequestDontCare, 0, nullptr);
}

void cAppWin::SendQuery(const char* inCmd, cWindow* inTarget, eRequestType inType, long inParam,
                        unsigned char inFlags) {
  long target = inTarget != nullptr ? inTarget->ReplyTargetID() : 0;
  mSession.SendCmd(inCmd, -1, inFlags, target, inType, mSession.StampParam(inParam), nullptr);
}

void cAppWin::RefreshState(ToolbarEnabledState inVisualState) {
  // Replies to an earlier refresh still on their way are dropped: the lists
  // fill once.
  mSession.NewGeneration();
  ClearEngineLists();
  if (inVisualState == kConnected) {
    SendRefreshBurst();
  }
  bool live = inVisualState == kConnected && mSession.IsConnected();
  if (inVisualState != kNotInitted) {
    EnableEngineControls(live);
    if (live) {
      AwaitPreferenceReplies();
    } else {
      ShowDisconnected();
    }
    mLinkShownUp = live;
  }
  mRefreshedSession = mSession.SessionsOpened();
  UpdateAllCommandStatus();
  mEnabledState = inVisualState;
}

void cAppWin::ClearEngineLists() {
  AppControls& c = mControls;
  ClearFilled(c.Basic.WaveShapeList);
  ClearFilled(c.AdvWaveShapes.List);
  ClearFilled(c.Basic.ColorMapList);
  ClearFilled(c.AdvColorMaps.List);
  ClearFilled(c.Basic.FlowFieldList);
  ClearFilled(c.AdvFlowFields.List);
  ClearFilled(c.AdvParticles.List);
  ClearFilled(c.AdvImageVideo.List);
  ClearFilled(c.AdvPreferences.TrackTextFont);
  ClearFilled(c.AdvPreferences.FullScreenMode);
  ClearFilled(c.AdvPreferences.AudioSource);
}

void cAppWin::ShowDisconnected() {
  OnKSMPNotify(kNotifyWaveShapeSlideShowOff, "", "");
  OnKSMPNotify(kNotifyColorMapSlideShowOff, "", "");
  OnKSMPNotify(kNotifyFlowFieldSlideShowOff, "", "");
  for (cStandardCheckBox* box : PreferenceCheckBoxes(mControls)) {
    DisableAndUncheck(box);
  }
  for (cStandardComboBox* box : PreferenceComboBoxes(mControls)) {
    DisableAndUnselect(box);
  }
}

// The engine's preferences show once their replies have come, which enable
// them whatever they hold.
void cAppWin::AwaitPreferenceReplies() {
  for (cStandardCheckBox* box : PreferenceCheckBoxes(mControls)) {
    if (box != nullptr) {
      box->Enable(false);
    }
  }
  for (cStandardComboBox* box : PreferenceComboBoxes(mControls)) {
    if (box != nullptr) {
      box->Enable(false);
    }
  }
}

void cAppWin::SendRefreshBurst() {
  char cmd[kCommandBufferSize];
  SendQuery(CommandIsVersionAvailable(cmd), this, kRequestGetValue, kUINewVersionAvailable);
  if (mSession.ConnectFailed()) {
    return;
  }
  SendListQueries();
  SendCurrentValueQueries();
  SendPreferenceQueries();
  PushStoredValues();
}

// The lists, then the barrier whose reply applies the theme to them.
void cAppWin::SendListQueries() {
  AppControls& c = mControls;
  char cmd[kCommandBufferSize];
  CommandGetWaveShapeList(cmd);
  SendQuery(cmd, c.Basic.WaveShapeList, kRequestGetContents, 0);
  SendQuery(cmd, c.AdvWaveShapes.List, kRequestGetContents, 0);
  CommandGetColorMapList(cmd);
  SendQuery(cmd, c.Basic.ColorMapList, kRequestGetContents, 0);
  SendQuery(cmd, c.AdvColorMaps.List, kRequestGetContents, 0);
  CommandGetFlowFieldList(cmd);
  SendQuery(cmd, c.Basic.FlowFieldList, kRequestGetContents, 0);
  SendQuery(cmd, c.AdvFlowFields.List, kRequestGetContents, 0);
  SendQuery(CommandGetParticleList(cmd), c.AdvParticles.List, kRequestGetContents, 0);
  ApplyExternalSpriteDirToEngine(false);
  if (c.AdvImageVideo.List != nullptr) {
    c.AdvImageVideo.List->Clear();
    SendQuery(CommandGetImageVideoList(cmd), c.AdvImageVideo.List, kRequestGetContents, 0);
  }
  SendQuery("", this, kRequestDontCare, kUIApplyCurrentThemeToVis);
}

void cAppWin::SendCurrentValueQueries() {
  AppControls& c = mControls;
  auto& prefs = c.AdvPreferences;
  char cmd[kCommandBufferSize];
  SendQuery(CommandGetCurrentWaveShape(cmd), c.Basic.WaveShapeList, kRequestGetValue, 0);
  SendQuery(CommandGetCurrentColorMap(cmd), c.Basic.ColorMapList, kRequestGetValue, 0);
  SendQuery(CommandGetCurrentFlowField(cmd), c.Basic.FlowFieldList, kRequestGetValue, 0);

  SendQuery(CommandGetAutoLineScale(cmd), prefs.AutoLineScale, kRequestGetValue, 0);
  SendQuery(CommandGetUnionSlideShow(cmd), prefs.FlowFieldUnions, kRequestGetValue, 0);
  SendQuery(CommandGetFlowFieldTransitions(cmd), prefs.FlowFieldTransitions, kRequestGetValue, 0);
  SendQuery(CommandGetFlowFieldSmoothSwitch(cmd), prefs.FlowFieldSmoothSwitch, kRequestGetValue, 0);
  SendQuery(CommandGetAllowRemoteControl(cmd), prefs.AllowRemoteControl, kRequestGetValue, 0);
  SendQuery(CommandGetAutoTrackInfo(cmd), prefs.AutoTrackInfo, kRequestGetValue, 0);
}

// Each only when the skin has its combo box.
void cAppWin::SendPreferenceQueries() {
  auto& prefs = mControls.AdvPreferences;
  char cmd[kCommandBufferSize];
  if (prefs.TrackTextFont != nullptr) {
    SendQuery(CommandBuildFontList(cmd), prefs.TrackTextFont, kRequestGetContents,
              kUIAdvPrefTrackTextFont);
  }
  if (prefs.FullScreenMode != nullptr) {
    mDisplayDeviceIndex = 0;
    SendQuery(CommandBuildDisplayModeList(0, cmd), this, kRequestGetContents,
              kUIAdvPrefFullScreenMode);
  }
  if (prefs.AudioSource != nullptr) {
    SendQuery(CommandBuildAudioSourceList(cmd), this, kRequestGetContents, kUIAdvPrefAudioSource);
  }
  if (prefs.TrackTextAppearance != nullptr) {
    SendQuery(CommandGetTrackTextAppearance(cmd), prefs.TrackTextAppearance, kRequestGetValueIndex,
              kUIAdvPrefTrackTextAppearance);
  }
  if (prefs.TrackTextDuration != nullptr) {
    SendQuery(CommandGetTrackTextDuration(cmd), this, kRequestGetValue,
              kUIAdvPrefTrackTextDuration);
  }
  if (prefs.TrackTextFont != nullptr) {
    SendQuery(CommandGetTrackTextFont(cmd), prefs.TrackTextFont, kRequestGetValue,
              kUIAdvPrefTrackTextFont);
  }
  if (prefs.TrackTextSize != nullptr) {
    SendQuery(CommandGetTrackTextSize(cmd), prefs.TrackTextSize, kRequestGetValue,
              kUIAdvPrefTrackTextSize);
  }
  if (prefs.LineBoost != nullptr) {
    SendQuery(CommandGetLineOffset(cmd), this, kRequestGetValue, kUIAdvPrefLineBoost);
  }
  if (prefs.FrameXLimit != nullptr) {
    SendQuery(CommandGetFrameXLimit(cmd), this, kRequestGetValue, kUIAdvPrefFrameXLimit);
  }
  if (prefs.FrameYLimit != nullptr) {
    SendQuery(CommandGetFrameYLimit(cmd), this, kRequestGetValue, kUIAdvPrefFrameYLimit);
  }
}

void cAppWin::PushStoredValues() {
  const Prefs& p = gToolbarState.mPrefs;
  char cmd[kCommandBufferSize];
  // The toolbar's slider values win over the engine's on every connection.
  SendCommand(CommandSetFrameRate(p.GetInt(kPref_FrameRate), cmd));
  SendCommand(CommandSetResponseScaleFromPercent(p.GetInt(kPref_ResponseScale), cmd));
  SendQuery(CommandGetWaveShapeSlideShow(cmd), this, kRequestGetValue, kUIWaveShapeToggle);
  SendCommand(CommandSetWaveShapeInterval(p.GetInt(kPref_WaveShapeInterval), cmd));
  SendQuery(CommandGetColorMapSlideShow(cmd), this, kRequestGetValue, kUIColorMapToggle);
  SendCommand(CommandSetColorMapInterval(p.GetInt(kPref_ColorMapInterval), cmd));
  SendQuery(CommandGetFlowFieldSlideShow(cmd), this, kRequestGetValue, kUIFlowFieldToggle);
  SendCommand(CommandSetFlowFieldInterval(p.GetInt(kPref_FlowFieldInterval), cmd));
  SendCommand(CommandSetParticlesEnabled(p.GetInt(kPref_ParticlesAutoStart) != 0, cmd));
  SendCommand(CommandSetParticleInterval(p.GetInt(kPref_ParticlesInterval), cmd));
  SendCommand(CommandSetParticleDuration(p.GetInt(kPref_ParticlesDuration), cmd));
  SendCommand(CommandSetImageVideoEnabled(p.GetInt(kPref_ImageVideoAutoStart) != 0, cmd));
  SendCommand(CommandSetImageVideoInterval(p.GetInt(kPref_ImageVideoInterval), cmd));
  SendCommand(CommandSetImageVideoDuration(p.GetInt(kPref_ImageVideoDuration), cmd));
  SendCommand(CommandSetAutoOpenToolbar(p.GetInt(kPref_AutoOpenToolbar) != 0, cmd));
  SendCommand(CommandSetCheckForUpdates(int(p.GetInt(kPref_UpdateCheckDays)), cmd));
}

void cAppWin::OnKSMPReply(const char* inReply, eRequestType, void* inParam) {
  long number = 0;
  bool isNumber = ReplyNumber(inReply, &number);
  long tag = ReplyTag(inParam);
  switch (tag) {
    case kUINewVersionAvailable:
      OnNewVersionReply(isNumber, number);
      break;
    case kUIAdvPrefFullScreenMode:
      OnDisplayModesReply(inReply);
      break;
    case kUIAdvPrefAudioSource:
      OnAudioSourcesReply(inReply);
      break;
    case kUIAdvPrefTrackTextDuration:
    case kUIAdvPrefLineBoost:
    case kUIAdvPrefFrameXLimit:
    case kUIAdvPrefFrameYLimit:
      OnChoiceReply(tag, isNumber, number);
      break;
    case kUIApplyCurrentThemeToVis:
      ApplyThemeToLists(false);
      break;
    case kUIApplySpritesThemeToVis:
      ApplyListItemsToEngine(mControls.AdvImageVideo.List, false);
      break;
    case kUIWaveShapeToggle:
      OnKSMPNotify(*inReply == '0' ? kNotifyWaveShapeSlideShowOff : kNotifyWaveShapeSlideShowOn, "",
                   "");
      break;
    case kUIColorMapToggle:
      OnKSMPNotify(*inReply == '0' ? kNotifyColorMapSlideShowOff : kNotifyColorMapSlideShowOn, "",
                   "");
      break;
    case kUIFlowFieldToggle:
      OnKSMPNotify(*inReply == '0' ? kNotifyFlowFieldSlideShowOff : kNotifyFlowFieldSlideShowOn, "",
                   "");
      break;
    default:
      break;
  }
}

void cAppWin::OnNewVersionReply(bool inIsNumber, long inNumber) {
  if (inIsNumber && inNumber != 0 && mControls.UpdateBar.Bar != nullptr) {
    if (mControls.UpdateBar.Link != nullptr) {
      mControls.UpdateBar.Link->SetText(kMsgNewVersion);
      mControls.UpdateBar.Link->Invalidate();
    }
    mControls.UpdateBar.Bar->SetToolPageMode(kModeExtended);
  }
}

// Display devices 0, 1, 2, ... until one has no modes (or the last one asked
// for), then the current mode can be chosen among all of them.
void cAppWin::OnDisplayModesReply(const char* inReply) {
  cStandardComboBox* modes = mControls.AdvPreferences.FullScreenMode;
  char cmd[kCommandBufferSize];
  ReplyList list(inReply);
  const char* name = list.Next();
  for (const char* mode = name; mode != nullptr; mode = list.Next()) {
    if (modes != nullptr) {
      modes->AddItem(mode);
    }
  }
  if (name == nullptr || mDisplayDeviceIndex + 1 >= kMaxDisplayDevices) {
    SendQuery(CommandGetFullScreenMode(cmd), modes, kRequestGetValue, 0, kFollowUpFlags);
    return;
  }
  mDisplayDeviceIndex++;
  SendQuery(CommandBuildDisplayModeList(mDisplayDeviceIndex, cmd), this, kRequestGetContents,
            kUIAdvPrefFullScreenMode, kFollowUpFlags);
}

void cAppWin::OnAudioSourcesReply(const char* inReply) {
  cStandardComboBox* sources = mControls.AdvPreferences.AudioSource;
  char cmd[kCommandBufferSize];
  ReplyList list(inReply);
  while (const char* name = list.Next()) {
    if (sources != nullptr) {
      sources->AddItem(name);
    }
  }
  SendQuery(CommandGetAudioSource(cmd), sources, kRequestGetValue, 0, kFollowUpFlags);
}

// A reply that is no number selects nothing; the box is usable either way.
void cAppWin::OnChoiceReply(long inTag, bool inIsNumber, long inNumber) {
  auto& prefs = mControls.AdvPreferences;
  cStandardComboBox* box = nullptr;
  long index = -1;
  switch (inTag) {
    case kUIAdvPrefTrackTextDuration:
      // The first duration not below the reply's, else the longest.
      box = prefs.TrackTextDuration;
      for (long i = kNumTrackTextDurations - 1; inIsNumber && i >= 0; i--) {
        index = index < 0 || inNumber <= TrackTextDurationFromIndex(i) ? i : index;
      }
      break;
    case kUIAdvPrefLineBoost:
      // The offset is printed with decimals; its integer part is the step.
      box = prefs.LineBoost;
      index = inIsNumber ? inNumber + (kNumLineBoostChoices - 1) / 2 : -1;
      break;
    default:
      box = inTag == kUIAdvPrefFrameXLimit ? prefs.FrameXLimit : prefs.FrameYLimit;
      index = inIsNumber ? getIndexFromFrameLimit(inNumber) : -1;
      break;
  }
  if (box != nullptr) {
    box->SelectItem(index);
    box->Enable(true);
  }
}

void cAppWin::ApplyThemeToLists(bool inUpdateListItemCheckMark) {
  ApplyListItemsToEngine(mControls.AdvWaveShapes.List, inUpdateListItemCheckMark);
  ApplyListItemsToEngine(mControls.AdvColorMaps.List, inUpdateListItemCheckMark);
  ApplyListItemsToEngine(mControls.AdvFlowFields.List, inUpdateListItemCheckMark);
  ApplyListItemsToEngine(mControls.AdvParticles.List, inUpdateListItemCheckMark);
  ApplyListItemsToEngine(mControls.AdvImageVideo.List, inUpdateListItemCheckMark);
}

void cAppWin::OnKSMPNotify(long inCode, const char* inBody, const char*) {
  AppControls& c = mControls;
  if (inBody == nullptr) {
    inBody = "";
  }
  switch (inCode) {
    case kNotifyUserMessage:
      QueueKSEvent(kNotifyUserMessage, std::make_unique<UtilStr>(inBody));
      break;
    case kNotifyFullScreenMode:
      if (c.AdvPreferences.FullScreenMode != nullptr) {
        c.AdvPreferences.FullScreenMode->SelectItem(inBody, false);
      }
      break;
    case kNotifyAudioSource:
      if (c.AdvPreferences.AudioSource != nullptr) {
        long index = 0;
        if (ReplyNumber(inBody, &index)) {
          c.AdvPreferences.AudioSource->SelectItem(index);
        }
      }
      break;
    case kNotifyColorMap:
      SelectCurrentItem(c.Basic.ColorMapList, c.AdvColorMaps.List, inBody);
      break;
    case kNotifyWaveShape:
      SelectCurrentItem(c.Basic.WaveShapeList, c.AdvWaveShapes.List, inBody);
      break;
    case kNotifyFlowField:
      SelectCurrentItem(c.Basic.FlowFieldList, c.AdvFlowFields.List, inBody);
      break;
    case kNotifyWaveShapeSlideShowOn:
    case kNotifyWaveShapeSlideShowOff:
      Check(c.Basic.WaveShapeToggle, inCode == kNotifyWaveShapeSlideShowOn);
      break;
    case kNotifyColorMapSlideShowOn:
    case kNotifyColorMapSlideShowOff:
      Check(c.Basic.ColorMapToggle, inCode == kNotifyColorMapSlideShowOn);
      break;
    case kNotifyFlowFieldSlideShowOn:
    case kNotifyFlowFieldSlideShowOff:
      Check(c.Basic.FlowFieldToggle, inCode == kNotifyFlowFieldSlideShowOn);
      break;
    case kNotifyImageVideoSlideShowOn:
    case kNotifyImageVideoSlideShowOff:
      gToolbarState.mPrefs.SetInt(kPref_ImageVideoAutoStart,
                                  inCode == kNotifyImageVideoSlideShowOn ? 1 : 0);
      Check(c.AdvImageVideo.AutoStart, inCode == kNotifyImageVideoSlideShowOn);
      break;
    case kNotifyParticleSlideShowOn:
    case kNotifyParticleSlideShowOff:
      gToolbarState.mPrefs.SetInt(kPref_ParticlesAutoStart,
                                  inCode == kNotifyParticleSlideShowOn ? 1 : 0);
      Check(c.AdvParticles.AutoStart, inCode == kNotifyParticleSlideShowOn);
      break;
    default:
      break;
  }
}

void cAppWin::ListenToMsg(long inMsg, void* inParam1, void* inParam2) {
  switch (inMsg) {
    case kKSMsg_ServicesChanged:
      // The discovery thread: only the window thread may touch the controls.
      if (Wind() != nullptr) {
        ::PostMessageW(Wind(), kToolbarUserMsg, WPARAM(kUserMsgServicesChanged), 0);
      }
      break;
    case kKSMsg_ThemeCustom:
      if (mControls.AdvPreferences.Theme != nullptr) {
        mControls.AdvPreferences.Theme->SelectItem(gToolbarState.mThemeMgr.GetCurrentTheme());
      }
      if (mControls.AdvPreferences.DeleteTheme != nullptr) {
        mControls.AdvPreferences.DeleteTheme->Enable(false);
      }
      RememberTheme();
      break;
    case kKSMsg_ItemCheckChanged:
      SetItemEnabled(static_cast<cStandardListView*>(inParam1),
                     long(reinterpret_cast<intptr_t>(inParam2)));
      break;
    case kKSMsg_AllChecksChanged:
      SetAllItemsEnabled(static_cast<cStandardListView*>(inParam1), inParam2 != nullptr);
      break;
    case kKSMsg_SessionFailed:
    case kKSMsg_SessionRefused: {
      // The link is tried again and again: one box tells of all the
      // failures until the engine answers.
      if (mLinkFailureTold.exchange(true)) {
        break;
      }
      const UtilStr* name = static_cast<const UtilStr*>(inParam1);
      auto text = std::make_unique<UtilStr>();
      text->AppendVA(inMsg == kKSMsg_SessionFailed ? kMsgConnectFailed : kMsgConnectRefused,
                     name != nullptr ? name->getCStr() : "", kMsgFirewall);
      QueueKSEvent(inMsg, std::move(text));
      break;
    }
    default:
      break;
  }
}

void cAppWin::OnServicesChanged() {
  onPeerListChange();
  if (gToolbarState.mPrefs.GetInt(kPref_AutoCloseToolbar) != 0 && mSession.GetNumServices() == 0) {
    Close();
  }
}

void cAppWin::onPeerListChange() {
  long index = -1;
  bool reload = false;
  cStandardComboBox* peer = mControls.AdvPreferences.Peer;
  if (peer != nullptr) {
    peer->Clear();
    long count = mSession.GetNumServices();
    if (count == 0) {
      peer->Enable(false);
      peer->SelectItem(peer->AddItem(kMsgNoInstances));
      mSession.SetCurService("");
    } else {
      peer->Enable(true);
      UtilStr current(mSession.GetCurServiceName());
      UtilStr name;
      for (long i = 1; i <= count; i++) {
        if (mSession.GetServiceName(i, &name)) {
          long added = peer->AddItem(name.getCStr());
          if (index < 0 && name == current) {
            index = added;
          }
        }
      }
      if (index < 0) {
        // The chosen instance is gone: take the first one.
        if (mSession.GetServiceName(1, &name)) {
          mSession.SetCurService(name.getCStr());
        }
        index = 0;
        reload = true;
        StartOver();
      }
      peer->SelectItem(index);
    }
  }
  ToolbarEnabledState desired = index >= 0 ? kConnected : kDisconnected;
  if (desired != mEnabledState || reload) {
    RefreshState(desired);
  }
}

bool cAppWin::PumpEngineEvents() {
  KeepInStep();
  // A wake-up posted from now on is a new one: clear the mark before taking
  // what is queued, so nothing queued meanwhile waits for the timer.
  mSession.WakeHandled();
  // An engine that floods the link is heard a slice at a time, so that the
  // window answers its other messages in between.
  bool leftWaiting = mSession.DispatchIncoming(kEngineSliceMS);
  RefreshNewSession();

  // Most ticks find nothing: the count spares them the lock. Messages are
  // shown one at a time, in turn.
  while (!mShowingMessage && mKSEventCount.load() > 0) {
    long id = 0;
    KSObject* obj = nullptr;
    {
      KSMutexHold hold(mKSEventQueueMutex);
      if (!mKSEventQueue.GetNextEvent(&id, nullptr, nullptr, &obj, nullptr)) {
        break;
      }
      mKSEventCount--;
    }
    std::unique_ptr<UtilStr> text(static_cast<UtilStr*>(obj));
    const char* title = nullptr;
    if (id == kNotifyUserMessage) {
      title = kMsgTitleEngine;
    } else if (id == kKSMsg_SessionFailed || id == kKSMsg_SessionRefused) {
      title = kMsgTitleToolbar;
    }
    if (title != nullptr && text != nullptr) {
      mShowingMessage = true;
      KSWindUtils::ShowMsg(Wind(), text->getCStr(), title);
      mShowingMessage = false;
    }
  }
  return leftWaiting;
}

void cAppWin::QueueKSEvent(long inID, std::unique_ptr<UtilStr> inText) {
  KSMutexHold hold(mKSEventQueueMutex);
  mKSEventQueue.PostEvent(inID, 0, 0, inText.release(), nullptr);
  mKSEventCount++;
}

void cAppWin::WakeOnEngineEvents(UINT_PTR inTimerID) {
  // A posted timer message runs the very drain the timer runs.
  mSession.SetWakeMessage(inTimerID != 0 ? Wind() : nullptr, WM_TIMER, inTimerID);
}
