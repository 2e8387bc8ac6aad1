// What a BMP file's headers say about where its parts are and how its pixels
// are packed, whichever of the header sizes it was written with; and turning
// stored rows of any accepted packing into the kept forms of BmpPicture.
#pragma once

#include "platform/BmpDecode.h"

class UtilStr;

// The file's fields are little-endian, whatever the machine.
inline uint16 Le16(const uint8* inBytes) {
  return uint16(inBytes[0] | (inBytes[1] << 8));
}

inline uint32 Le32(const uint8* inBytes) {
  return uint32(inBytes[0]) | (uint32(inBytes[1]) << 8) | (uint32(inBytes[2]) << 16) |
         (uint32(inBytes[3]) << 24);
}

constexpr size_t kBmpFileHeaderBytes = 14;
// The largest information header read (the fifth version's).
constexpr size_t kBmpMaxInfoBytes = 124;

struct BmpLayout {
  uint32 InfoBytes = 0;  // 12, 40, 52, 56, 108 or 124
  int32 Width = 0;
  int32 Height = 0;  // rows, always positive
  bool TopDown = false;
  uint16 BitCount = 0;
  uint32 Compression = kBmpUncompressed;
  uint32 SizeImage = 0;
  uint32 ClrUsed = 0;
  uint32 ClrImportant = 0;
  // Red, green, blue and alpha bits of a 16- or 32-bit pixel; alpha may be 0.
  uint32 Masks[4] = {0, 0, 0, 0};
  // Masks given as three words after a 40-byte header.
  bool MasksFollow = false;
  uint32 EntryBytes = 4;  // of a colour-table entry: 3 after a 12-byte header
  uint32 DataOffset = 0;  // of the pixel data from the file's start; 0: not given

  // Bytes of one row as the file stores it.
  uint64 FileScanLen() const { return ((uint64(Width) * BitCount + 31) / 32) * 4; }
  bool IsIndexed() const { return BitCount <= 8; }
};

// The file header's data offset, and the information header in inInfo
// (inInfoBytes long, its size field first), into outLayout. False, with the
// reason in outWhy, for anything this reader does not take.
bool BmpParseHeaders(uint32 inDataOffset, const uint8* inInfo, uint32 inInfoBytes,
                     BmpLayout* outLayout, UtilStr* outWhy);

// Masks that follow a 40-byte header, once read into inLayout: false, with
// the reason in outWhy, when they cannot be read.
bool BmpCheckMasks(const BmpLayout& inLayout, UtilStr* outWhy);

// Whether an information header of inBytes bytes is one that is read.
bool BmpIsKnownInfoSize(uint32 inBytes);

// Turns inLayout.Height rows of its packing (each FileScanLen bytes, in the
// file's order) into ioPicture's Pixels, ScanLen, header and HasAlpha. Rows
// that need no converting become the pixels themselves.
// kKSErr_AllocFailed when the memory for converted rows cannot be had.
long BmpKeepRows(const BmpLayout& inLayout, std::unique_ptr<uint8[]> ioRows, BmpPicture* ioPicture);
