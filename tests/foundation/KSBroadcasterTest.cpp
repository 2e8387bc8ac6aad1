#include <gtest/gtest.h>

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
  }
  void SetListening(bool inListening) { mIsListening = inListening; }
  long BroadcasterCount() const { return mBroadcasters.Count(); }

  std::vector<Received> mReceived;
};

class TestBroadcaster : public KSBroadcaster {
 public:
  long ListenerCount() const { return mListeners.Count(); }
};

TEST(KSBroadcaster, DeliversOnceToEachListeningListener) {
  TestBroadcaster broadcaster;
  Recorder a, b, muted;
  broadcaster.AddListener(&a);
  broadcaster.AddListener(&a);
  broadcaster.AddListener(nullptr);
  broadcaster.AddListener(&b);
  broadcaster.AddListener(&muted);
  muted.SetListening(false);
  EXPECT_EQ(3, broadcaster.ListenerCount());
  EXPECT_EQ(1, a.BroadcasterCount());

  int param = 0;
  broadcaster.BroadcastMsg(kKSMsg_ServicesChanged, &param, nullptr);
  ASSERT_EQ(1u, a.mReceived.size());
  EXPECT_EQ(kKSMsg_ServicesChanged, a.mReceived[0].mMsg);
  EXPECT_EQ(&param, a.mReceived[0].mParam1);
  EXPECT_EQ(nullptr, a.mReceived[0].mParam2);
  EXPECT_EQ(1u, b.mReceived.size());
  EXPECT_TRUE(muted.mReceived.empty());
  EXPECT_EQ(1, muted.BroadcasterCount());  // muted, yet still registered

  broadcaster.RemoveListener(&b);
  broadcaster.RemoveListener(&b);
  EXPECT_EQ(0, b.BroadcasterCount());
  broadcaster.BroadcastMsg(kKSMsg_ServicesChanged, nullptr, nullptr);
  EXPECT_EQ(2u, a.mReceived.size());
  EXPECT_EQ(1u, b.mReceived.size());
}

TEST(KSBroadcaster, DyingBroadcasterSendsDieAndIsForgotten) {
  Recorder a, muted;
  TestBroadcaster* other = new TestBroadcaster;
  other->AddListener(&a);
  muted.SetListening(false);

  KSBroadcaster* dying = new KSBroadcaster;
  dying->AddListener(&a);
  dying->AddListener(&muted);
  EXPECT_EQ(2, a.BroadcasterCount());
  delete dying;

  ASSERT_EQ(1u, a.mReceived.size());
  EXPECT_EQ(kKSMsg_Die, a.mReceived[0].mMsg);
  EXPECT_EQ(0x5F646965, a.mReceived[0].mMsg);
  EXPECT_EQ(nullptr, a.mReceived[0].mParam1);
  EXPECT_EQ(dying, a.mReceived[0].mParam2);
  EXPECT_TRUE(muted.mReceived.empty());
  EXPECT_EQ(1, a.BroadcasterCount());
  EXPECT_EQ(0, muted.BroadcasterCount());
  delete other;
  EXPECT_EQ(0, a.BroadcasterCount());
  // a and muted now go out of scope with no broadcaster to reach.
}

TEST(KSBroadcaster, DyingListenerIsForgottenSilently) {
  TestBroadcaster first, second;
  Recorder survivor;
  Recorder* dying = new Recorder;
  first.AddListener(dying);
  first.AddListener(&survivor);
  second.AddListener(dying);
  delete dying;  // tells nobody; both broadcasters drop it

  EXPECT_EQ(1, first.ListenerCount());
  EXPECT_EQ(0, second.ListenerCount());
  first.BroadcastMsg(kKSMsg_ThemeCustom, nullptr, nullptr);
  second.BroadcastMsg(kKSMsg_ThemeCustom, nullptr, nullptr);
  EXPECT_EQ(1u, survivor.mReceived.size());
  // The broadcasters' destruction must not reach the deleted listener either.
}

// Deletes itself when told the broadcaster is dying, as owners of one-shot
// listeners do.
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

// On its first message, registers a newcomer with the broadcaster.
class Recruiter : public KSListener {
 public:
  Recruiter(KSBroadcaster* inBroadcaster, KSListener* inNewcomer)
      : mBroadcaster(inBroadcaster), mNewcomer(inNewcomer) {}
  void ListenToMsg(long, void*, void*) override { mBroadcaster->AddListener(mNewcomer); }

 private:
  KSBroadcaster* mBroadcaster;
  KSListener* mNewcomer;
};

TEST(KSBroadcaster, ListenersMayLeaveOrJoinDuringABroadcast) {
  int deaths = 0;
  Recorder newcomer;
  {
    TestBroadcaster broadcaster;
    Recruiter recruiter(&broadcaster, &newcomer);
    broadcaster.AddListener(&recruiter);
    broadcaster.AddListener(new SelfDeleting(&deaths));

    // The newcomer lands at a later index and is reached in the same round.
    broadcaster.BroadcastMsg('Ping', nullptr, nullptr);
    ASSERT_EQ(1u, newcomer.mReceived.size());
    EXPECT_EQ('Ping', newcomer.mReceived[0].mMsg);
    EXPECT_EQ(3, broadcaster.ListenerCount());

    // A listener deleting itself mid-broadcast leaves nothing dangling.
    broadcaster.BroadcastMsg('Quit', nullptr, nullptr);
    EXPECT_EQ(1, deaths);
    EXPECT_EQ(2, broadcaster.ListenerCount());

    broadcaster.RemoveListener(&recruiter);
    broadcaster.AddListener(new SelfDeleting(&deaths));
  }
  // The last listener deleted itself on hearing the broadcaster die.
  EXPECT_EQ(2, deaths);
  EXPECT_EQ(0, newcomer.BroadcasterCount());
  EXPECT_EQ(kKSMsg_Die, newcomer.mReceived.back().mMsg);
}

// Both broadcasts and listens, as the engine link and the application window do.
class Relay : public KSBroadcaster, public KSListener {
 public:
  void ListenToMsg(long inMsg, void* inParam1, void*) override {
    if (inMsg != kKSMsg_Die) {
      BroadcastMsg(inMsg, inParam1, this);
    }
  }
};

TEST(KSBroadcaster, RelayChainsUnwindInEitherOrder) {
  Recorder end;
  TestBroadcaster source;
  Relay* relay = new Relay;
  source.AddListener(relay);
  relay->AddListener(&end);
  source.BroadcastMsg(kKSMsg_SessionOpened, nullptr, nullptr);
  ASSERT_EQ(1u, end.mReceived.size());
  EXPECT_EQ(static_cast<KSBroadcaster*>(relay), end.mReceived[0].mParam2);

  delete relay;
  EXPECT_EQ(0, source.ListenerCount());
  EXPECT_EQ(0, end.BroadcasterCount());
  EXPECT_EQ(kKSMsg_Die, end.mReceived.back().mMsg);
}

}  // namespace
