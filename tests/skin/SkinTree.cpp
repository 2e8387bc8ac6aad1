#include "skin/SkinTree.h"

#include <cstdlib>
#include <cstring>

#include "foundation/KSError.h"
#include "skin/UIFunctions.h"
#include "skin/cSkin.h"

long SkinTree::MakePage(long inPageID, long inParentID, const ToolPageInfo& inPageInfo,
                        const ControlInfo& inInfo) {
  if (Fails()) {
    return kKSErr_AllocFailed;
  }
  if (inPageID != long(mPages.size()) || (inParentID == kNoSkinPage) != (inPageID == 0)) {
    std::abort();
  }
  mPages.push_back(new SkinTreePage{inPageID, inPageInfo, inInfo, "", {}});
  return 0;
}

long SkinTree::CreateControl(long inPageID, const ControlInfo& inInfo) {
  if (Fails()) {
    return kKSErr_AllocFailed;
  }
  mPages.at(inPageID)->mItems.push_back(SkinTreePage::Item{inInfo, nullptr});
  return 0;
}

long SkinTree::AddControl(long inPageID, long inChildID) {
  if (Fails()) {
    return kKSErr_AllocFailed;
  }
  SkinTreePage* child = mPages.at(inChildID);
  mPages.at(inPageID)->mItems.push_back(SkinTreePage::Item{child->mInfo, nullptr});
  mPages[inPageID]->mItems.back().mPage.reset(child);
  return 0;
}

void SkinTree::FinishPage(long inPageID, const ToolPageInfo& inPageInfo, const ControlInfo& inInfo,
                          const char* inName) {
  SkinTreePage* page = mPages.at(inPageID);
  page->mPageInfo = inPageInfo;
  page->mInfo = inInfo;
  page->mName = inName;
}

void SkinTree::DiscardPage(long inPageID) {
  delete mPages.at(inPageID);
  mPages[inPageID] = nullptr;
}

std::unique_ptr<SkinTreePage> SkinTree::TakeOutermost() {
  return std::unique_ptr<SkinTreePage>(mPages.empty() ? nullptr : mPages[0]);
}

bool SkinTree::Fails() {
  return ++mCalls == mFailAt;
}

namespace {

std::string Quoted(const char* inText) {
  std::string text = "\"";
  for (; *inText != 0; ++inText) {
    text += *inText == '\n' ? "\\n" : *inText == '\r' ? "\\r" : std::string(1, *inText);
  }
  return text + "\"";
}

std::string Color(const KSRGBA& inColor) {
  return std::to_string(inColor.mR) + "," + std::to_string(inColor.mG) + "," +
         std::to_string(inColor.mB) + "," + std::to_string(inColor.mA);
}

// One value for both modes, else retracted/extended.
std::string Modes(long inRetracted, long inExtended) {
  std::string text = std::to_string(inRetracted);
  return inRetracted == inExtended ? text : text + "/" + std::to_string(inExtended);
}

std::string TypeText(const ControlInfo& inInfo) {
  const auto type = inInfo.Type;
  const char* text = type == kControlTypeButton     ? inInfo.u.Button.Text
                     : type == kControlTypeCheckBox ? inInfo.u.CheckBox.Text
                     : type == kControlTypeLabel    ? inInfo.u.Label.Text
                     : type == kControlTypeEdit     ? inInfo.u.Edit.Text
                                                    : nullptr;
  return text != nullptr ? Quoted(text) : "";
}

std::string Is(const ControlInfo& inInfo, eControlType inType, const std::string& inText) {
  return inInfo.Type == inType ? inText : "";
}

// A combo box's list: its scroll bar's three pictures and colour, and its height.
std::string ComboList(const ControlInfo& inInfo) {
  const ScrollBarInfo& scroll = inInfo.u.ComboBox.ListBox.ScrollBar;
  return Quoted(scroll.ScrollUp) + "," + Quoted(scroll.ScrollDown) + "," +
         Quoted(scroll.ScrollThumb) + "," + Color(scroll.ScrollColor) + "," +
         std::to_string(inInfo.u.ComboBox.ListBoxHeight);
}

// A list view's columns: count, widths, headers and first text column.
std::string ListColumns(const ControlInfo& inInfo) {
  const ListViewInfo& list = inInfo.u.ListView;
  std::string text = std::to_string(list.NumColumns) + " [";
  for (uint32 column = 0; column < list.NumColumns && column < kSkinMaxColumns; ++column) {
    text += (column > 0 ? ", " : "") + std::to_string(list.ColumnWidths[column]) + " " +
            Quoted(list.ColumnHeaders[column]);
  }
  return text + "] first " + std::to_string(list.FirstTextColumn);
}

// Every field of a description as text: "" where the type has no such field.
using Info = const ControlInfo&;
const struct Field {
  const char* mName;
  std::string (*mText)(Info);
} kFields[] = {
    {"x", [](Info i) { return Modes(i.Modes[0].x, i.Modes[1].x); }},
    {"y", [](Info i) { return Modes(i.Modes[0].y, i.Modes[1].y); }},
    {"Width", [](Info i) { return Modes(i.Modes[0].Width, i.Modes[1].Width); }},
    {"Height", [](Info i) { return Modes(i.Modes[0].Height, i.Modes[1].Height); }},
    {"Visible", [](Info i) { return Modes(i.Modes[0].Visible, i.Modes[1].Visible); }},
    {"Function",
     [](Info i) {
       return i.Function <= kUILastSkinFunction ? sFunctionMap[i.Function].Name
                                                : std::to_string(i.Function);
     }},
    {"Styles", [](Info i) { return std::to_string(i.Styles); }},
    {"Flags", [](Info i) { return std::to_string(i.Flags); }},
    {"Image", [](Info i) { return Quoted(i.Graphic); }},
    {"GraphicXY", [](Info i) { return Modes(i.GraphicX, i.GraphicY); }},
    {"TransparentColor", [](Info i) { return Color(i.TransparentColor); }},
    {"TextColor", [](Info i) { return Color(i.Text.TextColor); }},
    {"BackgroundColor", [](Info i) { return Color(i.Text.BackgroundColor); }},
    {"BorderColor", [](Info i) { return Color(i.Text.BorderColor); }},
    {"BorderSize", [](Info i) { return std::to_string(i.Text.BorderSize); }},
    {"FontName", [](Info i) { return Quoted(i.Text.FontName); }},
    {"FontSize", [](Info i) { return std::to_string(i.Text.FontSize); }},
    {"TextFormat", [](Info i) { return std::to_string(i.Text.Format); }},
    {"Tip", [](Info i) { return Quoted(i.ToolTip); }},
    {"Text", TypeText},
    {"Range",
     [](Info i) {
       std::string range = Modes(i.u.Slider.MinPos, i.u.Slider.MaxPos);
       return Is(i, kControlTypeSlider, range);
     }},
    {"Type", [](Info i) { return Is(i, kControlTypeGraphic, std::to_string(i.u.Graphic.Type)); }},
    {"List", [](Info i) { return Is(i, kControlTypeComboBox, ComboList(i)); }},
    {"Columns", [](Info i) { return Is(i, kControlTypeListView, ListColumns(i)); }},
};

// The fields that differ from the built-in defaults of the type.
std::string DumpInfo(const ControlInfo& inInfo) {
  ControlInfo def;
  cSkin::InitControlInfo(&def, eControlType(inInfo.Type), nullptr, KSRGBA{0, 0, 0, 0});
  std::string line;
  for (const Field& field : kFields) {
    std::string value = field.mText(inInfo);
    if (value != field.mText(def)) {
      line += std::string(" ") + field.mName + "=" + value;
    }
  }
  return line;
}

void DumpPage(const SkinTreePage& inPage, int inDepth, std::string* outText) {
  static const char* const kTypeNames[] = {
      "Null",   "Page",  "ToolTip", "Button", "CheckBox",  "ComboBox", "ListBox",
      "Slider", "Label", "Edit",    "Link",   "ScrollBar", "ListView", "Graphic"};
  std::string indent(2 * inDepth, ' ');
  *outText += indent + "Page" + std::to_string(inPage.mID);
  if (!inPage.mName.empty()) {
    *outText += " " + Quoted(inPage.mName.c_str());
  }
  if (inPage.mPageInfo.DefMode != kModeExtended) {
    *outText += " DefMode=" + std::to_string(inPage.mPageInfo.DefMode);
  }
  if (!inPage.mPageInfo.Visible[0] || !inPage.mPageInfo.Visible[1]) {
    *outText += " PageVisible=" + std::to_string(inPage.mPageInfo.Visible[0]) + "," +
                std::to_string(inPage.mPageInfo.Visible[1]);
  }
  *outText += ":" + DumpInfo(inPage.mInfo) + "\n";
  for (const SkinTreePage::Item& item : inPage.mItems) {
    if (item.mPage != nullptr) {
      DumpPage(*item.mPage, inDepth + 1, outText);
    } else {
      *outText +=
          indent + "  " + kTypeNames[item.mInfo.Type % 14] + ":" + DumpInfo(item.mInfo) + "\n";
    }
  }
}

}  // namespace

std::string DumpSkinTree(const SkinTreePage* inPage) {
  std::string text;
  if (inPage != nullptr) {
    DumpPage(*inPage, 0, &text);
  }
  return text;
}
