#include "skin/cStandardToolTip.h"

#include <commctrl.h>

#include "foundation/KSError.h"
#include "platform/KSWideText.h"

namespace {

const int kInitialDelayMS = 500;
const int kShownMS = 30000;
const int kReshowDelayMS = 0;

}  // namespace

long cStandardToolTip::OnCreate() {
  long err = cControl::OnCreate();
  if (err == 0) {
    SendMessageW(mWind, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kInitialDelayMS, 0));
    SendMessageW(mWind, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kShownMS, 0));
    SendMessageW(mWind, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(kReshowDelayMS, 0));
  }
  return err;
}

// The tool is known by its window, whose messages the tool tip watches
// itself; the tool tip keeps its own copy of the text.
long cStandardToolTip::AddTool(cWindow* inTool, const char* inText) {
  if (!IsWindow() || inTool == nullptr || !inTool->IsWindow()) {
    return kKSErr_BadState;
  }
  KSWideText text(inText);
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // what every version of the platform takes
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(inTool->Wind());
  tool.uId = UINT_PTR(inTool->Wind());
  tool.lpszText = const_cast<wchar_t*>(text.Get());
  return SendMessageW(mWind, TTM_ADDTOOLW, 0, LPARAM(&tool)) ? 0 : kKSErr_Unmapped;
}
