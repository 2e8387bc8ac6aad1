#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "platform/BmpDecode.h"
#include "support/BmpWriter.h"
#include "support/MemoryStream.h"

namespace {

long Read(const std::vector<uint8>& inBytes, BmpPicture* outPicture) {
  MemoryStream stream(inBytes.data(), inBytes.size());
  return BmpRead(&stream, outPicture);
}

std::vector<uint8> PixelsOf(const BmpPicture& inPicture) {
  return std::vector<uint8>(inPicture.Pixels.get(),
                            inPicture.Pixels.get() + inPicture.ScanLen * inPicture.Height());
}

std::vector<uint32> Gray(int inCount) {
  std::vector<uint32> colors;
  for (int i = 0; i < inCount; i++) {
    colors.push_back(0x010101u * uint32(i));
  }
  return colors;
}

// Where header fields are in a file.
const size_t kMagicAt = 0, kOffsetAt = 10, kInfoSizeAt = 14, kWidthAt = 18, kHeightAt = 22,
             kBitsAt = 28, kCompressionAt = 30, kColorsUsedAt = 46, kImportantAt = 50;

// inBytes with the little-endian field at inAt set to inValue (two bytes for
// the magic and the bit count, four for the others).
std::vector<uint8> Patched(std::vector<uint8> inBytes, size_t inAt, uint32 inValue) {
  size_t size = inAt == kMagicAt || inAt == kBitsAt ? 2 : 4;
  for (size_t i = 0; i < size; i++) {
    inBytes[inAt + i] = uint8(inValue >> (8 * i));
  }
  return inBytes;
}

std::vector<uint8> Cut(std::vector<uint8> inBytes, size_t inSize) {
  inBytes.resize(inSize);
  return inBytes;
}

std::string FixturePath(const std::string& inName) {
  return std::string(KS_BMP_FIXTURES) + "/" + inName;
}

// Pixel (inX, inY) from the top as 0xRRGGBBAA; alpha is 255 but where a
// 32-bit picture has its own.
uint32 PixelOf(const BmpPicture& inPicture, int32 inX, int32 inY) {
  const uint8* row = inPicture.TopRow(inY);
  int bits = inPicture.BitCount();
  if (bits <= 8) {
    int shift = 8 - bits * (inX % (8 / bits) + 1);
    BmpColor entry = inPicture.Color((row[inX * bits / 8] >> shift) & ((1 << bits) - 1));
    return uint32(entry.red) << 24 | uint32(entry.green) << 16 | uint32(entry.blue) << 8 | 0xFF;
  }
  const uint8* pixel = row + inX * bits / 8;
  uint32 alpha = bits == 32 ? pixel[3] : 0xFF;
  return uint32(pixel[2]) << 24 | uint32(pixel[1]) << 16 | uint32(pixel[0]) << 8 | alpha;
}

}  // namespace

// Every fixture (see make-bmp-fixtures.py) gives the pixels Pillow reads in
// it; where Pillow reads alpha, the see-through pixels are those of alpha 0.
TEST(BmpRead, ReadsThePicturesEditorsWriteAsPillowDoes) {
  std::ifstream list(FixturePath("fixtures.txt"));
  ASSERT_TRUE(list) << "the fixtures are written by the build";
  std::string name;
  int checked = 0;
  while (list >> name) {
    SCOPED_TRACE(name);
    std::ifstream file(FixturePath(name + ".bmp"), std::ios::binary);
    std::vector<uint8> bytes((std::istreambuf_iterator<char>(file)), {});
    BmpPicture picture;
    MemoryStream stream(bytes.data(), bytes.size());
    UtilStr why;
    ASSERT_EQ(0, BmpRead(&stream, &picture, &why)) << why.getCStr();
    std::ifstream expected(FixturePath(name + ".txt"));
    int32 width = 0, height = 0;
    std::string mode;
    expected >> width >> height >> mode;
    ASSERT_EQ(width, picture.Width());
    ASSERT_EQ(height, picture.Height());
    bool alpha = mode == "RGBA";
    EXPECT_EQ(alpha, picture.HasAlpha);
    for (int32 y = 0; y < height; y++) {
      for (int32 x = 0; x < width; x++) {
        std::string hex;
        expected >> hex;
        uint32 want = uint32(std::stoul(hex, nullptr, 16));
        want = alpha ? (want & 0xFFFFFF00) | (want & 0xFF ? 0xFF : 0) : want << 8 | 0xFF;
        uint32 got = PixelOf(picture, x, y);
        got = (got & 0xFFFFFF00) | (got & 0xFF ? 0xFF : 0);
        ASSERT_EQ(want, got) << x << "," << y;
      }
    }
    checked++;
  }
  EXPECT_GE(checked, 20);
}

TEST(BmpRead, ExpandsRunLengthDataIntoPlainRows) {
  // Run-length data is read only up to the size of the plain picture, so
  // these pictures are tall enough to hold their data. (RLE8 runs, literals
  // and row ends are in the fixtures; moves are the RLE4 case's.)
  struct Case {
    const char* name;
    BmpFile file;               // width, height, bits, compression, colours, data
    std::vector<uint8> stored;  // expected rows, bottom row first
  };
  const std::vector<Case> cases = {
      {"RLE8: a run past the row goes on in the next one",
       {4, 2, 8, 1, Gray(4), {6, 5, 0, 1}},
       {5, 5, 5, 5, /**/ 5, 5, 0, 0}},
      {"RLE4: odd run, literal going on mid-byte, end of row, move by pixels, run",
       {6, 4, 4, 2, Gray(4), {3, 0x12, 0, 3, 0x45, 0x6F, 0, 0, 0, 2, 3, 0, 2, 0x77, 0, 1}},
       {0x12, 0x14, 0x56, 0, /**/ 0, 0x07, 0x70, 0, /**/ 0, 0, 0, 0, /**/ 0, 0, 0, 0}},
      {"RLE4: a literal of 5 pixels takes three bytes and a pad",
       {6, 2, 4, 2, Gray(4), {0, 5, 0x12, 0x34, 0x5F, 0xEE, 0, 1}},
       {0x12, 0x34, 0x50, 0, /**/ 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpPicture picture;
    ASSERT_EQ(0, Read(c.file.Bytes(), &picture));
    EXPECT_EQ(c.stored, PixelsOf(picture));
    EXPECT_EQ(0u, picture.Header.compression);
    EXPECT_EQ(0u, picture.Header.sizeImage);
  }
}

TEST(BmpRead, RefusesDamagedFilesAndHoldsNothing) {
  const std::vector<uint8> plain =
      BmpFile{4, 2, 8, 0, Gray(4), PackRows(8, {{0, 1, 2, 3}, {3, 2, 1, 0}})}.Bytes();
  struct Case {
    const char* name;
    std::vector<uint8> bytes;
    long err;
  };
  std::vector<Case> cases = {
      {"empty", {}, kKSErr_EOF},
      {"cut in the file header", Cut(plain, 10), kKSErr_EOF},
      {"cut in the information header", Cut(plain, 30), kKSErr_EOF},
      {"cut in the colour table", Cut(plain, 14 + 40 + 10), kKSErr_EOF},
      {"cut in the pixels", Cut(plain, plain.size() - 1), kKSErr_EOF},
      {"wrong magic", Patched(plain, kMagicAt, 0x4D43), kKSErr_FormatNotRecognized},
      {"300 colours used", Patched(plain, kColorsUsedAt, 300), kKSErr_FormatNotRecognized},
      {"1000 important colours", Patched(Patched(plain, kColorsUsedAt, 0), kImportantAt, 1000),
       kKSErr_FormatNotRecognized},
      {"2 bits", Patched(plain, kBitsAt, 2), kKSErr_FormatNotRecognized},
      {"8 bits RLE4", Patched(plain, kCompressionAt, 2), kKSErr_FormatNotRecognized},
      {"JPEG", Patched(plain, kCompressionAt, 4), kKSErr_FormatNotRecognized},
      {"a 64-byte header", Patched(plain, kInfoSizeAt, 64), kKSErr_FormatNotRecognized},
      {"top-down RLE8", Patched(Patched(plain, kCompressionAt, 1), kHeightAt, uint32(-2)),
       kKSErr_FormatNotRecognized},
      {"pixels inside the headers", Patched(plain, kOffsetAt, 20), kKSErr_FormatNotRecognized},
      {"overlapping masks", BmpFile{1, 1, 16, 3, {0x7C00, 0x3FF, 0x1F}, {0, 0, 0, 0}}.Bytes(),
       kKSErr_FormatNotRecognized},
      // Refused before anything is allocated.
      {"far larger than the file", Patched(Patched(plain, kWidthAt, 20000), kHeightAt, 20000),
       kKSErr_EOF},
      {"larger than the platform takes",
       Patched(Patched(plain, kWidthAt, 0x7FFFFFFF), kHeightAt, 0x7FFFFFFF), kKSErr_BadImageData},
  };
  // Run-length data of a 4 x 2 picture (8-bit rows of four bytes).
  const std::pair<const char*, std::vector<uint8>> runs[] = {
      {"run past the end", {9, 1, 0, 1}},
      {"literal past the data", {0, 5, 1, 2}},
      {"moved past the end", {0, 2, 0, 2, 1, 1, 0, 1}},
      {"no end marker", {4, 1, 0, 0, 4, 2}},
      {"cut inside a move", {4, 1, 0, 2}},
  };
  for (const auto& run : runs) {
    cases.push_back(
        {run.first, BmpFile{4, 2, 8, 1, Gray(4), run.second}.Bytes(), kKSErr_BadImageData});
  }
  cases.push_back({"RLE4 run past the end", BmpFile{4, 2, 4, 2, Gray(4), {17, 0x11, 0, 1}}.Bytes(),
                   kKSErr_BadImageData});
  // A header asking for far more than its data can make.
  cases.push_back({"RLE far larger than its data",
                   BmpFile{30000, 30000, 8, 1, Gray(4), {0, 1}}.Bytes(), kKSErr_BadImageData});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpPicture picture;
    ASSERT_EQ(0, Read(plain, &picture));  // a reload starts from nothing
    MemoryStream stream(c.bytes.data(), c.bytes.size());
    UtilStr why;
    EXPECT_EQ(c.err, BmpRead(&stream, &picture, &why));
    EXPECT_FALSE(why.IsEmpty());
    EXPECT_EQ(nullptr, picture.Pixels.get());
    EXPECT_EQ(0, picture.Width());
  }
}
