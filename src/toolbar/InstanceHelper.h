// InstanceHelper: the process-wide start and stop of shared services (the
// socket layer), and where the program lives and which directory was current
// when it started. Startup and Shutdown nest: only the first Startup and the
// last Shutdown do any work.
#pragma once

#include <windows.h>

#include "files/KSFileSpec.h"

class InstanceHelper {
 public:
  static void Startup(HINSTANCE inInstance);
  static void Shutdown();

  static HINSTANCE sInstance;
  static KSFileSpec sInstanceSpec;        // the program file
  static KSFileSpec sInstanceFolderSpec;  // the folder holding it
  static char sInitialDir[502];           // the current directory at start
  static long sStartupCounter;
};
