// The list view's texts: rows from engine replies, fields, reading back,
// finding and sorting.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "platform/BaseStrings.h"
#include "skin/ReplyText.h"
#include "skin/SkinHost.h"
#include "skin/cStandardListView.h"

namespace {

// The longest field kept, and the longest name compared when searching.
const size_t kMaxFieldBytes = 511;
const size_t kMaxFoundBytes = 255;

char Lower(char inChar) {
  return inChar >= 'A' && inChar <= 'Z' ? char(inChar - 'A' + 'a') : inChar;
}

// At most inLimit bytes, ignoring the case of Latin letters; a missing
// text is an empty one.
int CompareNoCase(const char* inA, const char* inB, size_t inLimit = SIZE_MAX) {
  const char* a = inA != nullptr ? inA : "";
  const char* b = inB != nullptr ? inB : "";
  for (size_t i = 0; i < inLimit; ++i) {
    char x = Lower(a[i]);
    char y = Lower(b[i]);
    if (x != y || x == 0) {
      return int(static_cast<unsigned char>(x)) - int(static_cast<unsigned char>(y));
    }
  }
  return 0;
}

// Stops a redraw of every row while many change, and redraws once after.
class RedrawPause {
 public:
  explicit RedrawPause(HWND inWind) : mWind(inWind) { SendMessageW(mWind, WM_SETREDRAW, FALSE, 0); }
  ~RedrawPause() {
    SendMessageW(mWind, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(mWind, nullptr, FALSE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND mWind;
};

}  // namespace

// --- Filling ---

void cStandardListView::OnKSMPReply(const char* inReply, eRequestType inType, void*) {
  if (inType == kRequestGetContents && IsWindow()) {
    FillFromReply(inReply);
  }
}

// The platform list redraws itself and updates its scroll bars on every
// insertion unless redrawing is off; with it off a fill costs the same for
// each row.
void cStandardListView::FillFromReply(const char* inReply) {
  mQuiet++;
  {
    RedrawPause pause(mWind);
    Clear();
    long lines = 0;
    for (ReplyList count(inReply); count.Next() != nullptr;) {
      lines++;
    }
    SendMessageW(mWind, LVM_SETITEMCOUNT, WPARAM(lines), 0);
    ReplyList list(inReply);
    while (const char* line = list.Next()) {
      AddReplyRow(line);
    }
    Sort(mSortColumn, mSortAscending);
  }
  mQuiet--;
  ReportRowsChanged();
}

// A line's name is its first field.
void cStandardListView::AddReplyRow(const char* inLine) {
  auto item = std::make_unique<ListViewItem>(0, size_t(NumColumns()) + 1);
  item->SetText(0, "", 0);
  SetFields(item.get(), inLine);
  bool checked = ThemeSaysOn(inLine, long(strcspn(inLine, "\t")));
  InsertRow(std::move(item), checked);
}

// Without a host (and so without themes) every configuration is on.
bool cStandardListView::ThemeSaysOn(const char* inName, long inNameLength) {
  const SkinHost* host = SkinHost::sSkinHost;
  return host == nullptr || host->ThemeHasConfigOn(mConfigType, inName, inNameLength);
}

void cStandardListView::SetFields(ListViewItem* ioItem, const char* inText) {
  size_t column = mInfo.u.ListView.FirstTextColumn;
  const char* field = inText != nullptr ? inText : "";
  for (;; ++column) {
    const char* end = strchr(field, '\r');
    if (end == nullptr) {
      end = field + strcspn(field, "\t");
    }
    size_t length = ListViewItem::WholeChars(field, size_t(end - field), kMaxFieldBytes);
    if (!ioItem->SetText(column, field, length) || *end == 0) {
      break;
    }
    field = end + 1;
  }
}

long cStandardListView::AddSubItems(long inRow, const char* inText, unsigned long inParam) {
  if (inRow < 0) {
    inRow = AddItem("", inParam);
    if (inRow < 0) {
      return kKSErr_Unmapped;
    }
  }
  ListViewItem* item = ItemOf(inRow);
  if (item == nullptr) {
    return kKSErr_BadState;
  }
  SetFields(item, inText);
  SendMessageW(mWind, LVM_REDRAWITEMS, WPARAM(inRow), LPARAM(inRow));
  return 0;
}

long cStandardListView::AddSubItem(long inRow, long inColumn, const char* inText) {
  ListViewItem* item = ItemOf(inRow);
  if (item == nullptr) {
    return kKSErr_BadState;
  }
  const char* text = inText != nullptr ? inText : "";
  if (inColumn < 0 || !item->SetText(size_t(inColumn), text, strlen(text))) {
    return kKSErr_IndexOutOfBounds;
  }
  SendMessageW(mWind, LVM_REDRAWITEMS, WPARAM(inRow), LPARAM(inRow));
  return 0;
}

// --- Reading ---

long cStandardListView::GetItem(long inRow, long inColumn, char* outText, unsigned long inSize) {
  if (outText == nullptr || inSize == 0) {
    return kKSErr_Param;
  }
  *outText = 0;
  ListViewItem* item = ItemOf(inRow);
  if (item == nullptr) {
    return kKSErr_BadState;
  }
  if (const char* text = item->Text(size_t(std::max(inColumn, 0L)))) {
    BaseCopyWholeChars(UtilStr(text), outText, long(inSize) - 1);
  }
  return 0;
}

long cStandardListView::GetItem(long inRow, char* outText, unsigned long inSize) {
  return GetItem(inRow, long(mInfo.u.ListView.FirstTextColumn), outText, inSize);
}

long cStandardListView::GetParam(long inRow, unsigned long* outParam) {
  ListViewItem* item = ItemOf(inRow);
  if (item == nullptr || outParam == nullptr) {
    return item == nullptr ? kKSErr_BadState : kKSErr_Param;
  }
  *outParam = item->Param;
  return 0;
}

long cStandardListView::FindItem(const char* inText) {
  if (inText == nullptr) {
    return -1;
  }
  size_t column = mInfo.u.ListView.FirstTextColumn;
  long count = NumItems();
  for (long row = 0; row < count; row++) {
    ListViewItem* item = ItemOf(row);
    const char* text = item != nullptr ? item->Text(column) : nullptr;
    if (text == nullptr) {
      continue;
    }
    size_t length = std::min(strlen(text), kMaxFoundBytes);  // what is compared of a name
    if (strlen(inText) == length && CompareNoCase(text, inText, length) == 0) {
      return row;
    }
  }
  return -1;
}

// --- Sorting ---

bool cStandardListView::IsCheckColumn(long inColumn) {
  return inColumn == 0 && Sprite() != nullptr;
}

long cStandardListView::Sort(long inColumn, bool inAscending) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  mSortColumn = inColumn;
  mSortAscending = inAscending;
  if (IsCheckColumn(inColumn)) {
    long count = NumItems();
    for (long row = 0; row < count; row++) {
      if (ListViewItem* item = ItemOf(row)) {
        item->Checked = IsChecked(row);
      }
    }
  }
  SortInfo info = {this, inColumn, inAscending};
  if (!SendMessageW(mWind, LVM_SORTITEMS, WPARAM(&info), LPARAM(ListViewCompareProc))) {
    return kKSErr_Unmapped;
  }
  return ScrollToSelection();
}

// Negative when the first row comes first. Rows sorted by the check column
// come checked first (ascending), each group in the order of column 1.
int CALLBACK cStandardListView::ListViewCompareProc(LPARAM inItem1, LPARAM inItem2,
                                                    LPARAM inSortInfo) {
  const auto* first = reinterpret_cast<const ListViewItem*>(inItem1);
  const auto* second = reinterpret_cast<const ListViewItem*>(inItem2);
  const auto* info = reinterpret_cast<const SortInfo*>(inSortInfo);
  if (first == nullptr || second == nullptr) {
    return 0;
  }
  size_t column = size_t(info->SubItem);
  int order = 0;
  if (info->ListView->IsCheckColumn(info->SubItem)) {
    order = int(second->Checked) - int(first->Checked);
    column = 1;
  }
  if (order == 0) {
    order = CompareNoCase(first->Text(column), second->Text(column));
  }
  return info->Ascending ? order : -order;
}
