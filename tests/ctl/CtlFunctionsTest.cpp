// Reading the command line: the command, its arguments and the options, and
// a function and its value. Which builder each function uses is the toolbar's
// dispatch table, tested with it; here each kind of value must read as the
// control's value, and anything else be refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ctl/CtlFunctions.h"
#include "ctl/CtlOptions.h"
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

long Parse(std::vector<const char*> inArgs, CtlOptions* outOptions, UtilStr* outError) {
  return ParseCtlOptions(int(inArgs.size()), inArgs.data(), outOptions, outError);
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

TEST(CtlOptionsTest, CommandsWithTheirArgumentsAndOptionsAnywhere) {
  CtlOptions options;
  UtilStr error;
  ASSERT_EQ(0, Parse({"do", "WaveShapeInterval", "75", "--instance", "Studio"}, &options, &error));
  EXPECT_EQ(kCtlDo, options.mCommand);
  EXPECT_TRUE(options.mText == "WaveShapeInterval");
  EXPECT_TRUE(options.mHasValue);
  EXPECT_TRUE(options.mValue == "75");
  EXPECT_TRUE(options.mInstance == "Studio");

  ASSERT_EQ(0, Parse({"--connect", "127.0.0.1:4242", "send", "print( GetTrackInfo() );"}, &options,
                     &error));
  EXPECT_EQ(kCtlSend, options.mCommand);
  EXPECT_TRUE(options.mHost == "127.0.0.1");
  EXPECT_EQ(4242, options.mPort);
  EXPECT_TRUE(options.mText == "print( GetTrackInfo() );");

  // An IPv6 address keeps its colons; the port follows the last one.
  ASSERT_EQ(0, Parse({"get", "--json", "--connect", "::1:80"}, &options, &error));
  EXPECT_TRUE(options.mHost == "::1");
  EXPECT_EQ(80, options.mPort);
  EXPECT_TRUE(options.mJson);
  ASSERT_EQ(0, Parse({"get", "--connect", "[::1]:81"}, &options, &error));
  EXPECT_TRUE(options.mHost == "::1");
  EXPECT_EQ(81, options.mPort);

  ASSERT_EQ(0, Parse({"watch", "--for", "2.5"}, &options, &error));
  EXPECT_EQ(kCtlWatch, options.mCommand);
  EXPECT_DOUBLE_EQ(2.5, options.mForSeconds);

  // Every option goes with every command; the command ignores what it has no use for.
  ASSERT_EQ(0, Parse({"script", "WaveShapeNext", "--connect", "h:1", "--json", "--for", "1"},
                     &options, &error));
  EXPECT_EQ(kCtlScript, options.mCommand);
  EXPECT_FALSE(options.mHasValue);
  ASSERT_EQ(0, Parse({"--instance", "A", "list", "--for", "1"}, &options, &error));
  EXPECT_EQ(kCtlList, options.mCommand);

  // After "--" a value may start with a dash.
  ASSERT_EQ(0, Parse({"do", "--", "AdvParticlesStart", "-Sparks-"}, &options, &error));
  EXPECT_TRUE(options.mValue == "-Sparks-");

  // --help wins over everything else, even a bad command.
  ASSERT_EQ(0, Parse({"bogus", "--help"}, &options, &error));
  EXPECT_EQ(kCtlHelp, options.mCommand);
  EXPECT_TRUE(error.IsEmpty());
}

TEST(CtlOptionsTest, UsageErrorsAreReportedWithAReason) {
  const std::vector<std::vector<const char*>> kBad = {
      {},
      {"frobnicate"},
      {"send", "a", "b"},
      {"do"},
      {"list", "extra"},
      {"get", "--bogus"},
      {"get", "--instance"},
      {"get", "--instance", ""},
      {"get", "--connect", "localhost"},
      {"get", "--connect", "localhost:65536"},
      {"get", "--connect", "localhost:12ab"},
      {"get", "--connect", ":80"},
      {"watch", "--for", "0"},
      {"watch", "--for", "soon"},
      {"get", "--instance", "A", "--connect", "h:1"},
  };
  for (const std::vector<const char*>& args : kBad) {
    CtlOptions options;
    UtilStr error;
    std::string joined;
    for (const char* arg : args) {
      joined += std::string(arg) + " ";
    }
    EXPECT_EQ(kKSErr_Param, Parse(args, &options, &error)) << joined;
    EXPECT_FALSE(error.IsEmpty()) << joined;
  }
}
