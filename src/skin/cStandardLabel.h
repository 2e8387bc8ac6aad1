// cStandardLabel: a text the program draws (an owner-drawn platform button)
// in the skin's colours, border and text format, over its background colour
// or, with "Transparent", over whatever lies behind it. A label with a
// function acts when pressed, not when released.
#pragma once

#include "skin/cControl.h"

class cStandardLabel : public cControl {
 public:
  // Its ControlInfo::Type; a skinned variant derives it.
  static constexpr eControlType kControlType = kControlTypeLabel;

  using cControl::cControl;

  long OnCreate() override;
  // The mode's size, or with "AutoSize" the size of the text in the
  // control's font; placed as any control.
  void GetModePosition(unsigned long inMode, KSRect* outRect) override;
  void OnPaint(HDC inDC) override;
  using cControl::OnPaint;
  // Space and Enter press a label that has a function.
  bool OnDialogKey(unsigned long inVirtualKey, bool inRepeated) override;
  void OnLMouseDown(const KSPoint& inPoint) override;
  // The press has acted already.
  void OnClick() override;

 private:
  // The colour the text is drawn in.
  KSRGBA TextColor();
};
