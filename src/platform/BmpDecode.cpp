#include "platform/BmpDecode.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "files/cStream.h"
#include "foundation/KSError.h"

namespace {

const uint16 kBmpMagic = 0x4D42;  // "BM"
const size_t kFileHeaderBytes = 14;
const size_t kInfoHeaderBytes = 40;

// A picture may be at most this many times larger than the pixel data the
// file holds. Run-length data reaches about 128 (a two-byte run writes up to
// 255 bytes); more only comes from skipping rows, which skins never need, and
// a header that asks for gigabytes from a few bytes is refused before
// anything is allocated.
const uint64 kMaxExpansion = 256;
// The largest picture the platform's DIB calls take.
const uint64 kMaxPictureBytes = 0x7FFFFFFF;

uint16 Le16(const uint8* inBytes) {
  return uint16(inBytes[0] | (inBytes[1] << 8));
}

uint32 Le32(const uint8* inBytes) {
  return uint32(inBytes[0]) | (uint32(inBytes[1]) << 8) | (uint32(inBytes[2]) << 16) |
         (uint32(inBytes[3]) << 24);
}

BmpInfoHeader ParseInfoHeader(const uint8* inBytes) {
  BmpInfoHeader header;
  header.size = Le32(inBytes);
  header.width = int32(Le32(inBytes + 4));
  header.height = int32(Le32(inBytes + 8));
  header.planes = Le16(inBytes + 12);
  header.bitCount = Le16(inBytes + 14);
  header.compression = Le32(inBytes + 16);
  header.sizeImage = Le32(inBytes + 20);
  header.xPelsPerMeter = int32(Le32(inBytes + 24));
  header.yPelsPerMeter = int32(Le32(inBytes + 28));
  header.clrUsed = Le32(inBytes + 32);
  header.clrImportant = Le32(inBytes + 36);
  return header;
}

bool IsAcceptedFormat(const BmpInfoHeader& inHeader) {
  if (inHeader.width <= 0 || inHeader.height <= 0 || inHeader.clrUsed > kBmpMaxColors) {
    return false;
  }
  switch (inHeader.bitCount) {
    case 1:
    case 24:
      return inHeader.compression == kBmpUncompressed;
    case 4:
      return inHeader.compression == kBmpUncompressed || inHeader.compression == kBmpRLE4;
    case 8:
      return inHeader.compression == kBmpUncompressed || inHeader.compression == kBmpRLE8;
    default:
      return false;
  }
}

// Entries in the file's colour table; -1 when the header asks for more than
// a table can hold.
long ColorTableLength(const BmpInfoHeader& inHeader) {
  uint32 length = inHeader.clrUsed != 0 ? inHeader.clrUsed : inHeader.clrImportant;
  if (length == 0) {
    length = inHeader.bitCount <= 8 ? 1u << inHeader.bitCount : 0;
  }
  return length <= kBmpMaxColors ? long(length) : -1;
}

uint8* NewBytes(uint64 inBytes, bool inZeroed) {
  return inZeroed ? new (std::nothrow) uint8[size_t(inBytes)]()
                  : new (std::nothrow) uint8[size_t(inBytes)];
}

// Reads a stream from where it stands and counts what is left of it. The
// size is asked for once, first: asking later would seek, and a seek throws
// away what the stream has buffered. Large reads go through one block that
// every picture of the thread reuses: reading straight into a picture's fresh
// memory costs several times a read into memory used before plus the copy.
class StreamReader {
 public:
  explicit StreamReader(cStream* inStream) : mStream(inStream), mLeft(0) {
    long at = inStream->Position();
    unsigned long size = inStream->FileSize();
    mLeft = at >= 0 && uint64(at) < size ? size - uint64(at) : 0;
  }

  uint64 Left() const { return mLeft; }

  bool Read(void* outData, uint64 inBytes) {
    if (inBytes > mLeft) {
      return false;
    }
    mLeft -= inBytes;
    if (inBytes <= kDirectBytes) {
      return inBytes == 0 || mStream->Read(outData, (unsigned long)inBytes) == inBytes;
    }
    uint8* out = static_cast<uint8*>(outData);
    for (uint64 done = 0; done < inBytes;) {
      unsigned long count = (unsigned long)std::min<uint64>(inBytes - done, kBlockBytes);
      if (mStream->Read(sBlock, count) != count) {
        return false;
      }
      memcpy(out + done, sBlock, count);
      done += count;
    }
    return true;
  }

 private:
  static constexpr uint64 kDirectBytes = 4096;
  static constexpr unsigned long kBlockBytes = 64 * 1024;
  static thread_local uint8 sBlock[kBlockBytes];

  cStream* mStream;
  uint64 mLeft;
};

thread_local uint8 StreamReader::sBlock[kBlockBytes];

// Reads the pixel data that follows the colour table into outPicture->Pixels,
// expanding run-length data.
long ReadPixels(StreamReader* ioFile, BmpPicture* outPicture) {
  BmpInfoHeader& header = outPicture->Header;
  uint64 scanLen = BmpScanLen(uint64(header.width), header.bitCount);
  if (scanLen > kMaxPictureBytes / uint64(header.height)) {
    return kKSErr_BadImageData;
  }
  uint64 pictureBytes = uint64(header.height) * scanLen;
  uint64 dataBytes =
      header.sizeImage != 0 && header.sizeImage < pictureBytes ? header.sizeImage : pictureBytes;
  if (pictureBytes > dataBytes * kMaxExpansion) {
    return kKSErr_BadImageData;
  }
  outPicture->ScanLen = uint32(scanLen);
  if (dataBytes > ioFile->Left()) {
    return kKSErr_EOF;
  }
  // Rows the data does not fill stay zero.
  bool compressed = header.compression != kBmpUncompressed;
  std::unique_ptr<uint8[]> pixels(NewBytes(pictureBytes, compressed || dataBytes < pictureBytes));
  if (!pixels) {
    return kKSErr_AllocFailed;
  }
  if (!compressed) {
    if (!ioFile->Read(pixels.get(), dataBytes)) {
      return kKSErr_EOF;
    }
  } else {
    std::unique_ptr<uint8[]> packed(NewBytes(dataBytes, false));
    if (!packed) {
      return kKSErr_AllocFailed;
    }
    if (!ioFile->Read(packed.get(), dataBytes)) {
      return kKSErr_EOF;
    }
    auto expand = header.compression == kBmpRLE8 ? BmpExpandRLE8 : BmpExpandRLE4;
    long err = expand(packed.get(), size_t(dataBytes), pixels.get(), outPicture->ScanLen,
                      uint32(header.height));
    if (err != 0) {
      return err;
    }
    header.compression = kBmpUncompressed;
    header.sizeImage = 0;
  }
  outPicture->Pixels = std::move(pixels);
  return 0;
}

long ReadPicture(cStream* inStream, BmpPicture* outPicture) {
  StreamReader file(inStream);
  uint8 bytes[kInfoHeaderBytes];
  if (!file.Read(bytes, kFileHeaderBytes)) {
    return kKSErr_EOF;
  }
  if (Le16(bytes) != kBmpMagic) {
    return kKSErr_FormatNotRecognized;
  }
  if (!file.Read(bytes, kInfoHeaderBytes)) {
    return kKSErr_EOF;
  }
  BmpInfoHeader& header = outPicture->Header;
  header = ParseInfoHeader(bytes);
  long colors = ColorTableLength(header);
  if (!IsAcceptedFormat(header) || colors < 0) {
    return kKSErr_FormatNotRecognized;
  }
  // Whatever larger header the file had, what we keep is the 40-byte one.
  header.size = kInfoHeaderBytes;
  if (colors > 0) {
    outPicture->Colors.reset(new (std::nothrow) BmpColor[size_t(colors)]);
    if (!outPicture->Colors) {
      return kKSErr_AllocFailed;
    }
    outPicture->NumColors = uint32(colors);
    if (!file.Read(outPicture->Colors.get(), uint64(colors) * sizeof(BmpColor))) {
      return kKSErr_EOF;
    }
  }
  return ReadPixels(&file, outPicture);
}

}  // namespace

uint64 BmpScanLen(uint64 inWidth, int inBitCount) {
  switch (inBitCount) {
    case 1:
      return ((inWidth + 31) & ~uint64(31)) / 8;
    case 4:
      return ((inWidth + 7) & ~uint64(7)) / 2;
    case 8:
      return (inWidth + 3) & ~uint64(3);
    case 24:
      return ((inWidth + 1) * 3) & ~uint64(3);
    default:
      return inWidth * 4;
  }
}

void BmpPicture::GetInfo(BmpInfo* outInfo) const {
  outInfo->header = Header;
  memset(outInfo->colors, 0, sizeof(outInfo->colors));
  if (NumColors > 0) {
    memcpy(outInfo->colors, Colors.get(), NumColors * sizeof(BmpColor));
  }
}

namespace {

void Clear(BmpPicture* outPicture) {
  memset(&outPicture->Header, 0, sizeof(outPicture->Header));
  outPicture->Colors.reset();
  outPicture->NumColors = 0;
  outPicture->Pixels.reset();
  outPicture->ScanLen = 0;
}

}  // namespace

long BmpRead(cStream* inStream, BmpPicture* outPicture) {
  Clear(outPicture);
  long err = ReadPicture(inStream, outPicture);
  if (err != 0) {
    Clear(outPicture);
  }
  return err;
}
