// cToolPage: the controls it holds, creating their windows, finding them,
// their tips, their ticks, and the page's own background.
#include "skin/cToolPage.h"

#include <new>

#include "foundation/KSError.h"
#include "platform/BaseUtils.h"
#include "skin/SkinControlFactory.h"
#include "skin/cStandardToolTip.h"

namespace {

// The control array grows by this many entries at a time.
const unsigned long kControlsStep = 32;

// Timer 1 drives the controls' OnUpdate.
const long kUpdateTimer = 1;
const unsigned long kUpdateMS = 100;

}  // namespace

cToolPage::cToolPage(const ToolPageInfo* inPageInfo, const ControlInfo* inInfo, long inID,
                     cWindow* inParent)
    : cControl(inInfo, inID, inParent),
      mNumControls(0),
      mCapacity(0),
      mToolPageMode(ModeIndex(inPageInfo->DefMode)),
      mInitializing(false),
      mToolPageInfo(*inPageInfo),
      mToolTip(nullptr),
      mSweptNews(0),
      mSweepAgain(true) {}

cToolPage::~cToolPage() {
  mControls.reset();
}

cToolPage* cToolPage::AsPage(cControl* inControl) {
  return dynamic_cast<cToolPage*>(inControl);
}

cControl* cToolPage::Control(unsigned long inID) const {
  return inID < mNumControls ? mControls[inID].get() : nullptr;
}

long cToolPage::CreateControl(const ControlInfo* inInfo) {
  std::unique_ptr<cControl> control;
  long err = MakeSkinControl(*inInfo, long(mNumControls), this, &control);
  return err != 0 ? err : AddControl(&control);
}

long cToolPage::AddControl(std::unique_ptr<cControl>* ioControl) {
  if (mNumControls == mCapacity) {
    unsigned long capacity = mCapacity + kControlsStep;
    std::unique_ptr<std::unique_ptr<cControl>[]> grown(new (std::nothrow)
                                                           std::unique_ptr<cControl>[capacity]);
    if (!grown) {
      return kKSErr_AllocFailed;
    }
    for (unsigned long i = 0; i < mNumControls; i++) {
      grown[i] = std::move(mControls[i]);
    }
    mControls = std::move(grown);
    mCapacity = capacity;
  }
  mControls[mNumControls++] = std::move(*ioControl);
  return 0;
}

long cToolPage::Create() {
  return CreateOwnChild(HasStyle(kStyleBorder) ? kWindowBorder : 0);
}

long cToolPage::OnCreate() {
  long err = cControl::OnCreate();
  for (unsigned long i = 0; err == 0 && i < mNumControls; i++) {
    err = mControls[i]->Create();
    if (err != 0) {
      ErrorMsg(mControls[i]->ErrorMsg());
    }
  }
  // One timer for a whole tree of pages: the outermost page's ticks reach
  // the nested ones through OnUpdate.
  if (err == 0 && dynamic_cast<cToolPage*>(ParentWindow()) == nullptr) {
    err = SetTimer(kUpdateTimer, kUpdateMS);
  }
  return err;
}

void cToolPage::Initialize() {
  mToolPageMode = mToolPageInfo.DefMode;
  mInitializing = true;
  for (unsigned long i = 0; i < mNumControls; i++) {
    mControls[i]->Initialize();
  }
  mInitializing = false;
  SetToolPageMode(mToolPageMode);
}

cControl* cToolPage::FindControl(eUIFunction inFunction) {
  for (unsigned long i = 0; i < mNumControls; i++) {
    cControl* control = mControls[i].get();
    if (control->Function() == inFunction) {
      return control;
    }
    if (cControl* inside = control->FindControl(inFunction)) {
      return inside;
    }
  }
  return nullptr;
}

void cToolPage::ToolTip(cStandardToolTip* inTip) {
  mToolTip = inTip;
  for (unsigned long i = 0; i < mNumControls; i++) {
    cControl* control = mControls[i].get();
    if (inTip != nullptr && control->Info()->ToolTip[0] != 0) {
      inTip->AddTool(control, control->Info()->ToolTip);
    }
    if (cToolPage* page = AsPage(control)) {
      page->ToolTip(inTip);
    }
  }
}

void cToolPage::OnTimer(long) {
  if (!IsVisible()) {
    mSweepAgain = true;  // the first tick after showing sweeps
    return;
  }
  // No pointer news and nobody holding the mouse: every hover frame is
  // right and nothing repeats, and a sweep would only ask each control so.
  unsigned long news = PointerNews();
  if (news == mSweptNews && !mSweepAgain) {
    return;
  }
  mSweptNews = news;
  OnUpdate();
  // A pressed button, an open floating list and a drag hold the mouse: a
  // held button repeats, and a lost capture is taken back, with the pointer
  // at rest.
  mSweepAgain = GetCapture() != nullptr;
}

void cToolPage::OnUpdate() {
  if (!IsVisible()) {
    return;
  }
  for (unsigned long i = 0; i < mNumControls; i++) {
    mControls[i]->OnUpdate();
  }
}

void cToolPage::OnPaint(HDC inDC) {
  KSRect client;
  if (CurrentFrame() != nullptr) {
    cControl::OnPaint(inDC);
  } else if (GetClientRect(&client) == 0) {
    BasePaint3DFace(inDC, client);
  }
}

KSPoint cToolPage::InParent(const KSPoint& inPoint) {
  KSPoint point = inPoint;
  ClientToScreen(&point);
  if (cWindow* parent = ParentWindow()) {
    parent->ScreenToClient(&point);
  }
  return point;
}

void cToolPage::OnLMouseDown(const KSPoint& inPoint) {
  if (cWindow* parent = ParentWindow()) {
    parent->OnLMouseDown(InParent(inPoint));
  }
}

void cToolPage::OnLMouseUp(const KSPoint& inPoint) {
  if (cWindow* parent = ParentWindow()) {
    parent->OnLMouseUp(InParent(inPoint));
  }
}

void cToolPage::OnLMouseDoubleClick(const KSPoint& inPoint) {
  if (cWindow* parent = ParentWindow()) {
    parent->OnLMouseDoubleClick(InParent(inPoint));
  }
}

void cToolPage::OnMouseMove(const KSPoint& inPoint) {
  if (cWindow* parent = ParentWindow()) {
    parent->OnMouseMove(InParent(inPoint));
  }
}
