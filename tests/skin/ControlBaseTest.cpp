// cWindow and cControl: a control's picture, frames, placement per display
// mode, shape and tiling, on a real window (the viewer's tests show a
// picture that cannot load).
#include <string>

#include "ControlTestParent.h"
#include "platform/Canvas.h"
#include "skin/cStandardGraphic.h"

namespace {

bool NeedsPaint(const cBaseWindow& inWind) {
  return GetUpdateRect(inWind.Wind(), nullptr, FALSE) != FALSE;
}

using ControlBase = ControlTest;

}  // namespace

TEST_F(ControlBase, PictureSizesShapesAndFramesTheControl) {
  // Two frames whose right halves are keyed out.
  mPictures.Picture("Pic01.bmp", 6, 4, 0x203040, KSRect{3, 0, 6, 4});
  mPictures.Picture("Pic02.bmp", 6, 4, 0x405060, KSRect{3, 0, 6, 4});
  ControlInfo info = Describe(kControlTypeGraphic);
  snprintf(info.Graphic, sizeof(info.Graphic), "%s\\Pic??.bmp", mPictures.Path().c_str());
  info.TransparentColor = KSRGBA{0xFF, 0, 0xFF, 0};
  info.Flags = kFlagAutoSize | kFlagWindowShape;
  info.Modes[kModeRetracted].Visible = false;
  auto graphic = Make<cStandardGraphic>(info);
  ASSERT_NE(nullptr, graphic->Sprite());
  EXPECT_EQ(2u, graphic->Sprite()->NumFrames());
  KSRect at;
  graphic->GetModePosition(kModeExtended, &at);
  EXPECT_EQ("10 10 16 14", Str(at));  // the picture's size at the mode's place

  // Shaped by the opaque half, only where it shows.
  graphic->SetModeShape(kModeExtended);
  EXPECT_EQ("0 0 3 4", ShapeOf(graphic->Wind()));
  graphic->SetModeShape(kModeRetracted);
  EXPECT_EQ("none", ShapeOf(graphic->Wind()));

  // A frame the sprite lacks changes nothing, not even the paint.
  ValidateRect(graphic->Wind(), nullptr);
  graphic->SetFrame(5);
  EXPECT_FALSE(NeedsPaint(*graphic));
  graphic->SetFrame(1);
  EXPECT_TRUE(NeedsPaint(*graphic));
  EXPECT_EQ(1u, graphic->Sprite()->CurFrame());

  // Tiled from the corner, whatever the offset, and then never shaped.
  graphic->Info()->Flags = kFlagTile | kFlagWindowShape;
  ASSERT_EQ(0, graphic->Resize(13, 9, false));
  Canvas canvas(13, 9);
  graphic->OnPaint(canvas.DC());
  EXPECT_EQ(0x405060u, canvas.Pixel(7, 5));   // the second tile of each way
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(4, 1));   // keyed out
  EXPECT_EQ(0x405060u, canvas.Pixel(12, 8));  // a tile cut by the edge
  graphic->SetModeShape(kModeExtended);
  EXPECT_EQ("none", ShapeOf(graphic->Wind()));
}

// Without a picture, "AutoSize" and "WindowShape" are moot; alignment holds
// the control against its parent's right and bottom edges, whatever x and y
// say. (Moving and sizing are the pages' and the window's daily work.)
TEST_F(ControlBase, ModesPlaceTheControlAndAlignmentWins) {
  ControlInfo info = Describe(kControlTypeGraphic);
  info.Modes[kModeRetracted] = ModeInfo{1, 2, 30, 40, false};
  info.Flags = kFlagAutoSize | kFlagWindowShape;
  auto bare = Make<cStandardGraphic>(info);
  EXPECT_EQ(nullptr, bare->Sprite());
  KSRect at;
  bare->GetModePosition(kModeRetracted, &at);
  EXPECT_EQ("1 2 31 42", Str(at));
  EXPECT_FALSE(bare->IsModeVisible(kModeRetracted));
  EXPECT_TRUE(bare->IsModeVisible(kModeExtended));
  bare->SetModeShape(kModeExtended);
  EXPECT_EQ("none", ShapeOf(bare->Wind()));
  bare->Info()->Flags = kFlagAlignRight | kFlagAlignBottom;
  bare->GetModePosition(kModeExtended, &at);
  EXPECT_EQ("280 276 400 300", Str(at));
}
