// cWindow and cControl: a control's picture, frames, placement per display
// mode, shape and tiling, on a real window (the viewer's tests show a
// picture that cannot load).
#include <string>
#include <vector>

#include "ControlTestParent.h"
#include "platform/BmpWriter.h"
#include "platform/Canvas.h"
#include "skin/cStandardGraphic.h"
#include "support/KSTestFolder.h"

namespace {

// A 6 x 4 picture whose left half is inColor (0xRRGGBB) and whose right half
// is the key colour, magenta.
std::string HalfKeyed(uint32 inColor) {
  std::vector<uint32> row = {inColor, inColor, inColor, 0xFF00FF, 0xFF00FF, 0xFF00FF};
  std::vector<uint8> bytes = BmpFile{6, 4, 24, 0, {}, PackRows(24, {row, row, row, row})}.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

// The box of the window's shape, or "none".
std::string ShapeOf(const cBaseWindow& inWind) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  std::string seen = "none";
  if (GetWindowRgn(inWind.Wind(), shape) != ERROR && GetRgnBox(shape, &box) != ERROR) {
    seen = Str(KSRect{box.left, box.top, box.right, box.bottom});
  }
  DeleteObject(shape);
  return seen;
}

bool NeedsPaint(const cBaseWindow& inWind) {
  return GetUpdateRect(inWind.Wind(), nullptr, FALSE) != FALSE;
}

class ControlBase : public ControlTest {
 protected:
  // A graphic showing the frames Pic01.bmp and Pic02.bmp, keyed.
  ControlInfo Pictured() {
    mFolder.MakeFile("Pic01.bmp", HalfKeyed(0x203040));
    mFolder.MakeFile("Pic02.bmp", HalfKeyed(0x405060));
    ControlInfo info = Describe(kControlTypeGraphic);
    snprintf(info.Graphic, sizeof(info.Graphic), "%s\\Pic??.bmp", mFolder.Spec().GetPathCStr());
    info.TransparentColor = KSRGBA{0xFF, 0, 0xFF, 0};
    return info;
  }

  KSTestFolder mFolder;
};

}  // namespace

TEST_F(ControlBase, PictureSizesShapesAndFramesTheControl) {
  ControlInfo info = Pictured();
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
  EXPECT_EQ("0 0 3 4", ShapeOf(*graphic));
  graphic->SetModeShape(kModeRetracted);
  EXPECT_EQ("none", ShapeOf(*graphic));

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
  EXPECT_EQ("none", ShapeOf(*graphic));
}

TEST_F(ControlBase, ModesPlaceTheControlAndGeometryKeepsWhatItIsNotAsked) {
  ControlInfo info = Describe(kControlTypeGraphic);
  info.Modes[kModeRetracted] = ModeInfo{1, 2, 30, 40, false};
  info.Flags = kFlagAutoSize | kFlagWindowShape;  // no picture: both are moot
  auto bare = Make<cStandardGraphic>(info);
  EXPECT_EQ(nullptr, bare->Sprite());
  KSRect at;
  bare->GetModePosition(kModeRetracted, &at);
  EXPECT_EQ("1 2 31 42", Str(at));
  EXPECT_FALSE(bare->IsModeVisible(kModeRetracted));
  EXPECT_TRUE(bare->IsModeVisible(kModeExtended));
  bare->SetModeShape(kModeExtended);
  EXPECT_EQ("none", ShapeOf(*bare));

  // Against the parent's right and bottom edges, whatever x and y say.
  bare->Info()->Flags = kFlagAlignRight | kFlagAlignBottom;
  bare->GetModePosition(kModeExtended, &at);
  EXPECT_EQ("280 276 400 300", Str(at));

  ASSERT_EQ(0, bare->SetPosition(5, 6, false));
  ASSERT_EQ(0, bare->MoveBy(2, 3, false));
  ASSERT_EQ(0, bare->Resize(30, 20, false));
  ASSERT_EQ(0, bare->GetPosition(&at));
  EXPECT_EQ("7 9 37 29", Str(at));
  EXPECT_EQ("7 9 30 20 30 20",
            std::to_string(bare->X()) + " " + std::to_string(bare->Y()) + " " +
                std::to_string(bare->Width()) + " " + std::to_string(bare->Height()) + " " +
                std::to_string(bare->ClientWidth()) + " " + std::to_string(bare->ClientHeight()));
}
