// Stored rows into the kept forms: rows bottom-up, 16-bit pixels widened to
// 24 bits and 32-bit pixels of any masks put in blue, green, red, alpha order.
#include <algorithm>
#include <new>
#include <utility>

#include "foundation/KSError.h"
#include "platform/BmpLayout.h"

namespace {

// One colour channel of a masked pixel, scaled to eight bits the way the
// common readers do: the channel's value times 255 over its largest value.
class Channel {
 public:
  explicit Channel(uint32 inMask) : mMask(inMask), mShift(0), mMax(0) {
    if (inMask != 0) {
      while (((inMask >> mShift) & 1) == 0) {
        mShift++;
      }
      mMax = inMask >> mShift;
    }
  }

  // inDefault when the pixel has no such channel.
  uint8 Of(uint32 inPixel, uint8 inDefault) const {
    return mMask == 0 ? inDefault : uint8(uint64((inPixel & mMask) >> mShift) * 255 / mMax);
  }

 private:
  uint32 mMask;
  int mShift;
  uint32 mMax;
};

uint32 PixelAt(const uint8* inRow, int32 inX, int inBitCount) {
  if (inBitCount == 16) {
    const uint8* p = inRow + 2 * inX;
    return uint32(p[0] | (p[1] << 8));
  }
  const uint8* p = inRow + 4 * inX;
  return uint32(p[0]) | (uint32(p[1]) << 8) | (uint32(p[2]) << 16) | (uint32(p[3]) << 24);
}

// Masked 16- or 32-bit rows into 24-bit (blue, green, red) or 32-bit (blue,
// green, red, alpha) rows; the row order stays the file's.
void Unmask(const BmpLayout& inLayout, const uint8* inRows, uint8* outRows, uint32 inOutScan) {
  const Channel red(inLayout.Masks[0]), green(inLayout.Masks[1]), blue(inLayout.Masks[2]),
      alpha(inLayout.Masks[3]);
  const int outBytes = inLayout.BitCount == 16 ? 3 : 4;
  const uint64 inScan = inLayout.FileScanLen();
  for (int32 y = 0; y < inLayout.Height; y++) {
    const uint8* in = inRows + uint64(y) * inScan;
    uint8* out = outRows + uint64(y) * inOutScan;
    for (int32 x = 0; x < inLayout.Width; x++, out += outBytes) {
      uint32 pixel = PixelAt(in, x, inLayout.BitCount);
      out[0] = blue.Of(pixel, 0);
      out[1] = green.Of(pixel, 0);
      out[2] = red.Of(pixel, 0);
      if (outBytes == 4) {
        out[3] = alpha.Of(pixel, 255);
      }
    }
  }
}

// Whether any pixel of a 32-bit picture is see-through. A picture with
// alpha 0 everywhere was written by a program that leaves the fourth byte
// empty: it is made opaque.
bool SettleAlpha(uint8* ioPixels, uint64 inBytes) {
  bool anyClear = false;
  bool allClear = true;
  for (uint64 i = 3; i < inBytes; i += 4) {
    anyClear = anyClear || ioPixels[i] == 0;
    allClear = allClear && ioPixels[i] == 0;
  }
  if (allClear) {
    for (uint64 i = 3; i < inBytes; i += 4) {
      ioPixels[i] = 255;
    }
    return false;
  }
  return anyClear;
}

void FlipRows(uint8* ioRows, uint64 inScan, int32 inHeight) {
  for (int32 top = 0, bottom = inHeight - 1; top < bottom; top++, bottom--) {
    uint8* a = ioRows + uint64(top) * inScan;
    std::swap_ranges(a, a + inScan, ioRows + uint64(bottom) * inScan);
  }
}

}  // namespace

long BmpKeepRows(const BmpLayout& inLayout, std::unique_ptr<uint8[]> ioRows,
                 BmpPicture* ioPicture) {
  int keptBits = inLayout.BitCount == 16 ? 24 : inLayout.BitCount;
  uint64 scanLen = BmpScanLen(uint64(inLayout.Width), keptBits);
  uint64 bytes = scanLen * uint64(inLayout.Height);
  std::unique_ptr<uint8[]> pixels;
  if (inLayout.BitCount == 16 || inLayout.BitCount == 32) {
    pixels.reset(new (std::nothrow) uint8[size_t(bytes)]());
    if (!pixels) {
      return kKSErr_AllocFailed;
    }
    Unmask(inLayout, ioRows.get(), pixels.get(), uint32(scanLen));
    ioRows.reset();
  } else {
    pixels = std::move(ioRows);  // already in the kept form
  }
  if (inLayout.TopDown) {
    FlipRows(pixels.get(), scanLen, inLayout.Height);
  }
  ioPicture->HasAlpha = keptBits == 32 && SettleAlpha(pixels.get(), bytes);
  BmpInfoHeader& header = ioPicture->Header;
  header = BmpInfoHeader{};
  header.size = 40;
  header.width = inLayout.Width;
  header.height = inLayout.Height;
  header.planes = 1;
  header.bitCount = uint16(keptBits);
  header.compression = kBmpUncompressed;
  ioPicture->Pixels = std::move(pixels);
  ioPicture->ScanLen = uint32(scanLen);
  return 0;
}
