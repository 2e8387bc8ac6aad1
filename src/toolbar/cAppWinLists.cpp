// cAppWin: the engine's item lists and the current theme. The theme decides
// which wave shapes, color maps, flow fields, particles and sprites the
// engine may use; the check marks of the advanced lists show and change it.
// Also the enabled states of the commands that depend on selections, the
// extra image folder and the theme, and the theme commands.
#include <windows.h>

#include <array>
#include <string>

#include "platform/BaseUtils.h"
#include "platform/KSWindUtils.h"
#include "skin/cStandardButton.h"
#include "skin/cStandardCheckBox.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardEdit.h"
#include "skin/cStandardListView.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"
#include "toolbar/UICommands.h"
#include "toolbar/cAppWin.h"

namespace {

// Item names are read up to this length.
constexpr long kItemNameMax = 256;

// The switched-off items of one list go to the engine in texts of about this
// size: a text is sent once it is longer than kItemBatchLimit.
constexpr size_t kItemBatchLimit = 20000;
constexpr size_t kItemBatchRoom = 30000;

constexpr long kThemeNameMax = 260;

const char kMsgRemoteFolder[] = "(Not available in remote mode)";
const char kMsgNoFolder[] = "(No folder specified)";
// The query dialog's title asks the question; the line inside names it.
const char kThemeSaveTitle[] = "Save current theme as:";
const char kThemeSavePrompt[] = "Save Corvexa Theme";
const char kThemeDeleteQuestion[] = "Are you sure that you want to delete the theme \"%s\"?";
const char kThemeDeleteTitle[] = "Delete Theme";

// The engine's item mask of a list's configuration type; 0 for a list that
// is not bound to one of the seven kinds.
long ItemMask(const cStandardListView* inList) {
  CXConfigType type = inList != nullptr ? inList->ConfigType() : kCX_InvalidConfigType;
  return type >= 0 && type < kCX_ConfigTypeCount ? 1L << type : 0;
}

// A section's "Select all" box and the list it works on.
struct SelectAll {
  eUIFunction mFunction;
  cStandardCheckBox* mBox;
  cStandardListView* mList;
};

std::array<SelectAll, 5> SelectAllsOf(const AppControls& inControls) {
  const AppControls& c = inControls;
  return {{{kUIAdvParticlesSelectAll, c.AdvParticles.SelectAll, c.AdvParticles.List},
           {kUIAdvImageVideoSelectAll, c.AdvImageVideo.SelectAll, c.AdvImageVideo.List},
           {kUIAdvWaveShapesSelectAll, c.AdvWaveShapes.SelectAll, c.AdvWaveShapes.List},
           {kUIAdvColorMapsSelectAll, c.AdvColorMaps.SelectAll, c.AdvColorMaps.List},
           {kUIAdvFlowFieldsSelectAll, c.AdvFlowFields.SelectAll, c.AdvFlowFields.List}}};
}

void EnableIf(cBaseWindow* inWindow, bool inEnable) {
  if (inWindow != nullptr) {
    inWindow->Enable(inEnable);
  }
}

}  // namespace

void cAppWin::ApplyListItemsToEngine(cStandardListView* inList, bool inUpdateListItemCheckMark) {
  long mask = ItemMask(inList);
  if (mask == 0) {
    return;
  }
  char cmd[kCommandBufferSize];
  SendCommand(CommandSetAllEnabled(mask, true, cmd));

  // Every item starts enabled; the theme's switched-off ones follow in
  // batches, the last (possibly empty) one closing the list.
  const CXTheme& theme = gToolbarState.mThemeMgr.CurTheme();
  std::string prefix = "SetItemEnabled(" + std::to_string(mask) + ",\"";
  const char suffix[] = "\",0);";
  std::string batch;
  batch.reserve(kItemBatchRoom);
  char name[kItemNameMax + 1];
  long count = inList->NumItems();
  for (long i = 0; i < count; i++) {
    name[0] = 0;
    inList->GetItem(i, name, sizeof(name));
    bool on = theme.GetAttrib(inList->ConfigType(), name, -1, kConfigAttr_On, 1) != 0;
    if (inUpdateListItemCheckMark && inList->IsChecked(i) != on) {
      inList->CheckItem(i, on);
    }
    if (!on) {
      batch += prefix;
      batch += ScriptName(name).Text();
      batch += suffix;
    }
    if (batch.size() > kItemBatchLimit || i == count - 1) {
      mSession.SendCmd(batch.c_str(), long(batch.size()), kCommandFlags, 0, kRequestDontCare, 0,
                       nullptr);
      batch.clear();
    }
  }
  ShowAllChecked(inList);
}

void cAppWin::SetItemEnabled(cStandardListView* inList, long inIndex) {
  long mask = ItemMask(inList);
  if (mask == 0) {
    return;
  }
  char name[kItemNameMax + 1] = "";
  inList->GetItem(inIndex, name, sizeof(name));
  bool on = inList->IsChecked(inIndex);
  char cmd[kCommandBufferSize];
  SendCommand(CommandSetItemEnabled(mask, name, on, cmd));
  gToolbarState.mThemeMgr.SetAttrib(inList->ConfigType(), name, -1, kConfigAttr_On, on);
  ShowAllChecked(inList);
}

void cAppWin::SetAllItemsEnabled(cStandardListView* inList, bool inChecked) {
  long mask = ItemMask(inList);
  if (mask == 0) {
    return;
  }
  char cmd[kCommandBufferSize];
  SendCommand(CommandSetAllEnabled(mask, inChecked, cmd));
  char name[kItemNameMax + 1];
  for (long i = 0; i < inList->NumItems(); i++) {
    name[0] = 0;
    inList->GetItem(i, name, sizeof(name));
    gToolbarState.mThemeMgr.SetAttrib(inList->ConfigType(), name, -1, kConfigAttr_On, inChecked);
  }
  ShowAllChecked(inList);
}

// Through the list's own toggle-all (AllC), so that the engine and the
// theme follow as they do for a click on the list's header.
void cAppWin::SelectAllRows(eUIFunction inFunction, bool inChecked) {
  for (const SelectAll& section : SelectAllsOf(mControls)) {
    if (section.mFunction == inFunction && section.mList != nullptr) {
      section.mList->SetAllChecked(inChecked);
    }
  }
}

void cAppWin::ShowAllChecked(cStandardListView* inList) {
  for (const SelectAll& section : SelectAllsOf(mControls)) {
    if (section.mList == inList && inList != nullptr && section.mBox != nullptr) {
      section.mBox->BoolProp(inList->AllChecked());
    }
  }
}

void cAppWin::ApplyExternalSpriteDirToEngine(bool inDoRescan) {
  char cmd[kCommandBufferSize];
  if (inDoRescan) {
    SendCommand(CommandRescanImageVideo(cmd));
  }
  const UtilStr* folder = gToolbarState.mPrefs.GetStr(kPref_ImageVideoFolder);
  if (folder != nullptr && !folder->IsEmpty()) {
    UtilStr escaped;
    escaped.AppendCStrEncoding(folder->getCStr(), folder->length(), kCStrEscapeQuotes);
    bool subfolders = gToolbarState.mPrefs.GetInt(kPref_ImageVideoSubfolders) != 0;
    SendCommand(CommandRegisterExternalImageVideo(escaped.getCStr(), subfolders, cmd));
  }
}

bool cAppWin::UpdateCommandStatus(long inCommandID) {
  AppControls& c = mControls;
  // A list's rows changed (the command is its configuration type).
  for (const SelectAll& section : SelectAllsOf(c)) {
    if (section.mList != nullptr && section.mList->ConfigType() == inCommandID) {
      ShowAllChecked(section.mList);
    }
  }
  switch (inCommandID) {
    // Start and Stop act on the selection, and only while the engine is there.
    case 4:
      if (c.AdvParticles.List != nullptr) {
        bool any = mLinkShownUp && c.AdvParticles.List->NumSelected() > 0;
        EnableIf(c.AdvParticles.Start, any);
        EnableIf(c.AdvParticles.Stop, any);
      }
      return true;
    case 5:
      if (c.AdvImageVideo.List != nullptr) {
        bool any = mLinkShownUp && c.AdvImageVideo.List->NumSelected() > 0;
        EnableIf(c.AdvImageVideo.Start, any);
        EnableIf(c.AdvImageVideo.Stop, any);
      }
      return true;
    case kPref_ImageVideoFolder: {
      // The extra folder is on this machine: a remote engine cannot use it.
      bool remote = mSession.GetSessionStatus() != ks_NotConnected && !mSession.ServiceIsLocal();
      const UtilStr* stored = gToolbarState.mPrefs.GetStr(kPref_ImageVideoFolder);
      bool hasFolder = !remote && stored != nullptr && !stored->IsEmpty();
      if (cStandardEdit* edit = c.AdvImageVideo.AlternateSource) {
        edit->SetText(hasFolder ? stored->getCStr() : remote ? kMsgRemoteFolder : kMsgNoFolder);
        edit->SetReadOnly(true);
        edit->Enable(hasFolder);
      }
      EnableIf(c.AdvImageVideo.BrowseAlternateSource, !remote);
      EnableIf(c.AdvImageVideo.IncludeSubfolders, !remote && hasFolder);
      EnableIf(c.AdvImageVideo.ClearAlternateSource, !remote && hasFolder);
      return true;
    }
    case kPref_Theme: {
      ThemeMgr& themes = gToolbarState.mThemeMgr;
      EnableIf(c.AdvPreferences.DeleteTheme, themes.ThemeIsDeletable(themes.GetCurrentTheme()));
      return true;
    }
    default:
      return false;
  }
}

void cAppWin::RefillThemeList() {
  cStandardComboBox* box = mControls.AdvPreferences.Theme;
  if (box == nullptr) {
    return;
  }
  ThemeMgr& themes = gToolbarState.mThemeMgr;
  box->Clear();
  UtilStr name;
  for (int i = 0; i < themes.CountThemes(); i++) {
    if (themes.GetLogicalThemeName(i, &name)) {
      box->AddItem(name.getCStr());
    }
  }
  box->SelectItem(themes.GetCurrentTheme());
}

void cAppWin::DoSaveThemeAs() {
  ThemeMgr& themes = gToolbarState.mThemeMgr;
  char name[kThemeNameMax] = "";
  if (const UtilStr* current = themes.CurTheme().ThemeAttribs().GetStr(kThemeAttr_LogicalName)) {
    current->CopyTo(name, sizeof(name) - 1);
  }
  // Asks again, with the last entry, until the name is taken or the user
  // cancels.
  while (BaseQueryInput(Wind(), kThemeSaveTitle, kThemeSavePrompt, name, sizeof(name))) {
    if (themes.SaveThemeAs(Wind(), name)) {
      RememberTheme();
      RefillThemeList();
      UpdateAllCommandStatus();
      return;
    }
  }
}

void cAppWin::DoDeleteTheme() {
  ThemeMgr& themes = gToolbarState.mThemeMgr;
  int current = themes.GetCurrentTheme();
  UtilStr name;
  if (!themes.ThemeIsDeletable(current) || !themes.GetLogicalThemeName(current, &name)) {
    return;
  }
  UtilStr question;
  question.AppendVA(kThemeDeleteQuestion, name.getCStr());
  if (!KSWindUtils::AreYouSure(Wind(), question.getCStr(), kThemeDeleteTitle)) {
    return;
  }
  themes.DeleteTheme(current);
  RememberTheme();
  RefillThemeList();
  ApplyThemeToLists(true);
  UpdateAllCommandStatus();
}
