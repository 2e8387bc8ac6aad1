#include "toolbar/cAppWin.h"

void cAppWin::BindControls() {}
void cAppWin::FillStaticGUILists() {}
void cAppWin::ApplyToolbarPrefsToGUI() {}
long cAppWin::getIndexFromFrameLimit(long) {
  return 0;
}
