#include "skin/cCustomButton.h"

namespace {

// Ticks held before the first repeat.
const long kFirstRepeatTicks = 5;

}  // namespace

cCustomButton::cCustomButton(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardButton(inInfo, inID, inParent), mRepeatDelay(kFirstRepeatTicks) {}

void cCustomButton::UpdateFrame() {
  eButtonFrame frame = kButtonNormal;
  if (LooksDisabled()) {
    frame = kButtonDisabled;
  } else if (IsPressed()) {
    frame = kButtonPressed;
  } else if (ContainsCursor()) {
    frame = kButtonHot;
  }
  // A picture of two frames has no hover frame: it must not stay pressed.
  if (Sprite() != nullptr && Sprite()->Frame(frame) == nullptr) {
    frame = kButtonNormal;
  }
  SetFrame(frame);
}

bool cCustomButton::HasDisabledFrame() {
  return Sprite() != nullptr && Sprite()->Frame(kButtonDisabled) != nullptr;
}

void cCustomButton::OnPaint(HDC inDC) {
  UpdateFrame();
  cStandardButton::OnPaint(inDC);
}

void cCustomButton::OnUpdate() {
  UpdateFrame();
  if (!HasFlag(kFlagAutoRepeat) || !IsPressed()) {
    mRepeatDelay = kFirstRepeatTicks;
    return;
  }
  if (--mRepeatDelay <= 0) {
    mRepeatDelay = 1;
    ReportFunction();
  }
}
