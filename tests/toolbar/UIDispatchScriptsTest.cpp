// Each engine-facing UI function, found by its skin name, must take the value
// its control reports and send the script of the right builder with that value.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "toolbar/UIDispatchScripts.h"

namespace {

struct Row {
  const char* mName;
  eUIValueKind mKind;
  long mLimit;
  long mNumber;  // on/off as 1/0, percentage or index
  const char* mText;
  const char* mScriptPart;  // found in the script
};

const eUIValueKind N = kUIValueNone, B = kUIValueOnOff, P = kUIValuePercent, T = kUIValueItemText,
                   I = kUIValueIndex;

// The percentages are chosen so that each curve gives a value of its own.
const Row kRows[] = {
    {"StartRandomParticle", N, 0, 0, "", "StartRandomParticle();"},
    {"StartRandomImageVideo", N, 0, 0, "", "StartRandomSprite();"},
    {"AlbumInfo", N, 0, 0, "", "Execute( _KILL_TRACK_TEXT _START_TRACK_TEXT);"},
    {"WaveShapeToggle", B, 0, 1, "", "SetSlideShow(CONFIG_WAVESHAPE,true);"},
    {"WaveShapeList", T, 256, 0, "Swirl", "SetWaveShape (\"Swirl\","},
    {"WaveShapePrev", N, 0, 0, "", "NextWaveShape (-1,"},
    {"WaveShapeNext", N, 0, 0, "", "NextWaveShape (1,"},
    {"WaveShapeInterval", P, 0, 100, "", "WAVESHAPE_INTERVAL, \"1 + ( 20 + rnd( 10 ) ) * 0.05"},
    {"ColorMapToggle", B, 0, 0, "", "SetSlideShow(CONFIG_COLORMAP,false);"},
    {"ColorMapList", T, 256, 0, "Ember", "SetColorMap( \"Ember\","},
    {"ColorMapPrev", N, 0, 0, "", "NextColorMap( -1,"},
    {"ColorMapNext", N, 0, 0, "", "NextColorMap( 1,"},
    {"ColorMapInterval", P, 0, 0, "", "COLORMAP_INTERVAL, \"1 + ( 25 + rnd( 10 ) ) * 16.05"},
    {"FlowFieldToggle", B, 0, 1, "", "SetSlideShow(CONFIG_FLOWFIELD,true);"},
    {"FlowFieldList", T, 256, 0, "Drift", "SetFlowField ( \"Drift\" );"},
    {"FlowFieldPrev", N, 0, 0, "", "NextFlowField ( -1, 0,"},
    {"FlowFieldNext", N, 0, 0, "", "NextFlowField ( 1, 0,"},
    {"FlowFieldInterval", P, 0, 25, "", "FLOWFIELD_INTERVAL, \"1 + ( 25 + rnd( 15 ) ) * 5.1125"},
    {"FrameRate", P, 0, 0, "", "SetPref( PREF_DESIRED_FRAME_RATE,5.000000);"},
    {"ResponseScale", P, 0, 49, "", "SetPref( PREF_RESPONSE_SCALE ,0.980000);"},
    {"FullScreen", N, 0, 0, "", "SetFullscreen(!IsFullscreen());"},
    {"Snapshot", N, 0, 0, "", "Execute( _TAKE_SCREENSHOT );"},
    {"AdvParticles", T, 300, 0, "Sparks", "StartParticle(\"Sparks\", 0 );"},
    {"AdvParticlesStart", T, 300, 0, "Sparks", "StartParticle(\"Sparks\", 0 );"},
    {"AdvParticlesStop", T, 300, 0, "Sparks", "KillParticles(\"Sparks\", false,"},
    {"AdvParticlesStopAll", N, 0, 0, "", "KillRunningParticles( PARTICLE_KILL_DURATION );"},
    {"AdvParticlesAutoStart", B, 0, 1, "", "SetSlideShow( CONFIG_PARTICLE,true);"},
    {"AdvParticlesInterval", P, 0, 75, "", "PARTICLE_INTERVAL, \"( .8 + rnd( .4 ) ) * 22.617311"},
    {"AdvParticlesDuration", P, 0, 50, "", "PARTICLE_DURATION, \"( .8 + rnd( .4 ) ) * 47.037776"},
    // Without a theme's word on it a sprite starts with the flags 0x80000000.
    {"AdvImageVideo", T, 300, 0, "Logo", "StartSprite(\"Logo\", 0, -2147483648 );"},
    {"AdvImageVideoStart", T, 300, 0, "Logo", "StartSprite(\"Logo\", 0, -2147483648 );"},
    {"AdvImageVideoStop", T, 300, 0, "Logo", "KillSprites( \"Logo\", false,"},
    {"AdvImageVideoStopAll", N, 0, 0, "", "KillRunningSprites( PARTICLE_KILL_DURATION );"},
    {"AdvImageVideoRescan", N, 0, 0, "", "RescanFolders( CONFIG_SPRITE );"},
    {"AdvImageVideoAutoStart", B, 0, 0, "", "SetSlideShow (CONFIG_SPRITE,false);"},
    {"AdvImageVideoInterval", P, 0, 100, "", "SPRITE_INTERVAL, \"( .8 + rnd( .4 ) ) * 2.0"},
    {"AdvImageVideoDuration", P, 0, 0, "", "SPRITE_DURATION, \"( .8 + rnd( .4 ) ) * 3.253831"},
    {"AdvImageVideoClearAlternateSource", N, 0, 0, "", "RescanFolders( CONFIG_SPRITE );"},
    {"AdvImageVideoIncludeSubfolders", B, 0, 1, "", "RescanFolders( CONFIG_SPRITE );"},
    {"AdvWaveShapes", T, 300, 0, "Swirl", "SetWaveShape (\"Swirl\","},
    {"AdvWaveShapesStart", T, 300, 0, "Swirl", "SetWaveShape (\"Swirl\","},
    {"AdvColorMaps", T, 300, 0, "Ember", "SetColorMap( \"Ember\","},
    {"AdvColorMapsStart", T, 300, 0, "Ember", "SetColorMap( \"Ember\","},
    {"AdvFlowFields", T, 300, 0, "Drift", "SetFlowField ( \"Drift\" );"},
    {"AdvFlowFieldsStart", T, 300, 0, "Drift", "SetFlowField ( \"Drift\" );"},
    {"AdvPrefCheckForUpdates", B, 0, 1, "", "SetPref( PREF_CHECK_FOR_UPDATES, 7, true );"},
    {"AdvPrefAutoTrackInfo", B, 0, 0, "", "SetPref( PREF_TRACK_TEXT_AUTO, false );"},
    {"AdvPrefFullScreenMode", T, 300, 0, "1024 x 768", "SetFullscreenMode(\"1024 x 768\");"},
    {"AdvPrefAudioSource", I, 0, 3, "", "SetAudioSource( 3 );"},
    {"AdvPrefTrackTextDuration", I, 7, 3, "", "SetPref( PREF_TRACK_TEXT_DURATION, 15 );"},
    {"AdvPrefTrackTextAppearance", I, 3, 2, "", "SetPref( PREF_TRACK_TEXT_APPEARANCE, 2 );"},
    {"AdvPrefTrackTextFont", T, 300, 0, "Arial Black", "PREF_TEXT_FONT, \"Arial Black\");"},
    {"AdvPrefTrackTextSize", I, 13, 12, "", "SetPref( PREF_TEXT_SIZE, 48);"},
    {"AdvPrefLineBoost", I, 11, 3, "", "SetPref( PREF_LINE_WIDTH_OFFSET, -2.000000); "},
    // Without the other frame-limit combo box its dimension gets 20000.
    {"AdvPrefFrameXLimit", I, 10, 3, "", "X, 800 ); SetPref( PREF_MAX_SIZE_Y, 20000);"},
    {"AdvPrefFrameYLimit", I, 10, 8, "", "X, 20000 ); SetPref( PREF_MAX_SIZE_Y, 10000);"},
    {"AdvPrefAutoLineScale", B, 0, 1, "", "SetPref( PREF_AUTO_LINE_SCALE,true );  Execute("},
    {"AdvPrefAllowRemoteControl", B, 0, 0, "", "MODE,KS_NETWORK_MODE_LOCAL_ONLY, true );"},
    {"AdvPrefAutoOpenToolbar", B, 0, 1, "", "SetPref( PREF_AUTO_OPEN_TOOLBAR, true, true );"},
    {"AdvPrefFlowFieldUnions", B, 0, 0, "", "SetSlideShow( CONFIG_UNION, false );"},
    {"AdvPrefFlowFieldTransitions", B, 0, 1, "", "SetPref( PREF_FLOWFIELD_TRANS_DISABLE, 0);"},
    {"AdvPrefFlowFieldSmoothSwitch", B, 0, 0, "",
     "0 );  SetPref( PREF_FLOWFIELD_LINES_PER_FRAME, 1"},
};

std::string Script(eUIFunction inFunction, const UIValue& inValue) {
  char buffer[kCommandBufferSize];
  const char* script = BuildUIScript(inFunction, inValue, buffer);
  return script != nullptr ? script : "(none)";
}

}  // namespace

TEST(UIDispatchScriptsTest, EachFunctionSendsItsBuildersScriptForTheControlsValue) {
  std::set<eUIFunction> listed;
  for (const Row& row : kRows) {
    eUIFunction function;
    ASSERT_TRUE(LookupUIFunction(row.mName, &function)) << row.mName;
    listed.insert(function);
    const UIScriptEntry* entry = FindUIScript(function);
    ASSERT_NE(nullptr, entry) << row.mName;
    EXPECT_EQ(row.mKind, entry->mValueKind) << row.mName;
    EXPECT_EQ(row.mLimit, entry->mLimit) << row.mName;
    UIValue value;
    value.mOn = row.mNumber != 0;
    value.mNumber = row.mNumber;
    value.mText = row.mText;
    std::string script = Script(function, value);
    EXPECT_NE(std::string::npos, script.find(row.mScriptPart)) << row.mName << ": " << script;
  }
  // Every other function acts on the toolbar alone or does nothing.
  for (const TokenMap* f = sFunctionMap; f->Name != nullptr; ++f) {
    eUIFunction function = eUIFunction(f->Value);
    EXPECT_EQ(listed.count(function) == 0, FindUIScript(function) == nullptr) << f->Name;
  }
  EXPECT_EQ("(none)", Script(kUIAdvPrefSkin, UIValue()));
}

TEST(UIDispatchScriptsTest, ThemeFlagsUpdateCheckOffAndBothFrameLimitBoxes) {
  UIValue value;
  value.mText = "Logo";
  value.mSpriteFlags = 5;
  EXPECT_EQ("StartSprite(\"Logo\", 0, 5 );", Script(kUIAdvImageVideoStart, value));
  EXPECT_EQ("SetPref( PREF_CHECK_FOR_UPDATES, 0, true );",
            Script(kUIAdvPrefCheckForUpdates, UIValue()));

  // The other box's selection counts too; none selected and "(Auto)" give 0.
  struct Limits {
    eUIFunction mFunction;
    long mIndex;
    long mOther;
    const char* mScriptPart;
  } const kLimits[] = {
      {kUIAdvPrefFrameXLimit, 0, -1, "PREF_MAX_SIZE_X, 200 ); SetPref( PREF_MAX_SIZE_Y, 0);"},
      {kUIAdvPrefFrameXLimit, 9, 7, "PREF_MAX_SIZE_X, 0 ); SetPref( PREF_MAX_SIZE_Y, 1600);"},
      {kUIAdvPrefFrameYLimit, -1, 8, "PREF_MAX_SIZE_X, 10000 ); SetPref( PREF_MAX_SIZE_Y, 0);"},
  };
  for (const Limits& limits : kLimits) {
    value.mNumber = limits.mIndex;
    value.mOtherFrameLimit = limits.mOther;
    std::string script = Script(limits.mFunction, value);
    EXPECT_NE(std::string::npos, script.find(limits.mScriptPart)) << script;
  }
}
