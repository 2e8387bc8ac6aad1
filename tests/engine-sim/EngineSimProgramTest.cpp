// corvexa-engine-sim as a program: started for each test, spoken to over
// loopback KSMP, and checked for its replies, its notifications, each of its
// misbehaviours, its log, its content folder and its registry entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "SimTestClient.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSByteOrder.h"
#include "net/KSNet.h"
#include "net/KSPacketWire.h"
#include "net/KSZeroconf.h"
#include "net/ToolbarSession.h"
#include "support/KSTestFolder.h"
#include "support/SimProcess.h"
#include "toolbar/UICommands.h"

namespace {

std::string Z(const std::string& inText) {
  return inText + std::string(1, '\0');
}

std::string Text(char* (*inBuilder)(char*)) {
  char text[kCommandBufferSize];
  return inBuilder(text);
}

// The toolbar's engine link, queued as the window uses it, keeping what
// arrives.
class TestLink : public ToolbarSession {
 public:
  TestLink() { mQueueIncomingMode = true; }

  // Shorter limits than the product's, in the same order: the refusal window
  // (whole seconds, so 2 at least) ends before the idle limit.
  void ShortenLimits() {
    mRefusalWindowSecs = 2;
    mSessionTimeoutMS = 3000;
  }

  // Delivers queued events until inDone holds, at most inTimeoutMS.
  bool PumpUntil(const std::function<bool()>& inDone, ULONGLONG inTimeoutMS = 10000) {
    ULONGLONG deadline = GetTickCount64() + inTimeoutMS;
    for (;;) {
      DispatchIncoming();
      if (inDone()) {
        return true;
      }
      if (GetTickCount64() >= deadline) {
        return false;
      }
      Sleep(5);  // polling with a deadline; nothing is ordered by it
    }
  }

  // Makes the simulator listening at inPort on this machine the current
  // service, as if discovery had found and resolved it.
  void UseLocalPort(int inPort) {
    KSNetAddr local = {};
    local.mType = ks_localhost;
    UseServiceAddr("simulator", local, static_cast<unsigned long>(inPort));
  }

  bool Knows(const std::string& inName) const {
    UtilStr name;
    for (long i = 1; GetServiceName(i, &name); i++) {
      if (name == inName.c_str()) {
        return true;
      }
    }
    return false;
  }

  std::vector<std::string> mReplies;
  std::vector<ToolbarCmdCookie> mCookies;
  std::vector<std::pair<long, std::string>> mNotices;

 protected:
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override {
    mReplies.push_back(std::string(inReply.mData, size_t(inReply.mNumBytes)));
    mCookies.push_back(inCookie);
  }
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char) override {
    mNotices.push_back(std::make_pair(long(inMsg.mMsgID), std::string(inMsg.mDesc)));
  }
};

// Counts the messages an engine link broadcasts, whichever thread sends them.
class LinkMessages : public KSListener {
 public:
  int Count(long inMsg) {
    std::lock_guard<std::mutex> hold(mLock);
    return int(std::count(mMessages.begin(), mMessages.end(), inMsg));
  }
  void ListenToMsg(long inMsg, void*, void*) override {
    std::lock_guard<std::mutex> hold(mLock);
    mMessages.push_back(inMsg);
  }

 private:
  std::mutex mLock;
  std::vector<long> mMessages;
};

class EngineSimProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  }
  void TearDown() override { WSACleanup(); }

  // Starts the simulator with a fixed seed, out of the registry, plus inArgs.
  void Start(const std::vector<std::string>& inArgs = {}) {
    std::vector<std::string> args = {"--no-publish", "--seed", "1"};
    args.insert(args.end(), inArgs.begin(), inArgs.end());
    ASSERT_TRUE(mSim.Start(args)) << "the simulator did not start";
  }

  void Connect(SimTestClient* outClient) { ASSERT_TRUE(outClient->Connect(mSim.Port())); }

  SimProcess mSim;
};

}  // namespace

TEST_F(EngineSimProgramTest, RepliesEchoTicketFlagsAndCookieInTheirForms) {
  Start();
  EXPECT_EQ("listening on 127.0.0.1:" + std::to_string(mSim.Port()), mSim.FirstLine());
  SimTestClient client;
  Connect(&client);

  // A request that wants no reply gets none: the next reply is the query's.
  ASSERT_TRUE(client.SendRequest("NextWaveShape(1);", 6, kCommandFlags, 0x11, false));
  const std::string queries[] = {Text(CommandGetFrameXLimit), Text(CommandGetCurrentWaveShape),
                                 Text(CommandGetParticleList), ""};
  const std::string replies[] = {Z("0"), "Bass Spiral", std::string("Bubbles\0Confetti\0", 17), ""};
  for (uint32 i = 0; i < 4; i++) {
    ASSERT_TRUE(client.SendRequest(queries[i], 100 + i, uint8(0x0B + i), uint8(0x40 + i)));
  }
  for (uint32 i = 0; i < 4; i++) {
    ReceivedPacket reply;
    ASSERT_TRUE(client.NextReply(&reply)) << i;
    EXPECT_EQ(2, reply.mHeader[0]);
    EXPECT_EQ(kKSMPKind_Reply, reply.Kind());
    EXPECT_EQ(100 + i, KSMPWire::Ticket(reply.mHeader));
    EXPECT_EQ(0x0B + i, KSMPWire::Flags(reply.mHeader));
    EXPECT_FALSE(KSMPWire::ReplyWanted(reply.mHeader));
    KSMPCookie cookie;
    KSMPWire::GetCookie(reply.mHeader, &cookie);
    EXPECT_EQ(uint8(100 + i), cookie.mData[0]);
    EXPECT_EQ(0x40 + i, cookie.mData[31]);
    EXPECT_EQ(replies[i], reply.mData.substr(0, replies[i].size()));
  }
}

TEST_F(EngineSimProgramTest, ChangesByOneClientAreAnnouncedToAll) {
  Start();
  SimTestClient toolbar, other;
  Connect(&toolbar);
  Connect(&other);
  // Both are known to the simulator once each has had an answer.
  EXPECT_EQ("", toolbar.Ask(""));
  EXPECT_EQ("", other.Ask(""));

  char text[kCommandBufferSize];
  EXPECT_EQ("", other.Ask(CommandSetColorMap("Opal", text)));
  EXPECT_EQ("", other.Ask(CommandSetAudioSource(3, text)));
  EXPECT_EQ("", other.Ask(CommandSetWaveShapeSlideShow(true, text)));
  long id = 0;
  std::string body;
  ASSERT_TRUE(toolbar.NextNotice(&id, &body));
  EXPECT_EQ(301, id);
  EXPECT_EQ("Opal", body);
  ASSERT_TRUE(toolbar.NextNotice(&id, &body));
  EXPECT_EQ(254, id);
  EXPECT_EQ("3", body);
  ASSERT_TRUE(toolbar.NextNotice(&id, &body));
  EXPECT_EQ(320, id);

  // The slide show then steps on its own, with a short interval, until it is
  // switched off; the last step announced is the current wave shape.
  EXPECT_EQ("", other.Ask(R"(SetPref(PREF_WAVESHAPE_INTERVAL, "0.2");)"));
  for (int steps = 0; steps < 3; steps++) {
    ASSERT_TRUE(toolbar.NextNotice(&id, &body, 5000));
    EXPECT_EQ(303, id);
  }
  EXPECT_EQ("", other.Ask(CommandSetWaveShapeSlideShow(false, text)));
  std::string last = body;
  while (toolbar.NextNotice(&id, &body, 5000) && id != 321) {
    EXPECT_EQ(303, id);
    last = body;
  }
  EXPECT_EQ(321, id);
  EXPECT_EQ(last, toolbar.Ask(Text(CommandGetCurrentWaveShape)));
}

// Requests that arrive in one piece are answered in order, and a change one
// of them makes is announced before its reply, as when they come one by one.
TEST_F(EngineSimProgramTest, RequestsSentTogetherAreAnsweredInOrderAfterTheirNotices) {
  Start();
  SimTestClient client;
  Connect(&client);
  EXPECT_EQ("", client.Ask(""));
  char text[kCommandBufferSize];
  const std::string change = CommandNextColorMap(1, text);
  const std::string query = Text(CommandGetCurrentFlowField);
  const uint32 kRequests = 30;
  std::vector<uint8> wire;
  for (uint32 ticket = 1; ticket <= kRequests; ticket++) {
    const std::string& script = ticket % 2 ? change : query;
    KSPacket packet = {};
    KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, kCommandFlags, ticket, true, nullptr);
    packet.mDataSize = int32(script.size());
    std::vector<uint8> one(size_t(KSPacketWire::WireSize(packet)));
    KSPacketWire::EncodeHeader(packet, one.data());
    std::copy(script.begin(), script.end(), one.begin() + kKSPacketWireHeaderSize);
    wire.insert(wire.end(), one.begin(), one.end());
  }
  ASSERT_TRUE(client.SendRaw(wire.data(), wire.size()));

  for (uint32 ticket = 1; ticket <= kRequests; ticket++) {
    ReceivedPacket packet;
    if (ticket % 2) {
      ASSERT_TRUE(client.NextPacket(&packet)) << ticket;
      long id = 0;
      std::string body;
      ASSERT_TRUE(packet.SystemMsg(&id, &body)) << ticket;
      EXPECT_EQ(301, id);
    }
    ASSERT_TRUE(client.NextPacket(&packet)) << ticket;
    ASSERT_EQ(kKSMPKind_Reply, packet.Kind()) << ticket;
    EXPECT_EQ(ticket, KSMPWire::Ticket(packet.mHeader));
    EXPECT_EQ(ticket % 2 ? "" : "Big Bang", packet.mData);
  }
}

TEST_F(EngineSimProgramTest, SurvivesGarbageAndClientsThatVanishMidRequest) {
  Start();
  {
    // Half a request, then gone.
    SimTestClient vanisher;
    Connect(&vanisher);
    std::string wire(200, 'x');
    KSPacket packet = {};
    KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, 0, 1, true, nullptr);
    packet.mDataSize = 124;
    KSPacketWire::EncodeHeader(packet, reinterpret_cast<uint8*>(&wire[0]));
    ASSERT_TRUE(vanisher.SendRaw(wire.data(), 100));
  }
  {
    // A whole request, gone before its reply.
    SimTestClient vanisher;
    Connect(&vanisher);
    ASSERT_TRUE(vanisher.SendRequest(Text(CommandGetColorMapList)));
  }
  {
    // Bytes that announce an impossible size: the simulator hangs up.
    SimTestClient garbage;
    Connect(&garbage);
    std::string noise(kKSPacketWireHeaderSize, '\xFF');
    ASSERT_TRUE(garbage.SendRaw(noise.data(), noise.size()));
    EXPECT_TRUE(garbage.WaitForClose(5000));
  }
  {
    // Packets of another version or kind are passed over.
    SimTestClient stranger;
    Connect(&stranger);
    KSPacket packet = {};
    KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, 0, 9, true, nullptr);
    packet.mHeader[0] = 3;
    std::string wire(kKSPacketWireHeaderSize, '\0');
    KSPacketWire::EncodeHeader(packet, reinterpret_cast<uint8*>(&wire[0]));
    ASSERT_TRUE(stranger.SendRaw(wire.data(), wire.size()));
    EXPECT_EQ("Aurora Ribbon", stranger.Ask(Text(CommandGetCurrentWaveShape)));
    // A text that does not parse still gets its (empty) reply.
    EXPECT_EQ("", stranger.Ask("print(\"unterminated);"));
  }
  SimTestClient healthy;
  Connect(&healthy);
  EXPECT_EQ(Z("0"), healthy.Ask(Text(CommandGetFrameYLimit)));
}

TEST_F(EngineSimProgramTest, DropsAClientStalledInTheMiddleOfAPacket) {
  Start({"--stall-limit", "0.5"});
  SimTestClient idle, stalled, healthy;
  Connect(&idle);
  Connect(&stalled);
  Connect(&healthy);
  // A header that announces nearly the most a receiver accepts, then silence.
  KSPacket packet = {};
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, 0, 1, true, nullptr);
  packet.mDataSize = int32(kKSMaxIncomingDataSize - 1);
  std::string wire(kKSPacketWireHeaderSize, '\0');
  KSPacketWire::EncodeHeader(packet, reinterpret_cast<uint8*>(&wire[0]));
  ASSERT_TRUE(stalled.SendRaw(wire.data(), wire.size()));
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(Z("0"), healthy.Ask(Text(CommandGetFrameYLimit)));
  EXPECT_TRUE(stalled.WaitForClose(5000));
  EXPECT_GE(GetTickCount64() - start, 400u);
  // Silence between packets is no stall.
  EXPECT_EQ(Z("0"), idle.Ask(Text(CommandGetFrameYLimit)));
}

TEST_F(EngineSimProgramTest, RefuseClosesEveryConnectionAtOnce) {
  Start({"--refuse"});
  SimTestClient client;
  Connect(&client);
  ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(client.WaitForClose(5000));
  EXPECT_LT(GetTickCount64() - start, 1000u);
}

TEST_F(EngineSimProgramTest, ReplyDelayHoldsEachReplyBack) {
  Start({"--reply-delay", "400"});
  SimTestClient client;
  Connect(&client);
  ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(client.SendRequest(""));
  ASSERT_TRUE(client.SendRequest(Text(CommandGetCurrentFlowField), 2));
  ReceivedPacket first, second;
  ASSERT_TRUE(client.NextReply(&first));
  EXPECT_GE(GetTickCount64() - start, 390u);
  ASSERT_TRUE(client.NextReply(&second));
  EXPECT_GE(GetTickCount64() - start, 790u);  // one after the other, in order
  EXPECT_EQ(2u, KSMPWire::Ticket(second.mHeader));
  EXPECT_EQ("Big Bang", second.mData);
}

TEST_F(EngineSimProgramTest, CutReplyStopsInTheMiddleOfAPacket) {
  Start({"--cut-reply", "2"});
  SimTestClient client;
  Connect(&client);
  EXPECT_EQ("", client.Ask(""));
  ASSERT_TRUE(client.SendRequest(Text(CommandGetColorMapList), 2));
  bool midPacket = false;
  EXPECT_TRUE(client.WaitForClose(5000, &midPacket));
  EXPECT_TRUE(midPacket);
}

TEST_F(EngineSimProgramTest, OversizeAnnouncesMoreThanAnyClientAccepts) {
  Start({"--oversize"});
  SimTestClient client;
  Connect(&client);
  ASSERT_TRUE(client.SendRequest(""));
  ReceivedPacket reply;
  EXPECT_FALSE(client.NextReply(&reply, 5000));
  EXPECT_EQ(kKSErr_Protocol, client.StreamError());
}

TEST_F(EngineSimProgramTest, BadSystemMessageAndGreeting) {
  Start({"--bad-sysmsg", "--say", "Hello from the stage"});
  SimTestClient client;
  Connect(&client);
  ReceivedPacket packet;
  ASSERT_TRUE(client.NextPacket(&packet));
  long id = 0;
  std::string body;
  EXPECT_EQ(kKSMPKind_SystemMsg, packet.Kind());
  EXPECT_FALSE(packet.SystemMsg(&id, &body));  // sizes that do not fit
  ASSERT_TRUE(client.NextNotice(&id, &body));
  EXPECT_EQ(100, id);
  EXPECT_EQ("Hello from the stage", body);
  EXPECT_EQ("Aurora Ribbon", client.Ask(Text(CommandGetCurrentWaveShape)));
}

TEST_F(EngineSimProgramTest, FloodSendsNotificationsAtItsRate) {
  Start({"--flood", "200"});
  SimTestClient client;
  Connect(&client);
  EXPECT_EQ("", client.Ask(""));
  ULONGLONG start = GetTickCount64();
  int count = 0;
  long id = 0;
  std::string body;
  while (GetTickCount64() - start < 1000 && client.NextNotice(&id, &body, 1000)) {
    count++;
    EXPECT_TRUE(id == 301 || id == 303 || id == 305 || id == 321 || id == 323) << id;
  }
  double seconds = double(GetTickCount64() - start) / 1000.0;
  EXPECT_GT(count, int(100 * seconds));
  EXPECT_LT(count, int(200 * seconds) + 250);
}

TEST_F(EngineSimProgramTest, LogContentFolderAndConsoleInput) {
  KSTestFolder folder;
  folder.MakeFile("waveshapes.txt", "# ours\r\nFirst Shape\r\nSecond Shape\r\n");
  Start({"--content", folder.Spec().GetPathCStr(), "--log", folder.Item("sim.log").GetPathCStr()});
  SimTestClient client;
  Connect(&client);
  EXPECT_EQ(std::string("First Shape\0Second Shape\0\0", 26),
            client.Ask(Text(CommandGetWaveShapeList)));
  // Kinds without a file keep their built-in lists.
  std::string colorMaps = client.Ask(Text(CommandGetColorMapList));
  EXPECT_EQ(65 + 1, std::count(colorMaps.begin(), colorMaps.end(), '\0'));

  // A script typed on the console changes the state for everyone.
  ASSERT_TRUE(mSim.WriteInput("SetWaveShape(\"Second Shape\");\n"));
  long id = 0;
  std::string body;
  ASSERT_TRUE(client.NextNotice(&id, &body));
  EXPECT_EQ(303, id);
  EXPECT_EQ("Second Shape", body);
  EXPECT_EQ("", client.Ask("Frobnicate(1);"));

  unsigned long exitCode = 1;
  ASSERT_TRUE(mSim.EndInput(&exitCode));
  EXPECT_EQ(0u, exitCode);
  std::string log = ReadAll(folder.Item("sim.log"));
  EXPECT_NE(std::string::npos, log.find(" #1 > " + Text(CommandGetWaveShapeList) + "\r\n"));
  EXPECT_NE(std::string::npos, log.find(" #0 > SetWaveShape(\"Second Shape\");\r\n"));
  EXPECT_NE(std::string::npos, log.find(" #1 ! unknown call Frobnicate()"));
}

TEST_F(EngineSimProgramTest, PublishedInTheRegistryUntilItEnds) {
  const std::string name = "Engine Sim Test " + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(mSim.Start({"--name", name}));
  const char* const type = kEngineServiceType;
  ZCService service;
  ASSERT_EQ(0, KSZeroconf::ResolveService(name.c_str(), type, &service));
  EXPECT_EQ(uint32(mSim.Port()), service.mPort);
  EXPECT_EQ(ks_localhost, service.mAddr.mType);

  unsigned long exitCode = 1;
  ASSERT_TRUE(mSim.EndInput(&exitCode));
  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ(kKSErr_ServiceNotFound, KSZeroconf::ResolveService(name.c_str(), type, &service));
}

TEST_F(EngineSimProgramTest, TheToolbarsEngineLinkFindsAndDrivesIt) {
  const std::string name = "Engine Sim Link " + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(mSim.Start({"--name", name}));
  ASSERT_EQ(0, KSNet::Startup());
  {
    TestLink link;
    ASSERT_TRUE(link.PumpUntil([&] { return link.Knows(name); }));
    link.SetCurService(name.c_str());
    char text[kCommandBufferSize];
    ASSERT_EQ(0,
              link.SendCmd(CommandGetCurrentColorMap(text), -1, kCommandFlags, 7, 2, 42, nullptr));
    ASSERT_TRUE(link.PumpUntil([&] { return !link.mReplies.empty(); }));
    EXPECT_EQ("Amber Dusk", link.mReplies[0]);
    EXPECT_EQ(7, link.mCookies[0].mParam[0]);
    EXPECT_EQ(2, link.mCookies[0].mParam[1]);
    EXPECT_EQ(42, link.mCookies[0].mParam[2]);

    // A change made by another client reaches the link as a notification.
    SimTestClient other;
    Connect(&other);
    EXPECT_EQ("", other.Ask(CommandSetColorMap("Opal", text)));
    ASSERT_TRUE(link.PumpUntil([&] { return !link.mNotices.empty(); }));
    EXPECT_EQ(301, link.mNotices[0].first);
    EXPECT_EQ("Opal", link.mNotices[0].second);
    link.CloseSession();
  }
  KSNet::Shutdown();
}

// What the toolbar's engine link makes of each misbehaviour: whether its query
// is answered, how the session ends (refused when within the refusal window,
// closed later, or not at all), how many notifications get through, and
// whether the next command connects again.
TEST_F(EngineSimProgramTest, EachMisbehaviourGivesTheEngineLinksOutcome) {
  struct Case {
    std::vector<std::string> mArgs;
    bool mAnswered;
    long mEnd;  // kKSMsg_SessionRefused, kKSMsg_SessionClosed or 0
    int mMinNotices;
    int mMaxNotices;
  };
  const Case kCases[] = {
      {{"--refuse"}, false, kKSMsg_SessionRefused, 0, 0},
      {{"--cut-reply", "1"}, false, kKSMsg_SessionRefused, 0, 0},
      {{"--oversize"}, false, kKSMsg_SessionRefused, 0, 0},  // a protocol error ends it
      {{"--no-reply"}, false, kKSMsg_SessionClosed, 0, 0},   // by the idle time-out
      {{"--close-after", "2.2"}, true, kKSMsg_SessionClosed, 0, 0},
      {{"--reply-delay", "300"}, true, 0, 0, 0},
      {{"--bad-sysmsg", "--say", "hi"}, true, 0, 1, 1},  // only the well-formed one
      {{"--flood", "100"}, true, 0, 10, 100000},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.mArgs[0]);
    SimProcess sim;
    std::vector<std::string> args = {"--no-publish"};
    args.insert(args.end(), c.mArgs.begin(), c.mArgs.end());
    ASSERT_TRUE(sim.Start(args));
    TestLink link;
    link.ShortenLimits();
    LinkMessages messages;
    link.AddListener(&messages);
    link.UseLocalPort(sim.Port());
    const std::string query = Text(CommandGetCurrentWaveShape);

    link.SendCmd(query.c_str(), -1, kCommandFlags, 1, 2, 0, nullptr);
    link.PumpUntil([&] { return !link.mReplies.empty() || (c.mEnd && messages.Count(c.mEnd)); });
    EXPECT_EQ(c.mAnswered, !link.mReplies.empty());
    if (c.mEnd) {
      EXPECT_TRUE(link.PumpUntil([&] { return messages.Count(c.mEnd) > 0; }));
    }
    link.PumpUntil([&] { return int(link.mNotices.size()) >= c.mMinNotices; }, 3000);
    EXPECT_LE(c.mMinNotices, int(link.mNotices.size()));
    EXPECT_GE(c.mMaxNotices, int(link.mNotices.size()));
    EXPECT_EQ(0, messages.Count(c.mEnd == kKSMsg_SessionClosed ? kKSMsg_SessionRefused
                                                               : kKSMsg_SessionClosed));

    // After a refusal the link gives up, however early the engine hung up:
    // the next command makes no connection. After a close it connects again.
    int opened = messages.Count(kKSMsg_SessionOpened);
    long err = link.SendCmd(query.c_str(), -1, kCommandFlags, 1, 2, 0, nullptr);
    if (c.mEnd == kKSMsg_SessionRefused) {
      EXPECT_EQ(kKSErr_NotConnected, err);
      EXPECT_TRUE(link.ConnectFailed());
      EXPECT_EQ(opened, messages.Count(kKSMsg_SessionOpened));
      EXPECT_EQ(0, messages.Count(kKSMsg_SessionClosed));
    } else {
      EXPECT_EQ(0, err);
      EXPECT_EQ(c.mEnd == kKSMsg_SessionClosed, messages.Count(kKSMsg_SessionOpened) > opened);
      if (c.mAnswered) {
        EXPECT_TRUE(link.PumpUntil([&] { return link.mReplies.size() == 2; }));
      }
    }
    link.CloseSession();
  }
}
