// The window's text and font.
#include <cwchar>

#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"
#include "platform/cBaseWindow.h"

namespace {

// Fonts are sized for 96 pixels per inch whatever the screen says, so that a
// skin looks the same everywhere.
const int kPixelsPerInch = 96;
const int kPointsPerInch = 72;

}  // namespace

long cBaseWindow::GetText(char* outText, unsigned long inSize) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  if (inSize == 0) {
    return kKSErr_Param;
  }
  UtilStr text;
  BaseGetWindowText(mWind, &text);
  BaseCopyWholeChars(text, outText, long(inSize) - 1);
  return 0;
}

long cBaseWindow::SetText(const char* inText) {
  if (!IsWindow()) {
    return kKSErr_BadState;
  }
  return SetWindowTextW(mWind, KSWideText(inText).Get()) ? 0 : KSLastError();
}

long cBaseWindow::InitFont(const char* inFaceName, long inPointSize, unsigned long inFormat) {
  LOGFONTW description = {};
  description.lfHeight = -MulDiv(inPointSize, kPixelsPerInch, kPointsPerInch);
  description.lfWeight = (inFormat & kTextBold) ? FW_BOLD : 0;
  description.lfItalic = (inFormat & kTextItalic) ? TRUE : FALSE;
  description.lfUnderline = (inFormat & kTextUnderline) ? TRUE : FALSE;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = FF_ROMAN | DEFAULT_PITCH;
  // Longer names from a skin are cut to what the description holds.
  wcsncpy(description.lfFaceName, KSWideText(inFaceName).Get(), LF_FACESIZE - 1);
  KSGdiObj<HFONT> font(CreateFontIndirectW(&description));
  if (!font) {
    return kKSErr_Internal;
  }
  if (gHackControlFont == mFont.Get()) {
    gHackControlFont = nullptr;
  }
  mFont = std::move(font);
  if (IsWindow()) {
    SendMessageW(mWind, WM_SETFONT, reinterpret_cast<WPARAM>(mFont.Get()), FALSE);
  }
  gHackControlFont = mFont.Get();
  return 0;
}
