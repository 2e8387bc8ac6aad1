// The list view's notifications from the platform (clicks, headers, texts
// asked for, rows deleted and changed), its keys and wheel, and the drawing
// of its rows.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "foundation/KSMessages.h"
#include "platform/BaseUtils.h"
#include "platform/KSMouseWheel.h"
#include "platform/KSWideText.h"
#include "skin/cStandardListView.h"

namespace {

// What is drawn of a cell's text.
const size_t kDrawnCellBytes = 511;

KSRGBA ColorOf(COLORREF inColor) {
  return KSRGBA{GetBValue(inColor), GetGValue(inColor), GetRValue(inColor), 0};
}

}  // namespace

void cStandardListView::OnWinNotify(NMHDR* inNotifyHeader) {
  switch (inNotifyHeader->code) {
    case NM_CLICK:
      if (Sprite() != nullptr) {
        ClickCheckMark(reinterpret_cast<NMITEMACTIVATE*>(inNotifyHeader)->ptAction);
      }
      break;
    case NM_DBLCLK:
      if (Function() != kUINull &&
          RowAt(reinterpret_cast<NMITEMACTIVATE*>(inNotifyHeader)->ptAction) >= 0) {
        ReportFunction();
      }
      break;
    case LVN_GETDISPINFOW: {
      LVITEMW& asked = reinterpret_cast<NMLVDISPINFOW*>(inNotifyHeader)->item;
      if ((asked.mask & LVIF_TEXT) != 0 && asked.pszText != nullptr && asked.cchTextMax > 0) {
        ListViewItem* item = ItemOf(asked.iItem);
        const char* text = item != nullptr ? item->Text(size_t(asked.iSubItem)) : nullptr;
        lstrcpynW(asked.pszText, KSWideText(text).Get(), asked.cchTextMax);
      }
      break;
    }
    case LVN_COLUMNCLICK: {
      long column = reinterpret_cast<NMLISTVIEW*>(inNotifyHeader)->iSubItem;
      if (column == 0 && mConfigType != kCX_InvalidConfigType) {
        ToggleChecked();
      } else {
        Sort(column, column == mSortColumn ? !mSortAscending : true);
      }
      break;
    }
    case LVN_DELETEITEM:
      delete reinterpret_cast<ListViewItem*>(reinterpret_cast<NMLISTVIEW*>(inNotifyHeader)->lParam);
      break;
    case LVN_ITEMCHANGED:
      if (mQuiet == 0) {
        ReportRowsChanged();
      }
      break;
  }
}

void cStandardListView::ReportRowsChanged() {
  NotifyParent(kUIUpdateCommandStatus, reinterpret_cast<void*>(intptr_t(mConfigType)));
}

// Rows are all as high: the first one shown gives the grid.
long cStandardListView::RowAt(const POINT& inPoint) {
  long top = TopIndex();
  RECT first = {LVIR_BOUNDS, 0, 0, 0};
  if (top < 0 || !SendMessageW(mWind, LVM_GETITEMRECT, WPARAM(top), LPARAM(&first)) ||
      inPoint.y < first.top || first.bottom <= first.top) {
    return -1;
  }
  long row = top + (inPoint.y - first.top) / (first.bottom - first.top);
  return row < NumItems() ? row : -1;
}

// The check mark's area: the picture's width in the middle of column 0,
// over the row's height.
void cStandardListView::ClickCheckMark(const POINT& inPoint) {
  long row = RowAt(inPoint);
  RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
  if (row < 0 || !SendMessageW(mWind, LVM_GETITEMRECT, WPARAM(row), LPARAM(&bounds))) {
    return;
  }
  long markWidth = Sprite()->Frame(0) != nullptr ? Sprite()->Frame(0)->Width() : 0;
  long columnWidth = long(SendMessageW(mWind, LVM_GETCOLUMNWIDTH, 0, 0));
  long left = bounds.left + (columnWidth - markWidth) / 2;
  if (inPoint.x < left || inPoint.x >= left + markWidth) {
    return;
  }
  ToggleRow(row);
}

void cStandardListView::ToggleRow(long inRow) {
  CheckItem(inRow, !IsChecked(inRow));
  BroadcastMsg(kKSMsg_ItemCheckChanged, this, reinterpret_cast<void*>(intptr_t(inRow)));
}

// The platform list moves the focus itself; Space in a list with marks is
// ours, held down or not, so that it never selects instead.
bool cStandardListView::OnDialogKey(unsigned long inVirtualKey, bool inRepeated) {
  if (inVirtualKey != VK_SPACE || Sprite() == nullptr || !IsWindow()) {
    return false;
  }
  long focused = long(SendMessageW(mWind, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
  if (focused >= 0 && !inRepeated) {
    ToggleRow(focused);
  }
  return true;
}

// The platform list scrolls a report by whole rows of pixels.
bool cStandardListView::OnMouseWheel(long inNotches) {
  RECT row = {LVIR_BOUNDS, 0, 0, 0};
  if (IsWindow() && SendMessageW(mWind, LVM_GETITEMRECT, 0, LPARAM(&row))) {
    long perPage = long(SendMessageW(mWind, LVM_GETCOUNTPERPAGE, 0, 0));
    SendMessageW(mWind, LVM_SCROLL, 0, KSWheelRows(inNotches, perPage) * (row.bottom - row.top));
  }
  return true;
}

// All checked when any was not, else all unchecked.
void cStandardListView::ToggleChecked() {
  SetAllChecked(!AllChecked());
}

void cStandardListView::SetAllChecked(bool inChecked) {
  mQuiet++;
  for (long row = 0; row < NumItems(); row++) {
    CheckItem(row, inChecked);
  }
  mQuiet--;
  ReportRowsChanged();
  BroadcastMsg(kKSMsg_AllChecksChanged, this, reinterpret_cast<void*>(intptr_t(inChecked)));
}

// --- Drawing ---

void cStandardListView::OnMeasureItem(unsigned long* ioItemHeight) {
  long width = 0;
  long height = 0;
  if (BaseGetTextExtent("ABCxyz", Font(), &width, &height) != 0) {
    height = long(*ioItemHeight);
  }
  if (cImage* mark = Sprite() != nullptr ? Sprite()->Frame(0) : nullptr) {
    height = std::max(height, mark->Height());
  }
  *ioItemHeight = static_cast<unsigned long>(height);
}

void cStandardListView::OnPaint(HDC inDC, long inItem, KSRect* inItemRect, bool inSelected) {
  ListViewItem* item = ItemOf(inItem);
  if (item == nullptr || inItemRect == nullptr) {
    return;
  }
  COLORREF back = GetSysColor(inSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  COLORREF ink = GetSysColor(inSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  bool checked = IsChecked(inItem);
  RECT cell = {inItemRect->left, inItemRect->top, inItemRect->left, inItemRect->bottom};
  for (long column = 0; column < NumColumns(); column++) {
    cell.left = cell.right;
    cell.right = cell.left + long(SendMessageW(mWind, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
    PaintCell(inDC, *item, column, checked, cell, back, ink);
  }
}

void cStandardListView::PaintCell(HDC inDC, const ListViewItem& inItem, long inColumn,
                                  bool inChecked, const RECT& inCell, COLORREF inBack,
                                  COLORREF inInk) {
  KSRect cell = {inCell.left, inCell.top, inCell.right, inCell.bottom};
  BaseFillRectangle(inDC, cell, ColorOf(inBack));
  if (IsCheckColumn(inColumn)) {
    if (cImage* mark = Sprite()->Frame(inChecked ? 1 : 0)) {
      mark->BitBlt(inDC, cell.left + (cell.right - cell.left - mark->Width()) / 2,
                   cell.top + (cell.bottom - cell.top - mark->Height()) / 2);
    }
    return;
  }
  const char* text = inItem.Text(size_t(inColumn));
  if (text != nullptr && *text != 0) {
    std::string shown(text, ListViewItem::WholeChars(text, strlen(text), kDrawnCellBytes));
    BaseDrawText(inDC, shown.c_str(), cell, Font(), ColorOf(inInk),
                 kTextVCenter | kTextEndEllipsis);
  }
}
