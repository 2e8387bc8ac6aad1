#include <gtest/gtest.h>

#include <vector>

#include "ctl/CtlOptions.h"
#include "foundation/KSError.h"

namespace {

long Parse(std::vector<const char*> inArgs, CtlOptions* outOptions, UtilStr* outError) {
  return ParseCtlOptions(int(inArgs.size()), inArgs.data(), outOptions, outError);
}

}  // namespace

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
