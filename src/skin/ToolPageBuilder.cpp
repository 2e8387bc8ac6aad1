#include "skin/ToolPageBuilder.h"

#include <memory>
#include <new>
#include <utility>

#include "foundation/KSError.h"

cToolPage* ToolPageBuilder::Page(long inPageID) const {
  return inPageID >= 0 && size_t(inPageID) < mPages.size() ? mPages[size_t(inPageID)] : nullptr;
}

long ToolPageBuilder::MakePage(long inPageID, long inParentID, const ToolPageInfo& inPageInfo,
                               const ControlInfo& inInfo) {
  cWindow* parent = inParentID == kNoSkinPage ? mParent : Page(inParentID);
  if (inPageID < 0 || parent == nullptr) {
    return kKSErr_Param;
  }
  std::unique_ptr<cToolPage> page(new (std::nothrow)
                                      cToolPage(&inPageInfo, &inInfo, inPageID, parent));
  if (page == nullptr) {
    return kKSErr_AllocFailed;
  }
  if (mPages.size() <= size_t(inPageID)) {
    mPages.resize(size_t(inPageID) + 1);
    mOwned.resize(size_t(inPageID) + 1);
  }
  mPages[size_t(inPageID)] = page.get();
  mOwned[size_t(inPageID)] = std::move(page);
  return 0;
}

long ToolPageBuilder::CreateControl(long inPageID, const ControlInfo& inInfo) {
  cToolPage* page = Page(inPageID);
  return page != nullptr ? page->CreateControl(&inInfo) : kKSErr_Param;
}

long ToolPageBuilder::AddControl(long inPageID, long inChildID) {
  cToolPage* page = Page(inPageID);
  if (page == nullptr || Page(inChildID) == nullptr || !mOwned[size_t(inChildID)]) {
    return kKSErr_Param;
  }
  return page->AddControl(&mOwned[size_t(inChildID)]);
}

void ToolPageBuilder::FinishPage(long inPageID, const ToolPageInfo& inPageInfo,
                                 const ControlInfo& inInfo, const char* inName) {
  if (cToolPage* page = Page(inPageID)) {
    *page->PageInfo() = inPageInfo;
    *page->Info() = inInfo;
    page->SetControlName(inName);
  }
}

void ToolPageBuilder::DiscardPage(long inPageID) {
  if (Page(inPageID) != nullptr) {
    mOwned[size_t(inPageID)].reset();
    mPages[size_t(inPageID)] = nullptr;
  }
}

std::unique_ptr<cToolPage> ToolPageBuilder::TakeOutermost() {
  if (mOwned.empty() || !mOwned[0]) {
    return nullptr;
  }
  mPages.clear();
  return std::unique_ptr<cToolPage>(static_cast<cToolPage*>(mOwned[0].release()));
}
