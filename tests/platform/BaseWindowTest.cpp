#include <gtest/gtest.h>
#include <windows.h>
// The common controls' header needs the platform's types first.
#include <commctrl.h>

#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "platform/KSGdiObject.h"
#include "platform/cBaseWindow.h"
#include "platform/cImage.h"
#include "platform/windowproc.h"
#include "support/MessageBoxAnswerer.h"
#include "support/SkinFolder.h"

namespace {

// Writes down every On... call with its arguments.
class Recorder : public cBaseWindow {
 public:
  explicit Recorder(cBaseWindow* inParent = nullptr, long inCreateResult = 0)
      : cBaseWindow(inParent), mCreateResult(inCreateResult) {}

  // What was called since the last Take, one call per line.
  std::string Take() {
    std::string log;
    log.swap(mLog);
    return log;
  }

  long OnCreate() override { return Log("Create"), mCreateResult; }
  void OnClose() override { Log("Close"); }
  void OnPaint(HDC) override { Log("Paint"); }
  void OnPaint(HDC, long inItem, KSRect* inRect, bool inSelected) override {
    Log("PaintItem", inItem, inRect->bottom - inRect->top > 0, inSelected);
  }
  void OnClick() override { Log("Click"); }
  void OnScrolled(long inPosition) override { Log("Scrolled", inPosition); }
  void OnLMouseDown(const KSPoint& inAt) override { Log("LMouseDown", inAt.h, inAt.v); }
  void OnLMouseUp(const KSPoint& inAt) override { Log("LMouseUp", inAt.h, inAt.v); }
  void OnLMouseDoubleClick(const KSPoint& inAt) override { Log("LMouseDouble", inAt.h, inAt.v); }
  void OnMouseMove(const KSPoint& inAt) override { Log("MouseMove", inAt.h, inAt.v); }
  void OnKeyDown(unsigned long inFlags, unsigned long inKey) override {
    Log("KeyDown", inFlags, inKey);
  }
  void OnKeyUp(unsigned long inFlags, unsigned long inKey) override {
    Log("KeyUp", inFlags, inKey);
  }
  void OnTimer(long inID) override { Log("Timer", inID); }
  void OnMove(long inX, long inY) override { Log("Move", inX, inY); }
  void OnSize(long inWidth, long inHeight) override { Log("Size", inWidth, inHeight); }
  void OnWinNotify(NMHDR* inHeader) override { Log("Notify", long(inHeader->code)); }
  void OnTrayIconRightClick() override { Log("TrayRightClick"); }
  void OnCommand(long inID) override { Log("Command", inID); }
  void OnToolbarUserMsg(long inValue) override { Log("UserMsg", inValue); }

 private:
  template <typename... Args>
  void Log(const char* inWhat, Args... inArgs) {
    mLog += inWhat;
    ((mLog += " " + std::to_string(inArgs)), ...);
    mLog += "\n";
  }

  long mCreateResult;
  std::string mLog;
};

class BaseWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(0, RegisterToolbarWindowClass()); }

  static long Send(cBaseWindow& inWind, UINT inMsg, WPARAM inWParam, LPARAM inLParam) {
    return long(SendMessageW(inWind.Wind(), inMsg, inWParam, inLParam));
  }

  Recorder mPopup;
};

}  // namespace

TEST_F(BaseWindow, MessagesReachTheirOnOperationsWithTheirArguments) {
  ASSERT_EQ(0, mPopup.CreatePopup(10, 10, 100, 60, 0, nullptr));
  EXPECT_EQ(0u, mPopup.Take().find("Create\n"));
  struct Case {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    const char* calls;
  };
  const Case cases[] = {
      {WM_MOUSEMOVE, 0, MAKELPARAM(-5, -7), "MouseMove -5 -7\n"},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4), "LMouseDown 3 4\n"},
      {WM_LBUTTONUP, 0, MAKELPARAM(-1, 70000), "LMouseUp -1 4464\n"},
      {WM_LBUTTONDBLCLK, 0, MAKELPARAM(8, 9), "LMouseDouble 8 9\n"},
      {WM_KEYDOWN, VK_LEFT, 1, "KeyDown 0 37\n"},
      {WM_KEYUP, 'A', 1, "KeyUp 0 65\n"},
      {WM_MOVE, 0, MAKELPARAM(-20, 30), "Move -20 30\n"},
      {WM_SIZE, SIZE_RESTORED, MAKELPARAM(40, 50), "Size 40 50\n"},
      {WM_TIMER, 7, 0, "Timer 7\n"},
      {WM_COMMAND, MAKEWPARAM(1234, 0), 0, "Command 1234\n"},
      {kToolbarUserMsg, KSFourCC("SCge"), 0, "UserMsg 1396926309\n"},
      {kTrayIconMsg, 1, WM_RBUTTONDOWN, "TrayRightClick\n"},
      {kTrayIconMsg, 1, WM_MOUSEMOVE, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.calls);
    Send(mPopup, c.msg, c.wParam, c.lParam);
    EXPECT_EQ(c.calls, mPopup.Take());
  }

  // The system menu (the toolbar's window has one) offers minimising only
  // while not minimised.
  SetWindowLongPtrW(mPopup.Wind(), GWL_STYLE,
                    GetWindowLongPtrW(mPopup.Wind(), GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
  HMENU menu = GetSystemMenu(mPopup.Wind(), FALSE);
  EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
  Send(mPopup, WM_INITMENU, WPARAM(menu), 0);
  EXPECT_FALSE(GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED);

  // Closing is left to OnClose; the base class's destroys the window.
  mPopup.Take();
  Send(mPopup, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, mPopup.Take().find("Close\n"));
  cBaseWindow plain(nullptr);
  ASSERT_EQ(0, plain.CreatePopup(0, 0, 10, 10, 0, nullptr));
  Send(plain, WM_CLOSE, 0, 0);
  EXPECT_EQ(nullptr, plain.Wind());
}

TEST_F(BaseWindow, NativeControlsReportToTheirOwnObjects) {
  ASSERT_EQ(0, mPopup.CreatePopup(10, 10, 200, 200, kWindowVisible, nullptr));
  Recorder button(&mPopup), bar(&mPopup), check(&mPopup), edit(&mPopup);
  ASSERT_EQ(0,
            button.CreateControl(kControlTypeButton, 0, 1, 0, 0, 60, 20, kWindowVisible, &mPopup));
  ASSERT_EQ(0, bar.CreateControl(kControlTypeScrollBar, 0, 3, 0, 100, 80, 16, 0, &mPopup));
  ASSERT_EQ(0, check.CreateControl(kControlTypeCheckBox, 0, 4, 0, 120, 80, 16, 0, &mPopup));
  ASSERT_EQ(0, edit.CreateControl(kControlTypeEdit, kStyleReadOnly, 5, 0, 140, 80, 16, 0, &mPopup));
  bar.Take(), button.Take();
  // (A click and a choice reach the control's object as the skin tests see.)
  // A double click is a second click.
  Send(mPopup, WM_COMMAND, MAKEWPARAM(1, BN_DOUBLECLICKED), LPARAM(button.Wind()));
  EXPECT_EQ("Click\n", button.Take());

  // Scrolling: the bar's position for steps, the thumb's while tracking.
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_POS, 0, 100, 0, 33, 0};
  SetScrollInfo(bar.Wind(), SB_CTL, &info, FALSE);
  const std::pair<WORD, const char*> scrolls[] = {
      {SB_LINEDOWN, "Scrolled 33\n"}, {SB_BOTTOM, "Scrolled 33\n"}, {SB_ENDSCROLL, ""}};
  for (const auto& scroll : scrolls) {
    Send(mPopup, WM_VSCROLL, MAKEWPARAM(scroll.first, 90), LPARAM(bar.Wind()));
    EXPECT_EQ(scroll.second, bar.Take()) << scroll.first;
  }
  Send(mPopup, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 42), LPARAM(bar.Wind()));
  EXPECT_EQ("Scrolled 42\n", bar.Take());

  // Notifications: a tool tip that hides has its window repainted; others
  // reach the sender with the header.
  ValidateRect(button.Wind(), nullptr);
  NMHDR header = {button.Wind(), 1, UINT(TTN_POP)};
  Send(mPopup, WM_NOTIFY, 1, LPARAM(&header));
  EXPECT_TRUE(GetUpdateRect(button.Wind(), nullptr, FALSE));
  header.code = UINT(NM_CUSTOMDRAW);
  Send(mPopup, WM_NOTIFY, 1, LPARAM(&header));
  EXPECT_EQ("Notify -12\n", button.Take());

  // Check boxes get no background brush; push buttons and read-only edits
  // get the default one.
  KSWindowDC dc(mPopup.Wind());
  LRESULT none = LRESULT(GetStockObject(NULL_BRUSH));
  EXPECT_EQ(none, Send(mPopup, WM_CTLCOLORSTATIC, WPARAM(dc.Get()), LPARAM(check.Wind())));
  EXPECT_EQ(TRANSPARENT, GetBkMode(dc.Get()));
  EXPECT_NE(none, Send(mPopup, WM_CTLCOLORBTN, WPARAM(dc.Get()), LPARAM(button.Wind())));
  EXPECT_NE(none, Send(mPopup, WM_CTLCOLORSTATIC, WPARAM(dc.Get()), LPARAM(edit.Wind())));
}

TEST_F(BaseWindow, OwnerDrawnControlsPaintMeasureAndRefreshWhatTheyOverlap) {
  ASSERT_EQ(0, mPopup.CreatePopup(10, 10, 200, 200, kWindowVisible, nullptr));
  // A list box measured while it is created, before its object is linked:
  // by the font made last. (One linked measures itself: see the list view's
  // rows.)
  ASSERT_EQ(0, mPopup.InitFont("Arial", 30, 0));
  long width = 0, lineHeight = 0;
  ASSERT_EQ(0, BaseGetTextExtent("ABCxyz", mPopup.Font(), &width, &lineHeight));
  Recorder list(&mPopup);
  ASSERT_EQ(0,
            list.CreateControl(kControlTypeListBox, kStyleCustom, 2, 0, 0, 150, 120, 0, &mPopup));
  EXPECT_EQ(lineHeight, SendMessageW(list.Wind(), LB_GETITEMHEIGHT, 0, 0));
  list.Take();

  SendMessageW(list.Wind(), LB_ADDSTRING, 0, LPARAM(L"one"));
  SendMessageW(list.Wind(), LB_ADDSTRING, 0, LPARAM(L"two"));
  SendMessageW(list.Wind(), LB_SETCURSEL, 1, 0);
  list.Show(true, false);
  list.Take();
  RedrawWindow(list.Wind(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ("PaintItem 0 1 0\nPaintItem 1 1 1\n", list.Take());

  // An owner-drawn button repaints the sibling below it that it overlaps,
  // and only that one.
  Recorder below(&mPopup), apart(&mPopup), button(&mPopup);
  ASSERT_EQ(0, below.CreateChild(10, 150, 0, 40, 40, kWindowVisible, &mPopup));
  ASSERT_EQ(0, apart.CreateChild(11, 150, 150, 40, 40, kWindowVisible, &mPopup));
  ASSERT_EQ(0, button.CreateControl(kControlTypeButton, kStyleCustom, 12, 160, 10, 30, 20,
                                    kWindowVisible, &mPopup));
  SetWindowPos(button.Wind(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  UpdateWindow(mPopup.Wind());
  below.Take(), apart.Take(), button.Take();
  RedrawWindow(button.Wind(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ("Paint\n", button.Take());
  EXPECT_EQ("Paint\n", below.Take());
  EXPECT_EQ("", apart.Take());
}

TEST_F(BaseWindow, ShapesAreWhatThePlatformSees) {
  // The window's shape as "left top right bottom" of its box, with whether
  // it holds inX, inY; "none" without a shape.
  HRGN seen = CreateRectRgn(0, 0, 0, 0);
  auto shape = [seen](const cBaseWindow& inWind, int inX, int inY) {
    RECT box;
    if (GetWindowRgn(inWind.Wind(), seen) == ERROR) {
      return std::string("none");
    }
    GetRgnBox(seen, &box);
    return std::to_string(box.left) + " " + std::to_string(box.top) + " " +
           std::to_string(box.right) + " " + std::to_string(box.bottom) +
           (PtInRegion(seen, inX, inY) ? " in" : " out");
  };
  ASSERT_EQ(0, mPopup.CreatePopup(10, 10, 60, 40, 0, nullptr));
  EXPECT_EQ(kKSErr_BadState, mPopup.SetShape(nullptr));
  // A keyed 6 x 4 picture whose left half is opaque, read from a file.
  SkinFolder files;
  files.Picture("half.bmp", 6, 4, 0x102030, KSRect{3, 0, 6, 4});
  cImage picture;
  ASSERT_EQ(0, picture.LoadFile((files.Path() + "\\half.bmp").c_str()));
  ASSERT_EQ(0, picture.MakeTransparent(0xFF, 0, 0xFF));
  ASSERT_EQ(0, mPopup.SetShape(&picture));
  EXPECT_EQ("0 0 3 4 in", shape(mPopup, 2, 3));
  // A window without a shape adds nothing to a union.
  cBaseWindow bare(nullptr);
  ASSERT_EQ(0, bare.CreatePopup(0, 0, 30, 30, 0, nullptr));
  ASSERT_EQ(0, mPopup.CombineShape(&bare, 0, 0));
  EXPECT_EQ("0 0 3 4 in", shape(mPopup, 2, 3));
  ASSERT_EQ(0, mPopup.SetDefaultShape());
  EXPECT_EQ("0 0 60 40 in", shape(mPopup, 59, 39));
  mPopup.ResetShape();
  EXPECT_EQ("none", shape(mPopup, 0, 0));
  DeleteObject(seen);
}

TEST_F(BaseWindow, GeometryTextFontAndOwner) {
  char text[8] = "x";
  long x = 0, y = 0, w = 0, h = 0;
  EXPECT_EQ(kKSErr_BadState, mPopup.GetPosition(&x, &y, &w, &h));  // no window yet

  // A popup is placed on the screen, a child in its parent.
  cBaseWindow owner(nullptr);
  ASSERT_EQ(0, owner.CreatePopup(0, 0, 10, 10, kWindowVisible, nullptr));
  ASSERT_EQ(0, mPopup.CreatePopup(100, 120, 200, 80, 0, &owner));
  Recorder child(&mPopup);
  ASSERT_EQ(0, child.CreateChild(3, 10, 20, 30, 40, kWindowBorder, &mPopup));
  ASSERT_EQ(0, mPopup.GetPosition(&x, &y, &w, &h));
  EXPECT_EQ((std::vector<long>{100, 120, 200, 80}), (std::vector<long>{x, y, w, h}));
  ASSERT_EQ(0, child.GetPosition(&x, &y, nullptr, nullptr));
  EXPECT_EQ((std::vector<long>{10, 20}), (std::vector<long>{x, y}));
  // A popup that belongs to a window object (a drop-down list) is still on
  // the screen, so that moving it by its own position keeps it in place.
  cBaseWindow floating(&child);
  ASSERT_EQ(0, floating.CreatePopup(300, 310, 20, 20, 0, &owner));
  ASSERT_EQ(0, floating.GetPosition(&x, &y, nullptr, nullptr));
  EXPECT_EQ((std::vector<long>{300, 310}), (std::vector<long>{x, y}));
  ASSERT_EQ(0, child.SetPosition(-5, 6, 50, 30, false));
  KSRect client;
  ASSERT_EQ(0, child.GetClientRect(&client));
  EXPECT_EQ(48, client.right);  // inside the thin border
  // A click passed on lands on the same screen point, in the target's terms.
  mPopup.Take();
  child.ForwardMouseClick(KSPoint{2, 3}, &mPopup);
  EXPECT_EQ("LMouseDown -2 10\n", mPopup.Take());

  // Text is UTF-8 and cut between characters.
  ASSERT_EQ(0, mPopup.SetText("Wave \xC3\xA9\xC3\xA9"));
  ASSERT_EQ(0, mPopup.GetText(text, sizeof(text)));
  EXPECT_STREQ("Wave \xC3\xA9", text);

  // 8 points at 96 pixels per inch, given to the control; the font made
  // last measures the items of controls without an object.
  Recorder button(&mPopup);
  ASSERT_EQ(0, button.CreateControl(kControlTypeButton, 0, 4, 0, 0, 40, 20, 0, &mPopup));
  ASSERT_EQ(0, button.InitFont("Arial", 8, kTextBold | kTextItalic));
  LOGFONTW font = {};
  GetObjectW(HFONT(SendMessageW(button.Wind(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(-11, font.lfHeight);
  EXPECT_EQ(FW_BOLD, font.lfWeight);
}

// The boxes' title is the error box's (see BaseShowError).
TEST_F(BaseWindow, CreationFailuresAreErrorCodesAndLeaveNoWindow) {
  MessageBoxAnswerer answerer;
  Recorder refusing(nullptr, kKSErr_FileNotFound);
  EXPECT_EQ(kKSErr_FileNotFound, refusing.CreatePopup(0, 0, 10, 10, 0, nullptr));
  EXPECT_FALSE(refusing.IsWindow());

  ASSERT_EQ(0, mPopup.CreatePopup(0, 0, 100, 100, 0, nullptr));
  Recorder control(&mPopup, kKSErr_FileNotFound);
  EXPECT_EQ(kKSErr_FileNotFound,
            control.CreateControl(kControlTypeButton, 0, 1, 0, 0, 10, 10, 0, &mPopup));
  EXPECT_EQ(nullptr, GetWindow(mPopup.Wind(), GW_CHILD));
  EXPECT_EQ(nullptr, control.Wind());

  Recorder orphan(nullptr);
  EXPECT_NE(0, orphan.CreateChild(1, 0, 0, 10, 10, 0, nullptr));
  // A type without a native control makes nothing and shows nothing.
  EXPECT_EQ(kKSErr_FormatNotRecognized,
            control.CreateControl(kControlTypeToolPage, 0, 1, 0, 0, 10, 10, 0, &mPopup));
  // A window of the class without an object cannot be made.
  EXPECT_EQ(nullptr, CreateWindowExW(0, kToolbarWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr));
  std::vector<std::string> texts = answerer.Texts();
  ASSERT_EQ(3u, texts.size());
  EXPECT_EQ("Error creating popup window. File/Folder not found Kestrova Corvexa Toolbar",
            texts[0]);
  EXPECT_EQ("Control creation failed. File/Folder not found BUTTON", texts[1]);
  EXPECT_EQ(0u, texts[2].find("Error creating child window."));
}
