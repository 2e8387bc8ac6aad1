#include "skin-view/cSkinViewWindow.h"

#include <cstring>

#include "platform/BaseUtils.h"
#include "skin-view/SkinSamples.h"
#include "skin/SkinErrorBox.h"

namespace {

// The nested pages of inPage.
template <typename F>
void ForEachPageIn(cToolPage* inPage, F inDo) {
  for (unsigned long i = 0; i < inPage->NumControls(); i++) {
    if (auto* page = dynamic_cast<cToolPage*>(inPage->Control(i))) {
      inDo(page);
    }
  }
}

// inPage and every page below it start in inMode.
void StartPagesIn(cToolPage* inPage, unsigned long inMode) {
  inPage->PageInfo()->DefMode = inMode;
  ForEachPageIn(inPage, [inMode](cToolPage* inPage) { StartPagesIn(inPage, inMode); });
}

// The pages named inName at or below inPage, and the pages around them,
// start extended; false when there is no such page.
bool OpenPages(cToolPage* inPage, const std::string& inName) {
  bool open = inName == inPage->ControlName();
  ForEachPageIn(inPage, [&](cToolPage* inPage) { open = OpenPages(inPage, inName) || open; });
  if (open) {
    inPage->PageInfo()->DefMode = kModeExtended;
  }
  return open;
}

}  // namespace

cSkinViewWindow::cSkinViewWindow() : cWindow(0, nullptr), mDragging(false), mDragPos{0, 0} {}

cSkinViewWindow::~cSkinViewWindow() {
  mToolTip.reset();
  mPage.reset();
}

long cSkinViewWindow::Open(long inX, long inY) {
  return CreatePopup(inX, inY, 0, 0, 0, nullptr);
}

long cSkinViewWindow::LoadSkin(const KSFileSpec& inSkinFolder) {
  long err = mSkin.Load(inSkinFolder, this, &mPage);
  if (err != 0) {
    mPage.reset();
    return err;
  }
  ShowPictureProblems(Wind(), mSkin);
  FillWithSamples(mPage.get());
  return 0;
}

bool cSkinViewWindow::ChooseModes(eSkinViewModes inModes, const std::vector<std::string>& inOpen,
                                  std::string* outMissing) {
  if (inModes != kViewSkinModes) {
    StartPagesIn(mPage.get(), inModes == kViewExtended ? kModeExtended : kModeRetracted);
  }
  for (const std::string& name : inOpen) {
    if (!OpenPages(mPage.get(), name)) {
      *outMissing = name;
      return false;
    }
  }
  return true;
}

void cSkinViewWindow::Start(bool inToolTips) {
  if (inToolTips) {
    ControlInfo tipInfo;
    std::memset(&tipInfo, 0, sizeof(tipInfo));
    tipInfo.Type = kControlTypeToolTip;
    mToolTip = std::make_unique<cStandardToolTip>(&tipInfo, 0, this);
    if (mToolTip->Create() == 0) {
      mPage->ToolTip(mToolTip.get());
    }
  }
  mPage->Initialize();
}

// As the toolbar does: the window is as large as the page reaches and has
// the page's shape, or none.
void cSkinViewWindow::OnChildResized() {
  ResetShape();
  KSRect page;
  if (!IsMinimized() && mPage && mPage->GetPosition(&page) == 0) {
    Resize(page.right, page.bottom, true);
    FollowShapeOf(mPage.get(), page.left, page.top);
  }
  Invalidate();
}

void cSkinViewWindow::OnUIFunction(cWindow*, eUIFunction inFunction, void*) {
  if (inFunction == kUIClose) {
    Close();
  }
}

void cSkinViewWindow::OnPaint(HDC inDC) {
  KSRect client;
  if (GetClientRect(&client) == 0) {
    BasePaint3DFace(inDC, client);
  }
}

void cSkinViewWindow::OnLMouseDown(const KSPoint& inPoint) {
  mDragging = true;
  mDragPos = inPoint;
  CaptureMouse();
}

void cSkinViewWindow::OnMouseMove(const KSPoint& inPoint) {
  if (mDragging) {
    DragBy(inPoint);
  }
}

void cSkinViewWindow::OnLMouseUp(const KSPoint& inPoint) {
  if (mDragging) {
    DragBy(inPoint);
    mDragging = false;
    ReleaseMouse();
  }
}

// The pointer keeps its place on the window.
void cSkinViewWindow::DragBy(const KSPoint& inPoint) {
  long dx = inPoint.h - mDragPos.h;
  long dy = inPoint.v - mDragPos.v;
  if (dx != 0 || dy != 0) {
    MoveBy(dx, dy, true);
  }
}

void cSkinViewWindow::OnKeyDown(unsigned long, unsigned long inVirtualKey) {
  if (inVirtualKey == VK_ESCAPE) {
    Close();
  }
}

void cSkinViewWindow::OnDestroy() {
  mToolTip.reset();
  mPage.reset();
  BaseExitApp();
}
