// cAppWin: what each UI function does. The script a function sends the
// engine comes from the dispatch table (UIDispatchScripts), which corvexa-ctl
// uses too; the window adds what only it does: reading the value from its
// controls, storing preferences, moving other controls, reloading lists.
#include <windows.h>

#include <cstdint>

#include "platform/BaseUtils.h"
#include "platform/KSWindUtils.h"
#include "platform/windowproc.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardListView.h"
#include "skin/cToolPage.h"
#include "toolbar/KSUtils.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"
#include "toolbar/UIDispatchScripts.h"
#include "toolbar/cAppWin.h"

namespace {

// The product's download page, the same site as the factory skins' web link
// (a reserved name until the deployment sets the real one); the toolbar adds
// which player asks.
const char kDownloadPageURL[] = "https://www.corvexa.example/download";
const char kDownloadPageQuery[] = "?player=TOOLBAR_WIN";

// At most this many selected list items are started or stopped at once.
constexpr long kMaxSelectedItems = 20;

constexpr long kSkinNameMax = 260;
constexpr long kFolderPathMax = 1024;

const char kMsgWebLinkError[] =
    "Error opening %s. Your computer may not be configured to open web pages.";
const char kMsgUpdateLinkError[] =
    "Error opening %s.  Windows is not configured to open web pages.";
const char kMsgDeckError[] =
    "The Corvexa Deck could not be started, probably because the Corvexa Deck application has "
    "been moved or deleted.  Try reinstalling Corvexa in order to fix the problem. ";
const char kMsgDeckErrorTitle[] = "Corvexa Deck Error";
const char kBrowseFolderTitle[] = "Select additional image and video directory:";

// The window of the check box, button or list a function came from.
bool SenderBool(cWindow* inSender) {
  return inSender != nullptr && inSender->BoolProp();
}
long SenderInt(cWindow* inSender) {
  return inSender != nullptr ? inSender->IntProp() : 0;
}

// The selected item's text of a combo box, at most inMax characters; false
// without a combo box or a selection.
bool SelectedText(cStandardComboBox* inBox, long inMax, UtilStr* outText) {
  if (inBox == nullptr || inBox->CurSelection() < 0) {
    return false;
  }
  std::string buffer(size_t(inMax) + 1, '\0');
  if (inBox->GetItem(inBox->CurSelection(), &buffer[0], inMax + 1) != 0) {
    return false;
  }
  outText->Assign(buffer.c_str());
  return true;
}

long SelectedIndex(cStandardComboBox* inBox) {
  return inBox != nullptr ? inBox->CurSelection() : -1;
}

// A frame-limit combo box as the dispatch table takes it.
long FrameLimitBoxIndex(cStandardComboBox* inBox) {
  return inBox != nullptr ? inBox->CurSelection() : kNoFrameLimitBox;
}

void OpenWebPage(HWND inWind, const char* inURL, const char* inShownURL, const char* inError) {
  long err = BaseGotoURL(inURL);
  if (err != 0) {
    UtilStr text;
    text.AppendVA(inError, inShownURL);
    BaseShowError(inWind, err, text.getCStr());
  }
}

}  // namespace

void cAppWin::SendUIScript(eUIFunction inFunction, const UIValue& inValue) {
  char cmd[kCommandBufferSize];
  if (BuildUIScript(inFunction, inValue, cmd) != nullptr) {
    SendCommand(cmd);
  }
}

void cAppWin::StoreAndSend(long inKey, long inStored, eUIFunction inFunction, cWindow* inSender) {
  gToolbarState.mPrefs.SetInt(inKey, inStored);
  UIValue value;
  value.mOn = SenderBool(inSender);
  value.mNumber = SenderInt(inSender);
  SendUIScript(inFunction, value);
}

void cAppWin::SendForSelectedItems(cStandardListView* inList, eUIFunction inFunction) {
  if (inList == nullptr) {
    return;
  }
  const CXTheme& theme = gToolbarState.mThemeMgr.CurTheme();
  char name[kListItemTextMax + 1];
  long acted = 0;
  for (long i = 0; i < inList->NumItems(); i++) {
    if (!inList->IsSelected(i)) {
      continue;
    }
    if (++acted > kMaxSelectedItems) {
      break;
    }
    name[0] = 0;
    inList->GetItem(i, name, sizeof(name));
    UIValue value;
    value.mText = name;
    value.mSpriteFlags =
        theme.GetAttrib(kCX_Sprite, name, -1, kConfigAttr_Flag, kSpriteFlagsWithoutTheme);
    SendUIScript(inFunction, value);
  }
}

void cAppWin::SendForCurrentItem(cStandardListView* inList, eUIFunction inFunction) {
  if (inList == nullptr || inList->CurSelection() == -1) {
    return;
  }
  char name[kListItemTextMax + 1] = "";
  inList->GetItem(inList->CurSelection(), name, sizeof(name));
  UIValue value;
  value.mText = name;
  SendUIScript(inFunction, value);
}

void cAppWin::SendToggle(cStandardCheckBox* inToggle, eUIFunction inFunction, cWindow* inSender) {
  UIValue value;
  value.mOn = SenderBool(inSender);
  SendUIScript(inFunction, value);
  if (inToggle != nullptr) {
    inToggle->BoolProp(value.mOn);
  }
}

void cAppWin::SendComboText(cStandardComboBox* inBox, long inMax, eUIFunction inFunction) {
  UtilStr text;
  if (SelectedText(inBox, inMax, &text)) {
    UIValue value;
    value.mText = text.getCStr();
    SendUIScript(inFunction, value);
  }
}

void cAppWin::SendComboIndex(cStandardComboBox* inBox, eUIFunction inFunction) {
  UIValue value;
  value.mNumber = SelectedIndex(inBox);
  if (value.mNumber >= 0) {
    SendUIScript(inFunction, value);
  }
}

void cAppWin::ReloadImageVideoList() {
  cStandardListView* list = mControls.AdvImageVideo.List;
  if (list != nullptr) {
    char cmd[kCommandBufferSize];
    list->Clear();
    SendQuery(CommandGetImageVideoList(cmd), list, kRequestGetContents, 0);
    SendQuery("", this, kRequestDontCare, kUIApplySpritesThemeToVis);
  }
  UpdateCommandStatus(kPref_ImageVideoFolder);
}

void cAppWin::UpdateAllCommandStatus() {
  UpdateCommandStatus(4);
  UpdateCommandStatus(5);
  UpdateCommandStatus(kPref_ImageVideoFolder);
  UpdateCommandStatus(kPref_Theme);
}

void cAppWin::DoNextConfg(CXConfigType inConfigType, long inDirection) {
  char cmd[kCommandBufferSize];
  switch (inConfigType) {
    case kCX_WaveShape:
      SendCommand(CommandNextWaveShape(inDirection, cmd));
      break;
    case kCX_ColorMap:
      SendCommand(CommandNextColorMap(inDirection, cmd));
      break;
    case kCX_FlowField:
      SendCommand(CommandNextFlowField(inDirection, cmd));
      break;
    default:
      break;
  }
}

void cAppWin::OnUIFunction(cWindow* inSender, eUIFunction inFunction, void* inParam) {
  AppControls& c = mControls;
  auto& prefs = c.AdvPreferences;
  Prefs& store = gToolbarState.mPrefs;
  eUIFunction function = eUIFunction(uint8(inFunction));
  switch (function) {
    case kUIMinimize:
      if (store.GetInt(kPref_ShowToolbarIn) == 1 || store.GetInt(kPref_ShowToolbarIn) == 2) {
        MinimizeOwner();
      } else {
        Show(false, false);
      }
      break;
    case kUIMaximize:
      Maximize();
      break;
    case kUIClose:
      Close();
      break;
    case kUIWebLink:
      if (inSender != nullptr) {
        UtilStr url = inSender->StringProp();
        if (!url.IsEmpty()) {
          OpenWebPage(Wind(), url.getCStr(), url.getCStr(), kMsgWebLinkError);
        }
      }
      break;

    case kUIStartRandomParticle:
    case kUIStartRandomImageVideo:
    case kUIAlbumInfo:
    case kUISnapshot:
    case kUIAdvParticlesStopAll:
    case kUIAdvImageVideoStopAll:
      SendUIScript(function, UIValue());
      break;

    case kUIWaveShapeToggle:
      SendToggle(c.Basic.WaveShapeToggle, function, inSender);
      break;
    case kUIColorMapToggle:
      SendToggle(c.Basic.ColorMapToggle, function, inSender);
      break;
    case kUIFlowFieldToggle:
      SendToggle(c.Basic.FlowFieldToggle, function, inSender);
      break;
    case kUIWaveShapeList:
      SendComboText(c.Basic.WaveShapeList, kComboItemTextMax, function);
      break;
    case kUIColorMapList:
      SendComboText(c.Basic.ColorMapList, kComboItemTextMax, function);
      break;
    case kUIFlowFieldList:
      SendComboText(c.Basic.FlowFieldList, kComboItemTextMax, function);
      break;
    case kUIWaveShapePrev:
    case kUIWaveShapeNext:
      DoNextConfg(kCX_WaveShape, function == kUIWaveShapePrev ? -1 : 1);
      break;
    case kUIColorMapPrev:
    case kUIColorMapNext:
      DoNextConfg(kCX_ColorMap, function == kUIColorMapPrev ? -1 : 1);
      break;
    case kUIFlowFieldPrev:
    case kUIFlowFieldNext:
      DoNextConfg(kCX_FlowField, function == kUIFlowFieldPrev ? -1 : 1);
      break;

    case kUIWaveShapeInterval:
      StoreAndSend(kPref_WaveShapeInterval, SenderInt(inSender), function, inSender);
      break;
    case kUIColorMapInterval:
      StoreAndSend(kPref_ColorMapInterval, SenderInt(inSender), function, inSender);
      break;
    case kUIFlowFieldInterval:
      StoreAndSend(kPref_FlowFieldInterval, SenderInt(inSender), function, inSender);
      break;
    case kUIFrameRate:
      StoreAndSend(kPref_FrameRate, SenderInt(inSender), function, inSender);
      break;
    case kUIResponseScale:
      StoreAndSend(kPref_ResponseScale, SenderInt(inSender), function, inSender);
      break;
    case kUIAdvParticlesAutoStart:
      StoreAndSend(kPref_ParticlesAutoStart, SenderBool(inSender), function, inSender);
      break;
    case kUIAdvParticlesInterval:
      StoreAndSend(kPref_ParticlesInterval, SenderInt(inSender), function, inSender);
      break;
    case kUIAdvParticlesDuration:
      StoreAndSend(kPref_ParticlesDuration, SenderInt(inSender), function, inSender);
      break;
    case kUIAdvImageVideoAutoStart:
      StoreAndSend(kPref_ImageVideoAutoStart, SenderBool(inSender), function, inSender);
      break;
    case kUIAdvImageVideoInterval:
      StoreAndSend(kPref_ImageVideoInterval, SenderInt(inSender), function, inSender);
      break;
    case kUIAdvImageVideoDuration:
      StoreAndSend(kPref_ImageVideoDuration, SenderInt(inSender), function, inSender);
      break;
    case kUIAdvPrefCheckForUpdates:
      StoreAndSend(kPref_UpdateCheckDays, SenderBool(inSender) ? kUpdateCheckDays : 0, function,
                   inSender);
      break;
    case kUIAdvPrefAutoOpenToolbar:
      StoreAndSend(kPref_AutoOpenToolbar, SenderBool(inSender), function, inSender);
      break;
    case kUIAdvPrefAutoCloseToolbar:
      store.SetInt(kPref_AutoCloseToolbar, SenderBool(inSender));
      break;
    case kUIAdvPrefStartToolbarMinimized:
      store.SetInt(kPref_StartMinimized, SenderBool(inSender));
      break;
    case kUIAdvPrefDeckAutoStart:
      store.SetInt(kPref_DeckAutoStart, SenderBool(inSender));
      break;

    case kUIDeckMode:
      if (KSUtils::Open(gToolbarState.mDeckApp) != 0) {
        KSWindUtils::ShowMsg(Wind(), kMsgDeckError, kMsgDeckErrorTitle);
      }
      break;
    case kUIFullScreen:
      BringHostPlayerForward();
      SendUIScript(function, UIValue());
      break;
    case kUIUpdateLink: {
      UtilStr url(kDownloadPageURL);
      url += kDownloadPageQuery;
      OpenWebPage(Wind(), url.getCStr(), kDownloadPageURL, kMsgUpdateLinkError);
      break;
    }
    case kUIUpdateClose:
      if (c.UpdateBar.Bar != nullptr) {
        c.UpdateBar.Bar->SetToolPageMode(kModeRetracted);
      }
      break;

    case kUIAdvParticles:
    case kUIAdvParticlesStart:
    case kUIAdvParticlesStop:
      SendForSelectedItems(c.AdvParticles.List, function);
      break;
    case kUIAdvImageVideo:
    case kUIAdvImageVideoStart:
    case kUIAdvImageVideoStop:
      SendForSelectedItems(c.AdvImageVideo.List, function);
      break;
    case kUIAdvImageVideoRescan:
      ApplyExternalSpriteDirToEngine(true);
      ReloadImageVideoList();
      break;
    case kUIAdvImageVideoBrowseAlternateSource: {
      UtilStr folder;
      if (const UtilStr* stored = store.GetStr(kPref_ImageVideoFolder)) {
        folder.Assign(stored->getCStr(), std::min<long>(stored->length(), kFolderPathMax));
      }
      if (BaseBrowseForFolder(Wind(), kBrowseFolderTitle, &folder)) {
        store.SetStr(kPref_ImageVideoFolder, folder.getCStr());
        ApplyExternalSpriteDirToEngine(true);
        ReloadImageVideoList();
      }
      break;
    }
    case kUIAdvImageVideoClearAlternateSource:
      store.SetStr(kPref_ImageVideoFolder, "");
      store.SetInt(kPref_ImageVideoSubfolders, 0);
      if (c.AdvImageVideo.IncludeSubfolders != nullptr) {
        c.AdvImageVideo.IncludeSubfolders->BoolProp(false);
      }
      ApplyExternalSpriteDirToEngine(true);
      ReloadImageVideoList();
      break;
    case kUIAdvImageVideoIncludeSubfolders:
      store.SetInt(kPref_ImageVideoSubfolders, SenderBool(inSender));
      ApplyExternalSpriteDirToEngine(true);
      ReloadImageVideoList();
      break;

    case kUIAdvWaveShapes:
    case kUIAdvWaveShapesStart:
      SendForCurrentItem(c.AdvWaveShapes.List, function);
      break;
    case kUIAdvColorMaps:
    case kUIAdvColorMapsStart:
      SendForCurrentItem(c.AdvColorMaps.List, function);
      break;
    case kUIAdvFlowFields:
    case kUIAdvFlowFieldsStart:
      SendForCurrentItem(c.AdvFlowFields.List, function);
      break;

    case kUIAdvPrefUseToolTips:
      store.SetInt(kPref_ToolTips, SenderBool(inSender));
      EnableToolTips(SenderBool(inSender));
      break;
    case kUIAdvPrefAlwaysOnTop:
      store.SetInt(kPref_AlwaysOnTop, SenderBool(inSender));
      AlwaysOnTop(SenderBool(inSender));
      break;
    case kUIAdvPrefShowToolbarIn: {
      long where = SelectedIndex(prefs.ShowToolbarIn);
      store.SetInt(kPref_ShowToolbarIn, where);
      EnableTaskBarButton(where == 1 || where == 2);
      if (where == 0 || where == 2) {
        BaseAddTrayIcon(1, Wind(), TrayTip());
      } else {
        BaseRemoveTrayIcon(1, Wind());
      }
      break;
    }

    case kUIAdvPrefFullScreenMode:
      SendComboText(prefs.FullScreenMode, kListItemTextMax, function);
      break;
    case kUIAdvPrefTrackTextFont:
      SendComboText(prefs.TrackTextFont, kListItemTextMax, function);
      break;
    case kUIAdvPrefAudioSource:
      SendComboIndex(prefs.AudioSource, function);
      break;
    case kUIAdvPrefTrackTextAppearance:
      SendComboIndex(prefs.TrackTextAppearance, function);
      break;
    case kUIAdvPrefTrackTextSize:
      SendComboIndex(prefs.TrackTextSize, function);
      break;
    case kUIAdvPrefLineBoost:
      SendComboIndex(prefs.LineBoost, function);
      break;
    case kUIAdvPrefTrackTextDuration:
      // Without a selection the shortest duration is sent.
      if (prefs.TrackTextDuration != nullptr) {
        UIValue value;
        value.mNumber = SelectedIndex(prefs.TrackTextDuration);
        SendUIScript(function, value);
      }
      break;
    case kUIAdvPrefFrameXLimit:
    case kUIAdvPrefFrameYLimit: {
      // Either box sends both limits; a missing box leaves its side open.
      bool isX = function == kUIAdvPrefFrameXLimit;
      UIValue value;
      value.mNumber = FrameLimitBoxIndex(isX ? prefs.FrameXLimit : prefs.FrameYLimit);
      value.mOtherFrameLimit = FrameLimitBoxIndex(isX ? prefs.FrameYLimit : prefs.FrameXLimit);
      SendUIScript(function, value);
      break;
    }
    case kUIAdvPrefAutoLineScale:
    case kUIAdvPrefAutoTrackInfo:
    case kUIAdvPrefFlowFieldSmoothSwitch:
    case kUIAdvPrefAllowRemoteControl:
    case kUIAdvPrefFlowFieldUnions:
    case kUIAdvPrefFlowFieldTransitions: {
      UIValue value;
      value.mOn = SenderBool(inSender);
      SendUIScript(function, value);
      break;
    }

    case kUIAdvPrefSkin: {
      UtilStr name;
      const UtilStr* current = store.GetStr(kPref_Skin);
      if (SelectedText(prefs.Skin, kSkinNameMax, &name) &&
          (current == nullptr || !name.Equals(*current, false))) {
        store.SetStr(kPref_Skin, name.getCStr());
        ::PostMessageW(Wind(), kToolbarUserMsg, WPARAM(kUserMsgReloadSkin), 0);
      }
      break;
    }
    case kUIAdvPrefTheme:
      ChooseTheme();
      break;
    case kUIAdvPrefSaveThemeAs:
      DoSaveThemeAs();
      break;
    case kUIAdvPrefDeleteTheme:
      DoDeleteTheme();
      break;
    case kUIAdvPrefPeer:
      ChoosePeer();
      break;
    case kUIAdvPrefPeerRefresh:
      RefreshPeers();
      break;
    case kUIUpdateCommandStatus:
      UpdateCommandStatus(long(reinterpret_cast<intptr_t>(inParam)));
      break;
    default:
      break;
  }
}
