// Where the application's engine link delivers replies and notifications. The
// engine is a KSMP session in this process, joined to the link directly.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/KSMessages.h"
#include "support/EventLog.h"
#include "toolbar/cToolbarSession.h"

namespace {

// Answers every request with "re:" and the request text.
class EchoEngine : public KSMPSession {
 protected:
  void OnReceivedProcessRequest(const uint8* inHeader, const KSBuf& inRequest) override {
    std::string reply = "re:" + std::string(inRequest.mData, size_t(inRequest.mNumBytes));
    SendReply(inHeader, reply.c_str(), long(reply.size()));
  }
};

struct Delivery {
  std::string mText;
  long mType;
  intptr_t mParam;
};

class RecordingTarget : public ToolbarReplyTarget {
 public:
  std::vector<Delivery> mReplies;
  std::vector<Delivery> mNotices;

  void OnKSMPReply(const char* inReply, eRequestType inType, void* inParam) override {
    mReplies.push_back({inReply, inType, reinterpret_cast<intptr_t>(inParam)});
  }
  void OnKSMPNotify(long inMsgID, const char* inDesc, const char* inData) override {
    mNotices.push_back({std::string(inDesc) + "=" + inData, inMsgID, 0});
  }
};

class RecordingWindow : public RecordingTarget, public KSListener {
 public:
  std::vector<long> mHeard;
  void ListenToMsg(long inMsg, void*, void*) override { mHeard.push_back(inMsg); }
};

std::string UniqueType() {
  return "_kst-route-" + std::to_string(GetCurrentProcessId()) + "._tcp.";
}

}  // namespace

TEST(cToolbarSession, RepliesGoToTheTargetNamedInTheRequest) {
  cToolbarSession link(UniqueType().c_str());
  EchoEngine engine;
  RecordingWindow window;
  RecordingTarget comboBox;
  RecordingTarget listView;
  ASSERT_EQ(0, link.OpenDirectSession(&engine));

  // Until there is a notify window, replies reach nobody.
  ASSERT_EQ(0, link.SendCmd("early", -1, kCommandFlags, comboBox.ReplyTargetID(), kRequestGetValue,
                            7, nullptr));
  EXPECT_TRUE(comboBox.mReplies.empty());

  link.SetNotifyWindow(&window, &window);
  ASSERT_EQ(0, link.SendCmd("index", -1, 12, comboBox.ReplyTargetID(), kRequestGetValueIndex,
                            kUITrackInfo, nullptr));
  ASSERT_EQ(0, link.SendCmd("contents", -1, kCommandFlags, listView.ReplyTargetID(),
                            kRequestGetContents, 0, nullptr));
  ASSERT_EQ(1u, comboBox.mReplies.size());
  EXPECT_EQ("re:index", comboBox.mReplies[0].mText);
  EXPECT_EQ(kRequestGetValueIndex, comboBox.mReplies[0].mType);
  EXPECT_EQ(kUITrackInfo, comboBox.mReplies[0].mParam);
  ASSERT_EQ(1u, listView.mReplies.size());
  EXPECT_EQ("re:contents", listView.mReplies[0].mText);

  // A command sent without a target, or for a target that is gone, is dropped.
  long goneID;
  {
    RecordingTarget closedList;
    goneID = closedList.ReplyTargetID();
  }
  ASSERT_EQ(0, link.SendCmd("cmd", -1, kCommandFlags, 0, kRequestDontCare, 0, nullptr));
  ASSERT_EQ(0, link.SendCmd("late", -1, kCommandFlags, goneID, kRequestGetValue, 0, nullptr));
  EXPECT_TRUE(window.mReplies.empty());
  EXPECT_EQ(1u, comboBox.mReplies.size());
  EXPECT_EQ(1u, listView.mReplies.size());
  EXPECT_EQ(nullptr, ToolbarReplyTarget::FindReplyTarget(goneID));
  EXPECT_EQ(nullptr, ToolbarReplyTarget::FindReplyTarget(0));
}

TEST(cToolbarSession, NotificationsGoToTheNotifyWindowWhichHearsTheLink) {
  cToolbarSession link(UniqueType().c_str());
  EchoEngine engine;
  RecordingWindow window;
  link.SetNotifyWindow(&window, &window);
  ASSERT_EQ(0, link.OpenDirectSession(&engine));
  EXPECT_EQ(1u, std::count(window.mHeard.begin(), window.mHeard.end(), kKSMsg_SessionOpened));

  const char desc[] = "ColorMap";
  const char data[] = "Fire";
  ASSERT_EQ(0, engine.SendSystemMsg(303, {desc, 8}, {data, 4}, 0));
  ASSERT_EQ(1u, window.mNotices.size());
  EXPECT_EQ(303, window.mNotices[0].mType);
  EXPECT_EQ("ColorMap=Fire", window.mNotices[0].mText);

  // Without a notify window notifications are dropped.
  link.SetNotifyWindow(nullptr, nullptr);
  ASSERT_EQ(0, engine.SendSystemMsg(305, {desc, 8}, {data, 4}, 0));
  EXPECT_EQ(1u, window.mNotices.size());
}
