// Window shapes: regions of opaque pixels, rectangles and unions. A region
// given to the platform belongs to the window from then on.
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/cBaseImage.h"
#include "platform/cBaseWindow.h"

namespace {

// Gives inRegion to inWind as its shape; the region is deleted when the
// window does not take it.
long GiveShape(HWND inWind, KSGdiObj<HRGN>* ioRegion) {
  if (!SetWindowRgn(inWind, ioRegion->Get(), TRUE)) {
    return KSLastError();
  }
  ioRegion->Release();
  return 0;
}

// A copy of inWind's shape, or none when it has none.
KSGdiObj<HRGN> ShapeOf(HWND inWind) {
  KSGdiObj<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
  if (shape && GetWindowRgn(inWind, shape.Get()) == ERROR) {
    shape.Reset();
  }
  return shape;
}

bool IsEmptyShape(HRGN inShape) {
  RECT box;
  return GetRgnBox(inShape, &box) == NULLREGION;
}

}  // namespace

long cBaseWindow::SetShape(cBaseImage* inImage) {
  if (inImage == nullptr) {
    return kKSErr_BadState;
  }
  KSGdiObj<HRGN> region = inImage->GetRegion();
  if (!region) {
    return KSLastError();
  }
  return GiveShape(mWind, &region);
}

long cBaseWindow::SetDefaultShape() {
  long width = 0;
  long height = 0;
  long x, y;
  long err = GetPosition(&x, &y, &width, &height);
  if (err != 0) {
    return err;
  }
  KSGdiObj<HRGN> region(CreateRectRgn(0, 0, width, height));
  if (!region) {
    return KSLastError();
  }
  return GiveShape(mWind, &region);
}

void cBaseWindow::ResetShape() {
  if (IsWindow()) {
    SetWindowRgn(mWind, nullptr, TRUE);
  }
}

long cBaseWindow::CombineShape(cBaseWindow* inOther, long inDX, long inDY) {
  KSGdiObj<HRGN> shape = ShapeOf(mWind);
  if (!shape && !(shape = KSGdiObj<HRGN>(CreateRectRgn(0, 0, 0, 0)))) {
    return KSLastError();
  }
  KSGdiObj<HRGN> other = ShapeOf(inOther->mWind);
  if (other) {
    OffsetRgn(other.Get(), inDX, inDY);
    if (CombineRgn(shape.Get(), shape.Get(), other.Get(), RGN_OR) == ERROR) {
      return KSLastError();
    }
  }
  return GiveShape(mWind, &shape);
}

long cBaseWindow::FollowShapeOf(cBaseWindow* inPage, long inDX, long inDY) {
  ResetShape();
  KSGdiObj<HRGN> shape = ShapeOf(inPage->mWind);
  if (!shape || IsEmptyShape(shape.Get())) {
    return 0;
  }
  OffsetRgn(shape.Get(), inDX, inDY);
  return GiveShape(mWind, &shape);
}
