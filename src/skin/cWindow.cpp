#include "skin/cWindow.h"

#include <new>

#include "foundation/KSError.h"

cWindow::cWindow(long inID, cWindow* inParent)
    : cBaseWindow(inParent), mID(inID), mSpriteX(0), mSpriteY(0) {}

cWindow::~cWindow() {
  mSprite.reset();
}

bool cWindow::BoolProp() {
  return false;
}

long cWindow::IntProp() {
  return 0;
}

UtilStr cWindow::StringProp() {
  return UtilStr();
}

void cWindow::BoolProp(bool) {}
void cWindow::IntProp(long) {}
void cWindow::StringProp(const char*) {}

bool cWindow::OnTryAdjustSize(cWindow*) {
  return false;
}

void cWindow::OnUIFunction(cWindow*, eUIFunction, void*) {}
void cWindow::OnKSMPReply(const char*, eRequestType, void*) {}
void cWindow::OnKSMPNotify(long, const char*, const char*) {}

void cWindow::NotifyParent(eUIFunction inFunction, void* inValue) {
  if (cWindow* parent = ParentWindow()) {
    parent->OnUIFunction(this, inFunction, inValue);
  }
}

long cWindow::LoadGraphics(const char* inPath, long inX, long inY, const KSRGBA& inTransparentColor,
                           bool inAutoSize) {
  std::unique_ptr<cSprite> sprite(new (std::nothrow) cSprite);
  if (!sprite) {
    return kKSErr_AllocFailed;
  }
  long err = sprite->Load(inPath);
  if (err != 0) {
    mSprite.reset();
    return err;
  }
  mSprite = std::move(sprite);
  mSpriteX = inX;
  mSpriteY = inY;
  // Frames that cannot be keyed are drawn opaque.
  mSprite->MakeTransparent(inTransparentColor.mR, inTransparentColor.mG, inTransparentColor.mB);
  if (inAutoSize) {
    Resize(mSprite->Width(), mSprite->Height(), true);
  }
  return 0;
}

void cWindow::SetFrame(unsigned long inFrame) {
  if (!mSprite || mSprite->CurFrame() == inFrame) {
    return;
  }
  mSprite->SetFrame(inFrame);
  if (mSprite->CurFrame() == inFrame) {
    Invalidate();
  }
}

cImage* cWindow::CurrentFrame() const {
  return mSprite ? mSprite->Frame() : nullptr;
}

long cWindow::MoveBy(long inDX, long inDY, bool inRedraw) {
  KSRect rect;
  long err = GetPosition(&rect);
  if (err != 0) {
    return err;
  }
  return SetPosition(rect.left + inDX, rect.top + inDY, rect.right - rect.left,
                     rect.bottom - rect.top, inRedraw);
}

long cWindow::SetPosition(long inX, long inY, bool inRedraw) {
  KSRect rect;
  long err = GetPosition(&rect);
  if (err != 0) {
    return err;
  }
  return SetPosition(inX, inY, rect.right - rect.left, rect.bottom - rect.top, inRedraw);
}

long cWindow::Resize(long inWidth, long inHeight, bool inRedraw) {
  KSRect rect;
  long err = GetPosition(&rect);
  if (err != 0) {
    return err;
  }
  return SetPosition(rect.left, rect.top, inWidth, inHeight, inRedraw);
}

long cWindow::GetPosition(KSRect* outRect) {
  long x = 0, y = 0, width = 0, height = 0;
  long err = GetPosition(&x, &y, &width, &height);
  if (err == 0) {
    *outRect = KSRect{int32(x), int32(y), int32(x + width), int32(y + height)};
  }
  return err;
}

long cWindow::X() {
  KSRect rect = {0, 0, 0, 0};
  GetPosition(&rect);
  return rect.left;
}

long cWindow::Y() {
  KSRect rect = {0, 0, 0, 0};
  GetPosition(&rect);
  return rect.top;
}

long cWindow::Width() {
  KSRect rect = {0, 0, 0, 0};
  GetPosition(&rect);
  return rect.right - rect.left;
}

long cWindow::Height() {
  KSRect rect = {0, 0, 0, 0};
  GetPosition(&rect);
  return rect.bottom - rect.top;
}

long cWindow::ClientWidth() {
  KSRect client = {0, 0, 0, 0};
  GetClientRect(&client);
  return client.right;
}

long cWindow::ClientHeight() {
  KSRect client = {0, 0, 0, 0};
  GetClientRect(&client);
  return client.bottom;
}

void cWindow::OnPaint(HDC inDC) {
  if (cImage* frame = CurrentFrame()) {
    frame->BitBlt(inDC, mSpriteX, mSpriteY);
  }
}
