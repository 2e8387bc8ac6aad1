// corvexa-ctl against corvexa-engine-sim over loopback: each test starts its
// own simulator, published in the same-machine registry under a name of its
// own, and runs corvexa-ctl as a separate program.
#include <gtest/gtest.h>
#include <winsock2.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ctl/MiniJson.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "support/ChildProcess.h"
#include "toolbar/UICommands.h"

namespace {

const char kCtl[] = KS_CTL_PATH;
const char kSim[] = KS_SIM_PATH;
const unsigned long kRunLimitMS = 30000;

std::string ErrText(long inErr) {
  UtilStr text;
  KSError::GetErrMsg(inErr, &text);
  return text.getCStr();
}

std::vector<std::string> Lines(const std::string& inText) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = inText.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(inText.substr(start, end - start));
  }
  return lines;
}

std::string BuiltScript(char* (*inBuild)(char*)) {
  char buffer[kCommandBufferSize];
  return inBuild(buffer);
}

// A port on which nothing listens: one the system just handed out and took back.
int ClosedPort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(addr);
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length);
  closesocket(s);
  WSACleanup();
  return ntohs(addr.sin_port);
}

class CtlEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    mName = "ctl test " + std::to_string(GetCurrentProcessId());
    std::string line;
    ASSERT_TRUE(mSim.Start(kSim, {"--name", mName, "--port", "0"}));
    ASSERT_TRUE(mSim.WaitForLine("listening on", 20000, &line)) << mSim.Errors();
    mPort = std::atoi(line.c_str() + line.rfind(':') + 1);
    ASSERT_GT(mPort, 0) << line;
    mAddress = "127.0.0.1:" + std::to_string(mPort);
  }

  void TearDown() override {
    mSim.CloseInput();
    EXPECT_TRUE(mSim.Wait(10000, nullptr)) << "the simulator did not end with its input";
  }

  ProgramRun Ctl(std::vector<std::string> inArgs) { return RunProgram(kCtl, inArgs, kRunLimitMS); }

  // Runs ctl for this test's simulator, found by its name.
  ProgramRun CtlHere(std::vector<std::string> inArgs) {
    inArgs.insert(inArgs.begin(), {"--instance", mName});
    return Ctl(inArgs);
  }

  ChildProcess mSim;
  std::string mName;
  int mPort = 0;
  std::string mAddress;
};

}  // namespace

TEST_F(CtlEndToEndTest, ListFindsTheSimulatorThroughTheRegistry) {
  ProgramRun text = Ctl({"list"});
  ASSERT_TRUE(text.mFinished);
  EXPECT_EQ(0u, text.mExitCode) << text.mErr;
  bool found = false;
  for (const std::string& line : Lines(text.mOut)) {
    if (line.find(mName) == 0) {
      found = true;
      EXPECT_NE(std::string::npos, line.find("kestrova_localhost.")) << line;
      EXPECT_NE(std::string::npos, line.find(":" + std::to_string(mPort))) << line;
    }
  }
  EXPECT_TRUE(found) << text.mOut;

  ProgramRun json = Ctl({"list", "--json"});
  ASSERT_EQ(0u, json.mExitCode) << json.mErr;
  MiniJson doc;
  std::string error;
  ASSERT_TRUE(MiniJson::Parse(json.mOut, &doc, &error)) << error << "\n" << json.mOut;
  ASSERT_EQ(MiniJson::kArray, doc.mType);
  found = false;
  for (const MiniJson& instance : doc.mItems) {
    if (instance["name"].mString == mName) {
      found = true;
      EXPECT_EQ("kestrova_localhost.", instance["domain"].mString);
      EXPECT_TRUE(instance["resolved"].mBool);
      EXPECT_DOUBLE_EQ(double(mPort), instance["port"].mNumber);
    }
  }
  EXPECT_TRUE(found) << json.mOut;
}

TEST_F(CtlEndToEndTest, GetSendAndDoDriveTheSimulator) {
  ProgramRun get = CtlHere({"get", "--json"});
  ASSERT_TRUE(get.mFinished);
  ASSERT_EQ(0u, get.mExitCode) << get.mErr;
  MiniJson state;
  std::string error;
  ASSERT_TRUE(MiniJson::Parse(get.mOut, &state, &error)) << error << "\n" << get.mOut;
  EXPECT_EQ(mName, state["instance"].mString);
  const std::vector<MiniJson>& shapes = state["waveShapes"].mItems;
  ASSERT_GE(shapes.size(), 2u) << get.mOut;
  for (const char* list : {"colorMaps", "flowFields", "particles", "imagesVideos", "fonts",
                           "displayModes", "audioSources"}) {
    EXPECT_EQ(MiniJson::kArray, state[list].mType) << list;
  }
  for (const char* flag : {"waveShapeSlideShow", "autoLineScale", "allowRemoteControl"}) {
    EXPECT_EQ(MiniJson::kBool, state[flag].mType) << flag;
  }
  EXPECT_EQ(MiniJson::kNumber, state["frameXLimit"].mType);
  EXPECT_EQ(MiniJson::kNumber, state["lineOffset"].mType);

  // Switch to a wave shape other than the current one, and read it back.
  std::string target = shapes[0].mString == state["currentWaveShape"].mString ? shapes[1].mString
                                                                              : shapes[0].mString;
  ProgramRun done = CtlHere({"do", "wavesHapelist", target});
  EXPECT_EQ(0u, done.mExitCode) << done.mErr;
  EXPECT_EQ("", done.mOut);
  ProgramRun current = CtlHere({"send", BuiltScript(CommandGetCurrentWaveShape)});
  EXPECT_EQ(0u, current.mExitCode) << current.mErr;
  EXPECT_EQ(target + "\n", current.mOut);

  // A list reply comes out one name a line, as get listed them.
  ProgramRun list = Ctl({"--connect", mAddress, "send", BuiltScript(CommandGetWaveShapeList)});
  ASSERT_EQ(0u, list.mExitCode) << list.mErr;
  std::vector<std::string> names = Lines(list.mOut);
  ASSERT_EQ(shapes.size(), names.size()) << list.mOut;
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(shapes[i].mString, names[i]);
  }

  // The slide-show toggle, seen through get's text form.
  ASSERT_EQ(0u, Ctl({"--connect", mAddress, "do", "ColorMapToggle", "on"}).mExitCode);
  ProgramRun text = Ctl({"get", "--connect", mAddress});
  EXPECT_NE(std::string::npos, text.mOut.find("Color-map slide show:     on\n")) << text.mOut;
  ASSERT_EQ(0u, Ctl({"--connect", mAddress, "do", "ColorMapToggle", "off"}).mExitCode);
  text = Ctl({"get", "--connect", mAddress});
  EXPECT_NE(std::string::npos, text.mOut.find("Color-map slide show:     off\n")) << text.mOut;
}

TEST_F(CtlEndToEndTest, WatchPrintsNotificationsUntilItsTimeIsUp) {
  ChildProcess watch;
  ASSERT_TRUE(watch.Start(kCtl, {"watch", "--json", "--for", "8", "--connect", mAddress}));
  // The banner goes to standard error once the session is open.
  for (int i = 0; i < 200 && watch.Errors().find("Watching") == std::string::npos; ++i) {
    Sleep(50);
  }
  ASSERT_NE(std::string::npos, watch.Errors().find("Watching")) << watch.Errors();

  ASSERT_EQ(0u, CtlHere({"do", "WaveShapeNext"}).mExitCode);
  ASSERT_EQ(0u, CtlHere({"do", "FlowFieldToggle", "on"}).mExitCode);
  std::string line;
  EXPECT_TRUE(watch.WaitForLine("\"code\":303", 10000, &line)) << watch.Output();
  EXPECT_TRUE(watch.WaitForLine("\"code\":324", 10000, &line)) << watch.Output();

  unsigned long exitCode = 99;
  ASSERT_TRUE(watch.Wait(20000, &exitCode)) << "watch --for 8 did not end";
  EXPECT_EQ(0u, exitCode) << watch.Errors();
  for (const std::string& notice : Lines(watch.Output())) {
    MiniJson doc;
    std::string error;
    EXPECT_TRUE(MiniJson::Parse(notice, &doc, &error)) << error << "\n" << notice;
  }
}

TEST(CtlExitCodeTest, EngineErrorsGiveOneAndUsageErrorsTwo) {
  std::string closed = "127.0.0.1:" + std::to_string(ClosedPort());
  for (const char* command : {"get", "watch", "send"}) {
    std::vector<std::string> args = {command, "--connect", closed};
    if (std::string(command) == "send") {
      args.push_back("print( GetTrackInfo() );");
    }
    ProgramRun run = RunProgram(kCtl, args, kRunLimitMS);
    ASSERT_TRUE(run.mFinished) << command;
    EXPECT_EQ(1u, run.mExitCode) << command;
    EXPECT_EQ("", run.mOut) << command;
    EXPECT_EQ("corvexa-ctl: connection refused by " + closed + "\n", run.mErr) << command;
  }

  // An engine that drops each connection at once has refused it.
  ChildProcess refusing;
  std::string line;
  ASSERT_TRUE(refusing.Start(kSim, {"--refuse", "--no-publish"}));
  ASSERT_TRUE(refusing.WaitForLine("listening on", 20000, &line));
  std::string address = line.substr(line.find("127.0.0.1:"));
  ProgramRun refused = RunProgram(kCtl, {"get", "--connect", address}, kRunLimitMS);
  EXPECT_EQ(1u, refused.mExitCode);
  EXPECT_EQ("corvexa-ctl: connection refused by " + address + "\n", refused.mErr);
  refusing.CloseInput();

  ProgramRun missing =
      RunProgram(kCtl, {"do", "Snapshot", "--instance", "no such engine here"}, kRunLimitMS);
  EXPECT_EQ(1u, missing.mExitCode);
  EXPECT_NE(std::string::npos, missing.mErr.find(ErrText(kKSErr_FileNotFound))) << missing.mErr;

  // Usage errors are found before anything is sent, so nothing need listen.
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {},
           {"do", "NoSuchFunction"},
           {"do", "WaveShapeInterval", "150", "--connect", closed},
           {"do", "Minimize"},
           {"get", "--connect", "nowhere"},
           {"script", "WaveShapeNext", "extra", "words"}}) {
    ProgramRun run = RunProgram(kCtl, args, kRunLimitMS);
    EXPECT_EQ(2u, run.mExitCode) << run.mErr;
    EXPECT_EQ(0u, run.mErr.find("corvexa-ctl: ")) << run.mErr;
    EXPECT_NE(std::string::npos, run.mErr.find("--help")) << run.mErr;
  }

  // Options that do not concern a command are ignored: script connects nowhere.
  ProgramRun script =
      RunProgram(kCtl, {"script", "AdvPrefFrameYLimit", "9", "--connect", closed}, kRunLimitMS);
  EXPECT_EQ(0u, script.mExitCode);
  char expected[kCommandBufferSize];
  EXPECT_EQ(std::string(CommandSetFrameSizeLimit(20000, 0, expected)) + "\n", script.mOut);
}
