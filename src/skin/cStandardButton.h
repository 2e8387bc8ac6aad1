// cStandardButton: a platform push button (owner-drawn with "Custom", for the
// skinned button) showing the skin's text. A click reports its function.
#pragma once

#include "skin/cControl.h"

class cStandardButton : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeButton;

  using cControl::cControl;

  // The skin's text (a web link button carries its address here).
  UtilStr StringProp() override;
  using cControl::StringProp;
  // Whether the button is held down now.
  virtual bool IsPressed();

  // Space and Enter click it.
  bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated) override;

  long OnCreate() override;
};
