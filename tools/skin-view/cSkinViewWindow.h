// cSkinViewWindow: a plain top-level window of the toolbar's class holding
// one skin's pages and controls, and nothing of the application: it sizes
// and shapes itself to its outermost page as the toolbar does, moves when
// its background is dragged and closes on the skin's Close function or the
// Escape key.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin-view/SkinViewOptions.h"
#include "skin/cSkin.h"
#include "skin/cStandardToolTip.h"
#include "skin/cToolPage.h"
#include "skin/cWindow.h"

class KSFileSpec;

class cSkinViewWindow : public cWindow {
 public:
  cSkinViewWindow();
  // The pages go before the window.
  ~cSkinViewWindow() override;

  // The window, hidden and of size 0, with its top-left corner at (inX, inY).
  long Open(long inX, long inY);
  // Loads the skin of inSkinFolder (an error box says why it cannot) and
  // fills its controls with samples.
  long LoadSkin(const KSFileSpec& inSkinFolder);
  // The mode each page of the loaded skin starts in: inModes, but extended
  // for the pages named in inOpen and the pages around them. False, with
  // the name in outMissing, when no page has one of the names.
  bool ChooseModes(eSkinViewModes inModes, const std::vector<std::string>& inOpen,
                   std::string* outMissing);
  // Lays the pages out in their modes; with inToolTips the controls show
  // their tips.
  void Start(bool inToolTips);

  void OnChildResized() override;
  void OnUIFunction(cWindow* inSource, eUIFunction inFunction, void* inValue) override;
  void OnPaint(HDC inDC) override;
  using cWindow::OnPaint;
  void OnLMouseDown(const KSPoint& inPoint) override;
  void OnMouseMove(const KSPoint& inPoint) override;
  void OnLMouseUp(const KSPoint& inPoint) override;
  // Escape closes the window, for skins without a Close button.
  void OnKeyDown(unsigned long inFlags, unsigned long inVirtualKey) override;
  // Ends the message loop.
  void OnDestroy() override;

 private:
  void DragBy(const KSPoint& inPoint);

  cSkin mSkin;
  std::unique_ptr<cStandardToolTip> mToolTip;
  std::unique_ptr<cToolPage> mPage;
  bool mDragging;
  KSPoint mDragPos;
};
