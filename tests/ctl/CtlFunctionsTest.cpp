// Reading a function and its value from the command line. Which builder each
// function uses is the toolbar's dispatch table, tested with it; here each kind
// of value must read as the control's value, and anything else be refused.
#include <gtest/gtest.h>

#include <string>

#include "ctl/CtlFunctions.h"
#include "foundation/KSError.h"

namespace {

// The script, or "error: " and the message.
std::string Script(const char* inName, const char* inValue) {
  char buffer[kCommandBufferSize] = "untouched";
  UtilStr error;
  long err = BuildFunctionScript(inName, inValue, buffer, &error);
  if (err != 0) {
    EXPECT_EQ(kKSErr_Param, err);
    EXPECT_STREQ("untouched", buffer);
    return std::string("error: ") + error.getCStr();
  }
  return buffer;
}

}  // namespace

TEST(CtlFunctionsTest, EachKindOfValueReadsAsTheControlsValueOrIsRefused) {
  const std::string k256(256, 'n'), k257(257, 'n'), k300(300, 'n'), k301(301, 'n');
  struct Case {
    const char* mName;
    const char* mValue;     // null: none given
    const char* mExpected;  // found in the script or the message
  } const kCases[] = {
      {"wAVEsHAPEnEXT", nullptr, "NextWaveShape (1,"},
      {"WaveShapeNext", "1", "error: \"WaveShapeNext\" takes no value"},
      {"NoSuchFunction", nullptr, "error: unknown function \"NoSuchFunction\""},
      {"", nullptr, "error: unknown function"},
      {"Minimize", nullptr, "error: \"Minimize\" acts on the toolbar alone"},
      {"advprefskin", "Factory Blue", "error: \"AdvPrefSkin\" acts on the toolbar alone"},

      {"WaveShapeToggle", "TRUE", "CONFIG_WAVESHAPE,true"},
      {"WaveShapeToggle", "Yes", "CONFIG_WAVESHAPE,true"},
      {"WaveShapeToggle", "OFF", "CONFIG_WAVESHAPE,false"},
      {"WaveShapeToggle", "0", "CONFIG_WAVESHAPE,false"},
      {"WaveShapeToggle", "maybe", "error: \"WaveShapeToggle\" needs on or off, not \"maybe\""},
      {"WaveShapeToggle", nullptr, "error: \"WaveShapeToggle\" needs on or off"},

      {"FrameRate", "0", "FRAME_RATE,5.000000"},
      {"FrameRate", "100%", "FRAME_RATE,61.000000"},
      {"FrameRate", "101", "error: \"FrameRate\" needs a percentage from 0 to 100, not \"101\""},
      {"FrameRate", "5.5", "error: \"FrameRate\" needs a percentage"},

      // Names go in unchanged, quotes and all, up to the control's limit.
      {"WaveShapeList", "Say \"hi\"", "SetWaveShape (\"Say \"hi\"\","},
      {"WaveShapeList", k256.c_str(), "SetWaveShape (\"nnn"},
      {"WaveShapeList", k257.c_str(), "error: \"WaveShapeList\" needs an item name of at most 256"},
      {"WaveShapeList", "", "error: \"WaveShapeList\" needs an item name of at most 256"},
      {"AdvParticlesStop", k300.c_str(), "KillParticles(\"nnn"},
      {"AdvParticlesStop", k301.c_str(),
       "error: \"AdvParticlesStop\" needs an item name of at most 300"},

      {"AdvPrefFrameXLimit", "9", "PREF_MAX_SIZE_X, 0 ); SetPref( PREF_MAX_SIZE_Y, 20000);"},
      {"AdvPrefFrameXLimit", "10", "error: \"AdvPrefFrameXLimit\" needs an index from 0 to 9"},
      {"AdvPrefTrackTextDuration", "6", "PREF_TRACK_TEXT_DURATION, 30000 );"},
      {"AdvPrefTrackTextDuration", "7",
       "error: \"AdvPrefTrackTextDuration\" needs an index from 0 to 6"},
      {"AdvPrefAudioSource", "123456789", "SetAudioSource( 123456789 );"},
      {"AdvPrefAudioSource", "1234567890", "error: \"AdvPrefAudioSource\" needs an index from 0,"},
      {"AdvPrefAudioSource", "-1", "error: \"AdvPrefAudioSource\" needs an index from 0,"},
  };
  for (const Case& c : kCases) {
    std::string result = Script(c.mName, c.mValue);
    EXPECT_NE(std::string::npos, result.find(c.mExpected)) << c.mName << ": " << result;
  }
}
