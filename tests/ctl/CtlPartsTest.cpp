// corvexa-ctl's parts on their own. In: the command, its arguments and the
// options, and a function and its value (which builder each function uses is
// the toolbar's dispatch table, tested with it; here each kind of value must
// read as the control's value, and anything else be refused). Out: replies,
// the get report as text and JSON, notices, and the help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ctl/CtlFunctions.h"
#include "ctl/CtlJson.h"
#include "ctl/CtlNotice.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReply.h"
#include "ctl/CtlReport.h"
#include "ctl/CtlUsage.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "foundation/XStrList.h"
#include "toolbar/UIDispatchScripts.h"

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

std::string Joined(const XStrList& inList) {
  std::string text;
  for (long i = 1; i <= inList.Count(); ++i) {
    text += std::string(inList.Fetch(i)->getCStr()) + "|";
  }
  return text;
}

std::string ListReply(const std::string& inBytes) {
  XStrList names;
  ReadListReply(inBytes.data(), long(inBytes.size()), &names);
  return Joined(names);
}

std::string Pieces(const std::string& inBytes) {
  XStrList pieces;
  ReadReplyPieces(inBytes.data(), long(inBytes.size()), &pieces);
  return Joined(pieces);
}

const CtlGetQuery& Query(const char* inKey) {
  for (const CtlGetQuery* q = CtlGetQueries(); q->mKey != nullptr; ++q) {
    if (std::string(q->mKey) == inKey) {
      return *q;
    }
  }
  throw std::string("no query ") + inKey;
}

void Reply(CtlReport* ioReport, const char* inKey, const std::string& inBytes) {
  ioReport->AddReply(Query(inKey), inBytes.data(), long(inBytes.size()));
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

TEST(CtlReplyTest, ValuesListsAndPiecesOfAReply) {
  UtilStr value;
  ReadValueReply("42\0", 3, &value);
  EXPECT_TRUE(value == "42");
  ReadValueReply("Swirl", 5, &value);
  EXPECT_TRUE(value == "Swirl");
  ReadValueReply("", 0, &value);
  EXPECT_TRUE(value.IsEmpty());

  EXPECT_EQ("A|B c|", ListReply(std::string("A\0B c\0\0", 7)));
  // Reading stops at the first empty name, and a list may lack its end marker.
  EXPECT_EQ("A|", ListReply(std::string("A\0\0B\0\0", 6)));
  EXPECT_EQ("A|B|", ListReply(std::string("A\0B", 3)));
  EXPECT_EQ("", ListReply(std::string("\0", 1)));

  EXPECT_EQ("A|B|", Pieces(std::string("A\0B\0\0", 5)));
  EXPECT_EQ("7|", Pieces(std::string("7\0", 2)));
  EXPECT_EQ("plain text|", Pieces("plain text"));
  EXPECT_EQ("", Pieces(""));
  EXPECT_EQ("A||B|", Pieces(std::string("A\0\0B", 4)));

  // Only what JSON takes as a number is written as one.
  for (const char* number : {"0", "-2.000000", "20000"}) {
    EXPECT_TRUE(IsPlainNumber(number)) << number;
  }
  for (const char* other : {"", "012", "1.", "nan", "3 "}) {
    EXPECT_FALSE(IsPlainNumber(other)) << other;
  }
}

TEST(CtlReportTest, JsonKeepsEveryKindOfValueInTheOrderAdded) {
  CtlReport report;
  report.AddText("instance", "Instance", "Studio \"A\"");
  Reply(&report, "waveShapes", std::string("Swirl\0Tab\there\0\0", 16));
  Reply(&report, "displayModes", std::string("640 x 480\0\0", 11));
  Reply(&report, "displayModes", std::string("1920 x 1080\0\0", 13));
  Reply(&report, "currentWaveShape", "Swirl");
  Reply(&report, "autoLineScale", std::string("1\0", 2));
  Reply(&report, "flowFieldUnions", std::string("0\0", 2));
  Reply(&report, "newVersionAvailable", "0");
  Reply(&report, "lineOffset", std::string("-2.000000\0", 10));
  Reply(&report, "frameXLimit", std::string("800\0", 4));
  Reply(&report, "frameYLimit", "");
  Reply(&report, "trackTextSize", "big");
  Reply(&report, "colorMaps", std::string("\0", 1));

  UtilStr json;
  report.WriteJson(&json);
  EXPECT_STREQ(
      "{\"instance\":\"Studio \\\"A\\\"\",\"waveShapes\":[\"Swirl\",\"Tab\\there\"],"
      "\"displayModes\":[\"640 x 480\",\"1920 x 1080\"],\"currentWaveShape\":\"Swirl\","
      "\"autoLineScale\":true,\"flowFieldUnions\":false,\"newVersionAvailable\":false,"
      "\"lineOffset\":-2.000000,\"frameXLimit\":800,\"frameYLimit\":null,"
      "\"trackTextSize\":\"big\",\"colorMaps\":[]}",
      json.getCStr());
}

TEST(CtlReportTest, TextListsOneItemPerLineAndAlignsValues) {
  CtlReport report;
  Reply(&report, "waveShapes", std::string("Swirl\0Tide\0\0", 12));
  Reply(&report, "waveShapeSlideShow", "1");
  Reply(&report, "newVersionAvailable", "0");
  UtilStr text;
  report.WriteText(&text);
  EXPECT_STREQ(
      "Wave shapes (2):\n"
      "  Swirl\n"
      "  Tide\n"
      "Wave-shape slide show:    on\n"
      "New version available:    no\n",
      text.getCStr());
}

TEST(CtlReportTest, QueriesAreTheToolbarsConnectionQueriesWithoutItsPushes) {
  int count = 0;
  int byDevice = 0;
  for (const CtlGetQuery* q = CtlGetQueries(); q->mKey != nullptr; ++q, ++count) {
    char buffer[1024];
    std::string script = q->mBuild(0, buffer);
    // Only queries: every text prints its answer, none sets anything.
    EXPECT_TRUE(script.rfind("print", 0) == 0) << script;
    EXPECT_EQ(std::string::npos, script.find("Set")) << script;
    byDevice += q->mByDevice ? 1 : 0;
  }
  EXPECT_EQ(30, count);
  EXPECT_EQ(1, byDevice);
}

TEST(CtlNoticeTest, KnownCodesReadAsEventsOthersAsTheyCame) {
  struct Expect {
    long mCode;
    const char* mDesc;
    const char* mText;
    const char* mJson;  // from the event name to the value
  };
  const Expect kExpect[] = {
      {303, "Swirl", "303 wave shape: Swirl", "\"waveShape\",\"value\":\"Swirl\""},
      {320, "", "320 wave-shape slide show: on", "\"waveShapeSlideShow\",\"value\":true"},
      {329, "", "329 particle slide show: off", "\"particleSlideShow\",\"value\":false"},
      {254, "2", "254 audio source: 2", "\"audioSource\",\"value\":2"},
      {100, "Hello", "100 message: Hello", "\"message\",\"value\":\"Hello\""},
      {250, "odd", "250 notification: odd (extra)", "null,\"value\":null"},
  };
  for (const Expect& e : kExpect) {
    const char* data = e.mCode == 250 ? "extra" : "";
    UtilStr line;
    DescribeNotice(e.mCode, e.mDesc, data, &line);
    EXPECT_STREQ(e.mText, line.getCStr());

    UtilStr json;
    DescribeNoticeJson(e.mCode, e.mDesc, data, &json);
    EXPECT_EQ("{\"code\":" + std::to_string(e.mCode) + ",\"event\":" + e.mJson + ",\"desc\":\"" +
                  e.mDesc + "\",\"data\":\"" + data + "\"}",
              json.getCStr());
  }
}

TEST(CtlJsonTest, ControlCharactersQuotesAndUtf8) {
  UtilStr json;
  AppendJsonString(&json, "a\"b\\c\x01\n\xc3\xa9");
  EXPECT_STREQ("\"a\\\"b\\\\c\\u0001\\n\xc3\xa9\"", json.getCStr());
  json.Clear();
  AppendJsonString(&json, "x\0y", 3);
  EXPECT_STREQ("\"x\\u0000y\"", json.getCStr());
}

TEST(CtlUsageTest, HelpNamesEveryCommandAndFunction) {
  UtilStr help;
  AppendCtlHelp(&help);
  std::string text = help.getCStr();
  for (const char* word : {"list", "send TEXT", "do FUNCTION", "script FUNCTION", "get", "watch",
                           "--instance", "--connect", "--json", "--for", "(Auto)"}) {
    EXPECT_NE(std::string::npos, text.find(word)) << word;
  }
  // Exactly the functions that send a script are listed, as whole words.
  auto listed = [&text](const std::string& inName) {
    for (size_t at = 0; (at = text.find(inName, at)) != std::string::npos; at += inName.size()) {
      char after = text[at + inName.size()];
      if (text[at - 1] == ' ' && (after == ' ' || after == '\n' || after == ':' || after == ',')) {
        return true;
      }
    }
    return false;
  };
  for (const TokenMap* f = sFunctionMap; f->Name != nullptr; ++f) {
    EXPECT_EQ(FindUIScript(eUIFunction(f->Value)) != nullptr, listed(f->Name)) << f->Name;
  }
  // Wrapped to fit a console.
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_LE(end - start, 90u) << text.substr(start, end - start);
  }
}
