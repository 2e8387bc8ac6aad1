#include <gtest/gtest.h>

#include "platform/BaseUtils.h"
#include "platform/KSGdiObject.h"
#include "support/Canvas.h"

namespace {

const KSRGBA kBlack = {0, 0, 0, 0};

// Where inText lands in a 200 x 60 rectangle with inFormat.
KSRect InkOf(const char* inText, unsigned long inFormat) {
  Canvas canvas(200, 60);
  EXPECT_EQ(0, BaseDrawText(canvas.DC(), inText, KSRect{0, 0, 200, 60}, nullptr, kBlack, inFormat));
  return canvas.Ink();
}

}  // namespace

TEST(BaseDraw, FillsAndFramesInTheGivenColour) {
  Canvas canvas(20, 20);
  BaseFillRectangle(canvas.DC(), KSRect{2, 2, 6, 6}, KSRGBA{0x10, 0x20, 0x30, 0x99});
  EXPECT_EQ(0x302010u, canvas.Pixel(5, 5));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(6, 6));

  // Two nested frames: the outer two rings are drawn, the inside is not.
  BaseDrawRectangle(canvas.DC(), KSRect{8, 8, 18, 18}, 2, kBlack);
  EXPECT_EQ(0u, canvas.Pixel(8, 12));
  EXPECT_EQ(0u, canvas.Pixel(16, 16));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(10, 12));
  Canvas empty(20, 20);
  BaseDrawRectangle(empty.DC(), KSRect{0, 0, 20, 20}, 0, kBlack);
  EXPECT_EQ(20, empty.Ink().left);
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

  Canvas canvas(200, 60);
  BaseDrawText(canvas.DC(), longText, KSRect{0, 0, 80, 20}, nullptr, kBlack, kTextEndEllipsis);
  EXPECT_LE(canvas.Ink().right, 80);
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
