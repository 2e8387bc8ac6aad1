#include "skin/cCustomComboBox.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>

#include "platform/BaseUtils.h"

namespace {

// The shortest list opened near the bottom of the screen.
const long kMinListHeight = 60;
// What the label shows of the chosen item.
const unsigned long kShownItemSize = 1024;

ControlInfo LabelPart(const ControlInfo& inCombo) {
  ControlInfo info = inCombo;
  info.Type = kControlTypeLabel;
  info.Graphic[0] = 0;
  info.Function = kUIClick;
  info.Text.Format = kTextVCenter | kTextEndEllipsis;
  info.u.Label.Text[0] = 0;
  return info;
}

ControlInfo ButtonPart(const ControlInfo& inCombo) {
  ControlInfo info = inCombo;
  info.Type = kControlTypeButton;
  info.Function = kUIClick;
  info.u.Button.Text[0] = 0;
  return info;
}

ControlInfo DropListPart(const ControlInfo& inCombo) {
  ControlInfo info = inCombo;
  info.Type = kControlTypeListBox;
  info.Function = kUIClick;
  info.Graphic[0] = 0;
  for (ModeInfo& mode : info.Modes) {
    mode.Height = inCombo.u.ComboBox.ListBoxHeight;  // as wide as the combo box already
  }
  return info;
}

}  // namespace

cCustomComboBox::cCustomComboBox(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardComboBox(inInfo, inID, inParent) {
  assert(mInfo.Type == kControlTypeComboBox);
  ControlInfo label = LabelPart(mInfo);
  ControlInfo button = ButtonPart(mInfo);
  ControlInfo list = DropListPart(mInfo);
  mLabel = std::make_unique<cCustomLabel>(&label, 0, this);
  mButton = std::make_unique<cCustomButton>(&button, 1, this);
  mListBox = std::make_unique<cStandardFloatingListBox>(&list, 2, this);
  mLabel->FocusToParent(true);
  mButton->FocusToParent(false);
  mInfo.Graphic[0] = 0;  // the button shows the picture
}

long cCustomComboBox::Create() {
  long err = CreateOwnChild(0);
  for (cControl* part :
       std::initializer_list<cControl*>{mLabel.get(), mButton.get(), mListBox.get()}) {
    if (err == 0) {
      err = part->Create();
    }
  }
  if (err == 0) {
    mLabel->Show(true, false);
    mButton->Show(true, false);
  }
  return err;
}

// --- Items ---

void cCustomComboBox::Clear() {
  mListBox->Clear();
  UpdateSelection();
}

long cCustomComboBox::FindItem(const char* inText, bool inPrefix) {
  return mListBox->FindItem(inText, inPrefix);
}

long cCustomComboBox::DeleteItem(long inIndex) {
  long err = mListBox->DeleteItem(inIndex);
  UpdateSelection();
  return err;
}

long cCustomComboBox::SelectItem(long inIndex) {
  long err = mListBox->SelectItem(inIndex);
  UpdateSelection();
  return err;
}

long cCustomComboBox::GetItem(long inIndex, char* outText, unsigned long inSize) {
  return mListBox->GetItem(inIndex, outText, inSize);
}

void cCustomComboBox::OnKSMPReply(const char* inReply, eRequestType inType, void* inContext) {
  cStandardComboBox::OnKSMPReply(inReply, inType, inContext);
  UpdateSelection();
}

void cCustomComboBox::UpdateSelection() {
  char text[kShownItemSize] = "";
  long selection = CurSelection();
  if (selection >= 0 && GetItem(selection, text, sizeof(text)) != 0) {
    text[0] = 0;
  }
  mLabel->SetText(text);
  mLabel->Invalidate();
}

// --- Layout and drawing ---

void cCustomComboBox::GetModePosition(unsigned long inMode, KSRect* outRect) {
  KSRect button;
  mButton->GetModePosition(inMode, &button);
  long height = Mode(inMode).Height;
  if (HasFlag(kFlagAutoSize) && mButton->CurrentFrame() != nullptr) {
    height = button.bottom - button.top;
  }
  PlaceInParent(inMode, Mode(inMode).Width, height, outRect);
}

// A button without a picture is a square as tall as the combo box.
void cCustomComboBox::OnSize(long inWidth, long inHeight) {
  cImage* face = mButton->CurrentFrame();
  long buttonWidth = face != nullptr ? face->Width() : inHeight;
  long buttonHeight = face != nullptr ? face->Height() : inHeight;
  long labelWidth = std::max(inWidth - buttonWidth, 0L);
  mLabel->SetPosition(0, 0, labelWidth, inHeight, true);
  mButton->SetPosition(labelWidth, 0, buttonWidth, buttonHeight, true);
}

void cCustomComboBox::OnPaint(HDC) {}

void cCustomComboBox::OnUpdate() {
  mLabel->OnUpdate();
  mButton->OnUpdate();
  mListBox->OnUpdate();
}

// --- The list ---

void cCustomComboBox::OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) {
  if (inFunction == kUIClick && (inSource == mLabel.get() || inSource == mButton.get())) {
    ToggleList();
  } else if (inFunction == kUIChanged && inSource == mListBox.get()) {
    UpdateSelection();
    if (Function() != kUINull) {
      NotifyParent(Function(), inValue);
    }
  } else if (cWindow* parent = ParentWindow()) {
    parent->OnUIFunction(inSource, inFunction, inValue);
  }
}

// The list opens below the combo box, as wide as it, tall enough for every
// item up to "ListBoxHeight"; near the bottom of the screen it takes the
// room that is left, but never less than a few rows.
void cCustomComboBox::ToggleList() {
  if (mListBox->IsVisible()) {
    mListBox->Show(false, false);
    return;
  }
  KSPoint corner = {0, int32(Height())};
  ClientToScreen(&corner);
  long height = std::min(mListBox->HeightFor(NumItems()), long(mInfo.u.ComboBox.ListBoxHeight));
  long screenWidth = 0;
  long screenHeight = 0;
  BaseGetScreenSize(&screenWidth, &screenHeight);
  if (corner.v + height > screenHeight) {
    height = std::max(screenHeight - corner.v, kMinListHeight);
  }
  mListBox->SetPosition(corner.h, corner.v, Width(), height, true);
  // Not activated: the focus stays here, and the keys with it.
  ShowWindow(mListBox->Wind(), SW_SHOWNA);
}

bool cCustomComboBox::KeyTarget(unsigned long inVirtualKey, long* outItem) {
  long last = NumItems() - 1;
  long current = CurSelection();
  long page = std::max(mListBox->ItemsVisible(), 1L);
  switch (inVirtualKey) {
    case VK_UP:
    case VK_LEFT:
      *outItem = current - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      *outItem = current + 1;
      break;
    case VK_PRIOR:
      *outItem = current - page;
      break;
    case VK_NEXT:
      *outItem = current + page;
      break;
    case VK_HOME:
      *outItem = 0;
      break;
    case VK_END:
      *outItem = last;
      break;
    default:
      return false;
  }
  *outItem = std::clamp(*outItem, std::min(0L, last), last);
  return true;
}

bool cCustomComboBox::OnDialogKey(unsigned long inVirtualKey, bool inRepeated) {
  bool open = IsListShown();
  long item = -1;
  switch (inVirtualKey) {
    case VK_ESCAPE:
      if (open) {
        mListBox->Dismiss();
      }
      return open;
    case VK_TAB:
      if (open) {
        mListBox->Dismiss();
      }
      return false;  // the focus moves on
    case VK_RETURN:
    case VK_SPACE:
    case VK_F4:
      if (inRepeated) {
        return true;
      }
      if (open) {
        mListBox->Accept();
      } else {
        ToggleList();
      }
      return true;
    default:
      if (!KeyTarget(inVirtualKey, &item)) {
        return false;
      }
      if (item >= 0 && item != CurSelection()) {
        mListBox->SelectItem(item);
        if (!open) {
          mListBox->Accept();
        }
      }
      return true;
  }
}

bool cCustomComboBox::OnMouseWheel(long inNotches) {
  if (IsListShown()) {
    mListBox->OnMouseWheel(inNotches);
  }
  return true;
}

bool cCustomComboBox::AccessibleValue(UtilStr* outValue) {
  char text[kShownItemSize] = "";
  long selection = CurSelection();
  if (selection >= 0 && GetItem(selection, text, sizeof(text)) != 0) {
    text[0] = 0;
  }
  *outValue = text;
  return true;
}
