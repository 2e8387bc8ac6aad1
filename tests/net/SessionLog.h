// Records what a KSNet session reports to its handler, for tests to wait on.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "net/KSNet.h"

struct SessionEvent {
  long mMsg;
  long mResult;      // SesC and SesF
  KSPacket mPacket;  // Recv; mData is cleared, the bytes are in mData
  std::string mData;
  bool mTerminated;  // Recv: two zero bytes followed the data
};

class SessionLog {
 public:
  static long Handler(KSSessionRef inRef, long inMsg, intptr_t inParam1, intptr_t inParam2,
                      void* inUser);

  // Waits until inDone holds for the events so far, at most inTimeoutMS.
  bool WaitUntil(const std::function<bool(const std::vector<SessionEvent>&)>& inDone,
                 int inTimeoutMS = 10000);
  bool WaitForEnd(int inTimeoutMS = 10000);
  bool WaitForCount(long inMsg, size_t inCount, int inTimeoutMS = 10000);

  std::vector<SessionEvent> Events();
  size_t Count(long inMsg);
  // The one end message (SesC or SesF); fails the test when not exactly one.
  const SessionEvent End();

 private:
  std::mutex mMutex;
  std::condition_variable mChanged;
  std::vector<SessionEvent> mEvents;
};
