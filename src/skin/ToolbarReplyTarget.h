// Something that engine replies and notifications are delivered to: the
// toolbar's windows and controls.
//
// A query names its reply target in the request's cookie, which has room for
// a 32-bit value only, so a target is known there by a number of its own
// (ReplyTargetID) rather than by its address. A reply that comes back after
// its target was destroyed finds nobody instead of a dangling pointer.
//
// Targets are made, destroyed and looked up on the window thread.
#pragma once

#include "skin/UIFunctions.h"

class ToolbarReplyTarget {
 public:
  ToolbarReplyTarget();
  virtual ~ToolbarReplyTarget();

  ToolbarReplyTarget(const ToolbarReplyTarget&) = delete;
  ToolbarReplyTarget& operator=(const ToolbarReplyTarget&) = delete;

  // The value to pass as SendCmd's reply target; never 0.
  long ReplyTargetID() const { return mReplyTargetID; }

  // The living target known by inID, or null.
  static ToolbarReplyTarget* FindReplyTarget(long inID);

  // The reply text to a query sent for this target, with the request type
  // and parameter given to SendCmd.
  virtual void OnKSMPReply(const char* /*inReply*/, eRequestType /*inType*/, void* /*inParam*/) {}
  // An engine notification (only the notify window receives these).
  virtual void OnKSMPNotify(long /*inMsgID*/, const char* /*inDesc*/, const char* /*inData*/) {}

 private:
  long mReplyTargetID;
};
