// The script for each function and value must be the text the toolbar's
// dispatch sends: the same builder with the argument the dispatch derives from
// the control's value.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ctl/CtlFunctions.h"
#include "foundation/KSError.h"
#include "toolbar/UICommands.h"

namespace {

struct Case {
  const char* mName;
  const char* mValue;  // null: none given
  std::function<char*(char*)> mExpected;
};

std::string Built(const std::function<char*(char*)>& inBuild) {
  char buffer[kCommandBufferSize];
  return inBuild(buffer);
}

std::string Script(const char* inName, const char* inValue, long* outErr = nullptr) {
  char buffer[kCommandBufferSize] = "untouched";
  UtilStr error;
  long err = BuildFunctionScript(inName, inValue, buffer, &error);
  if (outErr != nullptr) {
    *outErr = err;
  }
  return err == 0 ? std::string(buffer) : std::string("error: ") + error.getCStr();
}

const long kNoThemeFlags = long(int32(0x80000000u));

const std::vector<Case>& Cases() {
  static const std::vector<Case> kCases = {
      {"StartRandomParticle", nullptr, [](char* o) { return CommandStartRandomParticle(o); }},
      {"StartRandomImageVideo", nullptr, [](char* o) { return CommandStartRandomImageVideo(o); }},
      {"AlbumInfo", nullptr, [](char* o) { return CommandAlbumInfo(o); }},
      {"WaveShapeToggle", "on", [](char* o) { return CommandSetWaveShapeSlideShow(true, o); }},
      {"WaveShapeList", "Swirl", [](char* o) { return CommandSetWaveShape("Swirl", o); }},
      {"WaveShapePrev", nullptr, [](char* o) { return CommandNextWaveShape(-1, o); }},
      {"WaveShapeNext", nullptr, [](char* o) { return CommandNextWaveShape(1, o); }},
      {"WaveShapeInterval", "100", [](char* o) { return CommandSetWaveShapeInterval(100, o); }},
      {"ColorMapToggle", "off", [](char* o) { return CommandSetColorMapSlideShow(false, o); }},
      {"ColorMapList", "Ember", [](char* o) { return CommandSetColorMap("Ember", o); }},
      {"ColorMapPrev", nullptr, [](char* o) { return CommandNextColorMap(-1, o); }},
      {"ColorMapNext", nullptr, [](char* o) { return CommandNextColorMap(1, o); }},
      {"ColorMapInterval", "0", [](char* o) { return CommandSetColorMapInterval(0, o); }},
      {"FlowFieldToggle", "yes", [](char* o) { return CommandSetFlowFieldSlideShow(true, o); }},
      {"FlowFieldList", "Drift", [](char* o) { return CommandSetFlowField("Drift", o); }},
      {"FlowFieldPrev", nullptr, [](char* o) { return CommandNextFlowField(-1, o); }},
      {"FlowFieldNext", nullptr, [](char* o) { return CommandNextFlowField(1, o); }},
      {"FlowFieldInterval", "25", [](char* o) { return CommandSetFlowFieldInterval(25, o); }},
      {"FrameRate", "0", [](char* o) { return CommandSetFrameRate(0, o); }},
      {"ResponseScale", "49%", [](char* o) { return CommandSetResponseScaleFromPercent(49, o); }},
      {"FullScreen", nullptr, [](char* o) { return CommandToggleFullScreen(o); }},
      {"Snapshot", nullptr, [](char* o) { return CommandSnapshot(o); }},
      {"AdvParticles", "Sparks", [](char* o) { return CommandStartParticle("Sparks", o); }},
      {"AdvParticlesStart", "Sparks", [](char* o) { return CommandStartParticle("Sparks", o); }},
      {"AdvParticlesStop", "Sparks", [](char* o) { return CommandStopParticle("Sparks", o); }},
      {"AdvParticlesStopAll", nullptr, [](char* o) { return CommandKillRunningParticles(o); }},
      {"AdvParticlesAutoStart", "1", [](char* o) { return CommandSetParticlesEnabled(true, o); }},
      {"AdvParticlesInterval", "75", [](char* o) { return CommandSetParticleInterval(75, o); }},
      {"AdvParticlesDuration", "50", [](char* o) { return CommandSetParticleDuration(50, o); }},
      {"AdvImageVideo", "Logo",
       [](char* o) { return CommandStartImageVideo("Logo", kNoThemeFlags, o); }},
      {"AdvImageVideoStart", "Logo",
       [](char* o) { return CommandStartImageVideo("Logo", kNoThemeFlags, o); }},
      {"AdvImageVideoStop", "Logo", [](char* o) { return CommandStopImageVideo("Logo", o); }},
      {"AdvImageVideoStopAll", nullptr, [](char* o) { return CommandKillRunningImageVideo(o); }},
      {"AdvImageVideoRescan", nullptr, [](char* o) { return CommandRescanImageVideo(o); }},
      {"AdvImageVideoAutoStart", "false",
       [](char* o) { return CommandSetImageVideoEnabled(false, o); }},
      {"AdvImageVideoInterval", "100",
       [](char* o) { return CommandSetImageVideoInterval(100, o); }},
      {"AdvImageVideoDuration", "10", [](char* o) { return CommandSetImageVideoDuration(10, o); }},
      // Without an extra folder of its own the toolbar only rescans.
      {"AdvImageVideoClearAlternateSource", nullptr,
       [](char* o) { return CommandRescanImageVideo(o); }},
      {"AdvImageVideoIncludeSubfolders", "on", [](char* o) { return CommandRescanImageVideo(o); }},
      {"AdvWaveShapes", "Swirl", [](char* o) { return CommandSetWaveShape("Swirl", o); }},
      {"AdvWaveShapesStart", "Swirl", [](char* o) { return CommandSetWaveShape("Swirl", o); }},
      {"AdvColorMaps", "Ember", [](char* o) { return CommandSetColorMap("Ember", o); }},
      {"AdvColorMapsStart", "Ember", [](char* o) { return CommandSetColorMap("Ember", o); }},
      {"AdvFlowFields", "Drift", [](char* o) { return CommandSetFlowField("Drift", o); }},
      {"AdvFlowFieldsStart", "Drift", [](char* o) { return CommandSetFlowField("Drift", o); }},
      {"AdvPrefCheckForUpdates", "on", [](char* o) { return CommandSetCheckForUpdates(7, o); }},
      {"AdvPrefAutoTrackInfo", "off", [](char* o) { return CommandSetAutoTrackInfo(false, o); }},
      {"AdvPrefFullScreenMode", "1024 x 768",
       [](char* o) { return CommandSetFullScreenMode("1024 x 768", o); }},
      {"AdvPrefAudioSource", "3", [](char* o) { return CommandSetAudioSource(3, o); }},
      // Index 3 of the durations is 15 seconds.
      {"AdvPrefTrackTextDuration", "3", [](char* o) { return CommandSetTrackTextDuration(15, o); }},
      {"AdvPrefTrackTextAppearance", "2",
       [](char* o) { return CommandSetTrackTextAppearance(2, o); }},
      {"AdvPrefTrackTextFont", "Arial Black",
       [](char* o) { return CommandSetTrackTextFont("Arial Black", o); }},
      // Index 12 of the sizes is 48 points.
      {"AdvPrefTrackTextSize", "12", [](char* o) { return CommandSetTrackTextSize(48, o); }},
      // Item 3 of the line boost reads "-2".
      {"AdvPrefLineBoost", "3", [](char* o) { return CommandSetLineOffset(-2.0f, o); }},
      // Only one combo box is given: the other dimension reads as absent.
      {"AdvPrefFrameXLimit", "3", [](char* o) { return CommandSetFrameSizeLimit(800, 20000, o); }},
      {"AdvPrefFrameYLimit", "8",
       [](char* o) { return CommandSetFrameSizeLimit(20000, 10000, o); }},
      {"AdvPrefAutoLineScale", "on", [](char* o) { return CommandSetAutoLineScale(true, o); }},
      {"AdvPrefAllowRemoteControl", "off",
       [](char* o) { return CommandSetAllowRemoteControl(false, o); }},
      {"AdvPrefAutoOpenToolbar", "TRUE",
       [](char* o) { return CommandSetAutoOpenToolbar(true, o); }},
      {"AdvPrefFlowFieldUnions", "no", [](char* o) { return CommandSetUnionSlideShow(false, o); }},
      {"AdvPrefFlowFieldTransitions", "on",
       [](char* o) { return CommandSetFlowFieldTransitions(true, o); }},
      {"AdvPrefFlowFieldSmoothSwitch", "off",
       [](char* o) { return CommandSetFlowFieldSmoothSwitch(false, o); }},
  };
  return kCases;
}

}  // namespace

TEST(CtlFunctionsTest, EveryEngineFacingFunctionBuildsTheToolbarsScript) {
  std::set<std::string> covered;
  for (const Case& c : Cases()) {
    EXPECT_EQ(Built(c.mExpected), Script(c.mName, c.mValue)) << c.mName;
    covered.insert(c.mName);
  }
  // The cases above are exactly the functions offered.
  std::set<std::string> offered;
  for (const CtlFunction* f = CtlFunctionList(); f->mFunction != kUINull; ++f) {
    offered.insert(SkinNameOf(f->mFunction));
  }
  EXPECT_EQ(covered, offered);
}

TEST(CtlFunctionsTest, ValuesAtTheEndsOfTheirRanges) {
  auto expect = [](const char* inName, const char* inValue, std::function<char*(char*)> inBuild) {
    EXPECT_EQ(Built(inBuild), Script(inName, inValue)) << inName << " " << inValue;
  };
  expect("FrameRate", "100", [](char* o) { return CommandSetFrameRate(100, o); });
  expect("AdvPrefFrameXLimit", "0",
         [](char* o) { return CommandSetFrameSizeLimit(200, 20000, o); });
  expect("AdvPrefFrameXLimit", "7",
         [](char* o) { return CommandSetFrameSizeLimit(1600, 20000, o); });
  // "(Auto)" is the last choice and stands for no limit of the engine's own.
  expect("AdvPrefFrameXLimit", "9", [](char* o) { return CommandSetFrameSizeLimit(0, 20000, o); });
  expect("AdvPrefTrackTextDuration", "0",
         [](char* o) { return CommandSetTrackTextDuration(2, o); });
  expect("AdvPrefTrackTextDuration", "6",
         [](char* o) { return CommandSetTrackTextDuration(30000, o); });
  expect("AdvPrefTrackTextSize", "0", [](char* o) { return CommandSetTrackTextSize(9, o); });
  expect("AdvPrefLineBoost", "0", [](char* o) { return CommandSetLineOffset(-5.0f, o); });
  expect("AdvPrefLineBoost", "10", [](char* o) { return CommandSetLineOffset(5.0f, o); });
  expect("AdvPrefCheckForUpdates", "off", [](char* o) { return CommandSetCheckForUpdates(0, o); });
  // Names are case-insensitive, and a name is passed on unchanged, quotes and all.
  expect("wAVEsHAPElIST", "Say \"hi\"",
         [](char* o) { return CommandSetWaveShape("Say \"hi\"", o); });
}

TEST(CtlFunctionsTest, WrongNamesAndValuesAreRefused) {
  struct Bad {
    const char* mName;
    const char* mValue;
    const char* mWords;  // expected in the message
  };
  const std::string kLongName(257, 'n');
  const Bad kBad[] = {
      {"NoSuchFunction", nullptr, "unknown function"},
      {"", nullptr, "unknown function"},
      {"Minimize", nullptr, "toolbar alone"},
      {"DeckMode", nullptr, "toolbar alone"},
      {"AdvPrefSkin", "Factory Blue", "toolbar alone"},
      {"AdvImageVideoBrowseAlternateSource", nullptr, "toolbar alone"},
      {"WaveShapeNext", "1", "takes no value"},
      {"WaveShapeInterval", nullptr, "a percentage from 0 to 100"},
      {"WaveShapeInterval", "101", "a percentage from 0 to 100, not \"101\""},
      {"WaveShapeInterval", "-1", "a percentage"},
      {"WaveShapeInterval", "5.5", "a percentage"},
      {"WaveShapeInterval", "%", "a percentage"},
      {"WaveShapeToggle", "maybe", "on or off"},
      {"WaveShapeList", "", "an item name of at most 256 characters"},
      {"WaveShapeList", kLongName.c_str(), "at most 256"},
      {"AdvPrefFrameXLimit", "10", "an index from 0 to 9"},
      {"AdvPrefTrackTextDuration", "7", "an index from 0 to 6"},
      {"AdvPrefAudioSource", "x", "an index from 0"},
      {"AdvPrefAudioSource", "9999999999", "an index from 0"},
  };
  for (const Bad& bad : kBad) {
    long err = 0;
    std::string result = Script(bad.mName, bad.mValue, &err);
    EXPECT_EQ(kKSErr_Param, err) << bad.mName;
    EXPECT_NE(std::string::npos, result.find(bad.mWords)) << result;
  }
  // A refused script leaves the buffer as it was.
  char buffer[kCommandBufferSize] = "untouched";
  UtilStr error;
  BuildFunctionScript("WaveShapeInterval", "x", buffer, &error);
  EXPECT_STREQ("untouched", buffer);
}

TEST(CtlFunctionsTest, FindReportsTheValueEachFunctionTakes) {
  CtlFunction function;
  ASSERT_TRUE(FindCtlFunction("advpreftracktextsize", &function));
  EXPECT_EQ(kUIAdvPrefTrackTextSize, function.mFunction);
  EXPECT_EQ(kCtlIndex, function.mValueKind);
  EXPECT_EQ(13, function.mLimit);
  ASSERT_TRUE(FindCtlFunction("FrameRate", &function));
  EXPECT_EQ(kCtlPercent, function.mValueKind);
  EXPECT_FALSE(FindCtlFunction("Close", &function));
  EXPECT_FALSE(FindCtlFunction("nonsense", &function));
}
