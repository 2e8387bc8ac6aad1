#include <gtest/gtest.h>

#include <algorithm>

#include "platform/BaseUtils.h"

namespace {

const KSRGBA kWhite = {255, 255, 255, 0};
const KSRGBA kBlack = {0, 0, 0, 0};

// A 32-bit bitmap selected into a memory context, readable pixel by pixel.
class Canvas {
 public:
  Canvas(int inWidth, int inHeight) : mWidth(inWidth), mHeight(inHeight) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = inWidth;
    info.bmiHeader.biHeight = -inHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    mDC = CreateCompatibleDC(nullptr);
    mBitmap =
        CreateDIBSection(mDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&mBits), nullptr, 0);
    mOldBitmap = SelectObject(mDC, mBitmap);
    BaseFillRectangle(mDC, All(), kWhite);
  }
  ~Canvas() {
    SelectObject(mDC, mOldBitmap);
    DeleteObject(mBitmap);
    DeleteDC(mDC);
  }

  HDC DC() const { return mDC; }
  KSRect All() const { return KSRect{0, 0, mWidth, mHeight}; }

  // 0x00RRGGBB.
  uint32 Pixel(int inX, int inY) const {
    GdiFlush();
    return mBits[inY * mWidth + inX] & 0xFFFFFF;
  }

  // The box around every pixel that is not white; false when there is none.
  bool InkBox(KSRect* outBox) const {
    *outBox = KSRect{mWidth, mHeight, -1, -1};
    for (int y = 0; y < mHeight; y++) {
      for (int x = 0; x < mWidth; x++) {
        if (Pixel(x, y) != 0xFFFFFF) {
          outBox->left = std::min(outBox->left, x);
          outBox->top = std::min(outBox->top, y);
          outBox->right = std::max(outBox->right, x + 1);
          outBox->bottom = std::max(outBox->bottom, y + 1);
        }
      }
    }
    return outBox->right > 0;
  }

 private:
  int mWidth;
  int mHeight;
  HDC mDC;
  HBITMAP mBitmap;
  HGDIOBJ mOldBitmap;
  uint32* mBits = nullptr;
};

// Where the ink of inText lands in a 200 x 60 canvas with inFormat.
KSRect InkOf(const char* inText, unsigned long inFormat) {
  Canvas canvas(200, 60);
  EXPECT_EQ(0, BaseDrawText(canvas.DC(), inText, canvas.All(), nullptr, kBlack, inFormat));
  KSRect box;
  EXPECT_TRUE(canvas.InkBox(&box));
  return box;
}

}  // namespace

TEST(BaseDraw, FillsAndFramesInTheGivenColour) {
  Canvas canvas(20, 20);
  BaseFillRectangle(canvas.DC(), KSRect{2, 2, 6, 6}, KSRGBA{0x10, 0x20, 0x30, 0x99});
  EXPECT_EQ(0x302010u, canvas.Pixel(2, 2));
  EXPECT_EQ(0x302010u, canvas.Pixel(5, 5));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(6, 6));  // right and bottom are exclusive

  // Two nested frames: the outer two rings are coloured, the inside is not.
  BaseDrawRectangle(canvas.DC(), KSRect{8, 8, 18, 18}, 2, kBlack);
  EXPECT_EQ(0u, canvas.Pixel(8, 12));
  EXPECT_EQ(0u, canvas.Pixel(9, 12));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(10, 12));
  EXPECT_EQ(0u, canvas.Pixel(17, 17));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(18, 18));

  Canvas empty(20, 20);
  BaseDrawRectangle(empty.DC(), empty.All(), 0, kBlack);
  BaseDrawRectangle(empty.DC(), empty.All(), -3, kBlack);
  KSRect box;
  EXPECT_FALSE(empty.InkBox(&box));

  BasePaint3DFace(empty.DC(), empty.All());
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ((uint32(GetRValue(face)) << 16) | (GetGValue(face) << 8) | GetBValue(face),
            empty.Pixel(10, 10));
}

TEST(BaseDraw, TextFormatBitsPlaceTheText) {
  KSRect left = InkOf("Wave", 0);
  KSRect centred = InkOf("Wave", kTextHCenter);
  KSRect right = InkOf("Wave", kTextRight);
  EXPECT_LT(left.left, 10);
  EXPECT_LT(left.top, 10);
  EXPECT_NEAR(100, (centred.left + centred.right) / 2, 3);
  EXPECT_GT(right.right, 190);

  KSRect middle = InkOf("Wave", kTextVCenter);
  KSRect bottom = InkOf("Wave", kTextBottom);
  EXPECT_NEAR(30, (middle.top + middle.bottom) / 2, 3);
  EXPECT_GT(bottom.bottom, 50);

  // One line unless multi-line is asked for; then words wrap onto more lines.
  const char* longText = "one two three four five six seven eight nine ten eleven twelve";
  KSRect single = InkOf(longText, 0);
  KSRect wrapped = InkOf(longText, kTextMultiLine);
  EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (single.bottom - single.top));
  EXPECT_LT(wrapped.left, 10);
  EXPECT_LT(wrapped.top, 10);

  // The ellipsis keeps a long line inside the rectangle.
  Canvas canvas(200, 60);
  BaseDrawText(canvas.DC(), longText, KSRect{0, 0, 80, 20}, nullptr, kBlack, kTextEndEllipsis);
  KSRect box;
  ASSERT_TRUE(canvas.InkBox(&box));
  EXPECT_LE(box.right, 80);
}

TEST(BaseDraw, TextDrawingRestoresTheContext) {
  Canvas canvas(100, 30);
  HFONT font = CreateFontW(20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  HGDIOBJ before = GetCurrentObject(canvas.DC(), OBJ_FONT);
  SetTextColor(canvas.DC(), RGB(1, 2, 3));
  SetBkMode(canvas.DC(), OPAQUE);
  SetBkColor(canvas.DC(), RGB(0, 255, 0));
  EXPECT_EQ(0, BaseDrawText(canvas.DC(), "Hi", canvas.All(), font, KSRGBA{0, 0, 255, 0}, 0));
  EXPECT_EQ(before, GetCurrentObject(canvas.DC(), OBJ_FONT));
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.DC()));
  EXPECT_EQ(OPAQUE, GetBkMode(canvas.DC()));

  // Drawn in red over the old content: a green cell would mean an opaque
  // background in the previous background colour.
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
  DeleteObject(font);
}

TEST(BaseDraw, MeasuresTextAndTheScreen) {
  long width = 0;
  long height = 0;
  ASSERT_EQ(0, BaseGetTextExtent("ABCxyz", nullptr, &width, &height));
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  long doubleWidth = 0;
  BaseGetTextExtent("ABCxyzABCxyz", nullptr, &doubleWidth, &height);
  EXPECT_NEAR(2 * width, doubleWidth, 2);

  HFONT big = CreateFontW(48, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  long bigWidth = 0;
  long bigHeight = 0;
  ASSERT_EQ(0, BaseGetTextExtent("ABCxyz", big, &bigWidth, &bigHeight));
  EXPECT_GE(bigHeight, 48);
  EXPECT_GT(bigWidth, width);
  DeleteObject(big);

  long screenWidth = 0;
  long screenHeight = 0;
  BaseGetScreenSize(&screenWidth, &screenHeight);
  EXPECT_GT(screenWidth, 0);
  EXPECT_LE(screenWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(screenHeight, 0);
  EXPECT_LT(screenHeight, GetSystemMetrics(SM_CYSCREEN));
}
