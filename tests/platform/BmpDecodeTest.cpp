#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BmpWriter.h"
#include "MemoryStream.h"
#include "foundation/KSError.h"
#include "platform/BmpDecode.h"
#include "platform/BmpRunScanner.h"

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

const uint32 kKey = 0xFF00FF;  // magenta, as 0xRRGGBB
const uint32 kKeyValue = BmpColorValue(0xFF, 0x00, 0xFF);

}  // namespace

TEST(BmpRead, ReadsEveryDepthWithItsRowPadding) {
  struct Case {
    const char* name;
    BmpFile file;
    uint32 scanLen;
  };
  std::vector<Case> cases = {
      {"1 bit, 33 wide", {33, 2, 1, 0, {0x000000, 0xFFFFFF}, {}}, 8},
      {"4 bits, 3 wide", {3, 2, 4, 0, Gray(16), {}}, 4},
      {"8 bits, 5 wide", {5, 2, 8, 0, Gray(256), {}}, 8},
      {"24 bits, 3 wide", {3, 2, 24, 0, {}, {}}, 12},
      // No colours-used: the colours-important count is the table's length.
      {"8 bits, 16 important colours", {5, 2, 8, 0, Gray(16), {}, 0, 16}, 8},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32> top, bottom;
    for (int x = 0; x < c.file.width; x++) {
      uint32 mask = c.file.bits == 24 ? 0xFFFFFF : (1u << c.file.bits) - 1;
      top.push_back((uint32(x) * 0x3B1D07u + 1) & mask);
      bottom.push_back((uint32(x) * 0x0F2A11u + 5) & mask);
    }
    c.file.data = PackRows(c.file.bits, {top, bottom});
    BmpPicture picture;
    ASSERT_EQ(0, Read(c.file.Bytes(), &picture));
    EXPECT_EQ(c.scanLen, picture.ScanLen);
    EXPECT_EQ(c.file.data, PixelsOf(picture));
    for (size_t i = 0; i < c.file.colors.size(); i++) {
      EXPECT_EQ(c.file.colors[i] & 0xFF, picture.Info.colors[i].blue);
    }
  }
}

TEST(BmpRead, ExpandsRunLengthDataIntoPlainRows) {
  // Run-length data is read only up to the size of the plain picture, so
  // these pictures are tall enough to hold their data.
  struct Case {
    const char* name;
    BmpFile file;               // width, height, bits, compression, colours, data
    std::vector<uint8> stored;  // expected rows, bottom row first
  };
  const std::vector<Case> cases = {
      {"RLE8: run, literal with pad, end of row, move, end",
       {6, 3, 8, 1, Gray(4), {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 1, 2, 7, 0, 1}},
       {1, 1, 1, 2, 3, 1, 0, 0, /**/ 0, 0, 0, 0, 0, 0, 0, 0, /**/ 0, 0, 7, 7, 0, 0, 0, 0}},
      {"RLE8: a run past the row goes on in the next one",
       {4, 2, 8, 1, Gray(4), {6, 5, 0, 1}},
       {5, 5, 5, 5, /**/ 5, 5, 0, 0}},
      {"RLE4: odd run, literal, end of row, move by pixels, run",
       {6, 4, 4, 2, Gray(4), {3, 0x12, 0, 3, 0x45, 0x6F, 0, 0, 0, 2, 3, 0, 2, 0x77, 0, 1}},
       {0x12, 0x10, 0x45, 0x60, /**/ 0, 0, 0x77, 0, /**/ 0, 0, 0, 0, /**/ 0, 0, 0, 0}},
      {"RLE4: a literal of 5 pixels takes three bytes and a pad",
       {6, 2, 4, 2, Gray(4), {0, 5, 0x12, 0x34, 0x5F, 0xEE, 0, 1}},
       {0x12, 0x34, 0x50, 0, /**/ 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpPicture picture;
    ASSERT_EQ(0, Read(c.file.Bytes(), &picture));
    EXPECT_EQ(c.stored, PixelsOf(picture));
    EXPECT_EQ(0u, picture.Info.header.compression);
    EXPECT_EQ(0u, picture.Info.header.sizeImage);
  }
}

TEST(BmpRead, RefusesDamagedFilesAndHoldsNothing) {
  BmpFile plain{4, 2, 8, 0, Gray(4), PackRows(8, {{0, 1, 2, 3}, {3, 2, 1, 0}})};
  BmpFile rle{4, 2, 8, 1, Gray(4), {4, 1, 0, 0, 4, 2, 0, 1}};
  auto with = [](BmpFile inFile, auto inChange) {
    inChange(inFile);
    return inFile.Bytes();
  };
  auto cut = [](std::vector<uint8> inBytes, size_t inSize) {
    inBytes.resize(inSize);
    return inBytes;
  };
  struct Case {
    const char* name;
    std::vector<uint8> bytes;
    long err;
  };
  const std::vector<Case> cases = {
      {"empty", {}, kKSErr_EOF},
      {"cut in the file header", cut(plain.Bytes(), 10), kKSErr_EOF},
      {"cut in the information header", cut(plain.Bytes(), 30), kKSErr_EOF},
      {"cut in the colour table", cut(plain.Bytes(), 14 + 40 + 10), kKSErr_EOF},
      {"cut in the pixels", cut(plain.Bytes(), plain.Bytes().size() - 1), kKSErr_EOF},
      {"wrong magic", with(plain, [](BmpFile& f) { f.magic = 0x4D43; }),
       kKSErr_FormatNotRecognized},
      {"300 colours used", with(plain, [](BmpFile& f) { f.clrUsed = 300; }),
       kKSErr_FormatNotRecognized},
      {"1000 important colours",
       with(plain, [](BmpFile& f) { f.clrUsed = 0, f.clrImportant = 1000; }),
       kKSErr_FormatNotRecognized},
      {"16 bits", with(plain, [](BmpFile& f) { f.bits = 16; }), kKSErr_FormatNotRecognized},
      {"24 bits RLE", with(plain, [](BmpFile& f) { f.bits = 24, f.compression = 1; }),
       kKSErr_FormatNotRecognized},
      {"8 bits RLE4", with(plain, [](BmpFile& f) { f.compression = 2; }),
       kKSErr_FormatNotRecognized},
      {"top-down", with(plain, [](BmpFile& f) { f.height = -2; }), kKSErr_FormatNotRecognized},
      {"no width", with(plain, [](BmpFile& f) { f.width = 0; }), kKSErr_FormatNotRecognized},
      {"RLE run past the end",
       with(rle,
            [](BmpFile& f) {
              f.data = {9, 1, 0, 1};
            }),
       kKSErr_BadImageData},
      {"RLE literal past the end",
       with(rle, [](BmpFile& f) { f.data = {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}; }),
       kKSErr_BadImageData},
      {"RLE literal past the data",
       with(rle,
            [](BmpFile& f) {
              f.data = {0, 5, 1, 2};
            }),
       kKSErr_BadImageData},
      {"RLE moved past the end", with(rle, [](BmpFile& f) { f.data = {0, 2, 0, 2, 1, 1, 0, 1}; }),
       kKSErr_BadImageData},
      {"RLE without its end marker", with(rle, [](BmpFile& f) { f.data = {4, 1, 0, 0, 4, 2}; }),
       kKSErr_BadImageData},
      {"RLE cut inside a move",
       with(rle,
            [](BmpFile& f) {
              f.data = {4, 1, 0, 2};
            }),
       kKSErr_BadImageData},
      {"RLE4 run past the end",
       with(rle,
            [](BmpFile& f) {
              f.bits = 4, f.compression = 2, f.data = {17, 0x11, 0, 1};
            }),
       kKSErr_BadImageData},
      // A header that asks for far more than its data can make is refused
      // before anything is allocated.
      {"RLE picture far larger than its data",
       with(rle,
            [](BmpFile& f) {
              f.width = 30000, f.height = 30000, f.data = {0, 1};
            }),
       kKSErr_BadImageData},
      {"plain picture far larger than its file",
       with(plain, [](BmpFile& f) { f.width = 20000, f.height = 20000, f.bits = 24; }), kKSErr_EOF},
      {"plain picture larger than the platform takes",
       with(plain, [](BmpFile& f) { f.width = 0x7FFFFFFF, f.height = 0x7FFFFFFF, f.bits = 24; }),
       kKSErr_BadImageData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpPicture picture;
    ASSERT_EQ(0, Read(plain.Bytes(), &picture));  // a reload starts from nothing
    EXPECT_EQ(c.err, Read(c.bytes, &picture));
    EXPECT_EQ(nullptr, picture.Pixels.get());
    EXPECT_EQ(0, picture.Width());
  }
}

TEST(BmpRunScanner, FindsTheRunsOfPixelsThatAreNotTheKey) {
  auto runsOf = [](const BmpFile& inFile) {
    BmpPicture picture;
    EXPECT_EQ(0, Read(inFile.Bytes(), &picture));
    std::string runs;
    BmpRunScanner scanner(picture, kKeyValue);
    for (KSRect r; scanner.Next(&r);) {
      runs += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
              std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
    }
    return runs;
  };
  // Rows from the top; runs end at the row's end and start at its start.
  const uint32 k = kKey, a = 0x102030;
  EXPECT_EQ(
      "(2,0-4,1)(5,0-7,1)(0,1-1,2)(6,1-7,2)",
      runsOf({7, 2, 24, 0, {}, PackRows(24, {{k, k, a, a, k, a, a}, {a, k, k, k, k, k, a}})}));
  // 8 bits: by the colour of the table entry.
  EXPECT_EQ("(0,0-1,1)(3,0-5,1)", runsOf({5,
                                          2,
                                          8,
                                          0,
                                          {0xFF0000, kKey, 0x0000FF},
                                          PackRows(8, {{0, 1, 1, 2, 2}, {1, 1, 1, 1, 1}})}));
  // 4 bits cannot be keyed: nothing is opaque.
  EXPECT_EQ("", runsOf({3, 1, 4, 0, Gray(16), PackRows(4, {{1, 2, 3}})}));
}
