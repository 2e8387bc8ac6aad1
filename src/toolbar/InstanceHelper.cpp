#include "toolbar/InstanceHelper.h"

HINSTANCE InstanceHelper::sInstance = nullptr;
KSFileSpec InstanceHelper::sInstanceSpec;
KSFileSpec InstanceHelper::sInstanceFolderSpec;
char InstanceHelper::sInitialDir[502] = {0};
long InstanceHelper::sStartupCounter = 0;

void InstanceHelper::Startup(HINSTANCE inInstance) {
  sInstance = inInstance;
  sStartupCounter++;
}

void InstanceHelper::Shutdown() {
  sStartupCounter--;
}
