// Saving the current theme under a typed name, with the real message boxes
// answered from another thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/KSTestFolder.h"
#include "toolbar/MessageBoxAnswerer.h"
#include "toolbar/ThemeMgr.h"
#include "toolbar/ThemeTestSupport.h"

namespace {

class ThemeSaveAsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteTheme(mTemp, "factory", "Factory", "Factory");
    WriteTheme(mTemp, "user", "Mine", "Mine", "WaveShape/Old/On=0 \r\n");
    KSFileSpec factory = mTemp.Item("factory");
    mMgr.LoadThemeEnvironment(mTemp.Item("user"), &factory);
    mMgr.SetCurrentTheme(mMgr.FindThemeByLogicalName("Factory"));
    // The content being saved: a change that made the custom theme current.
    mMgr.SetAttrib(kCX_WaveShape, "New", -1, kConfigAttr_On, 0);
  }

  std::string CurrentName() const { return AttribStr(mMgr.CurTheme(), kThemeAttr_LogicalName); }

  KSTestFolder mTemp;
  ThemeMgr mMgr;
};

}  // namespace

TEST_F(ThemeSaveAsTest, NewNameSavesAndBecomesCurrent) {
  MessageBoxAnswerer answerer;
  EXPECT_TRUE(mMgr.SaveThemeAs(nullptr, "Evening"));
  EXPECT_TRUE(answerer.Texts().empty());
  EXPECT_EQ(CurrentName(), "Evening");
  EXPECT_FALSE(mMgr.UsingCustom());
  EXPECT_EQ(mMgr.GetCurrentTheme(), mMgr.FindThemeByLogicalName("Evening"));
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\Evening"), kCX_WaveShape, "New"), 0);
  // The custom theme kept the change too.
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\(Custom)"), kCX_WaveShape, "New"), 0);
}

TEST_F(ThemeSaveAsTest, ExistingNameIsReplacedOnlyOnYes) {
  {
    MessageBoxAnswerer answerer({IDNO});
    EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "mine"));
    EXPECT_EQ(
        answerer.Texts(),
        (std::vector<std::string>{
            "A theme with the name \"mine\" already exists.  Would you like to replace it?"}));
  }
  EXPECT_TRUE(mMgr.UsingCustom());
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\Mine"), kCX_WaveShape, "Old"), 0);

  {
    MessageBoxAnswerer answerer({IDYES});
    EXPECT_TRUE(mMgr.SaveThemeAs(nullptr, "mine"));
    EXPECT_EQ(answerer.Texts().size(), 1u);
  }
  EXPECT_EQ(CurrentName(), "mine");
  EXPECT_EQ(mTemp.Item("user\\Themes\\Mine").Exists(), 0);
  int index = mMgr.FindThemeByLogicalName("MINE");
  ASSERT_GE(index, 0);
  EXPECT_EQ(mMgr.GetCurrentTheme(), index);
  KSFileSpec folder = mMgr.GetThemeInfo(index)->mThemeFolderSpec;
  EXPECT_EQ(StoredOn(folder, kCX_WaveShape, "New"), 0);
  EXPECT_EQ(StoredOn(folder, kCX_WaveShape, "Old"), 1);
  EXPECT_EQ(mMgr.CountThemes(), 3);
}

TEST_F(ThemeSaveAsTest, RefusedNamesAskForAnother) {
  MessageBoxAnswerer answerer;
  EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "FACTORY"));
  EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "(custom)"));
  EXPECT_FALSE(mMgr.SaveThemeAs(nullptr, "<?>"));
  EXPECT_EQ(answerer.Texts(),
            (std::vector<std::string>{
                "The name \"FACTORY\" is already taken by a read-only theme.  Please choose a "
                "different name.",
                "The name \"(custom)\" is already taken by a read-only theme.  Please choose a "
                "different name.",
                "You entered an Invalid theme name.  Please choose a different theme name.   "}));
  EXPECT_EQ(mMgr.CountThemes(), 3);
  EXPECT_TRUE(mMgr.UsingCustom());
}

TEST_F(ThemeSaveAsTest, FailedSaveIsReportedAndEndsTheQuestions) {
  // A file where the new theme's folder would go.
  mTemp.MakeFile("user\\Themes\\Blocked", "not a folder");
  MessageBoxAnswerer answerer;
  EXPECT_TRUE(mMgr.SaveThemeAs(nullptr, "Blocked"));
  std::vector<std::string> texts = answerer.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("An error occured while attempting to save \"Blocked\". (-", 0), 0u)
      << texts[0];
  EXPECT_EQ(texts[0].back(), ')');
  EXPECT_EQ(mMgr.FindThemeByLogicalName("Blocked"), -1);
  EXPECT_TRUE(mMgr.UsingCustom());
}
