// Loading, keying and releasing a picture.
#include "platform/cBaseImage.h"

#include <cstring>
#include <new>

#include "files/cStream.h"
#include "foundation/KSError.h"
#include "platform/BmpKeying.h"
#include "platform/KSLastError.h"

cBaseImage::cBaseImage() : mTransparent(false), mDoubleBuffer(true) {}

cBaseImage::~cBaseImage() {
  Free();
}

long cBaseImage::LoadFile(const char* inPath) {
  Free();
  cStream stream;
  if (!stream.Open(inPath, "rb")) {
    return KSLastError();
  }
  return LoadStream(&stream);
}

long cBaseImage::LoadStream(cStream* inStream) {
  Free();
  std::unique_ptr<WinImage> image(new (std::nothrow) WinImage());
  if (!image) {
    return kKSErr_AllocFailed;
  }
  long err = BmpRead(inStream, image.get());
  if (err == 0) {
    mImage = std::move(image);
  }
  return err;
}

void cBaseImage::Free() {
  TransparencyOff();
  mImage.reset();
}

long cBaseImage::Width() const {
  return mImage ? mImage->Width() : 0;
}

long cBaseImage::Height() const {
  return mImage ? mImage->Height() : 0;
}

void cBaseImage::TransparencyOff() {
  mTransparent = false;
  if (mImage) {
    mImage->AndMask.Reset();
  }
}

long cBaseImage::MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue) {
  if (!mImage) {
    return kKSErr_BadState;
  }
  TransparencyOff();
  if (inRed == 0 && inGreen == 0 && inBlue == 0) {
    return 0;  // black means no transparency
  }
  return KeyColor(BmpColorValue(inRed, inGreen, inBlue));
}

long cBaseImage::KeyColor(uint32 inKey) {
  WinImage& image = *mImage;
  image.TransparentColor = inKey;
  switch (image.BitCount()) {
    case 8:
      BmpKeyColorTables(image.Info.colors, inKey, image.XorColors, image.AndColors);
      break;
    case 24:
    case 32: {
      std::unique_ptr<uint8[]> bits(
          new (std::nothrow) uint8[BmpMaskRowBytes(image.Width()) * size_t(image.Height())]());
      if (bits) {
        BmpBuildMask(image, inKey, bits.get());
        image.AndMask.Reset(CreateBitmap(image.Width(), image.Height(), 1, 1, bits.get()));
      }
      if (!image.AndMask) {
        return kKSErr_AllocFailed;
      }
      break;
    }
    default:
      return kKSErr_FormatNotRecognized;
  }
  mTransparent = true;
  return 0;
}
