// Reading BMP files into memory: the headers, the colour table, the stored
// rows and the expansion of run-length data. Works on a stream and on plain
// buffers, with no platform calls; cBaseImage puts the result on screen.
//
// Read: the information headers of 12, 40, 52, 56, 108 and 124 bytes that
// editors write; top-down and bottom-up rows; 1, 4 and 8 bits per pixel with
// a colour table (RLE4 and RLE8 too), 16 bits (5-5-5, 5-6-5 or any masks),
// 24 bits, and 32 bits (plain or masked, with or without alpha). The pixel
// data is found through the file header's data offset.
//
// Whatever the file held, the picture kept is in one of the platform's
// plainest forms: bottom-up, uncompressed rows padded to ScanLen bytes, of
// 1, 4 or 8 bits with a colour table, 24 bits (blue, green, red) or 32 bits
// (blue, green, red, alpha). 16-bit pictures become 24-bit ones.
#pragma once

#include <cstddef>
#include <memory>

#include "foundation/KSTypes.h"

class cStream;
class UtilStr;

// The 40-byte information header, in the platform's layout.
struct BmpInfoHeader {
  uint32 size;
  int32 width;
  int32 height;
  uint16 planes;
  uint16 bitCount;
  uint32 compression;
  uint32 sizeImage;
  int32 xPelsPerMeter;
  int32 yPelsPerMeter;
  uint32 clrUsed;
  uint32 clrImportant;
};

// One colour-table entry, in the platform's byte order.
struct BmpColor {
  uint8 blue;
  uint8 green;
  uint8 red;
  uint8 reserved;
};

constexpr int kBmpMaxColors = 256;

// The information block the platform's DIB calls take: the header followed
// by room for a full colour table.
struct BmpInfo {
  BmpInfoHeader header;
  BmpColor colors[kBmpMaxColors];
};

static_assert(sizeof(BmpInfoHeader) == 40, "the header must keep the file's layout");
static_assert(sizeof(BmpInfo) == 40 + 4 * kBmpMaxColors, "no padding in the information block");

enum eBmpCompression : uint32 {
  kBmpUncompressed = 0,
  kBmpRLE8 = 1,
  kBmpRLE4 = 2,
  kBmpBitFields = 3
};

// A loaded picture. After a successful read the header always says 40 bytes,
// uncompressed and bottom-up. The colour table is as long as the file's (most
// pictures use a few dozen colours), not the 1 KB of a full one.
struct BmpPicture {
  BmpInfoHeader Header{};
  std::unique_ptr<BmpColor[]> Colors;  // NumColors entries
  uint32 NumColors = 0;
  std::unique_ptr<uint8[]> Pixels;  // Header.height rows of ScanLen bytes
  uint32 ScanLen = 0;
  // 32 bits only: some pixel is see-through (alpha 0). A picture whose
  // alpha is 0 everywhere was written without one and is kept opaque.
  bool HasAlpha = false;

  int32 Width() const { return Header.width; }
  int32 Height() const { return Header.height; }
  int BitCount() const { return Header.bitCount; }
  // Table entry inIndex; black past the end of the table.
  BmpColor Color(uint32 inIndex) const {
    return inIndex < NumColors ? Colors[inIndex] : BmpColor{0, 0, 0, 0};
  }
  // The header and the whole table, entries past the picture's own black,
  // as the platform's DIB calls take them.
  void GetInfo(BmpInfo* outInfo) const;
  // The row that is inRow from the top of the picture.
  const uint8* TopRow(int32 inRow) const {
    return Pixels.get() + size_t(Height() - 1 - inRow) * ScanLen;
  }
};

// Bytes per stored row: rows are padded to a multiple of four bytes.
uint64 BmpScanLen(uint64 inWidth, int inBitCount);

// Reads a BMP file from the stream's current position. On failure outPicture
// is left empty, outWhy (when given) says in a few words what is wrong with
// the file, and the result is kKSErr_FormatNotRecognized (not a BMP, or a
// kind of BMP this reader does not take), kKSErr_EOF (the file is cut short),
// kKSErr_BadImageData (run-length data that is corrupt, or a picture far
// larger than the data it is made of) or kKSErr_AllocFailed.
long BmpRead(cStream* inStream, BmpPicture* outPicture, UtilStr* outWhy = nullptr);

// Expand inBytes of RLE8 or RLE4 data into outPixels, which holds
// inHeight rows of inScanLen bytes and must be zeroed. kKSErr_BadImageData
// when the data ends before its end marker or would write past the buffer.
long BmpExpandRLE8(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
                   uint32 inHeight);
long BmpExpandRLE4(const uint8* inData, size_t inBytes, uint8* outPixels, uint32 inScanLen,
                   uint32 inHeight);
