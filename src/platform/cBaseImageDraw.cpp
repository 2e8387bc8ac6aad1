// Drawing a picture, opaque or with its keyed colour left out, and the region
// of its opaque pixels.
#include <cstring>
#include <new>

#include "foundation/KSError.h"
#include "platform/BmpRunScanner.h"
#include "platform/KSLastError.h"
#include "platform/cBaseImage.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// Draws the picture's pixels through inInfo (the picture's own information
// block, or a copy with other colour tables) with one raster operation.
bool DrawPixels(HDC inDC, long inX, long inY, const WinImage& inImage, const BITMAPINFO* inInfo,
                UINT inColorUse, DWORD inRop) {
  int w = inImage.Width();
  int h = inImage.Height();
  int lines = StretchDIBits(inDC, inX, inY, w, h, 0, 0, w, h, inImage.Pixels.get(), inInfo,
                            inColorUse, inRop);
  return lines != 0 && lines != int(GDI_ERROR);
}

// Sets a context's background and text colours for the scope.
class KSColorsHold {
 public:
  KSColorsHold(HDC inDC, COLORREF inBack, COLORREF inText)
      : mDC(inDC), mOldBack(SetBkColor(inDC, inBack)), mOldText(SetTextColor(inDC, inText)) {}
  ~KSColorsHold() {
    SetBkColor(mDC, mOldBack);
    SetTextColor(mDC, mOldText);
  }
  KSColorsHold(const KSColorsHold&) = delete;
  KSColorsHold& operator=(const KSColorsHold&) = delete;

 private:
  HDC mDC;
  COLORREF mOldBack;
  COLORREF mOldText;
};

}  // namespace

long cBaseImage::BitBlt(HDC inDC, long inX, long inY) {
  if (!mImage) {
    return kKSErr_BadState;
  }
  if (!mTransparent) {
    return DrawOpaque(inDC, inX, inY);
  }
  return DrawKeyed(inDC, inX, inY);
}

long cBaseImage::DrawOpaque(HDC inDC, long inX, long inY) const {
  if (!DrawPixels(inDC, inX, inY, *mImage, mImage->PlatformInfo(), DIB_RGB_COLORS, SRCCOPY)) {
    return KSLastError();
  }
  return 0;
}

long cBaseImage::DrawKeyed(HDC inDC, long inX, long inY) const {
  if (!mDoubleBuffer) {
    return DrawKeyedPasses(inDC, inX, inY);
  }
  int w = mImage->Width();
  int h = mImage->Height();
  KSMemDC buffer(inDC);
  KSGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(inDC, w, h));
  if (!buffer || !bitmap) {
    return KSLastError();
  }
  KSSelectObj select(buffer.Get(), bitmap.Get());
  if (!::BitBlt(buffer.Get(), 0, 0, w, h, inDC, inX, inY, SRCCOPY)) {
    return KSLastError();
  }
  long err = DrawKeyedPasses(buffer.Get(), 0, 0);
  if (err == 0 && !::BitBlt(inDC, inX, inY, w, h, buffer.Get(), 0, 0, SRCCOPY)) {
    err = KSLastError();
  }
  return err;
}

long cBaseImage::DrawKeyedPasses(HDC inDC, long inX, long inY) const {
  const WinImage& image = *mImage;
  if (image.BitCount() <= 8) {
    // AND with the table that is white where the key is, then OR the picture
    // with the key turned black.
    BmpInfo keyed = image.Info;
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(&keyed);
    memcpy(keyed.colors, image.AndColors, sizeof(keyed.colors));
    bool ok = DrawPixels(inDC, inX, inY, image, info, image.ColorUse, SRCAND);
    memcpy(keyed.colors, image.XorColors, sizeof(keyed.colors));
    ok = ok && DrawPixels(inDC, inX, inY, image, info, image.ColorUse, SRCPAINT);
    return ok ? 0 : KSLastError();
  }
  // Clear the opaque pixels (mask AND), XOR the picture in, then XOR the key
  // colour back out where the mask is set: transparent pixels end as they
  // were, opaque ones as the picture.
  int w = image.Width();
  int h = image.Height();
  KSMemDC maskDC(inDC);
  if (!maskDC) {
    return KSLastError();
  }
  KSSelectObj selectMask(maskDC.Get(), image.AndMask.Get());
  bool ok;
  {
    KSColorsHold colors(inDC, kWhite, kBlack);
    ok = ::BitBlt(inDC, inX, inY, w, h, maskDC.Get(), 0, 0, SRCAND) &&
         DrawPixels(inDC, inX, inY, image, image.PlatformInfo(), DIB_RGB_COLORS, SRCINVERT);
  }
  if (ok) {
    KSColorsHold colors(inDC, image.TransparentColor, kBlack);
    ok = ::BitBlt(inDC, inX, inY, w, h, maskDC.Get(), 0, 0, SRCINVERT);
  }
  return ok ? 0 : KSLastError();
}

KSGdiObj<HRGN> cBaseImage::GetRegion() const {
  KSGdiObj<HRGN> region;
  if (!mImage || !mTransparent) {
    return region;
  }
  // Count the runs first, so that the rectangle list is allocated once.
  KSRect run;
  DWORD count = 0;
  for (BmpRunScanner counter(*mImage, mImage->TransparentColor, mImage->AndColors);
       counter.Next(&run);) {
    count++;
  }
  size_t bytes = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
  std::unique_ptr<uint8[]> buffer(new (std::nothrow) uint8[bytes]);
  if (!buffer) {
    return region;
  }
  RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer.get());
  data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, count, 0, {0, 0, 0, 0}};
  SetRect(&data->rdh.rcBound, 0, 0, mImage->Width(), mImage->Height());
  RECT* rect = reinterpret_cast<RECT*>(data->Buffer);
  for (BmpRunScanner scanner(*mImage, mImage->TransparentColor, mImage->AndColors);
       scanner.Next(&run); rect++) {
    SetRect(rect, run.left, run.top, run.right, run.bottom);
  }
  region.Reset(ExtCreateRegion(nullptr, DWORD(bytes), data));
  return region;
}
