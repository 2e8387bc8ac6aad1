#include "skin/cStandardLabel.h"

#include "platform/BaseUtils.h"

namespace {

// What a label draws, and measures, of its text.
const unsigned long kDrawnTextSize = 1024;
const unsigned long kMeasuredTextSize = 256;

}  // namespace

long cStandardLabel::OnCreate() {
  SetText(mInfo.u.Label.Text);
  long err = cControl::OnCreate();
  if (err == 0) {
    ReceiveNativeMouse();
  }
  return err;
}

void cStandardLabel::GetModePosition(unsigned long inMode, KSRect* outRect) {
  long width = Mode(inMode).Width;
  long height = Mode(inMode).Height;
  char text[kMeasuredTextSize];
  long textWidth = 0;
  long textHeight = 0;
  if (HasFlag(kFlagAutoSize) && GetText(text, sizeof(text)) == 0 &&
      BaseGetTextExtent(text, Font(), &textWidth, &textHeight) == 0) {
    width = textWidth;
    height = textHeight;
  }
  PlaceInParent(inMode, width, height, outRect);
}

void cStandardLabel::OnPaint(HDC inDC) {
  KSRect rect;
  if (GetClientRect(&rect) != 0) {
    return;
  }
  const TextInfo& look = mInfo.Text;
  if ((look.Format & kTextTransparent) == 0) {
    BaseFillRectangle(inDC, rect, look.BackgroundColor);
  }
  if (look.BorderSize > 0) {
    BaseDrawRectangle(inDC, rect, look.BorderSize, look.BorderColor);
    rect.left += look.BorderSize + 1;
    rect.right -= look.BorderSize + 1;
    rect.top += look.BorderSize;
    rect.bottom -= look.BorderSize;
  }
  char text[kDrawnTextSize];
  if (GetText(text, sizeof(text)) == 0) {
    BaseDrawText(inDC, text, rect, Font(), TextColor(), look.Format);
  }
  PaintFocusMark(inDC);
}

// Disabled, the text is faded halfway into the background.
KSRGBA cStandardLabel::TextColor() {
  KSRGBA color = mInfo.Text.TextColor;
  if (LooksDisabled()) {
    const KSRGBA& back = mInfo.Text.BackgroundColor;
    color = {uint8((color.mB + back.mB) / 2), uint8((color.mG + back.mG) / 2),
             uint8((color.mR + back.mR) / 2), color.mA};
  }
  return color;
}

bool cStandardLabel::OnDialogKey(unsigned long inVirtualKey, bool inRepeated) {
  return Function() != kUINull && ClickOnKey(inVirtualKey, inRepeated);
}

void cStandardLabel::OnLMouseDown(const KSPoint&) {
  ReportFunction();
}

void cStandardLabel::OnClick() {}
