#include <windows.h>

#include "toolbar/InstanceHelper.h"
#include "toolbar/cAppWin.h"
#include "toolbar/mainwin.h"

int WINAPI WinMain(HINSTANCE inInstance, HINSTANCE, LPSTR, int) {
  InstanceHelper::Startup(inInstance);
  cAppWin* appWin = nullptr;
  CreateMainWindow(&appWin);
  InstanceHelper::Shutdown();
  return 0;
}
