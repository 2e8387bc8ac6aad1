// A ToolbarState built during static initialisation, as the program's own is:
// by the time main runs, the preferences are complete and the themes listed.
// It works in a temporary folder, which is removed after the state is gone.
#include <gtest/gtest.h>

#include "files/KSTestFolder.h"
#include "toolbar/ThemeTestSupport.h"
#include "toolbar/ToolbarPrefs.h"
#include "toolbar/ToolbarState.h"

namespace {

// Constructed before and destroyed after sEarlyState (same file, declared first).
KSTestFolder sTemp;

KSFileSpec PrepareFolders() {
  sTemp.MakeFolder("prefs");
  sTemp.MakeFolder("programs");
  sTemp.MakeFolder("programs\\Kestrova");
  sTemp.MakeFolder("programs\\Kestrova\\Corvexa");
  sTemp.MakeFolder("programs\\Kestrova\\Corvexa\\Resources");
  sTemp.MakeFile("programs\\Kestrova\\Corvexa\\Resources\\info.txt", "engine");
  WriteTheme(sTemp, "programs\\Kestrova\\Corvexa", "Factory Default", "Factory Default");
  return sTemp.Item("programs");
}

const KSFileSpec sPrograms = PrepareFolders();
ToolbarState sEarlyState(sTemp.Item("prefs"), &sPrograms, 1);

}  // namespace

TEST(ToolbarStateStatic, IsCompleteBeforeMain) {
  EXPECT_EQ(ToolbarState::sToolbarState, &sEarlyState);
  EXPECT_EQ(sEarlyState.mPrefs.GetArgs().Count(), kNumToolbarPrefDefaults);
  EXPECT_EQ(sEarlyState.mPrefs.GetInt(kPref_Version), kToolbarPrefsVersion);
  EXPECT_FALSE(sEarlyState.mSkinsFolder.IsEmpty());
  EXPECT_GE(sEarlyState.mThemeMgr.FindThemeByLogicalName("Factory Default"), 0);
  EXPECT_GE(sEarlyState.mThemeMgr.FindThemeByLogicalName("(Custom)"), 0);
}
