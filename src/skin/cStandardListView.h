// cStandardListView: the report list of the advanced panels (wave shapes,
// color maps, flow fields, particles, sprites, scripts). An engine reply of
// lines fills it, a line's tab-separated fields in the text columns from the
// skin's "FirstTextColumn" on. With a picture, column 0 shows a check mark
// per row (frame 0 unchecked, frame 1 checked): a click on it toggles the
// row's mark and broadcasts lbCh (the row's index as the second parameter);
// a click on column 0's header of a bound list checks all rows, or unchecks
// them when all were checked, and broadcasts AllC (whether they are now
// checked). Other headers sort by their column, a second click the other
// way round. A list bound to a kind of configuration (ConfigType) marks the
// rows of a reply as the current theme has them, checked unless the theme
// says otherwise.
//
// With the focus, Space toggles the focused row's mark as a click on it
// does; the arrows, Home, End and the Page keys move as in any list. The
// mouse wheel scrolls by rows, as the system's wheel setting says.
//
// Rows are counted from 0, as the platform counts them; -1 is "none".
// Filling from a reply costs a constant amount per row: the list is not
// redrawn while it fills and is sorted once.
#pragma once

#include <windows.h>
// The common controls' header needs the platform's types first.
#include <commctrl.h>

#include <memory>

#include "foundation/KSBroadcaster.h"
#include "skin/CXConfigType.h"
#include "skin/ListViewItem.h"
#include "skin/cControl.h"

class cStandardListView : public cControl, public KSBroadcaster {
 public:
  // Its ControlInfo::Type.
  static constexpr eControlType kControlType = kControlTypeListView;

  cStandardListView(const ControlInfo* inInfo, long inID, cWindow* inParent);
  // Frees the rows' items while this object can still hear of them.
  ~cStandardListView() override;

  // The kind of configuration the rows are; kCX_InvalidConfigType until
  // the application binds the list.
  CXConfigType ConfigType() const { return mConfigType; }
  void ConfigType(CXConfigType inType) { mConfigType = inType; }

  // 0 (or false, or -1 for rows) without a window or a row.
  long NumItems();
  long NumSelected();
  bool IsSelected(long inRow);
  long SelectItem(long inRow, bool inSelected);
  // Makes inRow the only selected (and focused) row, or selects none for -1.
  // Touches only the rows whose state changes and reports one change.
  long SelectOnly(long inRow);
  // The only selected row, or -1 (none, or several).
  long CurSelection();
  long TopIndex();
  // Scrolls inRow into view.
  long ScrollToItem(long inRow);
  // Scrolls the first selected row into view.
  long ScrollToSelection();
  long DeleteItem(long inRow);
  void Clear();
  bool IsChecked(long inRow);
  // kKSErr_Unmapped when the platform refuses.
  long CheckItem(long inRow, bool inChecked);
  long NumChecked();
  // Whether the list has rows and every one is checked.
  bool AllChecked();
  // Checks or unchecks every row, as a click on column 0's header does, and
  // broadcasts AllC.
  void SetAllChecked(bool inChecked);
  // The skin's column count (at most 8).
  long NumColumns() const;

  // A new unchecked row at the top with inText in column 0; its index, or -1.
  long AddItem(const char* inText, unsigned long inParam);
  // Replaces the text of one column of a row.
  long AddSubItem(long inRow, long inColumn, const char* inText);
  // Puts the fields of inText (cut at carriage returns, or at tabs when no
  // carriage return is left) into the columns from "FirstTextColumn" on. A
  // negative inRow adds a row with inParam first.
  long AddSubItems(long inRow, const char* inText, unsigned long inParam);
  // At most inSize - 1 bytes of the column's text; a column without text
  // reads as an empty text.
  long GetItem(long inRow, long inColumn, char* outText, unsigned long inSize);
  // The "FirstTextColumn" text.
  long GetItem(long inRow, char* outText, unsigned long inSize);
  long GetParam(long inRow, unsigned long* outParam);
  // The first row whose "FirstTextColumn" text is inText, ignoring case.
  long FindItem(const char* inText);
  // Sorts by inColumn and remembers the order for later fills.
  long Sort(long inColumn, bool inAscending);

  // kRequestGetContents: the reply's lines replace the rows.
  void OnKSMPReply(const char* inReply, eRequestType inType, void* inContext) override;
  // The picture and the font, then the skin's columns.
  long OnCreate() override;
  // One row.
  void OnPaint(HDC inDC, long inItem, KSRect* inItemRect, bool inSelected) override;
  using cControl::OnPaint;
  // Rows as high as a line of text, and at least as high as the check mark.
  void OnMeasureItem(unsigned long* ioItemHeight) override;
  void OnWinNotify(NMHDR* inNotifyHeader) override;
  bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated) override;
  bool OnMouseWheel(long inNotches) override;

 protected:
  CXConfigType mConfigType;
  long mSortColumn;
  bool mSortAscending;

 private:
  static int CALLBACK ListViewCompareProc(LPARAM inItem1, LPARAM inItem2, LPARAM inSortInfo);

  // The item behind inRow, or null.
  ListViewItem* ItemOf(long inRow);
  // Inserts a row for inItem at the top; the row owns it from then on.
  long InsertRow(std::unique_ptr<ListViewItem> inItem, bool inChecked);
  void SetFields(ListViewItem* ioItem, const char* inText);
  void AddReplyRow(const char* inLine);
  void FillFromReply(const char* inReply);
  // What the current theme says about the configuration inName.
  bool ThemeSaysOn(const char* inName, long inNameLength);
  bool IsCheckColumn(long inColumn);
  // The row at inPoint (client coordinates), or -1.
  long RowAt(const POINT& inPoint);
  void ClickCheckMark(const POINT& inPoint);
  // Flips one row's mark and tells the listeners.
  void ToggleRow(long inRow);
  void ToggleChecked();
  // The application hears that rows changed (once for many).
  void ReportRowsChanged();
  void PaintCell(HDC inDC, const ListViewItem& inItem, long inColumn, bool inChecked,
                 const RECT& inCell, COLORREF inBack, COLORREF inInk);

  int mQuiet;  // inside a change of many rows: single rows are not reported
};
