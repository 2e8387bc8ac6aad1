// corvexa-engine-sim as a program: started for each test, spoken to over
// loopback KSMP, and checked for its replies, its notifications, each of its
// misbehaviours, its log and its content folder. (Its registry entry is seen
// by corvexa-ctl's list and by the toolbar's instance list.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "net/KSMPWire.h"
#include "net/KSPacketWire.h"
#include "net/ToolbarSession.h"
#include "support/KSTestFolder.h"
#include "support/LoopbackPeer.h"
#include "support/QueuedLink.h"
#include "support/SimProcess.h"
#include "toolbar/UICommands.h"

namespace {

// The wire form of a request with a script text; inCookieFill fills the
// cookie, whose first byte is the ticket's so that no two requests share one.
std::vector<uint8> Request(const std::string& inText, uint32 inTicket = 1,
                           uint8 inFlags = kCommandFlags, uint8 inCookieFill = 0xA5,
                           bool inReplyWanted = true) {
  KSMPCookie cookie;
  std::memset(cookie.mData, inCookieFill, sizeof(cookie.mData));
  cookie.mData[0] = uint8(inTicket);
  KSPacket packet = {};
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, inFlags, inTicket, inReplyWanted,
                        &cookie);
  packet.mDataSize = int32(inText.size());
  packet.mData = reinterpret_cast<const uint8*>(inText.data());
  return WireBytes(packet);
}

// A KSMP client of the simulator, with requests made by the project's own
// codec, so that a test controls every byte it sends and sees every packet it
// gets. All waits are bounded.
class SimTestClient : public LoopbackPeer {
 public:
  // The next packet; outID is the id of a system message, 0 for a reply.
  bool Next(KSPacket* outPacket, std::string* outData, long* outID) {
    if (!RecvPacket(outPacket, outData)) {
      return false;
    }
    *outID = 0;
    if (KSMPWire::Kind(outPacket->mHeader) != kKSMPKind_SystemMsg) {
      return true;
    }
    // The unpacker reads the two zero bytes every received payload carries.
    std::string payload = *outData + std::string(2, '\0');
    outPacket->mData = reinterpret_cast<const uint8*>(payload.data());
    KSMPSystemMsg msg;
    if (KSMPWire::UnpackSystemMsg(*outPacket, &msg) != 0) {
      return false;
    }
    *outID = msg.mMsgID;
    outData->assign(msg.mDesc, size_t(msg.mDescSize));
    outPacket->mData = nullptr;
    return true;
  }
  // The payload of the next reply; system messages on the way are passed over.
  std::string NextReply() {
    KSPacket packet;
    std::string data;
    for (long id = 0; Next(&packet, &data, &id);) {
      if (KSMPWire::Kind(packet.mHeader) == kKSMPKind_Reply) {
        return data;
      }
    }
    return "?";
  }
  // Sends a request and returns the payload of its reply ("?" when none came).
  std::string Ask(const std::string& inText) {
    return SendBytes(Request(inText)) ? NextReply() : "?";
  }
};

std::string Z(const std::string& inText) {
  return inText + std::string(1, '\0');
}

std::string Text(char* (*inBuilder)(char*)) {
  char text[kCommandBufferSize];
  return inBuilder(text);
}

// Counts the messages an engine link broadcasts, whichever thread sends them.
struct Heard {
  long mMsg;
};
class LinkMessages : public KSListener, public EventLog<Heard> {
 public:
  void ListenToMsg(long inMsg, void*, void*) override { Add({inMsg}); }
};

class EngineSimProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  }
  void TearDown() override { WSACleanup(); }
};

}  // namespace

// One run with a content folder and a log. Kinds without a file keep their
// built-in lists. Requests that arrive in one piece are answered in order,
// each reply in its form and echoing its request's ticket, flags and cookie,
// wanting no reply; a change one of them makes is announced before its reply,
// as when they come one by one. A request that wants no reply gets none. The
// log holds each request with its header's flags byte, the console's under
// client 0, and each script's problems.
TEST_F(EngineSimProgramTest, RequestsContentConsoleAndLog) {
  KSTestFolder folder;
  folder.MakeFile("waveshapes.txt", "# ours\r\nFirst Shape\r\nSecond Shape\r\n");
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--no-publish", "--seed", "1", "--content", folder.Spec().GetPathCStr(),
                         "--log", folder.Item("sim.log").GetPathCStr()}));
  EXPECT_EQ("listening on 127.0.0.1:" + std::to_string(sim.Port()), sim.FirstLine());
  SimTestClient client;
  ASSERT_TRUE(client.Connect(sim.Port()));
  EXPECT_EQ(std::string("First Shape\0Second Shape\0\0", 26),
            client.Ask(Text(CommandGetWaveShapeList)));
  std::string colorMaps = client.Ask(Text(CommandGetColorMapList));
  EXPECT_EQ(65 + 1, std::count(colorMaps.begin(), colorMaps.end(), '\0'));

  char text[kCommandBufferSize];
  const std::string change = CommandNextColorMap(1, text);
  const std::string queries[] = {Text(CommandGetFrameXLimit), Text(CommandGetCurrentWaveShape),
                                 Text(CommandGetCurrentFlowField), ""};
  const std::string replies[] = {Z("0"), "Second Shape", "Big Bang", ""};
  std::vector<uint8> wire = Request("NextWaveShape(1);", 99, kCommandFlags, 0x11, false);
  const uint32 kRequests = 30;
  for (uint32 ticket = 1; ticket <= kRequests; ticket++) {
    std::vector<uint8> one = Request(ticket % 2 ? change : queries[ticket / 2 % 4], ticket,
                                     uint8(0x0B + ticket % 4), uint8(0x40 + ticket));
    wire.insert(wire.end(), one.begin(), one.end());
  }
  ASSERT_TRUE(client.SendBytes(wire));

  KSPacket packet;
  std::string data;
  long id = 0;
  ASSERT_TRUE(client.Next(&packet, &data, &id));
  EXPECT_EQ(303, id);  // the wave-shape step, whose request wanted no reply
  for (uint32 ticket = 1; ticket <= kRequests; ticket++) {
    SCOPED_TRACE(ticket);
    if (ticket % 2) {
      ASSERT_TRUE(client.Next(&packet, &data, &id));
      EXPECT_EQ(301, id);
    }
    ASSERT_TRUE(client.Next(&packet, &data, &id));
    ASSERT_EQ(kKSMPKind_Reply, KSMPWire::Kind(packet.mHeader));
    EXPECT_EQ(ticket, KSMPWire::Ticket(packet.mHeader));
    EXPECT_EQ(0x0B + ticket % 4, KSMPWire::Flags(packet.mHeader));
    EXPECT_FALSE(KSMPWire::ReplyWanted(packet.mHeader));
    KSMPCookie cookie;
    KSMPWire::GetCookie(packet.mHeader, &cookie);
    EXPECT_EQ(uint8(ticket), cookie.mData[0]);
    EXPECT_EQ(0x40 + ticket, cookie.mData[31]);
    EXPECT_EQ(ticket % 2 ? "" : replies[ticket / 2 % 4], data);
  }

  ASSERT_TRUE(sim.WriteInput("SetWaveShape(\"First Shape\");\n"));
  EXPECT_EQ("", client.Ask("Frobnicate(1);"));
  ASSERT_TRUE(client.SendBytes(Request("", 7, 12)));
  EXPECT_EQ("", client.NextReply());

  unsigned long exitCode = 1;
  ASSERT_TRUE(sim.EndInput(&exitCode));
  EXPECT_EQ(0u, exitCode);
  std::string log = ReadAll(folder.Item("sim.log"));
  EXPECT_NE(std::string::npos, log.find(" #1 0x0C > \r\n"));
  EXPECT_NE(std::string::npos, log.find(" #0 > SetWaveShape(\"First Shape\");\r\n"));
  EXPECT_NE(std::string::npos, log.find(" #1 ! unknown call Frobnicate()"));
}

// What the toolbar's engine link makes of each misbehaviour: whether its query
// is answered and how soon, how the session ends (refused when the engine hung
// up at once without a word, closed when it broke the stream or later, or not
// at all), which notifications get through, and whether the next command
// connects again.
TEST_F(EngineSimProgramTest, EachMisbehaviourGivesTheEngineLinksOutcome) {
  struct Case {
    std::vector<std::string> mArgs;
    bool mAnswered;
    long mEnd;  // kKSMsg_SessionRefused, kKSMsg_SessionClosed or 0
    int mMinNotices;
    int mMaxNotices;
    ULONGLONG mMinReplyMS;
  };
  const Case kCases[] = {
      {{"--refuse"}, false, kKSMsg_SessionRefused, 0, 0, 0},
      {{"--cut-reply", "1"}, false, kKSMsg_SessionClosed, 0, 0, 0},  // a broken stream
      {{"--oversize"}, false, kKSMsg_SessionClosed, 0, 0, 0},        // a protocol error
      {{"--no-reply"}, false, kKSMsg_SessionClosed, 0, 0, 0},        // by the idle time-out
      {{"--close-after", "2.2"}, true, kKSMsg_SessionClosed, 0, 0, 0},
      {{"--reply-delay", "300"}, true, 0, 0, 0, 290},
      {{"--bad-sysmsg", "--say", "hi"}, true, 0, 1, 1, 0},  // only the well-formed one
      {{"--flood", "100"}, true, 0, 10, 100000, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.mArgs[0]);
    SimProcess sim;
    std::vector<std::string> args = {"--no-publish"};
    args.insert(args.end(), c.mArgs.begin(), c.mArgs.end());
    ASSERT_TRUE(sim.Start(args));
    QueuedLink link;
    // Shorter limits than the product's, in the same order: the refusal
    // window (whole seconds, so 2 at least) ends before the idle limit.
    link.ShortenLimits(3000, 2);
    LinkMessages messages;
    link.AddListener(&messages);
    link.UseLocalPort(sim.Port());
    const std::string query = Text(CommandGetCurrentWaveShape);

    ULONGLONG start = GetTickCount64();
    link.SendCmd(query.c_str(), -1, kCommandFlags, 1, 2, 0, nullptr);
    link.PumpUntil([&] { return !link.mReplies.empty() || (c.mEnd && messages.Count(c.mEnd)); });
    EXPECT_EQ(c.mAnswered, !link.mReplies.empty());
    EXPECT_GE(GetTickCount64() - start, c.mMinReplyMS);
    if (c.mEnd) {
      EXPECT_TRUE(link.PumpUntil([&] { return messages.Count(c.mEnd) > 0; }));
    }
    link.PumpUntil([&] { return int(link.mNotices.size()) >= c.mMinNotices; }, 3000);
    EXPECT_LE(c.mMinNotices, int(link.mNotices.size()));
    EXPECT_GE(c.mMaxNotices, int(link.mNotices.size()));
    if (c.mArgs[0] == "--bad-sysmsg" && !link.mNotices.empty()) {
      EXPECT_EQ(std::make_pair(100L, std::string("hi")), link.mNotices[0]);
    }
    EXPECT_EQ(0, messages.Count(c.mEnd == kKSMsg_SessionClosed ? kKSMsg_SessionRefused
                                                               : kKSMsg_SessionClosed));

    // After a refusal the link gives up, however early the engine hung up:
    // the next command makes no connection. After a close it connects again.
    size_t opened = messages.Count(kKSMsg_SessionOpened);
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
