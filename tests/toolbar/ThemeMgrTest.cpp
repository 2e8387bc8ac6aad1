// The theme manager on real folders: loading, sorting, creating, deleting,
// the custom theme, and saving under a typed name.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/KSFile.h"
#include "foundation/KSBroadcaster.h"
#include "foundation/KSError.h"
#include "foundation/KSMessages.h"
#include "support/MessageBoxAnswerer.h"
#include "toolbar/ThemeMgr.h"
#include "toolbar/ThemeTestSupport.h"

namespace {

class CustomListener : public KSListener {
 public:
  void ListenToMsg(long inMsg, void* inParam1, void*) override {
    mCount += inMsg == kKSMsg_ThemeCustom && inParam1 != nullptr;
  }
  int mCount = 0;
};

std::vector<std::string> Names(const ThemeMgr& inMgr, bool inPhysical) {
  std::vector<std::string> names;
  for (int i = 0; i < inMgr.CountThemes(); i++) {
    const ThemeInfo* info = inMgr.GetThemeInfo(i);
    names.push_back((inPhysical ? info->mPhysicalName : info->mLogicalName).getCStr());
  }
  return names;
}

class ThemeMgrTest : public ::testing::Test {
 protected:
  // User themes A to D; with "(Custom)" they sit at indices 1 to 4.
  void SetUp() override {
    for (const char* name : {"D", "B", "A", "C"}) {
      WriteTheme(mTemp, "user", name, name, "WaveShape/" + std::string(name) + "/On=0 \r\n");
    }
  }
  void Load(ThemeMgr* ioMgr) {
    KSFileSpec factory = mTemp.Item("factory");
    ioMgr->LoadThemeEnvironment(mTemp.Item("user"), &factory);
  }

  KSTestFolder mTemp;
};

}  // namespace

TEST_F(ThemeMgrTest, LoadsSortedAndSkipsDamagedThemes) {
  WriteTheme(mTemp, "factory", "Factory Default", "");  // its text comes from the repository
  std::string repoTheme = std::string("Z:") + KS_REPO_THEMES_DIR + "/Factory Default/theme.txt";
  std::replace(repoTheme.begin(), repoTheme.end(), '/', '\\');
  KSFileSpec repoSpec;
  repoSpec.AssignFromPath(repoTheme.c_str());
  UtilStr text;
  ASSERT_EQ(KSFile::ReadFile(repoSpec, &text, -1), 0);
  mTemp.MakeFile("factory\\Themes\\Factory Default\\theme.txt", text.getCStr());
  WriteTheme(mTemp, "factory", "bright", "bright");
  WriteTheme(mTemp, "factory", "Damaged", "Damaged");
  mTemp.MakeFile("factory\\Themes\\Damaged\\theme.txt", "LNam=\"Damaged\"\r\nWaveShape/x\r\n");
  mTemp.MakeFolder("factory\\Themes\\Empty");

  ThemeMgr mgr;
  Load(&mgr);
  EXPECT_EQ(Names(mgr, false), (std::vector<std::string>{"(Custom)", "A", "B", "C", "D",
                                                         "Factory Default", "bright"}));
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\(Custom)"), kCX_WaveShape, "x"), 1);
  EXPECT_FALSE(mgr.ThemeIsDeletable(0));  // the custom theme
  EXPECT_TRUE(mgr.ThemeIsDeletable(1));
  EXPECT_FALSE(mgr.ThemeIsDeletable(5));  // a factory theme
  EXPECT_FALSE(mgr.ThemeIsDeletable(7));
  EXPECT_EQ(mgr.FindThemeByLogicalName("BRIGHT"), 6);

  // The repository's factory theme switches everything on.
  ASSERT_EQ(mgr.SetCurrentTheme(5), 0);
  EXPECT_EQ(mgr.GetCurrentTheme(), 5);
  for (int type = 0; type < kCX_ConfigTypeCount; type++) {
    EXPECT_EQ(mgr.CurTheme().GetAttrib(CXConfigType(type), "Any", -1, kConfigAttr_On, 0), 1);
  }
  // A theme damaged after listing becomes empty under its names.
  mTemp.MakeFile("user\\Themes\\C\\theme.txt", "damaged");
  ASSERT_EQ(mgr.SetCurrentTheme(3), 0);
  EXPECT_EQ(LogicalName(mgr.CurTheme()), "C");
  EXPECT_EQ(mgr.GetCurrentTheme(), 3);
  EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_WaveShape, "C", -1, kConfigAttr_On, 1), 1);
  EXPECT_EQ(mgr.SetCurrentTheme(7), kKSErr_IndexOutOfBounds);

  // Loading again lists C no more, and makes no second custom theme.
  Load(&mgr);
  EXPECT_EQ(mgr.CountThemes(), 6);
  EXPECT_EQ(mgr.FindThemeByLogicalName("C"), -1);
}

TEST_F(ThemeMgrTest, CreatesThemesUnderUniqueFolderNames) {
  ThemeMgr mgr;
  Load(&mgr);
  ASSERT_EQ(mgr.SetCurrentTheme(1), 0);
  mgr.SetAttrib(kCX_ColorMap, "Fire", -1, kConfigAttr_On, 0);
  for (int i = 0; i < 3; i++) {
    ASSERT_EQ(mgr.CreateNewTheme(UtilStr("a/b:c"), true, false), 0);
  }
  ASSERT_EQ(mgr.CreateNewTheme(UtilStr("ABC"), false, false), 0);  // clashes ignoring case
  EXPECT_EQ(Names(mgr, true), (std::vector<std::string>{"(Custom)", "A", "ABC4", "B", "C", "D",
                                                        "abc3", "abc2", "abc"}));
  EXPECT_EQ(mgr.GetCurrentTheme(), 0);  // creating changes nothing current
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\abc2"), kCX_ColorMap, "Fire"), 0);
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\abc2"), kCX_WaveShape, "A"), 0);
  EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\ABC4"), kCX_ColorMap, "Fire"), 1);
  EXPECT_EQ(mgr.CreateNewTheme(UtilStr("?*<>|"), false, false), kKSErr_IllegalChars);

  // Replacing deletes the old theme of that name, ignoring case.
  ASSERT_EQ(mgr.CreateNewTheme(UtilStr("abc"), false, true), 0);
  EXPECT_EQ(mTemp.Item("user\\Themes\\ABC4").Exists(), 0);
  EXPECT_EQ(mgr.GetThemeInfo(mgr.FindThemeByLogicalName("abc"))->mPhysicalName, "abc5");
  EXPECT_EQ(mgr.CountThemes(), 9);
}

TEST_F(ThemeMgrTest, DeletingTheCurrentThemeMovesToItsNeighbour) {
  WriteTheme(mTemp, "factory", "Factory", "Factory");
  ThemeMgr mgr;
  Load(&mgr);
  EXPECT_EQ(mgr.DeleteTheme(6), kKSErr_Param);
  EXPECT_EQ(mgr.DeleteTheme(5), kKSErr_ReadOnly);
  EXPECT_EQ(mgr.DeleteTheme(0), kKSErr_ReadOnly);

  ASSERT_EQ(mgr.SetCurrentTheme(3), 0);
  ASSERT_EQ(mgr.DeleteTheme(3), 0);  // C
  EXPECT_EQ(mTemp.Item("user\\Themes\\C").Exists(), 0);
  EXPECT_EQ(LogicalName(mgr.CurTheme()), "B");
  EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_WaveShape, "B", -1, kConfigAttr_On, 1), 0);
  ASSERT_EQ(mgr.DeleteTheme(3), 0);  // D: not current
  EXPECT_EQ(LogicalName(mgr.CurTheme()), "B");

  ASSERT_EQ(mgr.SetCurrentTheme(1), 0);
  ASSERT_EQ(mgr.DeleteTheme(1), 0);  // A: the theme after it becomes current
  EXPECT_EQ(Names(mgr, false), (std::vector<std::string>{"(Custom)", "B", "Factory"}));
  EXPECT_EQ(mgr.GetCurrentTheme(), 1);
}

TEST_F(ThemeMgrTest, CustomThemeCollectsChangesAndSurvivesRestart) {
  {
    ThemeMgr mgr;
    CustomListener listener;
    mgr.AddListener(&listener);
    Load(&mgr);
    ASSERT_EQ(mgr.SetCurrentTheme(1), 0);  // A
    mgr.SetAttrib(kCX_WaveShape, "Flower", -1, kConfigAttr_On, 0);
    mgr.SetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 0);
    EXPECT_EQ(listener.mCount, 1);
    EXPECT_TRUE(mgr.UsingCustom());
    EXPECT_EQ(mgr.GetCurrentTheme(), 0);
    EXPECT_EQ(mgr.CurTheme().GetAttrib(kCX_WaveShape, "A", -1, kConfigAttr_On, 1), 0);

    // Leaving the custom theme saves it; A itself is unchanged.
    ASSERT_EQ(mgr.SetCurrentTheme(2), 0);
    EXPECT_FALSE(mgr.UsingCustom());
    EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\(Custom)"), kCX_WaveShape, "Flower"), 0);
    EXPECT_EQ(StoredOn(mTemp.Item("user\\Themes\\A"), kCX_WaveShape, "Flower"), 1);

    // Back on the custom theme, a further change is saved when the manager ends.
    ASSERT_EQ(mgr.SetCurrentTheme(0), 0);
    mgr.SetAttrib(kCX_Sprite, "Logo", -1, kConfigAttr_On, 0);
    EXPECT_EQ(listener.mCount, 1);
  }
  ThemeMgr restarted;
  Load(&restarted);
  ASSERT_EQ(restarted.SetCurrentTheme(restarted.FindThemeByLogicalName("(custom)")), 0);
  EXPECT_TRUE(restarted.UsingCustom());
  EXPECT_EQ(restarted.CurTheme().GetAttrib(kCX_Particle, "Sparks", -1, kConfigAttr_On, 1), 0);
  EXPECT_EQ(restarted.CurTheme().GetAttrib(kCX_Sprite, "Logo", -1, kConfigAttr_On, 1), 0);
}

// Saving the current theme under a typed name, with the real message boxes
// answered from another thread. (A new name, which asks nothing, is saved
// through the toolbar's dialog in the app's tests.)
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
  }
  EXPECT_EQ(mMgr.CountThemes(), 3);
  EXPECT_EQ(mMgr.GetCurrentTheme(), mMgr.FindThemeByLogicalName("MINE"));
  EXPECT_FALSE(mMgr.UsingCustom());
  const ThemeInfo* mine = mMgr.GetThemeInfo(mMgr.GetCurrentTheme());
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
