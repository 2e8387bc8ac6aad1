#include "skin/cStandardFloatingListBox.h"

#include <algorithm>
#include <initializer_list>

#include "platform/KSMouseWheel.h"

namespace {

ControlInfo ListPart(const ControlInfo& inOwners) {
  ControlInfo info = inOwners;
  info.Type = kControlTypeListBox;
  info.Styles = (inOwners.Styles & kStyleSort) | kStyleCustom;
  info.Graphic[0] = 0;
  return info;
}

ControlInfo ScrollBarPart(const ControlInfo& inOwners) {
  ControlInfo info = inOwners;
  info.Type = kControlTypeScrollBar;
  info.Styles = kStyleCustom | kStyleVertical;
  info.u.ScrollBar = inOwners.u.ListBox.ScrollBar;
  return info;
}

}  // namespace

cStandardFloatingListBox::cStandardFloatingListBox(const ControlInfo* inInfo, long inID,
                                                   cWindow* inParent)
    : cControl(inInfo, inID, inParent),
      mDoubleClickFlag(false),
      mLayingOut(false),
      mSyncing(false),
      mSelectionAtShow(-1),
      mOpeningPress(false) {
  mInfo.Graphic[0] = 0;  // the popup is covered by its parts
  ControlInfo list = ListPart(mInfo);
  ControlInfo bar = ScrollBarPart(mInfo);
  mListBox = std::make_unique<cCustomListBox>(&list, 0, this);
  mScrollBar = std::make_unique<cCustomScrollBar>(&bar, 1, this);
}

long cStandardFloatingListBox::Create() {
  long err = CreatePopup(0, 0, 0, 0, kWindowTopmost, mParent);
  for (cControl* part : std::initializer_list<cControl*>{mListBox.get(), mScrollBar.get()}) {
    if (err == 0) {
      err = part->Create();
      part->Show(true, false);
    }
  }
  return err;
}

// --- Items ---

void cStandardFloatingListBox::TopIndex(long inIndex) {
  mListBox->TopIndex(inIndex);
  SyncScrollBar();
}

void cStandardFloatingListBox::Clear() {
  mListBox->Clear();
  UpdateScrollBar();
}

long cStandardFloatingListBox::AddItem(const char* inText) {
  long index = mListBox->AddItem(inText);
  UpdateScrollBar();
  return index;
}

long cStandardFloatingListBox::DeleteItem(long inIndex) {
  long err = mListBox->DeleteItem(inIndex);
  UpdateScrollBar();
  return err;
}

// The platform list may scroll to the choice itself: the scroll bar follows
// whatever moved.
long cStandardFloatingListBox::SelectItem(long inIndex) {
  long err = mListBox->SelectItem(inIndex);
  KeepSelectionInView();
  UpdateScrollBar();
  return err;
}

long cStandardFloatingListBox::HeightFor(long inRows) {
  RECT frame = {0, 0, 0, 0};
  if (mListBox->IsWindow()) {
    HWND list = mListBox->Wind();
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(list, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(list, GWL_EXSTYLE)));
  }
  return inRows * ItemHeight() + (frame.bottom - frame.top);
}

void cStandardFloatingListBox::KeepSelectionInView() {
  long selection = CurSelection();
  long top = TopIndex();
  if (selection >= 0 && (selection < top || selection >= top + ItemsVisible())) {
    TopIndex(selection);
  }
}

// --- Scroll bar and layout ---

bool cStandardFloatingListBox::SyncScrollBar() {
  bool wasShown = mScrollBar->IsVisible();
  long range = ScrollRange();
  mSyncing = true;
  mScrollBar->Range(0, std::max(range, 0L));
  mScrollBar->PageSize(ItemsVisible());
  mScrollBar->Index(TopIndex());
  mSyncing = false;
  mScrollBar->Show(range > 0, false);
  return wasShown != (range > 0);
}

void cStandardFloatingListBox::UpdateScrollBar() {
  if (IsVisible() && SyncScrollBar() && !mLayingOut) {
    OnSize(ClientWidth(), ClientHeight());
  }
}

long cStandardFloatingListBox::ScrollBarWidth() {
  KSRect bar;
  mScrollBar->GetModePosition(kModeExtended, &bar);
  return bar.right - bar.left;
}

void cStandardFloatingListBox::LayOut(long inWidth, long inHeight) {
  bool withBar = mScrollBar->IsVisible();
  long barWidth = withBar ? ScrollBarWidth() : 0;
  mListBox->SetPosition(0, 0, std::max(inWidth - barWidth, 0L), inHeight, true);
  long listHeight = mListBox->Height();
  if (listHeight != inHeight) {
    Resize(Width(), Height() + listHeight - inHeight, true);
  }
  if (withBar) {
    mScrollBar->SetPosition(inWidth - barWidth, 0, barWidth, listHeight, true);
  }
}

// The platform list keeps whole rows: the popup takes the list's height.
void cStandardFloatingListBox::OnSize(long inWidth, long inHeight) {
  if (mLayingOut) {
    return;  // the popup's own height correction
  }
  mLayingOut = true;
  LayOut(inWidth, inHeight);
  if (SyncScrollBar()) {
    LayOut(ClientWidth(), ClientHeight());
  }
  mLayingOut = false;
}

void cStandardFloatingListBox::OnScrolled(long inPosition) {
  if (!mSyncing) {
    mListBox->TopIndex(inPosition);
  }
}

bool cStandardFloatingListBox::OnMouseWheel(long inNotches) {
  long top = TopIndex() + KSWheelRows(inNotches, ItemsVisible());
  TopIndex(std::clamp(top, 0L, std::max(ScrollRange(), 0L)));
  return true;
}

// --- Showing and the mouse ---

void cStandardFloatingListBox::OnShow(bool inShown) {
  mOpeningPress = inShown && GetKeyState(VK_LBUTTON) < 0;
  if (!inShown) {
    ReleaseMouse();
    return;
  }
  CaptureMouse();
  mSelectionAtShow = CurSelection();
  KeepSelectionInView();
  if (SyncScrollBar()) {
    OnSize(ClientWidth(), ClientHeight());
  }
}

void cStandardFloatingListBox::Dismiss() {
  mListBox->SelectItem(mSelectionAtShow);
  Show(false, false);
}

void cStandardFloatingListBox::OnUpdate() {
  if (IsVisible() && GetCapture() == nullptr) {
    CaptureMouse();
  }
  mListBox->OnUpdate();
  mScrollBar->OnUpdate();
}

long cStandardFloatingListBox::RowAt(const KSPoint& inPoint) {
  KSPoint point = inPoint;
  ClientToScreen(&point);
  mListBox->ScreenToClient(&point);
  return mListBox->ItemFromPoint(point);
}

bool cStandardFloatingListBox::OverScrollBar(const KSPoint& inPoint) {
  KSRect bar;
  return mScrollBar->IsVisible() && mScrollBar->GetPosition(&bar) == 0 && inPoint.h >= bar.left &&
         inPoint.h < bar.right && inPoint.v >= bar.top && inPoint.v < bar.bottom;
}

void cStandardFloatingListBox::OnMouseMove(const KSPoint& inPoint) {
  long row = RowAt(inPoint);
  if (row >= 0 && row != CurSelection()) {
    mListBox->SelectItem(row);
  }
}

void cStandardFloatingListBox::OnLMouseDown(const KSPoint& inPoint) {
  mOpeningPress = false;
  if (OverScrollBar(inPoint)) {
    ReleaseMouse();
    KSPoint point = inPoint;
    ClientToScreen(&point);
    mScrollBar->ScreenToClient(&point);
    mScrollBar->HandleMouseClick(point);
    return;
  }
  long row = RowAt(inPoint);
  if (row >= 0) {
    mListBox->SelectItem(row);
  } else {
    Dismiss();
  }
}

void cStandardFloatingListBox::OnLMouseUp(const KSPoint& inPoint) {
  if (mDoubleClickFlag) {
    mDoubleClickFlag = false;
    return;
  }
  long row = RowAt(inPoint);
  if (row < 0) {
    if (!mOpeningPress) {
      Dismiss();
    }
    mOpeningPress = false;
    return;
  }
  mListBox->SelectItem(row);
  Accept();
}

void cStandardFloatingListBox::Accept() {
  Show(false, false);
  mListBox->OnSelectionChanged();
}

void cStandardFloatingListBox::OnLMouseDoubleClick(const KSPoint&) {
  mDoubleClickFlag = true;
}

void cStandardFloatingListBox::OnUIFunction(cWindow*, eUIFunction inFunction, void* inValue) {
  if (cWindow* parent = ParentWindow()) {
    parent->OnUIFunction(this, inFunction, inValue);
  }
}
