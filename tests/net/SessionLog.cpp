#include "SessionLog.h"

#include <gtest/gtest.h>

#include <chrono>

long SessionLog::Handler(KSSessionRef, long inMsg, intptr_t inParam1, intptr_t, void* inUser) {
  SessionLog* log = static_cast<SessionLog*>(inUser);
  SessionEvent event = {};
  event.mMsg = inMsg;
  if (inMsg == kKSNetMsg_SesC || inMsg == kKSNetMsg_SesF) {
    event.mResult = long(inParam1);
  } else if (inMsg == kKSNetMsg_Recv) {
    const KSPacket* packet = reinterpret_cast<const KSPacket*>(inParam1);
    event.mPacket = *packet;
    event.mPacket.mData = nullptr;
    event.mData.assign(reinterpret_cast<const char*>(packet->mData), size_t(packet->mDataSize));
    event.mTerminated =
        packet->mData[packet->mDataSize] == 0 && packet->mData[packet->mDataSize + 1] == 0;
  }
  std::lock_guard<std::mutex> lock(log->mMutex);
  log->mEvents.push_back(event);
  log->mChanged.notify_all();
  return 0;
}

bool SessionLog::WaitUntil(const std::function<bool(const std::vector<SessionEvent>&)>& inDone,
                           int inTimeoutMS) {
  std::unique_lock<std::mutex> lock(mMutex);
  return mChanged.wait_for(lock, std::chrono::milliseconds(inTimeoutMS),
                           [&] { return inDone(mEvents); });
}

bool SessionLog::WaitForEnd(int inTimeoutMS) {
  return WaitUntil(
      [](const std::vector<SessionEvent>& inEvents) {
        for (const SessionEvent& e : inEvents) {
          if (e.mMsg == kKSNetMsg_SesC || e.mMsg == kKSNetMsg_SesF) {
            return true;
          }
        }
        return false;
      },
      inTimeoutMS);
}

bool SessionLog::WaitForCount(long inMsg, size_t inCount, int inTimeoutMS) {
  return WaitUntil(
      [&](const std::vector<SessionEvent>& inEvents) {
        size_t n = 0;
        for (const SessionEvent& e : inEvents) {
          n += e.mMsg == inMsg;
        }
        return n >= inCount;
      },
      inTimeoutMS);
}

std::vector<SessionEvent> SessionLog::Events() {
  std::lock_guard<std::mutex> lock(mMutex);
  return mEvents;
}

size_t SessionLog::Count(long inMsg) {
  size_t n = 0;
  for (const SessionEvent& e : Events()) {
    n += e.mMsg == inMsg;
  }
  return n;
}

const SessionEvent SessionLog::End() {
  std::vector<SessionEvent> events = Events();
  SessionEvent end = {};
  int ends = 0;
  for (const SessionEvent& e : events) {
    if (e.mMsg == kKSNetMsg_SesC || e.mMsg == kKSNetMsg_SesF) {
      end = e;
      ends++;
    }
  }
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(events.empty() || events.back().mMsg == end.mMsg) << "events after the end";
  return end;
}
