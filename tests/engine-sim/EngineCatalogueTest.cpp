// Every script text the toolbar can send, run by the simulated engine: each
// runs without a problem, and each has the effect or gives the reply that the
// toolbar relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

  // Runs a builder's text.
  std::string Run(const std::function<char*(char*)>& inBuilder) {
    char text[kCommandBufferSize];
    return Run(std::string(inBuilder(text)));
  }

  void OnEngineNotify(long inMsgID, const UtilStr& inBody) override {
    mNotices.push_back(Notice(inMsgID, inBody.getCStr()));
  }

  long ListMediaFiles(const UtilStr& inFolder, bool inSubfolders, EngineNames* outNames) override {
    mScans.push_back(std::string(inFolder.getCStr()) + (inSubfolders ? "+" : ""));
    outNames->push_back("Holiday.jpg");
    outNames->push_back("Moon.png");  // also built in: listed once
    return 0;
  }

  EngineState& State() { return mEngine.State(); }
  void Advance(int64 inMS) {
    mNow += inMS;
    mEngine.Tick(mNow);
  }

  EngineSimulator mEngine;
  int64 mNow;
  std::vector<Notice> mNotices;
  std::vector<std::string> mScans;
};

std::string Z(const std::string& inText) {
  return inText + std::string(1, '\0');
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

typedef char* (*Builder0)(char*);

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
  using std::placeholders::_1;
  const std::function<char*(char*)> builders[] = {
      std::bind(CommandSetAllEnabled, 1 | 2 | 4 | 16 | 32, false, _1),
      std::bind(CommandSetAllEnabled, 1 | 2 | 4 | 16 | 32, true, _1),
      std::bind(CommandSetItemEnabled, 4, "Tunnel", false, _1),
      std::bind(CommandSetItemEnabled, 4, "Tunnel", true, _1),
      std::bind(CommandRegisterExternalImageVideo, "C:\\\\Media", true, _1),
      std::bind(CommandBuildDisplayModeList, 0, _1),
  };
  for (const auto& builder : builders) {
    engine.Run(builder);
  }
  const Builder0 queries[] = {
      CommandGetFlowFieldTransitions, CommandGetUnionSlideShow,
      CommandGetAllowRemoteControl,   CommandGetFlowFieldSmoothSwitch,
      CommandGetAutoTrackInfo,        CommandGetAutoLineScale,
      CommandGetFrameXLimit,          CommandGetFrameYLimit,
      CommandGetAudioSource,          CommandGetLineOffset,
      CommandGetTrackTextSize,        CommandGetTrackTextFont,
      CommandGetTrackTextAppearance,  CommandGetTrackTextDuration,
      CommandGetFullScreenMode,       CommandGetTrackInfo,
      CommandGetWaveShapeList,        CommandGetColorMapList,
      CommandGetFlowFieldList,        CommandGetParticleList,
      CommandGetImageVideoList,       CommandGetWaveShapeSlideShow,
      CommandGetColorMapSlideShow,    CommandGetFlowFieldSlideShow,
      CommandGetCurrentWaveShape,     CommandGetCurrentColorMap,
      CommandGetCurrentFlowField,     CommandIsVersionAvailable,
      CommandBuildAudioSourceList,    CommandBuildFontList,
  };
  for (Builder0 query : queries) {
    EXPECT_NE("", engine.Run(query));
  }
}

TEST(EngineCatalogueTest, SettingsAreReadBackInTheirReplyForms) {
  TestEngine engine;
  char text[kCommandBufferSize];

  // Defaults first: the forms "%d\0", "%f\0", "%s\0" and bare texts.
  EXPECT_EQ(Z("1"), engine.Run(CommandGetFlowFieldTransitions));
  EXPECT_EQ(Z("0"), engine.Run(CommandGetAllowRemoteControl));
  EXPECT_EQ(Z("0.000000"), engine.Run(CommandGetLineOffset));
  EXPECT_EQ(Z("Stereo Mix"), engine.Run(CommandGetAudioSource));
  EXPECT_EQ(Z("10"), engine.Run(CommandGetTrackTextDuration));
  EXPECT_EQ("0", engine.Run(CommandIsVersionAvailable));

  engine.Run(CommandSetFlowFieldTransitions(false, text));
  engine.Run(CommandSetUnionSlideShow(true, text));
  engine.Run(CommandSetAllowRemoteControl(true, text));
  engine.Run(CommandSetFlowFieldSmoothSwitch(false, text));
  engine.Run(CommandSetAutoTrackInfo(false, text));
  engine.Run(CommandSetAutoOpenToolbar(true, text));
  engine.Run(CommandSetAutoLineScale(false, text));
  engine.Run(CommandSetFrameSizeLimit(1024, 768, text));
  engine.Run(CommandSetLineOffset(-2.0f, text));
  engine.Run(CommandSetTrackTextSize(32, text));
  engine.Run(CommandSetTrackTextFont("Georgia", text));
  engine.Run(CommandSetTrackTextAppearance(2, text));
  engine.Run(CommandSetTrackTextDuration(30, text));
  engine.Run(CommandSetResponseScaleFromPercent(75, text));
  engine.Run(CommandSetFrameRate(0, text));

  EXPECT_EQ(Z("0"), engine.Run(CommandGetFlowFieldTransitions));
  EXPECT_EQ(Z("1"), engine.Run(CommandGetUnionSlideShow));
  EXPECT_EQ(Z("1"), engine.Run(CommandGetAllowRemoteControl));
  EXPECT_EQ(Z("0"), engine.Run(CommandGetFlowFieldSmoothSwitch));
  EXPECT_EQ("1", engine.Run(R"(printf("%d", GetPref(PREF_FLOWFIELD_LINES_PER_FRAME));)"));
  EXPECT_EQ(Z("0"), engine.Run(CommandGetAutoTrackInfo));
  EXPECT_EQ("1", engine.Run(R"(printf("%d", GetPref(PREF_AUTO_OPEN_TOOLBAR));)"));
  EXPECT_EQ(Z("0"), engine.Run(CommandGetAutoLineScale));
  EXPECT_EQ(Z("1024"), engine.Run(CommandGetFrameXLimit));
  EXPECT_EQ(Z("768"), engine.Run(CommandGetFrameYLimit));
  EXPECT_EQ(Z("-2.000000"), engine.Run(CommandGetLineOffset));
  EXPECT_EQ(Z("32"), engine.Run(CommandGetTrackTextSize));
  EXPECT_EQ(Z("Georgia"), engine.Run(CommandGetTrackTextFont));
  EXPECT_EQ(Z("2"), engine.Run(CommandGetTrackTextAppearance));
  EXPECT_EQ(Z("30"), engine.Run(CommandGetTrackTextDuration));
  EXPECT_EQ("4.278392", engine.Run(R"(printf("%f", GetPref(PREF_RESPONSE_SCALE));)"));
  EXPECT_EQ("5.000000", engine.Run(R"(printf("%f", GetPref(PREF_DESIRED_FRAME_RATE));)"));
  // The font follows both its name and its size.
  EXPECT_EQ("Georgia", std::string(engine.State().DefaultFont().getCStr()));
  EXPECT_EQ(32, engine.State().DefaultFontSize());

  // An update is announced only while the engine checks for updates.
  engine.Run(R"(SetPref(PREF_VERS_AVAIL_NUM, _VERSION_ + 1);)");
  EXPECT_EQ("1", engine.Run(CommandIsVersionAvailable));
  engine.Run(CommandSetCheckForUpdates(0, text));
  EXPECT_EQ("0", engine.Run(CommandIsVersionAvailable));
}

TEST(EngineCatalogueTest, TimingPreferencesHoldExpressionsTheEngineEvaluates) {
  TestEngine engine;
  char text[kCommandBufferSize];
  engine.Run(CommandSetParticleDuration(50, text));
  engine.Run(CommandSetWaveShapeInterval(100, text));
  EXPECT_EQ(Z("( .8 + rnd( .4 ) ) * 47.037776"),
            engine.Run(R"(printf("%s\0", GetPrefStr(PREF_PARTICLE_DURATION));)"));
  for (int i = 0; i < 20; i++) {
    double duration = engine.State().PrefNumber(kPrefParticleDuration);
    EXPECT_GE(duration, 0.8 * 47.037776);
    EXPECT_LT(duration, 1.2 * 47.037776);
    double interval = engine.State().PrefNumber(kPrefWaveShapeInterval);
    EXPECT_GE(interval, 1 + 20 * 0.05);
    EXPECT_LT(interval, 1 + 30 * 0.05);
  }
}

TEST(EngineCatalogueTest, TrackTextScriptsRestartTheTextOnlyWhenTheValueChanges) {
  TestEngine engine;
  char text[kCommandBufferSize];
  engine.Run(CommandAlbumInfo(text));
  EXPECT_TRUE(engine.State().TrackTextShowing());
  engine.Run("Execute(_KILL_TRACK_TEXT);");
  EXPECT_FALSE(engine.State().TrackTextShowing());

  // Early in the song a changed appearance brings the text back.
  engine.Run(CommandSetTrackTextAppearance(1, text));
  EXPECT_TRUE(engine.State().TrackTextShowing());
  engine.Run("Execute(_KILL_TRACK_TEXT);");
  engine.Run(CommandSetTrackTextAppearance(1, text));  // unchanged: nothing happens
  EXPECT_FALSE(engine.State().TrackTextShowing());

  // Past the text's duration a change no longer shows it.
  engine.Advance(20000);
  engine.Run(CommandSetTrackTextDuration(15, text));
  EXPECT_FALSE(engine.State().TrackTextShowing());
  engine.Run(CommandSetTrackTextDuration(30, text));
  EXPECT_TRUE(engine.State().TrackTextShowing());
}

TEST(EngineCatalogueTest, SlideShowSwitchesReplyAndNotify) {
  TestEngine engine;
  char text[kCommandBufferSize];
  EXPECT_EQ("0", engine.Run(CommandGetWaveShapeSlideShow));
  engine.Run(CommandSetWaveShapeSlideShow(true, text));
  engine.Run(CommandSetColorMapSlideShow(true, text));
  engine.Run(CommandSetFlowFieldSlideShow(true, text));
  engine.Run(CommandSetImageVideoEnabled(true, text));
  engine.Run(CommandSetParticlesEnabled(true, text));
  engine.Run(CommandSetParticlesEnabled(true, text));  // no change, no notice
  EXPECT_EQ("1", engine.Run(CommandGetWaveShapeSlideShow));
  EXPECT_EQ("1", engine.Run(CommandGetColorMapSlideShow));
  EXPECT_EQ("1", engine.Run(CommandGetFlowFieldSlideShow));
  engine.Run(CommandSetWaveShapeSlideShow(false, text));
  engine.Run(CommandSetColorMapSlideShow(false, text));
  engine.Run(CommandSetFlowFieldSlideShow(false, text));
  engine.Run(CommandSetImageVideoEnabled(false, text));
  engine.Run(CommandSetParticlesEnabled(false, text));
  EXPECT_EQ("0", engine.Run(CommandGetFlowFieldSlideShow));

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
  engine.Run(CommandNextWaveShape(1, text));
  EXPECT_EQ("Bass Spiral", engine.Run(CommandGetCurrentWaveShape));
  engine.Run(CommandNextWaveShape(-1, text));
  engine.Run(CommandNextWaveShape(-1, text));  // wraps to the last
  EXPECT_EQ("Zephyr Lines", engine.Run(CommandGetCurrentWaveShape));
  engine.Run(CommandSetWaveShape("neon grid", text));  // letter case does not matter
  EXPECT_EQ("Neon Grid", engine.Run(CommandGetCurrentWaveShape));

  engine.Run(CommandSetItemEnabled(2, "Arctic Ice", false, text));
  engine.Run(CommandNextColorMap(1, text));
  EXPECT_EQ("Autumn Forest", engine.Run(CommandGetCurrentColorMap));
  engine.Run(CommandSetColorMap("Opal", text));
  EXPECT_EQ("Opal", engine.Run(CommandGetCurrentColorMap));

  // Flow fields: both branches of the smooth-switch texts.
  engine.Run(CommandNextFlowField(1, text));
  EXPECT_EQ("Black Hole", engine.Run(CommandGetCurrentFlowField));
  engine.Run(CommandSetFlowFieldSmoothSwitch(false, text));
  engine.Run(CommandNextFlowField(1, text));
  EXPECT_EQ("Breathing", engine.Run(CommandGetCurrentFlowField));
  engine.Run(CommandSetFlowField("Tunnel", text));
  EXPECT_EQ("Tunnel", engine.Run(CommandGetCurrentFlowField));
  engine.Run(CommandSetFlowFieldSmoothSwitch(true, text));
  engine.Run(CommandSetFlowField("Whirl", text));
  EXPECT_EQ("Whirl", engine.Run(CommandGetCurrentFlowField));

  EXPECT_EQ((std::vector<Notice>{{303, "Bass Spiral"},
                                 {303, "Aurora Ribbon"},
                                 {303, "Zephyr Lines"},
                                 {303, "Neon Grid"},
                                 {301, "Autumn Forest"},
                                 {301, "Opal"},
                                 {305, "Black Hole"},
                                 {305, "Breathing"},
                                 {305, "Tunnel"},
                                 {305, "Whirl"}}),
            engine.mNotices);

  // With nothing enabled a step changes nothing and says why.
  engine.Run(CommandSetAllEnabled(1, false, text));
  UtilStr reply;
  XStrList notes;
  CommandNextWaveShape(1, text);
  engine.mEngine.RunScript(text, long(std::strlen(text)), engine.mNow, &reply, &notes);
  EXPECT_EQ(1, notes.Count());
  EXPECT_EQ("Neon Grid", std::string(engine.State().CurrentName(kConfigWaveShape).getCStr()));
}

TEST(EngineCatalogueTest, ParticlesAndImagesStartAndStop) {
  TestEngine engine;
  char text[kCommandBufferSize];
  const std::string runningParticles = "print(GetRunningList(CONFIG_PARTICLE));";
  const std::string runningSprites = "print(GetRunningList(CONFIG_SPRITE));";
  engine.Run(CommandStartParticle("Embers", text));
  engine.Run(CommandStartParticle("Bubbles", text));
  EXPECT_EQ((std::vector<std::string>{"Embers", "Bubbles"}),
            ListItems(engine.Run(runningParticles)));
  engine.Run(CommandStopParticle("Embers", text));
  EXPECT_EQ((std::vector<std::string>{"Bubbles"}), ListItems(engine.Run(runningParticles)));
  engine.Run(CommandKillRunningParticles(text));
  EXPECT_TRUE(ListItems(engine.Run(runningParticles)).empty());

  // A random start picks only enabled items.
  engine.Run(CommandSetAllEnabled(16, false, text));
  engine.Run(CommandSetItemEnabled(16, "Sparks", true, text));
  engine.Run(CommandStartRandomParticle(text));
  EXPECT_EQ((std::vector<std::string>{"Sparks"}), ListItems(engine.Run(runningParticles)));

  engine.Run(CommandStartImageVideo("Moon.png", 3, text));
  engine.Run(CommandStartRandomImageVideo(text));
  EXPECT_EQ(2u, ListItems(engine.Run(runningSprites)).size());
  engine.Run(CommandStopImageVideo("Moon.png", text));
  EXPECT_EQ(1u, ListItems(engine.Run(runningSprites)).size());
  engine.Run(CommandKillRunningImageVideo(text));
  EXPECT_TRUE(ListItems(engine.Run(runningSprites)).empty());

  // Items end by themselves once their duration has passed (at most 1.2 times
  // the preference's mean).
  engine.Run(CommandKillRunningParticles(text));
  engine.Run(R"(SetPref(PREF_PARTICLE_DURATION, "( .8 + rnd( .4 ) ) * 2");)");
  engine.Run(CommandStartParticle("Embers", text));
  engine.Advance(1500);
  EXPECT_EQ(1u, ListItems(engine.Run(runningParticles)).size());
  engine.Advance(1000);
  EXPECT_TRUE(ListItems(engine.Run(runningParticles)).empty());
}

TEST(EngineCatalogueTest, ExternalFolderAddsItsFilesToTheImageList) {
  TestEngine engine;
  char text[kCommandBufferSize];
  UtilStr escaped;
  const char* folder = "C:\\Users\\Me\\Pictures";
  escaped.AppendCStrEncoding(folder, -1, kCStrEscapeQuotes);
  engine.Run(CommandRegisterExternalImageVideo(escaped.getCStr(), true, text));
  EXPECT_EQ(std::vector<std::string>{"C:\\Users\\Me\\Pictures+"}, engine.mScans);
  std::vector<std::string> sprites = ListItems(engine.Run(CommandGetImageVideoList));
  EXPECT_EQ(23u, sprites.size());
  EXPECT_EQ("Holiday.jpg", sprites.back());
  engine.Run(CommandRescanImageVideo(text));
  EXPECT_EQ(2u, engine.mScans.size());
}

TEST(EngineCatalogueTest, DisplayAudioFontAndTrackQueries) {
  TestEngine engine;
  char text[kCommandBufferSize];
  std::vector<std::string> modes0 = ListItems(engine.Run(CommandBuildDisplayModeList(0, text)));
  std::vector<std::string> modes1 = ListItems(engine.Run(CommandBuildDisplayModeList(1, text)));
  EXPECT_EQ(6u, modes0.size());
  EXPECT_EQ(5u, modes1.size());
  // The device after the last one answers with an empty list.
  EXPECT_EQ(Z(""), engine.Run(CommandBuildDisplayModeList(2, text)));
  EXPECT_EQ(modes0.back(), engine.Run(CommandGetFullScreenMode(text)));

  engine.Run(CommandSetFullScreenMode(modes1[1].c_str(), text));
  EXPECT_EQ(modes1[1], engine.Run(CommandGetFullScreenMode(text)));
  engine.Run(CommandSetFullScreenMode(modes1[1].c_str(), text));  // unchanged: no notice

  std::vector<std::string> sources = ListItems(engine.Run(CommandBuildAudioSourceList(text)));
  ASSERT_EQ(5u, sources.size());
  engine.Run(CommandSetAudioSource(2, text));
  EXPECT_EQ(Z(sources[2]), engine.Run(CommandGetAudioSource(text)));
  // A source past the last one leaves both statements' preference alone.
  UtilStr reply;
  XStrList notes;
  CommandSetAudioSource(5, text);
  engine.mEngine.RunScript(text, long(std::strlen(text)), engine.mNow, &reply, &notes);
  EXPECT_EQ(2, notes.Count());
  EXPECT_EQ(Z(sources[2]), engine.Run(CommandGetAudioSource(text)));
  EXPECT_EQ(20u, ListItems(engine.Run(CommandBuildFontList(text))).size());

  EXPECT_EQ((std::vector<Notice>{{253, modes1[1]}, {254, "2"}}), engine.mNotices);

  EXPECT_FALSE(engine.State().IsFullscreen());
  engine.Run(CommandToggleFullScreen(text));
  EXPECT_TRUE(engine.State().IsFullscreen());
  engine.Run(CommandToggleFullScreen(text));
  EXPECT_FALSE(engine.State().IsFullscreen());
  engine.Run(CommandSnapshot(text));
  EXPECT_EQ(1, engine.State().CountScreenshots());
  EXPECT_EQ("The Glass Orchard - Northern Lights (Harbour Hall Sessions, 2019)",
            engine.Run(CommandGetTrackInfo(text)));
}

TEST(EngineCatalogueTest, ListQueriesAndTheBarrier) {
  TestEngine engine;
  EXPECT_EQ(22u, ListItems(engine.Run(CommandGetParticleList)).size());
  EXPECT_EQ(Z(""), engine.Run("print(GetConfigList(CONFIG_UNION));"));
  EXPECT_EQ("", engine.Run(""));

  // The toolbar's batch of disabled items in one text.
  engine.Run(R"(SetItemEnabled(16,"Embers",0);SetItemEnabled(16,"Sparks",0);)");
  const EngineItemList& particles = engine.State().Items(kConfigParticle);
  EXPECT_EQ(20, particles.CountEnabled());
  EXPECT_FALSE(particles.IsEnabled(particles.Find("Embers")));
}
