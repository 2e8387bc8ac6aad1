#include "skin/cStandardCheckBox.h"

#include "skin/ReplyText.h"

bool cStandardCheckBox::Selected() {
  return IsWindow() && SendMessageW(mWind, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void cStandardCheckBox::Select(bool inSelected) {
  if (IsWindow()) {
    SendMessageW(mWind, BM_SETCHECK, inSelected ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

// Whatever was asked, the reply is the engine's value of the setting. A
// reply without a number says nothing, and changes nothing.
// A reply that is no number leaves the box unchecked; usable either way.
void cStandardCheckBox::OnKSMPReply(const char* inReply, eRequestType, void*) {
  long value = 0;
  Select(ReplyNumber(inReply, &value) && value != 0);
  Enable(true);
}

bool cStandardCheckBox::OnDialogKey(unsigned long inVirtualKey, bool inRepeated) {
  return ClickOnKey(inVirtualKey, inRepeated);
}

long cStandardCheckBox::AccessibleState() {
  return Selected() ? STATE_SYSTEM_CHECKED : 0;
}

long cStandardCheckBox::OnCreate() {
  SetText(mInfo.u.CheckBox.Text);
  return cControl::OnCreate();
}
