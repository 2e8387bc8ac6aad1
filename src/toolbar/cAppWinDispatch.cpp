// cAppWin: what each UI function does. A function of the dispatch table
// (UIDispatchScripts), which corvexa-ctl uses too, runs from its row: the
// window reads the value where the row says, keeps it in the row's
// preference and sends the row's script. The functions the table lists as
// the window's own (IsWindowFunction) go to DoWindowFunction instead, which
// runs their rows itself where they have one: its frame, web pages and the
// Deck, the image/video folder, the pair of frame-limit boxes, skins, themes
// and engine instances, and what some rows are followed by.
#include <windows.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <string>

#include "platform/BaseUtils.h"
#include "platform/KSWindUtils.h"
#include "platform/windowproc.h"
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

// The value of the check box or slider a function came from.
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

// A skin's web link carries its address as its text.
void OpenWebLink(HWND inWind, cWindow* inSender) {
  UtilStr url = inSender != nullptr ? inSender->StringProp() : UtilStr();
  if (!url.IsEmpty()) {
    OpenWebPage(inWind, url.getCStr(), url.getCStr(), kMsgWebLinkError);
  }
}

void OpenDownloadPage(HWND inWind) {
  UtilStr url(kDownloadPageURL);
  url += kDownloadPageQuery;
  OpenWebPage(inWind, url.getCStr(), kDownloadPageURL, kMsgUpdateLinkError);
}

// A row's value as the check box or slider that reported it has it.
UIValue SenderValue(const UIScriptEntry& inEntry, cWindow* inSender) {
  UIValue value;
  value.mOn = inEntry.mValueKind == kUIValueOnOff && SenderBool(inSender);
  value.mNumber = inEntry.mValueKind == kUIValuePercent ? SenderInt(inSender) : 0;
  return value;
}

void KeepValue(const UIScriptEntry& inEntry, const UIValue& inValue) {
  if (inEntry.mPrefKey != 0) {
    gToolbarState.mPrefs.SetInt(inEntry.mPrefKey, StoredUIValue(inEntry, inValue));
  }
}

void StartDeck(HWND inWind) {
  if (KSUtils::Open(gToolbarState.mDeckApp) != 0) {
    KSWindUtils::ShowMsg(inWind, kMsgDeckError, kMsgDeckErrorTitle);
  }
}

}  // namespace

void cAppWin::OnUIFunction(cWindow* inSender, eUIFunction inFunction, void* inParam) {
  eUIFunction function = eUIFunction(uint8(inFunction));
  if (IsWindowFunction(function)) {
    DoWindowFunction(inSender, function, inParam);
  } else if (const UIScriptEntry* entry = FindUIEntry(function)) {
    DoTableFunction(*entry, inSender);
  }
}

void cAppWin::DoWindowFunction(cWindow* inSender, eUIFunction inFunction, void* inParam) {
  switch (inFunction) {
    case kUIMinimize:
      MinimizeToolbar();
      break;
    case kUIMaximize:
      Maximize();
      break;
    case kUIClose:
      Close();
      break;
    case kUIWebLink:
      OpenWebLink(Wind(), inSender);
      break;
    case kUIDeckMode:
      StartDeck(Wind());
      break;
    case kUIFullScreen:
      BringHostPlayerForward();
      DoTableFunction(*FindUIEntry(inFunction), inSender);
      break;
    case kUIUpdateLink:
      OpenDownloadPage(Wind());
      break;
    case kUIUpdateClose:
      if (mControls.UpdateBar.Bar != nullptr) {
        mControls.UpdateBar.Bar->SetToolPageMode(kModeRetracted);
      }
      break;
    case kUIWaveShapeToggle:
    case kUIColorMapToggle:
    case kUIFlowFieldToggle:
      DoTableFunction(*FindUIEntry(inFunction), inSender);
      ShowOnBoundToggle(inFunction, inSender);
      break;
    case kUIAdvPrefUseToolTips:
      DoTableFunction(*FindUIEntry(inFunction), inSender);
      EnableToolTips(SenderBool(inSender));
      break;
    case kUIAdvPrefAlwaysOnTop:
      DoTableFunction(*FindUIEntry(inFunction), inSender);
      AlwaysOnTop(SenderBool(inSender));
      break;
    case kUIAdvPrefFrameXLimit:
    case kUIAdvPrefFrameYLimit:
      SendFrameSizeLimits(inFunction);
      break;
    default:
      DoPanelFunction(inSender, inFunction, inParam);
      break;
  }
}

void cAppWin::DoPanelFunction(cWindow* inSender, eUIFunction inFunction, void* inParam) {
  switch (inFunction) {
    case kUIAdvImageVideoRescan:
      RescanImageVideo();
      break;
    case kUIAdvImageVideoBrowseAlternateSource:
      BrowseImageVideoFolder();
      break;
    case kUIAdvImageVideoClearAlternateSource:
      ClearImageVideoFolder();
      break;
    case kUIAdvImageVideoIncludeSubfolders: {
      const UIScriptEntry& entry = *FindUIEntry(inFunction);
      KeepValue(entry, SenderValue(entry, inSender));
      RescanImageVideo();
      break;
    }
    case kUIAdvParticlesSelectAll:
    case kUIAdvImageVideoSelectAll:
    case kUIAdvWaveShapesSelectAll:
    case kUIAdvColorMapsSelectAll:
    case kUIAdvFlowFieldsSelectAll:
      SelectAllRows(inFunction, SenderBool(inSender));
      break;
    case kUIAdvPrefShowToolbarIn:
      ChooseShowToolbarIn();
      break;
    case kUIAdvPrefSkin:
      ChooseSkin();
      break;
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
      assert(!"IsWindowFunction lists a function without its case here");
      break;
  }
}

void cAppWin::DoTableFunction(const UIScriptEntry& inEntry, cWindow* inSender) {
  switch (inEntry.mSource.mFrom) {
    case kUIFromSender: {
      UIValue value = SenderValue(inEntry, inSender);
      KeepValue(inEntry, value);
      SendUIScript(inEntry, value);
      break;
    }
    case kUIFromBox:
    case kUIFromBoxIndex:
      SendBoxValue(inEntry);
      break;
    case kUIFromSelectedItems:
      SendForSelectedItems(inEntry);
      break;
    case kUIFromCurrentItem:
      SendForCurrentItem(inEntry);
      break;
  }
}

void cAppWin::SendUIScript(const UIScriptEntry& inEntry, const UIValue& inValue) {
  char cmd[kCommandBufferSize];
  if (inEntry.mBuild != nullptr) {
    SendCommand(inEntry.mBuild(inValue, cmd));
  }
}

void cAppWin::SendBoxValue(const UIScriptEntry& inEntry) {
  cStandardComboBox* box = BoundControl<cStandardComboBox>(inEntry.mSource.mControl);
  if (box == nullptr) {
    return;
  }
  UIValue value;
  UtilStr text;
  if (inEntry.mValueKind == kUIValueItemText) {
    if (!SelectedText(box, inEntry.mLimit, &text)) {
      return;
    }
    value.mText = text.getCStr();
  } else {
    value.mNumber = box->CurSelection();
    if (value.mNumber < 0 && inEntry.mSource.mFrom == kUIFromBox) {
      return;
    }
  }
  SendUIScript(inEntry, value);
}

void cAppWin::SendForSelectedItems(const UIScriptEntry& inEntry) {
  cStandardListView* list = BoundControl<cStandardListView>(inEntry.mSource.mControl);
  if (list == nullptr) {
    return;
  }
  const CXTheme& theme = gToolbarState.mThemeMgr.CurTheme();
  char name[kListItemTextMax + 1];
  long acted = 0;
  for (long i = 0; i < list->NumItems(); i++) {
    if (!list->IsSelected(i)) {
      continue;
    }
    if (++acted > kMaxSelectedItems) {
      break;
    }
    name[0] = 0;
    list->GetItem(i, name, sizeof(name));
    UIValue value;
    value.mText = name;
    value.mSpriteFlags =
        theme.GetAttrib(kCX_Sprite, name, -1, kConfigAttr_Flag, kSpriteFlagsWithoutTheme);
    SendUIScript(inEntry, value);
  }
}

void cAppWin::SendForCurrentItem(const UIScriptEntry& inEntry) {
  cStandardListView* list = BoundControl<cStandardListView>(inEntry.mSource.mControl);
  if (list == nullptr || list->CurSelection() == -1) {
    return;
  }
  char name[kListItemTextMax + 1] = "";
  list->GetItem(list->CurSelection(), name, sizeof(name));
  UIValue value;
  value.mText = name;
  SendUIScript(inEntry, value);
}

// Either box sends both limits; a missing box leaves its side open.
void cAppWin::SendFrameSizeLimits(eUIFunction inFunction) {
  const auto& prefs = mControls.AdvPreferences;
  bool isX = inFunction == kUIAdvPrefFrameXLimit;
  UIValue value;
  value.mNumber = FrameLimitBoxIndex(isX ? prefs.FrameXLimit : prefs.FrameYLimit);
  value.mOtherFrameLimit = FrameLimitBoxIndex(isX ? prefs.FrameYLimit : prefs.FrameXLimit);
  SendUIScript(*FindUIEntry(inFunction), value);
}

// A slide-show switch reported by another control than the bound toggle
// shows on the toggle too.
void cAppWin::ShowOnBoundToggle(eUIFunction inFunction, cWindow* inSender) {
  cStandardCheckBox* toggle = BoundControl<cStandardCheckBox>(inFunction);
  if (toggle != nullptr && toggle != inSender) {
    toggle->BoolProp(SenderBool(inSender));
  }
}

void cAppWin::RescanImageVideo() {
  ApplyExternalSpriteDirToEngine(true);
  ReloadImageVideoList();
}

// Nothing changes when the user cancels.
void cAppWin::BrowseImageVideoFolder() {
  Prefs& store = gToolbarState.mPrefs;
  UtilStr folder;
  if (const UtilStr* stored = store.GetStr(kPref_ImageVideoFolder)) {
    folder.Assign(stored->getCStr(), std::min<long>(stored->length(), kFolderPathMax));
  }
  if (BaseBrowseForFolder(Wind(), kBrowseFolderTitle, &folder)) {
    store.SetStr(kPref_ImageVideoFolder, folder.getCStr());
    RescanImageVideo();
  }
}

void cAppWin::ClearImageVideoFolder() {
  gToolbarState.mPrefs.SetStr(kPref_ImageVideoFolder, "");
  gToolbarState.mPrefs.SetInt(kPref_ImageVideoSubfolders, 0);
  if (mControls.AdvImageVideo.IncludeSubfolders != nullptr) {
    mControls.AdvImageVideo.IncludeSubfolders->BoolProp(false);
  }
  RescanImageVideo();
}

void cAppWin::ChooseShowToolbarIn() {
  cStandardComboBox* box = mControls.AdvPreferences.ShowToolbarIn;
  ShowToolbarIn(box != nullptr ? box->CurSelection() : -1);
}

// Choosing the current skin again (in any letter case) reloads nothing.
void cAppWin::ChooseSkin() {
  Prefs& store = gToolbarState.mPrefs;
  UtilStr name;
  const UtilStr* current = store.GetStr(kPref_Skin);
  if (SelectedText(mControls.AdvPreferences.Skin, kSkinNameMax, &name) &&
      (current == nullptr || !name.Equals(*current, false))) {
    store.SetStr(kPref_Skin, name.getCStr());
    ::PostMessageW(Wind(), kToolbarUserMsg, WPARAM(kUserMsgReloadSkin), 0);
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
  UpdateCommandStatus(kCX_Particle);
  UpdateCommandStatus(kCX_Sprite);
  UpdateCommandStatus(kPref_ImageVideoFolder);
  UpdateCommandStatus(kPref_Theme);
}
