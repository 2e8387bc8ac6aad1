// Loading, keying and releasing a picture.
#include "platform/cBaseImage.h"

#include <new>

#include "files/cStream.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"
#include "platform/BmpRunScanner.h"

cBaseImage::cBaseImage() : mTransparent(false) {}

cBaseImage::~cBaseImage() {
  Free();
}

long cBaseImage::LoadFile(const char* inPath, UtilStr* outWhy) {
  Free();
  cStream stream;
  if (!stream.Open(inPath, "rb")) {
    return KSLastError();
  }
  return LoadStream(&stream, outWhy);
}

long cBaseImage::LoadStream(cStream* inStream, UtilStr* outWhy) {
  Free();
  std::unique_ptr<WinImage> image(new (std::nothrow) WinImage());
  if (!image) {
    return kKSErr_AllocFailed;
  }
  long err = BmpRead(inStream, image.get(), outWhy);
  if (err != 0) {
    return err;
  }
  mImage = std::move(image);
  // Pixels with alpha 0 are left out from the start.
  if (mImage->HasAlpha) {
    mTransparent = MakeOpaqueRegion() == 0;
  }
  return 0;
}

void cBaseImage::Free() {
  mTransparent = false;
  mImage.reset();
}

long cBaseImage::Width() const {
  return mImage ? mImage->Width() : 0;
}

long cBaseImage::Height() const {
  return mImage ? mImage->Height() : 0;
}

long cBaseImage::MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue) {
  if (!mImage) {
    return kKSErr_BadState;
  }
  mTransparent = false;
  mImage->OpaqueRegion.Reset();
  // Black means no keyed colour.
  mImage->Keyed = inRed != 0 || inGreen != 0 || inBlue != 0;
  mImage->TransparentColor = BmpColorValue(inRed, inGreen, inBlue);
  if (!mImage->Keyed && !mImage->HasAlpha) {
    return 0;
  }
  long err = MakeOpaqueRegion();
  mTransparent = err == 0;
  return err;
}

long cBaseImage::MakeOpaqueRegion() {
  const WinImage& image = *mImage;
  KSRect run;
  DWORD count = 0;
  for (BmpRunScanner counter(image, image.Keyed, image.TransparentColor); counter.Next(&run);) {
    count++;
  }
  size_t bytes = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
  std::unique_ptr<uint8[]> buffer(new (std::nothrow) uint8[bytes]);
  if (!buffer) {
    return kKSErr_AllocFailed;
  }
  RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer.get());
  data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, count, 0, {0, 0, 0, 0}};
  SetRect(&data->rdh.rcBound, 0, 0, image.Width(), image.Height());
  RECT* rect = reinterpret_cast<RECT*>(data->Buffer);
  for (BmpRunScanner scanner(image, image.Keyed, image.TransparentColor); scanner.Next(&run);
       rect++) {
    SetRect(rect, run.left, run.top, run.right, run.bottom);
  }
  mImage->OpaqueRegion.Reset(ExtCreateRegion(nullptr, DWORD(bytes), data));
  return mImage->OpaqueRegion ? 0 : kKSErr_AllocFailed;
}
