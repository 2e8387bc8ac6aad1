#include "SessionLog.h"

#include <gtest/gtest.h>

namespace {

bool IsEnd(const SessionEvent& inEvent) {
  return inEvent.mMsg == kKSNetMsg_SesC || inEvent.mMsg == kKSNetMsg_SesF;
}

}  // namespace

long SessionLog::Handler(KSSessionRef, long inMsg, intptr_t inParam1, intptr_t, void* inUser) {
  SessionEvent event = {};
  event.mMsg = inMsg;
  if (IsEnd(event)) {
    event.mResult = long(inParam1);
  } else if (inMsg == kKSNetMsg_Recv) {
    const KSPacket* packet = reinterpret_cast<const KSPacket*>(inParam1);
    event.mPacket = *packet;
    event.mPacket.mData = nullptr;
    event.mData.assign(reinterpret_cast<const char*>(packet->mData), size_t(packet->mDataSize));
    event.mTerminated =
        packet->mData[packet->mDataSize] == 0 && packet->mData[packet->mDataSize + 1] == 0;
  }
  static_cast<SessionLog*>(inUser)->Add(event);
  return 0;
}

bool SessionLog::WaitForEnd(int inTimeoutMS) {
  return WaitUntil(
      [](const std::vector<SessionEvent>& inEvents) {
        return std::any_of(inEvents.begin(), inEvents.end(), IsEnd);
      },
      inTimeoutMS);
}

const SessionEvent SessionLog::End() {
  std::vector<SessionEvent> events = Events();
  auto ends = std::count_if(events.begin(), events.end(), IsEnd);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(events.empty() || IsEnd(events.back())) << "events after the end";
  return ends > 0 ? *std::find_if(events.rbegin(), events.rend(), IsEnd) : SessionEvent{};
}
