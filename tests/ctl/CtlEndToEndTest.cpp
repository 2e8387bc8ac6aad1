// corvexa-ctl against corvexa-engine-sim over loopback: each test starts its
// own simulator, published in the same-machine registry under a name of its
// own, and runs corvexa-ctl as a separate program.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "support/ChildProcess.h"
#include "support/LoopbackPeer.h"
#include "support/SimProcess.h"
#include "toolbar/UICommands.h"

namespace {

const char kCtl[] = KS_CTL_PATH;
const unsigned long kRunLimitMS = 30000;

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

class CtlEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    mName = "ctl test " + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(mSim.Start({"--name", mName})) << mSim.Errors();
    mPort = mSim.Port();
    mAddress = "127.0.0.1:" + std::to_string(mPort);
  }

  void TearDown() override {
    EXPECT_TRUE(mSim.EndInput(nullptr)) << "the simulator did not end with its input";
  }

  ProgramRun Ctl(std::vector<std::string> inArgs) { return RunProgram(kCtl, inArgs, kRunLimitMS); }

  // Runs ctl for this test's simulator, found by its name.
  ProgramRun CtlHere(std::vector<std::string> inArgs) {
    inArgs.insert(inArgs.begin(), {"--instance", mName});
    return Ctl(inArgs);
  }

  SimProcess mSim;
  std::string mName;
  int mPort = 0;
  std::string mAddress;
};

}  // namespace

TEST_F(CtlEndToEndTest, ListGetSendAndDoDriveTheSimulator) {
  ProgramRun names = Ctl({"list"});
  ASSERT_TRUE(names.mFinished);
  EXPECT_EQ(0u, names.mExitCode) << names.mErr;
  // A line of its own: the name, the domain, the port.
  EXPECT_TRUE(std::regex_search(
      names.mOut, std::regex("(^|\n)" + mName +
                             "[^\n]*kestrova_localhost\\.[^\n]*:" + std::to_string(mPort) + "\\b")))
      << names.mOut;

  ProgramRun json = Ctl({"list", "--json"});
  ASSERT_EQ(0u, json.mExitCode) << json.mErr;
  EXPECT_EQ('[', json.mOut.front()) << json.mOut;
  EXPECT_NE(std::string::npos, json.mOut.find("{\"name\":\"" + mName +
                                              "\",\"domain\":\"kestrova_localhost.\","
                                              "\"resolved\":true,\"address\":\"localhost\","
                                              "\"port\":" +
                                              std::to_string(mPort) + "}"))
      << json.mOut;

  ProgramRun list = Ctl({"--connect", mAddress, "send", BuiltScript(CommandGetWaveShapeList)});
  ASSERT_EQ(0u, list.mExitCode) << list.mErr;
  std::vector<std::string> shapes = Lines(list.mOut);
  ASSERT_GE(shapes.size(), 2u) << list.mOut;

  // get lists the same names, and gives each kind of value its JSON type.
  ProgramRun get = CtlHere({"get", "--json"});
  ASSERT_TRUE(get.mFinished);
  ASSERT_EQ(0u, get.mExitCode) << get.mErr;
  std::string listed = "\"waveShapes\":[";
  for (const std::string& shape : shapes) {
    listed += "\"" + shape + (&shape == &shapes.back() ? "\"]" : "\",");
  }
  for (const std::string& fact :
       {"^\\{\"instance\":\"" + mName + "\",", std::string("\"colorMaps\":\\["),
        std::string("\"audioSources\":\\["), std::string("\"autoLineScale\":(true|false),"),
        std::string("\"frameXLimit\":[0-9]+,"), std::string("\"lineOffset\":-?[0-9.]+,"),
        std::string("\\}\n$")}) {
    EXPECT_TRUE(std::regex_search(get.mOut, std::regex(fact))) << fact << "\n" << get.mOut;
  }
  EXPECT_NE(std::string::npos, get.mOut.find(listed)) << get.mOut;

  // Switch to a wave shape other than the current one, and read it back.
  std::string current = CtlHere({"send", BuiltScript(CommandGetCurrentWaveShape)}).mOut;
  std::string target = shapes[0] + "\n" == current ? shapes[1] : shapes[0];
  ProgramRun done = CtlHere({"do", "wavesHapelist", target});
  EXPECT_EQ(0u, done.mExitCode) << done.mErr;
  EXPECT_EQ("", done.mOut);
  EXPECT_EQ(target + "\n", CtlHere({"send", BuiltScript(CommandGetCurrentWaveShape)}).mOut);

  // get's text form: lists one item a line under their count, switches on
  // or off, and yes or no, each value aligned after its label.
  ASSERT_EQ(0u, Ctl({"--connect", mAddress, "do", "ColorMapToggle", "on"}).mExitCode);
  ProgramRun text = Ctl({"get", "--connect", mAddress});
  listed = "Wave shapes (" + std::to_string(shapes.size()) + "):\n";
  for (const std::string& shape : shapes) {
    listed += "  " + shape + "\n";
  }
  for (const std::string& fact : {listed, std::string("Color-map slide show:     on\n"),
                                  std::string("New version available:    no\n")}) {
    EXPECT_NE(std::string::npos, text.mOut.find(fact)) << fact << "\n" << text.mOut;
  }
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
    EXPECT_TRUE(notice.front() == '{' && notice.back() == '}') << notice;
  }
}

TEST(CtlExitCodeTest, EngineErrorsGiveOneAndUsageErrorsTwo) {
  ClosedPort closedPort;
  std::string closed = "127.0.0.1:" + std::to_string(closedPort.Port());
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
  SimProcess refusing;
  ASSERT_TRUE(refusing.Start({"--refuse", "--no-publish"}));
  std::string address = "127.0.0.1:" + std::to_string(refusing.Port());
  ProgramRun refused = RunProgram(kCtl, {"get", "--connect", address}, kRunLimitMS);
  EXPECT_EQ(1u, refused.mExitCode);
  EXPECT_EQ("corvexa-ctl: connection refused by " + address + "\n", refused.mErr);

  ProgramRun missing =
      RunProgram(kCtl, {"do", "Snapshot", "--instance", "no such engine here"}, kRunLimitMS);
  EXPECT_EQ(1u, missing.mExitCode);
  UtilStr notFound;
  KSError::GetErrMsg(kKSErr_FileNotFound, &notFound);
  EXPECT_NE(std::string::npos, missing.mErr.find(notFound.getCStr())) << missing.mErr;

  // Usage errors are found before anything is sent, so nothing need listen.
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {}, {"do", "WaveShapeInterval", "150", "--connect", closed}, {"do", "Minimize"}}) {
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
