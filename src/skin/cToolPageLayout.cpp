// cToolPage: laying a page out for a display mode. Controls are placed
// (stacked with "StackControls"), the page takes its size, controls against
// the right or bottom edge are placed again for that size, everything is
// shaped and shown or hidden, and the parent hears of it.
#include <algorithm>

#include "skin/cToolPage.h"

namespace {

bool HasFlagOf(cControl* inControl, uint32 inFlag) {
  return (inControl->Info()->Flags & inFlag) != 0;
}

long WidthOf(const KSRect& inRect) {
  return inRect.right - inRect.left;
}

long HeightOf(const KSRect& inRect) {
  return inRect.bottom - inRect.top;
}

void PlaceAt(cControl* inControl, const KSRect& inRect) {
  inControl->SetPosition(inRect.left, inRect.top, WidthOf(inRect), HeightOf(inRect), true);
}

}  // namespace

void cToolPage::SetToolPageMode(unsigned long inMode) {
  mToolPageMode = ModeIndex(inMode);
  SetFrame(mToolPageMode);
  PlaceControls(mToolPageMode);
  KSRect own;
  GetModePosition(mToolPageMode, &own);
  PlaceAt(this, own);
  PlaceAlignedControls(mToolPageMode);
  ShapeControls();
  ShowControls(mToolPageMode);
  SetModeShape(mToolPageMode);
  Show(IsModeVisible(mToolPageMode), false);
  if (cWindow* parent = ParentWindow()) {
    parent->OnChildResized();
  }
}

void cToolPage::OnChildResized() {
  if (!mInitializing) {
    SetToolPageMode(mToolPageMode);
  }
}

// Hidden controls keep their windows where they are; stacked ones take the
// next free row, which they keep as their place in the mode.
void cToolPage::PlaceControls(unsigned long inMode) {
  long stackTop = 0;
  for (unsigned long i = 0; i < mNumControls; i++) {
    cControl* control = mControls[i].get();
    if (!control->IsModeVisible(inMode)) {
      continue;
    }
    KSRect at;
    control->GetModePosition(inMode, &at);
    if (HasFlag(kFlagStackControls)) {
      long height = HeightOf(at);
      at.top = int32(stackTop);
      at.bottom = int32(stackTop + height);
      stackTop += height;
      control->Info()->Modes[inMode].y = at.top;
    }
    PlaceAt(control, at);
  }
}

// The page's size may have changed under them.
void cToolPage::PlaceAlignedControls(unsigned long inMode) {
  for (unsigned long i = 0; i < mNumControls; i++) {
    cControl* control = mControls[i].get();
    if (HasFlagOf(control, kFlagAlignRight | kFlagAlignBottom)) {
      KSRect at;
      control->GetModePosition(inMode, &at);
      PlaceAt(control, at);
    }
  }
}

void cToolPage::ShowControls(unsigned long inMode) {
  for (unsigned long i = 0; i < mNumControls; i++) {
    mControls[i]->Show(mControls[i]->IsModeVisible(inMode), false);
  }
}

// A page's size follows its own mode, whoever asks: inMode (the mode of the
// page around it) only matters to its visibility.
void cToolPage::GetModePosition(unsigned long, KSRect* outRect) {
  cControl::GetModePosition(mToolPageMode, outRect);
  if (!HasFlag(kFlagAutoSize)) {
    return;
  }
  long width = WidthOf(*outRect);
  long height = HeightOf(*outRect);
  for (unsigned long i = 0; i < mNumControls; i++) {
    cControl* control = mControls[i].get();
    if (!control->IsModeVisible(mToolPageMode)) {
      continue;
    }
    KSRect at;
    control->GetModePosition(mToolPageMode, &at);
    // Controls against an edge move with it: only their size counts.
    width = std::max(width, HasFlagOf(control, kFlagAlignRight) ? WidthOf(at) : long(at.right));
    height =
        std::max(height, HasFlagOf(control, kFlagAlignBottom) ? HeightOf(at) : long(at.bottom));
  }
  outRect->right = int32(outRect->left + width);
  outRect->bottom = int32(outRect->top + height);
}

bool cToolPage::IsModeVisible(unsigned long inMode) {
  return mToolPageInfo.Visible[mToolPageMode] && Mode(inMode).Visible;
}

void cToolPage::ShapeControls() {
  for (unsigned long i = 0; i < mNumControls; i++) {
    mControls[i]->ShapeControls();
    mControls[i]->SetModeShape(mToolPageMode);
  }
}

// Without "WindowShape" the page has no shape of its own, so that shaped
// controls leave only their shapes of it.
void cToolPage::SetModeShape(unsigned long inMode) {
  ResetShape();
  if (!IsModeVisible(inMode)) {
    return;
  }
  if (HasFlag(kFlagWindowShape)) {
    if (HasFlag(kFlagTile)) {
      SetDefaultShape();
    } else if (cImage* frame = CurrentFrame()) {
      SetShape(frame);
    }
  }
  KSPoint client = ClientOrigin();
  for (unsigned long i = 0; i < mNumControls; i++) {
    cControl* control = mControls[i].get();
    if (control->IsModeVisible(mToolPageMode) && HasFlagOf(control, kFlagWindowShape)) {
      CombineShape(control, client.h + control->X(), client.v + control->Y());
    }
  }
}

// Shapes are in window coordinates, controls are placed in client ones: the
// two differ by the border.
KSPoint cToolPage::ClientOrigin() {
  KSPoint origin = {0, 0};
  RECT window;
  if (!IsWindow() || !GetWindowRect(mWind, &window)) {
    return origin;
  }
  ClientToScreen(&origin);
  return KSPoint{int32(origin.h - window.left), int32(origin.v - window.top)};
}
