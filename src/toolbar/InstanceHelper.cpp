#include "toolbar/InstanceHelper.h"

#include <cstdlib>
#include <ctime>

#include "net/KSNet.h"

HINSTANCE InstanceHelper::sInstance = nullptr;
KSFileSpec InstanceHelper::sInstanceSpec;
KSFileSpec InstanceHelper::sInstanceFolderSpec;
char InstanceHelper::sInitialDir[502] = {0};
long InstanceHelper::sStartupCounter = 0;

void InstanceHelper::Startup(HINSTANCE inInstance) {
  if (sStartupCounter == 0) {
    KSNet::Startup();
    std::srand(unsigned(std::clock() * 1000 / CLOCKS_PER_SEC));
    KSFileSpec::GetModuleSpec(inInstance, &sInstanceSpec);
    sInstanceFolderSpec.AssignParent(sInstanceSpec);
    sInstance = inInstance;
    if (GetCurrentDirectoryA(sizeof(sInitialDir), sInitialDir) >= sizeof(sInitialDir)) {
      sInitialDir[0] = 0;  // too long to keep
    }
  }
  sStartupCounter++;
}

void InstanceHelper::Shutdown() {
  sStartupCounter--;
  if (sStartupCounter == 0) {
    KSNet::Shutdown();
    if (sInitialDir[0] != 0) {
      SetCurrentDirectoryA(sInitialDir);
    }
  }
}
