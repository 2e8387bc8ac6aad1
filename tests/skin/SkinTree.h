// A SkinPageBuilder that builds a plain tree of records and owns it the way
// the application's tool pages do: a nested page belongs to its parent once
// added, a discarded page is deleted, and the caller takes the outermost page.
// A parse that breaks those rules leaks or frees twice, which the sanitizers
// report. The tests compare compact prints of such trees; the fuzz target
// only builds and frees them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/SkinPageBuilder.h"

struct SkinTreePage {
  long mID;
  ToolPageInfo mPageInfo;
  ControlInfo mInfo;
  std::string mName;
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

 private:
  bool Fails();

  int mFailAt;
  int mCalls = 0;
  std::vector<SkinTreePage*> mPages;  // by identifier, whoever owns them
};

// One line per page and control, indented by depth: the type, then every
// field that differs from the built-in defaults, as in
//   Page0 "Main" DefMode=0: Width=200 Flags=2
//     Button: x=4/40 Function=Close Text="Go"
std::string DumpSkinTree(const SkinTreePage* inPage);
