// Tool pages loaded from skin folders into a window that sizes and shapes
// itself to its page as the toolbar does: layout per mode, extending and
// retracting, automatic retraction at the screen's edge, finding controls,
// tips, the advanced panel's remembered mode, real clicks, the page's tick
// under the pointer, and what building and destroying page
// trees gives back; the keyboard and the screen reader; and a skin file that
// cannot be read.
#include <windows.h>
// The common controls' and accessibility headers need the platform's types first.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <iterator>
#include <string>

#include "ControlTestParent.h"
#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "skin/cCustomButton.h"
#include "skin/cCustomCheckBox.h"
#include "skin/cCustomComboBox.h"
#include "skin/cStandardToolTip.h"
#include "support/KeyInput.h"
#include "support/MouseInput.h"
#include "support/ProcessCounts.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

namespace {

// Where a window is in its parent, or "hidden".
std::string Place(cWindow* inWind) {
  KSRect at;
  if (!IsWindowVisible(inWind->Wind()) || inWind->GetPosition(&at) != 0) {
    return "hidden";
  }
  return Str(at);
}

cToolPage* PageAt(cToolPage* inPage, unsigned long inID) {
  return static_cast<cToolPage*>(inPage->Control(inID));
}

void Click(cControl* inButton) {
  SendMessageW(inButton->Wind(), BM_CLICK, 0, 0);
}

class ToolPages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(0, RegisterToolbarWindowClass()); }

  SkinFolder mSkin;
  PageHost mHost;
};

// Reading order differs from the skin's: the plain button and the check box
// make the first row, the picture button, the slider and the combo box the
// second. The label without a function, the disabled button and the
// retracted page's button are no stops.
const char kKeysSkin[] =
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

// The keyboard and the screen reader on a tool page: real keys (SendInput)
// go through a message loop that gives them to KSDialogKeys first, as the
// program's does.
class Keyboard : public ToolPages {
 protected:
  void SetUp() override {
    mSkin.Picture("Go01.bmp", 40, 20, kGoColour);
    mSkin.Picture("Go02.bmp", 40, 20, 0x102050);
    mSkin.Picture("Cycle01.bmp", 20, 20, 0x808080);
    mSkin.Picture("Cycle02.bmp", 20, 20, 0x20A020);
    mSkin.Picture("Drop.bmp", 16, 20, 0xC0C0C0);
    mSkin.Text(kKeysSkin);
    ASSERT_EQ(0, mHost.Load(mSkin, 40, 40, 400, 120));
    mHost.mPage->Initialize();
    mHost.ResetShape();  // the page has no shape: all of the window shows
    mHost.At(kOff)->Enable(false);
    auto* combo = static_cast<cCustomComboBox*>(mHost.At(kCombo));
    for (const char* item : {"Alpha", "Beta", "Gamma", "Delta"}) {
      combo->AddItem(item);
    }
    combo->SelectItem(0);
    MouseMoveTo(0, 0);  // clear of the page and of the lists it opens
    SetForegroundWindow(mHost.Wind());
    SetFocus(mHost.Wind());
    PumpKeys(100);
  }

  // The values the keys change: the check box, the slider, the combo box's
  // choice and "open" while its list shows; "marked" while the picture
  // button shows the focus mark, dotted in its text colour (black); and
  // "misdrawn" while the check box shows the frame of the other value.
  std::string Values() {
    HWND go = mHost.At(kGo)->Wind();
    UpdateWindow(go);
    KSWindowDC dc(go);
    bool marked = GetPixel(dc.Get(), 0, 0) == RGB(0, 0, 0) &&
                  GetPixel(dc.Get(), 1, 0) == RGB(0x20, 0x40, 0xA0);
    auto* combo = static_cast<cCustomComboBox*>(mHost.At(kCombo));
    auto* check = static_cast<cCustomCheckBox*>(mHost.At(kCheck));
    bool misdrawn = check->Sprite()->CurFrame() != unsigned(check->BoolProp());
    return std::to_string(check->BoolProp()) + (misdrawn ? " misdrawn " : " ") +
           std::to_string(mHost.At(kSlider)->IntProp()) + " " + std::to_string(combo->IntProp()) +
           (combo->IsListShown() ? " open" : "") + (marked ? " marked" : "");
  }
};

}  // namespace

TEST_F(ToolPages, ExtendingANestedPageReshapesTheOuterPageAndTheWindow) {
  // A bar whose right end is keyed out, and below it a drawer that grows
  // when extended and holds a button that switches it and a sub-page that
  // folds in whenever the drawer switches; the sub-page's own check box
  // shows its mode, however that was set.
  mSkin.Picture("Bar.bmp", 100, 20, 0x2040A0, KSRect{90, 0, 100, 20});
  mSkin.Picture("Drawer01.bmp", 100, 10, 0x30C030);
  mSkin.Picture("Drawer02.bmp", 80, 40, 0x30C030);
  mSkin.Text(
      "ToolPage { Flags = WindowShape|AutoSize  TransparentColor = 255, 0, 255\n"
      "  Image = Bar.bmp\n"
      "  Controls {\n"
      "    ToolPage { y = 20  DefaultMode = Retracted  Flags = WindowShape|AutoSize\n"
      "      Image = Drawer??.bmp\n"
      "      Controls {\n"
      "        Button ( x = 2, y = 2, Width = 20, Height = 6, Function = ExtendRetract )\n"
      "        ToolPage { Flags = AutoRetract  Visible1 = false  y = 10  Width = 10\n"
      "          Height = 10  Controls { CheckBox ( Width = 9, Height = 9, Styles = Custom,\n"
      "                                  Image = Drawer??.bmp, Function = ExtendRetract ) } }\n"
      "    } }\n"
      "} }\n");
  ASSERT_EQ(0, mHost.Load(mSkin));
  mHost.mPage->Initialize();
  cToolPage* outer = mHost.mPage.get();
  cToolPage* drawer = PageAt(outer, 0);
  cToolPage* sub = PageAt(drawer, 1);
  auto* check = static_cast<cCustomCheckBox*>(sub->Control(0));
  auto subMode = [&] {  // and the frame its check box shows
    return std::to_string(sub->ToolPageMode()) + " " + std::to_string(check->Sprite()->CurFrame());
  };
  EXPECT_EQ("1 1", subMode());

  const std::string retracted = "0 0 100 30";
  EXPECT_EQ(retracted, Place(outer));
  EXPECT_EQ(retracted, ShapeOf(mHost.Wind()));
  EXPECT_FALSE(mHost.Shows(95, 5));  // keyed out of the bar
  EXPECT_TRUE(mHost.Shows(95, 25));  // the drawer below it

  Click(drawer->Control(0));
  EXPECT_EQ(kModeExtended, drawer->ToolPageMode());
  EXPECT_EQ("0 0", subMode());
  EXPECT_EQ("0 20 80 60", Place(drawer));
  EXPECT_EQ("0 0 100 60", Place(outer));
  EXPECT_EQ("0 0 90 60", ShapeOf(mHost.Wind()));
  EXPECT_EQ(100, mHost.Width());
  EXPECT_EQ(60, mHost.Height());
  EXPECT_FALSE(mHost.Shows(90, 40));  // beside the narrower drawer

  // Twice is where it started, and the sub-page folds in again.
  sub->SetToolPageMode(kModeExtended);
  EXPECT_EQ("1 1", subMode());
  Click(drawer->Control(0));
  EXPECT_EQ("0 0", subMode());
  EXPECT_EQ(retracted, Place(outer));
  EXPECT_EQ(retracted, ShapeOf(mHost.Wind()));
  EXPECT_EQ("", mHost.Take());  // switching is the pages' own business
}

TEST_F(ToolPages, StackingClosesGapsAndAutoSizeFollowsTheVisibleControls) {
  mSkin.Text(
      "ToolPage { Flags = StackControls|AutoSize  Width = 50  Height = 5  DefaultMode = Retracted\n"
      "  Controls {\n"
      "    Graphic ( Width = 80, Height = 10, Width2 = 150 )\n"
      "    Graphic ( Width = 60, Height = 15, Visible1 = false )\n"
      "    Graphic ( x = 30, Width = 40, Height = 20 )\n"
      "    ToolPage { PageVisible1 = false  DefaultMode = Retracted\n"
      "               Width = 20  Height = 7 }\n"
      "    Graphic ( x = 200, Width = 25, Height = 5, Flags = AlignRight )\n"
      "} }\n");
  ASSERT_EQ(0, mHost.Load(mSkin));
  cToolPage* page = mHost.mPage.get();
  page->Initialize();
  cToolPage* hidden = PageAt(page, 3);
  auto layout = [&] {
    std::string seen = Place(page);
    for (unsigned long i = 0; i < page->NumControls(); i++) {
      seen += " | " + Place(page->Control(i));
    }
    return seen;
  };
  // The aligned control adds its width, not its right edge, to the page's.
  const std::string retracted =
      "0 0 80 35 | 0 0 80 10 | hidden | 30 10 70 30 | hidden | 55 30 80 35";
  EXPECT_EQ(retracted, layout());

  page->SetToolPageMode(kModeExtended);
  EXPECT_EQ("0 0 150 50 | 0 0 150 10 | 0 10 60 25 | 30 25 70 45 | hidden | 125 45 150 50",
            layout());
  // A page hidden while retracted shows once it is extended itself.
  hidden->SetToolPageMode(kModeExtended);
  EXPECT_EQ("0 0 150 57 | 0 0 150 10 | 0 10 60 25 | 30 25 70 45 | 0 45 20 52 | 125 52 150 57",
            layout());

  hidden->SetToolPageMode(kModeRetracted);
  page->SetToolPageMode(kModeRetracted);
  EXPECT_EQ(retracted, layout());
}

TEST_F(ToolPages, ExtendingNearTheScreensEdgeRetractsOtherPagesUntilTheToolbarFits) {
  // Three drawers of 10 pixels that grow to 300 when extended, in a window
  // whose bottom edge has room for one extended drawer only.
  std::string drawer =
      "ToolPage { Flags = AutoRetract  Height1 = 10  Height2 = 300  Width = 40\n"
      "  DefaultMode = Retracted\n"
      "  Controls { Button ( Width = 10, Height = 10, Function = ExtendRetract ) } }\n";
  mSkin.Text("ToolPage { Flags = StackControls|AutoSize  Controls {\n" + drawer + drawer + drawer +
             "} }\n");
  long screenWidth = 0, screenHeight = 0;
  BaseGetScreenSize(&screenWidth, &screenHeight);
  ASSERT_EQ(0, mHost.Load(mSkin, 10, screenHeight - 350));
  cToolPage* page = mHost.mPage.get();
  page->Initialize();
  auto modes = [&] {
    std::string seen;
    for (unsigned long i = 0; i < page->NumControls(); i++) {
      seen += std::to_string(PageAt(page, i)->ToolPageMode());
    }
    return seen;
  };
  auto button = [&](unsigned long inDrawer) { return PageAt(page, inDrawer)->Control(0); };

  Click(button(0));
  EXPECT_EQ("100", modes());
  // Both extended would reach past the edge: the first folds in again.
  Click(button(2));
  EXPECT_EQ("001", modes());
  EXPECT_LE(mHost.Y() + mHost.Height(), screenHeight);
  // Pages that keep their mode: two retracted ones leave room for the third.
  PageAt(page, 0)->SetToolPageMode(kModeExtended);
  EXPECT_EQ("101", modes());
  Click(button(1));
  EXPECT_EQ("010", modes());
}

TEST_F(ToolPages, TheApplicationFindsControlsRegistersTipsAndKeepsThePanelsMode) {
  mSkin.Text(
      "ToolPage { Width = 20  Height = 20  Controls {\n"
      "  Button ( Function = WaveShapeNext, Tip = \"Next\" )\n"
      "  ToolPage { Function = AdvPrefsPanel  Tip = \"Panel\"  DefaultMode = Retracted\n"
      "    Width = 20  Height = 20  Controls {\n"
      "      Button ( Function = WaveShapePrev )\n"
      "      Button ( Function = WaveShapeNext, Tip = \"Second next\", Width = 9, Height = 9 )\n"
      "      CheckBox ( Function = ExtendRetract, Width = 9, Height = 9 )\n"
      "  } }\n"
      "  Button ( Function = WaveShapePrev, Tip = \"Outer previous\" )\n"
      "} }\n");
  ASSERT_EQ(0, mHost.Load(mSkin));
  cToolPage* page = mHost.mPage.get();
  page->Initialize();
  cToolPage* panel = PageAt(page, 1);
  EXPECT_EQ(page->Control(0), page->FindControl(kUIWaveShapeNext));
  EXPECT_EQ(panel->Control(0), page->FindControl(kUIWaveShapePrev));  // depth first
  EXPECT_EQ(panel, page->FindControl(kUIAdvPrefsPanel));
  EXPECT_EQ(nullptr, page->FindControl(kUIClose));
  EXPECT_EQ(nullptr, panel->FindControl(kUIAdvPrefsPanel));  // not itself

  ControlInfo tipInfo = Describe(kControlTypeToolTip);
  cStandardToolTip tip(&tipInfo, 0, &mHost);
  ASSERT_EQ(0, tip.Create());
  page->ToolTip(&tip);
  EXPECT_EQ(4, SendMessageW(tip.Wind(), TTM_GETTOOLCOUNT, 0, 0));  // not the tipless ones
  page->ToolTip(nullptr);

  // The panel's mode goes into the preferences when there are any.
  KSTestFolder prefs;
  ToolbarState state(prefs.Spec(), nullptr, 0);
  ASSERT_EQ(&state, ToolbarState::sToolbarState);
  Click(panel->Control(2));
  EXPECT_EQ(1, state.mPrefs.GetInt(kPref_AdvPanelExtended));
  Click(panel->Control(2));
  EXPECT_EQ(0, state.mPrefs.GetInt(kPref_AdvPanelExtended));
  // Other functions go up to the application unchanged.
  Click(panel->Control(1));
  EXPECT_EQ("1:" + std::to_string(kUIWaveShapeNext) + " ", mHost.Take());
}

// Real clicks reach visible controls only, and the background's go to the
// parent. Then only the page's own timer drives the skinned button: its
// hover frame comes with the pointer and goes when the pointer leaves for
// the desktop with no further input. (What a button does on each tick is
// seen in the control tests.)
TEST_F(ToolPages, RealClicksAndThePagesTickFollowThePointer) {
  for (const char* name : {"Go01.bmp", "Go02.bmp", "Go03.bmp"}) {
    mSkin.Picture(name, 40, 20, kGoColour);
  }
  mSkin.Text(
      "ToolPage { Width = 200  Height = 40  Flags = WindowShape|Tile  Controls {\n"
      "  Button ( x = 150, y = 10, Width = 40, Height = 20, Styles = Custom, Image = Go??.bmp,\n"
      "           Function = WaveShapeNext )\n"
      "  Button ( x = 10, y = 10, Width = 40, Height = 20, Function = ColorMapNext )\n"
      "  Button ( x = 100, y = 10, Width = 40, Height = 20, Function = Close, Visible = false )\n"
      "} }\n");
  MouseMoveTo(0, 0);
  ASSERT_EQ(0, mHost.Load(mSkin, 100, 100));
  mHost.mPage->Initialize();
  auto clickAt = [&](int inX, int inY) {
    MouseClickAt(100 + inX, 100 + inY);
    return mHost.Take();
  };
  EXPECT_EQ("1:" + std::to_string(kUIColorMapNext) + " ", clickAt(20, 20));
  EXPECT_EQ("", clickAt(120, 20));  // through the hidden button to the background
  EXPECT_EQ("", clickAt(180, 35));
  EXPECT_EQ(2, mHost.mBackgroundClicks);

  MouseMoveTo(0, 0);
  auto* button = static_cast<cCustomButton*>(mHost.At(0));
  auto frameBecomes = [button](unsigned long inFrame) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000;) {
      PumpMessages(20);
      if (button->Sprite()->CurFrame() == inFrame) {
        return true;
      }
    }
    return false;
  };
  POINT on = ScreenPointOf(button->Wind(), 20, 10);
  MouseMoveTo(on.x, on.y);
  EXPECT_TRUE(frameBecomes(kButtonHot));
  MouseMoveTo(0, 0);
  EXPECT_TRUE(frameBecomes(kButtonNormal));
}

using PageTrees = ToolPages;

// Every kind of control a skin can name, native and skinned, with tips, a
// filled combo box whose list is open and a filled list view: whatever one
// of them fails to give back shows in the counts.
TEST_F(PageTrees, BuildingShowingAndDestroyingThemLeavesNothingBehind) {
  // 100 controls in three nested pages, some pictured.
  mSkin.Picture("Face01.bmp", 12, 12, 0x406080, KSRect{0, 0, 2, 2});
  mSkin.Picture("Face02.bmp", 12, 12, 0x608040, KSRect{0, 0, 2, 2});
  const char* const kinds[] = {
      "Button ( Styles = Custom, Image = Face??.bmp, Flags = WindowShape, Tip = \"b\"",
      "Button ( Text = \"b\"",
      "CheckBox ( Text = \"c\", Tip = \"c\"",
      "CheckBox ( Styles = Custom, Image = Face??.bmp",
      "ComboBox ( Height = 20",
      "Slider ( Image = Face01.bmp",
      "Slider ( Styles = Custom, Image = Face01.bmp",
      "Label ( Text = \"label\", FontSize = 9",
      "Label ( Styles = Custom, Text = \"label\", FontName = Tahoma",
      "Edit ( Text = \"edit\"",
      "Graphic ( Type = Frame",
      "ComboBox ( Styles = Custom, Image = Face??.bmp, ListBoxHeight = 60, "
      "ScrollThumb = Face01.bmp, Function = WaveShapeList",
      "ListView ( Image = Face??.bmp, Columns = 2, FirstTextColumn = 1, Function = AdvParticles"};
  std::string text =
      "ToolPage { Flags = WindowShape|AutoSize|Tile  TransparentColor = 255, 0, 255\n"
      "  Image = Face??.bmp\n"
      "  Controls {\n";
  for (int i = 0; i < 100; i++) {
    if (i % 33 == 0) {
      text += (i > 0 ? "} }\n" : "") + std::string("ToolPage { Flags = AutoSize  Controls {\n");
    }
    text += std::string(kinds[i % std::size(kinds)]) + ", x = " + std::to_string(i % 10 * 20) +
            ", y = " + std::to_string(i / 10 * 22) + ", Width = 18, Height = 18 )\n";
  }
  mSkin.Text(text + "} } } }\n");
  std::string rows;
  for (int i = 0; i < 40; i++) {
    rows += "Row " + std::to_string(i) + "\tText" + '\0';
  }

  ProcessCounts busy;
  auto rounds = [&](int inCount) {
    for (int i = 0; i < inCount; i++) {
      PageHost host;
      ASSERT_EQ(0, host.Load(mSkin));
      ControlInfo tipInfo = Describe(kControlTypeToolTip);
      cStandardToolTip tip(&tipInfo, 0, &host);
      ASSERT_EQ(0, tip.Create());
      host.mPage->ToolTip(&tip);
      host.mPage->Initialize();
      cControl* combo = host.mPage->FindControl(kUIWaveShapeList);
      for (cControl* list : {combo, host.mPage->FindControl(kUIAdvParticles)}) {
        ASSERT_NE(nullptr, list);
        list->OnKSMPReply(rows.c_str(), kRequestGetContents, nullptr);
        list->OnUpdate();
      }
      combo->OnUIFunction(combo, kUIClick, nullptr);  // opens its list
      RedrawWindow(host.Wind(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      if (i == 0) {
        busy = ProcessCounts::Take();
      }
    }
  };
  rounds(2);
  ProcessCounts before = ProcessCounts::Take();
  rounds(10);
  ProcessCounts after = ProcessCounts::Take();
  EXPECT_GE(busy.mUserObjects, before.mUserObjects + 100);
  EXPECT_GE(busy.mGdiObjects, before.mGdiObjects + 20);
  EXPECT_EQ(before.mUserObjects, after.mUserObjects);
  EXPECT_EQ(before.mGdiObjects, after.mGdiObjects);
  EXPECT_EQ(before.mKernelHandles, after.mKernelHandles);
  EXPECT_EQ(nullptr, gHackControlFont);  // its window is gone
}

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
  const struct {
    unsigned long mID;
    const wchar_t* mName;  // the tip, else the text, else the function
    long mRole;
    long mState;
    const wchar_t* mValue;
  } kExpected[] = {
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
  for (const auto& expected : kExpected) {
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

// Every page test above reads a skin file; these cannot be read, and say why.
TEST(SkinFile, AMissingOrOversizedFileSaysWhy) {
  KSTestFolder folder;
  cSkin skin;
  UtilStr path, text;
  KSFileSpec missing = folder.Item("Missing");
  EXPECT_EQ(kKSErr_FileNotFound, skin.ReadSkinFile(missing, &path, &text));
  EXPECT_EQ(std::string(missing.GetPathCStr()) + "\\skin.txt", path.getCStr());
  EXPECT_EQ("Error reading skin file: " + std::string(path.getCStr()) + ".",
            skin.ErrorPrefix().getCStr());
  EXPECT_TRUE(skin.ErrorSuffix().IsEmpty());

  folder.MakeFile("skin.txt", std::string(5 * 1024 * 1024, ' '));
  EXPECT_EQ(kKSErr_FormatNotRecognized, skin.ReadSkinFile(folder.Spec(), &path, &text));
  EXPECT_EQ("Error reading skin file " + std::string(path.getCStr()) + ".",
            skin.ErrorPrefix().getCStr());
  EXPECT_STREQ(folder.Spec().GetPathCStr(), skin.Folder());
}
