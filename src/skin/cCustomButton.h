// cCustomButton: a button drawn from its picture, one frame per state:
// 0 normal, 1 pressed, 2 under the pointer, 3 disabled. The page's 100 ms
// tick (OnUpdate) follows the state; with "AutoRepeat" a button held down
// reports its function again after half a second and then on every tick,
// and once more when it is released.
#pragma once

#include "skin/cStandardButton.h"

// The frames of a skinned button's picture.
enum eButtonFrame { kButtonNormal = 0, kButtonPressed = 1, kButtonHot = 2, kButtonDisabled = 3 };

class cCustomButton : public cStandardButton {
 public:
  cCustomButton(const ControlInfo* inInfo, long inID, cWindow* inParent);

  // Shows the frame of the button's state; a state the picture has no frame
  // for shows the normal frame.
  virtual void UpdateFrame();

  void OnPaint(HDC inDC) override;
  using cStandardButton::OnPaint;
  void OnUpdate() override;
  // The hover frame.
  bool FollowsPointer() override { return true; }
  // Frame 3, when the picture has it.
  bool HasDisabledFrame() override;

 protected:
  long mRepeatDelay;  // ticks until the next repeat while held
};
