// The toolbar program's state for the window tests and benchmarks, made during static
// initialisation as the program's own is, but in a temporary folder: its
// preferences there, and an engine installation beside them holding the
// build's factory skins.
#include <filesystem>

#include "support/KSTestFolder.h"
#include "toolbar/ToolbarState.h"

namespace {

struct AppTestFolders {
  AppTestFolders() {
    mPrefs = mTemp.MakeFolder("prefs");
    mEngines = mTemp.MakeFolder("programs");
    const std::string engine = "programs\\Kestrova\\Corvexa";
    for (const char* level : {"\\Kestrova", "\\Kestrova\\Corvexa", "\\Kestrova\\Corvexa\\Resources",
                              "\\Kestrova\\Corvexa\\Skins"}) {
      mTemp.MakeFolder(std::string("programs") + level);
    }
    mTemp.MakeFile(engine + "\\Resources\\info.txt", "engine");
    std::error_code err;
    std::filesystem::copy(std::string("Z:") + KS_BUILT_SKINS_DIR + "/Factory Blue",
                          mTemp.Item(engine + "\\Skins\\Factory Blue").GetPathCStr(),
                          std::filesystem::copy_options::recursive, err);
  }
  KSTestFolder mTemp;
  KSFileSpec mPrefs;
  KSFileSpec mEngines;
};

AppTestFolders sFolders;

}  // namespace

ToolbarState gToolbarState(sFolders.mPrefs, &sFolders.mEngines, 1);
