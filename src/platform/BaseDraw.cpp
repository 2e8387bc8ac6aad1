// Filling, framing, text drawing and measuring, and the screen size.
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/BaseUtils.h"
#include "platform/KSGdiObject.h"
#include "platform/KSWideText.h"

namespace {

COLORREF ColorOf(const KSRGBA& inColor) {
  return RGB(inColor.mR, inColor.mG, inColor.mB);
}

RECT RectOf(const KSRect& inRect) {
  RECT rect = {inRect.left, inRect.top, inRect.right, inRect.bottom};
  return rect;
}

UINT DrawTextFlags(unsigned long inFormat) {
  UINT flags = 0;
  if (inFormat & kTextHCenter) {
    flags |= DT_CENTER;
  }
  if (inFormat & kTextRight) {
    flags |= DT_RIGHT;
  }
  if (inFormat & kTextVCenter) {
    flags |= DT_VCENTER;
  }
  if (inFormat & kTextBottom) {
    flags |= DT_BOTTOM;
  }
  if (inFormat & kTextEndEllipsis) {
    flags |= DT_END_ELLIPSIS;
  }
  if (inFormat & kTextPathEllipsis) {
    flags |= DT_PATH_ELLIPSIS;
  }
  flags |= (inFormat & kTextMultiLine) ? DT_WORDBREAK : DT_SINGLELINE;
  return flags;
}

}  // namespace

void BasePaint3DFace(HDC inDC, const KSRect& inRect) {
  RECT rect = RectOf(inRect);
  FillRect(inDC, &rect, GetSysColorBrush(COLOR_BTNFACE));  // a system brush: not deleted
}

void BaseFillRectangle(HDC inDC, const KSRect& inRect, const KSRGBA& inColor) {
  RECT rect = RectOf(inRect);
  KSGdiObj<HBRUSH> brush(CreateSolidBrush(ColorOf(inColor)));
  FillRect(inDC, &rect, brush.Get());
}

void BaseDrawRectangle(HDC inDC, const KSRect& inRect, long inThickness, const KSRGBA& inColor) {
  if (inThickness <= 0) {
    return;
  }
  RECT rect = RectOf(inRect);
  KSGdiObj<HBRUSH> brush(CreateSolidBrush(ColorOf(inColor)));
  for (long i = 0; i < inThickness; i++) {
    FrameRect(inDC, &rect, brush.Get());
    InflateRect(&rect, -1, -1);
  }
}

void BaseDrawFocusMark(HDC inDC, const KSRect& inRect, const KSRGBA& inColor) {
  COLORREF color = ColorOf(inColor);
  long right = inRect.right - 1;
  long bottom = inRect.bottom - 1;
  if (right < inRect.left || bottom < inRect.top) {
    return;
  }
  for (long x = inRect.left; x <= right; x += 2) {
    SetPixelV(inDC, x, inRect.top, color);
    SetPixelV(inDC, x, bottom, color);
  }
  for (long y = inRect.top; y <= bottom; y += 2) {
    SetPixelV(inDC, inRect.left, y, color);
    SetPixelV(inDC, right, y, color);
  }
}

long BaseDrawText(HDC inDC, const char* inText, const KSRect& inRect, HFONT inFont,
                  const KSRGBA& inColor, unsigned long inFormat) {
  int oldMode = SetBkMode(inDC, TRANSPARENT);
  KSSelectObj font(inDC, inFont);  // none: the context's own font
  COLORREF oldColor = SetTextColor(inDC, ColorOf(inColor));

  KSWideText text(inText);
  RECT rect = RectOf(inRect);
  long err = 0;
  SetLastError(0);
  if (DrawTextW(inDC, text.Get(), text.Length(), &rect, DrawTextFlags(inFormat)) == 0) {
    err = KSLastOSError();
  }

  SetTextColor(inDC, oldColor);
  SetBkMode(inDC, oldMode);
  return err;
}

long BaseGetTextExtent(const char* inText, HFONT inFont, long* outWidth, long* outHeight) {
  KSWindowDC screen(nullptr);
  if (!screen) {
    return KSLastOSError();
  }
  KSSelectObj font(screen.Get(), inFont);
  KSWideText text(inText);
  SIZE size = {};
  if (!GetTextExtentPoint32W(screen.Get(), text.Get(), text.Length(), &size)) {
    return KSLastOSError();
  }
  *outWidth = size.cx;
  *outHeight = size.cy;
  return 0;
}

void BaseGetScreenSize(long* outWidth, long* outHeight) {
  // The work area less a title bar, computed rather than asked for as the
  // full-screen metrics, which some systems report larger than the screen.
  RECT work;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  *outWidth = work.right - work.left;
  *outHeight = work.bottom - work.top - GetSystemMetrics(SM_CYCAPTION);
}
