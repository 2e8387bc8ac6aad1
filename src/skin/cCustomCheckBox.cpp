#include "skin/cCustomCheckBox.h"

cCustomCheckBox::cCustomCheckBox(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardCheckBox(inInfo, inID, inParent), mSelected(false) {}

void cCustomCheckBox::Select(bool inSelected) {
  mSelected = inSelected;
  UpdateFrame();
}

void cCustomCheckBox::UpdateFrame() {
  SetFrame(mSelected ? 1 : 0);
}

void cCustomCheckBox::OnUpdate() {
  UpdateFrame();
}

void cCustomCheckBox::OnClick() {
  Select(!mSelected);
  cStandardCheckBox::OnClick();
}

// The page shapes its controls whenever its mode changes, also when it was
// retracted on its own: the check box follows it there.
void cCustomCheckBox::SetModeShape(unsigned long inMode) {
  if (Function() == kUIExtendRetract) {
    Select(inMode == kModeExtended);
  }
  cStandardCheckBox::SetModeShape(inMode);
}
