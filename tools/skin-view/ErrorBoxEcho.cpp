#include "skin-view/ErrorBoxEcho.h"

#include <cstdio>
#include <string>

#include "foundation/UtilStr.h"
#include "platform/KSWideText.h"

namespace {

// The item of a message box that holds its text.
const int kBoxTextItem = 0xFFFF;

bool IsDialogBox(HWND inWind) {
  wchar_t className[16] = L"";
  GetClassNameW(inWind, className, 16);
  return std::wstring(className) == L"#32770";
}

std::string Utf8Of(const wchar_t* inText) {
  UtilStr text;
  KSWideText::ToUTF8(inText, -1, &text);
  return std::string(text.getCStr(), size_t(text.length()));
}

}  // namespace

ErrorBoxEcho::ErrorBoxEcho()
    : mHook(SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId())) {}

ErrorBoxEcho::~ErrorBoxEcho() {
  if (mHook != nullptr) {
    UnhookWindowsHookEx(mHook);
  }
}

// A box is about to be activated: its items exist and its modal loop will
// take the posted answer.
LRESULT CALLBACK ErrorBoxEcho::OnCbt(int inCode, WPARAM inWParam, LPARAM inLParam) {
  static HWND sAnswered = nullptr;  // a box may be activated more than once
  HWND box = reinterpret_cast<HWND>(inWParam);
  if (inCode == HCBT_ACTIVATE && box != sAnswered && IsDialogBox(box)) {
    sAnswered = box;
    wchar_t title[256] = L"";
    wchar_t text[8192] = L"";
    GetWindowTextW(box, title, 256);
    GetDlgItemTextW(box, kBoxTextItem, text, 8192);
    printf("%s: %s\n", Utf8Of(title).c_str(), Utf8Of(text).c_str());
    fflush(stdout);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  }
  return CallNextHookEx(nullptr, inCode, inWParam, inLParam);
}
