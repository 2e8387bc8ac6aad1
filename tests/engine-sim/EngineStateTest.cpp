// The engine model over time: slide shows that step on the clock through
// enabled items only, launched items, and lists replaced from content files.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine-sim/EngineState.h"
#include "engine-sim/SimOptions.h"
#include "foundation/KSError.h"

namespace {

class Recorder : public EngineListener {
 public:
  void OnEngineNotify(long inMsgID, const UtilStr& inBody) override {
    mCodes.push_back(inMsgID);
    mBodies.push_back(inBody.getCStr());
  }
  std::vector<long> mCodes;
  std::vector<std::string> mBodies;
};

EngineContent SmallContent() {
  EngineContent content;
  EngineContent::GetBuiltIn(&content);
  content.mItems[kConfigWaveShape] = {"One", "Two", "Three", "Four", "Five"};
  return content;
}

}  // namespace

TEST(EngineStateTest, SlideShowStepsOnTheClockThroughEnabledItemsOnly) {
  EngineState state(SmallContent());
  Recorder recorder;
  state.SetListener(&recorder);
  state.SetRandomSeed(3);
  state.Tick(0);
  state.SetPref(kPrefWaveShapeInterval, ScriptValue("2"));
  state.SetItemEnabled(1, "Three", false);
  state.SetItemEnabled(1, "Five", false);
  state.ShuffleSlideShow(kConfigWaveShape);
  state.SetSlideShow(kConfigWaveShape, true);
  ASSERT_EQ(1u, recorder.mCodes.size());

  // Nothing happens before the interval has passed.
  state.Tick(1999);
  EXPECT_EQ(1u, recorder.mCodes.size());

  std::set<std::string> shown;
  for (int64 now = 2000; now <= 40000; now += 2000) {
    state.Tick(now);
    ASSERT_EQ(303, recorder.mCodes.back());
    shown.insert(recorder.mBodies.back());
  }
  EXPECT_EQ((std::set<std::string>{"One", "Two", "Four"}), shown);
  // One step per interval, and each step a change.
  EXPECT_EQ(21u, recorder.mCodes.size());

  // A step by hand gives the new item its full interval.
  state.Tick(41000);
  state.Step(kConfigWaveShape, 1);
  size_t afterStep = recorder.mCodes.size();
  state.Tick(42500);
  EXPECT_EQ(afterStep, recorder.mCodes.size());
  state.Tick(43000);
  EXPECT_EQ(afterStep + 1, recorder.mCodes.size());

  // Switched off, it stays put.
  state.SetSlideShow(kConfigWaveShape, false);
  EXPECT_EQ(321, recorder.mCodes.back());
  UtilStr current = state.CurrentName(kConfigWaveShape);
  state.Tick(100000);
  EXPECT_EQ(current, state.CurrentName(kConfigWaveShape));
}

TEST(EngineStateTest, AShorterIntervalTakesEffectAtOnce) {
  EngineState state(SmallContent());
  state.Tick(0);
  state.SetSlideShow(kConfigColorMap, true);  // default interval: half a minute or more
  UtilStr first = state.CurrentName(kConfigColorMap);
  state.SetPref(kPrefColorMapInterval, ScriptValue(0.5));
  state.Tick(600);
  EXPECT_NE(first, state.CurrentName(kConfigColorMap));
  // A longer one does not push back the step already due.
  state.SetPref(kPrefColorMapInterval, ScriptValue(1000.0));
  UtilStr second = state.CurrentName(kConfigColorMap);
  state.Tick(1200);
  EXPECT_NE(second, state.CurrentName(kConfigColorMap));
}

TEST(EngineStateTest, ParticleSlideShowLaunchesEnabledItemsThatRunOut) {
  EngineState state(SmallContent());
  state.Tick(0);
  state.SetAllEnabled(1 << kConfigParticle, false);
  state.SetItemEnabled(1 << kConfigParticle, "Snowflakes", true);
  state.SetPref(kPrefParticleInterval, ScriptValue(1.0));
  state.SetPref(kPrefParticleDuration, ScriptValue(2.5));
  state.SetSlideShow(kConfigParticle, true);
  ScriptValue running;
  for (int64 now = 100; now <= 3000; now += 100) {
    state.Tick(now);
  }
  state.GetRunning(kConfigParticle, &running);
  // Launched at 1, 2 and 3 seconds; the first has run out at 3.5.
  EXPECT_EQ(3, running.CountListItems());
  state.Tick(3500);
  state.GetRunning(kConfigParticle, &running);
  EXPECT_EQ(2, running.CountListItems());
  EXPECT_EQ(std::string("Snowflakes\0Snowflakes\0", 22),
            std::string(running.AsText().getCStr(), size_t(running.AsText().length())));
}

TEST(EngineStateTest, NewNamesKeepTheChoicesMadeForOldOnes) {
  EngineItemList list;
  list.SetNames({"A", "B", "C"});
  list.SetEnabled(2, false);
  list.SetCurrent(3);
  list.SetNames({"C", "b", "D"});
  EXPECT_EQ(1, list.Current());
  EXPECT_FALSE(list.IsEnabled(2));  // "b" is "B" in another case
  EXPECT_TRUE(list.IsEnabled(3));
  list.SetNames({"X"});
  EXPECT_EQ(0, list.Current());
  EXPECT_EQ(1, list.Step(-1));
}

TEST(EngineStateTest, ContentFilesListOneNameALine) {
  const std::string text = "# wave shapes\r\n  Spiral One  \r\n\r\nTwo\tWords\n\n#skip\nLast";
  EngineNames names;
  EngineContent::ParseNameList(text.data(), long(text.size()), &names);
  ASSERT_EQ(3u, names.size());
  EXPECT_STREQ("Spiral One", names[0].getCStr());
  EXPECT_STREQ("Two\tWords", names[1].getCStr());
  EXPECT_STREQ("Last", names[2].getCStr());
  EXPECT_STREQ("particles.txt", EngineContent::ListFileName(kConfigParticle));
  EXPECT_EQ(nullptr, EngineContent::ListFileName(kConfigUnion));
}

// The program tests start the simulator with each option and see its effect;
// here the defaults they rely on and the mistakes that are refused.
TEST(SimOptionsTest, DefaultsAndMistakes) {
  SimOptions options;
  UtilStr error;
  EXPECT_EQ(0, ParseSimOptions(0, nullptr, &options, &error));
  EXPECT_EQ(0, options.mPort);
  EXPECT_TRUE(options.mPublish);
  EXPECT_EQ(30000, options.mStallLimitMS);

  const std::vector<std::vector<const char*>> mistakes = {
      {"--port", "70000"}, {"--port", "12x"},    {"--port"},        {"--bind", "localhost"},
      {"--bind", "1.2.3"}, {"--cut-reply", "0"}, {"--flood", "-1"}, {"--close-after", "0"},
      {"--name", ""},      {"--frobnicate"},
  };
  for (const auto& args : mistakes) {
    SimOptions bad;
    EXPECT_EQ(kKSErr_Param, ParseSimOptions(int(args.size()), args.data(), &bad, &error))
        << args[0];
    EXPECT_FALSE(error.IsEmpty());
  }
  // A word that is no option is named as such, even as the last argument.
  const char* const unknown[] = {"--no-stdin", "--frobnicate"};
  ParseSimOptions(2, unknown, &options, &error);
  EXPECT_STREQ("unknown option --frobnicate", error.getCStr());
}
