// cStandardFloatingListBox: the drop-down list of a skinned combo box, a
// topmost popup holding a skinned list and, when the items do not all fit, a
// skinned scroll bar at its right edge. While it is shown it holds the
// mouse: the pointer moving over a row chooses it, a release over a row
// keeps that choice (kUIChanged reaches the owner) and closes the list, and
// a press anywhere outside the rows closes it without a change. When a press
// opened it, that press's release off the rows leaves it open. The mouse
// wheel scrolls it by rows, as the system's wheel setting says.
//
// Items are counted from 0, as in the list box; -1 is "none". The owner
// sees this list as the source of what its parts report (identifier 2 in a
// combo box).
#pragma once

#include <memory>

#include "skin/cCustomListBox.h"
#include "skin/cCustomScrollBar.h"

class cStandardFloatingListBox : public cControl {
 public:
  // Its ControlInfo::Type.
  static constexpr eControlType kControlType = kControlTypeListBox;

  // inInfo: the owner's description of its list: the font, the colours and
  // the scroll bar's pictures. inParent is the owner.
  cStandardFloatingListBox(const ControlInfo* inInfo, long inID, cWindow* inParent);

  // The list box's.
  long NumItems() { return mListBox->NumItems(); }
  long CurSelection() { return mListBox->CurSelection(); }
  long TopIndex() { return mListBox->TopIndex(); }
  long ScrollRange() { return mListBox->ScrollRange(); }
  long ItemHeight() { return mListBox->ItemHeight(); }
  long ItemsVisible() { return mListBox->ItemsVisible(); }
  long FindItem(const char* inText, bool inPrefix) { return mListBox->FindItem(inText, inPrefix); }
  long GetItem(long inIndex, char* outText, unsigned long inSize) {
    return mListBox->GetItem(inIndex, outText, inSize);
  }
  // The list box's, with the scroll bar brought up to date.
  void TopIndex(long inIndex);
  void Clear();
  long AddItem(const char* inText);
  long DeleteItem(long inIndex);
  // Also scrolls the choice into view.
  long SelectItem(long inIndex);
  // The popup's height that shows inRows whole rows.
  long HeightFor(long inRows);
  // Hides the list, keeping the choice and reporting it as a release on a
  // row does (also when the list was hidden).
  void Accept();
  // Hides the list, the choice as it was when it was shown.
  void Dismiss();

  // A hidden topmost popup of size 0 owned by the owner's window, with the
  // list and the scroll bar in it.
  long Create() override;
  // Shown: takes the mouse and scrolls the choice into view. Hidden: lets
  // the mouse go.
  void OnShow(bool inShown) override;
  void OnSize(long inWidth, long inHeight) override;
  // Takes the mouse back after the scroll bar had it; ticks the parts.
  void OnUpdate() override;
  void OnMouseMove(const KSPoint& inPoint) override;
  void OnLMouseDown(const KSPoint& inPoint) override;
  void OnLMouseUp(const KSPoint& inPoint) override;
  void OnLMouseDoubleClick(const KSPoint& inPoint) override;
  // From the scroll bar: the first row shown.
  void OnScrolled(long inPosition) override;
  bool OnMouseWheel(long inNotches) override;
  // Passed to the owner as this list's.
  void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) override;

 protected:
  std::unique_ptr<cCustomListBox> mListBox;      // identifier 0
  std::unique_ptr<cCustomScrollBar> mScrollBar;  // identifier 1
  bool mDoubleClickFlag;                         // the next release is ignored

 private:
  // Range, page, position and visibility of the scroll bar from the list,
  // and the layout again when the scroll bar came or went.
  void UpdateScrollBar();
  // The same without the layout; true when the scroll bar came or went.
  bool SyncScrollBar();
  // The list beside the scroll bar (when shown), the popup's height
  // corrected to the list's whole rows.
  void LayOut(long inWidth, long inHeight);
  // The choice as the top row when it lies outside the rows shown.
  void KeepSelectionInView();
  // The row under inPoint (this popup's client coordinates), or -1.
  long RowAt(const KSPoint& inPoint);
  bool OverScrollBar(const KSPoint& inPoint);
  long ScrollBarWidth();

  bool mLayingOut;        // inside OnSize
  bool mSyncing;          // setting the scroll bar from the list, not the reverse
  long mSelectionAtShow;  // the choice to go back to when nothing is chosen
  // Shown during a press (a label acts on it): its release chooses a row but
  // does not close the list off the rows.
  bool mOpeningPress;
};
