// corvexa-skin-view as a program: its screenshots of a test skin show the
// pictures where the skin puts them and, through the keyed pixels, what
// lies beneath; a skin that does not load says why.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cImage.h"
#include "support/Canvas.h"
#include "support/ChildProcess.h"
#include "support/SkinFolder.h"

namespace {

const uint32 kBackdrop = 0x10E0E0;

class SkinView : public ::testing::Test {
 protected:
  ProgramRun View(const std::string& inSkinFolder, std::vector<std::string> inOptions) {
    inOptions.push_back(inSkinFolder);
    return RunProgram(KS_SKIN_VIEW_PATH, inOptions, 60000);
  }

  // Runs the viewer for a screenshot of inSkinFolder and loads it into
  // mShot; false when there is none.
  bool Shoot(const std::string& inSkinFolder, const std::string& inMode) {
    std::string file = mSkin.Path() + "\\shot.bmp";
    ProgramRun run = View(inSkinFolder, {inMode, "--screenshot", file, "--backdrop", "10E0E0"});
    EXPECT_TRUE(run.mFinished);
    EXPECT_EQ(0u, run.mExitCode) << run.mOut;
    return mShot.LoadFile(file.c_str()) == 0;
  }

  uint32 ShotPixel(int inX, int inY) {
    Canvas canvas(int(mShot.Width()), int(mShot.Height()));
    mShot.BitBlt(canvas.DC(), 0, 0);
    return canvas.Pixel(inX, inY);
  }

  SkinFolder mSkin;
  cImage mShot;
};

}  // namespace

TEST_F(SkinView, ScreenshotsShowThePicturesAndWhatLiesBeneathTheirKeyedPixels) {
  // A red bar with its top-right corner keyed out that turns into a blue one
  // with its bottom-left corner keyed out, and a green dot with a keyed hole.
  mSkin.Picture("Back01.bmp", 60, 20, 0xC02020, KSRect{50, 0, 60, 10});
  mSkin.Picture("Back02.bmp", 60, 40, 0x2040C0, KSRect{0, 30, 10, 40});
  mSkin.Picture("Dot.bmp", 8, 8, 0x20A040, KSRect{3, 3, 5, 5});
  mSkin.Text(
      "ToolPage { Flags = WindowShape|AutoSize  TransparentColor = 255, 0, 255\n"
      "  DefaultMode = Retracted\n"
      "  Image = Back??.bmp\n"
      "  Controls {\n"
      "    Graphic ( x = 10, y = 4, Image = Dot.bmp, Flags = AutoSize )\n"
      "    CheckBox ( x = 40, y = 2, Width = 12, Height = 12, Function = ExtendRetract )\n"
      "} }\n");

  ASSERT_TRUE(Shoot(mSkin.Path(), "--retract"));
  EXPECT_EQ(60, mShot.Width());
  EXPECT_EQ(20, mShot.Height());
  EXPECT_EQ(0xC02020u, ShotPixel(2, 2));
  EXPECT_EQ(kBackdrop, ShotPixel(55, 2));  // cut out of the window
  EXPECT_EQ(0xC02020u, ShotPixel(55, 15));
  EXPECT_EQ(0x20A040u, ShotPixel(11, 5));
  EXPECT_EQ(0xC02020u, ShotPixel(14, 8));  // the page through the dot's hole

  ASSERT_TRUE(Shoot(mSkin.Path(), "--extend"));
  EXPECT_EQ(60, mShot.Width());
  EXPECT_EQ(40, mShot.Height());
  EXPECT_EQ(0x2040C0u, ShotPixel(55, 2));
  EXPECT_EQ(kBackdrop, ShotPixel(5, 35));
  EXPECT_EQ(0x20A040u, ShotPixel(11, 5));
}

TEST_F(SkinView, ASkinThatDoesNotLoadSaysWhyAndFails) {
  struct Case {
    const char* mSkinText;
    std::vector<std::string> mSaid;
  };
  const Case cases[] = {
      {"ToolPage { Width = 10  Bogus = 1 }",
       {"Error: Error reading skin file " + mSkin.Path() + "\\skin.txt. Format not recognized",
        "\r\rBogus = 1 }"}},
      {"ToolPage { Controls { Graphic ( Image = Missing??.bmp) } }",
       {"Control creation failed. File/Folder not found BUTTON",
        "Error creating child window. File/Folder not found LoadGraphics failed on " +
            mSkin.Path() + "\\Missing??.bmp."}},
  };
  for (const Case& c : cases) {
    mSkin.Text(c.mSkinText);
    ProgramRun run = View(mSkin.Path(), {"--screenshot", mSkin.Path() + "\\shot.bmp"});
    EXPECT_EQ(2u, run.mExitCode);
    for (const std::string& said : c.mSaid) {
      EXPECT_NE(std::string::npos, run.mOut.find(said)) << run.mOut;
    }
  }
  EXPECT_EQ(1u, View("", {"--screenshot"}).mExitCode);
}
