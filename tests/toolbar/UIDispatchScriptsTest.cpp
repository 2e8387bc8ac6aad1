// Each engine-facing UI function, found by its skin name, takes the kind of
// value its control reports; the theme's sprite flags, the update check and
// the frame-limit boxes shape its script.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "toolbar/UIDispatchScripts.h"

namespace {

const eUIValueKind N = kUIValueNone, B = kUIValueOnOff, P = kUIValuePercent, T = kUIValueItemText,
                   I = kUIValueIndex;

// The engine-facing functions by the kind of value their control reports and
// its limit.
const struct {
  eUIValueKind mKind;
  long mLimit;
  const char* mNames;  // separated by blanks
} kKinds[] = {
    {N, 0,
     "StartRandomParticle StartRandomImageVideo AlbumInfo WaveShapePrev "
     "WaveShapeNext ColorMapPrev ColorMapNext FlowFieldPrev FlowFieldNext "
     "FullScreen Snapshot AdvParticlesStopAll AdvImageVideoStopAll "
     "AdvImageVideoRescan AdvImageVideoClearAlternateSource "},
    {B, 0,
     "WaveShapeToggle ColorMapToggle FlowFieldToggle AdvParticlesAutoStart "
     "AdvImageVideoAutoStart AdvImageVideoIncludeSubfolders "
     "AdvPrefCheckForUpdates AdvPrefAutoTrackInfo AdvPrefAutoLineScale "
     "AdvPrefAllowRemoteControl AdvPrefAutoOpenToolbar "
     "AdvPrefFlowFieldUnions AdvPrefFlowFieldTransitions "
     "AdvPrefFlowFieldSmoothSwitch "},
    {T, 256, "WaveShapeList ColorMapList FlowFieldList "},
    {P, 0,
     "WaveShapeInterval ColorMapInterval FlowFieldInterval FrameRate "
     "ResponseScale AdvParticlesInterval AdvParticlesDuration "
     "AdvImageVideoInterval AdvImageVideoDuration "},
    {T, 300,
     "AdvParticles AdvParticlesStart AdvParticlesStop AdvImageVideo "
     "AdvImageVideoStart AdvImageVideoStop AdvWaveShapes AdvWaveShapesStart "
     "AdvColorMaps AdvColorMapsStart AdvFlowFields AdvFlowFieldsStart "
     "AdvPrefFullScreenMode AdvPrefTrackTextFont "},
    {I, 0, "AdvPrefAudioSource "},
    {I, 7, "AdvPrefTrackTextDuration "},
    {I, 3, "AdvPrefTrackTextAppearance "},
    {I, 13, "AdvPrefTrackTextSize "},
    {I, 11, "AdvPrefLineBoost "},
    {I, 10, "AdvPrefFrameXLimit AdvPrefFrameYLimit "},
};

std::string Script(eUIFunction inFunction, const UIValue& inValue) {
  char buffer[kCommandBufferSize];
  const char* script = BuildUIScript(inFunction, inValue, buffer);
  return script != nullptr ? script : "(none)";
}

}  // namespace

// Which script each function sends for which value is seen in the engine-sim
// catalogue test, where the simulated engine runs it; here the kind of value
// its control reports, and that every other function sends none.
TEST(UIDispatchScriptsTest, EachEngineFunctionReadsItsControlsKindOfValue) {
  std::set<eUIFunction> listed;
  for (const auto& kind : kKinds) {
    std::istringstream names(kind.mNames);
    for (std::string name; names >> name;) {
      eUIFunction function;
      ASSERT_TRUE(LookupUIFunction(name.c_str(), &function)) << name;
      listed.insert(function);
      const UIScriptEntry* entry = FindUIScript(function);
      ASSERT_NE(nullptr, entry) << name;
      EXPECT_EQ(kind.mKind, entry->mValueKind) << name;
      EXPECT_EQ(kind.mLimit, entry->mLimit) << name;
    }
  }
  EXPECT_EQ(62u, listed.size());
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
