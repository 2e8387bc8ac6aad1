#include "skin/cCustomListBox.h"

#include "platform/BaseUtils.h"

namespace {

// What is drawn of an item.
const unsigned long kDrawnItemSize = 1024;

}  // namespace

cCustomListBox::cCustomListBox(const ControlInfo* inInfo, long inID, cWindow* inParent)
    : cStandardListBox(inInfo, inID, inParent) {}

// The platform measures fixed rows once, while the window is made and
// before the list has its own font; the rows are measured again with it.
long cCustomListBox::OnCreate() {
  long err = cStandardListBox::OnCreate();
  if (err == 0) {
    unsigned long height = 0;
    OnMeasureItem(&height);
    if (height > 0) {
      SendMessageW(mWind, LB_SETITEMHEIGHT, 0, LPARAM(height));
    }
  }
  return err;
}

void cCustomListBox::OnPaint(HDC inDC, long inItem, KSRect* inItemRect, bool inSelected) {
  if (inItemRect == nullptr) {
    return;
  }
  const TextInfo& look = mInfo.Text;
  const KSRGBA& back = inSelected ? look.TextColor : look.BackgroundColor;
  const KSRGBA& ink = inSelected ? look.BackgroundColor : look.TextColor;
  BaseFillRectangle(inDC, *inItemRect, back);
  char text[kDrawnItemSize];
  if (inItem >= 0 && GetItem(inItem, text, sizeof(text)) == 0) {
    BaseDrawText(inDC, text, *inItemRect, Font(), ink, kTextVCenter | kTextEndEllipsis);
  }
}

void cCustomListBox::OnMeasureItem(unsigned long* ioItemHeight) {
  long width = 0;
  long height = 0;
  if (BaseGetTextExtent("ABCxyz", Font(), &width, &height) == 0 && height > 0) {
    *ioItemHeight = static_cast<unsigned long>(height);
  }
}

void cCustomListBox::OnSelectionChanged() {
  NotifyParent(kUIChanged);
}
