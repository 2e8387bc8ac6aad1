#include "support/MessageBoxAnswerer.h"

#include "foundation/UtilStr.h"
#include "platform/KSWideText.h"

namespace {

const int kMessageTextID = 0xFFFF;  // the static control holding a box's text

BOOL CALLBACK FindBox(HWND inWind, LPARAM inFound) {
  DWORD process = 0;
  GetWindowThreadProcessId(inWind, &process);
  wchar_t className[16];
  if (process == GetCurrentProcessId() && IsWindowVisible(inWind) &&
      GetClassNameW(inWind, className, 16) > 0 && lstrcmpW(className, L"#32770") == 0) {
    *reinterpret_cast<HWND*>(inFound) = inWind;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> inAnswers)
    : mAnswers(std::move(inAnswers)), mStop(false), mThread(&MessageBoxAnswerer::Run, this) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  mStop = true;
  mThread.join();
}

std::vector<std::string> MessageBoxAnswerer::Texts() const {
  std::lock_guard<std::mutex> hold(mLock);
  return mTexts;
}

void MessageBoxAnswerer::Run() {
  while (!mStop) {
    Sleep(20);
    HWND box = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
      continue;
    }
    wchar_t text[1024] = L"";
    int len = GetDlgItemTextW(box, kMessageTextID, text, 1024);
    UtilStr utf8;
    KSWideText::ToUTF8(text, len, &utf8);
    int answer = GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK;
    {
      std::lock_guard<std::mutex> hold(mLock);
      if (mTexts.size() < mAnswers.size()) {
        answer = mAnswers[mTexts.size()];
      }
      mTexts.push_back(utf8.getCStr());
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    for (int i = 0; i < 500 && IsWindow(box) && IsWindowVisible(box); i++) {
      Sleep(10);  // until the box is gone
    }
  }
}
