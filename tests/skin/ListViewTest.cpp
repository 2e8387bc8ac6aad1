// The list view: rows from engine replies (misfits included) marked by the
// current theme, sorting, reading back, and under real mouse input its
// check marks, its headers and what it tells its listeners and its parent.
#include <string>

#include "ControlTestParent.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "platform/Canvas.h"
#include "skin/cStandardListView.h"
#include "support/MouseInput.h"
#include "toolbar/ToolbarState.h"

using namespace std::string_literals;

namespace {

const uint32 kUncheckedColor = 0x808080, kCheckedColor = 0x00C000;

// Writes down what a list view broadcasts: "lbCh 2 ", "AllC 1 ".
class Listener : public KSListener {
 public:
  void ListenToMsg(long inMsg, void*, void* inParam2) override {
    mLog += std::string(inMsg == kKSMsg_ItemCheckChanged ? "lbCh " : "AllC ") +
            std::to_string(reinterpret_cast<intptr_t>(inParam2)) + " ";
  }
  std::string mLog;
};

class ListView : public ControlTest {
 protected:
  // Check marks in column 0, names from column 1, kinds in column 2.
  std::unique_ptr<cStandardListView> MakeList() {
    ControlInfo info = Describe(kControlTypeListView, kUIWaveShapeList);
    info.Modes[kModeExtended] = ModeInfo{10, 10, 300, 200, true};
    Frames(info.Graphic, "Mark", 12, 24, {kUncheckedColor, kCheckedColor});
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
    POINT at = ScreenPointOf(inList.Wind(), rect.left + inX, (rect.top + rect.bottom) / 2);
    MouseClickAt(at.x, at.y);
  }

  Listener mListener;
  int mClicks = 0;
};

}  // namespace

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
      {"Ice\tA\0Fire\tB"s, "Ice:A+ Fire:B+ "},    // no closing empty name
      {"Fire\rstorm\tstill\0"s, "Fire:storm+ "},  // returns first, then tabs
      {""s, ""},                                  // nothing
      {"Ice\0\0Fire\0"s, "Ice:+ "},               // ends at the first empty name
  };
  for (const auto& reply : replies) {
    Fill(*list, reply.first);
    EXPECT_EQ(reply.second, Rows(*list)) << reply.second;
  }
  list->OnKSMPReply("Water\0"s.c_str(), kRequestGetValue, nullptr);
  EXPECT_EQ("Ice:+ ", Rows(*list));

  // Rows added one by one, and read back.
  long row = list->AddItem("", 77);
  EXPECT_EQ(0, list->AddSubItems(row, "Aurora\tLights", 0));
  EXPECT_EQ(0, list->AddSubItem(row, 2, "Sky"));
  EXPECT_EQ(kKSErr_BadState, list->AddSubItem(9, 1, "x"));
  unsigned long param = 0;
  EXPECT_EQ(0, list->GetParam(list->FindItem("aurora"), &param));
  EXPECT_EQ(77u, param);
  EXPECT_EQ(0, list->AddSubItems(-1, "Zephyr", 5));
  list->Sort(1, true);
  EXPECT_EQ("Aurora:Sky- Ice:+ Zephyr:- ", Rows(*list));
  list->SelectItem(2, true);
  EXPECT_EQ(2, list->CurSelection());
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
  EXPECT_EQ(kUncheckedColor, drawn.Pixel(15, 10));
  list->OnPaint(drawn.DC(), 0, &rect, true);
  EXPECT_EQ(kCheckedColor, drawn.Pixel(15, 10));
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
}
