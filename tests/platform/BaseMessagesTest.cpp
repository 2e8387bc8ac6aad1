#include <gtest/gtest.h>

#include <string>

#include "ModalDriver.h"
#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/KSWindUtils.h"

namespace {

// The message text item of a message box.
const int kMsgBoxTextItem = 0xFFFF;

// Shows the query dialog and answers it with inAnswer (null: Cancel).
bool Query(char* ioText, long inSize, const wchar_t* inAnswer, std::wstring* outPrompt = nullptr,
           std::wstring* outInitial = nullptr) {
  ModalDriver driver(L"Name please", [&](HWND inDialog) {
    if (outPrompt != nullptr) {
      *outPrompt = ModalDriver::ItemText(inDialog, kQueryPromptItem);
    }
    if (outInitial != nullptr) {
      *outInitial = ModalDriver::ItemText(inDialog, kQueryTextItem);
    }
    if (inAnswer != nullptr) {
      SetDlgItemTextW(inDialog, kQueryTextItem, inAnswer);
    }
    ModalDriver::Press(inDialog, inAnswer != nullptr ? IDOK : IDCANCEL);
  });
  bool ok = BaseQueryInput(nullptr, "Name please", "Save current theme as:", ioText, inSize);
  EXPECT_TRUE(driver.Found());
  return ok;
}

// Shows a message box through inShow and answers it with inButton; gives the
// box's text.
std::wstring Answer(const wchar_t* inTitle, int inButton, const std::function<void()>& inShow) {
  std::wstring text;
  ModalDriver driver(inTitle, [&](HWND inBox) {
    text = ModalDriver::ItemText(inBox, kMsgBoxTextItem);
    ModalDriver::Press(inBox, inButton);
  });
  inShow();
  EXPECT_TRUE(driver.Found());
  return text;
}

}  // namespace

TEST(BaseQueryInput, OkCopiesTheEntryBackAndCancelLeavesIt) {
  char text[260] = "Night";
  std::wstring prompt;
  std::wstring initial;
  EXPECT_TRUE(Query(text, sizeof text, L"Morning \u00e9", &prompt, &initial));
  EXPECT_EQ(L"Save current theme as:", prompt);
  EXPECT_EQ(L"Night", initial);
  EXPECT_STREQ("Morning \xC3\xA9", text);

  EXPECT_FALSE(Query(text, sizeof text, nullptr));
  EXPECT_STREQ("Morning \xC3\xA9", text);
}

TEST(BaseQueryInput, CutsTheEntryToTheBufferWithoutSplittingACharacter) {
  char text[6] = "";
  EXPECT_TRUE(Query(text, sizeof text, L"abcdefgh"));
  EXPECT_STREQ("abcde", text);

  // Three two-byte characters do not fit five bytes: two do.
  EXPECT_TRUE(Query(text, sizeof text, L"\u00e9\u00e9\u00e9"));
  EXPECT_STREQ("\xC3\xA9\xC3\xA9", text);
}

TEST(BaseShowError, JoinsPrefixMessageAndSuffix) {
  EXPECT_EQ(L"Error reading skin file: x. File/Folder not found (2)", Answer(L"Error", IDOK, [] {
              BaseShowError(nullptr, kKSErr_FileNotFound, "Error reading skin file: x.", "(2)");
            }));
  EXPECT_EQ(L"File/Folder not found",
            Answer(L"Error", IDOK, [] { BaseShowError(nullptr, kKSErr_FileNotFound); }));
  EXPECT_EQ(L"Error -55013", Answer(L"Error", IDOK, [] { BaseShowError(nullptr, -55013); }));

  std::string longPrefix(5000, 'p');
  std::wstring shown =
      Answer(L"Error", IDOK, [&] { BaseShowError(nullptr, 0, longPrefix.c_str(), "end"); });
  EXPECT_EQ(4095u, shown.size());
}

TEST(KSWindUtils, MessageBoxesReportTheAnswer) {
  EXPECT_EQ(L"Saved.",
            Answer(L"Themes", IDOK, [] { KSWindUtils::ShowMsg(nullptr, "Saved.", "Themes"); }));
  bool yes = false;
  Answer(L"Delete", IDYES, [&] { yes = KSWindUtils::AreYouSure(nullptr, "Delete it?", "Delete"); });
  EXPECT_TRUE(yes);
  EXPECT_EQ(L"Delete it?", Answer(L"Delete", IDNO, [&] {
              yes = KSWindUtils::AreYouSure(nullptr, "Delete it?", "Delete");
            }));
  EXPECT_FALSE(yes);
}

TEST(KSWindUtils, RaisesAnExistingWindowOnly) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KS Raise Test";
  ASSERT_NE(0, RegisterClassW(&wc));
  HWND wind = CreateWindowW(L"KS Raise Test", L"Raise Me", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                            nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(nullptr, wind);
  ShowWindow(wind, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(wind));

  EXPECT_FALSE(KSWindUtils::SetForgroundWind("KS Raise Test", "Other Title"));
  EXPECT_TRUE(IsIconic(wind));
  EXPECT_TRUE(KSWindUtils::SetForgroundWind("KS Raise Test", "Raise Me"));
  EXPECT_FALSE(IsIconic(wind));
  EXPECT_TRUE(IsWindowVisible(wind));

  ShowWindow(wind, SW_HIDE);
  EXPECT_TRUE(KSWindUtils::SetForgroundWind("KS Raise Test", "Raise Me"));
  EXPECT_TRUE(IsWindowVisible(wind));
  DestroyWindow(wind);
}
