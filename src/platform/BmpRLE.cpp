// Expansion of run-length BMP data. Both forms share their escapes:
//   n > 0, v      a run of n pixels of value v
//   0, 0          end of row: on to the start of the next row
//   0, 1          end of picture
//   0, 2, dx, dy  move dx pixels right and dy rows up
//   0, n >= 3     n literal pixels, then a pad byte to an even length
// RLE4 packs two pixels in a byte, the first in the high nibble; a run
// alternates the high and low nibble of v, a literal takes its pixels nibble
// by nibble from (n + 1) / 2 bytes. Runs, literals and moves count pixels, so
// a run may start in the middle of a byte.
#include <cstring>

#include "foundation/KSError.h"
#include "platform/BmpDecode.h"

namespace {

class RleExpander {
 public:
  RleExpander(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
              uint32 inHeight, bool inFourBit)
      : mIn(inData),
        mInBytes(inBytes),
        mOut(outPixels),
        mStride(uint64(inScanLen) * (inFourBit ? 2 : 1)),
        mPixels(mStride * inHeight),
        mFourBit(inFourBit) {}

  long Expand() {
    while (HasInput(2)) {
      uint8 count = mIn[mAt];
      uint8 value = mIn[mAt + 1];
      mAt += 2;
      bool ok = true;
      if (count > 0) {
        ok = Run(count, value);
      } else if (value == 0) {
        mRowStart = Advance(mRowStart, mStride);
        mPos = mRowStart;
      } else if (value == 1) {
        return 0;
      } else if (value == 2) {
        ok = Move();
      } else {
        ok = Literal(value);
      }
      if (!ok) {
        return kKSErr_BadImageData;
      }
    }
    return kKSErr_BadImageData;  // no end-of-picture marker
  }

 private:
  bool HasInput(size_t inBytes) const { return mAt <= mInBytes && mInBytes - mAt >= inBytes; }

  // Whether inCount pixels can be written at the write position.
  bool HasRoom(uint64 inCount) const { return mPos <= mPixels && mPixels - mPos >= inCount; }

  // Moves a position forward; anything past the end of the picture stays
  // just past it, where no write fits.
  uint64 Advance(uint64 inPos, uint64 inCount) const {
    return inPos <= mPixels && inCount <= mPixels - inPos ? inPos + inCount : mPixels + 1;
  }

  void Put(uint8 inValue) {
    if (!mFourBit) {
      mOut[mPos++] = inValue;
      return;
    }
    uint8& byte = mOut[mPos / 2];
    byte = (mPos & 1) == 0 ? uint8((byte & 0x0F) | (inValue << 4)) : uint8((byte & 0xF0) | inValue);
    mPos++;
  }

  bool Run(uint8 inCount, uint8 inValue) {
    if (!HasRoom(inCount)) {
      return false;
    }
    if (!mFourBit) {
      memset(mOut + mPos, inValue, inCount);
      mPos += inCount;
      return true;
    }
    for (uint8 i = 0; i < inCount; i++) {
      Put((i & 1) == 0 ? uint8(inValue >> 4) : uint8(inValue & 0x0F));
    }
    return true;
  }

  bool Move() {
    if (!HasInput(2)) {
      return false;
    }
    uint8 dx = mIn[mAt];
    uint8 dy = mIn[mAt + 1];
    mAt += 2;
    uint64 rows = uint64(dy) * mStride;
    mPos = Advance(Advance(mPos, dx), rows);
    mRowStart = Advance(mRowStart, rows);
    return true;
  }

  bool Literal(uint8 inCount) {
    size_t bytes = mFourBit ? (inCount + 1u) / 2 : inCount;
    if (!HasInput(bytes) || !HasRoom(inCount)) {
      return false;
    }
    for (uint8 i = 0; i < inCount; i++) {
      uint8 byte = mIn[mAt + (mFourBit ? i / 2 : i)];
      Put(!mFourBit ? byte : (i & 1) == 0 ? uint8(byte >> 4) : uint8(byte & 0x0F));
    }
    mAt += bytes + (bytes & 1);
    return true;
  }

  const uint8* mIn;
  size_t mInBytes;
  size_t mAt = 0;
  uint8* mOut;
  uint64 mStride;  // pixels from one row's start to the next
  uint64 mPixels;  // in the whole picture, padding included
  uint64 mPos = 0;
  uint64 mRowStart = 0;
  bool mFourBit;
};

}  // namespace

long BmpExpandRLE8(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
                   uint32 inHeight) {
  return RleExpander(inData, inBytes, outPixels, inScanLen, inHeight, false).Expand();
}

long BmpExpandRLE4(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
                   uint32 inHeight) {
  return RleExpander(inData, inBytes, outPixels, inScanLen, inHeight, true).Expand();
}
