#include "skin/KSDialogKeys.h"

#include <algorithm>
#include <cwchar>

#include "platform/windowproc.h"
#include "skin/cToolPage.h"

namespace {

struct TabStop {
  cControl* mControl;
  RECT mPlace;  // on the screen
};

bool IsToolbarWindow(HWND inWind) {
  wchar_t name[64] = L"";
  return inWind != nullptr && GetClassNameW(inWind, name, 64) > 0 &&
         wcscmp(name, kToolbarWindowClass) == 0;
}

// The object of inWind or of the nearest window around it that has one.
cBaseWindow* ObjectOf(HWND inWind) {
  for (HWND wind = inWind; wind != nullptr; wind = GetParent(wind)) {
    if (cBaseWindow* object = cBaseWindow::FromWindow(wind)) {
      return object;
    }
  }
  return nullptr;
}

cToolPage* AsPage(cBaseWindow* inWind) {
  return dynamic_cast<cToolPage*>(inWind);
}

// The control a page holds that inObject is, or is a part of (the list of a
// combo box, which is not the combo box's child window).
cControl* PageControlOf(cBaseWindow* inObject) {
  for (cBaseWindow* object = inObject; object != nullptr; object = object->Parent()) {
    if (AsPage(object->Parent()) != nullptr && AsPage(object) == nullptr) {
      return dynamic_cast<cControl*>(object);
    }
  }
  return nullptr;
}

// The outermost page around inObject, or with the focus on the window
// holding the pages (the application's), the first page in it.
cToolPage* TreeOf(cBaseWindow* inObject, HWND inRoot) {
  cToolPage* tree = nullptr;
  for (cBaseWindow* object = inObject; object != nullptr; object = object->Parent()) {
    if (cToolPage* page = AsPage(object)) {
      tree = page;
    }
  }
  for (HWND child = GetWindow(inRoot, GW_CHILD); tree == nullptr && child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    tree = AsPage(cBaseWindow::FromWindow(child));
  }
  return tree;
}

void CollectStops(cToolPage* inPage, std::vector<TabStop>* ioStops) {
  for (unsigned long i = 0; i < inPage->NumControls(); i++) {
    cControl* control = inPage->Control(i);
    if (control == nullptr || !control->IsWindow() || !IsWindowVisible(control->Wind())) {
      continue;
    }
    if (cToolPage* page = AsPage(control)) {
      CollectStops(page, ioStops);
    } else if (control->TakesFocus() && control->IsEnabled()) {
      TabStop stop = {control, {}};
      GetWindowRect(control->Wind(), &stop.mPlace);
      ioStops->push_back(stop);
    }
  }
}

// Rows from the top: a control whose top lies above the middle of a row's
// first control is in that row. Each row from the left; ties keep the
// skin's order.
void SortReadingOrder(std::vector<TabStop>* ioStops) {
  auto byTop = [](const TabStop& a, const TabStop& b) { return a.mPlace.top < b.mPlace.top; };
  auto byLeft = [](const TabStop& a, const TabStop& b) { return a.mPlace.left < b.mPlace.left; };
  std::stable_sort(ioStops->begin(), ioStops->end(), byTop);
  auto row = ioStops->begin();
  while (row != ioStops->end()) {
    long middle = (row->mPlace.top + row->mPlace.bottom) / 2;
    auto end = std::find_if(row + 1, ioStops->end(),
                            [middle](const TabStop& stop) { return stop.mPlace.top >= middle; });
    std::stable_sort(row, end, byLeft);
    row = end;
  }
}

void MoveFocus(cToolPage* inTree, cControl* inFrom, bool inBackwards) {
  std::vector<cControl*> order;
  KSFocusOrder(inTree, &order);
  if (order.empty()) {
    return;
  }
  auto at = std::find(order.begin(), order.end(), inFrom);
  long count = long(order.size());
  long next = 0;
  if (at == order.end()) {
    next = inBackwards ? count - 1 : 0;
  } else {
    next = ((at - order.begin()) + (inBackwards ? count - 1 : 1)) % count;
  }
  SetFocus(order[size_t(next)]->Wind());
}

}  // namespace

void KSFocusOrder(cToolPage* inPage, std::vector<cControl*>* outControls) {
  std::vector<TabStop> stops;
  if (inPage != nullptr && inPage->IsWindow() && IsWindowVisible(inPage->Wind())) {
    CollectStops(inPage, &stops);
  }
  SortReadingOrder(&stops);
  outControls->clear();
  for (const TabStop& stop : stops) {
    outControls->push_back(stop.mControl);
  }
}

bool KSDialogKeys(MSG* inMsg) {
  if (inMsg == nullptr || inMsg->message != WM_KEYDOWN || inMsg->hwnd == nullptr) {
    return false;
  }
  HWND root = GetAncestor(inMsg->hwnd, GA_ROOT);
  if (!IsToolbarWindow(root)) {
    return false;  // a dialog or another program's window
  }
  cBaseWindow* object = ObjectOf(inMsg->hwnd);
  cControl* control = PageControlOf(object);
  unsigned long key = static_cast<unsigned long>(inMsg->wParam);
  bool repeated = (inMsg->lParam & (LPARAM(1) << 30)) != 0;
  if (control != nullptr && control->IsEnabled() && control->OnDialogKey(key, repeated)) {
    return true;
  }
  if (key != VK_TAB || GetKeyState(VK_CONTROL) < 0) {
    return false;
  }
  cToolPage* tree = TreeOf(object, root);
  if (tree == nullptr) {
    return false;
  }
  MoveFocus(tree, control, GetKeyState(VK_SHIFT) < 0);
  return true;
}
