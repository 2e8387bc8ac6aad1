// cStandardListBox: a platform list box. Skins cannot name one: list boxes
// live inside other controls (the floating list of a skinned combo box),
// which drive them through these operations. Items are counted from 0, as
// the platform counts them; -1 is "none".
#pragma once

#include "skin/cControl.h"

class cStandardListBox : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeListBox;

  using cControl::cControl;

  // 0 without a window.
  virtual long NumItems();
  // -1 without a window or a selection.
  virtual long CurSelection();
  // The first item shown.
  virtual long TopIndex();
  virtual void TopIndex(long inIndex);
  // How far the list can scroll: the items that do not fit; -1 without a
  // window.
  virtual long ScrollRange();
  virtual long ItemHeight();
  // Whole items that fit in the client area.
  virtual long ItemsVisible();
  virtual void Clear();
  // The new item's index, or -1.
  virtual long AddItem(const char* inText);
  // As cStandardComboBox::FindItem.
  virtual long FindItem(const char* inText, bool inPrefix);
  virtual long DeleteItem(long inIndex);
  // At most inSize - 1 bytes of UTF-8.
  virtual long GetItem(long inIndex, char* outText, unsigned long inSize);
  // As cStandardComboBox::SelectItem.
  virtual long SelectItem(long inIndex);
  // The item under inPoint (client coordinates), or -1 when it is below the
  // last item or outside the list.
  virtual long ItemFromPoint(const KSPoint& inPoint);
};
