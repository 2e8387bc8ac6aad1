// Script texts are compared whole against texts written out here by hand, so a
// wrong blank, tab count or curve value shows up as a failed comparison.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "toolbar/UICommands.h"

namespace {

std::string Tabs(int inCount) {
  return std::string(inCount, '\t');
}

// A heap buffer of exactly the size callers use, so that AddressSanitizer
// catches any write past it.
struct CommandBuffer {
  std::vector<char> mBytes = std::vector<char>(kCommandBufferSize, 'x');
  char* Get() { return mBytes.data(); }
};

struct Query {
  char* (*mBuild)(char*);
  const char* mExpected;
};

struct Switch {
  char* (*mBuild)(bool, char*);
  const char* mOn;
  const char* mOff;
};

}  // namespace

TEST(UIFunctionsTest, FunctionMapHoldsEverySkinNameInValueOrder) {
  const char kNames[] =
      "Null ExtendRetract Minimize Maximize Close WebLink StartRandomParticle "
      "StartRandomImageVideo AlbumInfo WaveShapeToggle WaveShapeList WaveShapePrev "
      "WaveShapeNext WaveShapeInterval ColorMapToggle ColorMapList ColorMapPrev ColorMapNext "
      "ColorMapInterval FlowFieldToggle FlowFieldList FlowFieldPrev FlowFieldNext "
      "FlowFieldInterval FrameRate ResponseScale DeckMode FullScreen Snapshot UpdateBar "
      "UpdateLink UpdateClose AdvPrefsPanel AdvParticles AdvParticlesSelectAll "
      "AdvParticlesStart AdvParticlesStop AdvParticlesStopAll AdvParticlesAutoStart "
      "AdvParticlesInterval AdvParticlesDuration AdvImageVideo AdvImageVideoSelectAll "
      "AdvImageVideoStart AdvImageVideoStop AdvImageVideoStopAll AdvImageVideoRescan "
      "AdvImageVideoAutoStart AdvImageVideoInterval AdvImageVideoDuration "
      "AdvImageVideoAlternateSource AdvImageVideoBrowseAlternateSource "
      "AdvImageVideoClearAlternateSource AdvImageVideoIncludeSubfolders AdvWaveShapes "
      "AdvWaveShapesSelectAll AdvWaveShapesStart AdvColorMaps AdvColorMapsSelectAll "
      "AdvColorMapsStart AdvFlowFields AdvFlowFieldsSelectAll AdvFlowFieldsStart "
      "AdvScriptsUnsaved AdvScriptsSaved AdvScriptsSave AdvScriptsRename AdvScriptsDelete "
      "AdvScriptsStart AdvScriptsSelectAll AdvScriptsStop AdvScriptsScriptsOn "
      "AdvScriptsAutoRecord AdvScriptsEdit AdvPrefUseToolTips AdvPrefCheckForUpdates "
      "AdvPrefAlwaysOnTop AdvPrefAutoTrackInfo AdvPrefFullScreenMode AdvPrefAudioSource "
      "AdvPrefTrackTextDuration AdvPrefTrackTextAppearance AdvPrefTrackTextFont "
      "AdvPrefTrackTextSize AdvPrefShowToolbarIn AdvPrefLineBoost AdvPrefFrameXLimit "
      "AdvPrefFrameYLimit AdvPrefAutoLineScale AdvPrefAllowRemoteControl "
      "AdvPrefAutoOpenToolbar AdvPrefAutoCloseToolbar AdvPrefStartToolbarMinimized "
      "AdvPrefDeckAutoStart AdvPrefFlowFieldUnions AdvPrefFlowFieldTransitions "
      "AdvPrefFlowFieldSmoothSwitch AdvPrefSkin AdvPrefTheme AdvPrefSaveThemeAs "
      "AdvPrefDeleteTheme AdvPrefPeer AdvPrefPeerRefresh";
  std::istringstream names(kNames);
  std::string name;
  uint32 value = 0;
  for (; names >> name; ++value) {
    ASSERT_NE(nullptr, sFunctionMap[value].Name) << name;
    EXPECT_EQ(name, sFunctionMap[value].Name);
    EXPECT_EQ(value, sFunctionMap[value].Value) << name;
  }
  EXPECT_EQ(103u, value);
  EXPECT_EQ(nullptr, sFunctionMap[value].Name);

  // The internal functions, which have no skin name, and the request types.
  EXPECT_EQ(103, kUIClick);
  EXPECT_EQ(105, kUIUpdateCommandStatus);
  EXPECT_EQ(110, kUITrackInfo);
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}),
            (std::vector<int>{kRequestDontCare, kRequestSetValue, kRequestGetValue,
                              kRequestGetValueIndex, kRequestGetContents}));
}

TEST(UIFunctionsTest, LookupIgnoresCaseAndRejectsOtherWords) {
  eUIFunction function = kUIClose;
  EXPECT_TRUE(LookupUIFunction("waveshapelist", &function));
  EXPECT_EQ(kUIWaveShapeList, function);
  EXPECT_TRUE(LookupUIFunction("ADVPREFSPANEL", &function));
  EXPECT_EQ(kUIAdvPrefsPanel, function);
  EXPECT_TRUE(LookupUIFunction("AdvPrefPeerRefresh", &function));
  EXPECT_EQ(kUIAdvPrefPeerRefresh, function);

  // Near misses: prefixes, extensions, the panel name without its s, and the
  // internal functions, which have no skin name.
  const char* const kUnknown[] = {"",      "WaveShape", "WaveShapeListX", "AdvPrefPanel",
                                  "Click", "TrackInfo", "Wave Shape List"};
  for (const char* word : kUnknown) {
    function = kUIClose;
    EXPECT_FALSE(LookupUIFunction(word, &function)) << word;
    EXPECT_EQ(kUINull, function) << word;
  }
}

TEST(TokenMapTest, FirstMatchWinsAndMissLeavesValueAlone) {
  const TokenMap kMap[] = {{"Alpha", 1}, {"ALPHA", 2}, {"beta", 3}, {nullptr, 0}};
  uint32 value = 0;
  EXPECT_TRUE(LookupToken(kMap, "alPHa", &value));
  EXPECT_EQ(1u, value);
  EXPECT_TRUE(LookupToken(kMap, "BETA", &value));
  EXPECT_EQ(3u, value);
  value = 77;
  EXPECT_FALSE(LookupToken(kMap, "bet", &value));
  EXPECT_FALSE(LookupToken(kMap, "betas", &value));
  EXPECT_EQ(77u, value);

  // Words with a length: only the first inLen bytes count, and a NUL inside
  // the word is not an end.
  EXPECT_TRUE(LookupToken(kMap, "betamax", 4, &value));
  EXPECT_EQ(3u, value);
  EXPECT_FALSE(LookupToken(kMap, "bet", 3, &value));
  EXPECT_FALSE(LookupToken(kMap, "beta\0", 5, &value));
  EXPECT_FALSE(LookupToken(kMap, "", 0, &value));
  EXPECT_EQ(3u, value);
}

TEST(UICommandsTest, SwitchSettings) {
  const Switch kSwitches[] = {
      {CommandSetFlowFieldTransitions, "SetPref( PREF_FLOWFIELD_TRANS_DISABLE, 0);",
       "SetPref( PREF_FLOWFIELD_TRANS_DISABLE, 1);"},
      {CommandSetUnionSlideShow, "SetSlideShow( CONFIG_UNION, true );",
       "SetSlideShow( CONFIG_UNION, false );"},
      {CommandSetAllowRemoteControl, "SetPref( PREF_NETWORK_MODE, KS_NETWORK_MODE_NORMAL, true );",
       "SetPref( PREF_NETWORK_MODE,KS_NETWORK_MODE_LOCAL_ONLY, true );"},
      {CommandSetFlowFieldSmoothSwitch,
       "SetPref( PREF_FLOWFIELD_SMOOTH_SWITCH, 1 );  SetPref( PREF_FLOWFIELD_LINES_PER_FRAME, 3 );",
       "SetPref( PREF_FLOWFIELD_SMOOTH_SWITCH, 0 );  SetPref( PREF_FLOWFIELD_LINES_PER_FRAME, 1 "
       ");"},
      {CommandSetAutoTrackInfo, "SetPref( PREF_TRACK_TEXT_AUTO,true);",
       "SetPref( PREF_TRACK_TEXT_AUTO, false );"},
      {CommandSetAutoOpenToolbar, "SetPref( PREF_AUTO_OPEN_TOOLBAR, true, true );",
       "SetPref( PREF_AUTO_OPEN_TOOLBAR, false, true );"},
      {CommandSetAutoLineScale,
       "SetPref( PREF_AUTO_LINE_SCALE,true );  Execute( ADJUST_LINE_SCALE_TO_FRAME );",
       "SetPref( PREF_AUTO_LINE_SCALE, false );"},
      {CommandSetImageVideoEnabled, "SetSlideShow (CONFIG_SPRITE,true);",
       "SetSlideShow (CONFIG_SPRITE,false);"},
      {CommandSetParticlesEnabled, "SetSlideShow( CONFIG_PARTICLE,true);",
       "SetSlideShow( CONFIG_PARTICLE,false);"},
      {CommandSetFlowFieldSlideShow,
       "ShuffleSlideShow(CONFIG_FLOWFIELD); SetSlideShow(CONFIG_FLOWFIELD,true);",
       "SetSlideShow(CONFIG_FLOWFIELD,false);"},
      {CommandSetColorMapSlideShow,
       "ShuffleSlideShow(CONFIG_COLORMAP); SetSlideShow(CONFIG_COLORMAP,true);",
       "SetSlideShow(CONFIG_COLORMAP,false);"},
      {CommandSetWaveShapeSlideShow,
       "ShuffleSlideShow(CONFIG_WAVESHAPE); SetSlideShow(CONFIG_WAVESHAPE,true);",
       "SetSlideShow(CONFIG_WAVESHAPE,false);"},
  };
  CommandBuffer b;
  for (const Switch& item : kSwitches) {
    EXPECT_STREQ(item.mOn, item.mBuild(true, b.Get()));
    EXPECT_STREQ(item.mOff, item.mBuild(false, b.Get()));
  }
  EXPECT_STREQ("SetAllEnabled (16, true);", CommandSetAllEnabled(16, true, b.Get()));
  EXPECT_STREQ("SetAllEnabled (32, false);", CommandSetAllEnabled(32, false, b.Get()));
  EXPECT_STREQ("SetItemEnabled (1, \"Ripple Web\", false);",
               CommandSetItemEnabled(1, "Ripple Web", false, b.Get()));
  EXPECT_STREQ("SetItemEnabled (4, \"Swirl\", true);",
               CommandSetItemEnabled(4, "Swirl", true, b.Get()));
}

TEST(UICommandsTest, ValueSettings) {
  CommandBuffer b;
  EXPECT_STREQ("SetPref( PREF_CHECK_FOR_UPDATES, 7, true );",
               CommandSetCheckForUpdates(7, b.Get()));
  EXPECT_STREQ("SetPref( PREF_CHECK_FOR_UPDATES, 0, true );",
               CommandSetCheckForUpdates(0, b.Get()));
  EXPECT_STREQ(
      "SetPref( PREF_MAX_SIZE_X, 1280 ); SetPref( PREF_MAX_SIZE_Y, -1); ResetOccupiedRect();",
      CommandSetFrameSizeLimit(1280, -1, b.Get()));
  EXPECT_STREQ("SetPref( PREF_AUDIO_INPUT_SOURCE, 2 );  SetAudioSource( 2 );",
               CommandSetAudioSource(2, b.Get()));
  EXPECT_STREQ("SetPref( PREF_LINE_WIDTH_OFFSET, -5.000000); ", CommandSetLineOffset(-5, b.Get()));
  EXPECT_STREQ("SetPref( PREF_LINE_WIDTH_OFFSET, 1.500000); ", CommandSetLineOffset(1.5f, b.Get()));
  EXPECT_STREQ(
      "SetPref( PREF_TEXT_SIZE, 24); SetDefaultFont( GetPrefStr( PREF_TEXT_FONT ), GetPref( "
      "PREF_TEXT_SIZE ), KS_UTF8_CHARSET | KS_BOLD );",
      CommandSetTrackTextSize(24, b.Get()));
  EXPECT_STREQ(
      "SetPref( PREF_TEXT_FONT, \"Arial Black\"); SetDefaultFont( GetPrefStr( PREF_TEXT_FONT ), "
      "GetPref( PREF_TEXT_SIZE ), KS_UTF8_CHARSET | KS_BOLD );",
      CommandSetTrackTextFont("Arial Black", b.Get()));
  EXPECT_STREQ("SetFullscreenMode(\"1024 x 768 @ 60\");",
               CommandSetFullScreenMode("1024 x 768 @ 60", b.Get()));
}

TEST(UICommandsTest, TrackTextAppearanceAndDuration) {
  CommandBuffer b;
  std::string appearance =
      "if ( GetPref( PREF_TRACK_TEXT_APPEARANCE ) != 3 ) {" + Tabs(24) +
      "SetPref( PREF_TRACK_TEXT_APPEARANCE, 3 );" + Tabs(24) + "Execute( _KILL_TRACK_TEXT );" +
      Tabs(24) + "if ( GetSecsSinceLastSongStart() < GetPref( PREF_TRACK_TEXT_DURATION ) ) {" +
      Tabs(25) + "Execute( _START_TRACK_TEXT );" + Tabs(24) + "}" + Tabs(23) + "}";
  // 371 characters around two one-digit fields.
  ASSERT_EQ(371u - 4 + 2, appearance.size());
  EXPECT_EQ(appearance, CommandSetTrackTextAppearance(3, b.Get()));

  std::string duration = "if ( GetPref( PREF_TRACK_TEXT_DURATION ) != 10 ) {" + Tabs(24) +
                         "SetPref( PREF_TRACK_TEXT_DURATION, 10 );" + Tabs(24) +
                         "Execute( _KILL_TRACK_TEXT );" + Tabs(24) +
                         "if ( GetSecsSinceLastSongStart() < 10 ) {" + Tabs(25) +
                         "Execute( _START_TRACK_TEXT );" + Tabs(24) + "}" + Tabs(23) + "}";
  // 334 characters around three two-digit fields.
  ASSERT_EQ(334u - 6 + 6, duration.size());
  EXPECT_EQ(duration, CommandSetTrackTextDuration(10, b.Get()));
}

TEST(UICommandsTest, PercentCurvesAtTheQuarterMarks) {
  CommandBuffer b;
  const long kPercents[] = {0, 25, 50, 75, 100};
  const char* const kDuration[] = {"3.253831", "15.086537", "47.037776", "111.617825",
                                   "222.934490"};
  const char* const kInterval[] = {"502.000000", "259.994775", "103.531550", "22.617311",
                                   "2.000000"};
  const char* const kFactor[] = {"16.050000", "5.112500", "1.050000", "0.112500", "0.050000"};
  const char* const kResponse[] = {"0.000000", "0.500000", "1.000000", "4.278392", "12.000000"};
  const char* const kFrameRate[] = {"5.000000", "29.500000", "33.000000", "36.500000", "61.000000"};

  for (int i = 0; i < 5; ++i) {
    long p = kPercents[i];
    SCOPED_TRACE(p);
    std::string d = kDuration[i], n = kInterval[i], f = kFactor[i];
    EXPECT_EQ("SetPref( PREF_SPRITE_DURATION, \"( .8 + rnd( .4 ) ) * " + d + "\");",
              CommandSetImageVideoDuration(p, b.Get()));
    EXPECT_EQ("SetPref( PREF_PARTICLE_DURATION, \"( .8 + rnd( .4 ) ) * " + d + "\");",
              CommandSetParticleDuration(p, b.Get()));
    EXPECT_EQ("SetPref( PREF_SPRITE_INTERVAL, \"( .8 + rnd( .4 ) ) * " + n + "\");",
              CommandSetImageVideoInterval(p, b.Get()));
    EXPECT_EQ("SetPref( PREF_PARTICLE_INTERVAL, \"( .8 + rnd( .4 ) ) * " + n + "\");",
              CommandSetParticleInterval(p, b.Get()));
    EXPECT_EQ("SetPref (PREF_FLOWFIELD_INTERVAL, \"1 + ( 25 + rnd( 15 ) ) * " + f + "\");",
              CommandSetFlowFieldInterval(p, b.Get()));
    EXPECT_EQ("SetPref( PREF_COLORMAP_INTERVAL, \"1 + ( 25 + rnd( 10 ) ) * " + f + "\");",
              CommandSetColorMapInterval(p, b.Get()));
    EXPECT_EQ("SetPref (PREF_WAVESHAPE_INTERVAL, \"1 + ( 20 + rnd( 10 ) ) * " + f + "\");",
              CommandSetWaveShapeInterval(p, b.Get()));
    EXPECT_EQ(std::string("SetPref( PREF_RESPONSE_SCALE ,") + kResponse[i] + ");",
              CommandSetResponseScaleFromPercent(p, b.Get()));
    EXPECT_EQ(std::string("SetPref( PREF_DESIRED_FRAME_RATE,") + kFrameRate[i] + ");",
              CommandSetFrameRate(p, b.Get()));
  }

  // Just below 50 percent the response scale is still the linear 2q.
  EXPECT_STREQ("SetPref( PREF_RESPONSE_SCALE ,0.980000);",
               CommandSetResponseScaleFromPercent(49, b.Get()));
  // The frame-rate cube is odd around 50 percent: 40 and 60 sit 0.448 either side of 33.
  EXPECT_STREQ("SetPref( PREF_DESIRED_FRAME_RATE,32.776000);", CommandSetFrameRate(40, b.Get()));
  EXPECT_STREQ("SetPref( PREF_DESIRED_FRAME_RATE,33.224000);", CommandSetFrameRate(60, b.Get()));
}

TEST(UICommandsTest, NavigationBetweenConfigurations) {
  CommandBuffer b;
  EXPECT_STREQ(
      "NextWaveShape (-1, WAVESHAPE_QUICK_MORPH, true, ! GetSlideShow( CONFIG_WAVESHAPE ) );",
      CommandNextWaveShape(-1, b.Get()));
  EXPECT_STREQ("SetWaveShape (\"Ripple Web\", WAVESHAPE_QUICK_MORPH, true);",
               CommandSetWaveShape("Ripple Web", b.Get()));
  EXPECT_STREQ("NextColorMap( 1, COLORMAP_QUICK_MORPH, true, ! GetSlideShow( CONFIG_COLORMAP ) );",
               CommandNextColorMap(1, b.Get()));
  EXPECT_STREQ("SetColorMap( \"Ember\", COLORMAP_QUICK_MORPH, true);",
               CommandSetColorMap("Ember", b.Get()));

  std::string next = Tabs(24) + "if ( GetPref( PREF_FLOWFIELD_SMOOTH_SWITCH ) ) {" + Tabs(25) +
                     "NextFlowField ( -1, FLOWFIELD_QUICK_MORPH, false, ! GetSlideShow( "
                     "CONFIG_FLOWFIELD ) );" +
                     Tabs(24) + "}" + Tabs(24) + "else {" + Tabs(25) +
                     "NextFlowField ( -1, 0, true, ! GetSlideShow( CONFIG_FLOWFIELD ) );" +
                     Tabs(24) + "}" + Tabs(24);
  ASSERT_EQ(379u - 4 + 4, next.size());
  EXPECT_EQ(next, CommandNextFlowField(-1, b.Get()));

  std::string set = Tabs(24) + "if ( GetPref( PREF_FLOWFIELD_SMOOTH_SWITCH ) ) {" + Tabs(25) +
                    "SetNextFlowField ( \"Vortex\", \"\", 0, false, FLOWFIELD_QUICK_MORPH );" +
                    Tabs(24) + "}" + Tabs(24) + "else {" + Tabs(25) +
                    "SetFlowField ( \"Vortex\" );" + Tabs(24) + "}" + Tabs(24);
  ASSERT_EQ(311u - 4 + 12, set.size());
  EXPECT_EQ(set, CommandSetFlowField("Vortex", b.Get()));
}

TEST(UICommandsTest, ParticlesSpritesAndActions) {
  CommandBuffer b;
  EXPECT_STREQ("StartParticle(\"Sparks\", 0 );", CommandStartParticle("Sparks", b.Get()));
  EXPECT_STREQ("KillParticles(\"Sparks\", false, PARTICLE_KILL_DURATION );",
               CommandStopParticle("Sparks", b.Get()));
  EXPECT_STREQ("KillRunningParticles( PARTICLE_KILL_DURATION );",
               CommandKillRunningParticles(b.Get()));
  EXPECT_STREQ("StartRandomParticle();", CommandStartRandomParticle(b.Get()));
  EXPECT_STREQ("StartSprite(\"Logo.bmp\", 0, 5 );", CommandStartImageVideo("Logo.bmp", 5, b.Get()));
  EXPECT_STREQ("KillSprites( \"Logo.bmp\", false, PARTICLE_KILL_DURATION );",
               CommandStopImageVideo("Logo.bmp", b.Get()));
  EXPECT_STREQ("KillRunningSprites( PARTICLE_KILL_DURATION );",
               CommandKillRunningImageVideo(b.Get()));
  EXPECT_STREQ("StartRandomSprite();", CommandStartRandomImageVideo(b.Get()));
  EXPECT_STREQ("RegisterExternalSprites(\"C:\\Pictures\\Show\",1);",
               CommandRegisterExternalImageVideo("C:\\Pictures\\Show", true, b.Get()));
  EXPECT_STREQ("RegisterExternalSprites(\"\",0);",
               CommandRegisterExternalImageVideo("", false, b.Get()));
  EXPECT_STREQ("RescanFolders( CONFIG_SPRITE );", CommandRescanImageVideo(b.Get()));
  EXPECT_STREQ("SetFullscreen(!IsFullscreen());", CommandToggleFullScreen(b.Get()));
  EXPECT_STREQ("Execute( _KILL_TRACK_TEXT _START_TRACK_TEXT);", CommandAlbumInfo(b.Get()));
  EXPECT_STREQ("Execute( _TAKE_SCREENSHOT );", CommandSnapshot(b.Get()));
}

TEST(UICommandsTest, Queries) {
  // Backslash-zero is two characters of the text; the engine's printf turns
  // it into the NUL that ends the reply's number.
  const Query kQueries[] = {
      {CommandGetFlowFieldTransitions,
       "printf( \"%d\\0\", ! GetPref( PREF_FLOWFIELD_TRANS_DISABLE));"},
      {CommandGetUnionSlideShow, "printf( \"%d\\0\", GetSlideShow( CONFIG_UNION ) );"},
      {CommandGetAllowRemoteControl,
       "printf( \"%d\\0\", GetPref( PREF_NETWORK_MODE) == KS_NETWORK_MODE_NORMAL );"},
      {CommandGetFlowFieldSmoothSwitch,
       "printf( \"%d\\0\", GetPref( PREF_FLOWFIELD_SMOOTH_SWITCH ) );"},
      {CommandGetAutoTrackInfo, "printf( \"%d\\0\", GetPref( PREF_TRACK_TEXT_AUTO) );"},
      {CommandGetAutoLineScale, "printf( \"%d\\0\", GetPref( PREF_AUTO_LINE_SCALE ) );"},
      {CommandGetFrameXLimit, "printf( \"%d\\0\", GetPref( PREF_MAX_SIZE_X ) );"},
      {CommandGetFrameYLimit, "printf( \"%d\\0\", GetPref( PREF_MAX_SIZE_Y ) );"},
      {CommandGetAudioSource,
       "printf( \"%s\\0\", GetAudioSourceDesc( GetPref( PREF_AUDIO_INPUT_SOURCE ) ) );"},
      {CommandGetLineOffset, "printf( \"%f\\0\", GetPref( PREF_LINE_WIDTH_OFFSET ) );"},
      {CommandGetTrackTextSize, "printf( \"%d\\0\", GetPref( PREF_TEXT_SIZE ));"},
      {CommandGetTrackTextFont, "printf( \"%s\\0\", GetPrefStr( PREF_TEXT_FONT ));"},
      {CommandGetTrackTextAppearance, "printf( \"%d\\0\", GetPref( PREF_TRACK_TEXT_APPEARANCE ));"},
      {CommandGetTrackTextDuration, "printf( \"%d\\0\", GetPref( PREF_TRACK_TEXT_DURATION ) );"},
      {CommandGetFullScreenMode, "print( GetFullscreenMode() );"},
      {CommandGetTrackInfo, "print( GetTrackInfo() );"},
      {CommandGetWaveShapeList, "print( GetConfigList(CONFIG_WAVESHAPE));"},
      {CommandGetColorMapList, "print( GetConfigList(CONFIG_COLORMAP));"},
      {CommandGetFlowFieldList, "print( GetConfigList(CONFIG_FLOWFIELD));"},
      {CommandGetParticleList, "print( GetConfigList( CONFIG_PARTICLE ) );"},
      {CommandGetImageVideoList, "print( GetConfigList(CONFIG_SPRITE));"},
      {CommandGetWaveShapeSlideShow, "printf( \"%d\", GetSlideShow(CONFIG_WAVESHAPE));"},
      {CommandGetColorMapSlideShow, "printf( \"%d\", GetSlideShow(CONFIG_COLORMAP));"},
      {CommandGetFlowFieldSlideShow, "printf( \"%d\", GetSlideShow(CONFIG_FLOWFIELD));"},
      {CommandGetCurrentWaveShape, "printf( \"%s\", GetCurrentWaveShape());"},
      {CommandGetCurrentColorMap, "printf( \"%s\", GetCurrentColorMap());"},
      {CommandGetCurrentFlowField, "printf( \"%s\", GetCurrentFlowField());"},
      {CommandIsVersionAvailable,
       "printf( \"%d\", (GetPref( PREF_CHECK_FOR_UPDATES ) > 0) && (GetPref( PREF_VERS_AVAIL_NUM) "
       "> _VERSION_));"},
      {CommandBuildAudioSourceList, "print( BuildAudioSourceList() );"},
      {CommandBuildFontList, "print(BuildSystemFontList());"},
  };
  CommandBuffer b;
  for (const Query& query : kQueries) {
    char* result = query.mBuild(b.Get());
    EXPECT_EQ(b.Get(), result);
    EXPECT_STREQ(query.mExpected, result);
  }
  EXPECT_STREQ("print( BuildDisplayModeList( 0 ) );", CommandBuildDisplayModeList(0, b.Get()));
  EXPECT_STREQ("print( BuildDisplayModeList( 12 ) );", CommandBuildDisplayModeList(12, b.Get()));
}

TEST(UICommandsTest, NamesGoInUnchangedAndNeverOverrunTheBuffer) {
  CommandBuffer b;
  // A quote in a name is not escaped; the engine gets a malformed script.
  EXPECT_STREQ("StartParticle(\"Say \"hi\"\", 0 );", CommandStartParticle("Say \"hi\"", b.Get()));
  EXPECT_STREQ("SetColorMap( \"100% Red\", COLORMAP_QUICK_MORPH, true);",
               CommandSetColorMap("100% Red", b.Get()));

  // The longest name callers pass (299 characters) fits twice in the flow-field frame.
  std::string longest(299, 'n');
  std::string text = CommandSetFlowField(longest.c_str(), b.Get());
  EXPECT_EQ(311u - 4 + 2 * 299, text.size());
  EXPECT_NE(std::string::npos, text.find("SetFlowField ( \"" + longest + "\" );"));

  // Anything longer is cut off at the end of the buffer, still terminated.
  std::string huge(3000, 'h');
  EXPECT_EQ(kCommandBufferSize - 1, strlen(CommandSetFlowField(huge.c_str(), b.Get())));
  EXPECT_EQ(kCommandBufferSize - 1, strlen(CommandSetWaveShape(huge.c_str(), b.Get())));
  EXPECT_EQ(kCommandBufferSize - 1, strlen(CommandSetTrackTextFont(huge.c_str(), b.Get())));
}
