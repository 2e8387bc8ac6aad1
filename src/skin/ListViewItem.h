// ListViewItem: what lies behind one row of a list view: the caller's value
// and one text per column (and one more), each owned or none. The row owns
// it: the list view frees it when the platform deletes the row.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ListViewItem {
  ListViewItem(unsigned long inParam, size_t inNumTexts) : Param(inParam), SubItems(inNumTexts) {}

  // The text of column inColumn, or null when it has none.
  const char* Text(size_t inColumn) const {
    return inColumn < SubItems.size() && SubItems[inColumn] ? SubItems[inColumn]->c_str() : nullptr;
  }
  // False when the item has no such column.
  bool SetText(size_t inColumn, const char* inText, size_t inLength) {
    if (inColumn >= SubItems.size()) {
      return false;
    }
    SubItems[inColumn].emplace(inText, inLength);
    return true;
  }

  // The length of at most inMaxBytes of inText (inLength bytes) that does
  // not end inside a UTF-8 sequence.
  static size_t WholeChars(const char* inText, size_t inLength, size_t inMaxBytes) {
    if (inLength <= inMaxBytes) {
      return inLength;
    }
    size_t length = inMaxBytes;
    while (length > 0 && (static_cast<unsigned char>(inText[length]) & 0xC0) == 0x80) {
      length--;  // inText[length] continues the character before it
    }
    return length;
  }

  unsigned long Param;
  std::vector<std::optional<std::string>> SubItems;
  bool Checked = false;  // the row's check mark, read into the item for sorting
};

// What the comparison of two rows needs while a list view sorts.
class cStandardListView;
struct SortInfo {
  cStandardListView* ListView;
  long SubItem;  // the column sorted by
  bool Ascending;
};
