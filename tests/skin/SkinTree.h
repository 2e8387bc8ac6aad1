// A SkinPageBuilder that builds a plain tree of owned records, holds the
// parser to the builder's rules (identifiers, order, ownership) and prints
// the tree compactly. The tests compare such prints; the fuzz target only
// builds and frees trees.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/SkinPageBuilder.h"

struct SkinTreePage {
  long mID = 0;
  ToolPageInfo mPageInfo;
  ControlInfo mInfo;
  std::string mName;
  bool mFinished = false;
  // Controls and nested pages in file order; mPage is set for a nested page.
  struct Item {
    ControlInfo mInfo;
    std::unique_ptr<SkinTreePage> mPage;
  };
  std::vector<Item> mItems;
};

class SkinTree : public SkinPageBuilder {
 public:
  // inFailAt: the call (counted from 1 over all calls) that fails with
  // kKSErr_AllocFailed instead of building, 0 for none.
  explicit SkinTree(int inFailAt = 0) : mFailAt(inFailAt) {}

  long MakePage(long inPageID, long inParentID, const ToolPageInfo& inPageInfo,
                const ControlInfo& inInfo) override;
  long CreateControl(long inPageID, const ControlInfo& inInfo) override;
  long AddControl(long inPageID, long inChildID) override;
  void FinishPage(long inPageID, const ToolPageInfo& inPageInfo, const ControlInfo& inInfo,
                  const char* inName) override;
  void DiscardPage(long inPageID) override;

  // The outermost page, which the caller then owns; null when none was made.
  std::unique_ptr<SkinTreePage> TakeOutermost();
  // How many builder calls there were.
  int Calls() const { return mCalls; }
  // The first breach of the builder's rules, empty when there was none. A
  // nested page that is neither added nor discarded is one.
  std::string Fault() const;

 private:
  // Page inPageID when it exists and is (inFinished) or is not yet finished;
  // otherwise notes a fault.
  SkinTreePage* LivePage(long inPageID, bool inFinished, const char* inCall);
  bool Fails();

  int mFailAt;
  int mCalls = 0;
  std::vector<SkinTreePage*> mPages;                  // by identifier; null once discarded
  std::vector<std::unique_ptr<SkinTreePage>> mLoose;  // by identifier: not yet added
  std::string mFault;
};

// One line per page and control, indented by depth: the type, then every
// field that differs from the built-in defaults, as in
//   Page0 "Main" DefMode=0: Width=200 Flags=2
//     Button: x=4/40 Function=Close Text="Go"
std::string DumpSkinTree(const SkinTreePage* inPage);
