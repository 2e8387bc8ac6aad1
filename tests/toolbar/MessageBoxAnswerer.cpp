#include "toolbar/MessageBoxAnswerer.h"

#include "foundation/UtilStr.h"
#include "platform/KSWideText.h"

namespace {

// The static control of a message box that holds its text.
const int kMessageTextID = 0xFFFF;

struct BoxSearch {
  DWORD mProcess;
  HWND mFound;
};

BOOL CALLBACK FindBox(HWND inWind, LPARAM inParam) {
  BoxSearch* search = reinterpret_cast<BoxSearch*>(inParam);
  DWORD process = 0;
  GetWindowThreadProcessId(inWind, &process);
  wchar_t className[32];
  if (process == search->mProcess && IsWindowVisible(inWind) &&
      GetClassNameW(inWind, className, 32) > 0 && lstrcmpW(className, L"#32770") == 0) {
    search->mFound = inWind;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND inWind) {
  wchar_t text[2048];
  int len = GetWindowTextW(inWind, text, 2048);
  UtilStr utf8;
  KSWideText::ToUTF8(text, len, &utf8);
  return utf8.getCStr();
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> inAnswers)
    : mAnswers(std::move(inAnswers)), mNextAnswer(0), mStop(false) {
  mThread = std::thread(&MessageBoxAnswerer::Run, this);
}

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
    BoxSearch search = {GetCurrentProcessId(), nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.mFound != nullptr) {
      Answer(search.mFound);
      // Wait for the box to go before looking for the next one.
      for (int i = 0; i < 500 && IsWindow(search.mFound) && IsWindowVisible(search.mFound); i++) {
        Sleep(10);
      }
    }
    Sleep(20);
  }
}

void MessageBoxAnswerer::Answer(HWND inBox) {
  HWND textItem = GetDlgItem(inBox, kMessageTextID);
  int answer = 0;
  {
    std::lock_guard<std::mutex> hold(mLock);
    mTexts.push_back(textItem != nullptr ? TextOf(textItem) : std::string());
    if (mNextAnswer < mAnswers.size()) {
      answer = mAnswers[mNextAnswer++];
    }
  }
  if (answer == 0) {
    answer = GetDlgItem(inBox, IDNO) != nullptr ? IDNO : IDOK;
  }
  PostMessageW(inBox, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(inBox, answer)));
}
