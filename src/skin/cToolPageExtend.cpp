// cToolPage: switching between the retracted and the extended mode, and the
// automatic retraction of "AutoRetract" pages that keeps the toolbar on the
// screen.
#include "platform/BaseUtils.h"
#include "skin/SkinHost.h"
#include "skin/cToolPage.h"

namespace {

bool CanRetract(cToolPage* inPage) {
  return inPage != nullptr && inPage->ToolPageMode() == kModeExtended &&
         (inPage->Info()->Flags & kFlagAutoRetract) != 0;
}

}  // namespace

void cToolPage::OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) {
  if (inFunction != kUIExtendRetract) {
    if (cWindow* parent = ParentWindow()) {
      parent->OnUIFunction(inSource, inFunction, inValue);
    }
    return;
  }
  SetToolPageMode(mToolPageMode == kModeRetracted ? kModeExtended : kModeRetracted);
  AutoRetract();
  AutoRetractAll();
  RememberPanelMode();
}

// While the toolbar reaches past the screen's right or bottom edge, the
// parent folds in one "AutoRetract" page beside this one after the other.
void cToolPage::AutoRetract() {
  cWindow* parent = ParentWindow();
  if (!HasFlag(kFlagAutoRetract) || parent == nullptr) {
    return;
  }
  cWindow* outermost = parent;
  while (outermost->ParentWindow() != nullptr) {
    outermost = outermost->ParentWindow();
  }
  for (;;) {
    KSRect toolbar;
    long screenWidth = 0;
    long screenHeight = 0;
    BaseGetScreenSize(&screenWidth, &screenHeight);
    if (outermost->GetPosition(&toolbar) != 0 ||
        (toolbar.right <= screenWidth && toolbar.bottom <= screenHeight)) {
      return;
    }
    if (!parent->OnTryAdjustSize(this)) {
      return;
    }
  }
}

void cToolPage::AutoRetractAll() {
  for (unsigned long i = 0; i < mNumControls; i++) {
    cToolPage* page = AsPage(mControls[i].get());
    if (CanRetract(page)) {
      page->SetToolPageMode(kModeRetracted);
    }
  }
}

bool cToolPage::OnTryAdjustSize(cWindow* inChild) {
  for (unsigned long i = 0; i < mNumControls; i++) {
    cToolPage* page = AsPage(mControls[i].get());
    if (page != inChild && CanRetract(page)) {
      page->SetToolPageMode(kModeRetracted);
      return true;
    }
  }
  return false;
}

// The application opens the advanced panel the way it was left.
void cToolPage::RememberPanelMode() {
  if (Function() == kUIAdvPrefsPanel && SkinHost::sSkinHost != nullptr) {
    SkinHost::sSkinHost->AdvPanelModeChanged(mToolPageMode == kModeExtended);
  }
}
