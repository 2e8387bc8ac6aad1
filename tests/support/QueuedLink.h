// The toolbar's engine link as the window uses it: queued, so that what
// arrives is delivered when a test pumps, and kept for the test to read.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "net/ToolbarSession.h"
#include "support/EventLog.h"

class QueuedLink : public ToolbarSession {
 public:
  explicit QueuedLink(const char* inServiceType = kEngineServiceType)
      : ToolbarSession(inServiceType) {
    mQueueIncomingMode = true;
  }

  struct Reply {
    std::string mText;
    ToolbarCmdCookie mCookie;
  };
  std::vector<Reply> mReplies;
  std::vector<std::pair<long, std::string>> mNotices;  // message id and description

  // Delivers queued events until inDone holds, at most inTimeoutMS.
  bool PumpUntil(const std::function<bool()>& inDone, int inTimeoutMS = 10000) {
    return PollUntil(
        [&] {
          DispatchIncoming();
          return inDone();
        },
        inTimeoutMS);
  }

  // The idle limit stays longer than the refusal window, as in the product.
  void ShortenLimits(long inIdleMS, long inRefusalSecs) {
    mSessionTimeoutMS = inIdleMS;
    mRefusalWindowSecs = inRefusalSecs;
  }

  // Makes the server listening at inPort on this machine the current
  // service, as if discovery had found and resolved it.
  void UseLocalPort(int inPort) {
    KSNetAddr local = {};
    local.mType = ks_localhost;
    UseServiceAddr("local server", local, static_cast<unsigned long>(inPort));
  }

 protected:
  void OnCmdComplete(const KSBuf& inReply, const ToolbarCmdCookie& inCookie) override {
    mReplies.push_back({std::string(inReply.mData, size_t(inReply.mNumBytes)), inCookie});
  }
  void OnReceivedSystemMsg(const KSMPSystemMsg& inMsg, unsigned char inFlags) override {
    mNotices.push_back(std::make_pair(long(inMsg.mMsgID), std::string(inMsg.mDesc)));
    ToolbarSession::OnReceivedSystemMsg(inMsg, inFlags);
  }
};
