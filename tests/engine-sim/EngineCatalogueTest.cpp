// Every script text the toolbar can send, run by the simulated engine: each
// runs without a problem, and each has the effect or gives the reply that the
// toolbar relies on. Settings and actions go through the UI functions of the
// controls that make them, so that each function is seen to send the right
// script for its control's value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ctl/CtlReport.h"
#include "engine-sim/EngineSimulator.h"
#include "toolbar/UICommands.h"
#include "toolbar/UIDispatchScripts.h"

namespace {

typedef std::pair<long, std::string> Notice;

class TestEngine : public EngineListener, public EngineFolderScanner {
 public:
  TestEngine() : mEngine(BuiltIn()), mNow(1000) {
    mEngine.SetRandomSeed(7);
    mEngine.State().SetListener(this);
    mEngine.State().SetFolderScanner(this);
    mEngine.Tick(mNow);
  }

  static EngineContent BuiltIn() {
    EngineContent content;
    EngineContent::GetBuiltIn(&content);
    return content;
  }

  // Runs a script and returns its reply; problems fail the test.
  std::string Run(const std::string& inScript) {
    UtilStr reply;
    XStrList notes;
    long err = mEngine.RunScript(inScript.data(), long(inScript.size()), mNow, &reply, &notes);
    EXPECT_EQ(0, err) << inScript;
    for (long i = 1; i <= notes.Count(); i++) {
      ADD_FAILURE() << inScript << ": " << notes.Fetch(i)->getCStr();
    }
    return std::string(reply.getCStr(), size_t(reply.length()));
  }

  // Runs a script that is to fail, and counts the problems it reports.
  long Problems(const std::string& inScript) {
    UtilStr reply;
    XStrList notes;
    mEngine.RunScript(inScript.data(), long(inScript.size()), mNow, &reply, &notes);
    return notes.Count();
  }

  // Runs a query.
  std::string Run(char* (*inQuery)(char*)) {
    char text[kCommandBufferSize];
    return Run(std::string(inQuery(text)));
  }

  // Runs the script of a UI function for its control's value: inNumber is
  // the state, percentage or index, inText the chosen item's name.
  std::string Do(eUIFunction inFunction, long inNumber = 0, const char* inText = "",
                 long inOtherFrameLimit = kNoFrameLimitBox) {
    UIValue value;
    value.mOn = inNumber != 0;
    value.mNumber = inNumber;
    value.mText = inText;
    value.mOtherFrameLimit = inOtherFrameLimit;
    char text[kCommandBufferSize];
    const char* script = BuildUIScript(inFunction, value, text);
    EXPECT_NE(nullptr, script) << inFunction;
    return script != nullptr ? Run(std::string(script)) : "";
  }
  void OnEngineNotify(long inMsgID, const UtilStr& inBody) override {
    mNotices.push_back(Notice(inMsgID, inBody.getCStr()));
  }

  // No disk is scanned for the folders the scripts register.
  long ListMediaFiles(const UtilStr&, bool, EngineNames*) override { return 0; }

  EngineState& State() { return mEngine.State(); }
  void Advance(int64 inMS) {
    mNow += inMS;
    mEngine.Tick(mNow);
  }

  EngineSimulator mEngine;
  int64 mNow;
  std::vector<Notice> mNotices;
};

std::string Z(const std::string& inText) {
  return inText + std::string(1, '\0');
}

// A query's text.
std::string Text(char* (*inQuery)(char*)) {
  char text[kCommandBufferSize];
  return inQuery(text);
}

// A list reply: each name followed by a NUL, and an empty name at the end.
std::vector<std::string> ListItems(const std::string& inReply) {
  std::vector<std::string> items;
  size_t pos = 0;
  while (pos < inReply.size()) {
    size_t end = inReply.find('\0', pos);
    if (end == std::string::npos || end == pos) {
      break;
    }
    items.push_back(inReply.substr(pos, end - pos));
    pos = end + 1;
  }
  EXPECT_EQ(Z(""), inReply.substr(pos)) << "a list ends in an empty name";
  return items;
}

// The name of an item the engine has, for a function whose control reports
// the chosen item's text: by the kind of item its skin name speaks of.
const char* ItemFor(const char* inFunctionName) {
  const std::pair<const char*, const char*> kItems[] = {
      {"WaveShape", "Neon Grid"},   {"ColorMap", "Opal"},
      {"FlowField", "Tunnel"},      {"Particles", "Embers"},
      {"ImageVideo", "Moon.png"},   {"FullScreenMode", "Display 2: 800 x 600, 32 bit"},
      {"TrackTextFont", "Verdana"},
  };
  for (const auto& item : kItems) {
    if (std::strstr(inFunctionName, item.first) != nullptr) {
      return item.second;
    }
  }
  return "";
}

}  // namespace

// The guard against any text the engine cannot run: the script of every UI
// function for the values at both ends of its control, the builders the
// themes use, and every query; no problem reported.
TEST(EngineCatalogueTest, EveryScriptRunsWithoutAProblem) {
  TestEngine engine;
  char text[kCommandBufferSize];
  int functions = 0;
  for (const TokenMap* f = sFunctionMap; f->Name != nullptr; ++f) {
    const UIScriptEntry* entry = FindUIScript(eUIFunction(f->Value));
    for (int end = 0; entry != nullptr && end < 2; end++) {
      UIValue value;
      value.mOn = end == 1;
      long last = entry->mValueKind == kUIValuePercent ? 100 : std::max(entry->mLimit - 1, 2L);
      value.mNumber = end == 0 ? 0 : last;
      value.mText = ItemFor(f->Name);
      SCOPED_TRACE(f->Name);
      engine.Run(BuildUIScript(entry->mFunction, value, text));
      functions += end;
    }
  }
  EXPECT_GT(functions, 60);
  // The builders the themes use.
  for (const std::string& script :
       {std::string(CommandSetAllEnabled(1 | 2 | 4 | 16 | 32, false, text)),
        std::string(CommandSetAllEnabled(1 | 2 | 4 | 16 | 32, true, text)),
        std::string(CommandSetItemEnabled(4, "Tunnel", false, text)),
        std::string(CommandSetItemEnabled(4, "Tunnel", true, text)),
        std::string(CommandRegisterExternalImageVideo("C:\\\\Media", true, text))}) {
    engine.Run(script);
  }
  // The queries the toolbar makes when it connects, as corvexa-ctl get keeps
  // them: only queries, each printing its answer and setting nothing, and
  // only the one asked of each display device depends on the device.
  for (const CtlGetQuery* query = CtlGetQueries(); query->mKey != nullptr; ++query) {
    std::string script = query->mBuild(0, text);
    EXPECT_EQ(0u, script.rfind("print", 0)) << script;
    EXPECT_EQ(std::string::npos, script.find("Set")) << script;
    EXPECT_EQ(query->mByDevice, script != query->mBuild(1, text)) << script;
    EXPECT_NE("", engine.Run(script)) << query->mKey;
  }
}

// Each in its reply form: "%d\0", "%f\0", "%s\0" or bare text.
TEST(EngineCatalogueTest, SettingsAreReadBackInTheirReplyForms) {
  TestEngine engine;
  auto pref = [](const char* inForm, const char* inPref) {
    return std::string("printf(\"") + inForm + "\", GetPref(" + inPref + "));";
  };
  const struct {
    eUIFunction mFunction;
    long mValue;
    const char* mText;
    std::string mQuery;
    std::string mReply;
  } kSettings[] = {
      {kUIAdvPrefFlowFieldTransitions, 0, "", Text(CommandGetFlowFieldTransitions), Z("0")},
      {kUIAdvPrefFlowFieldUnions, 1, "", Text(CommandGetUnionSlideShow), Z("1")},
      {kUIAdvPrefAllowRemoteControl, 1, "", Text(CommandGetAllowRemoteControl), Z("1")},
      {kUIAdvPrefFlowFieldSmoothSwitch, 0, "", Text(CommandGetFlowFieldSmoothSwitch), Z("0")},
      {kUIAdvPrefFlowFieldSmoothSwitch, 0, "", pref("%d", "PREF_FLOWFIELD_LINES_PER_FRAME"), "1"},
      {kUIAdvPrefAutoTrackInfo, 0, "", Text(CommandGetAutoTrackInfo), Z("0")},
      {kUIAdvPrefAutoOpenToolbar, 1, "", pref("%d", "PREF_AUTO_OPEN_TOOLBAR"), "1"},
      {kUIAdvPrefAutoLineScale, 0, "", Text(CommandGetAutoLineScale), Z("0")},
      {kUIAdvPrefFrameXLimit, 4, "", Text(CommandGetFrameXLimit), Z("1000")},
      {kUIAdvPrefLineBoost, 3, "", Text(CommandGetLineOffset), Z("-2.000000")},
      {kUIAdvPrefTrackTextSize, 11, "", Text(CommandGetTrackTextSize), Z("32")},
      {kUIAdvPrefTrackTextFont, 0, "Georgia", Text(CommandGetTrackTextFont), Z("Georgia")},
      {kUIAdvPrefTrackTextAppearance, 2, "", Text(CommandGetTrackTextAppearance), Z("2")},
      {kUIAdvPrefTrackTextDuration, 4, "", Text(CommandGetTrackTextDuration), Z("30")},
      {kUIResponseScale, 75, "", pref("%f", "PREF_RESPONSE_SCALE"), "4.278392"},
      {kUIFrameRate, 0, "", pref("%f", "PREF_DESIRED_FRAME_RATE"), "5.000000"},
  };
  for (const auto& setting : kSettings) {
    engine.Do(setting.mFunction, setting.mValue, setting.mText);
    EXPECT_EQ(setting.mReply, engine.Run(setting.mQuery)) << setting.mQuery;
  }
  // Either frame-limit box sends both limits: the other box's choice, none
  // ("(No limit)") or "(Auto)".
  engine.Do(kUIAdvPrefFrameYLimit, 8, "", 7);
  EXPECT_EQ(Z("1600") + "|" + Z("10000"),
            engine.Run(CommandGetFrameXLimit) + "|" + engine.Run(CommandGetFrameYLimit));
  engine.Do(kUIAdvPrefFrameXLimit, 9);
  EXPECT_EQ(Z("0") + "|" + Z("20000"),
            engine.Run(CommandGetFrameXLimit) + "|" + engine.Run(CommandGetFrameYLimit));
  // The font follows both its name and its size.
  EXPECT_EQ("Georgia", std::string(engine.State().DefaultFont().getCStr()));
  EXPECT_EQ(32, engine.State().DefaultFontSize());

  // An update is announced only while the engine checks for updates.
  EXPECT_EQ("0", engine.Run(CommandIsVersionAvailable));
  engine.Run(R"(SetPref(PREF_VERS_AVAIL_NUM, _VERSION_ + 1);)");
  EXPECT_EQ("1", engine.Run(CommandIsVersionAvailable));
  engine.Do(kUIAdvPrefCheckForUpdates, 0);
  EXPECT_EQ("0", engine.Run(CommandIsVersionAvailable));
  engine.Do(kUIAdvPrefCheckForUpdates, 1);
  EXPECT_EQ("1", engine.Run(CommandIsVersionAvailable));
}

// The intervals and durations of the sliders are expressions the engine
// evaluates anew for each use, around the percentage's value.
TEST(EngineCatalogueTest, TimingPreferencesHoldExpressionsTheEngineEvaluates) {
  TestEngine engine;
  engine.Do(kUIAdvParticlesDuration, 50);
  EXPECT_EQ(Z("( .8 + rnd( .4 ) ) * 47.037776"),
            engine.Run(R"(printf("%s\0", GetPrefStr(PREF_PARTICLE_DURATION));)"));
  const struct {
    eUIFunction mFunction;
    long mPercent;
    EnginePrefID mPref;
    double mLow, mHigh;
  } kTimings[] = {
      {kUIAdvParticlesDuration, 50, kPrefParticleDuration, 0.8 * 47.037776, 1.2 * 47.037776},
      {kUIAdvParticlesInterval, 75, kPrefParticleInterval, 0.8 * 22.617311, 1.2 * 22.617311},
      {kUIAdvImageVideoDuration, 0, kPrefSpriteDuration, 0.8 * 3.253831, 1.2 * 3.253831},
      {kUIAdvImageVideoInterval, 100, kPrefSpriteInterval, 0.8 * 2, 1.2 * 2},
      {kUIWaveShapeInterval, 100, kPrefWaveShapeInterval, 1 + 20 * 0.05, 1 + 30 * 0.05},
      {kUIColorMapInterval, 0, kPrefColorMapInterval, 1 + 25 * 16.05, 1 + 35 * 16.05},
      {kUIFlowFieldInterval, 25, kPrefFlowFieldInterval, 1 + 25 * 5.1125, 1 + 40 * 5.1125},
  };
  for (const auto& timing : kTimings) {
    engine.Do(timing.mFunction, timing.mPercent);
    for (int i = 0; i < 20; i++) {
      double value = engine.State().PrefNumber(timing.mPref);
      EXPECT_GE(value, timing.mLow) << timing.mFunction;
      EXPECT_LT(value, timing.mHigh) << timing.mFunction;
    }
  }
}

TEST(EngineCatalogueTest, TrackTextScriptsRestartTheTextOnlyWhenTheValueChanges) {
  TestEngine engine;
  engine.Do(kUIAlbumInfo);
  EXPECT_TRUE(engine.State().TrackTextShowing());
  engine.Run("Execute(_KILL_TRACK_TEXT);");
  EXPECT_FALSE(engine.State().TrackTextShowing());

  // Early in the song a changed appearance brings the text back.
  engine.Do(kUIAdvPrefTrackTextAppearance, 1);
  EXPECT_TRUE(engine.State().TrackTextShowing());
  engine.Run("Execute(_KILL_TRACK_TEXT);");
  engine.Do(kUIAdvPrefTrackTextAppearance, 1);  // unchanged: nothing happens
  EXPECT_FALSE(engine.State().TrackTextShowing());

  // Past the text's duration a change no longer shows it.
  engine.Advance(20000);
  engine.Do(kUIAdvPrefTrackTextDuration, 3);
  EXPECT_FALSE(engine.State().TrackTextShowing());
  engine.Do(kUIAdvPrefTrackTextDuration, 4);
  EXPECT_TRUE(engine.State().TrackTextShowing());
}

TEST(EngineCatalogueTest, SlideShowSwitchesReplyAndNotify) {
  TestEngine engine;
  EXPECT_EQ("0", engine.Run(CommandGetWaveShapeSlideShow));
  const eUIFunction kSwitches[] = {kUIWaveShapeToggle, kUIColorMapToggle, kUIFlowFieldToggle,
                                   kUIAdvImageVideoAutoStart, kUIAdvParticlesAutoStart};
  for (long on : {1, 0}) {
    for (eUIFunction function : kSwitches) {
      engine.Do(function, on);
    }
    engine.Do(kUIAdvParticlesAutoStart, on);  // no change, no notice
    const std::string state = on ? "1" : "0";
    EXPECT_EQ(state + state + state, engine.Run(CommandGetWaveShapeSlideShow) +
                                         engine.Run(CommandGetColorMapSlideShow) +
                                         engine.Run(CommandGetFlowFieldSlideShow));
  }
  std::vector<long> codes;
  for (const Notice& notice : engine.mNotices) {
    codes.push_back(notice.first);
  }
  EXPECT_EQ((std::vector<long>{320, 322, 324, 326, 328, 321, 323, 325, 327, 329}), codes);
}

TEST(EngineCatalogueTest, NavigationStepsThroughEnabledItemsAndNotifies) {
  TestEngine engine;
  char text[kCommandBufferSize];
  EXPECT_EQ("Aurora Ribbon", engine.Run(CommandGetCurrentWaveShape));
  engine.Do(kUIWaveShapeNext);
  EXPECT_EQ("Bass Spiral", engine.Run(CommandGetCurrentWaveShape));
  engine.Do(kUIWaveShapePrev);
  engine.Do(kUIWaveShapePrev);  // wraps to the last
  EXPECT_EQ("Zephyr Lines", engine.Run(CommandGetCurrentWaveShape));
  engine.Do(kUIWaveShapeList, 0, "neon grid");  // letter case does not matter
  EXPECT_EQ("Neon Grid", engine.Run(CommandGetCurrentWaveShape));

  engine.Run(CommandSetItemEnabled(2, "Arctic Ice", false, text));
  engine.Do(kUIColorMapNext);
  EXPECT_EQ("Autumn Forest", engine.Run(CommandGetCurrentColorMap));
  engine.Do(kUIColorMapPrev);
  EXPECT_EQ("Amber Dusk", engine.Run(CommandGetCurrentColorMap));
  engine.Do(kUIAdvColorMapsStart, 0, "Opal");
  EXPECT_EQ("Opal", engine.Run(CommandGetCurrentColorMap));

  // Flow fields: both branches of the smooth-switch texts.
  engine.Do(kUIFlowFieldNext);
  EXPECT_EQ("Black Hole", engine.Run(CommandGetCurrentFlowField));
  engine.Do(kUIAdvPrefFlowFieldSmoothSwitch, 0);
  engine.Do(kUIFlowFieldNext);
  EXPECT_EQ("Breathing", engine.Run(CommandGetCurrentFlowField));
  engine.Do(kUIFlowFieldPrev);
  engine.Do(kUIFlowFieldList, 0, "Tunnel");
  EXPECT_EQ("Tunnel", engine.Run(CommandGetCurrentFlowField));
  engine.Do(kUIAdvPrefFlowFieldSmoothSwitch, 1);
  engine.Do(kUIAdvFlowFieldsStart, 0, "Whirl");
  EXPECT_EQ("Whirl", engine.Run(CommandGetCurrentFlowField));

  // Each step and choice announced, with the new item's name.
  std::vector<long> codes;
  for (const Notice& notice : engine.mNotices) {
    codes.push_back(notice.first);
  }
  EXPECT_EQ((std::vector<long>{303, 303, 303, 303, 301, 301, 301, 305, 305, 305, 305, 305}), codes);
  EXPECT_EQ(Notice(305, "Whirl"), engine.mNotices.back());

  // The other lists choose as these do.
  const struct {
    eUIFunction mFunction;
    const char* mItem;
    char* (*mCurrent)(char*);
  } kChoices[] = {{kUIColorMapList, "Autumn Forest", CommandGetCurrentColorMap},
                  {kUIAdvColorMaps, "Opal", CommandGetCurrentColorMap},
                  {kUIAdvWaveShapes, "Bass Spiral", CommandGetCurrentWaveShape},
                  {kUIAdvWaveShapesStart, "Aurora Ribbon", CommandGetCurrentWaveShape},
                  {kUIAdvFlowFields, "Tunnel", CommandGetCurrentFlowField}};
  for (const auto& choice : kChoices) {
    engine.Do(choice.mFunction, 0, choice.mItem);
    EXPECT_EQ(choice.mItem, engine.Run(choice.mCurrent)) << choice.mFunction;
  }

  // With nothing enabled a step changes nothing and says why.
  engine.Run(CommandSetAllEnabled(1, false, text));
  EXPECT_EQ(1, engine.Problems(CommandNextWaveShape(1, text)));
  EXPECT_EQ("Aurora Ribbon", std::string(engine.State().CurrentName(kConfigWaveShape).getCStr()));
}

TEST(EngineCatalogueTest, ParticlesAndImagesStartAndStop) {
  TestEngine engine;
  char text[kCommandBufferSize];
  const std::string runningParticles = "print(GetRunningList(CONFIG_PARTICLE));";
  const std::string runningSprites = "print(GetRunningList(CONFIG_SPRITE));";
  engine.Do(kUIAdvParticlesStart, 0, "Embers");
  engine.Do(kUIAdvParticles, 0, "Bubbles");
  EXPECT_EQ((std::vector<std::string>{"Embers", "Bubbles"}),
            ListItems(engine.Run(runningParticles)));
  engine.Do(kUIAdvParticlesStop, 0, "Embers");
  EXPECT_EQ((std::vector<std::string>{"Bubbles"}), ListItems(engine.Run(runningParticles)));
  engine.Do(kUIAdvParticlesStopAll);
  EXPECT_TRUE(ListItems(engine.Run(runningParticles)).empty());

  // The toolbar's batch of disabled items in one text.
  engine.Run(R"(SetItemEnabled(16,"Embers",0);SetItemEnabled(16,"Sparks",0);)");
  const EngineItemList& particles = engine.State().Items(kConfigParticle);
  EXPECT_EQ(20, particles.CountEnabled());
  EXPECT_FALSE(particles.IsEnabled(particles.Find("Embers")));
  // A random start picks only enabled items.
  engine.Run(CommandSetAllEnabled(16, false, text));
  engine.Run(CommandSetItemEnabled(16, "Sparks", true, text));
  engine.Do(kUIStartRandomParticle);
  EXPECT_EQ((std::vector<std::string>{"Sparks"}), ListItems(engine.Run(runningParticles)));

  engine.Do(kUIAdvImageVideoStart, 0, "Moon.png");
  engine.Do(kUIStartRandomImageVideo);
  engine.Do(kUIAdvImageVideo, 0, "Moon.png");
  EXPECT_EQ(3u, ListItems(engine.Run(runningSprites)).size());
  engine.Do(kUIAdvImageVideoStop, 0, "Moon.png");
  EXPECT_EQ(1u, ListItems(engine.Run(runningSprites)).size());
  engine.Do(kUIAdvImageVideoStopAll);
  EXPECT_TRUE(ListItems(engine.Run(runningSprites)).empty());

  // Items end by themselves once their duration has passed (at most 1.2 times
  // the preference's mean).
  engine.Do(kUIAdvParticlesStopAll);
  engine.Run(R"(SetPref(PREF_PARTICLE_DURATION, "( .8 + rnd( .4 ) ) * 2");)");
  engine.Do(kUIAdvParticlesStart, 0, "Embers");
  engine.Advance(1500);
  EXPECT_EQ(1u, ListItems(engine.Run(runningParticles)).size());
  engine.Advance(1000);
  EXPECT_TRUE(ListItems(engine.Run(runningParticles)).empty());
}

TEST(EngineCatalogueTest, ListDisplayAudioFontAndTrackQueries) {
  TestEngine engine;
  char text[kCommandBufferSize];
  EXPECT_EQ(22u, ListItems(engine.Run(CommandGetParticleList)).size());
  EXPECT_EQ(Z(""), engine.Run("print(GetConfigList(CONFIG_UNION));"));
  EXPECT_EQ("", engine.Run(""));  // the barrier
  std::vector<std::string> modes0 = ListItems(engine.Run(CommandBuildDisplayModeList(0, text)));
  std::vector<std::string> modes1 = ListItems(engine.Run(CommandBuildDisplayModeList(1, text)));
  EXPECT_EQ(6u, modes0.size());
  EXPECT_EQ(5u, modes1.size());
  // The device after the last one answers with an empty list.
  EXPECT_EQ(Z(""), engine.Run(CommandBuildDisplayModeList(2, text)));
  EXPECT_EQ(modes0.back(), engine.Run(CommandGetFullScreenMode(text)));

  engine.Do(kUIAdvPrefFullScreenMode, 0, modes1[1].c_str());
  EXPECT_EQ(modes1[1], engine.Run(CommandGetFullScreenMode(text)));
  engine.Do(kUIAdvPrefFullScreenMode, 0, modes1[1].c_str());  // unchanged: no notice

  std::vector<std::string> sources = ListItems(engine.Run(CommandBuildAudioSourceList(text)));
  ASSERT_EQ(5u, sources.size());
  EXPECT_EQ(Z(sources[0]), engine.Run(CommandGetAudioSource(text)));
  engine.Do(kUIAdvPrefAudioSource, 2);
  EXPECT_EQ(Z(sources[2]), engine.Run(CommandGetAudioSource(text)));
  // A source past the last one leaves both statements' preference alone.
  EXPECT_EQ(2, engine.Problems(CommandSetAudioSource(5, text)));
  EXPECT_EQ(Z(sources[2]), engine.Run(CommandGetAudioSource(text)));
  EXPECT_EQ(20u, ListItems(engine.Run(CommandBuildFontList(text))).size());

  EXPECT_EQ((std::vector<Notice>{{253, modes1[1]}, {254, "2"}}), engine.mNotices);

  EXPECT_FALSE(engine.State().IsFullscreen());
  engine.Do(kUIFullScreen);
  EXPECT_TRUE(engine.State().IsFullscreen());
  engine.Do(kUIFullScreen);
  EXPECT_FALSE(engine.State().IsFullscreen());
  engine.Do(kUISnapshot);
  EXPECT_EQ(1, engine.State().CountScreenshots());
  EXPECT_EQ("The Glass Orchard - Northern Lights (Harbour Hall Sessions, 2019)",
            engine.Run(CommandGetTrackInfo(text)));
}
