#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "foundation/KSBroadcaster.h"
#include "foundation/KSMessages.h"

namespace {

struct Received {
  long mMsg;
  void* mParam1;
  void* mParam2;
};

class Recorder : public KSListener {
 public:
  void ListenToMsg(long inMsg, void* inParam1, void* inParam2) override {
    mReceived.push_back({inMsg, inParam1, inParam2});
    if (mOnMsg) {
      mOnMsg();
    }
  }
  void SetListening(bool inListening) { mIsListening = inListening; }
  long BroadcasterCount() const { return mBroadcasters.Count(); }

  std::vector<Received> mReceived;
  std::function<void()> mOnMsg;  // run after each message is noted
};

class Counted : public KSBroadcaster {
 public:
  long ListenerCount() const { return mListeners.Count(); }
};

// Each listening listener hears a message once; a broadcaster that dies
// first says so (muted listeners too are told nothing); a listener that dies
// first is forgotten without a word, and no broadcaster's destruction may
// reach it afterwards.
TEST(KSBroadcaster, DeliversOnceAndForgetsWhicheverDiesFirst) {
  Counted other;
  Recorder a, muted;
  other.AddListener(&a);
  other.AddListener(&a);
  other.AddListener(nullptr);
  other.AddListener(&muted);
  muted.SetListening(false);

  int param = 0;
  other.BroadcastMsg(kKSMsg_ServicesChanged, &param, nullptr);
  ASSERT_EQ(1u, a.mReceived.size());
  EXPECT_EQ(kKSMsg_ServicesChanged, a.mReceived[0].mMsg);
  EXPECT_EQ(&param, a.mReceived[0].mParam1);
  EXPECT_TRUE(muted.mReceived.empty());
  EXPECT_EQ(2, other.ListenerCount());  // muted, yet still registered
  other.RemoveListener(&muted);
  EXPECT_EQ(0, muted.BroadcasterCount());

  KSBroadcaster* dying = new KSBroadcaster;
  dying->AddListener(&a);
  dying->AddListener(&muted);
  delete dying;
  ASSERT_EQ(2u, a.mReceived.size());
  EXPECT_EQ(0x5F646965, a.mReceived[1].mMsg);
  EXPECT_EQ(dying, a.mReceived[1].mParam2);
  EXPECT_TRUE(muted.mReceived.empty());
  EXPECT_EQ(1, a.BroadcasterCount());
  EXPECT_EQ(0, muted.BroadcasterCount());

  Recorder* gone = new Recorder;
  other.AddListener(gone);
  Counted second;
  second.AddListener(gone);
  delete gone;
  EXPECT_EQ(1, other.ListenerCount());
  EXPECT_EQ(0, second.ListenerCount());
  other.BroadcastMsg(kKSMsg_ThemeCustom, nullptr, nullptr);
  EXPECT_EQ(3u, a.mReceived.size());
  other.RemoveListener(&a);
  EXPECT_EQ(0, a.BroadcasterCount());
  other.BroadcastMsg(kKSMsg_ServicesChanged, nullptr, nullptr);
  EXPECT_EQ(3u, a.mReceived.size());
}

// Deletes itself on 'Quit' or when its broadcaster dies.
class SelfDeleting : public KSListener {
 public:
  explicit SelfDeleting(int* ioDeaths) : mDeaths(ioDeaths) {}
  ~SelfDeleting() override { (*mDeaths)++; }
  void ListenToMsg(long inMsg, void*, void*) override {
    if (inMsg == kKSMsg_Die || inMsg == 'Quit') {
      delete this;
    }
  }

 private:
  int* mDeaths;
};

TEST(KSBroadcaster, ListenersMayJoinOrLeaveDuringABroadcast) {
  int deaths = 0;
  Recorder newcomer;
  {
    Counted broadcaster;
    Recorder recruiter;
    recruiter.mOnMsg = [&] { broadcaster.AddListener(&newcomer); };
    broadcaster.AddListener(&recruiter);
    broadcaster.AddListener(new SelfDeleting(&deaths));

    // Joining at a later index, the newcomer hears the same message.
    broadcaster.BroadcastMsg('Ping', nullptr, nullptr);
    ASSERT_EQ(1u, newcomer.mReceived.size());

    broadcaster.BroadcastMsg('Quit', nullptr, nullptr);
    EXPECT_EQ(1, deaths);
    EXPECT_EQ(2, broadcaster.ListenerCount());

    broadcaster.RemoveListener(&recruiter);
    broadcaster.AddListener(new SelfDeleting(&deaths));
  }
  EXPECT_EQ(2, deaths);
  EXPECT_EQ(0, newcomer.BroadcasterCount());
  EXPECT_EQ(kKSMsg_Die, newcomer.mReceived.back().mMsg);
}

}  // namespace
