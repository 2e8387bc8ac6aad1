// What the control tests stand on: a visible popup in the place of a tool
// page, which writes down what its controls report, descriptions as the skin
// parser starts them, and pictures of solid frames; and for the page tests,
// a window that loads a skin's page as the application window does.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "platform/KSGdiObject.h"
#include "platform/windowproc.h"
#include "skin/cControl.h"
#include "skin/cSkin.h"
#include "skin/cToolPage.h"
#include "support/SkinFolder.h"

// Writes down reports as "<source identifier>:<function> " and scroll
// positions as "scrolled <position> ".
class TestParent : public cWindow {
 public:
  TestParent() : cWindow(0, nullptr) {}

  void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void*) override {
    mLog += std::to_string(inSource->ID()) + ":" + std::to_string(inFunction) + " ";
  }
  void OnScrolled(long inPosition) override {
    mLog += "scrolled " + std::to_string(inPosition) + " ";
  }

  std::string Take() { return std::exchange(mLog, ""); }

 private:
  std::string mLog;
};

// What the application window does with its page; it writes down the
// functions that reach it as TestParent does, and counts the clicks that
// reach its background.
class PageHost : public TestParent {
 public:
  long Load(const SkinFolder& inSkin, long inX = 10, long inY = 10, long inWidth = 0,
            long inHeight = 0) {
    long err = CreatePopup(inX, inY, inWidth, inHeight, kWindowVisible, nullptr);
    return err != 0 ? err : mSkin.Load(inSkin.Spec(), this, &mPage);
  }
  cControl* At(unsigned long inID) { return mPage->Control(inID); }

  void OnChildResized() override {
    ResetShape();
    KSRect page;
    if (mPage && mPage->GetPosition(&page) == 0) {
      Resize(page.right, page.bottom, true);
      CombineShape(mPage.get(), page.left, page.top);
    }
  }
  void OnLMouseDown(const KSPoint&) override { mBackgroundClicks++; }

  // Whether the window's shape holds a point.
  bool Shows(int inX, int inY) {
    KSGdiObj<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(Wind(), shape.Get()) != ERROR && PtInRegion(shape.Get(), inX, inY);
  }

  cSkin mSkin;
  std::unique_ptr<cToolPage> mPage;
  int mBackgroundClicks = 0;
};

// A description with the built-in defaults, 120 x 24 at (10, 10) in both
// modes.
inline ControlInfo Describe(eControlType inType, eUIFunction inFunction = kUINull) {
  ControlInfo info;
  cSkin::InitControlInfo(&info, inType, nullptr, KSRGBA{0, 0, 0, 0});
  info.Function = uint8(inFunction);
  for (ModeInfo& mode : info.Modes) {
    mode = ModeInfo{10, 10, 120, 24, true};
  }
  return info;
}

inline std::string Str(const KSRect& inRect) {
  return std::to_string(inRect.left) + " " + std::to_string(inRect.top) + " " +
         std::to_string(inRect.right) + " " + std::to_string(inRect.bottom);
}

// The box of a window's shape, or "none".
inline std::string ShapeOf(HWND inWind) {
  KSGdiObj<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
  RECT box;
  if (GetWindowRgn(inWind, shape.Get()) == ERROR || GetRgnBox(shape.Get(), &box) == ERROR) {
    return "none";
  }
  return Str(KSRect{box.left, box.top, box.right, box.bottom});
}

class ControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(0, RegisterToolbarWindowClass()); }
  void SetUp() override {
    ASSERT_EQ(0, mParent.CreatePopup(20, 20, 400, 300, kWindowVisible, nullptr));
  }

  // Created, placed for the extended mode and shown, as a page does it.
  template <typename T>
  std::unique_ptr<T> Make(const ControlInfo& inInfo, long inID = 1) {
    auto control = std::make_unique<T>(&inInfo, inID, &mParent);
    EXPECT_EQ(0, control->Create());
    KSRect at;
    control->GetModePosition(kModeExtended, &at);
    control->SetPosition(at.left, at.top, at.right - at.left, at.bottom - at.top, false);
    control->Show(true, false);
    return control;
  }

  // Writes inName01.bmp, inName02.bmp, ... of inWidth x inHeight, one per
  // colour (0xRRGGBB), and sets outField to their pattern.
  void Frames(char (&outField)[kSkinPathSize], const std::string& inName, int inWidth, int inHeight,
              std::initializer_list<uint32> inColors) {
    int number = 1;
    for (uint32 color : inColors) {
      char frame[32];
      snprintf(frame, sizeof(frame), "%s%02d.bmp", inName.c_str(), number++);
      mPictures.Picture(frame, inWidth, inHeight, color);
    }
    snprintf(outField, kSkinPathSize, "%s\\%s??.bmp", mPictures.Path().c_str(), inName.c_str());
  }

  TestParent mParent;
  SkinFolder mPictures;
};
