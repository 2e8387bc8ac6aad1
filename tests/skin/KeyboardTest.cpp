// The keyboard and the screen reader on a tool page loaded from a skin: real
// keys (SendInput) go through a message loop that gives them to
// KSDialogKeys first, as the program's does.
#include <windows.h>
// The accessibility header needs the platform's types first.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>

#include "ControlTestParent.h"
#include "platform/windowproc.h"
#include "skin/KSDialogKeys.h"
#include "skin/cCustomComboBox.h"
#include "skin/cSkin.h"
#include "skin/cToolPage.h"
#include "support/MouseInput.h"
#include "support/SkinFolder.h"

namespace {

// Reading order differs from the skin's: the plain button and the check box
// make the first row, the picture button, the slider and the combo box the
// second. The label without a function, the disabled button and the
// retracted page's button are no stops.
const char kSkin[] =
    "ToolPage { Width = 400  Height = 120\n"
    "  Controls {\n"
    "    Button ( x = 10, y = 40, Width = 40, Height = 20, Styles = Custom, Image = Go??.bmp,\n"
    "             Function = WaveShapeNext, Tip = \"Next wave shape\" )\n"
    "    CheckBox ( x = 120, y = 10, Width = 20, Height = 20, Styles = Custom,\n"
    "               Image = Cycle??.bmp, Function = WaveShapeToggle )\n"
    "    Button ( x = 10, y = 12, Width = 60, Height = 20, Text = \"Plain\",\n"
    "             Function = ColorMapNext )\n"
    "    Slider ( x = 60, y = 44, Width = 100, MinPos = 0, MaxPos = 100, Function = FrameRate )\n"
    "    ComboBox ( x = 180, y = 40, Width = 100, Height = 20, Styles = Custom,\n"
    "               Image = Drop.bmp, Function = WaveShapeList, ListBoxHeight = 100,\n"
    "               ScrollUp = Drop.bmp, ScrollDown = Drop.bmp, ScrollThumb = Drop.bmp,\n"
    "               Tip = \"Wave shape\" )\n"
    "    Label ( x = 300, y = 10, Width = 80, Height = 20, Text = \"Just text\" )\n"
    "    Button ( x = 300, y = 40, Width = 40, Height = 20, Text = \"Off\", Function = Close )\n"
    "    ToolPage { DefaultMode = Retracted  PageVisible1 = false  y = 80  Width = 100\n"
    "      Height = 30  Controls { Button ( x = 0, y = 0, Width = 30, Height = 20,\n"
    "                                       Function = Minimize ) } }\n"
    "} }\n";

const uint32 kGoColour = 0x2040A0;

enum { kGo = 0, kCheck = 1, kPlain = 2, kSlider = 3, kCombo = 4, kLabel = 5, kOff = 6 };

// Dispatches this thread's messages for a while, keys through KSDialogKeys.
void PumpKeys(DWORD inMilliseconds = 40) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!KSDialogKeys(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    Sleep(1);
  } while (GetTickCount() - start < inMilliseconds);
}

void SendKey(WORD inKey, bool inUp) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = inKey;
  input.ki.wScan = WORD(MapVirtualKeyW(inKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = inUp ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

void Press(WORD inKey, bool inShift = false) {
  if (inShift) {
    SendKey(VK_SHIFT, false);
  }
  SendKey(inKey, false);
  SendKey(inKey, true);
  if (inShift) {
    SendKey(VK_SHIFT, true);
  }
  PumpKeys();
}

class Keyboard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(0, RegisterToolbarWindowClass()); }
  void SetUp() override {
    mSkin.Picture("Go01.bmp", 40, 20, kGoColour);
    mSkin.Picture("Go02.bmp", 40, 20, 0x102050);
    mSkin.Picture("Cycle01.bmp", 20, 20, 0x808080);
    mSkin.Picture("Cycle02.bmp", 20, 20, 0x20A020);
    mSkin.Picture("Drop.bmp", 16, 20, 0xC0C0C0);
    mSkin.Text(kSkin);
    ASSERT_EQ(0, mHost.Load(mSkin, 40, 40, 400, 120));
    mHost.mPage->Initialize();
    mHost.ResetShape();  // the page has no shape: all of the window shows
    mHost.At(kOff)->Enable(false);
    auto* combo = static_cast<cCustomComboBox*>(mHost.At(kCombo));
    for (const char* item : {"Alpha", "Beta", "Gamma", "Delta"}) {
      combo->AddItem(item);
    }
    combo->SelectItem(0);
    SetForegroundWindow(mHost.Wind());
    SetFocus(mHost.Wind());
    PumpKeys(100);
  }

  // The source and function of a report, as the host writes it down.
  static std::string Report(unsigned long inID, eUIFunction inFunction) {
    return std::to_string(inID) + ":" + std::to_string(inFunction) + " ";
  }
  bool Focused(unsigned long inID) { return GetFocus() == mHost.At(inID)->Wind(); }
  COLORREF PixelOf(unsigned long inID, int inX, int inY) {
    HWND wind = mHost.At(inID)->Wind();
    UpdateWindow(wind);
    HDC dc = GetDC(wind);
    COLORREF pixel = GetPixel(dc, inX, inY);
    ReleaseDC(wind, dc);
    return pixel;
  }

  SkinFolder mSkin;
  PageHost mHost;
};

}  // namespace

TEST_F(Keyboard, TabWalksReadingOrderAndKeysWorkControlsAsClicksDo) {
  Press(VK_TAB);
  ASSERT_TRUE(Focused(kPlain));
  Press(VK_RETURN);
  EXPECT_EQ(Report(kPlain, kUIColorMapNext), mHost.Take());

  Press(VK_TAB);
  ASSERT_TRUE(Focused(kCheck));
  Press(VK_SPACE);
  EXPECT_TRUE(mHost.At(kCheck)->BoolProp());
  EXPECT_EQ(Report(kCheck, kUIWaveShapeToggle), mHost.Take());

  // The picture button shows the mark in its text colour (black) while it
  // has the focus, and its picture again when the focus has gone.
  Press(VK_TAB);
  ASSERT_TRUE(Focused(kGo));
  EXPECT_EQ(RGB(0, 0, 0), PixelOf(kGo, 0, 0));
  EXPECT_EQ(RGB(0x20, 0x40, 0xA0), PixelOf(kGo, 1, 0));  // dotted
  Press(VK_SPACE);
  EXPECT_EQ(Report(kGo, kUIWaveShapeNext), mHost.Take());

  Press(VK_TAB);
  ASSERT_TRUE(Focused(kSlider));
  EXPECT_EQ(RGB(0x20, 0x40, 0xA0), PixelOf(kGo, 0, 0));
  cControl* slider = mHost.At(kSlider);
  Press(VK_RIGHT);
  EXPECT_EQ(51, slider->IntProp());
  Press(VK_PRIOR);
  EXPECT_EQ(61, slider->IntProp());
  Press(VK_DOWN);
  EXPECT_EQ(60, slider->IntProp());
  Press(VK_END);
  Press(VK_RIGHT);  // at the end: no change, no report
  EXPECT_EQ(100, slider->IntProp());
  std::string moved = Report(kSlider, kUIFrameRate);
  EXPECT_EQ(moved + moved + moved + moved, mHost.Take());

  // Closed, an arrow chooses at once; open, the list follows the keys and
  // Escape leaves the choice as it was.
  Press(VK_TAB);
  ASSERT_TRUE(Focused(kCombo));
  auto* combo = static_cast<cCustomComboBox*>(mHost.At(kCombo));
  Press(VK_DOWN);
  EXPECT_EQ(1, combo->IntProp());
  EXPECT_EQ(Report(kCombo, kUIWaveShapeList), mHost.Take());
  Press(VK_RETURN);
  ASSERT_TRUE(combo->IsListShown());
  EXPECT_TRUE(Focused(kCombo));
  Press(VK_END);
  Press(VK_ESCAPE);
  EXPECT_FALSE(combo->IsListShown());
  EXPECT_EQ(1, combo->IntProp());
  Press(VK_SPACE);
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_FALSE(combo->IsListShown());
  EXPECT_EQ(2, combo->IntProp());
  EXPECT_EQ(Report(kCombo, kUIWaveShapeList), mHost.Take());

  // Past the last stop to the first, and back.
  Press(VK_TAB);
  EXPECT_TRUE(Focused(kPlain));
  Press(VK_TAB, true);
  EXPECT_TRUE(Focused(kCombo));
  Press(VK_TAB, true);
  EXPECT_TRUE(Focused(kSlider));
  EXPECT_EQ("", mHost.Take());
}

TEST_F(Keyboard, ScreenReadersGetNameRoleStateAndValue) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  mHost.At(kCheck)->BoolProp(true);
  static_cast<cCustomComboBox*>(mHost.At(kCombo))->SelectItem(1);
  struct Expected {
    unsigned long mID;
    const wchar_t* mName;  // the tip, else the text, else the function
    long mRole;
    long mState;
    const wchar_t* mValue;
  };
  const Expected kExpected[] = {
      {kGo, L"Next wave shape", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, nullptr},
      {kCheck, L"WaveShapeToggle", ROLE_SYSTEM_CHECKBUTTON,
       STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED, nullptr},
      {kPlain, L"Plain", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, nullptr},
      {kSlider, L"FrameRate", ROLE_SYSTEM_SLIDER, STATE_SYSTEM_FOCUSABLE, L"50"},
      {kCombo, L"Wave shape", ROLE_SYSTEM_COMBOBOX, STATE_SYSTEM_FOCUSABLE, L"Beta"},
      {kLabel, L"Just text", ROLE_SYSTEM_STATICTEXT, 0, nullptr},
      {kOff, L"Off", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE,
       nullptr},
  };
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  for (const Expected& expected : kExpected) {
    SCOPED_TRACE(expected.mID);
    IAccessible* object = nullptr;
    ASSERT_EQ(S_OK,
              AccessibleObjectFromWindow(mHost.At(expected.mID)->Wind(), OBJID_CLIENT,
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&object)));
    BSTR name = nullptr, value = nullptr;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    EXPECT_EQ(S_OK, object->get_accName(self, &name));
    EXPECT_EQ(S_OK, object->get_accRole(self, &role));
    EXPECT_EQ(S_OK, object->get_accState(self, &state));
    EXPECT_STREQ(expected.mName, name);
    EXPECT_EQ(expected.mRole, role.lVal);
    EXPECT_EQ(expected.mState, state.lVal);
    if (expected.mValue != nullptr) {
      EXPECT_EQ(S_OK, object->get_accValue(self, &value));
      EXPECT_STREQ(expected.mValue, value);
    }
    SysFreeString(name);
    SysFreeString(value);
    object->Release();
  }
  CoUninitialize();
}
