// The builders' texts, and the script each UI function sends for its
// control's value, are run by the simulated engine in the engine-sim
// catalogue test; what the window does with the dispatch table is seen in
// the window's tests. Here: the theme's sprite flags in the scripts, the
// percent curves and the buffer bounds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "toolbar/PercentCurves.h"
#include "toolbar/UICommands.h"
#include "toolbar/UIDispatchScripts.h"

namespace {

std::string Script(eUIFunction inFunction, const UIValue& inValue) {
  char buffer[kCommandBufferSize];
  const char* script = BuildUIScript(inFunction, inValue, buffer);
  return script != nullptr ? script : "(none)";
}

}  // namespace

TEST(PercentCurvesTest, QuarterMarksAndTheTurnsAroundFiftyPercent) {
  struct Mark {
    long mPct;
    const char* mValues;  // duration, interval, slide-show factor, response, frame rate
  } const kMarks[] = {
      {0, "3.253831 502.000000 16.050000 0.000000 5.000000"},
      {25, "15.086537 259.994775 5.112500 0.500000 29.500000"},
      {50, "47.037776 103.531550 1.050000 1.000000 33.000000"},
      {75, "111.617825 22.617311 0.112500 4.278392 36.500000"},
      {100, "222.934490 2.000000 0.050000 12.000000 61.000000"},
  };
  for (const Mark& mark : kMarks) {
    char values[200];
    std::snprintf(values, sizeof(values), "%f %f %f %f %f", DurationFromPercent(mark.mPct),
                  SpawnIntervalFromPercent(mark.mPct), SlideShowFactorFromPercent(mark.mPct),
                  double(ResponseScaleFromPercent(mark.mPct)), FrameRateFromPercent(mark.mPct));
    EXPECT_STREQ(mark.mValues, values) << mark.mPct;
  }
  // Just below 50 the response is still the linear 2q; the frame-rate cube is
  // odd around 50: 40 and 60 sit 0.224 either side of 33.
  EXPECT_FLOAT_EQ(0.98f, ResponseScaleFromPercent(49));
  EXPECT_NEAR(32.776, FrameRateFromPercent(40), 1e-9);
  EXPECT_NEAR(33.224, FrameRateFromPercent(60), 1e-9);
}

TEST(UICommandsTest, NamesGoInEscapedAndNeverOverrunTheBuffer) {
  // A heap buffer of exactly the size callers use, so that AddressSanitizer
  // catches any write past it.
  std::vector<char> b(kCommandBufferSize, 'x');
  // Quotes and backslashes in a name are escaped, a percent sign is kept.
  EXPECT_STREQ(R"(StartParticle("Say \"hi\" \\o/", 0 );)",
               CommandStartParticle(R"(Say "hi" \o/)", b.data()));
  EXPECT_STREQ("SetColorMap( \"100% Red\", COLORMAP_QUICK_MORPH, true);",
               CommandSetColorMap("100% Red", b.data()));

  // The longest name callers pass (299 characters) fits twice in the flow-field frame.
  std::string longest(299, 'n');
  std::string text = CommandSetFlowField(longest.c_str(), b.data());
  EXPECT_EQ(311u - 4 + 2 * 299, text.size());

  // Anything longer is cut off at the end of the buffer, still terminated.
  std::string huge(3000, 'h');
  EXPECT_EQ(kCommandBufferSize - 1, strlen(CommandSetFlowField(huge.c_str(), b.data())));
  EXPECT_EQ(kCommandBufferSize - 1, strlen(CommandSetWaveShape(huge.c_str(), b.data())));
  EXPECT_EQ(kCommandBufferSize - 1, strlen(CommandSetTrackTextFont(huge.c_str(), b.data())));
}

// The theme's flags for an image or video go into its start.
TEST(UIDispatchScriptsTest, ThemeFlagsGoIntoTheStart) {
  UIValue value;
  value.mText = "Logo";
  value.mSpriteFlags = 5;
  EXPECT_EQ("StartSprite(\"Logo\", 0, 5 );", Script(kUIAdvImageVideoStart, value));
}
