// corvexa-skin-view as a program: its screenshots of a test skin show the
// pictures where the skin puts them and, through the keyed pixels, what
// lies beneath; a skin that does not load says why.
#include <gtest/gtest.h>

#include <algorithm>
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

// Each page shows, and through its keyed pixels what lies beneath: a red bar
// with its top-right corner keyed out that extends into a blue one with its
// bottom-left corner keyed out, and a green dot whose keyed hole shows the
// page; then a plain rectangular page with a picture on it, which once gave
// an invisible window.
TEST_F(SkinView, ScreenshotsShowEveryPageAndWhatLiesBeneathItsKeyedPixels) {
  mSkin.Picture("Back01.bmp", 60, 20, 0xC02020, KSRect{50, 0, 60, 10});
  mSkin.Picture("Back02.bmp", 60, 40, 0x2040C0, KSRect{0, 30, 10, 40});
  mSkin.Picture("Dot.bmp", 8, 8, 0x20A040, KSRect{3, 3, 5, 5});
  const char* const kShaped =
      "ToolPage { Flags = WindowShape|AutoSize  TransparentColor = 255, 0, 255\n"
      "  DefaultMode = Retracted\n"
      "  Image = Back??.bmp\n"
      "  Controls {\n"
      "    Graphic ( x = 10, y = 4, Image = Dot.bmp, Flags = AutoSize )\n"
      "    CheckBox ( x = 40, y = 2, Width = 12, Height = 12, Function = ExtendRetract )\n"
      "} }\n";
  const uint32 kFace = 0xFFFFFFFF;  // the platform's own: anything but the backdrop
  // The shaped page is 60 wide and 20 or, extended, 40 high; the other 40 x 20.
  struct Case {
    const char* mMode;
    const char* mSkinText;
    std::vector<std::pair<KSPoint, uint32>> mPixels;
  };
  const Case cases[] = {
      {"--retract",
       kShaped,
       {{{2, 2}, 0xC02020},
        {{55, 2}, kBackdrop},
        {{55, 15}, 0xC02020},
        {{11, 5}, 0x20A040},
        {{14, 8}, 0xC02020}}},
      {"--extend", kShaped, {{{55, 2}, 0x2040C0}, {{5, 35}, kBackdrop}, {{11, 5}, 0x20A040}}},
      {"--extend",
       "ToolPage { Width = 40 Height = 20 Controls { Graphic ( x = 5, y = 5, Image = Dot.bmp,"
       " Flags = AutoSize ) } }",
       {{{6, 6}, 0x20A040}, {{12, 12}, 0x20A040}, {{35, 2}, kFace}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mMode) + " " + c.mSkinText);
    mSkin.Text(c.mSkinText);
    ASSERT_TRUE(Shoot(mSkin.Path(), c.mMode));
    bool shaped = c.mSkinText == kShaped;
    EXPECT_EQ(shaped ? 60 : 40, mShot.Width());
    EXPECT_EQ(shaped && c.mMode == std::string("--extend") ? 40 : 20, mShot.Height());
    for (const auto& at : c.mPixels) {
      uint32 pixel = ShotPixel(at.first.h, at.first.v);
      if (at.second == kFace) {
        EXPECT_NE(kBackdrop, pixel) << at.first.h << "," << at.first.v;
      } else {
        EXPECT_EQ(at.second, pixel) << at.first.h << "," << at.first.v;
      }
    }
  }
}

// A skin that does not parse fails; one that misses a picture shows, and says
// so once.
TEST_F(SkinView, ASkinThatDoesNotLoadSaysWhyAndFails) {
  struct Case {
    const char* mSkinText;
    unsigned long mExitCode;
    std::vector<std::string> mSaid;
  };
  const Case cases[] = {
      {"ToolPage { Width = 10  Bogus = 1 }",
       2u,
       {"Error: Error reading skin file " + mSkin.Path() + "\\skin.txt. Format not recognized",
        "\r\rBogus = 1 }"}},
      {"ToolPage { Width = 10 Height = 10 Controls { Graphic ( Image = Missing??.bmp)\n"
       "  Graphic ( Image = Missing??.bmp) Graphic ( Image = Gone.bmp) } }",
       0u,
       {"Error: The skin's picture " + mSkin.Path() +
            "\\Missing??.bmp could not be loaded. File/Folder not found",
        "Nor could 1 more: " + mSkin.Path() + "\\Gone.bmp"}},
  };
  for (const Case& c : cases) {
    mSkin.Text(c.mSkinText);
    ProgramRun run = View(mSkin.Path(), {"--screenshot", mSkin.Path() + "\\shot.bmp"});
    EXPECT_EQ(c.mExitCode, run.mExitCode);
    for (const std::string& said : c.mSaid) {
      EXPECT_NE(std::string::npos, run.mOut.find(said)) << run.mOut;
    }
  }
  EXPECT_EQ(1u, View("", {"--screenshot"}).mExitCode);
}

// One of each problem the checker knows, each reported once on its line.
TEST_F(SkinView, CheckNamesEveryProblemWithItsLine) {
  mSkin.Picture("Face01.bmp", 10, 10, 0x20A040);
  mSkin.Picture("Face03.bmp", 10, 10, 0x20A040);
  mSkin.Folder().MakeFile("Bad.bmp", "this is not a picture at all");
  mSkin.Text(
      "ToolPage { Width = 100 Height = 40\n"                    // 1
      "  Controls {\n"                                          // 2
      "    Graphic ( Image = Missing.bmp, )\n"                  // 3
      "    Graphic ( Image = Bad.bmp, )\n"                      // 4
      "    Button ( Styles = Custom, Image = Face??.bmp, )\n"   // 5
      "    Button ( Function = AdvScriptsSave )\n"              // 6
      "    Slider ( Function = FrameRate )\n"                   // 7
      "    Slider ( Function = FrameRate )\n"                   // 8
      "    ToolPage { Width = 50 Height = 20 Controls {\n"      // 9
      "      Button ( x = 40, Width = 20, Height = 10 ) } }\n"  // 10
      "  }\n"                                                   // 11
      "  Bogus = 1\n"                                           // 12
      "}\n");
  ProgramRun run = View(mSkin.Path(), {"--check"});
  EXPECT_EQ(4u, run.mExitCode);
  const std::string file = mSkin.Path() + "\\skin.txt:";
  const std::vector<std::string> said = {
      file + "3:15: picture Missing.bmp is missing",
      file + "4:15: picture Bad.bmp is refused: it is not a BMP file",
      file + "5:31: numbered pictures Face??.bmp have gaps: no frame 2",
      file + "6:14: function AdvScriptsSave does nothing in the toolbar",
      file + "8:14: function FrameRate is bound to the first control",
      file + "10:7: control at 40, 0 (20 x 10) lies outside its page (50 x 20)",
      file + "12:3: Format not recognized at \"Bogus = 1\"",
  };
  for (const std::string& line : said) {
    size_t at = run.mOut.find(line);
    EXPECT_NE(std::string::npos, at) << line << "\n" << run.mOut;
    EXPECT_EQ(std::string::npos, run.mOut.find(line, at + 1)) << line;
  }
  EXPECT_EQ(said.size(), size_t(std::count(run.mOut.begin(), run.mOut.end(), '\n'))) << run.mOut;

  mSkin.Text(
      "ToolPage { Width = 20 Height = 20 Controls { Button ( Width = 20, Height = 20,"
      " Function = Close ) } }");
  run = View(mSkin.Path(), {"--check"});
  EXPECT_EQ(0u, run.mExitCode) << run.mOut;
}
