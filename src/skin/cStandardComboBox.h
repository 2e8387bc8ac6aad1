// cStandardComboBox: a platform drop-down list. Choosing an item reports the
// combo box's function; the application reads the choice through IntProp.
// Engine replies fill it (a list) or choose its item (a name, or an index).
//
// The mouse wheel scrolls the open drop-down list and never changes the
// choice of a closed one (a turn meant for something else would otherwise
// change the engine).
//
// Items are counted from 0, as the platform counts them; -1 is "none".
// Every item operation is virtual, so that a skinned combo box keeps its
// items elsewhere and still reads replies the same way.
#pragma once

#include "skin/cControl.h"

class cStandardComboBox : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeComboBox;

  using cControl::cControl;

  // The chosen item, or -1.
  long IntProp() override { return CurSelection(); }
  using cControl::IntProp;
  // kRequestGetValue: chooses the first item that begins with the reply's
  // name; kRequestGetValueIndex: the item of the reply's index (a name or
  // index that is not in the list leaves nothing chosen). Both enable the
  // combo box. kRequestGetContents: the reply's list replaces the items. A
  // reply without a name or number changes nothing.
  void OnKSMPReply(const char* inReply, eRequestType inType, void* inContext) override;

  // 0 without a window.
  virtual long NumItems();
  virtual long CurSelection();
  virtual void Clear();
  // The new item's index, or -1 (no window, no text, no room).
  virtual long AddItem(const char* inText);
  // The first item equal to inText, or with inPrefix the first that begins
  // with it, ignoring case; -1 when there is none.
  virtual long FindItem(const char* inText, bool inPrefix);
  virtual long DeleteItem(long inIndex);
  // -1 chooses nothing. Any other index that is not in the list also leaves
  // nothing chosen, and gives kKSErr_IndexOutOfBounds.
  virtual long SelectItem(long inIndex);
  virtual long SelectItem(const char* inText, bool inPrefix);
  // At most inSize - 1 bytes of UTF-8; an item of 256 characters or more
  // reads as an empty text.
  virtual long GetItem(long inIndex, char* outText, unsigned long inSize);

  long OnCreate() override;
  // Reports the function.
  void OnSelectionChanged() override;
  bool OnMouseWheel(long inNotches) override;

 private:
  void FillFromList(const char* inReply);
};
