// The skinned controls under real mouse input: button frames and repeats,
// the check box, the scroll bar's arrows, pages and thumb, and the combo box
// with its floating list; the page's 100 ms tick is called directly. (The
// skinned slider is the standard one with a picture.) And the list view: rows from engine replies
// marked by the current theme, sorting, and its check marks and headers;
// the wheel over the lists.
#include <string>

#include "ControlTestParent.h"
#include "foundation/KSMessages.h"
#include "platform/BaseUtils.h"
#include "skin/cCustomButton.h"
#include "skin/cCustomCheckBox.h"
#include "skin/cCustomComboBox.h"
#include "skin/cCustomLabel.h"
#include "skin/cCustomScrollBar.h"
#include "skin/cStandardListView.h"
#include "support/Canvas.h"
#include "support/MouseInput.h"
#include "toolbar/ToolbarState.h"

using namespace std::string_literals;

namespace {

const uint32 kRed = 0xC00000, kGreen = 0x00C000, kBlue = 0x0000C0, kGrey = 0x808080;

// The rows a notch of the wheel moves a list, as the system is set.
long WheelRows() {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return long(lines);
}

// The parts of a combo box, for the tests.
class ProbedCombo : public cCustomComboBox {
 public:
  using cCustomComboBox::cCustomComboBox;
  cStandardFloatingListBox* List() { return mListBox.get(); }
  cCustomButton* Button() { return mButton.get(); }
  std::string LabelText() {
    char text[64] = "";
    mLabel->GetText(text, sizeof(text));
    return text;
  }
};

class CustomControls : public ControlTest {
 protected:
  void ClickIn(cBaseWindow& inWind, long inX, long inY) {
    POINT at = ScreenPointOf(inWind.Wind(), inX, inY);
    MouseClickAt(at.x, at.y);
  }
  void MoveIn(cBaseWindow& inWind, long inX, long inY) {
    POINT at = ScreenPointOf(inWind.Wind(), inX, inY);
    MouseMoveTo(at.x, at.y);
  }
};

// Writes down what a list view broadcasts: "lbCh 2 ", "AllC 1 ".
class Listener : public KSListener {
 public:
  void ListenToMsg(long inMsg, void*, void* inParam2) override {
    mLog += std::string(inMsg == kKSMsg_ItemCheckChanged ? "lbCh " : "AllC ") +
            std::to_string(reinterpret_cast<intptr_t>(inParam2)) + " ";
  }
  std::string mLog;
};

class ListView : public CustomControls {
 protected:
  // Check marks in column 0, names from column 1, kinds in column 2.
  std::unique_ptr<cStandardListView> MakeList() {
    ControlInfo info = Describe(kControlTypeListView, kUIWaveShapeList);
    info.Modes[kModeExtended] = ModeInfo{10, 10, 300, 200, true};
    Frames(info.Graphic, "Mark", 12, 24, {kGrey, kGreen});
    ListViewInfo& columns = info.u.ListView;
    columns.NumColumns = 3;
    columns.FirstTextColumn = 1;
    const int widths[] = {30, 120, 100};
    const char* headers[] = {"", "Name", "Kind"};
    for (int i = 0; i < 3; i++) {
      columns.ColumnWidths[i] = widths[i];
      snprintf(columns.ColumnHeaders[i], sizeof(columns.ColumnHeaders[i]), "%s", headers[i]);
    }
    auto list = Make<cStandardListView>(info, 6);
    list->AddListener(&mListener);
    return list;
  }

  // "bubbles:Dots+ Comet:- ": each row's name and kind, and its mark.
  static std::string Rows(cStandardListView& inList) {
    std::string rows;
    for (long row = 0; row < inList.NumItems(); row++) {
      char name[64], kind[64];
      inList.GetItem(row, name, sizeof(name));
      inList.GetItem(row, 2, kind, sizeof(kind));
      rows += std::string(name) + ":" + kind + (inList.IsChecked(row) ? "+ " : "- ");
    }
    return rows;
  }

  static void Fill(cStandardListView& inList, const std::string& inReply) {
    inList.OnKSMPReply((inReply + "\0\0"s).c_str(), kRequestGetContents, nullptr);
  }

  // Clicks on one spot in a row would make double clicks: each click is a
  // few pixels left or right of the last.
  void ClickHeader(cStandardListView& inList, int inColumn) {
    HWND header = HWND(SendMessageW(inList.Wind(), LVM_GETHEADER, 0, 0));
    RECT rect;
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, inColumn, LPARAM(&rect)));
    long aside = (++mClicks % 2) != 0 ? -3 : 3;  // clear of the dividers
    POINT at = ScreenPointOf(header, (rect.left + rect.right) / 2 + aside, rect.bottom / 2);
    MouseClickAt(at.x, at.y);
  }

  void ClickRow(cStandardListView& inList, long inRow, long inX) {
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(inList.Wind(), LVM_GETITEMRECT, inRow, LPARAM(&rect)));
    ClickIn(inList, rect.left + inX, (rect.top + rect.bottom) / 2);
  }

  Listener mListener;
  int mClicks = 0;
};

}  // namespace

TEST_F(CustomControls, ButtonShowsItsStateAndRepeatsWhileHeld) {
  ControlInfo info = Describe(kControlTypeButton, kUIWaveShapeNext);
  info.Styles = kStyleCustom;
  info.Flags = kFlagAutoSize | kFlagAutoRepeat;
  Frames(info.Graphic, "Button", 20, 10, {kRed, kGreen, kBlue, kGrey});
  auto button = Make<cCustomButton>(info, 4);
  ASSERT_EQ(20, button->Width());
  auto frame = [&button] { return button->Sprite()->CurFrame(); };

  // Held: pressed at once, the function again from the fifth tick on, and
  // once more on release. (The hover frame is the page tests' business.)
  MoveIn(*button, 10, 5);
  MouseDown();
  EXPECT_EQ(kButtonPressed, frame());
  Canvas drawn(20, 10);
  button->OnPaint(drawn.DC());
  EXPECT_EQ(kGreen, drawn.Pixel(10, 5));
  std::string ticks;
  for (int tick = 1; tick <= 7; tick++) {
    button->OnUpdate();
    ticks += std::to_string(tick) + ":" + mParent.Take() + "|";
  }
  EXPECT_EQ("1:|2:|3:|4:|5:4:12 |6:4:12 |7:4:12 |", ticks);
  MouseUp();
  EXPECT_EQ("4:12 ", mParent.Take());
  button->OnUpdate();
  EXPECT_EQ(kButtonHot, frame());

  // Without "AutoRepeat", held long reports once, on release. (A press
  // within the double-click time would be a double click, which no button
  // holds down.)
  button->Info()->Flags = kFlagAutoSize;
  PumpMessages(GetDoubleClickTime() + 50);
  MouseDown();
  ASSERT_TRUE(button->IsPressed());
  for (int tick = 0; tick < 8; tick++) {
    button->OnUpdate();
  }
  MouseUp();
  EXPECT_EQ("4:12 ", mParent.Take());

  // Disabled, whatever the pointer does.
  button->Enable(false);
  button->OnUpdate();
  EXPECT_EQ(kButtonDisabled, frame());
}

TEST_F(CustomControls, ScrollBarStepsPagesAndTracksItsThumb) {
  ControlInfo info = Describe(kControlTypeScrollBar);
  info.Styles = kStyleCustom | kStyleVertical;
  info.Modes[kModeExtended].Height = 120;
  Frames(info.u.ScrollBar.ScrollUp, "Up", 10, 10, {kRed});
  Frames(info.u.ScrollBar.ScrollDown, "Down", 10, 10, {kBlue});
  Frames(info.u.ScrollBar.ScrollThumb, "Thumb", 10, 20, {kGreen});
  info.u.ScrollBar.ScrollColor = KSRGBA{0xFF, 0xFF, 0xFF, 0};
  auto bar = Make<cCustomScrollBar>(info, 3);
  EXPECT_EQ(10, bar->Width());  // as wide as its arrows
  bar->Range(0, 20);
  bar->PageSize(10);
  bar->Index(15);  // the track runs from 10 to 90 for the thumb's top: at 70
  EXPECT_EQ("scrolled 0 scrolled 15 ", mParent.Take());

  // Held above the thumb: a page at once, then after the delay pages until
  // the thumb reaches the pointer.
  MoveIn(*bar, 5, 15);
  MouseDown();
  EXPECT_EQ(5, bar->Index());
  for (int tick = 0; tick < 8; tick++) {
    bar->OnUpdate();
  }
  MouseUp();
  EXPECT_EQ(0, bar->Index());
  mParent.Take();

  // The thumb dragged past the end of the track stops there.
  MoveIn(*bar, 5, 20);
  MouseDown();
  MoveIn(*bar, 5, 60);
  EXPECT_EQ(10, bar->Index());
  MoveIn(*bar, 5, 400);
  MouseUp();
  EXPECT_EQ(20, bar->Index());
  Canvas drawn(10, 120, 0);
  bar->OnPaint(drawn.DC());
  EXPECT_EQ(kGreen, drawn.Pixel(5, 95));
  EXPECT_EQ(0xFFFFFFu, drawn.Pixel(5, 50));
  EXPECT_EQ(0u, drawn.Pixel(5, 5));  // the arrows draw themselves

  // Arrows step by one, not past the ends.
  ClickIn(*bar, 5, 115);
  EXPECT_EQ(20, bar->Index());
  ClickIn(*bar, 5, 5);
  EXPECT_EQ(19, bar->Index());
  mParent.Take();
  bar->Range(0, 10);
  EXPECT_EQ(-1, bar->Index());
  EXPECT_EQ("scrolled -1 ", mParent.Take());
}

TEST_F(CustomControls, ComboBoxChoosesFromItsFloatingList) {
  ControlInfo info = Describe(kControlTypeComboBox, kUIWaveShapeList);
  info.Styles = kStyleCustom;
  info.Flags = kFlagAutoSize;
  info.u.ComboBox.ListBoxHeight = 100;
  Frames(info.Graphic, "Drop", 16, 16, {kBlue});
  auto combo = Make<ProbedCombo>(info, 5);
  EXPECT_EQ("120 16", std::to_string(combo->Width()) + " " + std::to_string(combo->Height()));
  std::string names;
  for (int i = 0; i < 50; i++) {
    names += "Shape " + std::to_string(100 + i) + '\0';
  }
  combo->OnKSMPReply((names + '\0').c_str(), kRequestGetContents, nullptr);
  combo->OnKSMPReply("Shape 130", kRequestGetValue, nullptr);
  EXPECT_EQ("Shape 130", combo->LabelText());

  // Opened by its button: the choice at the top, a scroll bar beside.
  cStandardFloatingListBox* list = combo->List();
  ClickIn(*combo->Button(), 8, 8);
  ASSERT_TRUE(combo->IsListShown());
  EXPECT_EQ(30, list->TopIndex());
  EXPECT_EQ(list->Height(), list->HeightFor(list->ItemsVisible()));

  // Its down arrow scrolls by a row; the list takes the mouse back on the
  // next tick.
  ClickIn(*list, list->Width() - 4, list->Height() - 4);
  EXPECT_EQ(31, list->TopIndex());
  combo->OnUpdate();

  // A release over a row chooses it and closes the list.
  long row = list->ItemHeight();
  ClickIn(*list, 10, row + row / 2);
  EXPECT_FALSE(combo->IsListShown());
  EXPECT_EQ("5:10 ", mParent.Take());
  EXPECT_EQ(32, combo->IntProp());
  EXPECT_EQ("Shape 132", combo->LabelText());

  // Opened by the label's press, the list holds the mouse at once: pointing
  // at rows and then clicking another control only closes it, and the next
  // click works that control.
  ControlInfo checkInfo = Describe(kControlTypeCheckBox, kUIWaveShapeToggle);
  checkInfo.Styles = kStyleCustom;
  checkInfo.Modes[kModeExtended] = ModeInfo{200, 200, 12, 12, true};
  auto check = Make<cCustomCheckBox>(checkInfo, 2);
  ClickIn(*combo, 50, 8);
  ASSERT_TRUE(combo->IsListShown());
  EXPECT_EQ(list->Wind(), GetCapture());
  MoveIn(*list, 10, row / 2);
  EXPECT_EQ(31, list->CurSelection());
  ClickIn(*check, 6, 6);
  EXPECT_FALSE(combo->IsListShown());
  EXPECT_EQ("", mParent.Take());
  EXPECT_EQ(32, combo->IntProp());
  ClickIn(*check, 6, 6);
  EXPECT_EQ("2:9 ", mParent.Take());

  // Pressed on the label and released on a row: that row is chosen.
  MoveIn(*combo, 50, 8);
  MouseDown();
  MoveIn(*list, 10, 2 * row + row / 2);
  MouseUp();
  EXPECT_FALSE(combo->IsListShown());
  EXPECT_EQ(33, combo->IntProp());
  EXPECT_EQ("5:10 ", mParent.Take());

  // A few items: the list is as tall as they are, with no scroll bar; near
  // the bottom of the screen it takes the room left, but no less than 60.
  combo->OnKSMPReply("Fire\0Ice\0"s.c_str(), kRequestGetContents, nullptr);
  EXPECT_EQ("", combo->LabelText());
  ClickIn(*combo->Button(), 8, 8);
  EXPECT_EQ(list->HeightFor(2), list->Height());
  EXPECT_EQ(2, list->ItemsVisible());
  EXPECT_EQ(0, list->ScrollRange());
  ClickIn(*combo->Button(), 8, 8);
  EXPECT_FALSE(combo->IsListShown());
  long screenWidth = 0, screenHeight = 0;
  BaseGetScreenSize(&screenWidth, &screenHeight);
  combo->OnKSMPReply(names.c_str(), kRequestGetContents, nullptr);
  mParent.SetPosition(20, screenHeight - 40, 400, 300, false);
  ClickIn(*combo->Button(), 8, 8);
  EXPECT_LE(list->Height(), 60);
  EXPECT_GE(list->Height(), 60 - row);  // whole rows

  // The wheel scrolls the open list by the system's rows per notch (it holds
  // the mouse wherever the pointer is); its scroll bar follows that and the
  // keys. Over the closed combo box the wheel changes nothing.
  cCustomScrollBar* bar = nullptr;
  for (HWND part = GetWindow(list->Wind(), GW_CHILD); part != nullptr && bar == nullptr;
       part = GetWindow(part, GW_HWNDNEXT)) {
    bar = dynamic_cast<cCustomScrollBar*>(cBaseWindow::FromWindow(part));
  }
  ASSERT_NE(nullptr, bar);
  MouseWheel(-2);
  EXPECT_EQ(2 * WheelRows(), list->TopIndex());
  EXPECT_EQ(list->TopIndex(), bar->Index());
  for (unsigned long key : {VK_END, VK_HOME}) {
    combo->OnDialogKey(key, false);
    EXPECT_EQ(list->TopIndex(), bar->Index()) << key;
    EXPECT_LE(list->TopIndex(), list->CurSelection()) << key;
    EXPECT_LT(list->CurSelection(), list->TopIndex() + list->ItemsVisible()) << key;
  }
  combo->OnDialogKey(VK_RETURN, false);
  long chosen = combo->IntProp();
  mParent.Take();
  MoveIn(*combo, 50, 8);
  MouseWheel(-1);
  EXPECT_EQ(chosen, combo->IntProp());
  EXPECT_EQ("", mParent.Take());
}

TEST_F(ListView, RepliesFillSortedRowsMarkedByTheTheme) {
  ToolbarState state(mPictures.Folder().Item("prefs"), nullptr, 0);
  state.mThemeMgr.SetAttrib(kCX_WaveShape, "Comet", -1, kConfigAttr_On, 0);
  auto list = MakeList();
  list->ConfigType(kCX_WaveShape);
  mParent.Take();
  Fill(*list, "Flower\tWave\0bubbles\tDots\0Comet\0"s);
  EXPECT_EQ("bubbles:Dots+ Comet:- Flower:Wave+ ", Rows(*list));
  RECT row0 = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list->Wind(), LVM_GETITEMRECT, 0, LPARAM(&row0));
  EXPECT_GE(row0.bottom - row0.top, 24);  // rows hold the check mark
  EXPECT_EQ("6:105 ", mParent.Take());    // once for the whole fill
  EXPECT_EQ(2, list->FindItem("FLOWER"));
  EXPECT_EQ(-1, list->FindItem("Flow"));
  EXPECT_EQ(2, list->NumChecked());

  // The order holds for the next fill; misfit replies end at their end.
  list->Sort(1, false);
  const std::pair<std::string, const char*> replies[] = {
      {""s, ""},                                  // nothing
      {"Ice\tA\0Fire\tB"s, "Ice:A+ Fire:B+ "},    // no closing empty name
      {"Fire\rstorm\tstill\0"s, "Fire:storm+ "},  // returns first, then tabs
  };
  for (const auto& reply : replies) {
    Fill(*list, reply.first);
    EXPECT_EQ(reply.second, Rows(*list)) << reply.second;
  }
  list->OnKSMPReply("Water\0"s.c_str(), kRequestGetValue, nullptr);
  EXPECT_EQ("Fire:storm+ ", Rows(*list));
}

TEST_F(ListView, ClicksToggleMarksAndHeadersSortOrMarkAll) {
  auto list = MakeList();
  Fill(*list, "Flower\tWave\0bubbles\tDots\0Comet\tRing\0"s);
  mParent.Take();

  // The check mark, and only the mark, toggles a row.
  ClickRow(*list, 1, 15);
  EXPECT_EQ("bubbles:Dots+ Comet:Ring- Flower:Wave+ ", Rows(*list));
  EXPECT_EQ("lbCh 1 ", mListener.mLog);
  ClickRow(*list, 1, 2);
  ClickRow(*list, 1, 60);
  EXPECT_EQ("lbCh 1 ", mListener.mLog);
  mListener.mLog.clear();

  // Marks drawn as the picture's frames, the selected row highlighted.
  Canvas drawn(300, 20);
  KSRect rect = {0, 0, 250, 20};
  list->OnPaint(drawn.DC(), 1, &rect, false);
  EXPECT_EQ(kGrey, drawn.Pixel(15, 10));
  list->OnPaint(drawn.DC(), 0, &rect, true);
  EXPECT_EQ(kGreen, drawn.Pixel(15, 10));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT),
            RGB(GetBValue(drawn.Pixel(100, 1)), GetGValue(drawn.Pixel(100, 1)),
                GetRValue(drawn.Pixel(100, 1))));

  // A text header sorts by its column, a second click the other way.
  ClickHeader(*list, 2);
  EXPECT_EQ("bubbles:Dots+ Comet:Ring- Flower:Wave+ ", Rows(*list));
  ClickHeader(*list, 2);
  EXPECT_EQ("Flower:Wave+ Comet:Ring- bubbles:Dots+ ", Rows(*list));
  // Column 0 of an unbound list sorts by the marks.
  ClickHeader(*list, 0);
  EXPECT_EQ("bubbles:Dots+ Flower:Wave+ Comet:Ring- ", Rows(*list));
  EXPECT_EQ("", mListener.mLog);

  // Bound: all marked, then none.
  list->ConfigType(kCX_ColorMap);
  ClickHeader(*list, 0);
  EXPECT_EQ(3, list->NumChecked());
  ClickHeader(*list, 0);
  EXPECT_EQ(0, list->NumChecked());
  EXPECT_EQ("AllC 1 AllC 0 ", mListener.mLog);

  // The wheel scrolls by the system's rows per notch.
  std::string names;
  for (int i = 0; i < 60; i++) {
    names += "Shape " + std::to_string(100 + i) + '\0';
  }
  Fill(*list, names);
  MoveIn(*list, 100, 100);
  MouseWheel(-2);
  EXPECT_EQ(2 * WheelRows(), list->TopIndex());
}
