// Records what a KSNet session reports to its handler, for tests to wait on.
#pragma once

#include <string>

#include "net/KSNet.h"
#include "support/EventLog.h"

struct SessionEvent {
  long mMsg;
  long mResult;      // SesC and SesF
  KSPacket mPacket;  // Recv; mData is cleared, the bytes are in mData
  std::string mData;
  bool mTerminated;  // Recv: two zero bytes followed the data
};

class SessionLog : public EventLog<SessionEvent> {
 public:
  static long Handler(KSSessionRef inRef, long inMsg, intptr_t inParam1, intptr_t inParam2,
                      void* inUser);

  bool WaitForEnd(int inTimeoutMS = 10000);
  // The one end message (SesC or SesF); fails the test when not exactly one,
  // or when anything came after it.
  const SessionEvent End();
};
