#include "toolbar/cAppWin.h"

void cAppWin::OnTrayIconRightClick() {}
void cAppWin::OnCommand(long) {}
