// TEMPORARY: the sync helper's branch replaces this file
#include "toolbar/cAppWin.h"

void cAppWin::OnUIFunction(cWindow*, eUIFunction, void*) {}
bool cAppWin::UpdateCommandStatus(long) {
  return false;
}
void cAppWin::ApplyListItemsToEngine(cStandardListView*, bool) {}
void cAppWin::SetItemEnabled(cStandardListView*, long) {}
void cAppWin::SetAllItemsEnabled(cStandardListView*, bool) {}
void cAppWin::ApplyExternalSpriteDirToEngine(bool) {}
void cAppWin::DoNextConfg(CXConfigType, long) {}
