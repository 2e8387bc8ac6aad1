// cCustomComboBox: a combo box drawn from the skin: a label showing the
// current choice, a drop button showing the combo box's picture, and a
// floating list of the items that opens below the combo box when the label
// or the button is clicked. Choosing an item in the list shows it in the
// label and reports the combo box's function; the application reads the
// choice with IntProp. Engine replies fill and choose as in the platform
// combo box.
//
// With the focus: Enter, Space and F4 open the list; while it is open the
// arrows, Page keys, Home and End move through it, Enter or Space take the
// item and Escape (or Tab) closes it unchanged. While it is closed those
// keys choose the item at once. A choice is reported as one made in the
// list with the mouse. The mouse wheel scrolls the open list and does
// nothing to a closed one.
#pragma once

#include <memory>

#include "skin/cCustomButton.h"
#include "skin/cCustomLabel.h"
#include "skin/cStandardComboBox.h"
#include "skin/cStandardFloatingListBox.h"

class cCustomComboBox : public cStandardComboBox {
 public:
  // inInfo describes a combo box; its "ListBoxHeight" is the tallest the
  // list opens.
  cCustomComboBox(const ControlInfo* inInfo, long inID, cWindow* inParent);

  // The floating list's items.
  long NumItems() override { return mListBox->NumItems(); }
  long CurSelection() override { return mListBox->CurSelection(); }
  void Clear() override;
  long AddItem(const char* inText) override { return mListBox->AddItem(inText); }
  long FindItem(const char* inText, bool inPrefix) override;
  long DeleteItem(long inIndex) override;
  long SelectItem(long inIndex) override;
  using cStandardComboBox::SelectItem;
  long GetItem(long inIndex, char* outText, unsigned long inSize) override;
  // As the platform combo box, then the label shows the choice.
  void OnKSMPReply(const char* inReply, eRequestType inType, void* inContext) override;

  // A hidden window of size 0 with the label, the button and the list.
  long Create() override;
  // The mode's width; as tall as the button's picture with "AutoSize",
  // else the mode's height.
  void GetModePosition(unsigned long inMode, KSRect* outRect) override;
  void OnSize(long inWidth, long inHeight) override;
  // The parts cover the combo box: it draws nothing itself.
  void OnPaint(HDC inDC) override;
  using cStandardComboBox::OnPaint;
  void OnUpdate() override;
  // Clicks on the label or the button open or close the list; a choice in
  // the list is reported as the combo box's function; anything else goes up.
  void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) override;
  bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated) override;
  bool OnMouseWheel(long inNotches) override;
  // The chosen item's text.
  bool AccessibleValue(UtilStr* outValue) override;

  // Whether the list is open.
  bool IsListShown() { return mListBox->IsVisible(); }

 protected:
  std::unique_ptr<cCustomLabel> mLabel;                // identifier 0
  std::unique_ptr<cCustomButton> mButton;              // identifier 1
  std::unique_ptr<cStandardFloatingListBox> mListBox;  // identifier 2

 private:
  void ToggleList();
  // The item inVirtualKey moves to from the current choice; false for
  // another key.
  bool KeyTarget(unsigned long inVirtualKey, long* outItem);
  // The label shows the chosen item's text, or nothing.
  void UpdateSelection();
};
