// ToolPageBuilder: what the skin parser builds with when a skin is loaded
// for real: tool pages holding real controls, made inside a parent window.
#pragma once

#include <memory>
#include <vector>

#include "skin/SkinPageBuilder.h"
#include "skin/cToolPage.h"

class ToolPageBuilder : public SkinPageBuilder {
 public:
  // The outermost page goes into inParent.
  explicit ToolPageBuilder(cWindow* inParent) : mParent(inParent) {}

  long MakePage(long inPageID, long inParentID, const ToolPageInfo& inPageInfo,
                const ControlInfo& inInfo) override;
  long CreateControl(long inPageID, const ControlInfo& inInfo) override;
  long AddControl(long inPageID, long inChildID) override;
  void FinishPage(long inPageID, const ToolPageInfo& inPageInfo, const ControlInfo& inInfo,
                  const char* inName) override;
  void DiscardPage(long inPageID) override;

  // The outermost page with everything added to it, complete or not; null
  // when none was made.
  std::unique_ptr<cToolPage> TakeOutermost();

 private:
  cToolPage* Page(long inPageID) const;

  cWindow* mParent;
  // By identifier: every page made, and those the builder still owns (not
  // yet added to a parent page, discarded or taken).
  std::vector<cToolPage*> mPages;
  std::vector<std::unique_ptr<cControl>> mOwned;
};
