// The list view's window, its columns and its rows.
#include "skin/cStandardListView.h"

#include <algorithm>
#include <cstring>

#include "foundation/KSError.h"
#include "platform/KSWideText.h"

namespace {

// The platform's state image index of a check mark.
enum { kStateUnchecked = 1, kStateChecked = 2 };

}  // namespace

cStandardListView::cStandardListView(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cControl(inInfo, inID, inParent),
      mConfigType(kCX_InvalidConfigType),
      mSortColumn(long(mInfo.u.ListView.FirstTextColumn)),
      mSortAscending(true),
      mQuiet(0) {}

cStandardListView::~cStandardListView() {
  if (IsWindow()) {
    DestroyWindow(mWind);  // every row's deletion reaches OnWinNotify
  }
  Detach();
}

long cStandardListView::NumColumns() const {
  return long(std::min<uint32>(mInfo.u.ListView.NumColumns, kSkinMaxColumns));
}

long cStandardListView::OnCreate() {
  long err = cControl::OnCreate();
  if (err != 0) {
    return err;
  }
  const ListViewInfo& columns = mInfo.u.ListView;
  for (long i = 0; i < NumColumns(); i++) {
    KSWideText header(columns.ColumnHeaders[i]);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = columns.ColumnWidths[i];
    column.pszText = const_cast<wchar_t*>(header.Get());
    if (SendMessageW(mWind, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&column)) != i) {
      ErrorMsg("The list's columns could not be made.");
      return kKSErr_Internal;
    }
  }
  return 0;
}

// --- Rows ---

long cStandardListView::NumItems() {
  return IsWindow() ? long(SendMessageW(mWind, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

long cStandardListView::NumSelected() {
  return IsWindow() ? long(SendMessageW(mWind, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

bool cStandardListView::IsSelected(long inRow) {
  return IsWindow() &&
         (SendMessageW(mWind, LVM_GETITEMSTATE, WPARAM(inRow), LVIS_SELECTED) & LVIS_SELECTED);
}

long cStandardListView::SelectItem(long inRow, bool inSelected) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  LVITEMW state = {};
  state.state = inSelected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  return SendMessageW(mWind, LVM_SETITEMSTATE, WPARAM(inRow), LPARAM(&state)) ? 0 : kKSErr_Unmapped;
}

long cStandardListView::SelectOnly(long inRow) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  const UINT kBoth = LVIS_SELECTED | LVIS_FOCUSED;
  bool changed = false;
  mQuiet++;
  long row = long(SendMessageW(mWind, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  while (row >= 0) {
    if (row != inRow) {
      SelectItem(row, false);
      changed = true;
    }
    row = long(SendMessageW(mWind, LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED));
  }
  long err = 0;
  if (inRow >= 0 && SendMessageW(mWind, LVM_GETITEMSTATE, WPARAM(inRow), kBoth) != kBoth) {
    err = SelectItem(inRow, true);
    changed = true;
  }
  mQuiet--;
  if (changed) {
    ReportRowsChanged();
  }
  return err;
}

long cStandardListView::CurSelection() {
  if (NumSelected() != 1) {
    return -1;
  }
  return long(SendMessageW(mWind, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

long cStandardListView::TopIndex() {
  return IsWindow() ? long(SendMessageW(mWind, LVM_GETTOPINDEX, 0, 0)) : -1;
}

long cStandardListView::ScrollToItem(long inRow) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return SendMessageW(mWind, LVM_ENSUREVISIBLE, WPARAM(inRow), FALSE) ? 0 : kKSErr_Unmapped;
}

long cStandardListView::ScrollToSelection() {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  long first = long(SendMessageW(mWind, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  return first >= 0 ? ScrollToItem(first) : 0;
}

long cStandardListView::DeleteItem(long inRow) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return SendMessageW(mWind, LVM_DELETEITEM, WPARAM(inRow), 0) ? 0 : kKSErr_IndexOutOfBounds;
}

void cStandardListView::Clear() {
  if (IsWindow()) {
    SendMessageW(mWind, LVM_DELETEALLITEMS, 0, 0);
  }
}

bool cStandardListView::IsChecked(long inRow) {
  if (!IsWindow()) {
    return false;
  }
  LRESULT state = SendMessageW(mWind, LVM_GETITEMSTATE, WPARAM(inRow), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == kStateChecked;
}

long cStandardListView::CheckItem(long inRow, bool inChecked) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  LVITEMW state = {};
  state.state = INDEXTOSTATEIMAGEMASK(inChecked ? kStateChecked : kStateUnchecked);
  state.stateMask = LVIS_STATEIMAGEMASK;
  return SendMessageW(mWind, LVM_SETITEMSTATE, WPARAM(inRow), LPARAM(&state)) ? 0 : kKSErr_Unmapped;
}

long cStandardListView::NumChecked() {
  long count = NumItems();
  long checked = 0;
  for (long row = 0; row < count; row++) {
    checked += IsChecked(row) ? 1 : 0;
  }
  return checked;
}

bool cStandardListView::AllChecked() {
  long count = NumItems();
  return count > 0 && NumChecked() == count;
}

ListViewItem* cStandardListView::ItemOf(long inRow) {
  if (!IsWindow() || inRow < 0) {
    return nullptr;
  }
  LVITEMW row = {};
  row.mask = LVIF_PARAM;
  row.iItem = inRow;
  if (!SendMessageW(mWind, LVM_GETITEMW, 0, LPARAM(&row))) {
    return nullptr;
  }
  return reinterpret_cast<ListViewItem*>(row.lParam);
}

// The platform asks for the texts when it needs them (LVN_GETDISPINFO).
long cStandardListView::InsertRow(std::unique_ptr<ListViewItem> inItem, bool inChecked) {
  if (!IsWindow()) {
    return -1;
  }
  LVITEMW row = {};
  row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  row.iItem = 0;
  row.pszText = LPSTR_TEXTCALLBACKW;
  row.lParam = reinterpret_cast<LPARAM>(inItem.get());
  row.state = INDEXTOSTATEIMAGEMASK(inChecked ? kStateChecked : kStateUnchecked);
  row.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED;
  long index = long(SendMessageW(mWind, LVM_INSERTITEMW, 0, LPARAM(&row)));
  if (index >= 0) {
    inItem.release();  // the row's now
  }
  return index;
}

long cStandardListView::AddItem(const char* inText, unsigned long inParam) {
  auto item = std::make_unique<ListViewItem>(inParam, size_t(NumColumns()) + 1);
  const char* text = inText != nullptr ? inText : "";
  item->SetText(0, text, strlen(text));
  return InsertRow(std::move(item), false);
}
