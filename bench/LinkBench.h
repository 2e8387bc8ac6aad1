// The engine link under measurement: the toolbar's ToolbarSession connected
// to an engine, with replies counted on the session thread as they arrive.
#pragma once

#include <atomic>
#include <vector>

#include "foundation/KSHandle.h"
#include "net/ToolbarSession.h"

class LinkBench : public ToolbarSession {
 public:
  LinkBench();
  ~LinkBench() override;

  // Uses the engine at 127.0.0.1:inPort and opens the session. 0 or an error.
  long Open(long inPort);

  // As the raw echo's measurements, with inScript sent as each request.
  bool MeasureRoundTrips(const char* inScript, int inCount, std::vector<double>* outMicros);
  bool MeasurePipelined(const char* inScript, int inCount, double* outMicros);

 protected:
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override;

 private:
  // Sends inCount requests and waits until all their replies are in.
  bool SendAndWait(const char* inScript, int inCount);

  std::atomic<long> mReplies;
  std::atomic<long> mAwaited;  // the reply count that wakes the sender
  // When the awaited reply reached the link's reply handler. The times stop
  // there: how the sender is woken is the harness's business, not the link's.
  std::atomic<double> mDoneMicros;
  KSHandle mDoneEvent;
};
