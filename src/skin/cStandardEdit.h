// cStandardEdit: a platform edit field holding the skin's text, aligned by
// its text format ("HCenter" or "Right"). The application reads and writes
// the text with GetText and SetText.
#pragma once

#include "skin/cControl.h"

class cStandardEdit : public cControl {
 public:
  // Its ControlInfo::Type.
  static constexpr eControlType kControlType = kControlTypeEdit;

  using cControl::cControl;

  virtual void SetReadOnly(bool inReadOnly);

  long OnCreate() override;
  // The mode's size; with "AutoSize", or when the mode gives no height, one
  // line of the text in the control's font with the field's frame decides
  // the height (and with "AutoSize" the width).
  void GetModePosition(unsigned long inMode, KSRect* outRect) override;
};
