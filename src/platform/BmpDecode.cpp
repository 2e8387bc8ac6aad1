#include "platform/BmpDecode.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "files/cStream.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "platform/BmpLayout.h"

namespace {

const uint16 kBmpMagic = 0x4D42;  // "BM"
const size_t kMaskBytes = 12;     // three masks after a 40-byte header

// A picture may be at most this many times larger than the pixel data the
// file holds. Run-length data reaches about 128 (a two-byte run writes up to
// 255 bytes); more only comes from skipping rows, which skins never need, and
// a header that asks for gigabytes from a few bytes is refused before
// anything is allocated.
const uint64 kMaxExpansion = 256;
// The largest picture the platform's DIB calls take.
const uint64 kMaxPictureBytes = 0x7FFFFFFF;

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
  explicit StreamReader(cStream* inStream) : mStream(inStream), mLeft(0), mDone(0) {
    long at = inStream->Position();
    unsigned long size = inStream->FileSize();
    mLeft = at >= 0 && uint64(at) < size ? size - uint64(at) : 0;
  }

  uint64 Left() const { return mLeft; }
  // Bytes read (or skipped) so far.
  uint64 Done() const { return mDone; }

  bool Read(void* outData, uint64 inBytes) {
    if (inBytes > mLeft) {
      return false;
    }
    mLeft -= inBytes;
    mDone += inBytes;
    if (inBytes <= kDirectBytes) {
      return inBytes == 0 || mStream->Read(outData, (unsigned long)inBytes) == inBytes;
    }
    uint8* out = static_cast<uint8*>(outData);
    for (uint64 done = 0; done < inBytes;) {
      unsigned long count = (unsigned long)std::min<uint64>(inBytes - done, kBlockBytes);
      if (mStream->Read(sBlock, count) != count) {
        return false;
      }
      if (out != nullptr) {
        memcpy(out + done, sBlock, count);
      }
      done += count;
    }
    return true;
  }

  // Passes over inBytes; the gaps files leave are small, so they are read.
  bool Skip(uint64 inBytes) {
    uint8 small[kDirectBytes];
    return inBytes <= kDirectBytes ? Read(small, inBytes) : Read(nullptr, inBytes);
  }

 private:
  static constexpr uint64 kDirectBytes = 4096;
  static constexpr unsigned long kBlockBytes = 64 * 1024;
  static thread_local uint8 sBlock[kBlockBytes];

  cStream* mStream;
  uint64 mLeft;
  uint64 mDone;
};

thread_local uint8 StreamReader::sBlock[kBlockBytes];

long Refused(UtilStr* outWhy, const char* inWhy, long inErr) {
  if (outWhy != nullptr && inWhy != nullptr) {
    outWhy->Assign(inWhy);
  }
  return inErr;
}

// The file header and the information header (and the masks that may follow
// it) into outLayout.
long ReadHeaders(StreamReader* ioFile, BmpLayout* outLayout, UtilStr* outWhy) {
  uint8 head[kBmpFileHeaderBytes];
  uint8 info[kBmpMaxInfoBytes];
  if (!ioFile->Read(head, sizeof(head)) || !ioFile->Read(info, 4)) {
    return Refused(outWhy, "the file is cut short in its headers", kKSErr_EOF);
  }
  if (Le16(head) != kBmpMagic) {
    return Refused(outWhy, "it is not a BMP file", kKSErr_FormatNotRecognized);
  }
  uint32 infoBytes = Le32(info);
  if (BmpIsKnownInfoSize(infoBytes) && !ioFile->Read(info + 4, infoBytes - 4)) {
    return Refused(outWhy, "the file is cut short in its headers", kKSErr_EOF);
  }
  if (!BmpParseHeaders(Le32(head + 10), info, infoBytes, outLayout, outWhy)) {
    return kKSErr_FormatNotRecognized;
  }
  if (outLayout->MasksFollow) {
    uint8 masks[kMaskBytes];
    if (!ioFile->Read(masks, sizeof(masks))) {
      return Refused(outWhy, "the file is cut short in its headers", kKSErr_EOF);
    }
    for (int i = 0; i < 3; i++) {
      outLayout->Masks[i] = Le32(masks + 4 * i);
    }
    if (!BmpCheckMasks(*outLayout, outWhy)) {
      return kKSErr_FormatNotRecognized;
    }
  }
  return 0;
}

// Entries in the file's colour table: as many as the header says, or fewer
// when the pixel data starts sooner (some writers say 256 and store fewer);
// -1 when the header asks for more than a table can hold.
long ColorTableLength(const BmpLayout& inLayout, uint64 inTableStart) {
  if (!inLayout.IsIndexed()) {
    return 0;
  }
  uint64 length = inLayout.ClrUsed != 0 ? inLayout.ClrUsed : inLayout.ClrImportant;
  if (length == 0) {
    length = 1u << inLayout.BitCount;
  }
  if (length > kBmpMaxColors) {
    return -1;
  }
  if (inLayout.DataOffset > inTableStart) {
    length = std::min<uint64>(length, (inLayout.DataOffset - inTableStart) / inLayout.EntryBytes);
  }
  return long(length);
}

long ReadColorTable(StreamReader* ioFile, const BmpLayout& inLayout, BmpPicture* outPicture,
                    UtilStr* outWhy) {
  long colors = ColorTableLength(inLayout, ioFile->Done());
  if (colors < 0) {
    return Refused(outWhy, "its colour table is longer than 256 entries",
                   kKSErr_FormatNotRecognized);
  }
  if (colors == 0) {
    return 0;
  }
  uint8 table[kBmpMaxColors * 4];
  if (!ioFile->Read(table, uint64(colors) * inLayout.EntryBytes)) {
    return Refused(outWhy, "the file is cut short in its colour table", kKSErr_EOF);
  }
  outPicture->Colors.reset(new (std::nothrow) BmpColor[size_t(colors)]);
  if (!outPicture->Colors) {
    return kKSErr_AllocFailed;
  }
  outPicture->NumColors = uint32(colors);
  for (long i = 0; i < colors; i++) {
    const uint8* entry = table + i * inLayout.EntryBytes;
    outPicture->Colors[i] = BmpColor{entry[0], entry[1], entry[2], 0};
  }
  return 0;
}

// From the end of the colour table to where the data offset says the pixels
// start. An offset of 0 means they follow at once.
long SkipToPixels(StreamReader* ioFile, const BmpLayout& inLayout, UtilStr* outWhy) {
  if (inLayout.DataOffset == 0 || inLayout.DataOffset == ioFile->Done()) {
    return 0;
  }
  if (inLayout.DataOffset < ioFile->Done()) {
    return Refused(outWhy, "its pixel data would start inside its headers",
                   kKSErr_FormatNotRecognized);
  }
  if (!ioFile->Skip(inLayout.DataOffset - ioFile->Done())) {
    return Refused(outWhy, "the file ends before its pixel data", kKSErr_EOF);
  }
  return 0;
}

// Reads the run-length data that follows and expands it into outRows.
long ReadRunLengthRows(StreamReader* ioFile, const BmpLayout& inLayout, uint64 inPictureBytes,
                       std::unique_ptr<uint8[]>* outRows, UtilStr* outWhy) {
  uint64 dataBytes = inLayout.SizeImage != 0 ? inLayout.SizeImage : ioFile->Left();
  if (inPictureBytes > dataBytes * kMaxExpansion) {
    return Refused(outWhy, "its size is far larger than its data", kKSErr_BadImageData);
  }
  if (dataBytes > ioFile->Left()) {
    return Refused(outWhy, "the file is cut short in its pixel data", kKSErr_EOF);
  }
  outRows->reset(NewBytes(inPictureBytes, true));
  std::unique_ptr<uint8[]> packed(NewBytes(dataBytes, false));
  if (!*outRows || !packed) {
    return kKSErr_AllocFailed;
  }
  if (!ioFile->Read(packed.get(), dataBytes)) {
    return Refused(outWhy, "the file is cut short in its pixel data", kKSErr_EOF);
  }
  auto expand = inLayout.Compression == kBmpRLE8 ? BmpExpandRLE8 : BmpExpandRLE4;
  long err = expand(packed.get(), size_t(dataBytes), outRows->get(), uint32(inLayout.FileScanLen()),
                    uint32(inLayout.Height));
  return Refused(outWhy, err != 0 ? "its run-length data is damaged" : nullptr, err);
}

// Reads the stored rows into outRows; a file whose image size says less
// than the picture leaves the rows it does not fill zero.
long ReadPlainRows(StreamReader* ioFile, const BmpLayout& inLayout, uint64 inPictureBytes,
                   std::unique_ptr<uint8[]>* outRows, UtilStr* outWhy) {
  uint64 dataBytes = inLayout.SizeImage != 0 && inLayout.SizeImage < inPictureBytes
                         ? inLayout.SizeImage
                         : inPictureBytes;
  if (inPictureBytes > dataBytes * kMaxExpansion) {
    return Refused(outWhy, "its size is far larger than its data", kKSErr_BadImageData);
  }
  if (dataBytes > ioFile->Left()) {
    return Refused(outWhy, "the file is cut short in its pixel data", kKSErr_EOF);
  }
  outRows->reset(NewBytes(inPictureBytes, dataBytes < inPictureBytes));
  if (!*outRows) {
    return kKSErr_AllocFailed;
  }
  if (!ioFile->Read(outRows->get(), dataBytes)) {
    return Refused(outWhy, "the file is cut short in its pixel data", kKSErr_EOF);
  }
  return 0;
}

long ReadPixels(StreamReader* ioFile, const BmpLayout& inLayout, BmpPicture* outPicture,
                UtilStr* outWhy) {
  uint64 height = uint64(inLayout.Height);
  uint64 keptScan =
      BmpScanLen(uint64(inLayout.Width), inLayout.BitCount == 16 ? 24 : inLayout.BitCount);
  if (inLayout.FileScanLen() > kMaxPictureBytes / height || keptScan > kMaxPictureBytes / height) {
    return Refused(outWhy, "it is larger than a picture can be", kKSErr_BadImageData);
  }
  uint64 pictureBytes = height * inLayout.FileScanLen();
  std::unique_ptr<uint8[]> rows;
  bool runLength = inLayout.Compression == kBmpRLE8 || inLayout.Compression == kBmpRLE4;
  long err = runLength ? ReadRunLengthRows(ioFile, inLayout, pictureBytes, &rows, outWhy)
                       : ReadPlainRows(ioFile, inLayout, pictureBytes, &rows, outWhy);
  return err != 0 ? err : BmpKeepRows(inLayout, std::move(rows), outPicture);
}

long ReadPicture(cStream* inStream, BmpPicture* outPicture, UtilStr* outWhy) {
  StreamReader file(inStream);
  BmpLayout layout;
  long err = ReadHeaders(&file, &layout, outWhy);
  if (err == 0) {
    err = ReadColorTable(&file, layout, outPicture, outWhy);
  }
  if (err == 0) {
    err = SkipToPixels(&file, layout, outWhy);
  }
  return err != 0 ? err : ReadPixels(&file, layout, outPicture, outWhy);
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
  outPicture->HasAlpha = false;
}

}  // namespace

long BmpRead(cStream* inStream, BmpPicture* outPicture, UtilStr* outWhy) {
  Clear(outPicture);
  if (outWhy != nullptr) {
    outWhy->Clear();
  }
  long err = ReadPicture(inStream, outPicture, outWhy);
  if (err != 0) {
    Clear(outPicture);
  }
  return err;
}
