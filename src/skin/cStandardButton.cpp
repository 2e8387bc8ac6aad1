#include "skin/cStandardButton.h"

UtilStr cStandardButton::StringProp() {
  return UtilStr(mInfo.u.Button.Text);
}

bool cStandardButton::IsPressed() {
  return IsWindow() && (SendMessageW(mWind, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

bool cStandardButton::OnDialogKey(unsigned long inVirtualKey, bool inRepeated) {
  return ClickOnKey(inVirtualKey, inRepeated);
}

long cStandardButton::OnCreate() {
  SetText(mInfo.u.Button.Text);
  return cControl::OnCreate();
}
