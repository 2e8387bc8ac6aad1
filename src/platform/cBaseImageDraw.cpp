// Drawing a picture, opaque or with its keyed colour left out, and the region
// of its opaque pixels. A draw is one plain copy from the picture's surface,
// clipped to the opaque pixels when a colour is keyed out: raster operations
// (masks ANDed and XORed in) cost ten times a copy on some platforms.
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/BaseUtils.h"
#include "platform/cBaseImage.h"

namespace {

// Saves a context's state for the scope.
class KSSavedDC {
 public:
  explicit KSSavedDC(HDC inDC) : mDC(inDC), mSaved(SaveDC(inDC)) {}
  ~KSSavedDC() {
    if (mSaved != 0) {
      RestoreDC(mDC, mSaved);
    }
  }
  KSSavedDC(const KSSavedDC&) = delete;
  KSSavedDC& operator=(const KSSavedDC&) = delete;

  explicit operator bool() const { return mSaved != 0; }

 private:
  HDC mDC;
  int mSaved;
};

}  // namespace

long cBaseImage::BitBlt(HDC inDC, long inX, long inY) {
  return Draw(inDC, inX, inY, nullptr);
}

long cBaseImage::BitBltDimmed(HDC inDC, long inX, long inY, const KSRGBA& inToward) {
  return Draw(inDC, inX, inY, &inToward);
}

long cBaseImage::Draw(HDC inDC, long inX, long inY, const KSRGBA* inToward) {
  if (!mImage) {
    return kKSErr_BadState;
  }
  long err = MakeSurface();
  if (err != 0) {
    return err;
  }
  KSSavedDC saved(inDC);
  if (!saved) {
    return KSLastError();
  }
  if (mTransparent && (err = ClipToOpaquePixels(inDC, inX, inY)) != 0) {
    return err;
  }
  KSMemDC source(inDC);
  KSSelectObj select(source.Get(), mImage->Surface.Get());
  if (!source) {
    return KSLastError();
  }
  if (inToward != nullptr) {
    return DrawDimmed(inDC, inX, inY, source.Get(), *inToward);
  }
  if (!::BitBlt(inDC, inX, inY, Width(), Height(), source.Get(), 0, 0, SRCCOPY)) {
    return KSLastError();
  }
  return 0;
}

// The picture at half strength over the colour, made aside and then copied
// in one go, so that the colour alone never shows.
long cBaseImage::DrawDimmed(HDC inDC, long inX, long inY, HDC inSource, const KSRGBA& inToward) {
  long width = Width();
  long height = Height();
  KSMemDC mixed(inDC);
  KSGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(inDC, width, height));
  if (!mixed || !bitmap) {
    return KSLastError();
  }
  KSSelectObj select(mixed.Get(), bitmap.Get());
  BaseFillRectangle(mixed.Get(), KSRect{0, 0, int32(width), int32(height)}, inToward);
  const BLENDFUNCTION half = {AC_SRC_OVER, 0, 128, 0};
  if (!AlphaBlend(mixed.Get(), 0, 0, width, height, inSource, 0, 0, width, height, half) ||
      !::BitBlt(inDC, inX, inY, width, height, mixed.Get(), 0, 0, SRCCOPY)) {
    return KSLastError();
  }
  return 0;
}

// The surface is a 32-bit DIB section: the platform copies from one of those
// many times faster than from a device-dependent bitmap.
long cBaseImage::MakeSurface() {
  WinImage& image = *mImage;
  if (image.Surface) {
    return 0;
  }
  BITMAPINFO info = {};
  info.bmiHeader = {
      sizeof(info.bmiHeader), image.Width(), image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  KSGdiObj<HBITMAP> surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  KSWindowDC screen(nullptr);
  BmpInfo pictureInfo;
  image.GetInfo(&pictureInfo);
  if (!surface || SetDIBits(screen.Get(), surface.Get(), 0, UINT(image.Height()),
                            image.Pixels.get(), reinterpret_cast<const BITMAPINFO*>(&pictureInfo),
                            DIB_RGB_COLORS) != image.Height()) {
    return KSLastError();
  }
  image.Surface = std::move(surface);
  return 0;
}

// Narrows the context's clipping (saved by the caller) to the opaque pixels
// of the picture drawn at (inX, inY).
long cBaseImage::ClipToOpaquePixels(HDC inDC, long inX, long inY) {
  POINT at = {inX, inY};
  LPtoDP(inDC, &at, 1);  // clip regions are in device units
  HRGN region = mImage->OpaqueRegion.Get();
  OffsetRgn(region, at.x, at.y);
  int result = ExtSelectClipRgn(inDC, region, RGN_AND);
  OffsetRgn(region, -at.x, -at.y);
  return result != ERROR ? 0 : KSLastError();
}

KSGdiObj<HRGN> cBaseImage::GetRegion() const {
  KSGdiObj<HRGN> region;
  if (mImage && mTransparent) {
    region.Reset(CreateRectRgn(0, 0, 0, 0));
    if (region &&
        CombineRgn(region.Get(), mImage->OpaqueRegion.Get(), nullptr, RGN_COPY) == ERROR) {
      region.Reset();
    }
  } else if (mImage) {
    region.Reset(CreateRectRgn(0, 0, Width(), Height()));
  }
  return region;
}
