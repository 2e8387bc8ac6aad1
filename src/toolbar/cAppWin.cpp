#include "toolbar/cAppWin.h"

cAppWin::cAppWin() : cWindow(0, nullptr) {}
cAppWin::~cAppWin() {}
void cAppWin::AlwaysOnTop(bool inAlwaysOnTop) {
  cWindow::AlwaysOnTop(inAlwaysOnTop);
}
long cAppWin::OnCreate() {
  return 0;
}
void cAppWin::OnDestroy() {}
void cAppWin::OnLMouseDown(const KSPoint&) {}
void cAppWin::OnLMouseUp(const KSPoint&) {}
void cAppWin::OnLMouseDoubleClick(const KSPoint&) {}
void cAppWin::OnMouseMove(const KSPoint&) {}
void cAppWin::OnTimer(long) {}
void cAppWin::OnSize(long, long) {}
void cAppWin::OnChildResized() {}
void cAppWin::OnToolbarUserMsg(long) {}
long cAppWin::LoadSkin(const char*) {
  return 0;
}
void cAppWin::EnableToolTips(bool) {}
