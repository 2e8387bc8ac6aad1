#include "skin/cControl.h"

#include <cstdio>
#include <cstring>

#include "foundation/KSError.h"

namespace {

template <size_t N>
void Terminate(char (&ioText)[N]) {
  ioText[N - 1] = 0;
}

// The images of a scroll bar, which list boxes and combo boxes have too.
ScrollBarInfo* ScrollBarOf(ControlInfo* ioInfo) {
  switch (ioInfo->Type) {
    case kControlTypeComboBox:
      return &ioInfo->u.ComboBox.ListBox.ScrollBar;
    case kControlTypeListBox:
      return &ioInfo->u.ListBox.ScrollBar;
    case kControlTypeScrollBar:
      return &ioInfo->u.ScrollBar;
    default:
      return nullptr;
  }
}

// A description may come from anywhere: every text the control reads is
// made to end inside its field.
void TerminateTexts(ControlInfo* ioInfo) {
  Terminate(ioInfo->Graphic);
  Terminate(ioInfo->Text.FontName);
  Terminate(ioInfo->ToolTip);
  if (ScrollBarInfo* bar = ScrollBarOf(ioInfo)) {
    Terminate(bar->ScrollUp);
    Terminate(bar->ScrollDown);
    Terminate(bar->ScrollThumb);
  }
  switch (ioInfo->Type) {
    case kControlTypeButton:
      Terminate(ioInfo->u.Button.Text);
      break;
    case kControlTypeCheckBox:
      Terminate(ioInfo->u.CheckBox.Text);
      break;
    case kControlTypeLabel:
    case kControlTypeLink:
      Terminate(ioInfo->u.Label.Text);
      break;
    case kControlTypeEdit:
      Terminate(ioInfo->u.Edit.Text);
      break;
    case kControlTypeListView:
      for (auto& header : ioInfo->u.ListView.ColumnHeaders) {
        Terminate(header);
      }
      break;
    default:
      break;
  }
}

}  // namespace

cControl::cControl(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cWindow(inID, inParent),
      mControlName(),
      mInfo(*inInfo),
      mErrorMsg(),
      mFocusToParent(false),
      mShowsParentFocus(false),
      mNativeProc(nullptr),
      mNativeMouse(false) {
  TerminateTexts(&mInfo);
}

const char* cControl::ErrorMsg() {
  return mErrorMsg;
}

void cControl::ErrorMsg(const char* inText) {
  snprintf(mErrorMsg, sizeof(mErrorMsg), "%s", inText != nullptr ? inText : "");
}

long cControl::SetControlName(const char* inName) {
  if (inName == nullptr || strlen(inName) >= sizeof(mControlName)) {
    return kKSErr_Param;
  }
  strcpy(mControlName, inName);
  return 0;
}

long cControl::Create() {
  long err = CreateControl(eControlType(mInfo.Type), mInfo.Styles, mID, 0, 0, 0, 0, 0, mParent);
  if (err == 0) {
    ReceiveNativeMessages();
  }
  return err;
}

long cControl::CreateOwnChild(unsigned long inFlags) {
  return CreateChild(mID, 0, 0, 0, 0, inFlags, mParent);
}

long cControl::OnCreate() {
  if (mInfo.Graphic[0] != 0) {
    long err = LoadGraphics(mInfo.Graphic, mInfo.GraphicX, mInfo.GraphicY, mInfo.TransparentColor,
                            HasFlag(kFlagAutoSize));
    // A picture that is not there has been noted for the one message of the
    // skin's load; the control goes on without it.
    if (err != 0 && err != kKSErr_FileNotFound) {
      snprintf(mErrorMsg, sizeof(mErrorMsg), "LoadGraphics failed on %s.", mInfo.Graphic);
      return err;
    }
  }
  if (mInfo.Text.FontName[0] != 0) {
    long err = InitFont(mInfo.Text.FontName, mInfo.Text.FontSize, mInfo.Text.Format);
    if (err != 0) {
      snprintf(mErrorMsg, sizeof(mErrorMsg), "InitFont failed on %s.", mInfo.Text.FontName);
      return err;
    }
  }
  return 0;
}

void cControl::Initialize() {}

void cControl::OnPaint(HDC inDC) {
  cImage* frame = CurrentFrame();
  if (frame != nullptr && HasFlag(kFlagTile)) {
    PaintTiled(inDC, frame);
  } else if (frame != nullptr) {
    DrawFrame(inDC, frame, mSpriteX, mSpriteY);
  }
  PaintFocusMark(inDC);
}

void cControl::DrawFrame(HDC inDC, cImage* inFrame, long inX, long inY) {
  if (LooksDisabled() && !HasDisabledFrame()) {
    inFrame->BitBltDimmed(inDC, inX, inY, mInfo.Text.BackgroundColor);
  } else {
    inFrame->BitBlt(inDC, inX, inY);
  }
}

bool cControl::LooksDisabled() {
  if (!IsEnabled()) {
    return true;
  }
  auto* composite = mFocusToParent ? dynamic_cast<cControl*>(ParentWindow()) : nullptr;
  return composite != nullptr && composite->LooksDisabled();
}

// A native button repaints itself; the program's own windows, and the parts
// of a composite, which are not told, do not.
void cControl::OnEnable(bool) {
  RedrawWindow(mWind, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void cControl::PaintTiled(HDC inDC, cImage* inFrame) {
  long tileWidth = inFrame->Width();
  long tileHeight = inFrame->Height();
  if (tileWidth <= 0 || tileHeight <= 0) {
    return;
  }
  long width = ClientWidth();
  long height = ClientHeight();
  for (long y = 0; y < height; y += tileHeight) {
    for (long x = 0; x < width; x += tileWidth) {
      DrawFrame(inDC, inFrame, x, y);
    }
  }
}

void cControl::OnClick() {
  ReportFunction();
}

void cControl::ReportFunction() {
  if (Function() != kUINull) {
    NotifyParent(Function());
  }
}

const ModeInfo& cControl::Mode(unsigned long inMode) const {
  return mInfo.Modes[inMode == kModeRetracted ? kModeRetracted : kModeExtended];
}

void cControl::PlaceInParent(unsigned long inMode, long inWidth, long inHeight, KSRect* outRect) {
  cWindow* parent = ParentWindow();
  long left = Mode(inMode).x;
  long top = Mode(inMode).y;
  if (HasFlag(kFlagAlignRight)) {
    left = (parent != nullptr ? parent->Width() : 0) - inWidth;
  }
  if (HasFlag(kFlagAlignBottom)) {
    top = (parent != nullptr ? parent->Height() : 0) - inHeight;
  }
  *outRect = KSRect{int32(left), int32(top), int32(left + inWidth), int32(top + inHeight)};
}

void cControl::GetModePosition(unsigned long inMode, KSRect* outRect) {
  cImage* frame = CurrentFrame();
  if (HasFlag(kFlagAutoSize) && frame != nullptr) {
    PlaceInParent(inMode, frame->Width(), frame->Height(), outRect);
  } else {
    PlaceInParent(inMode, Mode(inMode).Width, Mode(inMode).Height, outRect);
  }
}

bool cControl::IsModeVisible(unsigned long inMode) {
  return Mode(inMode).Visible;
}

void cControl::SetModeShape(unsigned long inMode) {
  ResetShape();
  cImage* frame = CurrentFrame();
  if (frame != nullptr && IsModeVisible(inMode) && HasFlag(kFlagWindowShape) &&
      !HasFlag(kFlagTile)) {
    SetShape(frame);
  }
}

void cControl::ShapeControls() {}

cControl* cControl::FindControl(eUIFunction) {
  return nullptr;
}
