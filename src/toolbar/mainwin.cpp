#include "toolbar/mainwin.h"

#include "toolbar/cAppWin.h"

long CreateMainWindow(cAppWin** outAppWin) {
  *outAppWin = nullptr;
  return 0;
}
