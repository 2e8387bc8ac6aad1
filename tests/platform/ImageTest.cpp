// Drawing: pictures of every depth, keyed and shaped, sprites of numbered
// frames, and the text drawing of the platform layer (its fills and frames
// are seen in the labels and graphics of the skin tests).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/KSGdiObject.h"
#include "platform/cImage.h"
#include "platform/cSprite.h"
#include "support/BmpWriter.h"
#include "support/Canvas.h"
#include "support/KSTestFolder.h"

namespace {

const uint32 kKey = 0xFF00FF;         // 0xRRGGBB
const uint32 kBackground = 0x336699;  // in no picture
const int kAtX = 3;
const int kAtY = 2;

// A 5 x 3 picture of table indices; index 0 is the key colour.
const std::vector<std::vector<uint32>> kIndices = {
    {0, 1, 2, 3, 0}, {1, 0, 0, 0, 3}, {2, 2, 0, 2, 2}};
const std::vector<uint32> kColors = {kKey, 0xFF0000, 0x00FF00, 0x0000FF};

// The picture in inBits bits per pixel; 1-bit pictures have two colours.
// Indexed pictures give their table's length as its important colours only,
// so that a reader taking the full table for them would read wrong pixels.
// In the 32-bit one the pixels of index 0 have alpha 0 as well.
BmpFile Picture(uint16 inBits) {
  size_t colors = inBits == 1 ? 2 : kColors.size();
  std::vector<std::vector<uint32>> rows = kIndices;
  for (std::vector<uint32>& row : rows) {
    for (uint32& value : row) {
      uint32 alpha = inBits == 32 && value != 0 ? 0xFF000000 : 0;
      value = inBits >= 24 ? kColors[value % colors] | alpha : value % colors;
    }
  }
  std::vector<uint32> table(kColors.begin(), kColors.begin() + (inBits >= 24 ? 0 : colors));
  return BmpFile{5,      3,
                 inBits, 0,
                 table,  PackRows(inBits, {rows[0], rows[1], rows[2]}),
                 0,      uint32(table.size())};
}

// The colour index of picture pixel (inX, inY); 0 is the key colour.
uint32 IndexAt(uint16 inBits, int inX, int inY) {
  return kIndices[inY][inX] % (inBits == 1 ? 2 : kColors.size());
}

// What the canvas must show where the picture was drawn at (kAtX, kAtY).
uint32 Expected(uint16 inBits, int inX, int inY, bool inKeyed) {
  int x = inX - kAtX;
  int y = inY - kAtY;
  if (x < 0 || y < 0 || x >= 5 || y >= 3) {
    return kBackground;
  }
  uint32 index = IndexAt(inBits, x, y);
  return inKeyed && index == 0 ? kBackground : kColors[index];
}

class ImageFiles : public KSTestFolder {
 public:
  std::string Write(const std::string& inName, const BmpFile& inFile) const {
    std::vector<uint8> bytes = inFile.Bytes();
    return MakeFile(inName, std::string(bytes.begin(), bytes.end())).GetPathCStr();
  }
  std::string Path(const std::string& inName) const { return Item(inName).GetPathCStr(); }
};

// Draws at (kAtX, kAtY) in device units, through a context whose origin is
// moved one pixel and whose clipping ends at inClipRight; the context's
// clipping must be as it was afterwards.
void ExpectDrawn(cBaseImage* ioImage, uint16 inBits, bool inKeyed, int inClipRight = 12) {
  Canvas canvas(12, 8, kBackground);
  IntersectClipRect(canvas.DC(), 0, 0, inClipRight, 8);
  SetViewportOrgEx(canvas.DC(), 1, 0, nullptr);
  ASSERT_EQ(0, ioImage->BitBlt(canvas.DC(), kAtX - 1, kAtY));
  RECT clip;
  GetClipBox(canvas.DC(), &clip);
  EXPECT_EQ(inClipRight - 1, clip.right);
  for (int y = 0; y < canvas.Height(); y++) {
    for (int x = 0; x < canvas.Width(); x++) {
      uint32 expected = x < inClipRight ? Expected(inBits, x, y, inKeyed) : kBackground;
      ASSERT_EQ(expected, canvas.Pixel(x, y)) << x << "," << y;
    }
  }
}

const KSRGBA kBlack = {0, 0, 0, 0};

// Where inText lands in a 200 x 60 rectangle with inFormat.
KSRect InkOf(const char* inText, unsigned long inFormat) {
  Canvas canvas(200, 60);
  EXPECT_EQ(0, BaseDrawText(canvas.DC(), inText, KSRect{0, 0, 200, 60}, nullptr, kBlack, inFormat));
  return canvas.Ink();
}

// The region of inImage is its picture's pixels (at (0, 0)) but, when
// inKeyed, those of index 0.
void ExpectShape(const cBaseImage& inImage, uint16 inBits, bool inKeyed) {
  KSGdiObj<HRGN> region = inImage.GetRegion();
  ASSERT_TRUE(region);
  for (int y = -1; y <= 3; y++) {
    for (int x = -1; x <= 5; x++) {
      bool opaque = x >= 0 && y >= 0 && x < 5 && y < 3 && (!inKeyed || IndexAt(inBits, x, y) != 0);
      EXPECT_EQ(opaque, bool(PtInRegion(region.Get(), x, y))) << x << "," << y;
    }
  }
}

}  // namespace

// A 32-bit picture's pixels of alpha 0 are left out whether a colour is keyed
// out or not.
TEST(cBaseImage, DrawsEveryDepthOpaqueAndKeyedAndShapesItAsDrawn) {
  ImageFiles files;
  cImage image;
  Canvas canvas(4, 4);
  EXPECT_EQ(kKSErr_BadState, image.BitBlt(canvas.DC(), 0, 0));
  EXPECT_EQ(kKSErr_BadState, image.MakeTransparent(1, 2, 3));
  EXPECT_FALSE(image.GetRegion());
  EXPECT_NE(0, image.LoadFile(files.Path("missing.bmp").c_str()));
  for (uint16 bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    bool alpha = bits == 32;
    ASSERT_EQ(0, image.LoadFile(files.Write("p.bmp", Picture(bits)).c_str()));
    EXPECT_EQ(5, image.Width());
    EXPECT_EQ(3, image.Height());
    ExpectDrawn(&image, bits, alpha);
    ExpectShape(image, bits, alpha);
    ASSERT_EQ(0, image.MakeTransparent(0xFF, 0, 0xFF));
    ExpectDrawn(&image, bits, true);
    ExpectDrawn(&image, bits, true, 6);
    ExpectShape(image, bits, true);
    // Black switches the key off again.
    ASSERT_EQ(0, image.MakeTransparent(0, 0, 0));
    ExpectDrawn(&image, bits, alpha);
    ExpectShape(image, bits, alpha);
  }
}

// Files are read in blocks: a picture of several comes in whole, and one cut
// short by a byte holds nothing.
TEST(cBaseImage, LoadsFilesOfSeveralBlocksWholeAndRefusesOnesCutShort) {
  const int kWidth = 200;  // 72,000 bytes of rows without padding
  const int kHeight = 120;
  auto color = [](int inX, int inY) {
    return uint32(inX) << 16 | uint32(inY) << 8 | (uint32(inX ^ inY) & 0xFF);
  };
  BmpFile file{kWidth, kHeight, 24, 0, {}, {}};
  for (int y = kHeight - 1; y >= 0; y--) {  // stored bottom row first
    for (int x = 0; x < kWidth; x++) {
      uint32 value = color(x, y);
      file.data.insert(file.data.end(), {uint8(value), uint8(value >> 8), uint8(value >> 16)});
    }
  }
  ImageFiles files;
  cImage image;
  ASSERT_EQ(0, image.LoadFile(files.Write("large.bmp", file).c_str()));
  Canvas canvas(kWidth, kHeight);
  ASSERT_EQ(0, image.BitBlt(canvas.DC(), 0, 0));
  for (int y = 0; y < kHeight; y++) {
    for (int x = 0; x < kWidth; x++) {
      ASSERT_EQ(color(x, y), canvas.Pixel(x, y)) << x << "," << y;
    }
  }
  file.data.pop_back();
  EXPECT_EQ(kKSErr_EOF, image.LoadFile(files.Write("short.bmp", file).c_str()));
  EXPECT_EQ(0, image.Width());
}

TEST(cSprite, NumberedFramesWithGapsStepAndLoop) {
  ImageFiles files;
  // Frames told apart by their width.
  for (int n : {1, 2, 4}) {
    BmpFile frame = Picture(24);
    frame.width = n;
    frame.data = std::vector<uint8>(size_t(frame.height) * ((n * 3 + 3) / 4 * 4), 0x40);
    files.Write("btn0" + std::to_string(n) + ".bmp", frame);
    files.Write("anim000" + std::to_string(n) + ".bmp", frame);
  }
  cSprite sprite;
  ASSERT_EQ(0, sprite.Load(files.Path("btn??.bmp").c_str()));
  ASSERT_EQ(4u, sprite.NumFrames());
  EXPECT_EQ(1, sprite.Width());
  EXPECT_EQ(nullptr, sprite.Frame(2));
  sprite.SetFrame(2);
  EXPECT_EQ(0u, sprite.CurFrame());
  sprite.SetFrame(3);
  EXPECT_EQ(4, sprite.Width());
  sprite.SetFrame(9);
  EXPECT_EQ(3u, sprite.CurFrame());

  // Five '?' take four-digit numbers; a loop past the end stops at the last
  // frame.
  ASSERT_EQ(0, sprite.Load(files.Path("anim?????.bmp").c_str()));
  ASSERT_EQ(4u, sprite.NumFrames());
  sprite.Loop(true, 1, 99);
  std::string steps;
  for (int i = 0; i < 5; i++) {
    sprite.Update();
    steps += std::to_string(sprite.CurFrame());
  }
  EXPECT_EQ("12312", steps);
  sprite.Loop(false);
  sprite.Update();
  EXPECT_EQ(2u, sprite.CurFrame());

  ASSERT_EQ(0, sprite.Load(files.Path("btn01.bmp").c_str()));
  EXPECT_EQ(1u, sprite.NumFrames());
  EXPECT_EQ(kKSErr_FileNotFound, sprite.Load(files.Path("none??.bmp").c_str()));
  EXPECT_EQ(0u, sprite.NumFrames());
  EXPECT_EQ(nullptr, sprite.Frame());
}

TEST(BaseDraw, TextFormatBitsPlaceTheText) {
  KSRect plain = InkOf("Wave", 0);
  EXPECT_LT(plain.left, 10);
  EXPECT_LT(plain.top, 10);
  KSRect box = InkOf("Wave", kTextHCenter | kTextVCenter);
  EXPECT_NEAR(100, (box.left + box.right) / 2, 3);
  EXPECT_NEAR(30, (box.top + box.bottom) / 2, 3);
  box = InkOf("Wave", kTextRight | kTextBottom);
  EXPECT_GT(box.right, 190);
  EXPECT_GT(box.bottom, 50);

  // One line unless multi-line is asked for; then the words wrap.
  const char* longText = "one two three four five six seven eight nine ten eleven twelve";
  KSRect single = InkOf(longText, 0);
  KSRect wrapped = InkOf(longText, kTextMultiLine);
  EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (single.bottom - single.top));
  EXPECT_LT(wrapped.top, 10);
}

TEST(BaseDraw, TextDrawingRestoresTheContext) {
  Canvas canvas(100, 30);
  KSGdiObj<HFONT> font(
      CreateFontW(20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
  HGDIOBJ before = GetCurrentObject(canvas.DC(), OBJ_FONT);
  SetTextColor(canvas.DC(), RGB(1, 2, 3));
  SetBkMode(canvas.DC(), OPAQUE);
  SetBkColor(canvas.DC(), RGB(0, 255, 0));
  EXPECT_EQ(0, BaseDrawText(canvas.DC(), "Hi", KSRect{0, 0, 100, 30}, font.Get(),
                            KSRGBA{0, 0, 255, 0}, 0));
  EXPECT_EQ(before, GetCurrentObject(canvas.DC(), OBJ_FONT));
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.DC()));
  EXPECT_EQ(OPAQUE, GetBkMode(canvas.DC()));

  // Red text, and no green cell behind it (the background stays unpainted).
  int red = 0;
  int green = 0;
  for (int y = 0; y < 30; y++) {
    for (int x = 0; x < 100; x++) {
      red += canvas.Pixel(x, y) == 0xFF0000;
      green += canvas.Pixel(x, y) == 0x00FF00;
    }
  }
  EXPECT_GT(red, 0);
  EXPECT_EQ(0, green);
}

TEST(BaseDraw, MeasuresTextInTheGivenFontAndTheScreenWithoutTitleBar) {
  long width = 0, height = 0, doubleWidth = 0, bigHeight = 0;
  ASSERT_EQ(0, BaseGetTextExtent("ABCxyz", nullptr, &width, &height));
  BaseGetTextExtent("ABCxyzABCxyz", nullptr, &doubleWidth, &height);
  EXPECT_NEAR(2 * width, doubleWidth, 2);
  KSGdiObj<HFONT> big(
      CreateFontW(48, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
  ASSERT_EQ(0, BaseGetTextExtent("ABCxyz", big.Get(), &width, &bigHeight));
  EXPECT_GE(bigHeight, 48);
  BaseGetScreenSize(&width, &height);
  EXPECT_LT(height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GT(height, 0);
}
