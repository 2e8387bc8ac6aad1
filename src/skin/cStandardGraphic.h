// cStandardGraphic: a picture or an etched line or frame (the skin's
// "Type"), drawn by the program in an owner-drawn platform button.
#pragma once

#include "skin/cControl.h"

class cStandardGraphic : public cControl {
 public:
  // Its ControlInfo::Type.
  static constexpr eControlType kControlType = kControlTypeGraphic;

  using cControl::cControl;

  void OnPaint(HDC inDC) override;
  using cControl::OnPaint;
};
