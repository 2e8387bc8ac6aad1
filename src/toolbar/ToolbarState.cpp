#include "toolbar/ToolbarState.h"

#include "foundation/KSError.h"
#include "toolbar/KSVisualAPISession.h"
#include "toolbar/ToolbarPrefs.h"

ToolbarState* ToolbarState::sToolbarState = nullptr;

// The install places handed to the second constructor (outside the anonymous
// namespace: Locations, a member type, holds one).
struct GivenEnginesDirs {
  const KSFileSpec* mDirs;
  int mCount;
};

namespace {

const char kToolbarPrefsFileName[] = "Toolbar Preferences.txt";
const char kWorkFolderName[] = "Corvexa";
const char kSkinsFolderName[] = "Skins";
const char kDeckAppName[] = "Corvexa Deck.exe";

long GivenEnginesDir(long inIndex, KSFileSpec* outFolderSpec, void* inParam) {
  const GivenEnginesDirs* given = static_cast<const GivenEnginesDirs*>(inParam);
  if (inIndex < 0 || inIndex >= given->mCount) {
    return kKSErr_Param;
  }
  return KSVisualAPISession::GetMakerDir(given->mDirs[inIndex], outFolderSpec);
}

}  // namespace

// Where Init looks: the real folders when mPrefsFolder is null.
struct ToolbarState::Locations {
  const KSFileSpec* mPrefsFolder;
  GivenEnginesDirs mEngines;
};

ToolbarState::ToolbarState() {
  Init();
  Register();
}

ToolbarState::ToolbarState(const KSFileSpec& inPrefsFolder, const KSFileSpec* inEnginesDirs,
                           int inNumEnginesDirs) {
  Locations locations = {&inPrefsFolder, {inEnginesDirs, inNumEnginesDirs}};
  Init(locations);
  Register();
}

ToolbarState::~ToolbarState() {
  mPrefs.Store();
  if (sToolbarState == this) {
    sToolbarState = nullptr;
    SkinHost::sSkinHost = nullptr;
  }
}

void ToolbarState::Register() {
  if (sToolbarState == nullptr) {
    sToolbarState = this;
    SkinHost::sSkinHost = this;
  }
}

void ToolbarState::AdvPanelModeChanged(bool inExtended) {
  mPrefs.SetInt(kPref_AdvPanelExtended, inExtended ? 1 : 0);
}

bool ToolbarState::ThemeHasConfigOn(CXConfigType inType, const char* inName,
                                    long inNameLength) const {
  return mThemeMgr.CurTheme().GetAttrib(inType, inName, inNameLength, kConfigAttr_On, 1) != 0;
}

void ToolbarState::Init() {
  Locations real = {nullptr, {nullptr, 0}};
  Init(real);
}

void ToolbarState::Init(const Locations& inLocations) {
  mSkinsFolder.Clear();
  mDeckApp.Clear();
  long err;
  if (inLocations.mPrefsFolder != nullptr) {
    err = mWorkFolder.AssignWorkFolder(kWorkFolderName, *inLocations.mPrefsFolder);
  } else {
    err = mWorkFolder.AssignWorkFolder(kWorkFolderName);
  }

  if (err == 0) {
    if (inLocations.mPrefsFolder != nullptr) {
      GivenEnginesDirs engines = inLocations.mEngines;
      err = KSVisualAPISession::FindEngineDir(kEngineDirName, GivenEnginesDir, &engines,
                                              &mEngineFolder);
    } else {
      err = KSVisualAPISession::GetEngineDir(kEngineDirName, &mEngineFolder);
    }
  }

  const KSFileSpec* factoryThemes = nullptr;
  if (err == 0) {
    mSkinsFolder.AssignRelativePath(kSkinsFolderName, -1, mEngineFolder);
    mDeckApp.AssignRelativePath(kDeckAppName, -1, mEngineFolder);
    factoryThemes = &mEngineFolder;
  }
  mThemeMgr.LoadThemeEnvironment(mWorkFolder, factoryThemes);

  KSFileSpec prefsFile;
  prefsFile.AssignRelativePath(kToolbarPrefsFileName, -1, mWorkFolder);
  mPrefs.SetSpec(prefsFile);
  mPrefs.Load();
  SetMissingPrefs();
}

void ToolbarState::SetMissingPrefs() {
  SetMissingToolbarPrefs(&mPrefs);
}
