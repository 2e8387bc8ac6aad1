// cCustomListBox: the list inside a floating list box (the drop-down of a
// skinned combo box). The platform list box keeps the items; the program
// draws them in the skin's colours and font, one line each, the chosen item
// with the colours swapped. A change of the choice by the user reports
// kUIChanged to the parent.
#pragma once

#include "skin/cStandardListBox.h"

class cCustomListBox : public cStandardListBox {
 public:
  cCustomListBox(const ControlInfo* inInfo, long inID, cWindow* inParent);

  // The picture and the font, then rows as high as a line of that font.
  long OnCreate() override;
  void OnPaint(HDC inDC, long inItem, KSRect* inItemRect, bool inSelected) override;
  using cStandardListBox::OnPaint;
  // A line of text in the list's font.
  void OnMeasureItem(unsigned long* ioItemHeight) override;
  void OnSelectionChanged() override;
};
