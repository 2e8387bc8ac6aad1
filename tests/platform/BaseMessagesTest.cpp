#include <gtest/gtest.h>

#include <string>

#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/KSWindUtils.h"
#include "support/ModalDriver.h"

namespace {

// The message text item of a message box.
const int kMsgBoxTextItem = 0xFFFF;

// Shows the query dialog with ioText and answers it with inAnswer (null:
// Cancel). outShown gets the prompt and the entry the dialog came up with.
bool Query(char* ioText, long inSize, const wchar_t* inAnswer, std::wstring* outShown) {
  ModalDriver driver(L"Name please", [&](HWND inDialog) {
    *outShown = ModalDriver::ItemText(inDialog, kQueryPromptItem) + L"|" +
                ModalDriver::ItemText(inDialog, kQueryTextItem);
    if (inAnswer != nullptr) {
      SetDlgItemTextW(inDialog, kQueryTextItem, inAnswer);
    }
    ModalDriver::Press(inDialog, inAnswer != nullptr ? IDOK : IDCANCEL);
  });
  return BaseQueryInput(nullptr, "Name please", "Save current theme as:", ioText, inSize);
}

// Shows a message box through inShow, answers it with inButton and gives its
// text.
std::wstring Answer(const wchar_t* inTitle, int inButton, const std::function<void()>& inShow) {
  std::wstring text;
  ModalDriver driver(inTitle, [&](HWND inBox) {
    text = ModalDriver::ItemText(inBox, kMsgBoxTextItem);
    ModalDriver::Press(inBox, inButton);
  });
  inShow();
  return text;
}

}  // namespace

TEST(BaseQueryInput, OkCopiesTheEntryBackAndCancelLeavesIt) {
  char text[260] = "Night";
  std::wstring shown;
  EXPECT_TRUE(Query(text, sizeof text, L"Morning \u00e9", &shown));
  EXPECT_EQ(L"Save current theme as:|Night", shown);
  EXPECT_STREQ("Morning \xC3\xA9", text);
  EXPECT_FALSE(Query(text, sizeof text, nullptr, &shown));
  EXPECT_STREQ("Morning \xC3\xA9", text);

  // Cut to the buffer, never inside a character: two of three two-byte
  // characters fit five bytes.
  char small[6] = "";
  EXPECT_TRUE(Query(small, sizeof small, L"abcdefgh", &shown));
  EXPECT_STREQ("abcde", small);
  EXPECT_TRUE(Query(small, sizeof small, L"\u00e9\u00e9\u00e9", &shown));
  EXPECT_STREQ("\xC3\xA9\xC3\xA9", small);
}

TEST(BaseShowError, MessageBoxesShowTheirTextAndReportTheAnswer) {
  EXPECT_EQ(L"Error reading skin file: x. File/Folder not found (2)", Answer(L"Error", IDOK, [] {
              BaseShowError(nullptr, kKSErr_FileNotFound, "Error reading skin file: x.", "(2)");
            }));
  EXPECT_EQ(L"Error -55013", Answer(L"Error", IDOK, [] { BaseShowError(nullptr, -55013); }));
  std::string longPrefix(5000, 'p');
  EXPECT_EQ(4095u, Answer(L"Error", IDOK, [&] {
                     BaseShowError(nullptr, 0, longPrefix.c_str(), "end");
                   }).size());

  EXPECT_EQ(L"Saved.",
            Answer(L"Themes", IDOK, [] { KSWindUtils::ShowMsg(nullptr, "Saved.", "Themes"); }));
  for (int button : {IDYES, IDNO}) {
    bool yes = button == IDNO;
    Answer(L"Delete", button,
           [&] { yes = KSWindUtils::AreYouSure(nullptr, "Delete it?", "Delete"); });
    EXPECT_EQ(button == IDYES, yes);
  }
}

TEST(KSWindUtils, RaisesAnExistingWindowOnly) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KS Raise Test";
  RegisterClassW(&wc);
  HWND wind = CreateWindowW(wc.lpszClassName, L"Raise Me", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                            nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(wind, SW_MINIMIZE);
  EXPECT_FALSE(KSWindUtils::SetForgroundWind("KS Raise Test", "Other Title"));
  EXPECT_TRUE(IsIconic(wind));
  EXPECT_TRUE(KSWindUtils::SetForgroundWind("KS Raise Test", "Raise Me"));
  EXPECT_FALSE(IsIconic(wind));
  ShowWindow(wind, SW_HIDE);
  EXPECT_TRUE(KSWindUtils::SetForgroundWind("KS Raise Test", "Raise Me"));
  EXPECT_TRUE(IsWindowVisible(wind));
  DestroyWindow(wind);
}
