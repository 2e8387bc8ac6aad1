// The keyboard and the screen reader on a tool page loaded from a skin: real
// keys (SendInput) go through a message loop that gives them to
// KSDialogKeys first, as the program's does.
#include <windows.h>
// The accessibility header needs the platform's types first.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>

#include "ControlTestParent.h"
#include "skin/KSDialogKeys.h"
#include "skin/cCustomComboBox.h"

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

// Shift+Tab, in the steps of the test.
const WORD kShiftTab = 0x100 | VK_TAB;

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
  input.ki = KEYBDINPUT{inKey, WORD(MapVirtualKeyW(inKey, MAPVK_VK_TO_VSC)),
                        DWORD(inUp ? KEYEVENTF_KEYUP : 0), 0, 0};
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

  // The values the keys change: the check box, the slider, the combo box's
  // choice and "open" while its list shows; and "marked" while the picture
  // button shows the focus mark, dotted in its text colour (black).
  std::string Values() {
    HWND go = mHost.At(kGo)->Wind();
    UpdateWindow(go);
    KSWindowDC dc(go);
    bool marked = GetPixel(dc.Get(), 0, 0) == RGB(0, 0, 0) &&
                  GetPixel(dc.Get(), 1, 0) == RGB(0x20, 0x40, 0xA0);
    auto* combo = static_cast<cCustomComboBox*>(mHost.At(kCombo));
    return std::to_string(mHost.At(kCheck)->BoolProp()) + " " +
           std::to_string(mHost.At(kSlider)->IntProp()) + " " + std::to_string(combo->IntProp()) +
           (combo->IsListShown() ? " open" : "") + (marked ? " marked" : "");
  }

  SkinFolder mSkin;
  PageHost mHost;
};

}  // namespace

// Each step: the key, the control that has the focus after it, whether
// that control reported its function, and the values then.
TEST_F(Keyboard, TabWalksReadingOrderAndKeysWorkControlsAsClicksDo) {
  const struct {
    WORD mKey;
    unsigned long mFocus;
    bool mReports;
    const char* mValues;
  } kSteps[] = {
      {VK_TAB, kPlain, false, "0 50 0"},
      {VK_RETURN, kPlain, true, "0 50 0"},
      {VK_TAB, kCheck, false, "0 50 0"},
      {VK_SPACE, kCheck, true, "1 50 0"},
      {VK_TAB, kGo, false, "1 50 0 marked"},
      {VK_SPACE, kGo, true, "1 50 0 marked"},
      {VK_TAB, kSlider, false, "1 50 0"},
      {VK_RIGHT, kSlider, true, "1 51 0"},
      {VK_PRIOR, kSlider, true, "1 61 0"},
      {VK_DOWN, kSlider, true, "1 60 0"},
      {VK_END, kSlider, true, "1 100 0"},
      {VK_RIGHT, kSlider, false, "1 100 0"},  // at the end: no change, no report
      // Closed, an arrow chooses at once; open, the list follows the keys
      // and Escape leaves the choice as it was.
      {VK_TAB, kCombo, false, "1 100 0"},
      {VK_DOWN, kCombo, true, "1 100 1"},
      {VK_RETURN, kCombo, false, "1 100 1 open"},
      {VK_END, kCombo, false, "1 100 3 open"},
      {VK_ESCAPE, kCombo, false, "1 100 1"},
      {VK_SPACE, kCombo, false, "1 100 1 open"},
      {VK_DOWN, kCombo, false, "1 100 2 open"},
      {VK_RETURN, kCombo, true, "1 100 2"},
      {VK_TAB, kPlain, false, "1 100 2"},  // past the last stop to the first, and back
      {kShiftTab, kCombo, false, "1 100 2"},
      {kShiftTab, kSlider, false, "1 100 2"},
  };
  for (const auto& step : kSteps) {
    SCOPED_TRACE(testing::Message() << "key " << step.mKey << " to " << step.mFocus);
    Press(step.mKey & 0xFF, step.mKey == kShiftTab);
    cControl* focus = mHost.At(step.mFocus);
    ASSERT_EQ(focus->Wind(), GetFocus());
    std::string report =
        std::to_string(step.mFocus) + ":" + std::to_string(focus->Info()->Function);
    EXPECT_EQ(step.mReports ? report + " " : "", mHost.Take());
    EXPECT_EQ(step.mValues, Values());
  }
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
    VARIANT role = {}, state = {};  // empty, as VariantInit makes them
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
