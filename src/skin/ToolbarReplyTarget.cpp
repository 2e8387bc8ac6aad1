#include "skin/ToolbarReplyTarget.h"

#include "foundation/XPtrList.h"

namespace {

// The living targets. A toolbar has a few hundred at most, so a list will do.
// Only the window thread uses it, so it needs no lock.
struct TargetRegistry {
  XPtrList mTargets;
  long mLastID = 0;
};

TargetRegistry& Registry() {
  static TargetRegistry sRegistry;
  return sRegistry;
}

ToolbarReplyTarget* FindTarget(TargetRegistry& inRegistry, long inID) {
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
  // Numbers are not reused while the count lasts, so a late reply cannot reach
  // a new target that took a dead one's number.
  do {
    registry.mLastID = registry.mLastID >= 0x7FFFFFFF ? 1 : registry.mLastID + 1;
  } while (FindTarget(registry, registry.mLastID) != nullptr);
  mReplyTargetID = registry.mLastID;
  registry.mTargets.Add(this);
}

ToolbarReplyTarget::~ToolbarReplyTarget() {
  Registry().mTargets.Remove(this);
}

ToolbarReplyTarget* ToolbarReplyTarget::FindReplyTarget(long inID) {
  if (inID == 0) {
    return nullptr;
  }
  return FindTarget(Registry(), inID);
}
