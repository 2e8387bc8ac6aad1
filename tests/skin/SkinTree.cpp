#include "skin/SkinTree.h"

#include <cstring>

#include "foundation/KSError.h"
#include "skin/cSkin.h"
#include "toolbar/UIFunctions.h"

long SkinTree::MakePage(long inPageID, long inParentID, const ToolPageInfo& inPageInfo,
                        const ControlInfo& inInfo) {
  if (Fails()) {
    return kKSErr_AllocFailed;
  }
  if (inPageID != long(mPages.size()) || (inParentID == kNoSkinPage) != (inPageID == 0) ||
      (inParentID != kNoSkinPage && LivePage(inParentID, false, "MakePage") == nullptr)) {
    mFault += "MakePage out of order;";
  }
  auto page = std::make_unique<SkinTreePage>();
  page->mID = inPageID;
  page->mPageInfo = inPageInfo;
  page->mInfo = inInfo;
  mPages.resize(inPageID + 1, nullptr);
  mLoose.resize(inPageID + 1);
  mPages[inPageID] = page.get();
  mLoose[inPageID] = std::move(page);
  return 0;
}

long SkinTree::CreateControl(long inPageID, const ControlInfo& inInfo) {
  SkinTreePage* page = LivePage(inPageID, false, "CreateControl");
  if (Fails() || page == nullptr) {
    return kKSErr_AllocFailed;
  }
  page->mItems.push_back(SkinTreePage::Item{inInfo, nullptr});
  return 0;
}

long SkinTree::AddControl(long inPageID, long inChildID) {
  SkinTreePage* page = LivePage(inPageID, false, "AddControl");
  SkinTreePage* child = LivePage(inChildID, true, "AddControl");
  if (Fails() || page == nullptr || child == nullptr) {
    return kKSErr_AllocFailed;
  }
  if (mLoose[inChildID] == nullptr || inChildID == 0) {
    mFault += "AddControl of an owned page;";
    return kKSErr_BadState;
  }
  page->mItems.push_back(SkinTreePage::Item{child->mInfo, std::move(mLoose[inChildID])});
  return 0;
}

void SkinTree::FinishPage(long inPageID, const ToolPageInfo& inPageInfo, const ControlInfo& inInfo,
                          const char* inName) {
  SkinTreePage* page = LivePage(inPageID, false, "FinishPage");
  if (page != nullptr) {
    page->mPageInfo = inPageInfo;
    page->mInfo = inInfo;
    page->mName = inName;
    page->mFinished = true;
  }
}

void SkinTree::DiscardPage(long inPageID) {
  if (inPageID <= 0 || inPageID >= long(mLoose.size()) || mLoose[inPageID] == nullptr) {
    mFault += "DiscardPage of an owned page;";
    return;
  }
  mLoose[inPageID].reset();
  mPages[inPageID] = nullptr;
}

std::unique_ptr<SkinTreePage> SkinTree::TakeOutermost() {
  return mLoose.empty() ? nullptr : std::move(mLoose[0]);
}

std::string SkinTree::Fault() const {
  std::string fault = mFault;
  for (size_t id = 1; id < mLoose.size(); ++id) {
    if (mLoose[id] != nullptr) {
      fault += "page " + std::to_string(id) + " left without an owner;";
    }
  }
  return fault;
}

SkinTreePage* SkinTree::LivePage(long inPageID, bool inFinished, const char* inCall) {
  if (inPageID < 0 || inPageID >= long(mPages.size()) || mPages[inPageID] == nullptr ||
      mPages[inPageID]->mFinished != inFinished) {
    mFault += std::string(inCall) + " on page " + std::to_string(inPageID) + ";";
    return nullptr;
  }
  return mPages[inPageID];
}

bool SkinTree::Fails() {
  return ++mCalls == mFailAt;
}

namespace {

const char* TypeName(eControlType inType) {
  static const char* const kNames[] = {"Null",     "Page",      "ToolTip",  "Button", "CheckBox",
                                       "ComboBox", "ListBox",   "Slider",   "Label",  "Edit",
                                       "Link",     "ScrollBar", "ListView", "Graphic"};
  return inType <= kControlTypeGraphic ? kNames[inType] : "?";
}

std::string Color(const KSRGBA& inColor) {
  return std::to_string(inColor.mR) + "," + std::to_string(inColor.mG) + "," +
         std::to_string(inColor.mB) + "," + std::to_string(inColor.mA);
}

bool SameColor(const KSRGBA& inA, const KSRGBA& inB) {
  return std::memcmp(&inA, &inB, sizeof(KSRGBA)) == 0;
}

class FieldPrinter {
 public:
  explicit FieldPrinter(std::string* outLine) : mLine(outLine) {}
  void Add(const char* inName, const std::string& inValue) {
    *mLine += std::string(" ") + inName + "=" + inValue;
  }
  void Number(const char* inName, long inValue, long inDefault) {
    if (inValue != inDefault) {
      Add(inName, std::to_string(inValue));
    }
  }
  void Text(const char* inName, const char* inValue, const char* inDefault) {
    if (std::strcmp(inValue, inDefault) != 0) {
      std::string value;
      for (const char* c = inValue; *c != 0; ++c) {
        value += *c == '\n' ? "\\n" : *c == '\r' ? "\\r" : std::string(1, *c);
      }
      Add(inName, "\"" + value + "\"");
    }
  }
  void Colour(const char* inName, const KSRGBA& inValue, const KSRGBA& inDefault) {
    if (!SameColor(inValue, inDefault)) {
      Add(inName, Color(inValue));
    }
  }

 private:
  std::string* mLine;
};

void DumpModes(const ControlInfo& inInfo, const ControlInfo& inDefault, FieldPrinter& ioOut) {
  const char* const kNames[] = {"x", "y", "Width", "Height", "Visible"};
  auto field = [](const ModeInfo& inMode, int inField) {
    const long values[] = {inMode.x, inMode.y, inMode.Width, inMode.Height, inMode.Visible};
    return values[inField];
  };
  for (int f = 0; f < 5; ++f) {
    long retracted = field(inInfo.Modes[0], f);
    long extended = field(inInfo.Modes[1], f);
    if (retracted != field(inDefault.Modes[0], f) || extended != field(inDefault.Modes[1], f)) {
      ioOut.Add(kNames[f], retracted == extended
                               ? std::to_string(retracted)
                               : std::to_string(retracted) + "/" + std::to_string(extended));
    }
  }
}

void DumpTypeRecord(const ControlInfo& inInfo, FieldPrinter& ioOut) {
  switch (inInfo.Type) {
    case kControlTypeButton:
      return ioOut.Text("Text", inInfo.u.Button.Text, "");
    case kControlTypeCheckBox:
      return ioOut.Text("Text", inInfo.u.CheckBox.Text, "");
    case kControlTypeLabel:
      return ioOut.Text("Text", inInfo.u.Label.Text, "");
    case kControlTypeEdit:
      return ioOut.Text("Text", inInfo.u.Edit.Text, "");
    case kControlTypeSlider:
      ioOut.Number("MinPos", inInfo.u.Slider.MinPos, 0);
      return ioOut.Number("MaxPos", inInfo.u.Slider.MaxPos, 100);
    case kControlTypeGraphic:
      return ioOut.Number("Type", inInfo.u.Graphic.Type, kGraphicImage);
    case kControlTypeComboBox: {
      const ScrollBarInfo& scroll = inInfo.u.ComboBox.ListBox.ScrollBar;
      ioOut.Text("ScrollUp", scroll.ScrollUp, "");
      ioOut.Text("ScrollDown", scroll.ScrollDown, "");
      ioOut.Text("ScrollThumb", scroll.ScrollThumb, "");
      ioOut.Colour("ScrollColor", scroll.ScrollColor, KSRGBA{0, 0, 0, 0});
      return ioOut.Number("ListBoxHeight", inInfo.u.ComboBox.ListBoxHeight, 0);
    }
    case kControlTypeListView: {
      const ListViewInfo& list = inInfo.u.ListView;
      std::string widths;
      std::string headers;
      for (uint32 column = 0; column < list.NumColumns && column < kSkinMaxColumns; ++column) {
        widths += (column > 0 ? "," : "") + std::to_string(list.ColumnWidths[column]);
        headers += std::string(column > 0 ? "|" : "") + list.ColumnHeaders[column];
      }
      ioOut.Number("Columns", list.NumColumns, 0);
      if (list.NumColumns > 0) {
        ioOut.Add("ColumnWidths", widths);
        ioOut.Add("ColumnHeaders", "\"" + headers + "\"");
      }
      return ioOut.Number("FirstTextColumn", list.FirstTextColumn, 0);
    }
    default:
      return;
  }
}

std::string DumpInfo(const ControlInfo& inInfo) {
  ControlInfo def;
  cSkin::InitControlInfo(&def, inInfo.Type, nullptr, KSRGBA{0, 0, 0, 0});
  std::string line;
  FieldPrinter out(&line);
  DumpModes(inInfo, def, out);
  if (inInfo.Function != kUINull) {
    out.Add("Function", inInfo.Function <= kUIAdvPrefPeerRefresh
                            ? sFunctionMap[inInfo.Function].Name
                            : std::to_string(inInfo.Function));
  }
  out.Number("Styles", inInfo.Styles, 0);
  out.Number("Flags", inInfo.Flags, 0);
  out.Text("Image", inInfo.Graphic, "");
  out.Number("GraphicX", inInfo.GraphicX, 0);
  out.Number("GraphicY", inInfo.GraphicY, 0);
  out.Colour("TransparentColor", inInfo.TransparentColor, def.TransparentColor);
  const TextInfo& text = inInfo.Text;
  out.Colour("TextColor", text.TextColor, def.Text.TextColor);
  out.Colour("BackgroundColor", text.BackgroundColor, def.Text.BackgroundColor);
  out.Colour("BorderColor", text.BorderColor, def.Text.BorderColor);
  out.Number("BorderSize", text.BorderSize, 0);
  out.Text("FontName", text.FontName, def.Text.FontName);
  out.Number("FontSize", text.FontSize, def.Text.FontSize);
  out.Number("TextFormat", text.Format, 0);
  out.Text("Tip", inInfo.ToolTip, "");
  DumpTypeRecord(inInfo, out);
  return line;
}

void DumpPage(const SkinTreePage& inPage, int inDepth, std::string* outText) {
  std::string indent(2 * inDepth, ' ');
  *outText += indent + "Page" + std::to_string(inPage.mID);
  if (!inPage.mName.empty()) {
    *outText += " \"" + inPage.mName + "\"";
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
      *outText += indent + "  " + TypeName(item.mInfo.Type) + ":" + DumpInfo(item.mInfo) + "\n";
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
