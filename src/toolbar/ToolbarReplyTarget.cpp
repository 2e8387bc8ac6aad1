#include "toolbar/ToolbarReplyTarget.h"

#include <mutex>

#include "foundation/XPtrList.h"

namespace {

// The living targets. A toolbar has a few hundred at most, so a list will do.
struct TargetRegistry {
  std::mutex mLock;
  XPtrList mTargets;
  long mLastID = 0;
};

TargetRegistry& Registry() {
  static TargetRegistry sRegistry;
  return sRegistry;
}

ToolbarReplyTarget* FindLocked(TargetRegistry& inRegistry, long inID) {
  for (long i = 1; i <= inRegistry.mTargets.Count(); ++i) {
    ToolbarReplyTarget* target = static_cast<ToolbarReplyTarget*>(inRegistry.mTargets.Fetch(i));
    if (target->ReplyTargetID() == inID) {
      return target;
    }
  }
  return nullptr;
}

}  // namespace

ToolbarReplyTarget::ToolbarReplyTarget() {
  TargetRegistry& registry = Registry();
  std::lock_guard<std::mutex> hold(registry.mLock);
  // Numbers are not reused while the count lasts, so a late reply cannot reach
  // a new target that took a dead one's number.
  do {
    registry.mLastID = registry.mLastID >= 0x7FFFFFFF ? 1 : registry.mLastID + 1;
  } while (FindLocked(registry, registry.mLastID) != nullptr);
  mReplyTargetID = registry.mLastID;
  registry.mTargets.Add(this);
}

ToolbarReplyTarget::~ToolbarReplyTarget() {
  TargetRegistry& registry = Registry();
  std::lock_guard<std::mutex> hold(registry.mLock);
  registry.mTargets.Remove(this);
}

ToolbarReplyTarget* ToolbarReplyTarget::FindReplyTarget(long inID) {
  if (inID == 0) {
    return nullptr;
  }
  TargetRegistry& registry = Registry();
  std::lock_guard<std::mutex> hold(registry.mLock);
  return FindLocked(registry, inID);
}
