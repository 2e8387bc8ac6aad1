// A ToolbarState built during static initialisation, as the program's own
// is: when main runs, the preferences are complete and the themes listed.
#include <gtest/gtest.h>

#include "support/KSTestFolder.h"
#include "toolbar/ToolbarState.h"

namespace {

// One object, so that the state is gone before its folder is removed, and
// both before the library's own statics end.
struct EarlyStart {
  EarlyStart() : mState(mTemp.MakeFolder("prefs"), nullptr, 0) {}
  KSTestFolder mTemp;
  ToolbarState mState;
};

EarlyStart sEarly;

}  // namespace

TEST(ToolbarStateStatic, IsCompleteBeforeMain) {
  EXPECT_EQ(ToolbarState::sToolbarState, &sEarly.mState);
  EXPECT_EQ(sEarly.mState.mPrefs.GetArgs().Count(), 29);
  EXPECT_GE(sEarly.mState.mThemeMgr.FindThemeByLogicalName("(Custom)"), 0);
}
