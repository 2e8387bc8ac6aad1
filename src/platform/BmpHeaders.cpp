// The information headers of a BMP file. Editors write one of six sizes: the
// 12-byte core header (16-bit sizes, three-byte colour entries), the 40-byte
// one every reader knows, 52 and 56 bytes (the colour masks, then alpha too,
// inside the header) and 108 and 124 bytes (masks, colour space and more,
// which only matter here for the masks).
#include "foundation/UtilStr.h"
#include "platform/BmpLayout.h"

namespace {

bool Refuse(UtilStr* outWhy, const char* inWhy) {
  if (outWhy != nullptr) {
    outWhy->Assign(inWhy);
  }
  return false;
}

// The same, with a number in the text.
bool Refuse(UtilStr* outWhy, const char* inBefore, long inNumber, const char* inAfter) {
  if (outWhy != nullptr) {
    outWhy->Clear();
    outWhy->AppendVA("%s%ld%s", inBefore, inNumber, inAfter);
  }
  return false;
}

// One run of set bits, nothing else.
bool IsContiguous(uint32 inMask) {
  if (inMask == 0) {
    return false;
  }
  while ((inMask & 1) == 0) {
    inMask >>= 1;
  }
  return (inMask & (inMask + 1)) == 0;
}

// Colour masks that can be read: red, green and blue each one run of bits
// inside the pixel, alpha one run or none, no two overlapping.
bool AreUsableMasks(const uint32 (&inMasks)[4], uint16 inBitCount) {
  uint32 pixelBits = inBitCount == 32 ? 0xFFFFFFFFu : (1u << inBitCount) - 1;
  uint32 seen = 0;
  for (int i = 0; i < 4; i++) {
    uint32 mask = inMasks[i];
    if (i == 3 && mask == 0) {
      continue;
    }
    if (!IsContiguous(mask) || (mask & ~pixelBits) != 0 || (mask & seen) != 0) {
      return false;
    }
    seen |= mask;
  }
  return true;
}

void ReadCoreHeader(const uint8* inInfo, BmpLayout* outLayout) {
  outLayout->Width = Le16(inInfo + 4);
  outLayout->Height = Le16(inInfo + 6);
  outLayout->BitCount = Le16(inInfo + 10);
  outLayout->EntryBytes = 3;
}

void ReadInfoHeader(const uint8* inInfo, uint32 inInfoBytes, BmpLayout* outLayout) {
  outLayout->Width = int32(Le32(inInfo + 4));
  int32 height = int32(Le32(inInfo + 8));
  outLayout->TopDown = height < 0;
  // The most negative height has no positive counterpart; it stays negative
  // and is refused as such.
  outLayout->Height = height < 0 && height != INT32_MIN ? -height : height;
  outLayout->BitCount = Le16(inInfo + 14);
  outLayout->Compression = Le32(inInfo + 16);
  outLayout->SizeImage = Le32(inInfo + 20);
  outLayout->ClrUsed = Le32(inInfo + 32);
  outLayout->ClrImportant = Le32(inInfo + 36);
  for (uint32 i = 0; i < 4 && 40 + 4 * (i + 1) <= inInfoBytes; i++) {
    outLayout->Masks[i] = Le32(inInfo + 40 + 4 * i);
  }
  outLayout->MasksFollow = inInfoBytes == 40 && outLayout->Compression == kBmpBitFields;
}

bool IsAcceptedPacking(const BmpLayout& inLayout) {
  switch (inLayout.BitCount) {
    case 1:
    case 24:
      return inLayout.Compression == kBmpUncompressed;
    case 4:
      return inLayout.Compression == kBmpUncompressed || inLayout.Compression == kBmpRLE4;
    case 8:
      return inLayout.Compression == kBmpUncompressed || inLayout.Compression == kBmpRLE8;
    case 16:
    case 32:
      return inLayout.Compression == kBmpUncompressed || inLayout.Compression == kBmpBitFields;
    default:
      return false;
  }
}

// The masks a pixel is read with when the file gives none: 5-5-5 for 16
// bits; for 32 bits the fourth byte, which some writers fill with alpha and
// others leave 0 (BmpKeepRows tells the two apart).
void SetPlainMasks(BmpLayout* ioLayout) {
  if (ioLayout->BitCount == 16) {
    ioLayout->Masks[0] = 0x7C00;
    ioLayout->Masks[1] = 0x03E0;
    ioLayout->Masks[2] = 0x001F;
    ioLayout->Masks[3] = 0;
  } else if (ioLayout->BitCount == 32) {
    ioLayout->Masks[0] = 0x00FF0000;
    ioLayout->Masks[1] = 0x0000FF00;
    ioLayout->Masks[2] = 0x000000FF;
    ioLayout->Masks[3] = 0xFF000000;
  }
}

const char* CompressionName(uint32 inCompression) {
  switch (inCompression) {
    case 0:
      return "none";
    case 1:
      return "RLE8";
    case 2:
      return "RLE4";
    case 3:
      return "bit fields";
    case 4:
      return "JPEG";
    case 5:
      return "PNG";
    default:
      return "unknown";
  }
}

}  // namespace

bool BmpIsKnownInfoSize(uint32 inBytes) {
  return inBytes == 12 || inBytes == 40 || inBytes == 52 || inBytes == 56 || inBytes == 108 ||
         inBytes == 124;
}

bool BmpParseHeaders(uint32 inDataOffset, const uint8* inInfo, uint32 inInfoBytes,
                     BmpLayout* outLayout, UtilStr* outWhy) {
  *outLayout = BmpLayout();
  if (!BmpIsKnownInfoSize(inInfoBytes)) {
    return Refuse(outWhy, "its information header of ", long(inInfoBytes),
                  " bytes is of no kind that is read");
  }
  outLayout->InfoBytes = inInfoBytes;
  outLayout->DataOffset = inDataOffset;
  if (inInfoBytes == 12) {
    ReadCoreHeader(inInfo, outLayout);
  } else {
    ReadInfoHeader(inInfo, inInfoBytes, outLayout);
  }
  if (outLayout->Width <= 0 || outLayout->Height <= 0) {
    return Refuse(outWhy, "its size is not a positive width and height");
  }
  if (!IsAcceptedPacking(*outLayout)) {
    if (outWhy != nullptr) {
      outWhy->Clear();
      outWhy->AppendVA("%d bits per pixel with compression %s is not read",
                       int(outLayout->BitCount), CompressionName(outLayout->Compression));
    }
    return false;
  }
  if (outLayout->TopDown && outLayout->Compression != kBmpUncompressed &&
      outLayout->Compression != kBmpBitFields) {
    return Refuse(outWhy, "run-length data cannot be stored top-down");
  }
  if (outLayout->IsIndexed() && outLayout->ClrUsed > kBmpMaxColors) {
    return Refuse(outWhy, "its colour table of ", long(outLayout->ClrUsed),
                  " entries is longer than 256");
  }
  if (outLayout->Compression != kBmpBitFields) {
    SetPlainMasks(outLayout);
  } else if (!outLayout->MasksFollow && !AreUsableMasks(outLayout->Masks, outLayout->BitCount)) {
    return Refuse(outWhy, "its colour masks are not runs of bits inside the pixel");
  }
  return true;
}

// Masks that follow a 40-byte header are checked when they have been read.
bool BmpCheckMasks(const BmpLayout& inLayout, UtilStr* outWhy) {
  return AreUsableMasks(inLayout.Masks, inLayout.BitCount) ||
         Refuse(outWhy, "its colour masks are not runs of bits inside the pixel");
}
