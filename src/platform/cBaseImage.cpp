// Loading, keying and releasing a picture.
#include "platform/cBaseImage.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "files/KSFile.h"
#include "files/cStream.h"
#include "foundation/KSError.h"
#include "platform/BmpRunScanner.h"

namespace {

// A picture file read through the platform's file handle, in blocks through
// a buffer that every picture file of the thread reuses. Reading straight into
// a picture's freshly allocated memory costs several times a read into memory
// used before plus the copy out of it; and the C library's streams cost a
// buffer allocated per file and seeks to learn the size.
class PictureFileStream : public cStream {
 public:
  long Open(const char* inPath) {
    long err = mFile.OpenFile(inPath, kKSReadRandomAccess);
    mSize = err == 0 ? mFile.Size() : 0;
    return err;
  }

  long Position() override { return long(mAt); }
  unsigned long FileSize() override { return (unsigned long)mSize; }

  unsigned long Read(void* outData, unsigned long inBytes) override {
    uint8* out = static_cast<uint8*>(outData);
    size_t done = 0;
    while (done < inBytes && (mNext < mEnd || Fill())) {
      size_t count = std::min<size_t>(inBytes - done, mEnd - mNext);
      memcpy(out + done, sBuffer + mNext, count);
      mNext += count;
      done += count;
    }
    mAt += done;
    return (unsigned long)done;
  }

 private:
  static constexpr long kBufferBytes = 64 * 1024;

  bool Fill() {
    long read = 0;
    mFile.Read(sBuffer, kBufferBytes, &read);
    mNext = 0;
    mEnd = read > 0 ? size_t(read) : 0;
    return mEnd > 0;
  }

  static thread_local uint8 sBuffer[kBufferBytes];
  KSFile mFile;
  int64 mSize = 0;
  size_t mAt = 0;
  size_t mNext = 0;  // the buffered bytes not yet read
  size_t mEnd = 0;
};

thread_local uint8 PictureFileStream::sBuffer[kBufferBytes];

}  // namespace

cBaseImage::cBaseImage() : mTransparent(false) {}

cBaseImage::~cBaseImage() {
  Free();
}

long cBaseImage::LoadFile(const char* inPath) {
  Free();
  PictureFileStream stream;
  long err = stream.Open(inPath);
  return err == 0 ? LoadStream(&stream) : err;
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
  if (inRed == 0 && inGreen == 0 && inBlue == 0) {
    return 0;  // black means no transparency
  }
  if (!BmpRunScanner::CanKey(mImage->BitCount())) {
    return kKSErr_FormatNotRecognized;
  }
  mImage->TransparentColor = BmpColorValue(inRed, inGreen, inBlue);
  long err = MakeOpaqueRegion();
  mTransparent = err == 0;
  return err;
}

long cBaseImage::MakeOpaqueRegion() {
  const WinImage& image = *mImage;
  KSRect run;
  DWORD count = 0;
  for (BmpRunScanner counter(image, image.TransparentColor); counter.Next(&run);) {
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
  for (BmpRunScanner scanner(image, image.TransparentColor); scanner.Next(&run); rect++) {
    SetRect(rect, run.left, run.top, run.right, run.bottom);
  }
  mImage->OpaqueRegion.Reset(ExtCreateRegion(nullptr, DWORD(bytes), data));
  return mImage->OpaqueRegion ? 0 : kKSErr_AllocFailed;
}
