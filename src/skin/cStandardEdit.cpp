#include "skin/cStandardEdit.h"

#include "platform/BaseUtils.h"

namespace {

// A field without text is measured with this one.
const char kSampleText[] = "ABCxyz";

}  // namespace

void cStandardEdit::SetReadOnly(bool inReadOnly) {
  if (IsWindow()) {
    SendMessageW(mWind, EM_SETREADONLY, inReadOnly, 0);
  }
}

long cStandardEdit::OnCreate() {
  LONG_PTR style = GetWindowLongPtrW(mWind, GWL_STYLE) & ~LONG_PTR(ES_CENTER | ES_RIGHT);
  if (mInfo.Text.Format & kTextHCenter) {
    style |= ES_CENTER;
  } else if (mInfo.Text.Format & kTextRight) {
    style |= ES_RIGHT;
  }
  SetWindowLongPtrW(mWind, GWL_STYLE, style);
  SetText(mInfo.u.Edit.Text);
  return cControl::OnCreate();
}

void cStandardEdit::GetModePosition(unsigned long inMode, KSRect* outRect) {
  long width = Mode(inMode).Width;
  long height = Mode(inMode).Height;
  bool autoSize = HasFlag(kFlagAutoSize);
  char text[kSkinEditTextSize] = "";
  long textWidth = 0;
  long textHeight = 0;
  if ((autoSize || height == 0) && IsWindow() && GetText(text, sizeof(text)) == 0 &&
      BaseGetTextExtent(text[0] != 0 ? text : kSampleText, Font(), &textWidth, &textHeight) == 0) {
    RECT frame = {0, 0, textWidth, textHeight};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(mWind, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(mWind, GWL_EXSTYLE)));
    height = frame.bottom - frame.top;
    if (autoSize) {
      width = frame.right - frame.left;
    }
  }
  PlaceInParent(inMode, width, height, outRect);
}
