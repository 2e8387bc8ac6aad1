// Saving the current theme under a typed name, with the real message boxes
// answered from another thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MessageBoxAnswerer.h"
#include "toolbar/ThemeMgr.h"
#include "toolbar/ThemeTestSupport.h"

namespace {

class ThemeSaveAsTest : public ::testing::Test {
 protected:
  // A factory theme, the user's "Mine", and a change that made the custom
  // theme current: that content is what gets saved.
  void SetUp() override {
    WriteTheme(mTemp, "factory", "Factory", "Factory");
    WriteTheme(mTemp, "user", "Mine", "Mine", "WaveShape/Old/On=0 \r\n");
    KSFileSpec factory = mTemp.Item("factory");
    mMgr.LoadThemeEnvironment(mTemp.Item("user"), &factory);
    mMgr.SetAttrib(kCX_WaveShape, "New", -1, kConfigAttr_On, 0);
  }

  KSTestFolder mTemp;
  ThemeMgr mMgr;
};

}  // namespace

TEST_F(ThemeSaveAsTest, AsksBeforeReplacingAndMakesTheSavedThemeCurrent) {
  {
    MessageBoxAnswerer answerer({IDNO});
    EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "mine"));
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"A theme with the name \"mine\" already "
                                                         "exists.  Would you like to replace it?"});
  }
  EXPECT_TRUE(mMgr.UsingCustom());
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\Mine"), kCX_WaveShape, "Old"), 0);
  {
    MessageBoxAnswerer answerer({IDYES});
    EXPECT_TRUE(mMgr.SaveThemeAs(nullptr, "mine"));
    EXPECT_TRUE(mMgr.SaveThemeAs(nullptr, "Evening"));  // a new name asks nothing
    EXPECT_EQ(answerer.Texts().size(), 1u);
  }
  EXPECT_EQ(mMgr.CountThemes(), 4);
  EXPECT_EQ(LogicalName(mMgr.CurTheme()), "Evening");
  EXPECT_EQ(mMgr.GetCurrentTheme(), mMgr.FindThemeByLogicalName("evening"));
  EXPECT_FALSE(mMgr.UsingCustom());
  const ThemeInfo* mine = mMgr.GetThemeInfo(mMgr.FindThemeByLogicalName("Mine"));
  EXPECT_EQ(StoredOn(mine->mThemeFolderSpec, kCX_WaveShape, "New"), 0);
  EXPECT_EQ(StoredOn(mine->mThemeFolderSpec, kCX_WaveShape, "Old"), 1);
}

TEST_F(ThemeSaveAsTest, ExplainsRefusedNamesAndFailures) {
  mTemp.MakeFile("user\\Themes\\Blocked", "a file where the theme folder would go");
  MessageBoxAnswerer answerer;
  EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "FACTORY"));
  EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "(custom)"));
  EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "<?>"));
  EXPECT_TRUE(mMgr.SaveThemeAs(nullptr, "Blocked"));  // reported; no point asking again
  std::vector<std::string> texts = answerer.Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0],
            "The name \"FACTORY\" is already taken by a read-only theme.  Please choose a "
            "different name.");
  EXPECT_EQ(texts[1].substr(0, 21), "The name \"(custom)\" i");
  EXPECT_EQ(texts[2],
            "You entered an Invalid theme name.  Please choose a different theme name.   ");
  EXPECT_EQ(texts[3].substr(0, 55), "An error occured while attempting to save \"Blocked\". (-");
  EXPECT_EQ(mMgr.CountThemes(), 3);
  EXPECT_TRUE(mMgr.UsingCustom());
}
