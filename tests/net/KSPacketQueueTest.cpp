// The outgoing queue on its own, with the test playing the session thread.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "foundation/KSError.h"
#include "foundation/KSHandle.h"
#include "net/KSPacketQueue.h"

namespace {

KSPacket* Copy(int inSeq, const std::string& inData = "payload") {
  KSPacket p = {};
  p.mHeader[0] = uint8(inSeq);
  p.mHeader[1] = uint8(inSeq >> 8);
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return KSPacketQueue::CopyPacket(p);
}

int Seq(const KSPacket* inPacket) {
  return inPacket->mHeader[0] | (inPacket->mHeader[1] << 8);
}

}  // namespace

TEST(KSPacketQueueTest, FullQueueWaitsTimesOutOrGivesUp) {
  KSPacketQueue queue;
  ASSERT_TRUE(queue.Created());
  KSHandle giveUpEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE giveUp = giveUpEvent.Get();

  for (int i = 0; i < KSPacketQueue::kMaxPackets; i++) {
    ASSERT_EQ(0, queue.Append(Copy(i), false, 0, giveUp));
  }
  KSPacket* extra = Copy(500);
  EXPECT_EQ(kKSErr_SendQueueFull, queue.Append(extra, false, 1000, giveUp));
  EXPECT_EQ(kKSErr_Timeout, queue.Append(extra, true, 100, giveUp));
  // A packet over the send limit never fits, however empty the queue.
  KSPacket* big = Copy(1, std::string(kKSMaxOutgoingDataSize + 1, 'b'));
  EXPECT_EQ(kKSErr_Timeout, KSPacketQueue().Append(big, true, 50, giveUp));
  KSPacketQueue::FreePacket(big);
  SetEvent(giveUp);
  EXPECT_EQ(kKSErr_SessionClosed, queue.Append(extra, true, 60000, giveUp));
  KSPacketQueue::FreePacket(extra);

  // First in, first out, with one semaphore count per packet (the session
  // test sees a blocked send go through once a packet is taken).
  for (int i = 0; i < KSPacketQueue::kMaxPackets; i++) {
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
    KSPacket* p = queue.TakeOldest();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(Seq(p), i);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p->mData), size_t(p->mDataSize)),
              "payload");
    KSPacketQueue::FreePacket(p);
  }
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(queue.Semaphore(), 0));
  EXPECT_EQ(queue.TakeOldest(), nullptr);
}

// Two appenders wait on a full queue; two packets taken make room for both,
// however their wake-ups fall, and an appender whose packet can never fit,
// waiting longest, takes none of that room from them.
TEST(KSPacketQueueTest, EveryWaitingAppenderGetsTheRoomMade) {
  KSPacketQueue queue;
  KSHandle giveUpEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE giveUp = giveUpEvent.Get();
  for (int i = 0; i < KSPacketQueue::kMaxPackets; i++) {
    ASSERT_EQ(0, queue.Append(Copy(i), false, 0, giveUp));
  }
  KSPacket* big = Copy(800, std::string(kKSMaxOutgoingDataSize + 1, 'b'));
  long bigResult = -1;
  std::thread bigAppender([&] { bigResult = queue.Append(big, true, 1500, giveUp); });
  Sleep(50);
  long results[3] = {-1, -1, -1};
  std::thread appenders[2];
  for (int a = 0; a < 2; a++) {
    appenders[a] =
        std::thread([&, a] { results[a] = queue.Append(Copy(900 + a), true, 10000, giveUp); });
  }
  Sleep(100);  // both are most likely waiting by now
  // Taken back to back, so that the second goes before the first waiter wakes.
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
  KSPacketQueue::FreePacket(queue.TakeOldest());
  KSPacketQueue::FreePacket(queue.TakeOldest());
  for (std::thread& appender : appenders) {
    appender.join();
  }
  EXPECT_EQ(results[0], 0);
  EXPECT_EQ(results[1], 0);

  // The queue is full again; the next packet taken goes to the new waiter.
  std::thread third([&] { results[2] = queue.Append(Copy(902), true, 1000, giveUp); });
  Sleep(100);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(queue.Semaphore(), 0));
  KSPacketQueue::FreePacket(queue.TakeOldest());
  third.join();
  EXPECT_EQ(results[2], 0);
  bigAppender.join();
  EXPECT_EQ(bigResult, kKSErr_Timeout);
  KSPacketQueue::FreePacket(big);
}
