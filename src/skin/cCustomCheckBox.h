// cCustomCheckBox: a check box drawn from its picture, frame 0 unchecked and
// frame 1 checked. The program keeps the state (the owner-drawn platform
// button has none): a click flips it and reports the function, and the
// application reads it with BoolProp. A check box that extends and
// retracts its page always shows the page's mode.
#pragma once

#include "skin/cStandardCheckBox.h"

class cCustomCheckBox : public cStandardCheckBox {
 public:
  cCustomCheckBox(const ControlInfo* inInfo, long inID, cWindow* inParent);

  bool Selected() override { return mSelected; }
  void Select(bool inSelected) override;
  // The frame of the state.
  virtual void UpdateFrame();

  void OnUpdate() override;
  void OnClick() override;
  void SetModeShape(unsigned long inMode) override;

 protected:
  bool mSelected;
};
