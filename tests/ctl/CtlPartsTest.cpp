// corvexa-ctl's parts on their own. In: the command, its arguments and the
// options, and a function and its value (which builder each function uses is
// the toolbar's dispatch table, tested with it; here each kind of value must
// read as the control's value, and anything else be refused). Out: replies,
// the get report as JSON (its text form is seen end to end), notices, the help.
#include <gtest/gtest.h>

#include <sstream>
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

// The pieces of a reply, each followed by "|".
std::string Pieces(const std::string& inBytes) {
  XStrList pieces;
  ReadReplyPieces(inBytes.data(), long(inBytes.size()), &pieces);
  std::string text;
  for (long i = 1; i <= pieces.Count(); ++i) {
    text += std::string(pieces.Fetch(i)->getCStr()) + "|";
  }
  return text;
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

      // Names go in escaped, up to the control's limit.
      {"WaveShapeList", "Say \"hi\"", R"(SetWaveShape ("Say \"hi\"",)"},
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

// Options stand anywhere and go with every command (a command ignores what
// it has no use for); "--" lets a value start with a dash; an IPv6 address
// keeps its colons, the port following the last one; --help wins over
// everything else, even a bad command. Mistakes are refused with a reason.
TEST(CtlOptionsTest, CommandLinesAreReadWholeOrRefused) {
  const struct {
    std::vector<const char*> mArgs;
    const char* mRead;  // see Read; "error" for a usage error
  } kLines[] = {
      {{"do", "WaveShapeInterval", "75", "--instance", "Studio"},
       "do WaveShapeInterval=75 @Studio :0 for 0"},
      {{"--connect", "127.0.0.1:4242", "send", "print( GetTrackInfo() );"},
       "send print( GetTrackInfo() ); @ 127.0.0.1:4242 for 0"},
      {{"get", "--json", "--connect", "::1:80"}, "get  @ ::1:80 json for 0"},
      {{"get", "--connect", "[::1]:81"}, "get  @ ::1:81 for 0"},
      {{"watch", "--for", "2.5"}, "watch  @ :0 for 2.5"},
      {{"script", "WaveShapeNext", "--connect", "h:1", "--json", "--for", "1"},
       "script WaveShapeNext @ h:1 json for 1"},
      {{"--instance", "A", "list", "--for", "1"}, "list  @A :0 for 1"},
      {{"do", "--", "AdvParticlesStart", "-Sparks-"}, "do AdvParticlesStart=-Sparks- @ :0 for 0"},
      {{"bogus", "--help"}, "help  @ :0 for 0"},
      {{}, "error"},
      {{"frobnicate"}, "error"},
      {{"send", "a", "b"}, "error"},
      {{"do"}, "error"},
      {{"list", "extra"}, "error"},
      {{"get", "--bogus"}, "error"},
      {{"get", "--instance"}, "error"},
      {{"get", "--instance", ""}, "error"},
      {{"get", "--connect", "localhost"}, "error"},
      {{"get", "--connect", "localhost:65536"}, "error"},
      {{"get", "--connect", "localhost:12ab"}, "error"},
      {{"get", "--connect", ":80"}, "error"},
      {{"watch", "--for", "0"}, "error"},
      {{"watch", "--for", "soon"}, "error"},
      {{"get", "--instance", "A", "--connect", "h:1"}, "error"},
  };
  const char* const kCommands[] = {"none", "help", "list", "send", "do", "script", "get", "watch"};
  for (const auto& line : kLines) {
    std::string joined;
    for (const char* arg : line.mArgs) {
      joined += std::string(arg) + " ";
    }
    SCOPED_TRACE(joined);
    CtlOptions o;
    UtilStr error;
    long err = ParseCtlOptions(int(line.mArgs.size()), line.mArgs.data(), &o, &error);
    EXPECT_EQ(err != 0, !error.IsEmpty());
    // Every field: command, function or text [=value], @instance, host:port, json, seconds.
    std::ostringstream read;
    read << kCommands[o.mCommand] << " " << o.mText.getCStr()
         << (o.mHasValue ? "=" + std::string(o.mValue.getCStr()) : "") << " @"
         << o.mInstance.getCStr() << " " << o.mHost.getCStr() << ":" << o.mPort
         << (o.mJson ? " json" : "") << " for " << o.mForSeconds;
    EXPECT_EQ(line.mRead, err == kKSErr_Param ? "error" : read.str());
  }
}

// Lists stop at their first empty name, with or without the end marker;
// values at their first NUL; only what JSON takes as a number is written as
// one, and every text is escaped.
TEST(CtlReportTest, JsonKeepsEveryKindOfValueInTheOrderAdded) {
  CtlReport report;
  report.AddText("instance", "Instance", "Studio \"A\" \\ \x01\n\xc3\xa9");
  Reply(&report, "waveShapes", std::string("Swirl\0Tab\there\0\0", 16));
  Reply(&report, "displayModes", std::string("640 x 480\0\0B\0\0", 14));
  Reply(&report, "displayModes", std::string("1920 x 1080\0A", 13));
  Reply(&report, "currentWaveShape", "Swirl");
  Reply(&report, "autoLineScale", std::string("1\0", 2));
  Reply(&report, "flowFieldUnions", std::string("0\0", 2));
  Reply(&report, "newVersionAvailable", "0");
  Reply(&report, "lineOffset", std::string("-2.000000\0", 10));
  Reply(&report, "frameXLimit", std::string("800\0junk", 8));
  Reply(&report, "frameYLimit", "");
  Reply(&report, "trackTextSize", "3 ");
  Reply(&report, "trackTextAppearance", "012");
  Reply(&report, "trackTextDuration", "1.");
  Reply(&report, "colorMaps", std::string("\0", 1));

  UtilStr json;
  report.WriteJson(&json);
  EXPECT_STREQ(
      "{\"instance\":\"Studio \\\"A\\\" \\\\ \\u0001\\n\xc3\xa9\",\"waveShapes\":[\"Swirl\","
      "\"Tab\\there\"],\"displayModes\":[\"640 x 480\",\"1920 x 1080\",\"A\"],"
      "\"currentWaveShape\":\"Swirl\",\"autoLineScale\":true,\"flowFieldUnions\":false,"
      "\"newVersionAvailable\":false,\"lineOffset\":-2.000000,\"frameXLimit\":800,"
      "\"frameYLimit\":null,\"trackTextSize\":\"3 \",\"trackTextAppearance\":\"012\","
      "\"trackTextDuration\":\"1.\",\"colorMaps\":[]}",
      json.getCStr());
  // What send prints of a reply: its pieces, trailing NULs no piece.
  EXPECT_EQ("A||B|", Pieces(std::string("A\0\0B\0\0", 6)));
  EXPECT_EQ("plain text|", Pieces("plain text"));
  json.Clear();
  AppendJsonString(&json, "x\0y", 3);
  EXPECT_STREQ("\"x\\u0000y\"", json.getCStr());
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

TEST(CtlUsageTest, HelpNamesEveryFunction) {
  UtilStr help;
  AppendCtlHelp(&help);
  std::string text = help.getCStr();
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
